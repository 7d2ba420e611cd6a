#pragma once

#include "lib/RowSource.h"

#include <memory>

namespace tabulon {

// Opens the Access database of the four source inputs read-only as the conversion run's source.
// Raises the errors of AccessDatabase::open (3024, 3028, 3031, 3051, 3343, 1000), each naming the file.
std::unique_ptr<SourceConnection> openSourceConnection(const SourceCredentials& credentials);

} // namespace tabulon
