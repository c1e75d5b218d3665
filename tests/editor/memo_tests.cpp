// The value panel on real widgets (offscreen): one editor per ticked pack,
// expanded or collapsed, texts shown and stored, ticking and unticking a
// pack, review marks, fonts and the Go menu.
#include "PanelFakes.h"
#include "editor/frames/uTextEditor.h"
#include "editor/frames/uVarMemo.h"
#include "editor/uVars.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace lx;
using namespace lx::editor;
using lx::test::TTestBrowser;
using lx::test::TTestPacks;

namespace {

class ValuePanel : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        Packs.Add("DEU", {{"LANG_MAIN_TITLE", u"Titel"}, {"LANG_LT", u"a&lt;b&gt;c"}});
        Packs.Add("ENU", {{"LANG_MAIN_TITLE", u"Title"}});
        Packs.Add("FRA", {{"LANG_OTHER", u"autre"}});
        Browser.MergeFrom(Packs);
        Browser.Memo = &Memo;
        Memo.resize(400, 600);
        Memo.SetBrowser(&Browser);
        Memo.SetLangPack(&Packs);
    }
    TfrTextEditor* Editor(int i) {
        auto* e = Memo.findChild<TfrTextEditor*>(QStringLiteral("frMain%1").arg(i));
        EXPECT_EQ(e, Memo.Editor(i));
        return e;
    }
    QFrame* ReviewFrame(int i) { return Editor(i)->findChild<QFrame*>("shpMain"); }
    TXMLTreeItem* Item(int pack, const char* path) {
        return static_cast<TXMLTreeItem*>(Packs.GetPack(pack)->GetItem_F(path));
    }

    TTestPacks Packs;
    TTestBrowser Browser;
    TfrVarMemo Memo;
    test::TScriptedHostUI UI;
};

} // namespace

TEST_F(ValuePanel, ShowsNothingForAFolderOrAPathTheViewDoesNotKnow) {
    struct TCase {
        const char* path;
        bool shown;
    } cases[] = {{"LANG_MAIN_TITLE", true}, {"LANG_MAIN", false}, {"LANG", false},
                 {"LANG_NOPE", false},      {"", false},          {"lang_other", true}};
    for (const auto& c : cases) {
        Memo.SetVarPath(c.path);
        EXPECT_EQ(!Memo.isHidden(), c.shown) << c.path;
    }
    Memo.SetVarPath("LANG_MAIN_TITLE");
    Memo.SetBrowser(nullptr);
    Memo.Refresh();
    EXPECT_TRUE(Memo.isHidden()); // no view linked
}

TEST_F(ValuePanel, OneEditorPerTickedPackInPackOrder) {
    Packs.Ticks[1] = false;
    Memo.SetVarPath("LANG_MAIN_TITLE");
    ASSERT_NE(Editor(0), nullptr);
    ASSERT_NE(Editor(2), nullptr);
    EXPECT_TRUE(Memo.Editor(1) == nullptr || Memo.Editor(1)->isHidden());
    EXPECT_EQ(Editor(0)->Check()->text(), "DEU");
    EXPECT_EQ(Editor(2)->Check()->text(), "FRA");
    // DEU holds it: expanded with its text; FRA lacks it: the strip only.
    EXPECT_EQ(Editor(0)->geometry(), QRect(0, 0, Memo.viewport()->width(), 150));
    EXPECT_EQ(Editor(2)->geometry(), QRect(0, 150, Memo.viewport()->width(), 25));
    EXPECT_EQ(Editor(0)->Memo()->toPlainText(), "Titel");
    EXPECT_FALSE(Editor(2)->Check()->isChecked());
    EXPECT_FALSE(Editor(2)->IsExpanded());

    // Ticking ENU again puts its editor between the two.
    Packs.Ticks[1] = true;
    Memo.Refresh();
    EXPECT_EQ(Editor(1)->y(), 150);
    EXPECT_EQ(Editor(2)->y(), 300);
    // Editors of packs that are gone are hidden, not kept in the stack.
    Packs.Packs.pop_back();
    Packs.Ticks.pop_back();
    Memo.Refresh();
    EXPECT_TRUE(Memo.Editor(2)->isHidden());
}

