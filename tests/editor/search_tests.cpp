// The search: the walk over the union of the ticked packs with its types and
// criteria, stopping, and the search view in the main window (results, the
// name field and value panel following it, the commands held while it runs).
#include "WorkFolderTest.h"
#include "editor/frames/uBrowser.h"
#include "editor/frames/uSearch.h"
#include "editor/frames/uVarMemo.h"
#include "editor/frames/uVarNameEditor.h"
#include "editor/uLangPacksFrame.h"
#include "editor/uMain.h"
#include "editor/uPackCache.h"
#include "engine/uEngine.h"
#include "engine/uIni.h"
#include "support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace lx;
using namespace lx::editor;

namespace {

std::unique_ptr<TXMLTreeItem> Pack(std::vector<std::pair<std::string, std::u16string>> items) {
    auto pack = std::make_unique<TXMLTreeItem>();
    pack->SetEncoding(TPackEncoding::UTF8);
    for (const auto& [path, text] : items)
        static_cast<TXMLTreeItem*>(pack->AddGlobalItem(path))->SetText(text);
    return pack;
}

std::vector<std::string> Search(const TSearchInput& input, const TSearchCriteria& c) {
    std::vector<std::string> found;
    const std::atomic<bool> stop{false};
    RunSearch(
        input, c, stop, [&](const std::string& p, int) { found.push_back(p); }, [](int) {});
    return found;
}

} // namespace

TEST(SearchWalk, TypesAndCriteria) {
    auto eng =
        Pack({{"LANG_MAIN_TITLE", u"Hello"}, {"LANG_A_X", u"Hello world"}, {"LANG_B_Y", u"Bye"}});
    auto rus = Pack({{"LANG_MAIN_TITLE", u"Заголовок"}, {"LANG_B_Y", u"Привет мир"}});
    using V = std::vector<std::string>;
    struct TCase {
        const char* what;
        std::vector<bool> ticked;
        TSearchCriteria c;
        V expected;
    };
    TSearchCriteria all;
    TSearchCriteria missing;
    missing.Type = 2;
    TSearchCriteria name;
    name.InName = true;
    name.NameText = "main";
    TSearchCriteria text;
    text.InText = true;
    text.Text = u"привет";
    TSearchCriteria emptyText; // a ticked criterion with no text filters nothing
    emptyText.InText = true;
    TSearchCriteria flagged;
    flagged.Type = 1;
    const TCase cases[] = {
        {"all, in global order, no folders, no SYSTEM items",
         {true, true},
         all,
         V{"LANG_MAIN_TITLE", "LANG_A_X", "LANG_B_Y"}},
        {"only the ticked packs", {false, true}, all, V{"LANG_MAIN_TITLE", "LANG_B_Y"}},
        {"missing somewhere", {true, true}, missing, V{"LANG_A_X"}},
        {"missing in an unticked pack counts", {true, false}, missing, V{"LANG_A_X"}},
        {"name ignoring case", {true, true}, name, V{"LANG_MAIN_TITLE"}},
        {"text in any pack, Cyrillic case ignored", {true, true}, text, V{"LANG_B_Y"}},
        {"text also in an unticked pack", {true, false}, text, V{"LANG_B_Y"}},
        {"empty text", {true, true}, emptyText, V{"LANG_MAIN_TITLE", "LANG_A_X", "LANG_B_Y"}},
        {"marked for review", {true, true}, flagged, V{"LANG_B_Y"}},
        {"nothing ticked", {false, false}, all, V{}},
    };
    for (const TCase& t : cases) {
        TSearchInput input;
        input.Packs = {eng.get(), rus.get()};
        input.Ticked = t.ticked;
        input.Flagged = {"LANG_B_Y"};
        EXPECT_EQ(Search(input, t.c), t.expected) << t.what;
    }
}

TEST(SearchWalk, StopsBeforeTheNextItem) {
    auto pack = Pack({{"A", u"1"}, {"B", u"2"}, {"C", u"3"}, {"D", u"4"}});
    TSearchInput input;
    input.Packs = {pack.get()};
    input.Ticked = {true};
    std::atomic<bool> stop{false};
    std::vector<std::string> found;
    int maximum = -1;
    RunSearch(
        input, {}, stop,
        [&](const std::string& p, int) {
            found.push_back(p);
            if (found.size() == 2)
                stop = true;
        },
        [&](int m) { maximum = m; });
    EXPECT_EQ(found, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(maximum, 5); // the union's items less one: SYSTEM_ENCODING and SYSTEM count too
}

namespace {

class SearchView : public test::TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        Dir.Write("work/RUS.lng", "<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r  <LCID>$0419</LCID>\r"
                                  "</SYSTEM>\r<LANG>\r  <MAIN>\r    <TITLE>Привет мир</TITLE>\r"
                                  "  </MAIN>\r  <B>Пока</B>\r</LANG>\r");
        Dir.Write("work/ENU.lng", "<SYSTEM>\r  <LCID>$0409</LCID>\r</SYSTEM>\r<LANG>\r  <MAIN>\r"
                                  "    <TITLE>Hello world</TITLE>\r  </MAIN>\r</LANG>\r");
    }
    static void WaitIdle(TfrSearch* s) {
        for (int i = 0; i < 500 && s->Searching(); ++i)
            QTest::qWait(10);
        ASSERT_FALSE(s->Searching());
    }
    template <class T> static T* Child(QWidget& w, const char* name) {
        auto* c = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
};

} // namespace

