// Resource strings end to end: declarations compiled into this very program,
// the repository and its stored text, and the component that translates them.
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "runtime/uLexivane.h"
#include "runtime/uRepository.h"
#include "runtime/uResUtils.h"
#include "runtime/uResourceString.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <unistd.h>

LX_RESOURCESTRING(sHello, "Hello");
LX_RESOURCESTRING(sBye, "Good bye");
LX_RESOURCESTRING(sPipe, "a|b \"quoted\"\ttab");
// LX_RESOURCESTRING(sCommented, "never declared");

using namespace lx;
using lx::test::TempDir;

namespace {

std::u16string U(const std::string& s) {
    return platform::Utf8ToUtf16(s);
}

std::string SelfExe() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return std::string(buf, static_cast<std::size_t>(n));
}

TSRRepositoryItemRec Rec(int resID, int id, std::string value, std::string unit = "",
                         std::string name = "") {
    TSRRepositoryItemRec r;
    r.ResID = resID;
    r.ID = id;
    r.Value = std::move(value);
    r.UnitName = std::move(unit);
    r.Name = std::move(name);
    r.Flag = true;
    return r;
}

struct TEditorLog : ILXResourcesEditor {
    std::vector<std::string> Log;
    void NewModule(const std::string& u) override { Log.push_back("new " + u); }
    void UpdateModuleInfo(const std::vector<std::string>& units) override {
        std::string s = "update";
        for (const auto& u : units)
            s += " " + u;
        Log.push_back(s);
    }
    void OnComplete() override { Log.push_back("complete"); }
};

class ResStrings : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ResetDesignServices();
    }
    void TearDown() override {
        ResetDesignServices();
        ClearActiveStringTable();
        TempDirTest::TearDown();
    }
    // A pack with resourcestring children, '.' as the components use it.
    std::unique_ptr<TXMLTreeItem> Pack(std::vector<std::pair<std::string, std::string>> vars) {
        auto t = std::make_unique<TXMLTreeItem>(Dir.File("pack.lng"));
        t->SetTreeSeparator('.');
        for (const auto& [n, v] : vars)
            static_cast<TXMLTreeItem*>(t->AddGlobalItem("resourcestring." + n))->SetText(U(v));
        return t;
    }
    test::TScriptedHostUI UI;
};

} // namespace

TEST(ResourceStringTable, DeclarationsAreCompiledIn) {
    EXPECT_NE(sHello.ResID(), 0u);
    EXPECT_NE(sBye.ResID(), sHello.ResID());
    EXPECT_EQ(sHello.Unit(), "resstring_tests.cpp");
    EXPECT_EQ(sHello(), "Hello");
    EXPECT_EQ(sPipe.Text(), u"a|b \"quoted\"\ttab"); // escapes read as the compiler reads them
    EXPECT_EQ(ProgramStringTable().at(sBye.ResID()), u"Good bye");
    EXPECT_EQ(ProgramStringTable().size(), 3u); // the commented-out one is not there
    EXPECT_EQ(ProgramResID("resstring_tests.cpp", "sCommented"), 0u);
}

TEST(ResourceStringTable, BlockFormatBytes) {
    TStringTable t{{17, u"ab"}, {31, u"\u0416"}, {40, u""}};
    const auto blocks = BlocksOfTable(t);
    ASSERT_EQ(blocks.size(), 2u); // 17 and 31 share block 2; 40 is block 3
    EXPECT_EQ(blocks[0].Number, 2u);
    const std::string bytes = WriteStringBlocks(kTranslatedTableMagic, blocks);
    // magic, count 2, block 2: entry 1 = "ab", entry 15 = U+0416, others length 0
    std::string expected = std::string(kTranslatedTableMagic) + std::string("\x02\0\0\0", 4) +
                           std::string("\x02\0\0\0", 4) + std::string("\0\0", 2) +
                           std::string("\x02\0a\0b\0", 6) + std::string(13 * 2, '\0') +
                           std::string("\x01\0\x16\x04", 4) + std::string("\x03\0\0\0", 4) +
                           std::string(16 * 2, '\0');
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(TableOfBlocks(ReadStringBlocks(kTranslatedTableMagic, bytes)),
              (TStringTable{{17, u"ab"}, {31, u"\u0416"}}));
    EXPECT_THROW(ReadStringBlocks(kTranslatedTableMagic, bytes.substr(0, bytes.size() - 1)),
                 EStringTableError);
    EXPECT_THROW(ReadStringBlocks(kProgramTableMagic, bytes), EStringTableError);
}

