// The name field on real widgets (offscreen): status and note, the add
// button, the typing rules, suggestions one level at a time, the clipboard
// formats; and Ctrl+Insert in the main window.
#include "PanelFakes.h"
#include "WorkFolderTest.h"
#include "editor/frames/uBrowser.h"
#include "editor/frames/uTextEditor.h"
#include "editor/frames/uVarMemo.h"
#include "editor/frames/uVarNameEditor.h"
#include "editor/uLangPacksFrame.h"
#include "editor/uMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lx;
using namespace lx::editor;
using lx::test::TTestBrowser;

namespace {

const QString kStatusNew = QString::fromUtf8("Статус: \"Новая переменная\"");
const QString kStatusEdit = QString::fromUtf8("Статус: \"Редактирование переменной\"");
const QString kNoteAdd = QString::fromUtf8(
    "Внимание! Для добавления переменной с этим именем нажмите кнопку <Добавить>");
const QString kNoteCannot =
    QString::fromUtf8("Внимание! В данном режиме эта переменная не может быть добавлена");

class NameField : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* p : {"LANG_MAIN_TITLE", "LANG_MAIN_TEXT", "LANG_ABOUT", "OTHER"})
            Browser.Tree.AddGlobalItem(p);
        Browser.Name = &Field;
        Field.SetBrowser(&Browser);
        Combo = Field.findChild<QComboBox*>("edtVarName");
        ASSERT_NE(Combo, nullptr);
    }
    // Types as a user does; a list that opens on the way is closed again.
    void Type(const QString& keys) {
        for (QChar c : keys) {
            if (c.unicode() < 128)
                QTest::keyClicks(Combo, QString(c));
            else // QTest's key table knows only ASCII
                QTest::sendKeyEvent(QTest::Click, Combo, Qt::Key(c.toUpper().unicode()), QString(c),
                                    Qt::NoModifier);
            Combo->hidePopup();
        }
    }
    void Clear() {
        Combo->lineEdit()->selectAll();
        QTest::keyClick(Combo, Qt::Key_Backspace);
    }
    QStringList Items() {
        QStringList list;
        for (int i = 0; i < Combo->count(); ++i)
            list << Combo->itemText(i);
        return list;
    }
    QPushButton* Add() { return Field.findChild<QPushButton*>("btnAdd"); }
    QLabel* Label(const char* name) { return Field.findChild<QLabel*>(name); }

    TTestBrowser Browser;
    TfrVarNameEditor Field;
    QComboBox* Combo = nullptr;
};

} // namespace

TEST_F(NameField, StatusNoteAndSelectionFollowTheText) {
    EXPECT_EQ(Label("lblStatus")->text(), kStatusEdit); // linked with nothing selected
    Type("LANG_MAIN_TITL");
    EXPECT_EQ(Field.GetVarName(), "LANG_MAIN_TITL");
    EXPECT_FALSE(Add()->isHidden());
    EXPECT_EQ(Add()->text(), QString::fromUtf8("Добавить"));
    EXPECT_EQ(Label("lblStatus")->text(), kStatusNew);
    EXPECT_FALSE(Label("lblNote")->isHidden());
    EXPECT_EQ(Label("lblNote")->text(), kNoteAdd);
    EXPECT_GT(Browser.Cleared, 0); // a new name shows no values
    const int cleared = Browser.Cleared;

    Type("E");
    EXPECT_TRUE(Add()->isHidden());
    EXPECT_TRUE(Label("lblNote")->isHidden());
    EXPECT_EQ(Label("lblStatus")->text(), kStatusEdit);
    EXPECT_EQ(Browser.Selected, "LANG_MAIN_TITLE");
    EXPECT_EQ(Browser.Cleared, cleared);
    // Selected inside BeginUpdate/EndUpdate, so the view did not write back.
    ASSERT_FALSE(Browser.SelectedWhileUpdating.empty());
    EXPECT_TRUE(Browser.SelectedWhileUpdating.back());
    EXPECT_FALSE(Browser.Updating);
    EXPECT_EQ(Combo->itemText(0), "LANG_MAIN_TITLE"); // entry 0 is the text
    EXPECT_EQ(Combo->lineEdit()->cursorPosition(), 15);

    Clear();
    EXPECT_EQ(Field.GetVarName(), "");
    EXPECT_EQ(Label("lblStatus")->text(), kStatusEdit);
    EXPECT_TRUE(Label("lblNote")->isHidden());
    EXPECT_TRUE(Add()->isHidden());
}