TEST_F(SearchView, FindsAndHandsTheResultToTheNameFieldAndValuePanel) {
    TfMain w;
    w.OpenWorkingFolder(Work);
    Child<QAction>(w, "tbtnViewFind")->trigger();
    EXPECT_TRUE(w.SearchViewShown());
    EXPECT_TRUE(Child<TfrSearch>(w, "frSearch")->isVisibleTo(&w));
    EXPECT_FALSE(Child<QAction>(w, "miDeleteItem")->isEnabled()); // never in the search view
    EXPECT_EQ(Child<QComboBox>(w, "cbxSearchType")->currentIndex(), -1);

    // Typing ticks the criterion; the search starts and holds the set still.
    auto* text = Child<QLineEdit>(w, "edtSearchInText");
    QTest::keyClicks(text, QStringLiteral("WORLD"));
    EXPECT_TRUE(Child<QCheckBox>(w, "cbxSearchInText")->isChecked());
    auto* action = Child<QPushButton>(w, "btnAction");
    QTest::mouseClick(action, Qt::LeftButton);
    TfrSearch* search = w.Search();
    if (search->Searching()) { // not yet finished on this thread
        EXPECT_EQ(action->text(), QString::fromUtf8("Остановить"));
        EXPECT_FALSE(Child<QAction>(w, "miRefresh")->isEnabled());
        EXPECT_FALSE(Child<QAction>(w, "miSaveAll")->isEnabled());
        EXPECT_FALSE(w.LangPacks()->isEnabled());
        EXPECT_FALSE(text->isEnabled());
        EXPECT_TRUE(action->isEnabled());
    }
    WaitIdle(search);
    EXPECT_EQ(action->text(), QString::fromUtf8("Поиск"));
    EXPECT_FALSE(Child<QProgressBar>(w, "ProgressBar")->isVisible());
    EXPECT_TRUE(Child<QAction>(w, "miSaveAll")->isEnabled());
    EXPECT_TRUE(w.LangPacks()->isEnabled());
    auto* list = Child<QListWidget>(w, "ListBox");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "LANG_MAIN_TITLE");
    // The first result is selected and reported.
    EXPECT_EQ(search->GetSelectedVar(), "LANG_MAIN_TITLE");
    EXPECT_EQ(w.NameEditor()->GetVarName(), "LANG_MAIN_TITLE");
    EXPECT_TRUE(search->VarExists("lang_main_title"));
    EXPECT_TRUE(search->VarExists("LANG_MAIN"));
    EXPECT_FALSE(search->VarExists("LANG_B"));
    ASSERT_NE(search->GetTree()->GetItem_F("LANG_MAIN_TITLE"), nullptr);
    EXPECT_EQ(search->GetVarKind("LANG_MAIN"), 0);
    EXPECT_EQ(search->GetVarKind("LANG_B"), 2);
    EXPECT_FALSE(search->CanAddVar("LANG_NEW"));

    // Type 2: the variable only the Russian pack has.
    text->clear();
    Child<QCheckBox>(w, "cbxSearchInText")->setChecked(false);
    Child<QComboBox>(w, "cbxSearchType")->setCurrentIndex(2);
    QTest::mouseClick(action, Qt::LeftButton);
    WaitIdle(search);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "LANG_B");

    // Back in the browser the results stay; the view switch keeps them.
    Child<QAction>(w, "tbtnViewEdit")->trigger();
    EXPECT_FALSE(w.SearchViewShown());
    EXPECT_EQ(list->count(), 1);
}

