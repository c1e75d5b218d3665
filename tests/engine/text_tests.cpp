// Search, replace, split and join, arrays, pack and language names.
#include "engine/uArrayFuncions.h"
#include "engine/uEngine.h"
#include "engine/uFindStrUtilsPro.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {
std::u16string U(const std::string& s) {
    return platform::Utf8ToUtf16(s);
}
std::string Cp1251(const std::string& utf8) {
    return platform::CodePage(1251).Encode(platform::Utf8ToUtf16(utf8));
}
} // namespace

TEST(Text, FindWithDirections) {
    struct TCase {
        const char* what;
        const char* where;
        int from, way, expected;
    } cases[] = {
        {"ab", "xabyab", 3, fForward, 5}, {"ab", "xabyab", 6, fForward, -1},
        {"ab", "xabyab", 0, fForward, 2}, {"ab", "xabyab", -5, fForward, 2},
        {"ab", "", 1, fForward, -1},      {"abc", "ab", 1, fForward, -1},
        {"ab", "xabyab", 4, fBack, 2},    {"ab", "xabyab", 99, fBack, 5},
        {"b", "abc", 2, fForward, 2},     {"", "abc", 1, fForward, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Find(c.what, c.where, c.from, c.way), c.expected) << c.what << " in " << c.where;
        EXPECT_EQ(Find(U(c.what), U(c.where), c.from, c.way), c.expected) << "wide";
    }
    EXPECT_EQ(Find(std::string("AB"), "xabyab", 1, fForward), -1); // case-sensitive
}

TEST(Text, FindNoCaseFoldsLatinAndCyrillic) {
    // "ПРИВЕТ" in "скажи привет", in the 8-bit (Windows Cyrillic) and the wide version.
    EXPECT_EQ(FindNoCase(Cp1251("ПРИВЕТ"), Cp1251("скажи привет"), 1, fForward), 7);
    EXPECT_EQ(FindNoCase(U("ПРИВЕТ"), U("скажи привет"), 1, fForward), 7);
    EXPECT_EQ(FindNoCase(std::string("HeLLo"), "say hello", 1, fForward), 5);
    // ё does not fold to Ё; Latin-1 é folds to É in the wide version.
    EXPECT_EQ(FindNoCase(U("Ё"), U("ё"), 1, fForward), -1);
    EXPECT_EQ(FindNoCase(U("É"), U("café"), 1, fForward), 4);
    EXPECT_EQ(FindNoCase(U("\u00D7"), U("\u00F7"), 1, fForward), 1); // 247 folds to 215
    EXPECT_EQ(FindNoCase(std::string("x"), "X", 1, fForward), 1);
}

TEST(Text, FindChar) {
    EXPECT_EQ(FindChar('.', "a.b.c", 5, fBack), 4);
    EXPECT_EQ(FindChar('.', "a.b.c", 3, fBack), 2);
    EXPECT_EQ(FindChar('.', "a.b.c", 1, fBack), -1);
    EXPECT_EQ(FindChar('.', "a.b.c", 99, fBack), 4);
    EXPECT_EQ(FindChar('.', "a.b.c", 3, fForward), 4);
    EXPECT_EQ(FindChar('.', "a.b.c", 6, fForward), -1);
    EXPECT_EQ(FindChar('.', "a.b.c", -1, fForward), 2);
}

TEST(Text, InvalidDirectionRaisesItsMessage) {
    for (int way : {0, 3, -1}) {
        try {
            Find(std::string("a"), "a", 1, way);
            ADD_FAILURE() << way;
        } catch (const EFindWay& e) {
            EXPECT_STREQ(e.what(), "Way must be in [1..2], (const : fForward=1; fBack=2;)");
        }
        EXPECT_THROW(FindChar('a', "a", 1, way), EFindWay);
        EXPECT_THROW(FindNoCase(U("a"), U("a"), 1, way), EFindWay);
    }
}

