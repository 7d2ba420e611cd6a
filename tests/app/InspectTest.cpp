// Runs the built tabulon-inspect and checks its output rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Result {
    std::string out;
    std::string err;
    int status = -1;
};

Result run(const std::string& arguments) {
    // One file per process: CTest runs the cases of this program in parallel.
    const std::string errFile = testing::TempDir() + "inspect-stderr-" + std::to_string(::getpid()) + ".txt";
    const std::string command = std::string(TABULON_INSPECT) + " " + arguments + " 2>" + errFile;
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* err = std::fopen(errFile.c_str(), "r")) {
        while ((n = std::fread(buffer.data(), 1, buffer.size(), err)) > 0)
            result.err.append(buffer.data(), n);
        std::fclose(err);
    }
    return result;
}

std::string data(const std::string& name) {
    return "'" + std::string(TABULON_TEST_DATA) + "/" + name + "'";
}

} // namespace

TEST(Inspect, tablesListsWhatAConversionOffers) {
    const Result r = run("tables " + data("access/a2007_linked.accdb"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Table1\n"); // Table2 is linked
    EXPECT_EQ(r.err, "");
}

TEST(Inspect, rowsAsJsonLines) {
    const Result r = run("rows " + data("access/a97_basic_types.mdb") + " Table1");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "[\"a\",\"b\",0,0,0,0,\"1981-12-12 00:00:00.000\",\"0.0000\",false]\n"
              "[\"abcdefg\",\"hijklmnop\",2,222,333333333,444.555,\"1974-09-21 00:00:00.000\",\"3.5000\",true]\n");
}

TEST(Inspect, rowsWithEveryKindOfValue) {
    const Result r = run("rows " + data("generated/edge.mdb") + " SpecialFloats");
    EXPECT_NE(r.out.find("[1,\"NaN\",\"NaN\",\"NaN\"]"), std::string::npos);
    EXPECT_NE(r.out.find(",-0,-0]"), std::string::npos);
    EXPECT_NE(r.out.find("1e-45,5e-324]"), std::string::npos);
    const Result all = run("rows " + data("generated/edge.accdb") + " AllTypes");
    EXPECT_NE(all.out.find("\"nul\\u0000inside\""), std::string::npos);
    EXPECT_NE(all.out.find("\"0x0221405F7E9DBCDB\""), std::string::npos);
    EXPECT_NE(all.out.find("\"{6F9619FF-8B86-D011-B42D-00C04FC964FF}\""), std::string::npos);
    EXPECT_NE(all.out.find("\"-922337203685477.5808\""), std::string::npos);
    const Result attachments = run("rows " + data("access/a2007_attachments.accdb") + " Table1");
    EXPECT_NE(attachments.out.find("{\"attachment1.txt\":\"0x4174746163686D656E742031\"}"), std::string::npos);
}

TEST(Inspect, codePageOption) {
    EXPECT_EQ(run("rows --code-page=936 " + data("access/a97_gbk_codepage.mdb") + " table1").out, "[2,\"GBK编码\"]\n");
}

TEST(Inspect, schemaDocument) {
    const Result r = run("schema " + data("access/a2016_bigint.accdb"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("<AccessDatabase>"), std::string::npos);
    EXPECT_NE(r.out.find("<Type>16</Type>"), std::string::npos);
    const Result relations = run("schema " + data("generated/relations.accdb"));
    EXPECT_NE(relations.out.find("<ReferencedTable>Customers</ReferencedTable>"), std::string::npos);
    EXPECT_NE(relations.out.find("<ValidationRule>Between 1 And 1000</ValidationRule>"), std::string::npos);
    EXPECT_NE(relations.out.find("<Description>Full name</Description>"), std::string::npos);
}

TEST(Inspect, errorsGoToStandardErrorWithStatusOne) {
    const Result missing = run("tables " + data("access/nothing.mdb"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err.rfind("Error 3024: Could not find file '", 0), 0u);
    const Result password = run("rows " + data("access/a2000_db_password.mdb") + " Table1");
    EXPECT_EQ(password.err, "Error 3031: Not a valid password.\n");
    EXPECT_EQ(run("rows --password=password " + data("access/a2000_db_password.mdb") + " Table1").status, 0);
    const Result table = run("rows " + data("access/a2016_bigint.accdb") + " Nothing");
    EXPECT_EQ(table.status, 1);
    EXPECT_EQ(table.err.rfind("Error 3078: ", 0), 0u);
    EXPECT_EQ(run("frobnicate x").status, 1);
    EXPECT_EQ(run("rows onlyonearg").status, 1);
}

TEST(Inspect, encryptedAccdbWithItsPassword) {
    const Result r = run("rows --password=Test123 " + data("a2007_encrypted_rc4_cryptoapi.accdb") + " Table1");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "[1,\"foo\"]\n");
    EXPECT_EQ(r.err, "");
    const Result wrong = run("tables --password=Sesame-42 " + data("a2010_encrypted_agile.accdb"));
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, "Error 3031: Not a valid password.\n");
}

TEST(Inspect, helpExplainsTheUsage) {
    const Result r = run("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("tabulon-inspect rows"), std::string::npos);
}

TEST(Inspect, queriesPrintsOneObjectPerQuery) {
    const Result r = run("queries " + data("access/a2007_queries_odd_names.accdb"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(
        r.out.find("{\"name\":\"queryWithParameters\",\"kind\":\"select\",\"hidden\":false,\"sql\":\"PARAMETERS a "
                   "DateTime, [b \\\"] Text(255);\\r\\nSELECT [table 1].[text1], [a] Is Null AS Espr1, [b \\\"] Is "
                   "Null AS Espr2, True AS Espr22\\r\\nFROM [table 1];\",\"parameters\":[{\"name\":\"a\",\"type\":"
                   "\"DateTime\"},{\"name\":\"b \\\"\",\"type\":\"Text(255)\"}]}\n"),
        std::string::npos)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 16);
}
