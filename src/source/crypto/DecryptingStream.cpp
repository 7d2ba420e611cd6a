// The decrypting stream is a glibc cookie stream (fopencookie): libmdb reads its file through a FILE*,
// and this is the one way to put decryption under it without a decrypted copy of the whole file.
#include "DecryptingStream.h"

#include "SecretBytes.h"
#include "lib/Error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include <stdio.h>
#include <sys/types.h>

namespace tabulon {

namespace {

// The masked form of database key 0 at 0x3E of page 0.
constexpr std::uint8_t StoredKeyZero[4] = {0xFB, 0x8A, 0xBC, 0x4E};
constexpr std::size_t StoredKeyOffset = 0x3E;
// libmdb reads a page, then often the next or one it read a moment ago (row pages, long values):
// a few decrypted pages kept by page number save decrypting them again.
constexpr std::size_t CachedPages = 8;

class DecryptingFile {
public:
    DecryptingFile(std::FILE* file, std::unique_ptr<PageCipher> cipher, std::size_t pageSize, std::uint64_t size)
        : m_file(file), m_cipher(std::move(cipher)), m_pageSize(pageSize), m_size(size),
          m_cache(CachedPages * pageSize, 0), m_streamBuffer(pageSize, 0) {
        m_cachedPage.fill(NoPage);
    }

    ~DecryptingFile() {
        wipeSecret(m_cache.data(), m_cache.size());
        wipeSecret(m_streamBuffer.data(), m_streamBuffer.size());
        std::fclose(m_file);
    }

    std::uint8_t* streamBuffer() { return m_streamBuffer.data(); }

    ssize_t read(char* out, std::size_t size) {
        std::size_t done = 0;
        while (done < size && m_position < m_size) {
            const std::uint64_t pageNumber = m_position / m_pageSize;
            const std::size_t offset = static_cast<std::size_t>(m_position % m_pageSize);
            const std::uint8_t* page = plainPage(pageNumber);
            if (!page)
                return done ? static_cast<ssize_t>(done) : -1;
            const std::size_t count = std::min(size - done, m_pageSize - offset);
            std::memcpy(out + done, page + offset, count);
            done += count;
            m_position += count;
        }
        return static_cast<ssize_t>(done);
    }

    int seek(off64_t* offset, int whence) {
        const std::int64_t base = whence == SEEK_SET   ? 0
                                  : whence == SEEK_CUR ? static_cast<std::int64_t>(m_position)
                                  : whence == SEEK_END ? static_cast<std::int64_t>(m_size)
                                                       : -1;
        if (base < 0 || (*offset < 0 && -*offset > base)) {
            errno = EINVAL;
            return -1;
        }
        m_position = static_cast<std::uint64_t>(base + *offset);
        *offset = static_cast<off64_t>(m_position);
        return 0;
    }

private:
    static constexpr std::uint64_t NoPage = ~std::uint64_t{0};

    const std::uint8_t* plainPage(std::uint64_t pageNumber) {
        const std::size_t slot = static_cast<std::size_t>(pageNumber % CachedPages);
        std::uint8_t* page = m_cache.data() + slot * m_pageSize;
        if (m_cachedPage[slot] == pageNumber)
            return page;
        m_cachedPage[slot] = NoPage;
        if (::fseeko(m_file, static_cast<off_t>(pageNumber * m_pageSize), SEEK_SET) != 0 ||
            std::fread(page, 1, m_pageSize, m_file) != m_pageSize)
            return nullptr;
        if (pageNumber == 0)
            std::memcpy(page + StoredKeyOffset, StoredKeyZero, sizeof StoredKeyZero);
        else
            m_cipher->decryptPage(static_cast<std::uint32_t>(pageNumber), page, m_pageSize);
        m_cachedPage[slot] = pageNumber;
        return page;
    }

    std::FILE* m_file;
    std::unique_ptr<PageCipher> m_cipher;
    std::size_t m_pageSize;
    std::uint64_t m_size;
    std::uint64_t m_position = 0;
    std::vector<std::uint8_t> m_cache;
    std::vector<std::uint8_t> m_streamBuffer; // stdio's buffer, owned here so that it is wiped
    std::array<std::uint64_t, CachedPages> m_cachedPage{};
};

ssize_t readCookie(void* cookie, char* out, std::size_t size) {
    try {
        return static_cast<DecryptingFile*>(cookie)->read(out, size);
    } catch (...) { // a stdio callback must not throw; libmdb sees a read error
        errno = EIO;
        return -1;
    }
}

int seekCookie(void* cookie, off64_t* offset, int whence) {
    return static_cast<DecryptingFile*>(cookie)->seek(offset, whence);
}

int closeCookie(void* cookie) {
    delete static_cast<DecryptingFile*>(cookie);
    return 0;
}

[[noreturn]] void cannotOpen(const std::string& path) {
    throw Error(errc::AccessCannotOpen, "Tabulon.Source.Encryption",
                "Cannot open the file '" + path + "': " + std::strerror(errno));
}

std::uint64_t wholePagesSize(std::FILE* file, std::size_t pageSize) {
    if (::fseeko(file, 0, SEEK_END) != 0)
        return 0;
    const off_t size = ::ftello(file);
    return size < 0 ? 0 : static_cast<std::uint64_t>(size) / pageSize * pageSize;
}

} // namespace

std::FILE* openDecryptingStream(const std::string& path, std::unique_ptr<PageCipher> cipher, std::size_t pageSize) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        cannotOpen(path);
    std::unique_ptr<DecryptingFile> state;
    try {
        std::setvbuf(file, nullptr, _IONBF, 0); // whole pages are read straight into the cache
        state = std::make_unique<DecryptingFile>(file, std::move(cipher), pageSize, wholePagesSize(file, pageSize));
    } catch (...) {
        std::fclose(file);
        throw;
    }
    const cookie_io_functions_t functions{readCookie, nullptr, seekCookie, closeCookie};
    std::FILE* stream = fopencookie(state.get(), "rb", functions);
    if (!stream)
        cannotOpen(path); // the state closes the file
    // A buffer of one page lets libmdb's page reads go straight to the cookie, one page per call
    // (glibc ignores the size unless the buffer is given); it is wiped with the rest.
    setvbuf(stream, reinterpret_cast<char*>(state->streamBuffer()), _IOFBF, pageSize);
    state.release(); // the stream owns it now: closeCookie deletes it
    return stream;
}

} // namespace tabulon
