#pragma once

#include <string>

namespace tabulon {

// True when the name ends in ".accdb" or ".accde", in any letter case.
bool IsAccdbFile(const std::string& fileName);

// Makes sure the Access reader can be used (libmdb is loaded and opens a database image). Raises the
// engine's error, its description starting "Unable to create DAO.Engine. ", when it cannot.
void CreateDaoEngine();

} // namespace tabulon
