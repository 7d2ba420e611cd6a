#include "source/SchemaScanner.h"
#include "TestFiles.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tabulon;
using tabulon::test::accessFile;
using tabulon::test::generatedFile;

namespace {

class RecordingProgress : public Progress {
public:
    void addStatusLine(const std::string& text) override { lines.push_back(text); }
    void startProgress(const std::string&, int, int) override {}
    void setProgress(const std::string&, int) override {}
    void processEvents() override { ++events; }

    std::vector<std::string> lines;
    int events = 0;
};

// Points TEMP at a fresh folder for one test.
class TempFolder {
public:
    TempFolder() {
        m_path = std::filesystem::temp_directory_path() / ("tabulon-scan-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
        const char* old = std::getenv("TEMP");
        m_old = old ? old : "";
        m_hadOld = old != nullptr;
        ::setenv("TEMP", m_path.c_str(), 1);
    }
    ~TempFolder() {
        if (m_hadOld)
            ::setenv("TEMP", m_old.c_str(), 1);
        else
            ::unsetenv("TEMP");
        std::filesystem::remove_all(m_path);
    }
    std::filesystem::path path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::string m_old;
    bool m_hadOld = false;
};

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

pugi::xml_node tableNode(const pugi::xml_document& document, const std::string& name) {
    return document.select_node(("/AccessDatabase/Tables/Table[Name=\"" + name + "\"]").c_str()).node();
}

std::string fieldText(pugi::xml_node table, const std::string& field, const std::string& child) {
    return table.select_node(("Fields/Field[Name=\"" + field + "\"]/" + child).c_str()).node().text().as_string();
}

} // namespace

TEST(SchemaScanner, documentShapeAndStatusLines) {
    TempFolder temp;
    RecordingProgress progress;
    const auto document = ScanSourceDatabase(accessFile("a2007_odbc_linked_hidden.accdb"), "", "", "", progress);
    // The only local table is hidden and the other is ODBC-linked: nothing is offered.
    EXPECT_EQ(progress.lines, (std::vector<std::string>{"Connecting to source database", "Scanning table structures",
                                                        "Scanning completed"}));
    EXPECT_TRUE(document->select_node("/AccessDatabase/Tables"));
    EXPECT_FALSE(document->select_node("/AccessDatabase/Tables/Table"));
}

TEST(SchemaScanner, elementOrderFlagsAndAttributes) {
    TempFolder temp;
    RecordingProgress progress;
    const auto document = ScanSourceDatabase(generatedFile("edge.accdb"), "", "", "", progress);
    EXPECT_EQ(progress.lines.at(2), "  - Reading AllTypes");
    EXPECT_GT(progress.events, 100);
    const pugi::xml_node table = tableNode(*document, "AllTypes");
    std::vector<std::string> children;
    for (const auto& child : table.children())
        children.push_back(child.name());
    EXPECT_EQ(children, (std::vector<std::string>{"Name", "Attributes", "Indexes", "Fields"}));
    std::vector<std::string> fieldChildren;
    for (const auto& child : table.select_node("Fields/Field").node().children())
        fieldChildren.push_back(child.name());
    EXPECT_EQ(fieldChildren,
              (std::vector<std::string>{"Name", "Required", "DefaultValue", "Size", "Scale", "Type", "Attributes"}));
    EXPECT_EQ(fieldText(table, "ID", "Attributes"), "49");
    EXPECT_TRUE(table.select_node("Fields/Field[Name=\"ID\"]/Attributes/@Bit5"));
    EXPECT_FALSE(table.select_node("Fields/Field[Name=\"ShortText\"]/Attributes/@Bit5"));
    EXPECT_TRUE(table.select_node("Fields/Field[Name=\"Link\"]/Attributes/@Bit16"));
    EXPECT_TRUE(table.select_node("Indexes/Index[Primary=\"1\"]/Fields/Field[Name=\"ID\"]"));
    EXPECT_EQ(std::string(table.child("Attributes").text().as_string()), "0");
}

TEST(SchemaScanner, currencyDecimalAndYesNoDefaults) {
    TempFolder temp;
    RecordingProgress progress;
    const auto document = ScanSourceDatabase(generatedFile("edge.accdb"), "", "", "", progress);
    const pugi::xml_node all = tableNode(*document, "AllTypes");
    EXPECT_EQ(fieldText(all, "Dec10_2", "Size"), "10");
    EXPECT_EQ(fieldText(all, "Dec10_2", "Scale"), "2");
    // The provider lists Currency with precision 19 and no scale.
    EXPECT_EQ(fieldText(all, "Money", "Size"), "19");
    EXPECT_EQ(fieldText(all, "Money", "Scale"), "0");
    EXPECT_EQ(fieldText(all, "ShortText", "Size"), "255");
    const pugi::xml_node defaults = tableNode(*document, "Defaults");
    EXPECT_EQ(fieldText(defaults, "Active", "DefaultValue"), "1"); // stored as "Yes"
    EXPECT_EQ(fieldText(defaults, "Active", "Type"), "1");
    EXPECT_EQ(fieldText(defaults, "Code", "Required"), "1");
    EXPECT_EQ(fieldText(defaults, "Label2", "DefaultValue"), "'single'");
    const pugi::xml_node customers = tableNode(*document, "Customers");
    EXPECT_EQ(fieldText(customers, "Country", "DefaultValue"), "\"GR\"");
}

TEST(SchemaScanner, readColumnSchema) {
    const DictionaryPtr columns = ReadColumnSchema(generatedFile("edge.mdb"), "", "", "");
    const DictionaryPtr all = columns->dictionaryAt("AllTypes");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->dictionaryAt("Dec28_10")->get("NUMERIC_PRECISION"), Variant(28));
    EXPECT_EQ(all->dictionaryAt("Dec28_10")->get("NUMERIC_SCALE"), Variant(10));
    EXPECT_EQ(all->dictionaryAt("Money")->get("NUMERIC_PRECISION"), Variant(19));
    EXPECT_EQ(all->dictionaryAt("Money")->get("NUMERIC_SCALE"), Variant(0));
    EXPECT_EQ(all->dictionaryAt("ShortText")->get("NUMERIC_PRECISION"), Variant(0));
}

