// Review flags in the cache's package.ini, the review dialog, red marks,
// synchronisation from a model language, and the selection dialog itself.
#include "BrowserTest.h"

#include "editor/uPackCache.h"
#include "editor/uReviewDialog.h"
#include "editor/uReviewFlags.h"
#include "editor/uSynchronize.h"
#include "engine/uIni.h"
#include "support/TempDir.h"

#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using namespace lx::editor;
using lx::host::TMsgResult;

namespace {

class ReviewFlags : public test::TempDirTest {
protected:
    std::string File() { return Dir.File("package.ini"); }
    TReviewFlags Flags;
};

class Review : public test::TBrowserTest {
protected:
    void OpenFour() {
        Open({{"DEU", "<LANG>\r  <MAIN>\r    <TITLE>Titel</TITLE>\r  </MAIN>\r</LANG>\r"},
              {"ENG", "<LANG>\r  <A>\r    <X>Hello</X>\r  </A>\r  <B>\r    <Y>own</Y>\r  </B>\r"
                      "  <MAIN>\r    <TITLE>Title</TITLE>\r  </MAIN>\r</LANG>\r"},
              {"FRA", "<LANG>\r  <MAIN>\r    <TITLE>Titre</TITLE>\r  </MAIN>\r</LANG>\r"},
              {"RUS", "<LANG>\r  <B>\r    <Y>своё</Y>\r  </B>\r</LANG>\r"}});
    }
    // Whether the variable's row is painted in red.
    bool PaintedRed(const std::string& path) {
        View()->expandAll();
        QTreeWidgetItem* node = Browser.NodeOf(path);
        if (!node)
            return false;
        const QRect r = View()->visualItemRect(node);
        const QImage image = View()->viewport()->grab(r).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                    return true;
            }
        return false;
    }
};

} // namespace

TEST_F(ReviewFlags, StoredAsTheDesignPackageReadsThem) {
    EXPECT_FALSE(Flags.Get(File(), "DEU", "LANG_MAIN_TITLE")); // no file: no flags
    ASSERT_TRUE(Flags.Set(File(), "DEU", "LANG_MAIN_TITLE", true));
    EXPECT_EQ(ReadStr("lpack_DEU", "needtochange_LANG_MAIN_TITLE", "", File()), "true");
    EXPECT_TRUE(Flags.Get(File(), "deu", "lang_main_title")); // names ignore case
    ASSERT_TRUE(Flags.Set(File(), "DEU", "LANG_MAIN_TITLE", false));
    EXPECT_EQ(ReadStr("lpack_DEU", "needtochange_LANG_MAIN_TITLE", "", File()), "false");
    // Clearing a flag that is not set writes nothing.
    ASSERT_TRUE(Flags.Set(File(), "FRA", "LANG_X", false));
    EXPECT_EQ(ReadStr("lpack_FRA", "needtochange_LANG_X", "missing", File()), "missing");
}

TEST_F(ReviewFlags, ReadsOnlyTrueExactlyAndNoticesChangesOnDisk) {
    struct TCase {
        const char* Value;
        bool Flagged;
    };
    for (const TCase c :
         {TCase{"true", true}, {"\"true\"", true}, {"True", false}, {"yes", false}, {"", false}}) {
        // Each write below is a new file on disk, as a download would leave it.
        Dir.Write("package.ini", std::string("[LPACK_RUS]\r\nNeedToChange_A=") + c.Value +
                                     "\r\n[lpack_rus]\r\nneedtochange_A=true\r\n");
        std::filesystem::last_write_time(File(), std::filesystem::file_time_type::clock::now());
        EXPECT_EQ(Flags.Get(File(), "RUS", "A"), c.Flagged) << c.Value;
        EXPECT_EQ(Flags.Get(File(), "RUS", "A"),
                  ReadStr("lpack_RUS", "needtochange_A", "false", File()) == "true");
    }
}

