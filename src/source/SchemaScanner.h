#pragma once

#include "lib/Dictionary.h"
#include "lib/Progress.h"

#include <memory>
#include <string>

#include <pugixml.hpp>

namespace tabulon {

class AccessDatabase;

// Scans the structure of the Access database into a new schema document rooted at AccessDatabase (tables
// whose DAO attribute word is 0 and that have fields, each with its indexes and fields), reports progress
// through `progress`, and saves the document as access.xml in the temporary folder. Errors of the open
// (3024, 3028, 3031, 3051, 3343, 1000) and of the save pass to the caller; no partial document is returned.
std::unique_ptr<pugi::xml_document> ScanSourceDatabase(const std::string& file, const std::string& password,
                                                       const std::string& userName, const std::string& systemDatabase,
                                                       Progress& progress);

// The provider's column schema: table name -> column name -> {"NUMERIC_PRECISION", "NUMERIC_SCALE"}, both
// integers, 0 where the provider reports none (text, dates, the scale of Currency).
DictionaryPtr ReadColumnSchema(const std::string& file, const std::string& systemDatabase, const std::string& userName,
                               const std::string& password);

// The same for an open database.
DictionaryPtr readColumnSchema(const AccessDatabase& database);

// The schema document of an open database, without status lines or the saved file (tabulon-inspect).
std::unique_ptr<pugi::xml_document> buildSchemaDocument(const AccessDatabase& database, const DictionaryPtr& columns,
                                                        Progress* progress);

// Writes `text` to `path` through a new file renamed into place, so that a link planted at `path`
// is replaced, never followed. Raises 76 (path not found) naming the path on failure.
void replaceFileContents(const std::string& path, const std::string& text);

} // namespace tabulon