TEST_F(SearchView, MarkedForReviewReadsTheFlagsOfTheTickedPacks) {
    TfMain w;
    w.OpenWorkingFolder(Work);
    WriteStr("lpack_ENU", "needtochange_LANG_MAIN_TITLE", "true", CacheDir() + "package.ini");
    WriteStr("lpack_RUS", "needtochange_LANG_B", "false", CacheDir() + "package.ini");
    w.SwitchView(true);
    Child<QComboBox>(w, "cbxSearchType")->setCurrentIndex(1);
    w.Search()->StartSearch();
    WaitIdle(w.Search());
    auto* list = Child<QListWidget>(w, "ListBox");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "LANG_MAIN_TITLE");

    Child<QCheckBox>(w, "chkPack0")->click(); // untick ENU: its flags no longer count
    w.Search()->StartSearch();
    WaitIdle(w.Search());
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(w.Search()->GetSelectedVar(), "");
}

TEST_F(SearchView, StoppingKeepsTheResultsAndClosingWaitsForTheWorker) {
    std::string big = "<SYSTEM>\r  <LCID>$0409</LCID>\r</SYSTEM>\r";
    for (int f = 0; f < 200; ++f) {
        big += "<F" + std::to_string(f) + ">\r";
        for (int i = 0; i < 100; ++i)
            big += "<V" + std::to_string(i) + ">x</V" + std::to_string(i) + ">\r";
        big += "</F" + std::to_string(f) + ">\r";
    }
    Dir.Write("work/ENU.lng", big);
    TfMain w;
    w.OpenWorkingFolder(Work);
    w.SwitchView(true);
    TfrSearch* search = w.Search();
    auto* list = Child<QListWidget>(w, "ListBox");
    search->StartSearch();
    WaitIdle(search);
    std::vector<QString> complete;
    for (int i = 0; i < list->count(); ++i)
        complete.push_back(list->item(i)->text());
    ASSERT_EQ(complete.size(), 20002u);

    search->StartSearch();
    for (int i = 0; i < 500 && list->count() == 0; ++i)
        QTest::qWait(2); // the first results are in
    search->StopAndWait();
    EXPECT_FALSE(search->Searching());
    EXPECT_EQ(Child<QPushButton>(w, "btnAction")->text(), QString::fromUtf8("Поиск"));
    EXPECT_TRUE(Child<QAction>(w, "miSaveAll")->isEnabled());
    EXPECT_FALSE(Child<QAction>(w, "miRefresh")->isEnabled()); // never in the search view
    // What was found before the stop is the start of the complete list.
    ASSERT_LE(static_cast<std::size_t>(list->count()), complete.size());
    for (int i = 0; i < list->count(); ++i)
        ASSERT_EQ(list->item(i)->text(), complete[static_cast<std::size_t>(i)]) << i;
    ASSERT_GT(list->count(), 0);
    EXPECT_EQ(search->GetSelectedVar(), complete[0].toStdString());

    // Closing the window with a search running stops it before the set goes.
    search->StartSearch();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(search->Searching());
    EXPECT_TRUE(w.LangPacks()->WorkDir().empty());
}

TEST_F(SearchView, TheNameFieldSelectsResultsAndCannotAdd) {
    TfMain w;
    w.OpenWorkingFolder(Work);
    w.SwitchView(true);
    w.Search()->StartSearch(); // all variables: LANG_MAIN_TITLE and LANG_B
    WaitIdle(w.Search());
    auto* list = Child<QListWidget>(w, "ListBox");
    ASSERT_EQ(list->count(), 2);

    auto* name = Child<QComboBox>(w, "edtVarName");
    auto* note = Child<QLabel>(w, "lblNote");
    auto* add = Child<QWidget>(w, "btnAdd");
    name->setFocus();
    name->lineEdit()->selectAll();
    QTest::keyClicks(name->lineEdit(), QStringLiteral("LANG_NEW"));
    EXPECT_EQ(
        note->text(),
        QString::fromUtf8("Внимание! В данном режиме эта переменная не может быть добавлена"));
    EXPECT_FALSE(add->isVisibleTo(&w));
    EXPECT_EQ(list->count(), 2); // nothing was added anywhere

    name->lineEdit()->selectAll();
    QTest::keyClicks(name->lineEdit(), QStringLiteral("LANG_B"));
    EXPECT_EQ(w.Search()->GetSelectedVar(), "LANG_B");
    EXPECT_EQ(w.VarMemo()->GetVarPath(), "LANG_B");
}

TEST_F(SearchView, AFinishedSearchLeavesTheBrowserItsVariable) {
    TfMain w;
    w.OpenWorkingFolder(Work);
    w.SwitchView(true);
    w.Search()->StartSearch();
    w.SwitchView(false); // back to the browser while the search runs
    w.Browser()->SelectVar("LANG_B");
    WaitIdle(w.Search());
    EXPECT_EQ(w.NameEditor()->GetVarName(), "LANG_B");
    EXPECT_EQ(w.VarMemo()->GetVarPath(), "LANG_B");
}
