#include "PageFile.h"

#include "crypto/EncryptedAccdb.h"
#include "lib/Error.h"

// libmdb 1.0's header includes glib inside extern "C", which g++ rejects; glib must come first.
#include <glib.h>

#include <mdbtools.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace tabulon {

namespace {

const char* const kSource = "Tabulon.Source.PageFile";

MdbHandle* handleOf(void* handle) {
    return static_cast<MdbHandle*>(handle);
}

} // namespace

void prepareLibmdb() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const char* name : {"MDBPATH", "MDBOPTS", "MDBICONV", "MDB_JET3_CHARSET"})
            ::unsetenv(name);
    });
}

PageFile::PageFile(const DatabaseHeader& header, void* handle, std::shared_ptr<const PageCipher> keys)
    : m_header(header), m_keys(std::move(keys)), m_handle(handle) {}

PageFile::~PageFile() {
    mdb_close(handleOf(m_handle));
}

std::unique_ptr<PageFile> PageFile::open(const DatabaseHeader& header, std::shared_ptr<const PageCipher> keys) {
    prepareLibmdb();
    MdbHandle* mdb = mdb_open(header.fileName.c_str(), MDB_NOFLAGS);
    if (!mdb)
        throw Error(errc::AccessCannotOpen, kSource, "Cannot open the file '" + header.fileName + "'.");
    if (mdb->fmt->pg_size != static_cast<ssize_t>(header.pageSize)) {
        mdb_close(mdb);
        throw Error(errc::AccessUnrecognizedFormat, kSource, "Unrecognized database format '" + header.fileName + "'.");
    }
    if (keys) {
        try {
            readDecrypted(mdb, header, keys->clone());
        } catch (...) {
            mdb_close(mdb);
            throw;
        }
    }
    return std::unique_ptr<PageFile>(new PageFile(header, mdb, std::move(keys)));
}

std::unique_ptr<PageFile> PageFile::reopen() const {
    return open(m_header, m_keys);
}

void PageFile::read(std::uint32_t page, std::uint8_t* out) {
    if (page >= m_header.pageCount())
        damaged("page " + std::to_string(page) + " lies beyond the end of the file");
    MdbHandle* mdb = handleOf(m_handle);
    if (mdb_read_alt_pg(mdb, page) != static_cast<ssize_t>(m_header.pageSize))
        damaged("page " + std::to_string(page) + " cannot be read");
    std::memcpy(out, mdb->alt_pg_buf, m_header.pageSize);
}

void PageFile::damaged(const std::string& detail) const {
    throw Error(errc::AccessUnrecognizedFormat, kSource,
                "Unrecognized database format '" + m_header.fileName + "'. The file is damaged: " + detail + ".");
}

} // namespace tabulon
