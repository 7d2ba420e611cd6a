// The dump, report and result of every test file under a set of option variants, compared byte for
// byte with those an earlier build wrote. Refactoring the engine must not change a byte of them.
//
// With TABULON_DUMP_BASELINE=write the test writes the baseline instead (build the commit to compare
// against, run it once); without a baseline it writes the current output and skips.
#include "FixtureRuns.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace tabulon;

namespace {

struct Variant {
    std::string name;
    std::function<void(Dictionary&)> apply;
};

const std::vector<Variant>& variants() {
    static const std::vector<Variant> all = {
        {"defaults", [](Dictionary&) {}},
        {"unicode_off", [](Dictionary& s) { s.set("unicode", 0); }},
        {"datetime2", [](Dictionary& s) { s.set("datetimetype", "DATETIME2"); }},
        {"column_list", [](Dictionary& s) { s.set("columnlist", 1); }},
        {"table_prefix", [](Dictionary& s) { s.set("tableprefix", "pre_"); }},
        {"transfer_off",
         [](Dictionary& s) {
             for (const char* key : {"transferdefaultvalues", "transferindexes", "transferautonumbers"})
                 s.set(key, 0);
         }},
        {"drop_database_off", [](Dictionary& s) { s.set("dropdatabase", 0); }},
        {"structure_only", [](Dictionary& s) { s.set("transferrecords", 0); }},
        {"records_only", [](Dictionary& s) { s.set("createtables", 0); }},
        {"blobs_booleans",
         [](Dictionary& s) {
             s.set("ignorelargeblobs", 1);
             s.set("negativeboolean", 1);
         }},
    };
    return all;
}

struct Case {
    Fixture fixture;
    std::size_t variant;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.fixture.relative << " " << variants()[c.variant].name;
}

std::vector<Case> everyCase() {
    std::vector<Case> cases;
    for (const Fixture& fixture : everyFixture())
        for (std::size_t v = 0; v < variants().size(); ++v)
            cases.push_back({fixture, v});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.fixture.relative + "_" + variants()[info.param.variant].name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

std::filesystem::path identityFolder(const std::string& which) {
    return std::filesystem::path(TABULON_BINARY_DIR) / "dump-identity" / which;
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// The run's temporary folder differs from run to run; the text names it "<temp>".
std::string withoutFolder(std::string text, const std::string& folder) {
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;)
        text.replace(at, folder.size(), "<temp>");
    return text;
}

// The result as the number baselines hold, which runs before the result had names wrote: a run that
// stopped early counted as done, as it does for the exit status.
int resultNumber(RunResult result) {
    switch (result) {
    case RunResult::Completed:
    case RunResult::Cancelled:
    case RunResult::TableFailed:
        return 0;
    case RunResult::DestinationFailed:
        return 1;
    case RunResult::DumpFailed:
        return 2;
    case RunResult::Error:
        return 3;
    case RunResult::TablesNotFound:
        return 4;
    }
    return -1;
}

// The run's output as one text: its result, its report and its dump.
std::string runOutput(const Case& c) {
    try {
        FixtureRun run(fixture::path(c.fixture.relative), c.fixture.password);
        variants()[c.variant].apply(run.settings.section());
        const int result = resultNumber(run.run());
        return withoutFolder("result " + std::to_string(result) + "\n-- report\n" + run.report + "\n-- dump\n" +
                                 run.dump,
                             run.folder.path());
    } catch (const Error& error) {
        return "error " + std::to_string(error.number()) + ": " + error.description() + "\n";
    }
}

class DumpIdentity : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(DumpIdentity, equalsTheBaselineByteForByte) {
    const std::string file = caseName({GetParam(), 0}) + ".out";
    const std::string output = runOutput(GetParam());
    const char* mode = std::getenv("TABULON_DUMP_BASELINE");
    if (mode && std::string(mode) == "write") {
        writeBytes(identityFolder("baseline") / file, output);
        GTEST_SKIP() << "baseline written";
    }
    writeBytes(identityFolder("current") / file, output);
    std::ifstream baseline(identityFolder("baseline") / file, std::ios::binary);
    if (!baseline)
        GTEST_SKIP() << "no baseline under " << identityFolder("baseline");
    const std::string expected((std::istreambuf_iterator<char>(baseline)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(output == expected) << "differs from the baseline; compare " << identityFolder("current") / file
                                    << " with " << identityFolder("baseline") / file;
}

INSTANTIATE_TEST_SUITE_P(EveryFixtureAndVariant, DumpIdentity, ::testing::ValuesIn(everyCase()), caseName);