TEST_F(ValuePanel, ShowsEscapedCharactersAndStoresWhatIsTyped) {
    Memo.SetVarPath("LANG_LT");
    QPlainTextEdit* text = Editor(0)->Memo();
    EXPECT_EQ(text->toPlainText(), "a<b>c");
    EXPECT_FALSE(Packs.GetPack(0)->IsModified()); // showing changes nothing
    text->selectAll();
    QTest::keyClicks(text, "x<y");
    EXPECT_EQ(Item(0, "LANG_LT")->GetText(), u"x<y"); // stored at every keystroke
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "z");
    EXPECT_EQ(Item(0, "LANG_LT")->GetText(), u"x<y\r\nz");
    EXPECT_TRUE(Packs.GetPack(0)->IsModified());
    // Line breaks of a stored text show as lines.
    Item(1, "LANG_MAIN_TITLE")->SetText(u"one\r\ntwo");
    Memo.SetVarPath("LANG_MAIN_TITLE");
    EXPECT_EQ(Editor(1)->Memo()->toPlainText(), "one\ntwo");
}

TEST_F(ValuePanel, TypingEndsTheReviewOfThatLanguageOnly) {
    Browser.SetNeedToChange("DEU", "LANG_MAIN_TITLE");
    Browser.SetNeedToChange("ENU", "LANG_MAIN_TITLE");
    Memo.SetVarPath("LANG_MAIN_TITLE");
    EXPECT_FALSE(ReviewFrame(0)->isHidden());
    EXPECT_EQ(Editor(0)->Check()->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(Editor(2)->Check()->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(ReviewFrame(2)->isHidden());

    QTest::keyClicks(Editor(0)->Memo(), "!");
    EXPECT_FALSE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "DEU"));
    EXPECT_TRUE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "ENU"));
    EXPECT_TRUE(ReviewFrame(0)->isHidden());
    EXPECT_FALSE(ReviewFrame(1)->isHidden());
}

TEST_F(ValuePanel, TickingAPackCreatesTheVariableWithItsFolders) {
    Memo.SetVarPath("LANG_MAIN_TITLE");
    TfrTextEditor* fra = Editor(2);
    ASSERT_FALSE(fra->Check()->isChecked());
    EXPECT_TRUE(fra->Check()->isEnabled());
    QTest::mouseClick(fra->Check(), Qt::LeftButton);
    ASSERT_NE(Item(2, "LANG_MAIN_TITLE"), nullptr);
    EXPECT_EQ(Item(2, "LANG_MAIN_TITLE")->GetText(), u"");
    EXPECT_TRUE(Packs.GetPack(2)->IsModified());
    EXPECT_TRUE(fra->IsExpanded());
    EXPECT_EQ(fra->height(), 150);
    EXPECT_TRUE(fra->Memo()->toPlainText().isEmpty());
    // The deletion setting is on by default: the tick cannot be taken back.
    EXPECT_FALSE(fra->Check()->isEnabled());
    EXPECT_EQ(fra->window()->focusWidget(), fra->Memo());
    EXPECT_TRUE(UI.Questions().empty());
}

TEST_F(ValuePanel, UntickingAsksAndTakesTheTextFromThatPackOnly) {
    WriteBoolSetting("settings", "fMain.miDisableVarTextDeletion.Checked", false);
    Memo.SetVarPath("LANG_MAIN_TITLE");
    TfrTextEditor* deu = Editor(0);
    ASSERT_TRUE(deu->Check()->isEnabled());

    UI.Expect(host::TMsgResult::No);
    QTest::mouseClick(deu->Check(), Qt::LeftButton);
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Text,
              QString::fromUtf8("Вы действительно хотите удалить текст переменную "
                                "[LANG_MAIN_TITLE] из языкового пакета [DEU]"));
    EXPECT_EQ(UI.Questions()[0].Buttons, host::TMsgButtons::YesNo);
    EXPECT_TRUE(deu->Check()->isChecked()); // No keeps the tick and the text
    EXPECT_EQ(deu->Memo()->toPlainText(), "Titel");
    EXPECT_NE(Item(0, "LANG_MAIN_TITLE"), nullptr);

    UI.Expect(host::TMsgResult::Yes);
    QTest::mouseClick(deu->Check(), Qt::LeftButton);
    EXPECT_EQ(Item(0, "LANG_MAIN_TITLE"), nullptr);
    EXPECT_NE(Item(1, "LANG_MAIN_TITLE"), nullptr); // ENU keeps it
    EXPECT_TRUE(Browser.VarExists("LANG_MAIN_TITLE"));
    EXPECT_FALSE(deu->IsExpanded());
    EXPECT_EQ(Editor(1)->y(), 25); // the next editor moved up
}

