#include "lib/OwnerOnlyFile.h"
#include "lib/Error.h"
#include "lib/TextFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

using namespace tabulon;
namespace fs = std::filesystem;

namespace {

// The permission bits of a file, as ls shows them in octal.
unsigned modeOf(const std::string& path) {
    return static_cast<unsigned>(fs::status(path).permissions()) & 0777u;
}

// A umask that would leave a new file readable by everyone, as most systems have it.
class OwnerOnlyFileTest : public ::testing::Test {
protected:
    OwnerOnlyFileTest() : m_savedMask(::umask(022)) {}
    ~OwnerOnlyFileTest() override { ::umask(m_savedMask); }

    TempFolder m_folder;

private:
    mode_t m_savedMask;
};

} // namespace

TEST_F(OwnerOnlyFileTest, CreatesAMissingFileForTheOwnerAlone) {
    const std::string path = m_folder.path("new.ini");
    RestrictToOwner(path);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_FALSE(ReadableByOthers(path));
}

TEST_F(OwnerOnlyFileTest, NarrowsAnExistingFileAndKeepsItsContentUntilWritten) {
    const std::string path = m_folder.path("old.ini");
    WriteTextFile(path, "old content");
    fs::permissions(path, fs::perms::all);
    ASSERT_TRUE(ReadableByOthers(path));

    RestrictToOwner(path);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(fs::file_size(path), 11u);
    // Writing the file afterwards keeps the narrowed rights.
    WriteTextFile(path, "secret");
    EXPECT_EQ(modeOf(path), 0600u);
}

TEST_F(OwnerOnlyFileTest, AFileInAMissingFolderRaisesAnErrorNamingIt) {
    const std::string path = m_folder.path("missing/x.ini");
    try {
        RestrictToOwner(path);
        FAIL() << "no error for a file in a missing folder";
    } catch (const Error& error) {
        EXPECT_NE(error.description().find(path), std::string::npos) << error.description();
    }
}

TEST_F(OwnerOnlyFileTest, ReadableByOthersLooksAtTheGroupAndEveryoneElse) {
    const std::string path = m_folder.path("file.ini");
    WriteTextFile(path, "x");
    for (const auto& [mode, readable] : std::initializer_list<std::pair<fs::perms, bool>>{
             {fs::perms::owner_read | fs::perms::owner_write, false},
             {fs::perms::owner_read | fs::perms::group_read, true},
             {fs::perms::owner_read | fs::perms::others_read, true},
             {fs::perms::owner_all | fs::perms::group_write | fs::perms::others_exec, false},
         }) {
        fs::permissions(path, mode);
        EXPECT_EQ(ReadableByOthers(path), readable) << std::oct << static_cast<unsigned>(mode);
    }
    EXPECT_FALSE(ReadableByOthers(m_folder.path("missing.ini")));
    // A folder is no settings file.
    EXPECT_FALSE(ReadableByOthers(m_folder.path()));
}
