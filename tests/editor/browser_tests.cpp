// The variable browser on real widgets (offscreen) over a real pack set:
// the union tree, the path combo boxes, adding (with the "choose folder"
// step), inline renaming, deleting, drag and drop, double click.
#include "BrowserTest.h"

#include "editor/uVars.h"
#include "engine/uIni.h"
#include "support_qt/ScriptedHostUI.h"

#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lx;
using namespace lx::editor;
using lx::host::TMsgResult;

namespace {

// Packs in file order: DEU (0), ENU (1), RUS (2).
const std::string kDeu = "<A>\r  <X>x-de</X>\r  <B>\r    <X>bx-de</X>\r  </B>\r</A>\r<C></C>\r";
const std::string kEnu = "<A>\r  <Y>y-en</Y>\r  <B>\r    <X>bx-en</X>\r  </B>\r</A>\r<C>\r"
                         "  <Q>q</Q>\r</C>\r";
const std::string kRus = "<A>\r  <X>x-ru</X>\r</A>\r";

class BrowserFrame : public test::TBrowserTest {
protected:
    void OpenThree() { Open({{"DEU", kDeu}, {"ENU", kEnu}, {"RUS", kRus}}); }
    void Tick(int pack, bool on) {
        Set.SetPackChecked(pack, on);
        Browser.Refresh();
    }
    // A drag of the variable at `from` that ends on `onto` (null: empty space).
    void Drag(const std::string& from, QTreeWidgetItem* onto) {
        QMimeData mime;
        mime.setData("application/x-glotrix-variable", QByteArray::fromStdString(from));
        const QPoint pos = onto ? View()->visualItemRect(onto).center() : QPoint(5, 390);
        QDragEnterEvent enter(pos, Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(View()->viewport(), &enter);
        QDragMoveEvent move(pos, Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(View()->viewport(), &move);
        QDropEvent drop(QPointF(pos), Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(View()->viewport(), &drop);
    }
    void ExpandAll() { View()->expandAll(); }
    // A press and release, then the double click, as the mouse sends them.
    void DoubleClick(const std::string& path) {
        const QPoint at = View()->visualItemRect(Browser.NodeOf(path)).center();
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, at);
    }
};

} // namespace

TEST_F(BrowserFrame, ShowsTheUnionOfTheTickedPacksSorted) {
    OpenThree();
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"A", "A/B", "A/B/X", "A/X", "A/Y", "C", "C/Q"}));
    EXPECT_FALSE(Browser.VarExists("SYSTEM_ENCODING"));
    EXPECT_EQ(Browser.GetVarCount(), 7);
    // The first node is selected and reported to both panels.
    EXPECT_EQ(Browser.GetSelectedVar(), "A");
    EXPECT_EQ(Name.Name, "A");
    EXPECT_EQ(Memo.Path, "A");
    Tick(1, false); // ENU alone held A_Y and C_Q
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"A", "A/B", "A/B/X", "A/X", "C"}));
    // A path with an empty name in it names nothing.
    EXPECT_FALSE(Browser.VarExists("A_"));
    EXPECT_EQ(Browser.GetVarKind("A__X"), 2);
    EXPECT_EQ(Browser.GetVarKind("A"), 0);
    EXPECT_EQ(Browser.GetVarKind("a_x"), 1);
}

TEST_F(BrowserFrame, PathComboBoxesNarrowTheView) {
    OpenThree();
    QComboBox* first = Combo(0);
    EXPECT_EQ(first->count(), 3); // show all, A, C
    EXPECT_EQ(first->itemText(0), QString::fromUtf8("Показывать все"));
    Choose(first, "A");
    QComboBox* second = Combo(1);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->currentIndex(), 0);
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"B", "B/X", "X", "Y"}));
    EXPECT_EQ(Browser.GetSelectedVar(), "A_B"); // the first node, reported
    EXPECT_EQ(Memo.Path, "A_B");

    Choose(second, "X"); // a variable: a third box with show all only, and no nodes
    ASSERT_NE(Combo(2), nullptr);
    EXPECT_EQ(Combo(2)->count(), 1);
    EXPECT_TRUE(Nodes().empty());
    EXPECT_EQ(Memo.Path, "");

    Choose(first, QString::fromUtf8("Показывать все"));
    EXPECT_FALSE(second->isVisible());
    EXPECT_FALSE(Combo(2)->isVisible());
    EXPECT_EQ(Nodes().size(), 7u);
}