TEST_F(ReviewFlags, AFullDiskLosesNothing) {
    ASSERT_TRUE(Flags.Set(File(), "DEU", "A", true));
    const std::string before = test::TempDir::Read(File());
    {
        test::TFullDisk full(before.size());
        EXPECT_FALSE(Flags.Set(File(), "DEU", std::string(200, 'B'), true));
    }
    EXPECT_EQ(test::TempDir::Read(File()), before);
    EXPECT_FALSE(Flags.Get(File(), "DEU", std::string(200, 'B')));
    EXPECT_TRUE(Flags.Get(File(), "DEU", "A"));
}

TEST_F(Review, MarksShowInRedForTickedPacksOnly) {
    OpenFour();
    EXPECT_FALSE(PaintedRed("LANG_MAIN_TITLE"));
    Browser.SetNeedToChange("DEU", "LANG_MAIN_TITLE");
    Browser.SetNeedToChange("FRA", "LANG_MAIN_TITLE");
    EXPECT_EQ(ReadStr("lpack_FRA", "needtochange_LANG_MAIN_TITLE", "", CacheDir() + "package.ini"),
              "true");
    EXPECT_TRUE(Browser.GetNeedToChange("LANG_MAIN_TITLE", ""));
    EXPECT_TRUE(PaintedRed("LANG_MAIN_TITLE"));
    EXPECT_FALSE(PaintedRed("LANG_A_X"));

    Browser.ClearNeedToChange("DEU", "LANG_MAIN_TITLE"); // typing in DEU
    EXPECT_FALSE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "DEU"));
    EXPECT_TRUE(PaintedRed("LANG_MAIN_TITLE")); // FRA still flagged and ticked

    Set.SetPackChecked(2, false); // FRA unticked
    Browser.Refresh();
    EXPECT_FALSE(Browser.GetNeedToChange("LANG_MAIN_TITLE", ""));
    EXPECT_FALSE(PaintedRed("LANG_MAIN_TITLE"));
    EXPECT_TRUE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "FRA"));
}

TEST_F(Review, AMarkStaysWithThePathNotTheVariable) {
    OpenFour();
    Browser.SetNeedToChange("ENG", "LANG_MAIN_TITLE");
    View()->expandAll();
    auto* edit = Browser.findChild<QLineEdit*>("edtCT");
    for (const char* name : {"HEADER", "TITLE"}) {
        Browser.SelectVar(Browser.GetSelectedVar().empty() ? "LANG_MAIN_TITLE"
                                                           : Browser.GetSelectedVar());
        Browser.StartRename();
        edit->clear();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(Browser.GetNeedToChange("LANG_MAIN_" + std::string(name), ""),
                  std::string(name) == "TITLE");
    }
}

TEST_F(Review, TheReviewDialogTicksTheEditorsPackAndSetsTheChosenFlags) {
    OpenFour();
    Set.SetPackChecked(0, false); // the first pack unticked: rows still list every pack
    std::vector<bool> shown;
    test::AnswerSelection([&](TfGetSelection& d) {
        auto* list = d.findChild<QListWidget*>("CheckBox");
        for (int i = 0; i < list->count(); ++i)
            shown.push_back(list->item(i)->checkState() == Qt::Checked);
        EXPECT_TRUE(d.windowTitle() == QString::fromUtf8("Выбор языков"));
        EXPECT_TRUE(
            d.findChild<QPlainTextEdit*>("memPromt")->toPlainText().contains("[LANG_MAIN_TITLE]"));
        test::ToggleRow(list, 2); // FRA, the editor's own pack: unticked
        test::ToggleRow(list, 2); // and ticked again
        test::ToggleRow(list, 0); // DEU
        test::ClickOk(d);
    });
    EXPECT_TRUE(AskReviewLanguages(Set, Browser, 2, "LANG_MAIN_TITLE"));
    EXPECT_EQ(shown, (std::vector<bool>{false, false, true, false}));
    for (const auto& [pack, flagged] : std::vector<std::pair<std::string, bool>>{
             {"DEU", true}, {"ENG", false}, {"FRA", true}, {"RUS", false}})
        EXPECT_EQ(Browser.GetNeedToChange("LANG_MAIN_TITLE", pack), flagged) << pack;

    test::AnswerSelection([](TfGetSelection& d) { d.reject(); });
    EXPECT_FALSE(AskReviewLanguages(Set, Browser, 3, "LANG_MAIN_TITLE"));
    EXPECT_FALSE(Browser.GetNeedToChange("LANG_MAIN_TITLE", "RUS"));
}

