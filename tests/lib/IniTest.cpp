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
        {"tabsAroundKeyAndValueAreTrimmed", "\tk\t=\tv w\t", "k", "v w"},
        {"tabsInsideAValueAreKept", "k=a\tb", "k", "a\tb"},
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

// The neighbours of the quoting rules: the other end of a quoted value, and lists read back from the
// exact text the writer makes.
TEST(Ini, quotingNeighbours) {
    struct Case {
        const char* line;
        const char* key;
        Variant value;
    } cases[] = {
        {"p=\"\"", "p", ""},
        {"p=\"\"\"\"", "p", "\""},
        {"p=x\"", "p", "x\""},
        {"p=  \"a b\"  ", "p", "a b"},
        {"\"k\"\"\"=1", "k\"", "1"},
        {"l[]= \"a\",\"b\" ", "l", StringList{"a", "b"}},
        {"l[]=\"a\"\",b\"", "l", StringList{"a\",b"}},
        {"l[]=a", "l", StringList{"a"}},
    };
    for (const auto& c : cases) {
        const auto s = section(ParseIniText(std::string("[S]\r\n") + c.line + "\r\n"), "S");
        EXPECT_EQ(s->get(c.key), c.value) << c.line;
    }
    for (const StringList& list : {StringList{"a,b", "c\"d"}, StringList{"", ""}, StringList{"\""}, StringList{" x "}})
        EXPECT_EQ(SplitQuotedList(JoinQuotedList(list)), list) << JoinQuotedList(list);
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

TEST(Ini, anyLineEndEndsALineAndTabsIndentLikeSpaces) {
    // Files edited by hand: a line appended with `echo` to a CR LF file, a lone CR, an editor that
    // indents with tabs, a file ending in CR CR LF. Each must read as the same three keys.
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"crLf", "[S]\r\n  k=1\r\n  j=2\r\n  l[]=\"a\",\"b\"\r\n"},
        {"lf", "[S]\n  k=1\n  j=2\n  l[]=\"a\",\"b\"\n"},
        {"loneCr", "[S]\r  k=1\r  j=2\r  l[]=\"a\",\"b\""},
        {"lfAppendedToCrLf", "[S]\r\n  k=1\r\n  l[]=\"a\",\"b\"\r\nj=2\n"},
        {"lfLineInsideCrLf", "[S]\r\n  k=1\n  j=2\r\n  l[]=\"a\",\"b\"\r\n"},
        {"crCrLfEnds", "[S]\r\r\n  k=1\r\r\n  j=2\r\r\n  l[]=\"a\",\"b\"\r\r\n"},
        {"tabIndented", "\t[S]\t\r\n\tk=1\r\n\t\tj\t=\t2\t\r\n\tl[]=\t\"a\",\"b\"\t\r\n"},
        {"tabsAndMixedEnds", "[S]\n\tk=1\r\n\tj=2\r\tl[]=\"a\",\"b\"\r\r\n"},
    };
    const struct {
        const char* name;
        Bytes mark;
        bool utf16;
        bool bigEndian;
    } encodings[] = {
        {"noMark", {}, false, false},
        {"utf8Mark", {0xEF, 0xBB, 0xBF}, false, false},
        {"utf16LeMark", {0xFF, 0xFE}, true, false},
        {"utf16BeMark", {0xFE, 0xFF}, true, true},
    };
    TempFolder folder;
    const std::string path = folder.path("edited.ini");
    for (const auto& c : cases) {
        for (const auto& encoding : encodings) {
            Bytes bytes = encoding.mark;
            for (const char ch : std::string(c.text)) {
                const auto unit = static_cast<std::uint8_t>(ch);
                if (!encoding.utf16)
                    bytes.push_back(unit);
                else if (encoding.bigEndian)
                    bytes.insert(bytes.end(), {0, unit});
                else
                    bytes.insert(bytes.end(), {unit, 0});
            }
            WriteBinaryFile(path, bytes);
            const auto top = ReadIniFile(path);
            const std::string what = std::string(c.name) + " / " + encoding.name;
            ASSERT_EQ(top->keys(), std::vector<std::string>{"S"}) << what;
            const auto s = section(top, "S");
            EXPECT_EQ(s->get("k"), Variant("1")) << what;
            EXPECT_EQ(s->get("j"), Variant("2")) << what;
            EXPECT_EQ(s->get("l"), Variant(StringList{"a", "b"})) << what;
            EXPECT_EQ(s->count(), 3u) << what;
        }
    }
}

TEST(Ini, aValueHoldingALineBreakSplitsIntoTwoLines) {
    // A value holding CR LF is written as it is, and its second line is read on its own.
    auto settings = Dictionary::create();
    auto s = Dictionary::create();
    settings->set("S", s);
    s->set("k", "one\r\nj=two");
    s->set("m", "three\rn=four");
    const auto top = ParseIniText(FormatIniText(*settings));
    EXPECT_EQ(section(top, "S")->get("k"), Variant("one"));
    EXPECT_EQ(section(top, "S")->get("j"), Variant("two"));
    EXPECT_EQ(section(top, "S")->get("m"), Variant("three"));
    EXPECT_EQ(section(top, "S")->get("n"), Variant("four"));
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
