// The options dialog and the pack options dialog on real widgets: the
// project facts, the packs list with add, edit and remove acting on the set,
// the locked page, the name check and the enable rules; and the main
// window's commands and -l start that open them.
#include "ModalDialog.h"
#include "WorkFolderTest.h"
#include "editor/uLangPackOptions.h"
#include "editor/uLangPacks.h"
#include "editor/uLangPacksFrame.h"
#include "editor/uMain.h"
#include "editor/uOptions.h"
#include "editor/uPackCache.h"
#include "editor/uVars.h"
#include "engine/uEngine.h"
#include "platform/Locales.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using namespace lx::editor;
using lx::test::TempDir;

namespace {

template <class T> T* Get(QWidget* w, const char* name) {
    auto* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

int IndexOfLcid(QComboBox* box, unsigned lcid) {
    return box->findData(lcid);
}

void Click(QWidget* w, const char* name) {
    QTest::mouseClick(Get<QPushButton>(w, name), Qt::LeftButton);
}

// Clicks a row of the packs list as the user does.
void ClickRow(QTreeWidget* list, int row) {
    QCoreApplication::processEvents(); // lays the list out
    const QRect r = list->visualItemRect(list->topLevelItem(row));
    ASSERT_FALSE(r.isEmpty()) << row;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 10, r.center().y()));
}

// Shows a window and lets it be laid out.
void Show(QWidget& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

class PackOptions : public ::testing::Test {};

} // namespace

TEST_F(PackOptions, LocalesSortedByNameWithTheirIdentifiers) {
    TfLangPackOptions d(true, "", 0, 0, {});
    auto* box = Get<QComboBox>(&d, "cbxLanguage");
    ASSERT_EQ(box->count(), static_cast<int>(platform::AvailableLocales().size()));
    ASSERT_GT(box->count(), 50);
    for (int i = 1; i < box->count(); ++i)
        EXPECT_LE(box->itemText(i - 1).compare(box->itemText(i), Qt::CaseInsensitive), 0)
            << box->itemText(i).toStdString();
    const int rus = IndexOfLcid(box, 0x0419);
    ASSERT_GE(rus, 0);
    EXPECT_EQ(box->itemText(rus), "Russian (Russia)");
    EXPECT_EQ(box->itemData(rus, TfLangPackOptions::IdentifierRole).toString(), "$0419");
    EXPECT_EQ(box->itemData(IndexOfLcid(box, 0x0C0A), TfLangPackOptions::IdentifierRole).toString(),
              "$0C0A");
    EXPECT_EQ(box->view()->sizeHintForRow(rus), 16);
    EXPECT_EQ(box->currentIndex(), -1); // add mode: none selected
}

// Adding: the ISO3 name of the base language, the duplicate check ignoring
// case, a typed name once the box is unticked.
TEST_F(PackOptions, AddModeNameRules) {
    TfLangPackOptions d(true, "", 0, 0, {"ENU", "RUS"});
    EXPECT_EQ(d.windowTitle(), "Add new language pack");
    auto* box = Get<QComboBox>(&d, "cbxLanguage");
    auto* name = Get<QLineEdit>(&d, "edtPackName");
    auto* iso3 = Get<QCheckBox>(&d, "chkUseISO3");
    auto* note = Get<QLabel>(&d, "lblNameExists");
    auto* ok = Get<QPushButton>(&d, "btnOk");
    EXPECT_TRUE(iso3->isChecked());
    EXPECT_TRUE(iso3->isEnabled());
    EXPECT_FALSE(name->isEnabled());
    EXPECT_FALSE(ok->isEnabled()); // no name yet

    box->setCurrentIndex(IndexOfLcid(box, 0x0419));
    EXPECT_EQ(name->text(), "RUS");
    EXPECT_FALSE(note->isHidden());
    EXPECT_FALSE(ok->isEnabled());
    box->setCurrentIndex(IndexOfLcid(box, 0x0407));
    EXPECT_EQ(name->text(), "DEU");
    EXPECT_TRUE(note->isHidden());
    EXPECT_TRUE(ok->isEnabled());
    box->setCurrentIndex(-1);
    EXPECT_EQ(name->text(), "");
    EXPECT_FALSE(ok->isEnabled());

    QTest::mouseClick(iso3, Qt::LeftButton); // untick: the name is the user's
    EXPECT_FALSE(iso3->isChecked());
    EXPECT_TRUE(name->isEnabled());
    auto* invalid = Get<QLabel>(&d, "lblNameInvalid");
    // typed name, duplicate note, invalid note, Ok
    const std::vector<std::tuple<const char*, bool, bool, bool>> typed = {
        {"rus", true, false, false}, {"Enu", true, false, false},  {"MY", false, false, true},
        {"", false, false, false},   {"../x", false, true, false}, {"a/b", false, true, false},
        {"..", false, true, false},  {"a*", false, true, false},   {"my pack", false, false, true}};
    for (const auto& [text, shown, bad, okOn] : typed) {
        name->clear();
        QTest::keyClicks(name, QString::fromLatin1(text));
        EXPECT_EQ(!note->isHidden(), shown) << text;
        EXPECT_EQ(!invalid->isHidden(), bad) << text;
        EXPECT_EQ(ok->isEnabled(), okOn) << text;
    }
    box->setCurrentIndex(IndexOfLcid(box, 0x0409)); // unticked: the language leaves the name
    EXPECT_EQ(name->text(), "my pack");
    name->clear();
    QTest::keyClicks(name, "MY");
    QTest::mouseClick(iso3, Qt::LeftButton); // ticked again: the language's name
    EXPECT_FALSE(name->isEnabled());
    EXPECT_EQ(name->text(), "ENU");
    EXPECT_FALSE(ok->isEnabled());

    box->setCurrentIndex(IndexOfLcid(box, 0x040C));
    Get<QComboBox>(&d, "cbxEncoding")->setCurrentIndex(2);
    EXPECT_EQ(d.PackName(), "FRA");
    EXPECT_EQ(d.Lcid(), 0x040Cu);
    EXPECT_EQ(d.Encoding(), 2);
}

