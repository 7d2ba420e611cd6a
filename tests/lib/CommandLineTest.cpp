#include "lib/CommandLine.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace tabulon;

namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

Options optionsOf(const DictionaryPtr& parsed) {
    Options out;
    for (const auto& [key, value] : parsed->entries())
        out.emplace_back(key, value.text());
    return out;
}

} // namespace

TEST(CommandLine, parsesAsDocumented) {
    struct Case {
        const char* line;
        Options expected;
    } cases[] = {
        {"", {}},
        {"    ", {}},
        {"/autorun settings=\"C:\\my files\\a.ini\" -hide",
         {{"autorun", ""}, {"settings", "C:\\my files\\a.ini"}, {"hide", ""}}},
        {"/AutoRun --x -", {{"autorun", ""}, {"-x", ""}, {"", ""}}},
        {"a=b=c", {{"a", "b=c"}}},
        {"a=1,b=2 c", {{"a", "1"}, {"b", "2"}, {"c", ""}}},
        {"a=\"x\"\"y\"", {{"a", "x\"y"}}},
        {"\"my \"\"key\"\"\"=v", {{"my \"key\"", "v"}}},
        {"a=\"unclosed value, with comma", {{"a", "unclosed value, with comma"}}},
        {"a=\"  padded  \"", {{"a", "padded"}}},
        {"a=1, b=2", {{"a", "1"}, {"b", "2"}}},
        {"a=1 a=2", {{"a", "2"}}},
        {"a=\"x\"y", {{"a", "x"}, {"y", ""}}},
        {"a\tb=1", {{"a\tb", "1"}}},
        {",x", {{"", ""}, {"x", ""}}},
        {"=v", {{"", "v"}}},
        {"a = b", {{"a", ""}, {"", ""}, {"b", ""}}},
        {"Settings=MixedCase.INI", {{"settings", "MixedCase.INI"}}},
        {"a=", {{"a", ""}}},
        {"a,,b", {{"a", ""}, {"", ""}, {"b", ""}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(optionsOf(ParseCommandLine(c.line, false)), c.expected) << c.line;
}

TEST(CommandLine, preserveCaseKeepsKeysAsWritten) {
    EXPECT_EQ(optionsOf(ParseCommandLine("/AutoRun Key=Value", true)), (Options{{"AutoRun", ""}, {"Key", "Value"}}));
}

TEST(CommandLine, joinedArgumentsParseBackToTheSameOptions) {
    const char* argv[] = {"tabulon",
                          "-autorun",
                          "-settings=/home/me/my settings/a,b.ini",
                          "-hide",
                          "note=say \"hi\"",
                          "odd key=1",
                          "-errorcmd=x=y",
                          "",
                          "empty="};
    const std::string line = joinCommandLine(static_cast<int>(std::size(argv)), argv);
    EXPECT_EQ(optionsOf(ParseCommandLine(line, false)), (Options{{"autorun", ""},
                                                                 {"settings", "/home/me/my settings/a,b.ini"},
                                                                 {"hide", ""},
                                                                 {"note", "say \"hi\""},
                                                                 {"odd key", "1"},
                                                                 {"errorcmd", "x=y"},
                                                                 {"", ""},
                                                                 {"empty", ""}}))
        << line;
    EXPECT_EQ(joinCommandLine(3, argv), "-autorun -settings=\"/home/me/my settings/a,b.ini\"");
    EXPECT_EQ(joinCommandLine(1, argv), "");
}

TEST(CommandLine, separatorNeighbours) {
    struct Case {
        const char* line;
        Options expected;
    } cases[] = {
        {"a=1 ,b", {{"a", "1"}, {"", ""}, {"b", ""}}},
        {"a=1,", {{"a", "1"}}},
        {"-/x", {{"/x", ""}}},
        {"/-x", {{"-x", ""}}},
        {"a=\"\"", {{"a", ""}}},
        {"a=\"x,y z\",b", {{"a", "x,y z"}, {"b", ""}}},
        {"a=x\ty", {{"a", "x\ty"}}},
        {"  /HIDE  ", {{"hide", ""}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(optionsOf(ParseCommandLine(c.line, false)), c.expected) << c.line;
}