TEST(SRRepository, StoredTextFormat) {
    TSRRepository r;
    EXPECT_EQ(r.WriteToText(), "0|");
    // Unbound records have empty unit and constant names, which also read "||".
    r.Items = {Rec(65085, 1, "File Name", "uLangPacks.cpp", "plHeader_FileName"),
               Rec(65086, 2, "a|b", "u.cpp", "sX"),
               Rec(0, 3, "line1\r\nline2"),
               Rec(4, 4, "ends|"),
               Rec(5, 5, "|", "v.cpp", "sV"),
               Rec(6, 6, "")};
    r.Items[2].Flag = false;
    EXPECT_EQ(r.WriteToText().substr(0, 60),
              "6|65085|1|File Name|uLangPacks.cpp|plHeader_FileName|1|65086");
    EXPECT_NE(r.WriteToText().find("|a||b|u.cpp|sX|1|"), std::string::npos);
    const QStringList list = r.WriteToList();
    ASSERT_EQ(list.size(), 2); // the value with a line break spans two lines
    TSRRepository back;
    back.ReadFromList(list);
    EXPECT_EQ(back.Items, r.Items);

    back.ReadFromList({});
    EXPECT_TRUE(back.Items.empty());
    for (const char* bad : {"x|", "1|12a|1|v|u|n|1|", "2|1|1|v|u|n|1|", "1|1|1|v"}) {
        TSRRepository k;
        k.Items = {Rec(1, 1, "keep")};
        EXPECT_THROW(k.ReadFromText(bad), std::runtime_error) << bad;
        EXPECT_EQ(k.Items.size(), 1u) << bad; // a failed read changes nothing
    }
}

TEST_F(ResStrings, NewNumbersThroughTheProjectCounter) {
    const std::string dof = Dir.File("project.dof");
    DesignServices().GetProjectDofFileName = [dof] { return dof; };
    TSRRepository r;
    for (int i = 1; i <= 477; ++i)
        r.Items.push_back(Rec(i, i, "v"));
    EXPECT_EQ(r.GetNewID(), 478);
    EXPECT_EQ(TempDir::Read(dof), "[Lexivane]\r\nxmlAutoIncValue=478\r\n");
    EXPECT_EQ(r.GetNewID(), 479);
    r.Items.clear(); // the counter never goes back
    EXPECT_EQ(r.GetNewID(), 480);
    EXPECT_EQ(r.FindByID(5).ResID, 0);
}

TEST_F(ResStrings, ModulesAndBindingDeclarations) {
    TSRRepository r;
    r.Modules.Add("C:\\src\\UMAIN.PAS");
    EXPECT_NE(r.Modules.GetItem("uMain"), nullptr);
    EXPECT_EQ(r.Modules.GetItem("uOther"), nullptr);

    TEditorLog editor;
    TSRRepository b(&editor);
    b.Items = {Rec(65000, 7, "Open file"), Rec(65001, 8, "Save")};
    b.Modules.Add("")->Items = b.Items;
    bool added = false;
    // Binds the string known from the program to its declaration.
    b.AddItem({"fMain.cpp", "sOpen", "OPEN FILE"}, added);
    EXPECT_TRUE(added);
    EXPECT_EQ(b.Items[0].UnitName, "fMain.cpp");
    EXPECT_EQ(b.Items[0].Name, "sOpen");
    EXPECT_EQ(b.Items[0].ID, 7);
    EXPECT_EQ(b.Modules.GetItem("")->GetCount(), 1); // gone from the unbound module
    // A declaration the program does not have yet: a new record.
    b.AddItem({"fMain.cpp", "sNew", "New one"}, added);
    EXPECT_TRUE(added);
    EXPECT_EQ(b.Items.back().ID, 9);
    EXPECT_EQ(b.Items.back().ResID, 0);
    // Found again: nothing.
    b.AddItem({"fMain.cpp", "SOPEN", "open file"}, added);
    EXPECT_FALSE(added);
    EXPECT_EQ(b.Modules.GetItem("fMain.cpp")->GetCount(), 2);
    // A unit without extension is a source of the project.
    b.AddItem({"/src/tools", "sX", "x"}, added);
    EXPECT_NE(b.Modules.GetItem("tools.pas"), nullptr);
    EXPECT_EQ(editor.Log,
              (std::vector<std::string>{"new fMain.cpp", "update fMain.cpp ", "update fMain.cpp",
                                        "new tools.pas", "update tools.pas"}));
}