TEST_F(PackOptions, EditModeKeepsTheName) {
    struct TCase {
        std::string Name;
        unsigned Lcid;
        int Encoding;
        bool Ticked;
        int Shown; // the encoding entry shown
    };
    for (const TCase& c : std::vector<TCase>{{"MYPACK", 0x0419, 1, false, 1},
                                             {"rus", 0x0419, 2, true, 2},
                                             {"ENU", 0x0409, 7, true, 0}}) {
        TfLangPackOptions d(false, c.Name, c.Lcid, c.Encoding, {c.Name});
        EXPECT_EQ(d.windowTitle(), "Edit language pack options");
        auto* box = Get<QComboBox>(&d, "cbxLanguage");
        auto* iso3 = Get<QCheckBox>(&d, "chkUseISO3");
        EXPECT_EQ(box->currentData().toUInt(), c.Lcid) << c.Name;
        EXPECT_EQ(iso3->isChecked(), c.Ticked) << c.Name;
        EXPECT_FALSE(iso3->isEnabled()) << c.Name;
        EXPECT_FALSE(Get<QLineEdit>(&d, "edtPackName")->isEnabled()) << c.Name;
        EXPECT_EQ(Get<QComboBox>(&d, "cbxEncoding")->currentIndex(), c.Shown) << c.Name;
        EXPECT_TRUE(Get<QPushButton>(&d, "btnOk")->isEnabled())
            << c.Name; // its own name is no duplicate
        box->setCurrentIndex(IndexOfLcid(box, 0x0407));
        EXPECT_EQ(d.PackName(), c.Name) << c.Name;
        EXPECT_EQ(d.Lcid(), 0x0407u);
    }
}

namespace {

class Options : public test::TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        ASSERT_TRUE(Set.OpenWorkDir(Work));
    }
    QTreeWidget* List(TfOptions& d) { return Get<QTreeWidget>(&d, "clbPacks"); }
    TLangPackSet Set;
    test::TModalScript Dialogs;
};

} // namespace

TEST_F(Options, ProjectPageFacts) {
    TfOptions d(&Set, -1);
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Настройки"));
    EXPECT_EQ(Get<QTabWidget>(&d, "pcOptions")->currentIndex(), 0);
    EXPECT_EQ(Get<QLineEdit>(&d, "edtProjectDir")->text(), QString::fromStdString(CacheDir()));
    EXPECT_EQ(Get<QLabel>(&d, "lblLangCountValue")->text(), "2");
    Dir.Write("cash/.hidden.LNG", "12345"); // hidden files and any letter case count too
    Dir.Write("cash/notes.txt", "1234567");
    EXPECT_EQ(TfOptions::PackageSize(CacheDir()), test::kRus.size() + test::kEnu.size() + 5);
    TfOptions again(&Set, -1);
    EXPECT_EQ(Get<QLabel>(&again, "lblPackSizeValue")->text(),
              QString::number(test::kRus.size() + test::kEnu.size() + 5) + " B");

    TLangPackSet none;
    TfOptions empty(&none, -1);
    EXPECT_EQ(Get<QLineEdit>(&empty, "edtProjectDir")->text(), "");
    EXPECT_EQ(Get<QLabel>(&empty, "lblLangCountValue")->text(), "0");
    EXPECT_EQ(Get<QLabel>(&empty, "lblPackSizeValue")->text(), "0 B");
}

