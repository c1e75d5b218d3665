// A translator's round through the whole main window (offscreen, real
// widgets): switching the interface language, the name field's place while
// the value panel is hidden, and the selection dialog's long prompts.
#include "WorkFolderTest.h"
#include "editor/uGetSelection.h"
#include "editor/uMain.h"
#include "editor/uVars.h"
#include "engine/uIni.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using namespace lx::editor;

namespace {

// Two packs with a folder LANG holding one variable.
const std::string kRusPack = "<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r  <LCID>$0419</LCID>\r"
                             "</SYSTEM>\r<LANG>\r  <Login>Войти</Login>\r</LANG>\r";
const std::string kEnuPack = "<SYSTEM>\r  <LCID>$0409</LCID>\r</SYSTEM>\r"
                             "<LANG>\r  <Login>Log in</Login>\r</LANG>\r";

class Round : public test::TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        Dir.Write("work/RUS.lng", kRusPack);
        Dir.Write("work/ENU.lng", kEnuPack);
        // The editor's own language packs, as installed beside the program.
        std::filesystem::create_directories(Dir.File("lang"));
        for (const char* pack : {"RUS.lng", "ENU.lng"})
            std::filesystem::copy_file(std::string(LX_EDITOR_LANG_DIR) + "/" + pack,
                                       Dir.File("lang") + "/" + pack);
    }

    // Chooses the interface language in View > interface language.
    static void ChooseLanguage(TfMain& w, const QString& caption) {
        auto* menu = w.findChild<QMenu*>(QStringLiteral("miLanguage"));
        ASSERT_NE(menu, nullptr);
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == caption)
                item = a;
        ASSERT_NE(item, nullptr) << caption.toStdString();
        item->trigger();
    }
};

// The texts the panels build in code change with the language, as the
// menus do; a text left in the old language is a fault.
TEST_F(Round, EveryPanelFollowsTheInterfaceLanguage) {
    TfMain w;
    w.OpenWorkingFolder(Work);
    w.show();
    auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
    ASSERT_NE(tree, nullptr);
    tree->setCurrentItem(tree->topLevelItem(0)->child(0)); // LANG_Login
    auto* showAll = w.findChild<QComboBox*>(QStringLiteral("cbxItem0"));
    auto* packsCaption = w.findChild<QWidget*>(QStringLiteral("frLangPacks"))
                             ->findChild<QLabel*>(QStringLiteral("lblCaption"));
    auto* status = w.findChild<QWidget*>(QStringLiteral("frVarNameEditor"))
                       ->findChild<QLabel*>(QStringLiteral("lblStatus"));
    auto* renameVar = w.findChild<QAction*>(QStringLiteral("pmiRenameVar"));
    auto* deleteVar = w.findChild<QAction*>(QStringLiteral("pmiDeleteVar"));
    ASSERT_TRUE(showAll && packsCaption && status && renameVar && deleteVar);

    struct TCase {
        const char* Language;
        const char* ShowAll;
        const char* Packs;
        const char* Status;
        const char* Rename;
        const char* Delete;
        const char* Menu;
    };
    const TCase cases[] = {
        {"English", "Show all", "Languages:", "Status: \"Editing a variable\"", "Rename Variable",
         "Delete Variable", "File"},
        {"Russian", "Показывать все", "Список языков:", "Статус: \"Редактирование переменной\"",
         "Переименовать переменную", "Удалить переменную", "Файл"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Language);
        ChooseLanguage(w, QString::fromLatin1(c.Language));
        EXPECT_EQ(w.findChild<QMenu*>(QStringLiteral("miFile"))->title(),
                  QString::fromUtf8(c.Menu));
        EXPECT_EQ(showAll->itemText(0), QString::fromUtf8(c.ShowAll));
        EXPECT_EQ(packsCaption->text(), QString::fromUtf8(c.Packs));
        EXPECT_EQ(status->text(), QString::fromUtf8(c.Status));
        EXPECT_EQ(renameVar->text(), QString::fromUtf8(c.Rename));
        EXPECT_EQ(deleteVar->text(), QString::fromUtf8(c.Delete));
    }
}

// With a folder selected, and while a new name is typed, the value panel is
// hidden; the name field must stay where it was, at the top of the work area.
TEST_F(Round, TheNameFieldStaysAtTheTopWhileThePanelIsHidden) {
    TfMain w;
    w.resize(900, 700);
    w.OpenWorkingFolder(Work);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
    auto* nameField = w.findChild<QWidget*>(QStringLiteral("frVarNameEditor"));
    auto* memo = w.findChild<QWidget*>(QStringLiteral("frVarMemo"));
    ASSERT_TRUE(tree && nameField && memo);

    tree->setCurrentItem(tree->topLevelItem(0)->child(0)); // a variable: the panel shows
    QApplication::processEvents();
    ASSERT_TRUE(memo->isVisible());
    const int top = nameField->y();
    EXPECT_LT(top, 10);

    tree->setCurrentItem(tree->topLevelItem(0)); // the folder LANG: the panel hides
    QApplication::processEvents();
    ASSERT_FALSE(memo->isVisible());
    EXPECT_EQ(nameField->y(), top);

    auto* edit = nameField->findChild<QComboBox*>(QStringLiteral("edtVarName"));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->lineEdit()->selectAll();
    QTest::keyClicks(edit, QStringLiteral("LANG_NEW"));
    QApplication::processEvents();
    EXPECT_EQ(nameField->y(), top);
}

// The review and synchronisation prompts are longer than the dialog is wide:
// every word of them must be on view.
TEST_F(Round, TheSelectionDialogShowsTheWholePrompt) {
    const char* prompts[] = {
        "   Выберите языки в которых необходимо отредактировать эту переменную "
        "[LANG_Password]",
        "   Из выпадающего списка выберите язык-образец, и пометте языки, в которые будут "
        "скопированы данные",
        "Short\nsecond line that is long enough to wrap once in a dialog this narrow, surely",
        "One line",
    };
    for (const char* text : prompts) {
        SCOPED_TRACE(text);
        TfGetSelection d;
        d.Fill(QStringLiteral("Caption"), QString::fromUtf8(text), {"RUS\x01RUS.lng"}, {},
               TfGetSelection::kNeedTick, false, -1, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        auto* prompt = d.findChild<QPlainTextEdit*>(QStringLiteral("memPromt"));
        ASSERT_NE(prompt, nullptr);
        // Every line the prompt wraps into fits in the field's height.
        int lines = 0;
        for (QTextBlock b = prompt->document()->firstBlock(); b.isValid(); b = b.next())
            lines += b.layout()->lineCount();
        EXPECT_GE(lines, 1);
        EXPECT_LE(lines * prompt->fontMetrics().lineSpacing(), prompt->height());
        EXPECT_EQ(prompt->verticalScrollBar()->value(), 0);
    }
}

} // namespace
