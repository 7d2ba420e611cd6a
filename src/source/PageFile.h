#pragma once

#include "PageZero.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct MdbHandle_s;

namespace tabulon {

class PageCipher;

// The pages of one open Access file, read through a libmdb handle (which decodes Jet "encoded" pages).
// Every page number is checked against the file's length first, so libmdb never reads past the end (it
// would print to stderr or even exit). Not thread-safe: one PageFile per cursor (see reopen()).
class PageFile {
public:
    // Opens the file read-only. The header must come from readDatabaseHeader() of the same file. An
    // encrypted .accdb needs the keys its password unlocked (unlockEncryptedAccdb); its pages then read
    // decrypted.
    static std::unique_ptr<PageFile> open(const DatabaseHeader& header,
                                          std::shared_ptr<const PageCipher> keys = nullptr);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // A second, independent handle on the same file.
    std::unique_ptr<PageFile> reopen() const;

    const DatabaseHeader& header() const { return m_header; }
    std::size_t pageSize() const { return m_header.pageSize; }
    bool isJet3() const { return m_header.isJet3(); }
    const std::string& fileName() const { return m_header.fileName; }

    // Copies page `page` into `out` (pageSize() bytes). Raises 3343 naming the file when the page does not exist.
    void read(std::uint32_t page, std::uint8_t* out);

    // Raises 3343 "damaged" naming the file, with `detail` saying what is wrong.
    [[noreturn]] void damaged(const std::string& detail) const;

private:
    PageFile(const DatabaseHeader& header, void* handle, std::shared_ptr<const PageCipher> keys);

    DatabaseHeader m_header;
    std::shared_ptr<const PageCipher> m_keys; // null for plain files
    void* m_handle;                           // MdbHandle*
};

// Clears the environment variables libmdb reads at open (MDBPATH would make it search other folders for a
// missing file; MDBOPTS turns on debug output). Called once before the first open.
void prepareLibmdb();

} // namespace tabulon
