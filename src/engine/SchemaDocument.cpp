#include "SchemaDocument.h"

#include "lib/Error.h"

#include <sstream>

namespace tabulon {

namespace {
constexpr long kObjectNotSet = 91; // the classic runtime's "Object variable not set"
}

std::string childText(const pugi::xml_node& node, const char* name) {
    const pugi::xml_node child = node.child(name);
    if (!child)
        throw Error(kObjectNotSet, "Verdix.modMySql",
                    std::string("The schema document has no element '") + name + "' under '" + node.name() + "'");
    return child.text().get();
}

std::unique_ptr<pugi::xml_document> copySchema(const std::string& xmlText) {
    auto document = std::make_unique<pugi::xml_document>();
    // Texts are kept exactly: blank-only defaults and line breaks inside them survive the copy.
    const unsigned options = (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_ws_pcdata;
    const pugi::xml_parse_result result = document->load_buffer(xmlText.data(), xmlText.size(), options);
    if (!result)
        throw Error(errc::General, "Verdix.modMySql",
                    std::string("The schema document cannot be read: ") + result.description());
    return document;
}

std::string schemaText(const pugi::xml_document& document) {
    std::ostringstream out;
    document.save(out, "", pugi::format_raw);
    return out.str();
}

} // namespace tabulon