TEST_F(NameField, OnlyNameCharactersCanBeTypedAndLettersAreUpperCase) {
    struct TCase {
        const char* keys;
        const char* text;
    } cases[] = {
        {"lang_x", "LANG_X"}, {"a.b c", "ABC"},   {"x-1_2", "X-1_2"},
        {"#$%/\\", ""},       {"\xd0\x96q", "Q"}, // a Cyrillic letter is refused
    };
    for (const auto& c : cases) {
        Combo->clearEditText();
        Type(QString::fromUtf8(c.keys));
        EXPECT_EQ(Field.GetVarName(), c.text) << c.keys;
    }
    // Backspace works; a name set by a view keeps its letter case.
    Combo->clearEditText();
    Type("AB");
    QTest::keyClick(Combo, Qt::Key_Backspace);
    EXPECT_EQ(Field.GetVarName(), "A");
    Field.SetVarName("lang_Mixed");
    EXPECT_EQ(Field.GetVarName(), "lang_Mixed");
}

TEST_F(NameField, AddingANewName) {
    struct TCase {
        const char* name;
        bool canAdd;  // the view allows adding
        bool button;  // the button is offered
        QString note; // empty: no note
    } cases[] = {
        {"NEW_VAR", true, true, kNoteAdd},
        {"NEW_OTHER", false, false, kNoteCannot}, // the search view
        {"OTHER", true, false, {}},
        {"_X", true, false,
         QString::fromUtf8("Внимание! Имя, в пути которого есть пустая "
                           "часть, не может быть добавлено")},
        {"A__B", true, false,
         QString::fromUtf8("Внимание! Имя, в пути которого есть пустая "
                           "часть, не может быть добавлено")},
    };
    for (const auto& c : cases) {
        Browser.CanAdd = c.canAdd;
        Field.SetVarName(c.name);
        EXPECT_EQ(!Add()->isHidden(), c.button) << c.name;
        EXPECT_EQ(Label("lblNote")->isHidden(), c.note.isEmpty()) << c.name;
        if (!c.note.isEmpty()) {
            EXPECT_EQ(Label("lblNote")->text(), c.note) << c.name;
        }
        QTest::keyClick(Combo, Qt::Key_Return); // Enter adds only when the button is there
    }
    EXPECT_EQ(Browser.Added, std::vector<std::string>{"NEW_VAR"});

    Browser.CanAdd = true;
    Clear();
    Type("OTHER_X");
    QTest::mouseClick(Add(), Qt::LeftButton);
    EXPECT_EQ(Browser.Added.back(), "OTHER_X");
    EXPECT_EQ(Browser.Selected, "OTHER_X");
    EXPECT_EQ(Label("lblStatus")->text(), kStatusEdit);
    EXPECT_TRUE(Add()->isHidden());
}