TEST(SRRepository, SourceScanAndMap) {
    const std::string src = "// LX_RESOURCESTRING(sNo, \"comment\")\n"
                            "#define LX_RESOURCESTRING(n, t) x\n"
                            "const char* s = \"LX_RESOURCESTRING(sNo2, \\\"in a string\\\")\";\n"
                            "LX_RESOURCESTRING( sA , \"one \" /* c */ \"two\\n\" );\n"
                            "LX_RESOURCESTRING(sB, \"\\x41\\\\\\\"\");\n"
                            "MY_LX_RESOURCESTRING(sNo3, \"other macro\");\n";
    const auto found = ScanResourceStrings("u.cpp", src);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Name, "sA");
    EXPECT_EQ(found[0].Value, "one two\n");
    EXPECT_EQ(found[1].Value, "A\\\"");
    EXPECT_EQ(found[1].UnitName, "u.cpp");

    const std::vector<TDrcEntry> map{{65535, "uMain.cpp", "sSaveQ"}, {12, "x.h", "s_y"}};
    const std::string text = WriteDrcMap(map);
    EXPECT_NE(text.find("#define uMain_sSaveQ 65535 /* uMain.cpp */\n"), std::string::npos);
    const auto back = ReadDrcMap(text);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].ResID, 12u);
    EXPECT_EQ(back[1].UnitName, "x.h");
    EXPECT_EQ(back[1].Name, "s_y");
}

TEST_F(ResStrings, LoadResourcesFromThisProgram) {
    const std::string exe = SelfExe();
    const std::string drc =
        exe.substr(0, exe.find_last_of('/') + 1) + "runtime_resstring_tests.drc";
    const std::string self =
        std::string(std::getenv("LX_TEST_DATA")) + "/runtime/resstring_tests.cpp";
    ASSERT_TRUE(platform::FileExists(drc));
    TEditorLog editor;
    TSRRepository r(&editor);
    r.Items = {Rec(0, 41, "Hello", "resstring_tests.cpp", "sHello"), Rec(0, 42, "gone")};
    r.SetProjectFileName(self);
    r.LoadResources(exe, drc, {self});
    ASSERT_EQ(r.Items.size(), 3u); // the record that is neither compiled nor declared is gone
    for (const auto& rec : r.Items) {
        EXPECT_NE(rec.ResID, 0) << rec.Name;
        EXPECT_EQ(rec.UnitName, "resstring_tests.cpp");
        EXPECT_EQ(platform::Utf8ToUtf16(rec.Value),
                  ProgramStringTable().at(static_cast<std::uint32_t>(rec.ResID)));
    }
    EXPECT_EQ(r.Items[0].ID, 41); // a known string keeps its number
    EXPECT_EQ(static_cast<std::uint32_t>(r.FindByID(41).ResID), sHello.ResID());
    EXPECT_EQ(r.Modules.GetItem("resstring_tests.cpp")->GetCount(), 3);
    EXPECT_EQ(r.Modules.At(0)->Name, "$Project");
    EXPECT_EQ(r.Modules.At(0)->GetCount(), 3); // this file plays the project's main file
    EXPECT_EQ(r.Modules.At(1)->Name, "$Share");
    EXPECT_EQ(r.Modules.At(2)->Name, "");
    EXPECT_EQ(editor.Log.back(), "complete");
    EXPECT_THROW(r.LoadResources(drc, drc, {}), std::runtime_error); // no table in that file
}