TEST_F(BrowserFrame, AddingPutsThePathIntoTheViewOnly) {
    OpenThree();
    test::TScriptedHostUI& ui = UI;
    Browser.AddVar("A_Z");
    EXPECT_TRUE(Browser.VarExists("A_Z"));
    EXPECT_EQ(Nodes()[5], "A/Z");
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(Has(i, "A_Z")); // only ticking a pack in the value panel creates it

    // Narrowed to A: a path under C adds no node, but its top name is listed.
    Choose(Combo(0), "A");
    const auto narrowed = Nodes();
    Browser.AddVar("D_E");
    EXPECT_EQ(Nodes(), narrowed);
    EXPECT_GE(Combo(0)->findText("D"), 0);
    Browser.AddVar("A_B_NEW");
    EXPECT_NE(std::find(Nodes().begin(), Nodes().end(), "B/NEW"), Nodes().end());

    // Adding what exists, or a malformed path, changes nothing.
    const int count = Browser.GetVarCount();
    for (const char* path : {"A_Z", "a_z", "", "A__Q", "A_<Q>", "A_"}) {
        EXPECT_EQ(Browser.CanAddVar(path), std::string(path) == "A_Z" || std::string(path) == "a_z")
            << path;
        Browser.AddVar(path);
        EXPECT_EQ(Browser.GetVarCount(), count) << path;
    }
    EXPECT_TRUE(ui.Questions().empty());
    // The added variable is gone after the next refresh: no ticked pack has it.
    Browser.Refresh();
    EXPECT_FALSE(Browser.VarExists("A_Z"));
}

// Adding A_X_C makes the former variable A_X a folder: its texts move.
TEST_F(BrowserFrame, AddingBelowAVariableMovesItsText) {
    OpenThree();
    UI.ExpectInput("A_OLD");
    Browser.AddVar("A_X_C");
    ASSERT_EQ(UI.Questions().size(), 1u); // the input box, and nothing else
    for (int pack : {0, 2}) {
        EXPECT_EQ(Text(pack, "A_X"), u"") << pack;
        EXPECT_FALSE(Has(pack, "A_X_C")) << pack;
    }
    EXPECT_EQ(Text(0, "A_OLD"), u"x-de");
    EXPECT_EQ(Text(2, "A_OLD"), u"x-ru");
    EXPECT_FALSE(Has(1, "A_OLD")); // ENU had no A_X
    const auto nodes = Nodes();
    EXPECT_NE(std::find(nodes.begin(), nodes.end(), "A/X/C"), nodes.end());
    EXPECT_NE(std::find(nodes.begin(), nodes.end(), "A/OLD"), nodes.end());
}