TEST_F(Review, SynchronisationFillsTheTickedRecipientsFromTheModel) {
    OpenFour();
    const std::string engBefore = Pack(1)->SaveToBytes();
    const std::string fraBefore = Pack(2)->SaveToBytes();
    test::AnswerSelection([](TfGetSelection& d) {
        auto* model = d.findChild<QComboBox*>("cbxSelect");
        auto* list = d.findChild<QListWidget*>("CheckBox");
        auto* ok = d.findChild<QPushButton*>("btnOk");
        EXPECT_FALSE(ok->isEnabled()); // no model yet
        model->setFocus();
        QTest::keyClick(model, Qt::Key_Down);
        QTest::keyClick(model, Qt::Key_Down); // ENG
        EXPECT_EQ(model->currentIndex(), 1);
        test::ToggleRow(list, 1); // the model alone is no recipient
        EXPECT_FALSE(ok->isEnabled());
        test::ToggleRow(list, 3); // RUS
        EXPECT_TRUE(ok->isEnabled());
        test::ClickOk(d);
    });
    Browser.SynchronizePacks();
    EXPECT_EQ(Text(3, "LANG_A_X"), u"Hello");
    EXPECT_EQ(Text(3, "LANG_B_Y"), u"своё"); // an existing text stays
    EXPECT_EQ(Text(3, "LANG_MAIN_TITLE"), u"Title");
    EXPECT_EQ(Pack(1)->SaveToBytes(), engBefore); // the model is untouched
    EXPECT_EQ(Pack(2)->SaveToBytes(), fraBefore); // and so is a pack not ticked
    EXPECT_EQ(Memo.Refreshes, 1);

    test::AnswerSelection([](TfGetSelection& d) { d.reject(); });
    const std::string deuBefore = Pack(0)->SaveToBytes();
    Browser.SynchronizePacks();
    EXPECT_EQ(Pack(0)->SaveToBytes(), deuBefore);
    EXPECT_EQ(Memo.Refreshes, 1);
}

TEST(Synchronize, CopiesMissingItemsInModelOrderAndLeavesTheFilesOwnItems) {
    TXMLTreeItem model, recipient;
    model.OpenFromBytes("<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r  <LCID>$0409</LCID>\r</SYSTEM>\r"
                        "<Z>z</Z>\r<A>\r  <X>Hello</X>\r  <W>w</W>\r</A>\r",
                        "ENG.lng");
    recipient.OpenFromBytes("<A>\r  <W>mine</W>\r</A>\r", "RUS.lng");
    EXPECT_EQ(SynchronizeFromModel(model, {&recipient, &model}), 2);
    std::vector<std::string> order;
    recipient.ForEach([&](TTree* n) {
        if (n->GetFullName().rfind("SYSTEM", 0) != 0) // the reader's own SYSTEM items
            order.push_back(n->GetFullName());
    });
    EXPECT_EQ(order, (std::vector<std::string>{"A", "A_W", "A_X", "Z"}));
    EXPECT_EQ(recipient.GetItemValue_("A_W"), u"mine");
    EXPECT_EQ(recipient.GetItemValue_("A_X"), u"Hello");
    // The recipient keeps its own encoding and language.
    EXPECT_EQ(recipient.GetItem_F("SYSTEM_LCID"), nullptr);
    EXPECT_EQ(recipient.GetEncoding(), TPackEncoding::ANSI);
    // A large folder is filled the same way.
    TXMLTreeItem big, empty;
    for (int i = 0; i < 500; ++i)
        static_cast<TXMLTreeItem*>(big.AddGlobalItem("F_V" + std::to_string(i)))->SetText(u"t");
    static_cast<TXMLTreeItem*>(empty.AddGlobalItem("f_v7"))->SetText(u"own");
    EXPECT_EQ(SynchronizeFromModel(big, {&empty}), 499); // F exists as f, V7 as v7
    EXPECT_EQ(empty.GetItemValue_("f_v7"), u"own");
    EXPECT_EQ(empty.GetItemsCount(true), 501);
}