TEST_F(ResStrings, ComponentTranslatesAndCleansUp) {
    QWidget form;
    form.setObjectName("fMain");
    const std::string copy = TXMLResource::CopyFileName();
    EXPECT_EQ(copy, Dir.File("runtime_resstring_tests.dlng"));
    const QString before = sHello(); // fetched before: keeps what it got
    {
        auto* res = new TLXResource(&form);
        res->Repository().Items = {Rec(static_cast<int>(sHello.ResID()), 1, "Hello"),
                                   Rec(0, 2, "unbound")};
        EXPECT_TRUE(
            res->ApplyTree(Pack({{"1", "Привет"}, {"2", "skipped"}, {"9", "unknown"}}).get()));
        EXPECT_TRUE(platform::FileExists(copy));
        EXPECT_EQ(sHello(), QString::fromUtf8("Привет"));
        EXPECT_EQ(sBye(), "Good bye"); // the rest of the block keeps the program's texts
        EXPECT_EQ(before, "Hello");
        // The copy holds the whole block, own texts filled in.
        const TStringTable stored =
            TableOfBlocks(ReadStringBlocks(kTranslatedTableMagic, platform::ReadWholeFile(copy)));
        EXPECT_EQ(stored.at(sBye.ResID()), u"Good bye");

        EXPECT_TRUE(res->ApplyTree(Pack({{"1", "Hallo"}}).get()));
        EXPECT_EQ(sHello(), "Hallo");
        int copies = 0;
        for (const auto& e : std::filesystem::directory_iterator(Dir.Path()))
            copies += e.path().extension() == ".dlng";
        EXPECT_EQ(copies, 1);

        // A name that is not a number stops the pack with an error.
        UI.Expect(host::TMsgResult::Ok);
        TXMLTreeItem bad(Dir.File("bad.lng"));
        static_cast<TXMLTreeItem*>(bad.AddGlobalItem("resourcestring_x1"))->SetText(u"x");
        bad.SaveToFile(Dir.File("bad.lng"));
        res->SetStatus(TXMLBaseClass::csWorkAlone);
        EXPECT_FALSE(res->LoadAndApply(Dir.File("bad.lng")));
        ASSERT_EQ(UI.Questions().size(), 1u);
        EXPECT_TRUE(UI.Questions()[0].Text.contains("x1"));
        EXPECT_EQ(sHello(), "Hello"); // released: the program's own texts
        delete res;
    }
    EXPECT_FALSE(platform::FileExists(copy));
    EXPECT_EQ(sHello(), "Hello");
}

TEST_F(ResStrings, WithoutARepositoryStringsGoByIdentifier) {
    QWidget form;
    auto* res = new TLXResource(&form);
    EXPECT_TRUE(res->ApplyTree(Pack({{std::to_string(sBye.ResID()), "Tschüss"}}).get()));
    EXPECT_EQ(sBye(), QString::fromUtf8("Tschüss"));
    delete res;
    EXPECT_EQ(sBye(), "Good bye");
}

TEST_F(ResStrings, ACopyThatCannotBeReplacedLeavesTheOwnTexts) {
    QWidget form;
    auto* res = new TLXResource(&form);
    EXPECT_TRUE(res->ApplyTree(Pack({{std::to_string(sBye.ResID()), "weg"}}).get()));
    const std::string copy = TXMLResource::CopyFileName();

    // Cannot be deleted (a folder with something in it stands in for a copy in use).
    std::filesystem::remove(copy);
    std::filesystem::create_directories(copy + "/busy");
    UI.Expect(host::TMsgResult::Ok);
    EXPECT_FALSE(res->ApplyTree(Pack({{std::to_string(sBye.ResID()), "fort"}}).get()));
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Text,
              QString("Could not delete %1 file").arg(QString::fromStdString(copy)));
    EXPECT_EQ(sBye(), "Good bye");
    std::filesystem::remove_all(copy);

    // Cannot be written (a full disk): no half-written table becomes active.
    UI.Expect(host::TMsgResult::Ok);
    bool ok = true;
    {
        test::TFullDisk full(16);
        ok = res->ApplyTree(Pack({{std::to_string(sBye.ResID()), "voll"}}).get());
    }
    EXPECT_FALSE(ok);
    ASSERT_EQ(UI.Questions().size(), 2u);
    EXPECT_EQ(UI.Questions()[1].Text, "Can not update file");
    EXPECT_EQ(sBye(), "Good bye");
    EXPECT_FALSE(platform::FileExists(copy));
    delete res;
}

TEST(SRRepository, StoredPropertyOfTheComponent) {
    QWidget form;
    auto* res = new TLXResource(&form);
    res->Repository().Items = {Rec(10, 1, "x|y")};
    const QVariant stored = res->property("SRRepository");
    ASSERT_TRUE(stored.canConvert<QStringList>());
    auto* other = new TLXResource(&form);
    other->setProperty("SRRepository", stored);
    EXPECT_EQ(other->Repository().Items, res->Repository().Items);
    EXPECT_NE(res->property("Resources").value<QObject*>(), nullptr);
}
