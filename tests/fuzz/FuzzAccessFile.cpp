// libFuzzer target: an Access file of arbitrary bytes goes through the reader as a conversion uses it
// (open, catalog, table definitions, every row of every local table). A numbered error is the
// expected answer to damage; a crash, a hang, a sanitizer report or any other exception is a fault.
#include "lib/Error.h"
#include "source/AccessDatabase.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace tabulon;

namespace {

// The reader opens files by name (libmdb reads through a FILE*), so each input becomes one; it is
// removed when the fuzzer ends.
struct ScratchFile {
    ScratchFile() {
        const char* folder = std::getenv("TMPDIR");
        path =
            std::string(folder && *folder ? folder : "/tmp") + "/tabulon-fuzz-" + std::to_string(::getpid()) + ".accdb";
    }
    ~ScratchFile() { std::remove(path.c_str()); }
    std::string path;
};

void readEverything(const std::string& path, const std::string& password) {
    auto database = AccessDatabase::open({path, "", "", password});
    for (const auto& table : database->tables()) {
        if (!table.isLocal())
            continue;
        auto cursor = database->openCursor(table.name, {});
        while (cursor->next()) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    // The seed corpus holds encrypted files with these passwords: trying them lets mutations get past
    // the password check into the decrypted pages.
    for (const char* password : {"", "password", "Test123"}) {
        try {
            readEverything(path, password);
            break;
        } catch (const Error& error) {
            if (error.number() != errc::AccessNotValidPassword)
                break;
        }
    }
    return 0;
}