// A pack where a folder of the path is a variable with text: adding the
// variable there would turn it into a folder, whose text no pack file keeps.
TEST_F(ValuePanel, TickingIsRefusedWhereItWouldDropAText) {
    Packs.Add("ITA", {{"LANG_MAIN", u"principale"}});
    Memo.SetVarPath("LANG_MAIN_TITLE");
    TfrTextEditor* ita = Editor(3);
    UI.Expect(host::TMsgResult::Ok);
    QTest::mouseClick(ita->Check(), Qt::LeftButton);
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Kind, host::TMsgKind::Error);
    EXPECT_TRUE(UI.Questions()[0].Text.contains("[LANG_MAIN]"));
    EXPECT_FALSE(ita->Check()->isChecked());
    EXPECT_FALSE(ita->IsExpanded());
    EXPECT_EQ(Item(3, "LANG_MAIN")->GetText(), u"principale");
    EXPECT_EQ(Item(3, "LANG_MAIN")->GetCount(), 0);
    EXPECT_FALSE(Packs.GetPack(3)->IsModified());
}

TEST_F(ValuePanel, TheReviewButtonMarksTheChosenLanguages) {
    Memo.SetVarPath("LANG_MAIN_TITLE");
    auto* mark = Editor(2)->findChild<QToolButton*>("ToolButton2");
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->isHidden()); // no dialog to ask with: not offered

    struct TAsked {
        QString caption, prompt;
        std::vector<std::string> rows, header;
        std::vector<bool> ticks;
    } asked;
    bool answer = false;
    std::vector<bool> chosen;
    Memo.SetSelectSeveral([&](const QString& caption, const QString& prompt,
                              const std::vector<std::string>& rows, std::vector<bool>& ticks,
                              const std::vector<std::string>& header) {
        asked = {caption, prompt, rows, header, ticks};
        if (answer)
            ticks = chosen;
        return answer;
    });
    Packs.Ticks[0] = false; // the rows are all packs, ticked or not
    Memo.Refresh();
    EXPECT_FALSE(mark->isHidden());

    QTest::mouseClick(mark, Qt::LeftButton); // cancelled
    EXPECT_EQ(asked.caption, QString::fromUtf8("Выбор языков"));
    EXPECT_EQ(asked.prompt, QString::fromUtf8("   Выберите языки в которых необходимо "
                                              "редактирование этой переменной [LANG_MAIN_TITLE]"));
    EXPECT_EQ(asked.rows.size(), 3u);
    EXPECT_EQ(asked.header, (std::vector<std::string>{"Language", "File Name"}));
    EXPECT_EQ(asked.ticks, (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(Browser.Flags.empty());

    answer = true;
    chosen = {true, true, false};
    Browser.SetNeedToChange("FRA", "LANG_MAIN_TITLE"); // unticked rows are not cleared
    QTest::mouseClick(mark, Qt::LeftButton);
    EXPECT_TRUE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "DEU"));
    EXPECT_TRUE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "ENU"));
    EXPECT_TRUE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "FRA"));
    EXPECT_FALSE(ReviewFrame(1)->isHidden()); // refreshed: ENU shows its mark
}

TEST_F(ValuePanel, EachPackEditsInItsOwnFont) {
    Packs.Fonts[0] = {1, 14, "Serif"};
    Packs.Fonts[1] = {1, 9, "Monospace"};
    Memo.SetVarPath("LANG_MAIN_TITLE");
    EXPECT_EQ(Editor(0)->Memo()->font().family(), "Serif");
    EXPECT_EQ(Editor(0)->Memo()->font().pointSize(), 14);
    EXPECT_EQ(Editor(1)->Memo()->font().pointSize(), 9);
    Packs.Fonts[1] = {1, 20, "Sans Serif"};
    Memo.UpdateFonts();
    EXPECT_EQ(Editor(1)->Memo()->font().pointSize(), 20);
    EXPECT_EQ(Editor(0)->Memo()->font().pointSize(), 14);
}

TEST_F(ValuePanel, FocusPackGoesToTheTextOrTicksThePack) {
    Memo.show();
    Memo.SetVarPath("LANG_MAIN_TITLE");
    Memo.FocusPack(1);
    EXPECT_EQ(Memo.window()->focusWidget(), Editor(1)->Memo());
    EXPECT_EQ(Item(2, "LANG_MAIN_TITLE"), nullptr);
    Memo.FocusPack(2); // FRA lacks it: ticked as a click would
    ASSERT_NE(Item(2, "LANG_MAIN_TITLE"), nullptr);
    EXPECT_TRUE(Editor(2)->Check()->isChecked());
    EXPECT_TRUE(Editor(2)->IsExpanded());
    EXPECT_EQ(Memo.window()->focusWidget(), Editor(2)->Memo());
    Memo.FocusPack(7); // no such pack
    Memo.SetVarPath("LANG");
    Memo.FocusPack(0); // the panel is hidden for a folder
    EXPECT_EQ(Memo.window()->focusWidget(), Editor(2)->Memo());
}
