// Feeds the reader of a resolver's answer arbitrary messages. The first byte chooses the record
// type looked for (A or AAAA); the rest is the message, in a buffer of exactly its length.
//
// A canonical name, when one comes back, must be a name the message gives: the question's name
// or the target of one of its CNAME records, and the owner (letter case aside) of a record of
// the type looked for.
#include <arpa/nameser.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/posix/fqdn_lookup.h"
#include "platform/posix/hosts_file.h"

namespace {

using hvx::fuzz::Check;

// The names the message holds, read with the resolver library's own parser.
struct Names {
    std::vector<std::string> reachable;      // the question's name and every CNAME target
    std::vector<std::string> addressOwners;  // owners of records of the type looked for
};

Names NamesOf(std::span<const unsigned char> answer, int addressType) {
    Names names;
    ns_msg message{};
    ns_rr record{};
    if (::ns_initparse(answer.data(), static_cast<int>(answer.size()), &message) != 0 ||
        ::ns_parserr(&message, ns_s_qd, 0, &record) != 0) {
        return names;
    }
    names.reachable.emplace_back(ns_rr_name(record));
    for (int index = 0; index < ns_msg_count(message, ns_s_an); ++index) {
        if (::ns_parserr(&message, ns_s_an, index, &record) != 0) {
            break;
        }
        if (ns_rr_type(record) == addressType) {
            names.addressOwners.emplace_back(ns_rr_name(record));
        }
        std::array<char, NS_MAXDNAME> target{};
        if (ns_rr_type(record) == ns_t_cname &&
            ::ns_name_uncompress(ns_msg_base(message), ns_msg_end(message), ns_rr_rdata(record),
                                 target.data(), target.size()) >= 0) {
            names.reachable.emplace_back(target.data());
        }
    }
    return names;
}

bool Holds(const std::vector<std::string>& names, const std::string& name, bool anyCase) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& candidate) {
        return anyCase ? hvx::os::detail::SameHostName(candidate, name) : candidate == name;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const int addressType = (data[0] & 1U) == 0 ? ns_t_a : ns_t_aaaa;
    const std::size_t length = size - 1;
    const auto message = std::make_unique<unsigned char[]>(length);
    std::copy(data + 1, data + size, message.get());
    const std::span<const unsigned char> answer(message.get(), length);

    const auto canonical = hvx::os::detail::CanonicalNameFromAnswer(answer, addressType);
    if (canonical) {
        const Names names = NamesOf(answer, addressType);
        Check(canonical->size() < NS_MAXDNAME);
        Check(Holds(names.reachable, *canonical, false));
        Check(Holds(names.addressOwners, *canonical, true));
    }
    return 0;
}