TEST_F(Options, PacksListAndItsButtons) {
    TfOptions d(&Set, -1);
    Show(d);
    Get<QTabWidget>(&d, "pcOptions")->setCurrentIndex(1);
    QTreeWidget* list = List(d);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "ENU");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "English (United States)");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "RUS");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "Russian (Russia)");
    EXPECT_EQ(list->header()->sectionSize(0), 100);
    EXPECT_EQ(list->header()->sectionSize(1), 500);
    EXPECT_TRUE(Get<QPushButton>(&d, "btnAdd")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>(&d, "btnEdit")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>(&d, "btnRemove")->isEnabled());
    ClickRow(list, 1);
    EXPECT_TRUE(Get<QPushButton>(&d, "btnEdit")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>(&d, "btnRemove")->isEnabled());

    // Remove, declined: nothing changes; confirmed: the list shows what remains.
    UI.Expect(host::TMsgResult::No);
    Click(&d, "btnRemove");
    EXPECT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(Set.GetPackCount(), 2);
    ClickRow(list, 0);
    UI.Expect(host::TMsgResult::Yes);
    Click(&d, "btnRemove");
    EXPECT_EQ(Set.GetPackNames(false), std::vector<std::string>{"RUS"});
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "RUS");
    EXPECT_EQ(list->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 0);
    EXPECT_FALSE(Get<QPushButton>(&d, "btnEdit")->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(CacheDir() + "ENU.lng"));
}

TEST_F(Options, AddAndEditActOnTheSet) {
    TfOptions d(&Set, -1);
    Show(d);
    Get<QTabWidget>(&d, "pcOptions")->setCurrentIndex(1);
    Dialogs.On("fLangPackOptions", [](QDialog* p) {
        auto* box = Get<QComboBox>(p, "cbxLanguage");
        box->setCurrentIndex(IndexOfLcid(box, 0x0419));
        EXPECT_FALSE(Get<QPushButton>(p, "btnOk")->isEnabled()); // RUS exists
        box->setCurrentIndex(IndexOfLcid(box, 0x0407));
        Get<QComboBox>(p, "cbxEncoding")->setCurrentIndex(1);
        Click(p, "btnOk");
    });
    Click(&d, "btnAdd");
    ASSERT_EQ(Set.GetPackCount(), 3);
    TXMLTreeItem* deu = Set.GetPack(2);
    EXPECT_EQ(ExtractFilePackName_(deu->GetFileName()), "DEU");
    EXPECT_EQ(deu->GetLCID(), 0x0407u);
    EXPECT_EQ(deu->GetEncoding(), TPackEncoding::UTF8);
    QTreeWidget* list = List(d);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(2)->text(1), "German (Germany)");
    EXPECT_EQ(list->topLevelItem(2)->data(0, Qt::UserRole).toInt(), 2);

    // A cancelled add changes nothing.
    Dialogs.On("fLangPackOptions", [](QDialog* p) { Click(p, "btnCancel"); });
    Click(&d, "btnAdd");
    EXPECT_EQ(Set.GetPackCount(), 3);

    Set.SetPacksModified(false);
    ClickRow(list, 0); // ENU
    Dialogs.On("fLangPackOptions", [](QDialog* p) {
        EXPECT_EQ(Get<QLineEdit>(p, "edtPackName")->text(), "ENU");
        auto* box = Get<QComboBox>(p, "cbxLanguage");
        EXPECT_EQ(box->currentData().toUInt(), 0x0409u);
        box->setCurrentIndex(IndexOfLcid(box, 0x0809));
        Get<QComboBox>(p, "cbxEncoding")->setCurrentIndex(2);
        Click(p, "btnOk");
    });
    Click(&d, "btnEdit");
    TXMLTreeItem* enu = Set.GetPack(0);
    EXPECT_EQ(ExtractFilePackName_(enu->GetFileName()), "ENU"); // the name stays
    EXPECT_EQ(enu->GetLCID(), 0x0809u);
    EXPECT_EQ(enu->GetEncoding(), TPackEncoding::HTML);
    EXPECT_TRUE(enu->IsModified());
    EXPECT_FALSE(Set.GetPack(1)->IsModified());
    EXPECT_EQ(list->topLevelItem(0)->text(1), "English (United Kingdom)");
}

TEST_F(Options, APageGivenCannotBeLeft) {
    for (int page : {-1, 1}) {
        TfOptions d(&Set, page);
        Show(d);
        auto* pages = Get<QTabWidget>(&d, "pcOptions");
        EXPECT_EQ(pages->currentIndex(), page < 0 ? 0 : page);
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        EXPECT_EQ(pages->currentIndex(), page < 0 ? 2 : 1) << page;
        QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(pages->currentIndex(), page < 0 ? 0 : 1) << page;
    }
}