TEST_F(NameField, SuggestionsOfferOneLevelAtATime) {
    enum TKey { Underscore, CtrlSpace, AltDown };
    struct TCase {
        const char* typed;
        TKey key;
        QStringList items;
    } cases[] = {
        {"LANG", Underscore, {"LANG_", "LANG_MAIN", "LANG_ABOUT"}},
        {"LANG_MAIN_", CtrlSpace, {"LANG_MAIN_", "LANG_MAIN_TITLE", "LANG_MAIN_TEXT"}},
        {"LANG_ABOUT", CtrlSpace, {"LANG_ABOUT", "LANG_MAIN"}}, // not the text itself again
        {"", CtrlSpace, {"", "LANG", "OTHER"}},
        {"LANG_MA", AltDown, {"LANG_MA", "LANG_MAIN", "LANG_ABOUT"}},
        {"NOPE_", CtrlSpace, {"NOPE_"}},
        {"OTHER_", CtrlSpace, {"OTHER_"}}, // a variable has no children
    };
    for (const auto& c : cases) {
        Clear();
        Type(c.typed);
        const int caret = std::min(2, int(Combo->currentText().size()));
        if (c.key != Underscore)
            Combo->lineEdit()->setCursorPosition(caret);
        switch (c.key) {
        case Underscore:
            QTest::keyClick(Combo, '_');
            break;
        case CtrlSpace:
            QTest::keyClick(Combo, Qt::Key_Space, Qt::ControlModifier);
            break;
        case AltDown:
            QTest::keyClick(Combo, Qt::Key_Down, Qt::AltModifier);
            break;
        }
        EXPECT_EQ(Items(), c.items) << c.typed;
        EXPECT_TRUE(Combo->view()->isVisible()) << c.typed;
        if (c.key != Underscore) { // the caret stays; '_' was typed at it
            EXPECT_EQ(Combo->lineEdit()->cursorPosition(), caret) << c.typed;
        }
        Combo->hidePopup();
    }
    // With the list open, typing goes on in the field.
    Clear();
    Type("LANG");
    QTest::keyClick(Combo, '_');
    QWidget* list = QApplication::activePopupWidget();
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list->windowHandle(), Qt::Key_M);
    QTest::keyClick(list->windowHandle(), Qt::Key_Period); // still only name characters
    EXPECT_EQ(Field.GetVarName(), "LANG_M");
    QTest::keyClick(list->windowHandle(), Qt::Key_Backspace);
    QTest::keyClick(list->windowHandle(), Qt::Key_A);
    EXPECT_EQ(Field.GetVarName(), "LANG_A");
    EXPECT_TRUE(Combo->view()->isVisible());
    Combo->hidePopup();

    // Choosing a suggestion selects it in the view.
    Clear();
    Type("LANG");
    QTest::keyClick(Combo, '_');
    Combo->hidePopup();
    Combo->setCurrentIndex(2);
    emit Combo->activated(2);
    EXPECT_EQ(Field.GetVarName(), "LANG_ABOUT");
    EXPECT_EQ(Browser.Selected, "LANG_ABOUT");
}

TEST_F(NameField, ANewViewGivesItsSelection) {
    TTestBrowser search;
    search.Tree.AddGlobalItem("LANG_ABOUT");
    search.Tree.AddGlobalItem("LANG_X");
    search.Selected = "LANG_ABOUT";
    search.CanAdd = false;
    Field.SetBrowser(&search);
    EXPECT_EQ(Field.GetVarName(), "LANG_ABOUT");
    EXPECT_EQ(Items(), (QStringList{"LANG_ABOUT", "LANG_X"}));
    Type("Z");
    EXPECT_EQ(Label("lblNote")->text(), kNoteCannot);
    // Without a view the field only keeps its text.
    Field.SetBrowser(nullptr);
    Type("Q");
    EXPECT_EQ(Field.GetVarName(), "LANG_ABOUTZQ");
    EXPECT_EQ(search.Added.size() + Browser.Added.size(), 0u);
}

TEST(NameFormats, TemplateSyntaxForNamesUnderLANG) {
    struct TCase {
        std::string name, standard, html, php;
    } cases[] = {
        {"LANG_MAIN_TITLE", "LANG_MAIN_TITLE", "{MAIN_TITLE}", "$lang->items['MAIN_TITLE']"},
        {"MAIN_TITLE", "MAIN_TITLE", "MAIN_TITLE", "MAIN_TITLE"},
        {"LANG_", "LANG_", "LANG_", "LANG_"},
        {"LANG_X", "LANG_X", "{X}", "$lang->items['X']"},
        {"lang_X", "lang_X", "lang_X", "lang_X"}, // letter case counts
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatVarName(c.name, TNameFormat::Standard), c.standard);
        EXPECT_EQ(FormatVarName(c.name, TNameFormat::HTML), c.html);
        EXPECT_EQ(FormatVarName(c.name, TNameFormat::PHP), c.php);
    }
}

// ---------------------------------------------------------------------------
// In the main window

namespace {

class MainWindowPanels : public test::TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        Dir.Write("work/ENU.lng", "<SYSTEM>\r  <LCID>$0409</LCID>\r</SYSTEM>\r<LANG>\r  <MAIN>\r"
                                  "    <TITLE>Title</TITLE>\r  </MAIN>\r</LANG>\r");
    }
    QAction* Action(TfMain& w, const char* name) {
        auto* a = w.findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    // Opens the folder in a shown, active window with LANG_MAIN_TITLE selected.
    void Open(TfMain& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        w.OpenWorkingFolder(Work);
        w.Browser()->SelectVar("LANG_MAIN_TITLE");
        ASSERT_EQ(w.NameEditor()->GetVarName(), "LANG_MAIN_TITLE");
    }
    void CtrlInsert() {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_Insert, Qt::ControlModifier);
    }
};

} // namespace

