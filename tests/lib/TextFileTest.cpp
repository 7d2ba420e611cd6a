#include "lib/TextFile.h"
#include "lib/Error.h"
#include "lib/Unicode.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace tabulon;

namespace {

Bytes bytesOf(std::initializer_list<int> values) {
    Bytes bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

std::string fileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `action`, expecting a tabulon::Error; returns it.
template <typename Action> Error caught(Action action) {
    try {
        action();
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return Error(0, "", "");
}

} // namespace

TEST(TextFile, decodingFollowsTheByteOrderMark) {
    struct Case {
        const char* name;
        Bytes bytes;
        const char* encoding;
        std::string expected;
    } cases[] = {
        {"utf16LeMark", bytesOf({0xFF, 0xFE, 'a', 0, 0xE9, 0}), "", "a\xC3\xA9"},
        {"utf16BeMark", bytesOf({0xFE, 0xFF, 0, 'a', 0x20, 0xAC}), "", "a\xE2\x82\xAC"},
        {"utf8MarkRemoved", bytesOf({0xEF, 0xBB, 0xBF, 'x', 0xC3, 0xBC}), "", "x\xC3\xBC"},
        {"noMarkIsUtf8", bytesOf({'x', 0xC3, 0xBC}), "", "x\xC3\xBC"},
        {"markOnlyIsEmpty", bytesOf({0xFF, 0xFE}), "", ""},
        {"oneByteFileKeepsIt", bytesOf({'z'}), "", "z"},
        {"givenNameKeepsTheMark", bytesOf({0xEF, 0xBB, 0xBF, 'x'}), "utf-8", "\xEF\xBB\xBFx"},
        {"givenNameWins", bytesOf({'a', 0, 'b', 0}), "unicode_le", "ab"},
        {"unknownNameIsSystemCodePage", bytesOf({0xFF, 0xFE, 'a', 0x80}), "latin-9",
         "\xC3\xBF\xC3\xBE"
         "a\xE2\x82\xAC"},
        {"surrogatePair", bytesOf({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}), "", "\xF0\x9F\x98\x80"},
        {"loneSurrogate", bytesOf({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0}), "",
         "\xEF\xBF\xBD"
         "a"},
        {"loneLowSurrogate", bytesOf({0xFF, 0xFE, 0x00, 0xDC}), "", "\xEF\xBF\xBD"},
        {"highSurrogateAtTheEnd", bytesOf({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8}), "", "a\xEF\xBF\xBD"},
        {"pairBigEndian", bytesOf({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00}), "", "\xF0\x9F\x98\x80"},
        {"oddByteBigEndian", bytesOf({0xFE, 0xFF, 0, 'a', 0, 'b', 0}), "", "ab"},
        {"oddByteLittleEndian", bytesOf({0xFF, 0xFE, 'a', 0, 'b'}), "", "a"},
        {"ansiFallbackForInvalidUtf8", bytesOf({'B', 0xFC, 'c', 'h', 0x80}), "",
         "B\xC3\xBC"
         "ch\xE2\x82\xAC"},
        {"invalidUtf8AfterMarkReplaced", bytesOf({0xEF, 0xBB, 0xBF, 'a', 0xFF}), "", "a\xEF\xBF\xBD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeText(c.bytes, c.encoding), c.expected) << c.name;
}

TEST(TextFile, utf8Validation) {
    for (const char* good : {"", "abc", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(isValidUtf8(good)) << good;
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\x80", "\xFE"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    EXPECT_EQ(sanitizeUtf8("a\xC3(b"), "a\xEF\xBF\xBD(b");
}

TEST(TextFile, readsWhatWasWritten) {
    TempFolder folder;
    const std::string path = folder.path("a.txt");
    WriteTextFile(path, "line one\r\nZ\xC3\xBCrich\r\n");
    EXPECT_EQ(fileContent(path), "line one\r\nZ\xC3\xBCrich\r\n"); // no byte-order mark
    EXPECT_EQ(ReadTextFile(path), "line one\r\nZ\xC3\xBCrich\r\n");
    EXPECT_EQ(ReadFile(path).size(), 19u);
}

TEST(TextFile, shorterContentLeavesNoTail) {
    TempFolder folder;
    const std::string path = folder.path("a.txt");
    WriteTextFile(path, "a much longer first content");
    WriteTextFile(path, "short");
    EXPECT_EQ(fileContent(path), "short");
    WriteBinaryFile(path, Bytes());
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_EQ(ReadTextFile(path), "");
    EXPECT_TRUE(ReadFile(path).empty());
}

TEST(TextFile, binaryBytesSurviveUnchanged) {
    TempFolder folder;
    Bytes bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i * 7));
    WriteBinaryFile(folder.path("b.bin"), bytes);
    EXPECT_EQ(ReadFile(folder.path("b.bin")), bytes);
}

TEST(TextFile, errorsNameTheFile) {
    TempFolder folder;
    const std::string missing = folder.path("missing.ini");

    Error e = caught([&] { ReadTextFile(missing); });
    EXPECT_EQ(e.number(), errc::FileNotFound);
    EXPECT_NE(e.description().find(missing), std::string::npos) << e.description();

    EXPECT_EQ(caught([&] { ReadFile(missing); }).number(), errc::FileNotFound);
    EXPECT_EQ(caught([&] { ReadFile(folder.path()); }).number(), errc::PathFileAccess);

    e = caught([] { ReadFile(""); });
    EXPECT_EQ(e.number(), errc::General);
    EXPECT_EQ(e.description(), "Function ReadFile does not accept an empty file name as parameter.");
    EXPECT_EQ(caught([] { WriteTextFile("", "x"); }).number(), errc::General);

    const std::string nowhere = folder.path("no/such/folder/a.txt");
    e = caught([&] { WriteTextFile(nowhere, "x"); });
    EXPECT_EQ(e.number(), errc::PathNotFound);
    EXPECT_NE(e.description().find(nowhere), std::string::npos) << e.description();

    e = caught([&] { WriteTextFile(folder.path(), "x"); });
    EXPECT_EQ(e.number(), errc::PathFileAccess);
}

TEST(TextFile, existenceTests) {
    TempFolder folder;
    WriteTextFile(folder.path("f.txt"), "x");
    EXPECT_TRUE(FileExists(folder.path("f.txt")));
    EXPECT_FALSE(FileExists(folder.path()));
    EXPECT_FALSE(FileExists(folder.path("none.txt")));
    EXPECT_FALSE(FileExists(folder.path("*.txt"))); // no wildcard expansion
    EXPECT_FALSE(FileExists(""));

    EXPECT_TRUE(FolderExists(folder.path()));
    EXPECT_TRUE(FolderExists(folder.path() + "///", true));
    EXPECT_TRUE(FolderExists("/"));
    EXPECT_FALSE(FolderExists(folder.path("f.txt")));
    EXPECT_FALSE(FolderExists(folder.path("none")));
    EXPECT_FALSE(FolderExists(""));
}

TEST(TextFile, folderOfPath) {
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"/x/settings.ini", "/x/"}, {"settings.ini", ""}, {"/x/y/", "/x/y/"}, {"/", "/"}, {"", ""}, {"a/b", "a/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetFolderOfPath(c.path), c.folder) << c.path;
}

TEST(MkDirRecurse, createsEveryMissingLevel) {
    TempFolder folder;
    MkDirRecurse(folder.path("a/b/c/"));
    EXPECT_TRUE(FolderExists(folder.path("a/b/c")));
    MkDirRecurse(folder.path("a/b/c")); // existing: nothing to do
    MkDirRecurse(folder.path("a//d"));  // an empty part is skipped
    EXPECT_TRUE(FolderExists(folder.path("a/d")));
}

TEST(MkDirRecurse, relativePathsStartInTheWorkingFolder) {
    TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    MkDirRecurse("rel/sub");
    EXPECT_TRUE(FolderExists(folder.path("rel/sub")));
    std::filesystem::current_path(previous);
}

TEST(MkDirRecurse, errorNamesThePathAndTheStep) {
    TempFolder folder;
    WriteTextFile(folder.path("blocker"), "a file where a folder should be");
    const Error e = caught([&] { MkDirRecurse(folder.path("blocker/sub//")); });
    EXPECT_EQ(e.number(), errc::PathFileAccess);
    const std::string prefix = "Error in function call MkDirRecurse(\"" + folder.path("blocker/sub") +
                               "\"). Create folder '" + folder.path("blocker/") + "'. 75: Path/File access error";
    EXPECT_EQ(e.description().substr(0, prefix.size()), prefix) << e.description();
}
