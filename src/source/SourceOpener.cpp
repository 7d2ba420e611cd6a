#include "SourceOpener.h"

#include "AccessDatabase.h"

namespace tabulon {

std::unique_ptr<SourceConnection> openSourceConnection(const SourceCredentials& credentials) {
    return AccessDatabase::open(credentials);
}

} // namespace tabulon