TEST(Text, ReplaceInTextAndBetween) {
    EXPECT_EQ(ReplaceInText("_", ".", "a_b_c", true), "a.b.c");
    EXPECT_EQ(ReplaceInText("_", ".", "a_b_c", false), "a.b_c");
    EXPECT_EQ(ReplaceInText("a", "aa", "aXa", true), "aaXaa"); // never rescanned
    EXPECT_EQ(ReplaceInText("aa", "b", "aaa", true), "ba");    // no overlaps
    EXPECT_EQ(ReplaceInText("", "x", "abc", true), "abc");
    EXPECT_EQ(ReplaceInText(u"_", u".", u"a_b", true), u"a.b");

    EXPECT_EQ(ReplaceBetween("(", ")", "", "Chinese (PRC) (Simplified)", true), "Chinese  ");
    EXPECT_EQ(ReplaceBetween("(", ")", "", "a(1)b(2)c", false), "ab(2)c");
    EXPECT_EQ(ReplaceBetween("(", ")", "-", "a(1)b(2", true), "a-b(2"); // unbalanced: kept
    EXPECT_EQ(ReplaceBetween("[[", "]]", "X", "a[[b]]c", true), "aXc");
}

TEST(Text, ExplodeAndImplode) {
    EXPECT_EQ(explode(",a,,b,", ",", false), (TStringArray{"", "a", "", "b"}));
    EXPECT_EQ(explode(",a,,b,", ",", true), (TStringArray{"a", "b"}));
    EXPECT_EQ(explode("a,b,", ",", false), (TStringArray{"a", "b"}));
    EXPECT_EQ(explode("", ",", false), TStringArray{});
    EXPECT_EQ(explode("abc", ",", false), TStringArray{"abc"});
    EXPECT_EQ(explode("a::b", "::", false), (TStringArray{"a", "b"}));
    EXPECT_EQ(implode({"a", "b", "c"}, ", "), "a, b, c");
    EXPECT_EQ(implode({}, ","), "");
    EXPECT_EQ(implode(explode("x,,y", ",", false), ","), "x,,y");
}

TEST(Text, ArrayFunctions) {
    TStringArray a{"One", "two"};
    EXPECT_EQ(ArraySearch("ONE", a), 0);
    EXPECT_EQ(ArraySearch("three", a), -1);
    EXPECT_TRUE(InArray("TWO", a));
    EXPECT_EQ(ArrayAddUnique("one", a, false), -1);
    EXPECT_EQ(a.size(), 2u);
    EXPECT_EQ(ArrayAddUnique("one", a, true), 2);
    EXPECT_EQ(ArrayInsert("first", 0, a), 0);
    EXPECT_EQ(ArrayInsert("end", -1, a), 4);
    EXPECT_EQ(ArrayInsert("past", 99, a), 5);
    EXPECT_EQ(a, (TStringArray{"first", "One", "two", "one", "end", "past"}));
    ArrayDelete(1, a);
    ArrayDelete(42, a);
    EXPECT_EQ(a, (TStringArray{"first", "two", "one", "end", "past"}));
}

TEST(Text, PackNamesLanguageNamesAndRelativePaths) {
    EXPECT_EQ(ExtractFilePackName_("C:\\packs\\RUS.LNG"), "RUS");
    EXPECT_EQ(ExtractFilePackName_("D:/lang/EN.lng"), "EN");
    EXPECT_EQ(ExtractFilePackName_("RUS.lng"), "RUS.lng"); // no separator: unchanged
    EXPECT_EQ(ExtractFilePackName_("/a/x"), "");

    EXPECT_EQ(LanguageNameOfLCID(1033), "English");
    EXPECT_EQ(LanguageNameOfLCID(1049), "Russian");
    EXPECT_EQ(LanguageNameOfLCID(2052), "Chinese");
    EXPECT_EQ(LanguageNameOfLCID(0), "0");
    EXPECT_EQ(LanguageNameOfLCID(0xFFF0), "65520");

    for (const char* p : {"out", "..\\bin", "\\lang\\", ""})
        EXPECT_TRUE(IsRelativePath(p)) << p;
    for (const char* p : {"C:\\out", "c:/out", "\\\\server\\share", "//server/share", "/usr/bin"})
        EXPECT_FALSE(IsRelativePath(p)) << p;
}
