#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tabulon {

class PageFile;

// Memo and OLE values: a 12-byte header in the row, the data inline, in one long-value row or in a chain of
// them. Reads the whole value, whatever its length.
class LongValueReader {
public:
    explicit LongValueReader(PageFile& file) : m_file(file) {}

    // Replaces `out` with the value whose header is `field`. Raises 3343 (damaged) when the value's
    // pages or lengths are inconsistent.
    void read(const std::uint8_t* field, std::size_t size, std::vector<std::uint8_t>& out);

private:
    void readChain(std::uint32_t pointer, std::size_t length, std::vector<std::uint8_t>& out);

    PageFile& m_file;
    std::vector<std::uint8_t> m_page;
    std::uint32_t m_loadedPage = 0xFFFFFFFF; // long values of neighbouring rows share pages
};

} // namespace tabulon