TEST_F(BrowserFrame, ChooseFolderProposalAndRefusals) {
    OpenThree();
    struct TCase {
        const char* Name;
        std::vector<QString> Inputs; // "!" cancels
        bool Added;
        int Errors;
    };
    const std::vector<TCase> cases = {
        {"cancel keeps text and path", {"!"}, false, 0},
        {"empty entry is a cancel", {"  "}, false, 0},
        {"an existing text is not overwritten", {"A_Y", "A_NEW"}, true, 1},
        {"the variable itself is refused", {"A_X", "A_NEW"}, true, 1},
        {"a folder is refused", {"A_B", "A_NEW"}, true, 1},
        {"a bad name is refused", {"A_<b>", "A_NEW"}, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Set.ReloadPacks(); // the cache files were never written: every case starts afresh
        Browser.Refresh();
        test::TScriptedHostUI ui;
        for (const auto& in : c.Inputs)
            ui.ExpectInput(in == "!" ? QString() : in, in == "!");
        for (int i = 0; i < c.Errors; ++i)
            ui.Expect(TMsgResult::Ok);
        Browser.AddVar("A_X_C");
        EXPECT_EQ(ui.Pending(), 0u);
        EXPECT_EQ(Browser.VarExists("A_X_C"), c.Added);
        EXPECT_EQ(ui.Questions().size(), c.Inputs.size() + static_cast<std::size_t>(c.Errors));
        EXPECT_EQ(Text(1, "A_Y"), u"y-en");
        if (c.Added) {
            EXPECT_EQ(Text(0, "A_NEW"), u"x-de");
            EXPECT_EQ(Text(0, "A_X"), u"");
            continue;
        }
        EXPECT_EQ(Text(0, "A_X"), u"x-de");
    }
}

TEST_F(BrowserFrame, TheProposalIsANewVariableBesideTheAddedOne) {
    Open({{"DEU", "<A>\r  <B>b</B>\r</A>\r"}});
    QString proposal;
    struct TCapture : test::TScriptedHostUI {
        QString* Seen;
        bool InputBox(const QString& c, const QString& p, QString& v) override {
            *Seen = v;
            Prompt = p;
            return TScriptedHostUI::InputBox(c, p, v);
        }
        QString Prompt;
    } ui;
    ui.Seen = &proposal;
    ui.ExpectInput("", true);
    Browser.AddVar("A_B_ITEM1"); // the proposal steps past the name being added
    EXPECT_EQ(proposal, "A_B_ITEM2");
    EXPECT_TRUE(ui.Prompt.contains("[A_B]"));
}

TEST_F(BrowserFrame, InlineRenameKeysAndRules) {
    OpenThree();
    ExpandAll();
    Browser.SelectVar("A_X");
    QTest::keyClick(View(), Qt::Key_F2);
    auto* edit = Browser.findChild<QLineEdit*>("edtCT");
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->selectedText(), "X");
    QTest::keyClicks(edit, "n_ew-1!");
    EXPECT_EQ(edit->text(), "NEW-1"); // upper case; '_' and '!' dropped
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(Text(0, "A_NEW-1"), u"x-de");
    EXPECT_EQ(Text(2, "A_NEW-1"), u"x-ru");
    EXPECT_FALSE(Has(0, "A_X"));
    EXPECT_EQ(Browser.GetSelectedVar(), "A_NEW-1");
    EXPECT_EQ(Name.Name, "A_NEW-1");

    // A_Y exists: renaming to Y is refused everywhere.
    Browser.SelectVar("A_NEW-1");
    Browser.StartRename();
    edit->clear();
    QTest::keyClicks(edit, "y");
    UI.Expect(TMsgResult::Ok);
    QTest::keyClick(edit, Qt::Key_Enter);
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Text, "Bad item name.");
    EXPECT_TRUE(Has(0, "A_NEW-1"));
    EXPECT_TRUE(Browser.VarExists("A_NEW-1"));

    // Escape keeps the name.
    Browser.StartRename();
    QTest::keyClicks(edit, "Q");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_TRUE(Has(0, "A_NEW-1"));
}

// A renamed or deleted folder that a path combo box lists is never
// addressed by its old position.
TEST_F(BrowserFrame, ComboBoxesFollowRenamesAndDeletes) {
    OpenThree();
    Choose(Combo(0), "A");
    Choose(Combo(1), "B");
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"X"}));
    Browser.SelectVar("A_B_X");
    Browser.StartRename();
    auto* edit = Browser.findChild<QLineEdit*>("edtCT");
    edit->clear();
    QTest::keyClicks(edit, "Z");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Combo(1)->currentText(), "B");
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"Z"}));

    // Deleting the folder the view shows: the box falls back to show all on A.
    UI.Expect(TMsgResult::Yes);
    Browser.DeleteVar("A_B");
    EXPECT_FALSE(Has(0, "A_B"));
    EXPECT_FALSE(Has(1, "A_B"));
    EXPECT_EQ(Combo(1)->currentIndex(), 0);
    EXPECT_EQ(Combo(1)->findText("B"), -1);
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"X", "Y"}));
    Choose(Combo(1), "Y");
    EXPECT_EQ(Combo(2)->count(), 1);
}

