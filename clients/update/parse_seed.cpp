// hvx::CUpdateHttp::ParseSeed and CheckMask: the offer read from the seed document through the
// sibling library pelum, loaded by name for each parse.
#include <memory>
#include <string>
#include <string_view>

#include "clients/update/update_http.h"
#include "platform/bstr.h"
#include "siblings/venit/venit.h"
#include "support/module_handle.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr const char* kLocationPath = "update/location";
constexpr const char* kHashPath = "update/hash";
constexpr const char* kVersionPath = "update/version";
constexpr const char* kMaskPath = "update/mask";
constexpr const char* kTypePath = "update/type";

// Texts and lists the reader handed out, handed back to it.
struct ValueRelease {
    IXmlReader* reader;
    void operator()(char16_t* value) const { reader->FreeValue(value); }
};
struct ListRelease {
    IXmlReader* reader;
    void operator()(char16_t** values) const { reader->FreeValueList(values); }
};
using XmlValue = std::unique_ptr<char16_t, ValueRelease>;
using XmlList = std::unique_ptr<char16_t*, ListRelease>;

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// _wcsnicmp(guid, mask, length of mask) == 0, for ASCII letter case.
bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool FitsIn(const char16_t* text, std::size_t limit) {
    return std::u16string_view(text).size() <= limit;
}

}  // namespace

std::int32_t CUpdateHttp::ParseSeed(BSTR* version) {
    const ModuleHandle module(os::LoadLibraryW(kXmlModule));
    const auto create =
        module ? GetExport<CreateXMLClassInstanceFn>(module.get(), kCreateXmlSymbol) : nullptr;
    if (create == nullptr) {
        return 0;
    }
    IXmlReader* reader = create();
    if (reader == nullptr) {
        return 0;
    }
    std::int32_t result = 0;
    if (!m_seed.empty()) {
        if (reader->ParseDocument(m_seed.c_str()) == 0) {
            error("hvx::CUpdateHttp::ParseSeed: unable to parse seed file");
        } else {
            result = ReadSeed(*reader, version);
        }
    }
    if (const auto release =
            GetExport<ReleaseXMLClassInstanceFn>(module.get(), kReleaseXmlSymbol)) {
        release(reader);
    }
    return result;
}

std::int32_t CUpdateHttp::ReadSeed(IXmlReader& reader, BSTR* version) {
    const XmlValue location(reader.GetValue(kLocationPath), ValueRelease{&reader});
    const XmlValue hash(reader.GetValue(kHashPath), ValueRelease{&reader});
    const XmlValue offered(reader.GetValue(kVersionPath), ValueRelease{&reader});
    const XmlList masks(reader.GetValueList(kMaskPath), ListRelease{&reader});
    m_maskMatched = CheckMask(masks.get());
    m_type = reader.GetIntValue(kTypePath);
    if (!location || !hash || !offered) {
        error("hvx::CUpdateHttp::ParseSeed: required tag not set in seed file");
        error("hvx::CUpdateHttp::ParseSeed: response %s", m_seed);
        return 0;
    }
    // A value cut to fit would name another installer or version: such a seed is not used.
    if (!FitsIn(location.get(), kMaxLocationLength) || !FitsIn(hash.get(), kMaxHashLength) ||
        !FitsIn(offered.get(), kMaxVersionLength)) {
        error("hvx::CUpdateHttp::ParseSeed: tag too long in seed file");
        error("hvx::CUpdateHttp::ParseSeed: response %s", m_seed);
        return 0;
    }
    m_location = location.get();
    m_hash = hash.get();
    m_version = offered.get();
    if (version != nullptr) {
        *version = os::SysAllocString(m_version.c_str());
    }
    return 1;
}

std::int32_t CUpdateHttp::CheckMask(const char16_t* const* masks) const {
    if (masks == nullptr || m_agentGuid.empty()) {
        return 1;
    }
    trace(kTraceUpdate, "hvx::CUpdateHttp::CheckMask: mask was found in seed file");
    for (const char16_t* const* mask = masks; *mask != nullptr; ++mask) {
        if (StartsWithIgnoringCase(m_agentGuid, *mask)) {
            return 1;
        }
    }
    return 0;
}

}  // namespace hvx
