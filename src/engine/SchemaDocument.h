#pragma once

#include <pugixml.hpp>

#include <memory>
#include <string>

namespace tabulon {

// Reading the schema document (root `AccessDatabase`, see the scanner): element texts by child name.

// The text of the child element `name`; raises error 91 naming the element when it is missing.
std::string childText(const pugi::xml_node& node, const char* name);

// A private copy of the document made from its XML text, so a later scan cannot change a running
// conversion. Raises error 1000 when the text does not parse.
std::unique_ptr<pugi::xml_document> copySchema(const std::string& xmlText);
std::string schemaText(const pugi::xml_document& document);

} // namespace tabulon
