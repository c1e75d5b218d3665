// The template rename wizard: its masks, the walk, the pair application with
// the LANG_ prefix rules and a folder move's pairs, and the dialog on real
// widgets with a real worker (the read-only file, the full disk, settings).
#include "editor/uCNWizard.h"
#include "editor/uCNWizardThread.h"
#include "editor/uVars.h"
#include "engine/uIni.h"
#include "platform/Files.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

using namespace lx;
using namespace lx::editor;
using lx::test::TempDir;
using lx::test::TempDirTest;

namespace {

struct TMaskCase {
    std::string Field;
    std::vector<std::string> Masks;
    std::string FieldAfter;
};

struct TPairCase {
    const char* What;
    TVarNames Pairs;
    bool KeepPrefix;
    std::string Text;
    std::string Expected;
};

} // namespace

TEST(CNWizardRules, Masks) {
    const std::vector<TMaskCase> cases = {
        {"php;html", {"*.php", "*.html"}, "php;html;"},
        {"", {"*"}, ""},
        {";;", {"*"}, ";;"},
        {".htm", {"*.htm"}, ".htm;"},
        {"a.txt", {"*a.txt"}, "a.txt;"},
        {"tpl*;;x?y", {"tpl*", "*.x?y"}, "tpl*;;x?y;"},
        {" php;", {"*. php"}, " php;"}, // spaces are kept
    };
    for (const auto& c : cases) {
        std::string field = c.Field;
        EXPECT_EQ(ParseMasks(field), c.Masks) << c.Field;
        EXPECT_EQ(field, c.FieldAfter) << c.Field;
    }
}

TEST(CNWizardRules, WildcardsMatchWholeNamesIgnoringCase) {
    const std::vector<std::tuple<const char*, const char*, bool>> cases = {
        {"index.php", "*.php", true},   {"INDEX.PHP", "*.php", true},
        {"index.php5", "*.php", false}, {"php", "*.php", false},
        {"ba.txt", "*a.txt", true},     {"page.html", "*.htm?", true},
        {"page.htm", "*.htm?", false},  {"anything", "*", true},
        {"a.b.php", "*.php", true},     {"main.tpl.bak", "main*.tpl", false},
        {"[x].php", "[x].php", true}, // brackets are plain characters
    };
    for (const auto& [name, mask, matches] : cases)
        EXPECT_EQ(platform::MatchesFileMask(name, mask), matches) << name << " ~ " << mask;
}

