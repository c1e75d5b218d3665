// The platform layer: code pages, paths, file times, registry file, locales.
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Locales.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace lx::platform;
using lx::test::TempDir;
using lx::test::TempDirTest;

TEST(CodePages, SingleByteTablesAndSubstitution) {
    const TCodePage& cp = CodePage(1251);
    EXPECT_TRUE(cp.IsSingleByte());
    EXPECT_EQ(cp.Decode("\xC0\xFF\xA8"), u"\u0410\u044F\u0401"); // А я Ё
    EXPECT_EQ(cp.Encode(u"\u0410\u044F\u0401"), "\xC0\xFF\xA8");
    EXPECT_EQ(cp.Encode(u"\u4E2D\u00E9"), "??"); // not in the code page
    // The byte the code page leaves undefined survives a round trip.
    EXPECT_EQ(cp.Encode(cp.Decode("\x98")), "\x98");

    const TCodePage& latin = CodePage(1252);
    EXPECT_EQ(latin.Decode("\xE9\x80"), u"\u00E9\u20AC");
    EXPECT_THROW(CodePage(4242), std::runtime_error);
}

TEST(CodePages, MultiByteCodePageGoesThroughIcu) {
    const TCodePage& sjis = CodePage(932);
    EXPECT_FALSE(sjis.IsSingleByte());
    const std::u16string text = u"\u65E5\u672C abc";
    EXPECT_EQ(sjis.Decode(sjis.Encode(text)), text);
}

TEST(CodePages, AnsiCodePageFromTheEnvironment) {
    const char* old = std::getenv("LX_ANSI_CODEPAGE");
    const std::string saved = old ? old : "";
    unsetenv("LX_ANSI_CODEPAGE");
    EXPECT_EQ(AnsiCodePageNumber(), 1251);
    setenv("LX_ANSI_CODEPAGE", "1252", 1);
    EXPECT_EQ(AnsiCodePage().Number(), 1252);
    setenv("LX_ANSI_CODEPAGE", "nonsense", 1);
    EXPECT_EQ(AnsiCodePageNumber(), 1251);
    if (old)
        setenv("LX_ANSI_CODEPAGE", saved.c_str(), 1);
    else
        unsetenv("LX_ANSI_CODEPAGE");
}

TEST(CodePages, Utf8RoundTripsAndInvalidInput) {
    const std::string s = "a\xD0\x96\xE4\xB8\xAD\xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8ToUtf16(s), u"a\u0416\u4E2D\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s);
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"); // beyond U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98"), u"\uFFFD");                       // truncated at the end
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");                     // a lone surrogate
}

