#pragma once

#include <string>

namespace tabulon {

// True when the name ends in ".accdb" or ".accde", in any letter case.
bool IsAccdbFile(const std::string& fileName);

// The OLE DB connection string of the Access provider for the four source inputs, inserted as entered.
std::string GetAccessConnectionString(const std::string& fileName, const std::string& systemDatabase,
                                      const std::string& userName, const std::string& password);

// Makes sure the Access reader can be used (libmdb is loaded and opens a database image). Raises the
// engine's error, its description starting "Unable to create DAO.Engine. ", when it cannot.
void CreateDaoEngine();

} // namespace tabulon
