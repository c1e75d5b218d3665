// The editor's start-up switches, recent folders and progress reporting.
#include "editor/uProgressViewer.h"
#include "editor/uReOpenMenu.h"
#include "editor/uVars.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace lx::editor;
using lx::test::TempDir;
using lx::test::TempDirTest;

TEST(Switches, EntryRequestsAreExact) {
    struct TCase {
        std::vector<std::string> args;
        bool silent, reg, unreg;
    } cases[] = {
        {{"/opt/GlotrixEd", "-silent", "-reg"}, true, true, false},
        {{"/opt/GlotrixEd", "-silent"}, true, false, false},
        {{"/opt/GlotrixEd", "-reg"}, false, true, false},
        {{"/opt/GlotrixEd", "-SILENT", "-unreg"}, false, false, true},
    };
    for (const auto& c : cases) {
        const TEntryRequest r = ParseEntryRequest(c.args);
        EXPECT_EQ(r.Silent, c.silent);
        EXPECT_EQ(r.Reg, c.reg);
        EXPECT_EQ(r.Unreg, c.unreg);
    }
}

TEST(Switches, FolderItemWindowListAndSplash) {
    struct TCase {
        std::string arg;
        std::string folder; // "-" for none
    } folders[] = {
        {"-pC:\\Packs\\RUS.lng", "C:\\Packs"},
        {"-pC:\\Packs\\", "C:\\Packs"},
        {"-pC:\\", "C:"},
        {"-p/srv/packs/", "/srv/packs"},
        {"-p/srv/packs/en.LNG", "/srv/packs"},
        {"-p", ""},
        {"-x/nothing", "-"},
    };
    for (const auto& c : folders) {
        TStartUpState s;
        const auto f = ParseSwitches({"/opt/GlotrixEd", c.arg}, s);
        if (c.folder == "-")
            EXPECT_FALSE(f.has_value()) << c.arg;
        else
            EXPECT_EQ(f.value_or("?"), c.folder) << c.arg;
    }
    TStartUpState s;
    ParseSwitches({"/opt/GlotrixEd", "-ifMain_btnOK_Caption", "-h4242", "-l", "/s0"}, s);
    EXPECT_EQ(s.StartItem, "fMain_btnOK_Caption");
    EXPECT_EQ(s.IDEWindow, 4242);
    EXPECT_TRUE(s.ListOnly);
    EXPECT_FALSE(s.SplashEnabled); // any first character, as -s0
    TStartUpState t;
    ParseSwitches({"x", "-hnope", "-s1", "-s"}, t);
    EXPECT_EQ(t.IDEWindow, 0);
    EXPECT_TRUE(t.SplashEnabled);
}

TEST_F(TempDirTest, SettingsFilesAndSwitchValues) {
    EXPECT_EQ(MainIniFileName(), Dir.File("main.ini"));
    EXPECT_EQ(PacksCfgFileName(), Dir.File("packs.cfg"));
    EXPECT_TRUE(ReadBoolSetting("settings", "fMain.miBufHTML.Checked", true));
    Dir.Write("main.ini", "[settings]\nA=True\nB=true\n");
    EXPECT_FALSE(ReadBoolSetting("settings", "A", true)); // only "true" exactly
    EXPECT_TRUE(ReadBoolSetting("settings", "B", false));
    EXPECT_TRUE(WriteBoolSetting("settings", "A", true));
    EXPECT_TRUE(ReadBoolSetting("settings", "A", false));
}

TEST_F(TempDirTest, RecentFolders) {
    const std::string ini = Dir.File("main.ini");
    TFolderList list;
    for (const char* f : {"/a", "/b", "/c"})
        AddRecent(f, ini, "menu");
    LoadRecent(ini, "menu", list);
    EXPECT_EQ(list, (TFolderList{"/c", "/b", "/a"}));
    AddRecent("/a", ini, "menu"); // third moves to the top, same length
    LoadRecent(ini, "menu", list);
    EXPECT_EQ(list, (TFolderList{"/a", "/c", "/b"}));
    AddRecent("/A", ini, "menu"); // letter case counts
    LoadRecent(ini, "menu", list);
    EXPECT_EQ(list.size(), 4u);
    for (int i = 0; i < 10; ++i)
        AddRecent("/f" + std::to_string(i), ini, "menu");
    LoadRecent(ini, "menu", list);
    ASSERT_EQ(list.size(), 10u); // the oldest fall off
    EXPECT_EQ(list.front(), "/f9");
    EXPECT_EQ(list.back(), "/f0");
    LoadRecentExcept("/f5", ini, "menu", list);
    EXPECT_EQ(list.size(), 9u);

    Dir.Write("spaces.ini", "[menu]\nro_menu0=/x\nro_menu1=/y\nro_menu2=   \nro_menu3=/z\n");
    LoadRecent(Dir.File("spaces.ini"), "menu", list);
    EXPECT_EQ(list, (TFolderList{"/x", "/y"}));
}

namespace {

struct TRecorder : IProgressViewer {
    std::vector<std::string> Log;
    void Progress(const void*, int, int kind, long long pos, long long max) override {
        Log.push_back("progress " + std::to_string(kind) + " " + std::to_string(pos) + "/" +
                      std::to_string(max));
    }
    void ActionsChanged(const void*, const std::vector<std::string>& a) override {
        Log.push_back("actions " + ActionText(a, 0, 0));
    }
    void Started(const void*) override { Log.push_back("started"); }
    void Finished(const void*) override { Log.push_back("finished"); }
};

} // namespace

TEST(Progress, ActionsViewersAndTransfers) {
    TLXProgressManager m;
    TRecorder first, second, newer;
    int form1 = 0, form2 = 0;
    m.RegisterViewer(&form1, &first);
    m.RegisterViewer(&form2, &second);
    m.RegisterViewer(&form2, &newer); // the same form: kept once, with the newer viewer
    m.BeginAction("A");
    m.BeginAction("B");
    m.WorkBegin(&m, 1, 2048);
    m.Work(&m, 1, 512);
    EXPECT_EQ(ActionText(m.Actions(), 512, 2048), "A B (25%)");
    EXPECT_EQ(ActionText(m.Actions(), 300, 0), "A B (300 bytes)");
    EXPECT_EQ(ActionText(m.Actions(), 0, 2048), "A B");
    EXPECT_EQ(ActionText({"", "A", ""}, 0, 0), "A");
    m.WorkEnd(&m, 1);
    m.EndAction();
    m.EndAction();
    m.EndAction(); // nothing left to pop
    EXPECT_EQ(first.Log,
              (std::vector<std::string>{"actions A", "progress 0 0/0", "started", "actions A B",
                                        "progress 0 0/0", "progress 0 0/2048",
                                        "progress 2 512/2048", "progress 1 0/0", "actions A",
                                        "progress 1 0/0", "actions ", "progress 1 0/0", "finished",
                                        "actions ", "progress 1 0/0", "finished"}));
    EXPECT_TRUE(second.Log.empty());
    EXPECT_EQ(newer.Log, first.Log);
    m.RegisterViewer(&form1, nullptr);
    m.BeginAction("C");
    EXPECT_EQ(first.Log.size(), 16u);
    {
        TActionScope scope("scoped");
        EXPECT_EQ(ProgressManager().Actions().back(), "scoped");
    }
    EXPECT_TRUE(ProgressManager().Actions().empty());
}
