// The damaged-file regression set (tests/data/damaged, made as its README says): each file must be
// refused with error 3343 and the exact message that names the file and what is wrong with it.

#include "lib/Error.h"
#include "source/AccessDatabase.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace tabulon;

namespace {

std::string damagedFile(const std::string& name) {
    return std::string(TABULON_TEST_DATA) + "/damaged/" + name;
}

struct Damage {
    const char* file;
    const char* password;
    const char* problem; // the message after "Unrecognized database format '<file>'. "
};

const Damage Damages[] = {
    {"signature.mdb", "",
     "The file looks damaged: the signature at the start of its header page (page 0) differs from an Access "
     "database's in 1 byte."},
    {"two_pages.mdb", "",
     "The file is damaged or truncated: it holds only 2 pages of 2048 bytes, but the catalog of every Access "
     "database lies on page 2."},
    {"one_page.accdb", "",
     "The file is damaged or truncated: it holds only 1 page of 4096 bytes, but the catalog of every Access "
     "database lies on page 2."},
    {"password_field.mdb", "",
     "The file looks damaged: the password field of its header page (page 0) holds control characters."},
    {"encryption_version.accdb", "Test123",
     "The encryption header is damaged: it names encryption version 65535.65535, which no Office encryption has."},
    {"catalog_name_nul.mdb", "",
     "The file is damaged: the catalog names a table 't<U+0000>ble1' with a control character, which no Access "
     "name holds."},
    {"complex_catalog.accdb", "",
     "The file is damaged: the complex-column catalog MSysComplexColumns (page 18) has no column 'ComplexID'."},
};

class DamagedFile : public testing::TestWithParam<Damage> {};

} // namespace

TEST_P(DamagedFile, isRefusedWithWhatIsWrong) {
    const Damage& damage = GetParam();
    const std::string file = damagedFile(damage.file);
    try {
        AccessDatabase::open({file, "", "", damage.password});
        ADD_FAILURE() << file << " opened";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::AccessUnrecognizedFormat);
        EXPECT_EQ(error.description(), "Unrecognized database format '" + file + "'. " + damage.problem);
    }
}

INSTANTIATE_TEST_SUITE_P(RegressionSet, DamagedFile, testing::ValuesIn(Damages), [](const auto& info) {
    std::string name = info.param.file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

TEST(DamagedFile, otherFilesAreNotCalledDamagedAccessFiles) {
    // A text file is no Access file at all: nothing in it resembles a damaged one.
    const std::string text = std::string(TABULON_TEST_DATA) + "/README.md";
    try {
        AccessDatabase::open({text, "", "", ""});
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(error.description(), "Unrecognized database format '" + text + "'. It is not an Access database.");
    }
}
