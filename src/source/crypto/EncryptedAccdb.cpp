#include "EncryptedAccdb.h"

#include "DecryptingStream.h"
#include "OfficeEncryption.h"
#include "lib/Error.h"

// libmdb 1.0's header includes glib inside extern "C", which g++ rejects; glib must come first.
#include <glib.h>

#include <mdbtools.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace tabulon {

namespace {

const char* const ErrorSource = "Tabulon.Source.EncryptedAccdb";

std::vector<std::uint8_t> readPageZero(const DatabaseHeader& header) {
    std::vector<std::uint8_t> page(header.pageSize);
    std::ifstream in(header.fileName, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(page.data()), static_cast<std::streamsize>(page.size())))
        throw Error(errc::AccessCannotOpen, ErrorSource,
                    "Cannot open the file '" + header.fileName + "': " + std::strerror(errno) + ".");
    return page;
}

} // namespace

std::shared_ptr<const PageCipher> unlockEncryptedAccdb(const DatabaseHeader& header, std::string_view password) {
    const std::vector<std::uint8_t> page0 = readPageZero(header);
    try {
        return unlockEncryptedDatabase(page0, header.pageSize, header.databaseKey, password);
    } catch (const Error& error) {
        if (error.number() == errc::AccessUnrecognizedFormat)
            rethrowWithContext(error, ErrorSource, "Unrecognized database format '" + header.fileName + "'. ");
        if (error.number() == errc::General)
            rethrowWithContext(error, ErrorSource, "Cannot open the file '" + header.fileName + "'. ");
        throw;
    }
}

void readDecrypted(void* mdbHandle, const DatabaseHeader& header, std::unique_ptr<PageCipher> cipher) {
    MdbHandle* mdb = static_cast<MdbHandle*>(mdbHandle);
    std::FILE* stream = openDecryptingStream(header.fileName, std::move(cipher), header.pageSize);
    // libmdb closes its stream with the last handle on the file, and the decrypting stream with it.
    std::fclose(mdb->f->stream);
    mdb->f->stream = stream;
    mdb->f->db_key = 0;
}

} // namespace tabulon
