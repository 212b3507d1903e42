// pelum's exports: the factory and the release function of its XML reader
// (interfaces/IXmlReader.h).
#include <new>

#include "platform/base_types.h"
#include "siblings/pelum/xml_reader.h"

extern "C" {

HVX_DLL_EXPORT hvx::IXmlReader* CreateXMLClassInstance() {
    return new (std::nothrow) hvx::pelum::CXmlReader();
}

HVX_DLL_EXPORT void ReleaseXMLClassInstance(hvx::IXmlReader* reader) {
    delete static_cast<hvx::pelum::CXmlReader*>(reader);
}

}  // extern "C"
