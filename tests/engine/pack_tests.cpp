// The pack tree and its file: exact bytes written, tolerant reading, encodings,
// the SYSTEM items, and safe writing.
#include "engine/uEngine.h"
#include "platform/CodePage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace lx;
using lx::test::TempDir;
using lx::test::TempDirTest;

namespace {

TXMLTreeItem* Var(TXMLTreeItem& t, const std::string& path, const std::u16string& value) {
    auto* n = static_cast<TXMLTreeItem*>(t.AddGlobalItem(path));
    n->SetText(value);
    return n;
}

std::u16string U(const std::string& utf8) {
    return platform::Utf8ToUtf16(utf8);
}

// One line per item in global-index order: "<level> <path> = <value>" for a
// leaf, "<level> <path>/" for a folder; values as UTF-8 with CR and LF shown.
std::string Dump(const TXMLTreeItem& t) {
    std::string out;
    t.ForEach([&out](TTree* n) {
        auto* item = static_cast<TXMLTreeItem*>(n);
        out += std::to_string(item->GetLevel()) + " " + item->GetFullName();
        if (item->GetCount() > 0) {
            out += "/\n";
            return;
        }
        out += " = ";
        for (char c : platform::Utf16ToUtf8(item->GetText()))
            out += c == '\r'   ? std::string("\\r")
                   : c == '\n' ? std::string("\\n")
                               : std::string(1, c);
        out += "\n";
    });
    return out;
}

std::unique_ptr<TXMLTreeItem> Read(std::string_view bytes, TPackEncoding e = TPackEncoding::ANSI) {
    auto t = std::make_unique<TXMLTreeItem>();
    t->SetKeepSystemItems(false);
    t->SetEncoding(e);
    t->Clear();
    t->OpenFromBytes(bytes, "");
    return t;
}

} // namespace

TEST(PackWrite, ExactBytesOfTheGrammar) {
    TXMLTreeItem t;
    Var(t, "A", u"x");
    Var(t, "B_C", u"y");
    EXPECT_EQ(t.SaveToBytes(), "<A>x</A>\r<B>\r  <C>y</C>\r</B>\r");

    // Deeper levels, an empty leaf, and a folder that also has a value (never written).
    TXMLTreeItem d;
    Var(d, "f_g_h", u"1");
    Var(d, "f_e", u"");
    static_cast<TXMLTreeItem*>(d.GetItem_F("f"))->SetText(u"ignored");
    EXPECT_EQ(d.SaveToBytes(), "<f>\r  <g>\r    <h>1</h>\r  </g>\r  <e></e>\r</f>\r");
    EXPECT_EQ(TXMLTreeItem().SaveToBytes(), "");
}

TEST(PackWrite, TheUtf8ExamplePackByteForByte) {
    TXMLTreeItem t;
    t.SetEncoding(TPackEncoding::UTF8);
    t.SetLCID(1049);
    Var(t, "fMain_Caption", U("Главное окно"));
    Var(t, "fMain_btnOK_Caption", u"OK");
    Var(t, "fMain_lblInfo_Caption", u"a < b");
    Var(t, "resourcestring_1", U("Имя файла"));
    const std::string expected = "<SYSTEM>\r"
                                 "  <ENCODING>UTF8</ENCODING>\r"
                                 "  <LCID>$0419</LCID>\r"
                                 "</SYSTEM>\r"
                                 "<fMain>\r"
                                 "  <Caption>Главное окно</Caption>\r"
                                 "  <btnOK>\r"
                                 "    <Caption>OK</Caption>\r"
                                 "  </btnOK>\r"
                                 "  <lblInfo>\r"
                                 "    <Caption>a &lt; b</Caption>\r"
                                 "  </lblInfo>\r"
                                 "</fMain>\r"
                                 "<resourcestring>\r"
                                 "  <1>Имя файла</1>\r"
                                 "</resourcestring>\r";
    EXPECT_EQ(t.SaveToBytes(), expected);

    TXMLTreeItem back;
    back.OpenFromBytes(expected, "");
    EXPECT_EQ(back.GetEncoding(), TPackEncoding::UTF8);
    EXPECT_EQ(back.GetLCID(), 1049u);
    EXPECT_EQ(back.GetItemValue_("fMain_Caption"), U("Главное окно"));
    EXPECT_EQ(back.SaveToBytes(), expected);
}