TEST(Paths, StoredPathRules) {
    EXPECT_TRUE(IsAbsolutePath("C:\\x"));
    EXPECT_TRUE(IsAbsolutePath("/x"));
    EXPECT_FALSE(IsAbsolutePath("\\lang\\"));
    EXPECT_FALSE(IsAbsolutePath("C:x"));
    EXPECT_TRUE(IsNetworkPath("\\\\srv\\share"));
    EXPECT_TRUE(IsNetworkPath("//srv/share"));
    EXPECT_FALSE(IsNetworkPath("/srv"));
    EXPECT_EQ(ToNativeSeparators("a\\b/c"), "a/b/c");
    EXPECT_EQ(JoinPath("/a/", "/b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

TEST_F(TempDirTest, AppDirAndStoredFolders) {
    EXPECT_EQ(AppDir(), Dir.Path() + "/");
    EXPECT_EQ(ResolveStoredFolder("\\lang\\", "/base"), Dir.Path() + "/lang/");
    EXPECT_EQ(ResolveStoredFolder("packs", "/base"), "/base/packs");
    EXPECT_EQ(ResolveStoredFolder("/abs/p", "/base"), "/abs/p");
    EXPECT_EQ(ResolveStoredFolder("\\\\srv\\share", "/base"), "//srv/share");
    unsetenv("LX_APP_DIR");
    EXPECT_NE(AppDir().find("/tests/platform/"), std::string::npos) << AppDir();
}

TEST_F(TempDirTest, FileTimesAndAtomicWrites) {
    const std::string f = Dir.File("x.txt");
    EXPECT_FALSE(GetFileTime(f).has_value());
    WriteFileAtomic(f, "one");
    EXPECT_EQ(ReadWholeFile(f), "one");
    const TFileTime t = 1700000000123456789LL;
    SetFileTime(f, t);
    EXPECT_EQ(GetFileTime(f).value(), t);
    EXPECT_THROW(SetFileTime(Dir.File("missing"), t), EFileError);
    EXPECT_THROW(ReadWholeFile(Dir.File("missing")), EFileError);
    EXPECT_THROW(ReadWholeFile(Dir.Path()), EFileError);
    EXPECT_THROW(WriteFileAtomic(Dir.File("no/dir/f"), "x"), EFileError);

    // Permissions are kept, and a symbolic link stays a link to the new content.
    chmod(f.c_str(), 0640);
    WriteFileAtomic(f, "two");
    struct stat st {};
    stat(f.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    const std::string link = Dir.File("link.txt");
    ASSERT_EQ(symlink(f.c_str(), link.c_str()), 0);
    WriteFileAtomic(link, "three");
    EXPECT_EQ(ReadWholeFile(f), "three");
    struct stat lst {};
    lstat(link.c_str(), &lst);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
}

TEST_F(TempDirTest, RegistryKeysAsSections) {
    TRegistry reg; // LX_REGISTRY points into the test folder
    EXPECT_EQ(reg.FileName(), Dir.File("registry.ini"));
    const auto HKLM = TRootKey::HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(reg.ReadString(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR", "exe").has_value());
    EXPECT_TRUE(reg.WriteString(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR", "exe", "/opt/g/GlotrixEd"));
    EXPECT_TRUE(reg.WriteString(HKLM, "SOFTWARE\\GLOTRIX\\SHARED", "lang", "RUS"));
    EXPECT_TRUE(reg.WriteString(HKLM, "SOFTWARE\\OTHER", "v", "1"));
    EXPECT_TRUE(reg.WriteString(TRootKey::HKEY_CURRENT_USER, "SOFTWARE\\GLOTRIX", "u", "2"));
    EXPECT_EQ(reg.ReadString(HKLM, "software/glotrix/editor", "EXE").value(), "/opt/g/GlotrixEd");
    EXPECT_TRUE(reg.KeyExists(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR"));
    EXPECT_EQ(reg.ValueNames(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR"), std::vector<std::string>{"exe"});

    EXPECT_TRUE(reg.DeleteKey(HKLM, "SOFTWARE\\GLOTRIX")); // with every key below it
    EXPECT_FALSE(reg.KeyExists(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR"));
    EXPECT_FALSE(reg.KeyExists(HKLM, "SOFTWARE\\GLOTRIX\\SHARED"));
    EXPECT_TRUE(reg.KeyExists(HKLM, "SOFTWARE\\OTHER"));
    EXPECT_EQ(reg.ReadString(TRootKey::HKEY_CURRENT_USER, "SOFTWARE\\GLOTRIX", "u").value(), "2");

    unsetenv("LX_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(TRegistry::DefaultFileName(), "/cfg/glotrix/registry.ini");
    unsetenv("XDG_CONFIG_HOME");
}

TEST(Locales, IdentifiersNamesAndAbbreviations) {
    EXPECT_EQ(LocaleNameOfLCID(1033), "en_US");
    EXPECT_EQ(EnglishDisplayNameOfLCID(1033), "English (United States)");
    EXPECT_EQ(EnglishDisplayNameOfLCID(1049), "Russian (Russia)");
    EXPECT_EQ(LocaleNameOfLCID(0), "");
    struct TCase {
        unsigned lcid;
        const char* abbreviation;
    } cases[] = {{1033, "ENU"}, {1049, "RUS"}, {1031, "DEU"}, {2057, "ENG"}, {1045, "PLK"}};
    for (const auto& c : cases)
        EXPECT_EQ(AbbreviationOfLCID(c.lcid), c.abbreviation) << c.lcid;

    const auto& all = AvailableLocales();
    ASSERT_GT(all.size(), 100u);
    bool russian = false;
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_FALSE(all[i].DisplayName.empty());
        EXPECT_EQ(all[i].Abbreviation.size(), 3u) << all[i].Name;
        if (i) {
            EXPECT_LT(all[i - 1].Lcid, all[i].Lcid);
        }
        if (all[i].Lcid == 1049)
            russian = all[i].DisplayName == "Russian (Russia)" && all[i].Abbreviation == "RUS";
    }
    EXPECT_TRUE(russian);
}