TEST_F(MainWindowPanels, CtrlInsertCopiesTheNameInTheChosenFormat) {
    TfMain w;
    Open(w);
    QClipboard* clip = QGuiApplication::clipboard();
    QPlainTextEdit* text = w.VarMemo()->Editor(0)->Memo(); // ENU, the first pack
    ASSERT_EQ(text->toPlainText(), "Title");
    text->selectAll();

    // PHP, copy always: from the text editor too, not its selected text.
    Action(w, "miBufPHP")->trigger();
    Action(w, "miclipAlways")->trigger();
    EXPECT_EQ(w.ClipboardNameFormat(), TNameFormat::PHP);
    text->setFocus();
    clip->setText("before");
    CtrlInsert();
    EXPECT_EQ(clip->text(), "$lang->items['MAIN_TITLE']");
    EXPECT_EQ(w.findChild<QLineEdit*>("edtBufHint")->text(), "$lang->items['MAIN_TITLE']");

    // HTML, copy when focused: outside the name field nothing happens at all.
    Action(w, "miBufHTML")->trigger();
    Action(w, "miClipStd")->trigger();
    clip->setText("before");
    CtrlInsert();
    EXPECT_EQ(clip->text(), "before");
    EXPECT_EQ(text->toPlainText(), "Title");
    // ... and in the name field it copies.
    w.NameEditor()->FocusName();
    CtrlInsert();
    EXPECT_EQ(clip->text(), "{MAIN_TITLE}");

    // Standard: the focused control copies its selection as usual.
    Action(w, "miBufStd")->trigger();
    EXPECT_EQ(ReadStr("settings", "fMain.miBufStd.Checked", "", MainIniFileName()), "true");
    EXPECT_EQ(ReadStr("settings", "fMain.miBufHTML.Checked", "", MainIniFileName()), "false");
    auto* name = w.findChild<QComboBox*>("edtVarName");
    name->lineEdit()->setSelection(5, 4);
    CtrlInsert();
    EXPECT_EQ(clip->text(), "MAIN");
}

TEST_F(MainWindowPanels, GoMenuAndTheDeletionSetting) {
    Dir.Write("work/DEU.lng", "<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r</SYSTEM>\r<a>eins</a>\r");
    TfMain w;
    Open(w);
    // Packs: DEU, ENU, RUS; only ENU holds the variable.
    TfrVarMemo* memo = w.VarMemo();
    QMenu* go = w.findChild<QMenu*>("miGo");
    ASSERT_EQ(go->actions().size(), 3);
    go->actions()[1]->trigger();
    EXPECT_EQ(w.focusWidget(), memo->Editor(1)->Memo());
    EXPECT_FALSE(memo->Editor(1)->Check()->isEnabled()); // the setting is on

    go->actions()[0]->trigger(); // DEU lacks it: the Go menu adds it there
    TXMLTreeItem* deu = w.LangPacks()->Set().GetPack(0);
    ASSERT_NE(deu->GetItem_F("LANG_MAIN_TITLE"), nullptr);
    EXPECT_TRUE(memo->Editor(0)->IsExpanded());
    EXPECT_EQ(w.focusWidget(), memo->Editor(0)->Memo());
    QTest::keyClicks(memo->Editor(0)->Memo(), "Titel");
    EXPECT_EQ(static_cast<TXMLTreeItem*>(deu->GetItem_F("LANG_MAIN_TITLE"))->GetText(), u"Titel");

    // Switching the setting off lets the ticks be taken back at once.
    Action(w, "miDisableVarTextDeletion")->trigger();
    EXPECT_EQ(ReadStr("settings", "fMain.miDisableVarTextDeletion.Checked", "", MainIniFileName()),
              "false");
    EXPECT_TRUE(memo->Editor(0)->Check()->isEnabled());
    EXPECT_TRUE(memo->Editor(1)->Check()->isEnabled());
}
