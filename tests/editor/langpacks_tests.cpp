// The pack set of a working folder: opening with the availability and lock
// questions, ticks and fonts per folder, adding, deleting and reloading packs.
#include "WorkFolderTest.h"
#include "editor/uAccess.h"
#include "editor/uLangPacks.h"
#include "editor/uPackCache.h"
#include "editor/uVars.h"
#include "engine/uIni.h"
#include "platform/Files.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using namespace lx::editor;
using lx::test::TempDir;

namespace {

using test::kRus;

class PackSet : public test::TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        Set.SetOnPacksChanged([this](ILangPack*) { ++Changes; });
    }
    int Changes = 0;
    TLangPackSet Set;
};

} // namespace

TEST_F(PackSet, OpensAFolderIntoTheCache) {
    ASSERT_TRUE(Set.OpenWorkDir(Work));
    EXPECT_EQ(Set.WorkDir(), Work);
    EXPECT_TRUE(PackAccessGranted());
    EXPECT_EQ(ReadStr("main", "workdir", "", MainIniFileName()), Work);
    EXPECT_EQ(ReadStr("access", "used", "", Work + "/share.ini"), "true");
    ASSERT_EQ(Set.GetPackCount(), 2);
    EXPECT_EQ(Set.GetPackNames(false), (std::vector<std::string>{"ENU", "RUS"}));
    EXPECT_EQ(Set.GetPack(0)->GetFileName(), CacheDir() + "ENU.lng");
    EXPECT_EQ(Set.GetPack(1)->GetItemValue_("a"), u"один");
    EXPECT_GE(Changes, 1);

    std::vector<std::string> header;
    const auto rows = Set.GetPackList(header, false);
    EXPECT_EQ(header, (std::vector<std::string>{"Language", "File Name"}));
    EXPECT_EQ(rows[1], "RUS - Russian\x01" + CacheDir() + "RUS.lng");

    EXPECT_TRUE(Set.CloseWorkDir());
    EXPECT_EQ(ReadStr("access", "used", "", Work + "/share.ini"), "false");
    EXPECT_TRUE(CachePackFiles().empty());
}

TEST_F(PackSet, TicksAndFontsArePerFolder) {
    Dir.Write("other/RUS.lng", kRus);
    ASSERT_TRUE(Set.OpenWorkDir(Work));
    EXPECT_TRUE(Set.IsPackChecked(1));
    Set.SetPackChecked(1, false);
    EXPECT_FALSE(Set.IsPackChecked(1));
    EXPECT_EQ(Set.GetPackNames(true), (std::vector<std::string>{"ENU"}));

    Set.SetDefaultFont({204, 11, "DejaVu Sans"});
    EXPECT_EQ(Set.GetPackFont(1), (TPackFont{204, 11, "DejaVu Sans"}));
    Set.SavePackFont({204, 14, "DejaVu Serif"});
    EXPECT_EQ(ReadStr(Work, "RUS_Font.Name", "", PacksCfgFileName()), "DejaVu Serif");
    EXPECT_EQ(ReadInt(Work, "RUSFont.Size", 0, PacksCfgFileName()), 14);
    EXPECT_EQ(Set.GetPackFont(1), (TPackFont{204, 14, "DejaVu Serif"}));

    Set.OpenWorkDir("");
    EXPECT_FALSE(Set.IsPackChecked(0)); // no folder open
    ASSERT_TRUE(Set.OpenWorkDir(Dir.File("other")));
    EXPECT_TRUE(Set.IsPackChecked(0)); // the same pack name in another folder
    EXPECT_EQ(Set.GetPackFont(0).Name, "DejaVu Sans");
}

TEST_F(PackSet, AMissingFolderAsksAbortRetryIgnore) {
    UI.Expect(host::TMsgResult::Abort);
    EXPECT_FALSE(Set.OpenWorkDir(Dir.File("nowhere")));
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Buttons, host::TMsgButtons::AbortRetryIgnore);
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QString::fromStdString(Dir.File("nowhere"))));
    EXPECT_EQ(ReadStr("main", "workdir", "<none>", MainIniFileName()), "<none>");

    // Retry once the folder is there.
    const std::string later = Dir.File("later");
    UI.Expect(host::TMsgResult::Retry, [&] { std::filesystem::copy(Work, later); });
    EXPECT_TRUE(Set.OpenWorkDir(later));
    EXPECT_EQ(Set.GetPackCount(), 2);
    EXPECT_EQ(UI.Questions().size(), 2u);
}