TEST_F(BrowserFrame, DeletingAsksAndReachesUntickedPacks) {
    OpenThree();
    Tick(2, false); // RUS unticked, it has A_X too
    ExpandAll();
    Browser.SelectVar("A_X");
    UI.Expect(TMsgResult::No);
    Browser.DeleteSelected();
    EXPECT_TRUE(Has(0, "A_X"));
    EXPECT_TRUE(UI.Questions()[0].Text.contains("[A_X]"));
    EXPECT_EQ(UI.Questions()[0].Buttons, host::TMsgButtons::YesNo);

    UI.Expect(TMsgResult::Yes);
    Browser.findChild<QAction*>("pmiDeleteVar")->trigger();
    EXPECT_FALSE(Has(0, "A_X"));
    EXPECT_FALSE(Has(2, "A_X"));
    EXPECT_FALSE(Browser.VarExists("A_X"));
    EXPECT_EQ(Browser.GetSelectedVar(), "A_B_X"); // the node above
    EXPECT_EQ(Memo.Path, "A_B_X");
    Browser.DeleteVar("NOPE"); // asks nothing
    EXPECT_EQ(UI.Questions().size(), 2u);
}

TEST_F(BrowserFrame, DragAndDropMovesInTickedPacksHoldingTheTarget) {
    OpenThree();
    ExpandAll();
    std::vector<TVarNames> wizard;
    Browser.SetRenameWizard([&](const TVarNames& p) { wizard.push_back(p); });
    // Ignored: onto itself, into its own subtree, onto its parent, onto empty space.
    for (const char* onto : {"A_B", "A_B_X", "A"}) {
        Drag("A_B", Browser.NodeOf(onto));
        EXPECT_TRUE(Browser.VarExists("A_B")) << onto;
    }
    Drag("A_B", nullptr);
    EXPECT_TRUE(Browser.VarExists("A_B"));
    EXPECT_TRUE(UI.Questions().empty());

    // Cancel keeps everything.
    UI.Expect(TMsgResult::Cancel);
    Drag("A_B", Browser.NodeOf("C"));
    EXPECT_TRUE(Has(0, "A_B_X"));
    EXPECT_EQ(UI.Questions().back().Buttons, host::TMsgButtons::OkCancel);
    EXPECT_TRUE(UI.Questions().back().Text.endsWith(QString::fromUtf8("A_B в C_B")));

    WriteStr("settings", "fMain.miCNWizardAutoOpen.Checked", "true", MainIniFileName());
    UI.Expect(TMsgResult::Ok);
    Drag("A_B", Browser.NodeOf("C"));
    EXPECT_EQ(Text(0, "C_B_X"), u"bx-de");
    EXPECT_EQ(Text(1, "C_B_X"), u"bx-en");
    EXPECT_FALSE(Has(0, "A_B"));
    EXPECT_TRUE(Browser.VarExists("C_B_X"));
    EXPECT_EQ(Browser.GetSelectedVar(), "C_B");
    EXPECT_EQ(Memo.Path, "C_B");
    ASSERT_EQ(wizard.size(), 1u);
    EXPECT_EQ(wizard[0], (TVarNames{{"A_B", "C_B"}, {"A_B_X", "C_B_X"}}));
    EXPECT_FALSE(Browser.Dragging());

    // RUS lacks C: its A_X stays where it was.
    UI.Expect(TMsgResult::Ok);
    Drag("A_X", Browser.NodeOf("C"));
    EXPECT_TRUE(Has(2, "A_X"));
    EXPECT_EQ(Text(0, "C_X"), u"x-de");
}

