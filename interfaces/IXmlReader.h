// IXmlReader: the XML reader of the sibling library pelum ("pelum.dll"), made by its export
// "CreateXMLClassInstance" (no arguments; null when it cannot be made) and handed back to
// "ReleaseXMLClassInstance". The virtual operations are in the slot order callers rely on; do
// not reorder them.
//
// Paths name elements from the document element down, joined by "/": "update/location" is the
// "location" element inside the document element "update". Texts are UTF-16 and belong to the
// caller, who hands them back with FreeValue and FreeValueList.
#pragma once

#include <cstdint>

namespace hvx {

class IXmlReader {
public:
    // The text of the first element at `path`, or null when none matches (or no document).
    virtual char16_t* GetValue(const char* path) = 0;
    // The texts of every element at `path`, in document order, in an array ended by null; null
    // when none matches.
    virtual char16_t** GetValueList(const char* path) = 0;
    // The text of the first element at `path` as an unsigned 32-bit decimal number; 0 when the
    // element is absent or its text is not such a number.
    virtual std::uint32_t GetIntValue(const char* path) = 0;
    virtual void FreeValue(char16_t* value) = 0;
    virtual void FreeValueList(char16_t** values) = 0;
    // Parses a zero-terminated UTF-8 document, replacing any parsed before. Non-zero when it
    // was parsed; 0 for a document that is malformed, not UTF-8, larger than 1 MiB, nested
    // deeper than 64 elements, or that holds a document type declaration (no DTD is processed
    // and no entity other than XML's own five and character references is expanded).
    virtual int ParseDocument(const char* document) = 0;

protected:
    IXmlReader() = default;
    ~IXmlReader() = default;
    IXmlReader(const IXmlReader&) = default;
    IXmlReader& operator=(const IXmlReader&) = default;
    IXmlReader(IXmlReader&&) = default;
    IXmlReader& operator=(IXmlReader&&) = default;
};

using CreateXMLClassInstanceFn = IXmlReader* (*)();
using ReleaseXMLClassInstanceFn = void (*)(IXmlReader*);

inline constexpr const char16_t* kXmlModule = u"pelum.dll";
inline constexpr const char* kCreateXmlSymbol = "CreateXMLClassInstance";
inline constexpr const char* kReleaseXmlSymbol = "ReleaseXMLClassInstance";

}  // namespace hvx
