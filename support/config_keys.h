// Every configuration key caspo reads or writes. Numbers of 0xFFFFFFFF read as absent; each
// reader applies its own default (given here where there is one).
#pragma once

#include <cstdint>

#include "interfaces/ITransferEngine.h"

namespace hvx::keys {

// Trust.
inline constexpr const char* kTrustedCerts =
    "config/agent/cloud/trustedcerts/cert";                               // certificates
inline constexpr const char* kEstCaCert = "config/agent/cloud/est/cert";  // narrow PEM

// Host identity.
inline constexpr const char* kCachedHostName = "config/agent/cachedhostname";  // wide

// Session set-up (second read family). Only the value 1 turns an option on.
inline constexpr const char* kVerifyHost = "config/conn/varenssl/verifyhost";
inline constexpr const char* kVerifyPeer = "config/conn/varenssl/verifypeer";
inline constexpr const char* kConnectTimeout = "config/conn/timeout";  // seconds
inline constexpr std::uint32_t kConnectTimeoutDefault = 30;
inline constexpr const char* kCurlDebug = "config/agent/log/curldebug";

// Transfer bounds (session/transfer_limits.cpp, docs/transfer-bounds.md). A value out of its
// range is logged and the default used; the defaults are the engine's own.
inline constexpr const char* kMaxBodySize = "config/conn/maxbodysize";  // bytes, 1 and up
inline constexpr auto kMaxBodySizeDefault =
    static_cast<std::uint32_t>(kDefaultTransferLimits.keepBytes);
inline constexpr const char* kMaxTransferTime = "config/conn/maxtime";  // seconds, 1 to 604800
inline constexpr std::uint32_t kMaxTransferTimeDefault = kDefaultTransferLimits.ceilingSeconds;
inline constexpr std::uint32_t kMaxTransferTimeLimit = 7 * 24 * 3600;
inline constexpr const char* kStallTime = "config/conn/stalltime";  // seconds, 1 to 3600
inline constexpr std::uint32_t kStallTimeDefault = kDefaultTransferLimits.stallSeconds;
inline constexpr const char* kStallRate = "config/conn/stallrate";  // bytes/s, 1 to 1048576
inline constexpr std::uint32_t kStallRateDefault = kDefaultTransferLimits.stallBytesPerSecond;
inline constexpr std::uint32_t kStallRateLimit = 1U << 20U;

// Agent identity.
inline constexpr const char* kAgentVersion = "config/agent/version";
inline constexpr const char* kAgentUuid = "config/agent/uuid";
inline constexpr const char* kAffiliateUuid = "config/agent/affiliate/uuid";
inline constexpr const char* kHardwareId = "config/agent/hardware_id";
inline constexpr const char* kLocalTestPolicy = "config/agent/cloud/eltp";  // 1 selects it
// 32 hexadecimal digits: the machine id of a host without /etc/machine-id, made once.
inline constexpr const char* kMachineId = "config/agent/machine_id";

// Management backend.
inline constexpr const char* kMgmtEndpoint = "config/ostra/endpoint/mgmt";
inline constexpr const char* kEventEndpoint = "config/ostra/endpoint/event";
inline constexpr const char* kBusinessUuid = "config/ostra/business/uuid";
inline constexpr const char* kRateEnabled = "config/ostra/endpoint/mgmt/rate/enabled";
inline constexpr std::uint32_t kRateEnabledDefault = 1;
inline constexpr const char* kRateLimit = "config/ostra/endpoint/mgmt/rate/limit";
inline constexpr std::uint32_t kRateLimitDefault = 10;
inline constexpr const char* kRateInterval = "config/ostra/endpoint/mgmt/rate/interval";  // ms
inline constexpr std::uint32_t kRateIntervalDefault = 21600000;
inline constexpr const char* kProEnabled = "config/ostra/pro/enabled";
inline constexpr const char* kInstallToken = "config/ostra/install/token";
inline constexpr const char* kNicLayout = "config/ostra/sync/nic_layout";
inline constexpr const char* kSyncHostName = "config/ostra/sync/hostname";
inline constexpr const char* kSyncHardwareId = "config/ostra/sync/hardware_id";
inline constexpr const char* kPolicyUuid = "config/ostra/policy/uuid";
inline constexpr const char* kAgentGuidSyncType = "config/ostra/agent_guid_sync_type";
inline constexpr std::uint32_t kAgentGuidSyncTypeDefault = 0;
inline constexpr const char* kPolicyId = "config/ostra/policy_id";
inline constexpr const char* kPolicyAffiliate = "config/ostra/endpoint/policy/affiliate";
inline constexpr const char* kPolicyCompany = "config/ostra/endpoint/policy/company";
inline constexpr const char* kPolicyPolicy = "config/ostra/endpoint/policy/policy";
inline constexpr const char* kPolicyAgent = "config/ostra/endpoint/policy/agent";
// A policy URL template is read from "config/" followed by the template's name.
inline constexpr const char* kTemplatePrefix = "config/";

// Product inventory endpoints (second read family).
inline constexpr const char* kInventoryProduct = "config/agent/kbt/endpoint/product";
inline constexpr const char* kInventoryProductDetails = "config/agent/kbt/endpoint/product_details";
inline constexpr const char* kInventoryUpdate = "config/agent/kbt/endpoint/update";
inline constexpr const char* kInventoryUpdateDetails = "config/agent/kbt/endpoint/update_details";

// Update check.
inline constexpr const char* kUpdaterProtocol = "config/updater/protocol";
inline constexpr const char* kUpdaterServer = "config/updater/server";
inline constexpr const char* kUpdaterPath = "config/updater/path";
inline constexpr const char* kUpdaterLastModified = "config/updater/lastmod";
inline constexpr const char* kUpdaterAvailable = "config/updater/available";
inline constexpr const char* kUpdaterAvailableVersion = "config/updater/available/version";
inline constexpr const char* kUpdaterAvailableType = "config/updater/available/type";
inline constexpr const char* kUpdaterAvailableLocation = "config/updater/available/location";
inline constexpr const char* kUpdaterAvailableFile = "config/updater/available/file";

}  // namespace hvx::keys
