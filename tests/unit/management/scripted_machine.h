// The machine facts of the management client's tests: the fields describe the machine, and a test
// changes them between calls; Environment() hands them to a client.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clients/management/ostra_environment.h"

namespace hvx::test {

// 100 ns units since 1601: some moment in 2024.
inline constexpr std::uint64_t kSomeMoment = 133500000000000000ULL;
inline constexpr std::uint64_t kTicksPerMillisecond = 10000;

inline NicRecord Adapter(std::uint32_t index, std::u16string ip, std::u16string mac) {
    return NicRecord{u"eth" + std::u16string(1, static_cast<char16_t>(u'0' + index)),
                     u"Ethernet " + std::u16string(1, static_cast<char16_t>(u'0' + index)),
                     std::move(ip),
                     u"",
                     std::move(mac),
                     index,
                     1};
}

// Members are public: the table-driven tests change them from lambdas.
struct ScriptedMachine {
    OstraEnvironment Environment() {
        OstraEnvironment env;
        env.computerName = [this](COMPUTER_NAME_FORMAT, std::u16string& name) {
            name = host;
            return TRUE;
        };
        env.netBiosName = [](std::u16string& name) {
            name = u"AGENT";
            return TRUE;
        };
        env.networkInfo = [this](NicInventory& inventory) {
            inventory = adapters;
            return adaptersResult;
        };
        env.accountSid = [this](const std::u16string&, std::vector<std::uint8_t>& bytes) {
            bytes = sid;
            return DWORD{ERROR_SUCCESS};
        };
        env.osVersion = [this](OSVERSIONINFOEXW& info) {
            info = version;
            return TRUE;
        };
        env.nativeArchitecture = [] { return os::kArchitectureAmd64; };
        env.productInfo = [](const OSVERSIONINFOEXW&, DWORD& type) {
            type = 0;
            return os::ProductInfoLookup::FunctionMissing;
        };
        env.serverR2 = [] { return false; };
        env.upTime = [this](std::uint64_t& value) {
            value = upTime;
            return hasUpTime;
        };
        env.systemTime = [this] { return now; };
        env.newGuid = [this](os::Guid& guid) {
            guid = freshGuid;
            return guidStatus;
        };
        return env;
    }

    std::u16string host = u"agent.example";
    NicInventory adapters = {{2, Adapter(2, u"192.0.2.10", u"00:1a:2b:3c:4d:5e")}};
    HRESULT adaptersResult = S_OK;
    // S-1-5-21-1-2-3: 24 bytes.
    std::vector<std::uint8_t> sid = {1, 4, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0,
                                     1, 0, 0, 0, 2, 0, 0, 0, 3,  0, 0, 0};
    OSVERSIONINFOEXW version{sizeof(OSVERSIONINFOEXW), 6, 1, 7, 0, {}, 0, 0, 0, 0, 0};
    bool hasUpTime = true;
    std::uint64_t upTime = 4242;
    std::uint64_t now = kSomeMoment;
    os::Guid freshGuid = {0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x47, 0x89,
                          0x8A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78};
    long guidStatus = 0;
};

}  // namespace hvx::test
