// pelum's IXmlReader on pugixml. A document is parsed whole into the reader; values are read by
// element path and handed out as UTF-16 copies from malloc, freed by FreeValue/FreeValueList.
//
// Safety: a document must be valid UTF-8 of at most kMaxDocumentBytes, nested at most
// kMaxDepth elements deep, with exactly one document element and no document type declaration.
// pugixml itself expands only XML's five predefined entities and character references; refusing
// any DOCTYPE keeps entity definitions (and the "billion laughs" they allow) out altogether.
// Parsing and every walk of the tree are loops, never recursion over the document's nesting.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "interfaces/IXmlReader.h"

namespace hvx::pelum {

inline constexpr std::size_t kMaxDocumentBytes = std::size_t{1} << 20U;
inline constexpr std::size_t kMaxDepth = 64;

class CXmlReader final : public IXmlReader {
public:
    CXmlReader() = default;
    ~CXmlReader() = default;
    CXmlReader(const CXmlReader&) = delete;
    CXmlReader& operator=(const CXmlReader&) = delete;
    CXmlReader(CXmlReader&&) = delete;
    CXmlReader& operator=(CXmlReader&&) = delete;

    char16_t* GetValue(const char* path) override;
    char16_t** GetValueList(const char* path) override;
    std::uint32_t GetIntValue(const char* path) override;
    void FreeValue(char16_t* value) override;
    void FreeValueList(char16_t** values) override;
    int ParseDocument(const char* document) override;

private:
    // Every element at `path`, in document order; none before a successful parse.
    std::vector<pugi::xml_node> Find(const char* path) const;

    pugi::xml_document m_document;
    bool m_parsed = false;
};

// Checks a parsed document: one document element, no DOCTYPE, depth within kMaxDepth.
bool IsAcceptable(const pugi::xml_document& document);

}  // namespace hvx::pelum