TEST(SchemaScanner, savesAccessXmlOfTheLastScan) {
    TempFolder temp;
    RecordingProgress progress;
    ScanSourceDatabase(accessFile("a2000_decimal.mdb"), "", "", "", progress);
    ScanSourceDatabase(accessFile("a2016_bigint.accdb"), "", "", "", progress);
    const std::string saved = slurp(temp.path() / "access.xml");
    EXPECT_NE(saved.find("<Name>Table</Name>"), std::string::npos);
    EXPECT_EQ(saved.find("<Name>test</Name>"), std::string::npos);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.path()))
        ++files;
    EXPECT_EQ(files, 1u); // no temporary file left behind
}

TEST(SchemaScanner, plantedLinkIsReplacedNotFollowed) {
    TempFolder temp;
    const auto victim = temp.path() / "victim.txt";
    std::ofstream(victim) << "precious";
    std::filesystem::create_symlink(victim, temp.path() / "access.xml");
    RecordingProgress progress;
    ScanSourceDatabase(accessFile("a2000_decimal.mdb"), "", "", "", progress);
    EXPECT_EQ(slurp(victim), "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(temp.path() / "access.xml"));
    EXPECT_NE(slurp(temp.path() / "access.xml").find("<AccessDatabase>"), std::string::npos);
}

TEST(SchemaScanner, missingTemporaryFolderFailsTheScan) {
    TempFolder temp;
    ::setenv("TEMP", (temp.path() / "no" / "such").c_str(), 1);
    RecordingProgress progress;
    EXPECT_THROW(ScanSourceDatabase(accessFile("a2000_decimal.mdb"), "", "", "", progress), Error);
}

TEST(SchemaScanner, openErrorsEndTheScanAfterConnecting) {
    TempFolder temp;
    RecordingProgress progress;
    try {
        ScanSourceDatabase(accessFile("a2000_db_password.mdb"), "wrong", "", "", progress);
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::AccessNotValidPassword);
    }
    EXPECT_EQ(progress.lines, std::vector<std::string>{"Connecting to source database"});
}

TEST(SchemaScanner, everyFixtureScans) {
    TempFolder temp;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TABULON_TEST_DATA) + "/access")) {
        const std::string name = entry.path().filename().string();
        if (name.find("encrypted") != std::string::npos)
            continue;
        RecordingProgress progress;
        const std::string password = name.find("password") != std::string::npos ? "password" : "";
        testing::internal::CaptureStderr();
        EXPECT_NO_THROW(ScanSourceDatabase(entry.path().string(), password, "", "", progress)) << name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << name; // libmdb stays silent
    }
}

TEST(SchemaScanner, encryptedAccdbScansWithItsPassword) {
    TempFolder temp;
    for (const auto& [name, password] : {std::pair{"a2010_encrypted_agile.accdb", "password"},
                                         std::pair{"a2010_encrypted_agile_sha1.accdb", "Test123"},
                                         std::pair{"a2007_encrypted_rc4_cryptoapi.accdb", "Test123"}}) {
        RecordingProgress progress;
        testing::internal::CaptureStderr();
        const auto document =
            ScanSourceDatabase(std::string(TABULON_TEST_DATA) + "/" + name, password, "", "", progress);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << name;
        const auto table = tableNode(*document, "Table1");
        ASSERT_TRUE(table) << name;
        EXPECT_EQ(fieldText(table, "ID", "Type"), "4") << name;
        EXPECT_STREQ(table.select_node("Fields/Field[2]/Type").node().text().as_string(), "10") << name;
        EXPECT_EQ(slurp(temp.path() / "access.xml").find(password), std::string::npos) << name;
    }
}
