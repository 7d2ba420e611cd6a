#include "lib/Ini.h"
#include "lib/Error.h"
#include "lib/TextFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

DictionaryPtr section(const DictionaryPtr& top, const std::string& name) {
    DictionaryPtr found = top->dictionaryAt(name);
    EXPECT_TRUE(found) << "no section " << name;
    return found ? found : Dictionary::create();
}

} // namespace

TEST(Ini, writesTheDocumentedText) {
    auto settings = Dictionary::create();
    auto wizard = Dictionary::create();
    settings->set("Verdix Tessoral", wizard);
    wizard->set("sourcefilename", "C:\\data\\shop.mdb");
    wizard->set("sourcetables", StringList{"Orders", "Orders\\OrderDate"});
    wizard->set("dropdatabase", 0);
    EXPECT_EQ(FormatIniText(*settings), "[Verdix Tessoral]\r\n"
                                        "  sourcefilename=C:\\data\\shop.mdb\r\n"
                                        "  sourcetables[]=\"Orders\",\"Orders\\OrderDate\"\r\n"
                                        "  dropdatabase=0\r\n");
}

TEST(Ini, writesNumbersInPlainDecimalAndSectionsBackToBack) {
    auto settings = Dictionary::create();
    auto first = Dictionary::create();
    auto second = Dictionary::create();
    settings->set("A", first);
    settings->set("B", second);
    first->set("big", 1e20);
    first->set("small", 1e-7);
    first->set("single", 0.1f);
    first->set("flag", 1);
    first->set("none", StringList{});
    second->set("quoted", StringList{"say \"hi\"", ""});
    EXPECT_EQ(FormatIniText(*settings), "[A]\r\n  big=100000000000000000000\r\n  small=0.0000001\r\n"
                                        "  single=0.1\r\n  flag=1\r\n  none[]=\r\n"
                                        "[B]\r\n  quoted[]=\"say \"\"hi\"\"\",\"\"\r\n");
}

TEST(Ini, writingRejectsWhatHasNoTextForm) {
    Dictionary topScalar;
    topScalar.set("loose", "x");
    EXPECT_THROW(FormatIniText(topScalar), Error);

    Dictionary nested;
    auto inner = Dictionary::create();
    inner->set("child", Dictionary::create());
    nested.set("S", inner);
    try {
        FormatIniText(nested);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::TypeMismatch);
        EXPECT_NE(e.description().find("'child'"), std::string::npos);
    }
}

TEST(Ini, readingLines) {
    struct Case {
        const char* name;
        const char* line;
        const char* key;
        Variant value;
    } cases[] = {
        {"trimmedValue", "  key=  value  ", "key", "value"},
        {"mixedCaseKeySpacesAroundEquals", "TablePrefix = abc", "tableprefix", "abc"},
        {"quotedValueLosesQuotes", "p=\"x\"", "p", "x"},
        {"quotedValueKeepsInnerSpaces", "p=\" x \"", "p", " x "},
        {"doubledQuotesInQuotedValue", "p=\"a\"\"b\"", "p", "a\"b"},
        {"unquotedValueKeepsQuotes", "p=a\"b\"", "p", "a\"b\""},
        {"firstEqualsEndsTheKey", "a=b=c", "a", "b=c"},
        {"semicolonIsNoComment", ";note=1", ";note", "1"},
        {"quotedKey", "\"My Key\"=1", "my key", "1"},
        {"doubledQuotesInQuotedKey", "\"A\"\"B\"=1", "a\"b", "1"},
        {"listKey", "L[]=\"a\",\"b\"", "l", StringList{"a", "b"}},
        {"emptyList", "l[]=", "l", StringList{""}},
        {"tabsAreKept", "\tk=\tv", "\tk", "\tv"},
        {"emptyKey", "=v", "", "v"},
        {"loneQuoteValue", "k=\"", "k", ""},
        {"loneQuoteKey", "\"=v", "", "v"},
    };
    for (const auto& c : cases) {
        const auto top = ParseIniText(std::string("[S]\r\n") + c.line + "\r\n");
        const auto s = section(top, "S");
        EXPECT_EQ(s->keys(), std::vector<std::string>{c.key}) << c.name;
        EXPECT_EQ(s->get(c.key), c.value) << c.name;
    }
}