TEST(CNWizardRules, PairsReplaceEachOccurrenceOnce) {
    const TVarNames folderMove = {{"LANG_MAIN", "LANG_X_MAIN"},
                                  {"LANG_MAIN_TITLE", "LANG_X_MAIN_TITLE"},
                                  {"LANG_MAIN_TEXT", "LANG_X_MAIN_TEXT"}};
    const std::vector<TPairCase> cases = {
        {"both forms, and inside longer words",
         {{"LANG_MAIN_TITLE", "LANG_X_MAIN_TITLE"}},
         false,
         "<h1>{MAIN_TITLE}</h1> $lang->items['MAIN_TITLE'] MAIN_TITLE2",
         "<h1>{X_MAIN_TITLE}</h1> $lang->items['X_MAIN_TITLE'] X_MAIN_TITLE2"},
        {"a folder move: the folder's pair first, then the pairs below it", folderMove, false,
         "{MAIN_TITLE} {MAIN_TEXT} {MAIN}", "{X_MAIN_TITLE} {X_MAIN_TEXT} {X_MAIN}"},
        {"inserted text is not looked at again",
         {{"LANG_A", "LANG_B"}, {"LANG_B", "LANG_A"}},
         false,
         "{A}{B}",
         "{B}{A}"},
        {"LANG_ alone is too short to lose its prefix",
         {{"LANG_", "LANG_X"}},
         false,
         "LANG_A and LANG_B",
         "XA and XB"},
        {"names without the prefix are used as they are",
         {{"MAIN", "OTHER"}},
         false,
         "{MAIN}",
         "{OTHER}"},
        {"the prefix kept", {{"LANG_A", "LANG_B"}}, true, "{LANG_A} {A}", "{LANG_B} {A}"},
        {"letter case counts", {{"LANG_TITLE", "LANG_X"}}, false, "{title}", "{title}"},
        {"an empty old name changes nothing", {{"", "LANG_X"}}, false, "abc", "abc"},
        {"no pairs", {}, false, "{MAIN}", "{MAIN}"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplyPairs(c.Text, c.Pairs, c.KeepPrefix), c.Expected) << c.What;
}

TEST_F(TempDirTest, WizardWalkOrder) {
    Dir.Write("t/b.php", "");
    Dir.Write("t/a.html", "");
    Dir.Write("t/c.PHP", "");
    Dir.Write("t/notes.txt", "");
    Dir.Write("t/sub/d.php", "");
    Dir.Write("t/sub/deeper/e.html", "");
    std::filesystem::create_directory_symlink("..", Dir.File("t/sub/loop")); // not followed
    const std::string root = Dir.File("t");
    auto rel = [&](const std::vector<std::string>& files) {
        std::vector<std::string> out;
        for (const auto& f : files)
            out.push_back(f.substr(root.size() + 1));
        return out;
    };
    const auto files = rel(ListTemplateFiles(root, {"*.html", "*.php", "*.p*"}));
    ASSERT_EQ(files.size(), 5u);   // each file once, though two masks take the php files
    EXPECT_EQ(files[0], "a.html"); // the first mask's files first
    EXPECT_EQ(std::vector<std::string>(files.begin() + 1, files.begin() + 3).size(), 2u);
    EXPECT_TRUE(std::is_permutation(files.begin() + 1, files.begin() + 3,
                                    std::vector<std::string>{"b.php", "c.PHP"}.begin()));
    EXPECT_EQ(files[3], "sub/d.php"); // then the sub-folders, at any depth
    EXPECT_EQ(files[4], "sub/deeper/e.html");
    EXPECT_EQ(rel(ListTemplateFiles(root + "/", {"*"})).size(), 6u);
    EXPECT_TRUE(ListTemplateFiles("", {"*"}).empty());
    EXPECT_TRUE(ListTemplateFiles(Dir.File("missing"), {"*"}).empty());
}

namespace {

class Wizard : public lx::test::TempDirTest {
protected:
    template <class T> T* Get(TfCNWizard& w, const char* name) {
        auto* c = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Presses Scan and waits for the finish step (its message answered).
    void ScanAndWait(TfCNWizard& w) {
        UI.Expect(host::TMsgResult::Ok);
        QSignalSpy finished(&w, &TfCNWizard::ScanFinished);
        QTest::mouseClick(Get<QPushButton>(w, "btnScan"), Qt::LeftButton);
        ASSERT_TRUE(finished.count() > 0 || finished.wait(20000));
    }
    std::string Folder() { return Dir.File("tpl"); }
    test::TScriptedHostUI UI;
    const TVarNames Pairs = {{"LANG_MAIN_TITLE", "LANG_X_MAIN_TITLE"}};
};

} // namespace

TEST_F(Wizard, OpensWithThePairsAndTheSettings) {
    {
        TfCNWizard w(Pairs);
        EXPECT_EQ(Get<QLineEdit>(w, "edtFilesMasks")->text(), "php;html");
        EXPECT_EQ(Get<QLineEdit>(w, "edtWorkFolder")->text(), "");
        auto* grid = Get<QTableWidget>(w, "ValueListEditor");
        ASSERT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(grid->item(0, 0)->text(), "LANG_MAIN_TITLE");
        EXPECT_EQ(grid->item(0, 1)->text(), "LANG_X_MAIN_TITLE");
        EXPECT_FALSE(grid->isEnabled());
        EXPECT_TRUE(Get<QCheckBox>(w, "CheckBox1")->isChecked());
        EXPECT_TRUE(Get<QProgressBar>(w, "ProgressBar")->isHidden());
        // Browse: a cancel changes nothing, a folder gets its separator.
        UI.ExpectPath("", true);
        QTest::mouseClick(Get<QToolButton>(w, "sbtnBrowse"), Qt::LeftButton);
        EXPECT_EQ(Get<QLineEdit>(w, "edtWorkFolder")->text(), "");
        UI.ExpectPath(QString::fromStdString(Folder()));
        QTest::mouseClick(Get<QToolButton>(w, "sbtnBrowse"), Qt::LeftButton);
        EXPECT_EQ(Get<QLineEdit>(w, "edtWorkFolder")->text(),
                  QString::fromStdString(Folder() + "/"));
        Get<QLineEdit>(w, "edtFilesMasks")->setText("tpl");
        QTest::mouseClick(Get<QPushButton>(w, "btnCancel"), Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
    }
    TfCNWizard again({});
    EXPECT_EQ(Get<QLineEdit>(again, "edtWorkFolder")->text(),
              QString::fromStdString(Folder() + "/"));
    EXPECT_EQ(Get<QLineEdit>(again, "edtFilesMasks")->text(), "tpl");
    EXPECT_EQ(ReadStr("settings", "TfCNWizard.edtFilesMasks.Text", "", MainIniFileName()), "tpl");
}

TEST_F(Wizard, ScanRewritesTheMatchingFiles) {
    const std::string index = Dir.Write("tpl/index.html", "<h1>{MAIN_TITLE}</h1>\r\n");
    const std::string page = Dir.Write("tpl/sub/page.php", "<?= $lang->items['MAIN_TITLE'] ?>");
    const std::string other = Dir.Write("tpl/other.html", "{OTHER}");
    const std::string notes = Dir.Write("tpl/notes.txt", "{MAIN_TITLE}");
    const platform::TFileTime old = platform::Now() - 3600LL * 1000000000LL;
    platform::SetFileTime(other, old);
    chmod(page.c_str(), 0640);

    TfCNWizard w(Pairs);
    w.show();
    Get<QLineEdit>(w, "edtWorkFolder")->setText(QString::fromStdString(Folder()));
    UI.Expect(host::TMsgResult::Ok);
    QSignalSpy finished(&w, &TfCNWizard::ScanFinished);
    QTest::mouseClick(Get<QPushButton>(w, "btnScan"), Qt::LeftButton);
    // The worker reports only through the event loop: until then the dialog rests.
    for (const char* name :
         {"btnScan", "btnCancel", "edtWorkFolder", "edtFilesMasks", "ValueListEditor"})
        EXPECT_FALSE(w.findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_FALSE(Get<QToolButton>(w, "sbtnBrowse")->isEnabled());
    EXPECT_TRUE(Get<QProgressBar>(w, "ProgressBar")->isVisible());
    EXPECT_TRUE(w.Scanning());
    w.reject(); // closing is refused while the worker runs
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(finished.wait(20000));

    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Text, QString::fromUtf8("Сканирование завершено."));
    EXPECT_EQ(TempDir::Read(index), "<h1>{X_MAIN_TITLE}</h1>\r\n");
    EXPECT_EQ(TempDir::Read(page), "<?= $lang->items['X_MAIN_TITLE'] ?>");
    struct stat st {};
    stat(page.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u); // rewritten in place of the old file, same rights
    EXPECT_EQ(TempDir::Read(notes), "{MAIN_TITLE}"); // no mask takes it
    EXPECT_EQ(platform::GetFileTime(other), old);    // nothing to change: not written
    EXPECT_EQ(Get<QProgressBar>(w, "ProgressBar")->maximum(), 3);
    EXPECT_EQ(Get<QProgressBar>(w, "ProgressBar")->value(), 3);
    EXPECT_TRUE(Get<QProgressBar>(w, "ProgressBar")->isHidden());
    EXPECT_TRUE(Get<QTableWidget>(w, "ValueListEditor")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>(w, "btnScan")->isEnabled());
    EXPECT_EQ(Get<QLineEdit>(w, "edtFilesMasks")->text(), "php;html;");
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(ReadStr("settings", "TfCNWizard.edtFilesMasks.Text", "", MainIniFileName()),
              "php;html;");
    EXPECT_EQ(ReadStr("settings", "TfCNWizard.edtWorkFolder.Text", "", MainIniFileName()),
              Folder());
    std::size_t leftovers = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(Folder()))
        leftovers += e.path().extension() == ".tmp";
    EXPECT_EQ(leftovers, 0u);
}

// The grid's edits and the prefix box take part in the next scan.
TEST_F(Wizard, GridEditsAndThePrefixBoxTakePart) {
    const std::string file = Dir.Write("tpl/a.html", "{LANG_MAIN_TITLE} {X_MAIN_TITLE}");
    TfCNWizard w(Pairs);
    w.show();
    Get<QLineEdit>(w, "edtWorkFolder")->setText(QString::fromStdString(Folder()));
    Get<QCheckBox>(w, "CheckBox1")->setChecked(false); // keep LANG_
    ScanAndWait(w);
    EXPECT_EQ(TempDir::Read(file), "{LANG_X_MAIN_TITLE} {X_MAIN_TITLE}");
    auto* grid = Get<QTableWidget>(w, "ValueListEditor");
    grid->item(0, 0)->setText("X_MAIN_TITLE");
    grid->item(0, 1)->setText("Y_TITLE");
    ScanAndWait(w);
    EXPECT_EQ(TempDir::Read(file), "{LANG_Y_TITLE} {Y_TITLE}");
}

// A file that cannot be rewritten stops the scan there, and the message names it.
TEST_F(Wizard, AReadOnlyFileStopsTheScan) {
    const std::string first = Dir.Write("tpl/first.html", "{MAIN_TITLE}");
    const std::string locked = Dir.Write("tpl/locked.php", "{MAIN_TITLE}");
    const std::string later = Dir.Write("tpl/sub/later.html", "{MAIN_TITLE}");
    chmod(locked.c_str(), 0444);
    TfCNWizard w(Pairs);
    w.show();
    Get<QLineEdit>(w, "edtWorkFolder")->setText(QString::fromStdString(Folder()));
    Get<QLineEdit>(w, "edtFilesMasks")->setText("html;php");
    ScanAndWait(w);
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Kind, host::TMsgKind::Error);
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QString::fromStdString(locked)))
        << UI.Questions()[0].Text.toStdString();
    EXPECT_EQ(TempDir::Read(first), "{X_MAIN_TITLE}"); // before it: changed
    EXPECT_EQ(TempDir::Read(locked), "{MAIN_TITLE}");
    EXPECT_EQ(TempDir::Read(later), "{MAIN_TITLE}"); // after it: not visited
    EXPECT_EQ(Get<QProgressBar>(w, "ProgressBar")->value(), 1);
    EXPECT_TRUE(Get<QPushButton>(w, "btnScan")->isEnabled());
}

TEST_F(Wizard, AFullDiskKeepsTheFileAndStopsTheScan) {
    const std::string text = "{MAIN_TITLE}" + std::string(100, ' ');
    const std::string file = Dir.Write("tpl/a.html", text);
    TfCNWizard w(Pairs);
    w.show();
    Get<QLineEdit>(w, "edtWorkFolder")->setText(QString::fromStdString(Folder()));
    {
        test::TFullDisk full(64);
        ScanAndWait(w);
    }
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QString::fromStdString(file)));
    EXPECT_EQ(TempDir::Read(file), text);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left
}

TEST_F(Wizard, AMissingFolderFindsNothingAndFinishes) {
    TfCNWizard w(Pairs);
    w.show();
    Get<QLineEdit>(w, "edtWorkFolder")->setText(QString::fromStdString(Dir.File("missing")));
    ScanAndWait(w);
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Text, QString::fromUtf8("Сканирование завершено."));
    EXPECT_EQ(Get<QProgressBar>(w, "ProgressBar")->value(), 0);
}