// Each value in each encoding: the bytes written, and the value read back.
TEST(PackValues, EncodeAndDecodeInEveryEncoding) {
    struct TCase {
        TPackEncoding enc;
        std::u16string value;
        std::string bytes;
    } cases[] = {
        {TPackEncoding::ANSI, u"a<b>", "a&lt;b&gt;"},
        {TPackEncoding::UTF8, u"a<b>", "a&lt;b&gt;"},
        {TPackEncoding::HTML, u"a<b>", "a&lt;b&gt;"},
        {TPackEncoding::ANSI, U("Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {TPackEncoding::UTF8, U("Привет"), "Привет"},
        {TPackEncoding::HTML, u"\u0416", "&#1046;"},
        {TPackEncoding::HTML, u"\u4E2D", "&#20013;"},
        {TPackEncoding::HTML, u"x\u0416y", "x&#1046;y"},
        {TPackEncoding::ANSI, u"  lead\r\nline", "  lead\r\nline"},
        {TPackEncoding::UTF8, u"a & b", "a & b"}, // '&' itself is not escaped
        {TPackEncoding::UTF8, u"\U0001F600", "\xF0\x9F\x98\x80"},
        {TPackEncoding::HTML, u"\U0001F600", "&#55357;&#56832;"},
        // In HTML a literal "&#" is written with its '&' as a reference.
        {TPackEncoding::HTML, u"&#65; & #", "&#38;#65; & #"},
        {TPackEncoding::UTF8, u"&#65;", "&#65;"},
    };
    for (const auto& c : cases) {
        TXMLTreeItem t;
        t.SetEncoding(c.enc);
        t.Clear();
        Var(t, "v", c.value);
        const std::string file = t.SaveToBytes();
        EXPECT_EQ(file, "<v>" + c.bytes + "</v>\r") << EncodingName(c.enc);
        auto back = Read(file, c.enc);
        EXPECT_EQ(back->GetItemValue_("v"), c.value) << EncodingName(c.enc) << " " << c.bytes;
    }
}

TEST(PackValues, ReaderDecodingRules) {
    struct TCase {
        TPackEncoding enc;
        std::string bytes;
        std::u16string value;
    } cases[] = {
        {TPackEncoding::ANSI, "&lt;", u"<"}, // the text "&lt;" always comes back as '<'
        {TPackEncoding::UTF8, "&lt;b&gt;&amp;", u"<b>&amp;"},
        {TPackEncoding::HTML, "&#65;", u"A"},   // at the very end: five bytes remain
        {TPackEncoding::HTML, "&#9;", u"&#9;"}, // only four remain: kept as text
        {TPackEncoding::HTML, "x&#9;", u"x&#9;"},
        {TPackEncoding::HTML, "&#9;x", u"\tx"},
        {TPackEncoding::HTML, "&#12345678;", u"&#12345678;"}, // ';' too far
        {TPackEncoding::HTML, "&#abc;x", u"&#abc;x"},         // not a number: literal
        {TPackEncoding::HTML, "&#38;lt;", u"<"},              // a reference to '&', then "&lt;"
        {TPackEncoding::HTML, "&#65601;", u"A"},              // low 16 bits
        {TPackEncoding::HTML, "\xC0&#1046;", u"\u0410\u0416"},
        {TPackEncoding::ANSI, "\xE0\xE1", u"\u0430\u0431"},
        // Invalid UTF-8: one U+FFFD per maximal invalid subsequence.
        {TPackEncoding::UTF8,
         "a\xFF"
         "b",
         u"a\uFFFDb"},
        {TPackEncoding::UTF8, "\xE2\x82", u"\uFFFD"}, // truncated sequence
        {TPackEncoding::UTF8, "\xE2\x82x", u"\uFFFDx"},
        {TPackEncoding::UTF8, "\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong form
        {TPackEncoding::UTF8, "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
        {TPackEncoding::UTF8, "\x80\x80", u"\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeValue(c.bytes, c.enc), c.value) << EncodingName(c.enc) << " " << c.bytes;
        auto t = Read("<v>" + c.bytes + "</v>\r", c.enc);
        EXPECT_EQ(t->GetItemValue_("v"), c.value) << c.bytes;
    }
}

TEST(PackValues, AnsiBytesSurviveAReadAndWrite) {
    // Every byte but the three the format uses, including 0x98, which the
    // Cyrillic code page leaves undefined.
    std::string value;
    for (int b = 1; b < 256; ++b)
        if (b != '<' && b != '>' && b != '&')
            value += static_cast<char>(b);
    const std::string file = "<v>" + value + "</v>\r";
    auto t = Read(file, TPackEncoding::ANSI);
    EXPECT_EQ(t->SaveToBytes(), file);
}

TEST(PackRead, TolerantStructure) {
    struct TCase {
        std::string file;
        std::string dump;
    } cases[] = {
        {"<a><b>1</b><b>2</b></a>", "1 a/\n2 a_b = 2\n"},
        {"<x_y>v</x_y>\r", "1 x/\n2 x_y = v\n"},
        // Whitespace and text between tags of an element with children are ignored.
        {"junk<a>\r\n  text <b>1</b>\n\n</a>\r\ntrailing", "1 a/\n2 a_b = 1\n"},
        // The end tag's name is not compared with the start tag's.
        {"<a>1</zzz><b>2</b>", "1 a = 1\n1 b = 2\n"},
        // Everything up to the next '<' is the value, line breaks included.
        {"<a> x \r\n y\n</a>", "1 a =  x \\r\\n y\\n\n"},
        // A stray end tag ends the file.
        {"<a>1</a></b><c>2</c>", "1 a = 1\n"},
        {"<a></a>", "1 a = \n"},
        // Spaces belong to the name.
        {"< a b >1</ a b >", "1  a b  = 1\n"},
        // A stray end tag ends the file even at its start.
        {"</a>x</b>", ""},
        // Same-named siblings are resolved before compound names are expanded,
        // so an item moved into a folder is not deleted with a duplicate of it.
        {"<a></a>\r<a></a>\r<a_n>x</a_n>\r<a_n>y</a_n>\r", "1 a/\n2 a_n = y\n"},
        // A part starting with '/' is never split off (it would be written as an end tag).
        {"<a_/b>x</a_/b>\r", "1 a_/b = x\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Dump(*Read(c.file)), c.dump) << c.file;
}

TEST(PackRead, MalformedFilesRaiseTheParseErrorWithAnOffset) {
    struct TCase {
        std::string file;
        std::size_t offset;
    } cases[] = {
        {"<a>text", 0},         // no '<' after the start tag
        {"<a", 0},              // no '>' after the start tag
        {"<", 0},               // ends right after '<'
        {"<a>1<", 0},           // fewer than two bytes after the next '<'
        {"<a><b>1</b>", 11},    // ends while an element with children is open
        {"<a><b>1</b></a", 11}, // the end tag lacks its '>'
        {"<a>1</a", 4},
        {"just text", 9},
        {"\r\n", 2},
        {"<a</b>\r<c>y</c>\r", 0}, // a '<' inside a start tag
        {"<f>\r  <a<b>1</b>\r</f>", 6},
    };
    for (const auto& c : cases) {
        TXMLTreeItem t;
        t.SetKeepSystemItems(false);
        try {
            t.OpenFromBytes(c.file, "");
            ADD_FAILURE() << "accepted " << c.file;
        } catch (const EXMLParseError& e) {
            EXPECT_STREQ(e.what(), "XML parse error!");
            EXPECT_EQ(e.Offset(), c.offset) << c.file;
        }
    }
}

TEST(PackRead, AfterAParseErrorTheTreeKeepsWhatWasRead) {
    // Without the SYSTEM items the tree keeps the items read before the error.
    TXMLTreeItem t;
    t.SetKeepSystemItems(false);
    EXPECT_THROW(t.OpenFromBytes("<a>1</a><b><c>2</c>", "x.lng"), EXMLParseError);
    EXPECT_EQ(t.GetItemValue_("a"), u"1");
    EXPECT_EQ(t.GetItemValue_("b_c"), u"2");
    EXPECT_EQ(t.GetFileName(), ""); // the read did not complete

    // With them, the encoding probe fails first and the tree is untouched.
    TXMLTreeItem k;
    Var(k, "old", u"kept");
    EXPECT_THROW(k.OpenFromBytes("<a>1</a><b><c>2</c>", "x.lng"), EXMLParseError);
    EXPECT_EQ(Dump(k), "1 old = kept\n");
}

TEST(PackRead, ReadingIntoATreeMergesByName) {
    TXMLTreeItem t;
    t.SetKeepSystemItems(false);
    Var(t, "A_x", u"old");
    Var(t, "B", u"keep");
    t.OpenFromBytes("<A>\r  <y>new</y>\r</A>\r", "");
    // The file's A replaces the tree's A as a whole; B stays.
    EXPECT_EQ(Dump(t), "1 B = keep\n1 A/\n2 A_y = new\n");
    EXPECT_FALSE(t.IsModified());
}

TEST(PackRead, EncodingDetectionAndSystemItems) {
    struct TCase {
        std::string file;
        TPackEncoding encoding;
        std::u16string caption;
        std::u16string encodingItem;
    } cases[] = {
        {"<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r</SYSTEM>\r<c>Привет</c>\r", TPackEncoding::UTF8,
         U("Привет"), u"UTF8"},
        {"<SYSTEM>\r  <ENCODING>HTML</ENCODING>\r</SYSTEM>\r<c>&#1046;</c>\r", TPackEncoding::HTML,
         u"\u0416", u"HTML"},
        // A compound name is expanded before the lookup.
        {"<SYSTEM_ENCODING>UTF8</SYSTEM_ENCODING>\r<c>\xC3\xA9</c>\r", TPackEncoding::UTF8,
         u"\u00E9", u"UTF8"},
        // An unknown name leaves the encoding, and the item holds what the file says.
        {"<SYSTEM>\r  <ENCODING>utf8</ENCODING>\r</SYSTEM>\r<c>\xE0</c>\r", TPackEncoding::ANSI,
         u"\u0430", u"utf8"},
        // No SYSTEM item: ANSI, and the item is created with the current name.
        {"<c>\xE0</c>\r", TPackEncoding::ANSI, u"\u0430", u"ANSI"},
    };
    for (const auto& c : cases) {
        TXMLTreeItem t;
        ASSERT_TRUE(t.OpenFromBytes(c.file, "")) << c.file;
        EXPECT_EQ(t.GetEncoding(), c.encoding) << c.file;
        EXPECT_EQ(t.GetItemValue_("c"), c.caption) << c.file;
        EXPECT_EQ(t.GetItemValue_("SYSTEM_ENCODING"), c.encodingItem) << c.file;
        EXPECT_FALSE(t.IsModified());
    }

    // A tree that already holds items and uses '.' detects from the file the same way.
    TXMLTreeItem dot;
    Var(dot, "keep", u"1");
    dot.SetTreeSeparator('.');
    dot.OpenFromBytes("<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r</SYSTEM>\r<c>\xC3\xA9</c>\r", "");
    // With '.', "SYSTEM.ENCODING" is not a path of the '_' probe tree: the
    // encoding stays, as the run-time components rely on.
    EXPECT_EQ(dot.GetEncoding(), TPackEncoding::ANSI);
    EXPECT_EQ(dot.GetItemValue_("keep"), u"1");
}

TEST(PackSystemItems, LcidAndEncoding) {
    TXMLTreeItem t;
    t.SetLCID(1049);
    EXPECT_EQ(t.GetItemValue_("SYSTEM_LCID"), u"$0419");
    EXPECT_EQ(t.GetLCID(), 1049u);
    t.SetLCID(0x12345);
    EXPECT_EQ(t.GetItemValue_("SYSTEM_LCID"), u"$12345");
    EXPECT_EQ(t.GetLCID(), 0x2345u); // the low 16 bits

    struct TCase {
        std::u16string text;
        unsigned lcid;
    } cases[] = {{u"", 0},           {u"$", 0},          {u"0419", 0},      {u"$0409", 1033},
                 {u"$04x9", 0x0409}, {u"$04a9", 0x0409}, {u"$FFFF", 0xFFFF}};
    for (const auto& c : cases) {
        static_cast<TXMLTreeItem*>(t.GetItem_F("SYSTEM_LCID"))->SetText(c.text);
        EXPECT_EQ(t.GetLCID(), c.lcid);
    }

    TXMLTreeItem e;
    e.SetTreeModified(false);
    e.SetEncoding(TPackEncoding::ANSI); // the current one: nothing happens
    EXPECT_EQ(e.GetCount(), 0);
    Var(e, "x", u"1");
    e.SetTreeModified(false);
    e.SetEncoding(TPackEncoding::HTML);
    EXPECT_EQ(e.GetItemValue_("SYSTEM_ENCODING"), u"HTML");
    bool all = true;
    e.ForEach([&all](TTree* n) { all = all && n->GetModified(); });
    EXPECT_TRUE(all); // every value will be written differently
}

TEST_F(TempDirTest, OpenAndSaveFiles) {
    const std::string path = Dir.File("RUS.lng");
    TXMLTreeItem missing;
    EXPECT_FALSE(missing.OpenFromFile(path)); // missing: false, nothing changes
    EXPECT_EQ(missing.GetFileName(), "");

    Dir.Write("empty.lng", "");
    TXMLTreeItem empty;
    EXPECT_FALSE(empty.OpenFromFile(Dir.File("empty.lng")));
    EXPECT_EQ(empty.GetFileName(), Dir.File("empty.lng"));
    EXPECT_EQ(empty.GetCount(), 0);

    TXMLTreeItem t;
    t.SetEncoding(TPackEncoding::UTF8);
    Var(t, "f_c", U("Ёж"));
    t.SaveToFile(path);
    EXPECT_FALSE(t.IsModified());
    EXPECT_EQ(t.GetFileName(), ""); // SaveToFile does not rename the tree
    EXPECT_EQ(TempDir::Read(path),
              "<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r</SYSTEM>\r<f>\r  <c>Ёж</c>\r</f>\r");

    TXMLTreeItem back;
    EXPECT_TRUE(back.OpenFromFile(path));
    EXPECT_EQ(back.GetFileName(), path);
    EXPECT_EQ(back.GetItemValue_("f_c"), U("Ёж"));
    EXPECT_EQ(back.GetFileTime(), platform::GetFileTime(path).value());

    static_cast<TXMLTreeItem*>(back.GetItem_F("f_c"))->SetText(u"new");
    back.Save();
    TXMLTreeItem again(path);
    EXPECT_EQ(again.GetFileName(), path);
    again.OpenFromFile(again.GetFileName());
    EXPECT_EQ(again.GetItemValue_("f_c"), u"new");

    EXPECT_EQ(TXMLTreeItem::ReadItemValueFromFile("f_c", u"def", path, '_'), u"new");
    EXPECT_EQ(TXMLTreeItem::ReadItemValueFromFile("f_x", u"def", path, '_'), u"def");
    EXPECT_EQ(TXMLTreeItem::ReadItemValueFromFile("f.c", u"def", path, '.'), u"new");
    EXPECT_EQ(TXMLTreeItem::ReadItemValueFromFile("f_c", u"def", Dir.File("no.lng"), '_'), u"def");
}

TEST_F(TempDirTest, FailedSaveKeepsTheOldFileAndTheTreeModified) {
    const std::string folder = Dir.File("ro");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/p.lng";
    Dir.Write("ro/p.lng", "<a>old</a>\r");
    chmod(folder.c_str(), 0555);
    if (access(folder.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with permissions that ignore a read-only folder";

    TXMLTreeItem t;
    t.OpenFromFile(path);
    static_cast<TXMLTreeItem*>(t.GetItem_F("a"))->SetText(u"new");
    try {
        t.SaveToFile(path);
        ADD_FAILURE() << "saved into a read-only folder";
    } catch (const platform::EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_TRUE(t.IsModified());
    EXPECT_EQ(TempDir::Read(path), "<a>old</a>\r");
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left behind
}

// A full disk, simulated with a file size limit (which also binds root):
// the write fails midway, and the old file and the tree's state survive.
TEST_F(TempDirTest, SaveOnAFullDiskKeepsTheOldFile) {
    const std::string path = Dir.Write("p.lng", "<a>old</a>\r");
    TXMLTreeItem t;
    t.OpenFromFile(path);
    static_cast<TXMLTreeItem*>(t.GetItem_F("a"))->SetText(std::u16string(5000, u'x'));

    bool threw = false;
    try {
        lx::test::TFullDisk full(1024);
        t.SaveToFile(path);
    } catch (const platform::EFileError& e) {
        threw = true;
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }

    EXPECT_TRUE(threw);
    EXPECT_TRUE(t.IsModified());
    EXPECT_EQ(TempDir::Read(path), "<a>old</a>\r");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left behind
}

TEST_F(TempDirTest, ReloadIfChangedRereadsANewerFile) {
    const std::string path = Dir.Write("p.lng", "<a>1</a>\r<b>2</b>\r");
    TXMLTreeItem t;
    t.SetKeepSystemItems(false);
    t.OpenFromFile(path);
    Dir.Write("p.lng", "<a>changed</a>\r");
    platform::SetFileTime(path, t.GetFileTime() - 1000000000LL); // older: ignored
    t.ReloadIfChanged();
    EXPECT_EQ(t.GetItemValue_("a"), u"1");
    platform::SetFileTime(path, t.GetFileTime() + 1000000000LL);
    t.ReloadIfChanged();
    EXPECT_EQ(t.GetItemValue_("a"), u"changed");
    EXPECT_EQ(t.GetItemValue_("b"), u"2"); // merged into the tree as it was
}

TEST(PackSave, PartialEditorSaveStep) {
    TXMLTreeItem pack;
    Var(pack, "f_a", u"pack-a");
    Var(pack, "f_gone", u"pack-gone");
    Var(pack, "f_hidden", u"pack-hidden"); // never shown by the editor
    Var(pack, "g", u"pack-g");
    TXMLTreeItem unchanged;
    Var(unchanged, "f_a", u"pack-a");
    Var(unchanged, "f_gone", u"pack-gone");
    TXMLTreeItem edited;
    Var(edited, "f_a", u"edited-a");
    Var(edited, "f_added", u"added");

    edited.CopyValuesForExistsItems(unchanged);
    edited.MergeInto(&pack);
    pack.DeleteOldItems(unchanged, edited);

    EXPECT_EQ(pack.GetItemValue_("f_a"), u"edited-a");
    EXPECT_EQ(pack.GetItemValue_("f_added"), u"added");
    EXPECT_EQ(pack.GetItem_F("f_gone"), nullptr);
    EXPECT_EQ(pack.GetItemValue_("f_hidden"), u"pack-hidden");
    EXPECT_EQ(pack.GetItemValue_("g"), u"pack-g");
}

TEST(PackTree, ModifiedFlagAndFactory) {
    TXMLTreeItem t("a.lng");
    auto* n = Var(t, "x_y", u"v");
    EXPECT_NE(dynamic_cast<TXMLTreeItem*>(t.GetItem_F("x")), nullptr);
    t.SetTreeModified(false);
    n->SetText(u"v");
    EXPECT_FALSE(t.IsModified()); // the same value: no change
    n->SetText(u"w");
    EXPECT_TRUE(n->GetModified());
    t.SetTreeModified(false);
    t.SetFileName("b.lng");
    EXPECT_TRUE(t.GetModified());
    EXPECT_EQ(n->GetFileName(), "b.lng"); // read through any node
}

// Format cases kept as folders: data/read/<case>/input.lng and expected.txt
// (the Dump of the tree after reading with SYSTEM items kept).
TEST(PackRead, DataFolderCases) {
    const char* root = std::getenv("LX_TEST_DATA");
    ASSERT_NE(root, nullptr);
    const std::filesystem::path dir = std::filesystem::path(root) / "engine" / "data" / "read";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string input = TempDir::Read((entry.path() / "input.lng").string());
        const std::string expected = TempDir::Read((entry.path() / "expected.txt").string());
        TXMLTreeItem t;
        t.OpenFromBytes(input, "");
        EXPECT_EQ(Dump(t), expected) << entry.path().filename();
        // Writing what was read and reading it again gives the same tree.
        TXMLTreeItem again;
        again.OpenFromBytes(t.SaveToBytes(), "");
        EXPECT_EQ(Dump(again), expected) << entry.path().filename();
        ++count;
    }
    EXPECT_GT(count, 0);
}