TEST_F(PackSet, ALockRefusedWithCancelOpensNothing) {
    WriteStr("access", "used", "true", Work + "/share.ini");
    WriteStr("access", "usedby", "someone", Work + "/share.ini");
    WriteStr("access", "username", "Boris", Work + "/share.ini");
    UI.Expect(host::TMsgResult::Cancel);
    EXPECT_FALSE(Set.OpenWorkDir(Work));
    EXPECT_EQ(Set.GetPackCount(), 0);
    EXPECT_EQ(ReadStr("main", "workdir", "<none>", MainIniFileName()), "<none>");

    UI.Expect(host::TMsgResult::Ignore);
    EXPECT_TRUE(Set.OpenWorkDir(Work)); // opens without the lock
    EXPECT_FALSE(PackAccessGranted());
    EXPECT_EQ(Set.GetPackCount(), 2);
    EXPECT_TRUE(Set.CloseWorkDir());
    EXPECT_EQ(ReadStr("access", "usedby", "", Work + "/share.ini"), "someone");
}

TEST_F(PackSet, AddDeleteSaveAndReload) {
    ASSERT_TRUE(Set.OpenWorkDir(Work));
    TXMLTreeItem* added = Set.AddPack("DEU");
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(platform::FileExists(CacheDir() + "DEU.lng"));
    EXPECT_EQ(Set.GetPackCount(), 3);
    UI.Expect(host::TMsgResult::Ok);
    EXPECT_EQ(Set.AddPack("deu"), nullptr); // never overwritten
    EXPECT_EQ(UI.Questions().size(), 1u);

    static_cast<TXMLTreeItem*>(Set.GetPack(0)->AddGlobalItem("a"))->SetText(u"changed"); // ENU
    EXPECT_TRUE(Set.AnyPackModified());
    Set.SaveModifiedPacks();
    EXPECT_FALSE(Set.AnyPackModified());
    Set.ReloadPacks();
    EXPECT_EQ(Set.GetPackNames(false), (std::vector<std::string>{"DEU", "ENU", "RUS"}));
    EXPECT_EQ(Set.GetPack(1)->GetItemValue_("a"), u"changed");

    // A file that names no encoding (the new, empty DEU) keeps the one chosen
    // before a reload; one that names its own keeps that.
    Set.GetPack(0)->SetEncoding(TPackEncoding::HTML);
    Set.GetPack(2)->SetEncoding(TPackEncoding::HTML);
    Set.ReloadPacks();
    EXPECT_EQ(Set.GetPack(0)->GetEncoding(), TPackEncoding::HTML);
    EXPECT_EQ(Set.GetPack(2)->GetEncoding(), TPackEncoding::UTF8);

    UI.Expect(host::TMsgResult::No);
    Set.DeletePack(2);
    EXPECT_EQ(Set.GetPackCount(), 3);
    UI.Expect(host::TMsgResult::Yes);
    static_cast<TXMLTreeItem*>(Set.GetPack(1)->AddGlobalItem("unsaved"))->SetText(u"kept");
    Set.DeletePack(2);
    EXPECT_EQ(Set.GetPackNames(false), (std::vector<std::string>{"DEU", "ENU"}));
    // The other packs keep what was typed and not yet saved.
    EXPECT_EQ(Set.GetPack(1)->GetItemValue_("unsaved"), u"kept");
    EXPECT_TRUE(Set.AnyPackModified());
    EXPECT_TRUE(
        UI.Questions().back().Text.contains(QString::fromStdString(CacheDir() + "RUS.lng")));
    EXPECT_TRUE(platform::FileExists(Work + "/RUS.lng")); // the working folder keeps its copy
    Set.DeletePack(-1);

    // Written back: the saved and the added pack, not the one only opened.
    EXPECT_TRUE(Set.UploadPacks());
    EXPECT_TRUE(platform::FileExists(Work + "/DEU.lng"));
    TXMLTreeItem enu;
    enu.OpenFromFile(Work + "/ENU.lng");
    EXPECT_EQ(enu.GetItemValue_("a"), u"changed");
    EXPECT_TRUE(Set.CloseWorkDir()); // everything sent: no question
}

TEST_F(PackSet, ADamagedCachePackIsNamedAndLeftOut) {
    ASSERT_TRUE(Set.OpenWorkDir(Work));
    Dir.Write("cash/BAD.lng", "<a>unfinished");
    UI.Expect(host::TMsgResult::Ok);
    Set.ReloadPacks();
    EXPECT_EQ(Set.GetPackCount(), 2);
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_TRUE(UI.Questions()[0].Text.contains("BAD.lng"));
    EXPECT_TRUE(platform::FileExists(CacheDir() + "BAD.lng"));
}
