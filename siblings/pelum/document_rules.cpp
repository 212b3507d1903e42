// What a parsed document must be to be read (xml_reader.h), checked by one walk of its tree.
#include <cstddef>

#include "siblings/pelum/xml_reader.h"

namespace hvx::pelum {

namespace {

// The next node after `node` in document order, with `depth` kept as the walk goes down and up;
// a null node at the end.
pugi::xml_node Next(pugi::xml_node node, std::size_t& depth) {
    if (node.first_child()) {
        ++depth;
        return node.first_child();
    }
    while (node.type() != pugi::node_document) {
        if (node.next_sibling()) {
            return node.next_sibling();
        }
        node = node.parent();
        --depth;
    }
    return {};
}

}  // namespace

bool IsAcceptable(const pugi::xml_document& document) {
    std::size_t elements = 0;
    for (const pugi::xml_node child : document.children()) {
        // Beside the document element only comments, processing instructions and the XML
        // declaration: no DOCTYPE and no text.
        if (child.type() == pugi::node_doctype || child.type() == pugi::node_pcdata ||
            child.type() == pugi::node_cdata) {
            return false;
        }
        elements += child.type() == pugi::node_element ? 1 : 0;
    }
    if (elements != 1) {
        return false;
    }
    // Depth 1 is the document element.
    std::size_t depth = 1;
    for (pugi::xml_node node = document.first_child(); node; node = Next(node, depth)) {
        if (node.type() == pugi::node_element && depth > kMaxDepth) {
            return false;
        }
    }
    return true;
}

}  // namespace hvx::pelum
