#include "Error.h"

#include <cstdint>
#include <cstdio>

namespace tabulon {

Error::Error(long number, std::string source, std::string description)
    : std::runtime_error(description), m_number(number), m_source(std::move(source)),
      m_description(std::move(description)) {}

void rethrowWithContext(const Error& inner, const std::string& source, const std::string& context) {
    throw Error(inner.number(), source, context + inner.description());
}

std::string errorNumberHex(long number) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(number)));
    return buffer;
}

} // namespace tabulon