TEST(Ini, readingStructure) {
    const auto top = ParseIniText("before=1\r\n"
                                  "note\r\n"
                                  "\r\n"
                                  "[First]  \r\n"
                                  "  b=1\r\n"
                                  "  a=2\r\n"
                                  "  B=3\r\n"
                                  "[ Second x\r\n"
                                  "  c=4\r\n");
    EXPECT_EQ(top->keys(), (std::vector<std::string>{"before", "First", " Second "}));
    EXPECT_EQ(top->get("before"), Variant("1"));
    EXPECT_EQ(section(top, "First")->keys(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(section(top, "First")->get("b"), Variant("3"));
    EXPECT_EQ(section(top, " Second ")->get("c"), Variant("4"));
}

TEST(Ini, repeatedSectionReplacesTheEarlierOne) {
    const auto top = ParseIniText("[A]\r\nx=1\r\n[B]\r\n[A]\r\ny=2\r\n");
    EXPECT_EQ(top->keys(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(section(top, "A")->keys(), std::vector<std::string>{"y"});
}

TEST(Ini, malformedLinesReadAsEmptyInsteadOfFailing) {
    const auto top = ParseIniText("[\r\n\"=\"\r\nk=\"\r\n");
    const auto s = section(top, "");
    EXPECT_EQ(s->get(""), Variant(""));
    EXPECT_EQ(s->get("k"), Variant(""));
}

TEST(Ini, lineEnds) {
    // CR LF ends lines; a bare CR or LF inside a CR LF file is part of the line.
    auto top = ParseIniText("[S]\r\nk=a\rb\r\nj=c\nd\r\n");
    EXPECT_EQ(section(top, "S")->get("k"), Variant("a\rb"));
    EXPECT_EQ(section(top, "S")->get("j"), Variant("c\nd"));
    // A file edited with Unix line ends has no CR LF at all: its LFs end the lines.
    top = ParseIniText("[S]\n  k=1\n  j=2\n");
    EXPECT_EQ(section(top, "S")->get("k"), Variant("1"));
    EXPECT_EQ(section(top, "S")->get("j"), Variant("2"));
    // A value holding CR LF is written as it is, and its second line is read on its own.
    auto settings = Dictionary::create();
    auto s = Dictionary::create();
    settings->set("S", s);
    s->set("k", "one\r\nj=two");
    top = ParseIniText(FormatIniText(*settings));
    EXPECT_EQ(section(top, "S")->get("k"), Variant("one"));
    EXPECT_EQ(section(top, "S")->get("j"), Variant("two"));
}

TEST(Ini, largeFilesHaveNoSixteenBitLimits) {
    std::string text = "[S]\r\n";
    for (int i = 0; i < 40000; ++i)
        text += "  k" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    const std::string longKey(40000, 'x');
    text += longKey + "=far\r\n";
    StringList many(40000, "item");
    text += "  many[]=" + JoinQuotedList(many) + "\r\n";
    const auto s = section(ParseIniText(text), "S");
    EXPECT_EQ(s->count(), 40002u);
    EXPECT_EQ(s->get("k39999"), Variant("39999"));
    EXPECT_EQ(s->get(longKey), Variant("far"));
    EXPECT_EQ(s->get("many"), Variant(many));
}

TEST(Ini, quotedLists) {
    struct Case {
        const char* text;
        StringList items;
    } cases[] = {
        {"\"a\",b", {"a", "b"}},
        {"a\"b,c", {"a\"b", "c"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"a\", \"b\"", {"a", " \"b\""}},
        {",a", {",a"}},
        {"a,", {"a", ""}},
        {"\"abc", {"abc"}},
        {"", {""}},
        {"\"a\"x", {"a", ""}},
        {"\"a\"xb", {"a", "b"}},
        {"\"\",\"\"", {"", ""}},
        {"a,,b", {"a", ",b"}},
        {"\"a,b\",\"c=d\"", {"a,b", "c=d"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitQuotedList(c.text), c.items) << c.text;

    EXPECT_EQ(JoinQuotedList({}), "");
    EXPECT_EQ(JoinQuotedList({""}), "\"\"");
    EXPECT_EQ(JoinQuotedList({"a\"b", "c"}), "\"a\"\"b\",\"c\"");
    EXPECT_EQ(JoinQuotedList({"x", "y"}, ';', '\''), "'x';'y'");
    EXPECT_EQ(SplitQuotedList("'x''s';y", ';', '\''), (StringList{"x's", "y"}));
}

TEST(Ini, filesRoundTripAndDetectTheirEncoding) {
    TempFolder folder;
    const std::string path = folder.path("wizard.ini");
    auto settings = Dictionary::create();
    auto s = Dictionary::create();
    settings->set("Verdix Tessoral", s);
    s->set("sourcefilename", "/data/Bücher.mdb");
    s->set("dropdatabase", 0);
    s->set("sourcetables", StringList{});
    WriteIniFile(*settings, path);
    auto top = ReadIniFile(path);
    EXPECT_EQ(section(top, "Verdix Tessoral")->get("sourcefilename"), Variant("/data/Bücher.mdb"));
    EXPECT_EQ(section(top, "Verdix Tessoral")->get("dropdatabase"), Variant("0"));
    EXPECT_EQ(section(top, "Verdix Tessoral")->get("sourcetables"), Variant(StringList{""}));

    // The same settings saved by a Windows editor as UTF-16 with a byte-order mark.
    Bytes utf16 = {0xFF, 0xFE};
    for (char c : std::string("[S]\r\n  k=v\r\n"))
        utf16.insert(utf16.end(), {static_cast<std::uint8_t>(c), 0});
    WriteBinaryFile(path, utf16);
    EXPECT_EQ(section(ReadIniFile(path), "S")->get("k"), Variant("v"));

    WriteBinaryFile(path, Bytes());
    EXPECT_TRUE(ReadIniFile(path)->empty());

    try {
        ReadIniFile(folder.path("missing.ini"));
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::FileNotFound);
    }
}