// The selection dialog's entry points, driven as a user would.
TEST(SelectionDialog, OkRuleAndAnswers) {
    const std::vector<std::string> rows = {"ENG - English\x01"
                                           "ENG.lng",
                                           "RUS - Russian\x01"
                                           "RUS.lng"};
    const std::vector<std::string> header = {"Language", "File Name"};
    int index = 1;
    test::AnswerSelection([](TfGetSelection& d) {
        auto* list = d.findChild<QListWidget*>("ListBox");
        EXPECT_TRUE(list->isVisible());
        EXPECT_FALSE(d.findChild<QListWidget*>("CheckBox")->isVisible());
        EXPECT_EQ(list->currentRow(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        test::ClickOk(d);
    });
    EXPECT_TRUE(SelectOne("c", "p", rows, index, header));
    EXPECT_EQ(index, 0);

    std::vector<bool> ticks;
    test::AnswerSelection([](TfGetSelection& d) {
        auto* ok = d.findChild<QPushButton*>("btnOk");
        EXPECT_FALSE(ok->isEnabled()); // no tick
        test::ToggleRow(d.findChild<QListWidget*>("CheckBox"), 1);
        test::ClickOk(d);
    });
    EXPECT_TRUE(SelectSeveral("c", "p", rows, ticks, header));
    EXPECT_EQ(ticks, (std::vector<bool>{false, true}));

    // Cancel leaves the in/out arguments as they were.
    int model = 7;
    ticks = {true};
    test::AnswerSelection([](TfGetSelection& d) {
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    EXPECT_FALSE(SelectModelAndTargets("c", "p", rows, model, ticks, header));
    EXPECT_EQ(model, 7);
    EXPECT_EQ(ticks, std::vector<bool>{true});
}

TEST(SelectionDialog, HeaderColumnsAndPromptHeight) {
    TfGetSelection d;
    const std::vector<std::string> rows = {"RUS - Russian\x01"
                                           "RUS.lng"};
    std::vector<bool> ticks;
    d.Fill("c", "one", rows, {"Language", "File Name"}, TfGetSelection::kNeedTick, false, -1,
           &ticks);
    d.show();
    auto* header = d.findChild<QHeaderView*>("HeaderControl");
    ASSERT_TRUE(header->isVisible());
    ASSERT_EQ(header->count(), 2);
    EXPECT_EQ(header->sectionSize(1), 10000);
    // The row is drawn in two parts: the file name starts under the second header.
    auto* list = d.findChild<QListWidget*>("CheckBox");
    const QRect row = list->visualItemRect(list->item(0));
    const QImage image = list->viewport()->grab(row).toImage();
    auto inkIn = [&](int from, int to) {
        for (int x = std::max(0, from); x < std::min(image.width(), to); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qGray(image.pixel(x, y)) < 100)
                    return true;
        return false;
    };
    const int second = header->sectionViewportPosition(1);
    EXPECT_TRUE(inkIn(second + 2, second + 40)); // "RUS.lng"
    EXPECT_FALSE(inkIn(second - 6, second + 1)); // the first column is clipped before it
    const int one = d.height();
    d.Fill("c", "one\ntwo\nthree", rows, {}, TfGetSelection::kNeedTick, false, -1, &ticks);
    const int three = d.height();
    d.Fill("c", "one\ntwo", rows, {}, TfGetSelection::kNeedTick, false, -1, &ticks);
    EXPECT_GE(three - one, 28);
    EXPECT_EQ(three - one, 2 * (d.height() - one));
    EXPECT_FALSE(header->isVisible()); // no headers given
}