TEST_F(Options, IntegrationPageEnablesItsFields) {
    TfOptions d(&Set, 2);
    Show(d);
    auto* on = Get<QCheckBox>(&d, "chkIntegrate");
    const char* const fields[] = {"lblHostApp", "edtHostApp", "btnBrowse"};
    for (const char* f : fields)
        EXPECT_FALSE(d.findChild<QWidget*>(f)->isEnabled()) << f;
    on->setChecked(true);
    for (const char* f : fields)
        EXPECT_TRUE(d.findChild<QWidget*>(f)->isEnabled()) << f;
    UI.ExpectPath("/opt/ide/bin/ide");
    Click(&d, "btnBrowse");
    EXPECT_EQ(Get<QLineEdit>(&d, "edtHostApp")->text(), "/opt/ide/bin/ide");
}

namespace {

class MainDialogs : public test::TWorkFolderTest {
protected:
    test::TModalScript Dialogs;
    void TearDown() override {
        StartUp() = TStartUpState();
        TWorkFolderTest::TearDown();
    }
};

} // namespace

TEST_F(MainDialogs, NewPackCommandAddsThePackWithItsLanguage) {
    TfMain w;
    w.OpenWorkingFolder(Work);
    Dialogs.On("fLangPackOptions", [](QDialog* p) {
        auto* box = Get<QComboBox>(p, "cbxLanguage");
        box->setCurrentIndex(IndexOfLcid(box, 0x0407));
        Click(p, "btnOk");
    });
    w.findChild<QAction*>("miNewPack")->trigger();
    TLangPackSet& set = w.LangPacks()->Set();
    ASSERT_EQ(set.GetPackCount(), 3);
    EXPECT_EQ(set.GetPack(2)->GetLCID(), 0x0407u);
    auto* row = w.findChild<QCheckBox*>("chkPack2");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(), "DEU - German (Germany)");
}

TEST_F(MainDialogs, OptionsCommandRepaintsThePackList) {
    TfMain w;
    w.OpenWorkingFolder(Work);
    for (bool ok : {false, true}) {
        const unsigned lcid = ok ? 0x0C09 : 0x0809;
        Dialogs.On("fOptions", [this, ok, lcid](QDialog* d) {
            auto* pages = Get<QTabWidget>(d, "pcOptions");
            EXPECT_EQ(pages->currentIndex(), 0);
            for (int i = 0; i < pages->count(); ++i)
                EXPECT_TRUE(pages->isTabEnabled(i));
            pages->setCurrentIndex(1);
            ClickRow(Get<QTreeWidget>(d, "clbPacks"), 0);
            Dialogs.On("fLangPackOptions", [lcid](QDialog* p) {
                auto* box = Get<QComboBox>(p, "cbxLanguage");
                box->setCurrentIndex(IndexOfLcid(box, lcid));
                Click(p, "btnOk");
            });
            Click(d, "btnEdit");
            Click(d, ok ? "btnOk" : "btnCancel");
        });
        w.findChild<QAction*>("miOptions")->trigger();
        // The edit is made in the dialog, so the list shows it either way.
        EXPECT_EQ(w.findChild<QCheckBox*>("chkPack0")->text().toStdString(),
                  "ENU - " + platform::EnglishDisplayNameOfLCID(lcid));
    }
}

// The -l start: the packs page only; then the packs are saved and written
// back, the set closes, and an editor started for the IDE closes too.
TEST_F(MainDialogs, ListOnlyStart) {
    for (std::int64_t ide : {0, 4242}) {
        TfMain w;
        w.show();
        w.OpenWorkingFolder(Work);
        StartUp().IDEWindow = ide;
        static_cast<TXMLTreeItem*>(w.LangPacks()->Set().GetPack(0)->GetItem_F("a"))
            ->SetText(ide ? u"two" : u"three");
        Dialogs.On("fOptions", [](QDialog* d) {
            auto* pages = Get<QTabWidget>(d, "pcOptions");
            EXPECT_EQ(pages->currentIndex(), 1);
            EXPECT_FALSE(pages->isTabEnabled(0));
            EXPECT_FALSE(pages->isTabEnabled(2));
            Click(d, "btnCancel");
        });
        w.ListOnlyStart();
        EXPECT_EQ(w.LangPacks()->WorkDir(), "") << ide;
        TXMLTreeItem back;
        back.OpenFromFile(Work + "/ENU.lng");
        EXPECT_EQ(back.GetItemValue_("a"), ide ? u"two" : u"three") << ide;
        EXPECT_EQ(w.isVisible(), ide == 0) << ide;
    }
}