TEST_F(BrowserFrame, AMoveThatWouldLoseSomethingIsRefused) {
    Open({{"DEU", "<A>\r  <Q>a</Q>\r</A>\r<C>\r  <Q>c</Q>\r</C>\r<T>text</T>\r"}});
    ExpandAll();
    UI.Expect(TMsgResult::Ok); // the refusal
    Drag("A_Q", Browser.NodeOf("C"));
    EXPECT_EQ(Text(0, "A_Q"), u"a");
    EXPECT_EQ(Text(0, "C_Q"), u"c");
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Kind, host::TMsgKind::Error);

    UI.Expect(TMsgResult::Ok); // a variable with text cannot become a folder
    Drag("A_Q", Browser.NodeOf("T"));
    EXPECT_EQ(Text(0, "T"), u"text");
    EXPECT_EQ(Text(0, "A_Q"), u"a");
    EXPECT_EQ(UI.Questions().size(), 2u);
}

TEST_F(BrowserFrame, DragTimersExpandAndScroll) {
    OpenThree();
    QTreeWidgetItem* a = Browser.NodeOf("A");
    ASSERT_FALSE(a->isExpanded());
    QMimeData mime;
    mime.setData("application/x-glotrix-variable", "C");
    const QPoint pos = View()->visualItemRect(a).center();
    QDragEnterEvent enter(pos, Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(View()->viewport(), &enter);
    QDragMoveEvent move(pos, Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(View()->viewport(), &move);
    auto* expand = Browser.findChild<QTimer*>("tmrExpand");
    auto* scroller = Browser.findChild<QTimer*>("tmrScroller");
    EXPECT_TRUE(expand->isActive());
    EXPECT_EQ(expand->interval(), 700);
    EXPECT_TRUE(scroller->isActive());
    EXPECT_EQ(scroller->interval(), 250);
    EXPECT_EQ(Browser.GetSelectedVar(), "A"); // an accepted target is selected
    Browser.tmrExpandTimer();
    EXPECT_TRUE(a->isExpanded());
    Browser.ScrollForPointer(View()->viewport()->height() + 20); // two visible rows down
    EXPECT_EQ(Browser.GetSelectedVar(), "A_X");                  // B is collapsed
    Browser.DragEnded();
    EXPECT_FALSE(scroller->isActive());
    EXPECT_EQ(Memo.Path, "A_X"); // reported once the drag is over
}

TEST_F(BrowserFrame, DoubleClickNarrowsAndWidens) {
    OpenThree();
    ExpandAll();
    DoubleClick("A_B_X");
    EXPECT_EQ(Combo(0)->currentText(), "A");
    EXPECT_EQ(Combo(1)->currentText(), "B");
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"X"}));
    EXPECT_EQ(Browser.GetSelectedVar(), "A_B_X");
    DoubleClick("A_B_X"); // now at the top of the view
    EXPECT_EQ(Combo(0)->currentIndex(), 0);
    EXPECT_EQ(Nodes().size(), 7u);
    EXPECT_EQ(Browser.GetSelectedVar(), "A_B_X");
    // A folder, and a variable on the first level, do not react.
    ExpandAll();
    for (const char* path : {"A", "A_B"}) {
        DoubleClick(path);
        EXPECT_EQ(Combo(0)->currentIndex(), 0) << path;
        EXPECT_EQ(Nodes().size(), 7u) << path;
    }
}

TEST_F(BrowserFrame, SelectingFromTheNameFieldIsNotEchoed) {
    OpenThree();
    ExpandAll();
    const int before = Name.Calls;
    Browser.BeginUpdate();
    Browser.SelectVar("a_y");
    Browser.EndUpdate();
    EXPECT_EQ(Name.Calls, before);
    EXPECT_EQ(Memo.Path, "A_Y");
    Browser.SelectVar("A_X");
    EXPECT_EQ(Name.Name, "A_X");
    Browser.SelectVar("A_NONE"); // nothing matches: nothing changes
    EXPECT_EQ(Browser.GetSelectedVar(), "A_X");
}
