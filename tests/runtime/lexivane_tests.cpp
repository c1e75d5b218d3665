// The localisation components on real Qt widgets: the embedded record, the
// application server, the form component and the application component.
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "runtime/host/uHost.h"
#include "runtime/uLexivane.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace lx;
using lx::test::TempDir;

namespace {

std::u16string U(const std::string& s) {
    return platform::Utf8ToUtf16(s);
}
QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Writes a pack with the given '_' paths and values.
void WritePack(const std::string& path, unsigned lcid,
               std::vector<std::pair<std::string, std::string>> vars,
               TPackEncoding encoding = TPackEncoding::UTF8) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    TXMLTreeItem t;
    t.SetEncoding(encoding);
    if (lcid)
        t.SetLCID(lcid);
    for (const auto& [p, v] : vars)
        static_cast<TXMLTreeItem*>(t.AddGlobalItem(p))->SetText(U(v));
    t.SaveToFile(path);
}

// A small form: fMain with a button in a group box, a label, a combo box and tabs.
struct TForm {
    std::unique_ptr<QWidget> Window;
    QPushButton* Ok;
    QLabel* Info;
    QComboBox* Combo;
    QTabWidget* Tabs;
    TLXForm* Lx;

    explicit TForm(const char* name = "fMain") : Window(std::make_unique<QWidget>()) {
        Window->setObjectName(name);
        auto* group = new QGroupBox(Window.get());
        group->setObjectName("grpButtons");
        Ok = new QPushButton("OK", group);
        Ok->setObjectName("btnOK");
        Info = new QLabel("info", Window.get());
        Info->setObjectName("lblInfo");
        Combo = new QComboBox(Window.get());
        Combo->setObjectName("cbxKind");
        Combo->addItems({"one", "two"});
        Tabs = new QTabWidget(Window.get());
        Tabs->setObjectName("tabs");
        Tabs->addTab(new QWidget(), "first");
        Tabs->addTab(new QWidget(), "second");
        Lx = new TLXForm(Window.get());
        Lx->setObjectName("lxForm");
    }
};

// A value as a pack file holds it ('_' path).
std::u16string ValueInFile(const std::string& file, const std::string& path) {
    TXMLTreeItem t;
    t.OpenFromFile(file);
    return t.GetItemValue_(path);
}

class Lexivane : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ResetDesignServices();
        XMLAppServer().AppRemoved = false;
    }
    void TearDown() override {
        ResetDesignServices();
        TempDirTest::TearDown();
    }
    std::string Lang(const std::string& name) const { return Dir.Path() + "/lang/" + name; }
    // The embedded record lives in `stored`; `writes` counts the writes.
    static void KeepRecordIn(TXMLAppDataBlock& stored, int& writes) {
        DesignServices().ReadDataFromResFile = [&stored](TXMLAppDataBlock& b) {
            b = stored;
            return true;
        };
        DesignServices().WriteDataToResFile = [&stored, &writes](const TXMLAppDataBlock& b) {
            stored = b;
            ++writes;
        };
    }
    test::TScriptedHostUI UI;
};

} // namespace

TEST(XMLAppData, RecordBytes) {
    TXMLAppData d{true, false, "RUS.LNG", "\\lang\\", "/src/main.cpp"};
    const TXMLAppDataBlock b = EncodeXMLAppData(d);
    const std::string expected = std::string("\x01\x00", 2) + std::string("\x07\0\0\0", 4) +
                                 "RUS.LNG" + std::string("\x06\0\0\0", 4) + "\\lang\\" +
                                 std::string("\x0D\0\0\0", 4) + "/src/main.cpp";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), expected.size()), expected);
    for (std::size_t i = expected.size(); i < b.size(); ++i)
        ASSERT_EQ(b[i], 0) << i;
    const TXMLAppData back = DecodeXMLAppData(b);
    EXPECT_TRUE(back.XMLAppExists);
    EXPECT_EQ(back.CurrentPack, "RUS.LNG");
    EXPECT_EQ(back.PackFolder, "\\lang\\");
    EXPECT_EQ(back.UnitFileName, "/src/main.cpp");

    // No unit: no application component, whatever the flag says.
    TXMLAppData noUnit{true, true, "A.LNG", "", ""};
    EXPECT_FALSE(DecodeXMLAppData(EncodeXMLAppData(noUnit)).XMLAppExists);
    // The default record.
    const TXMLAppData zero = DecodeXMLAppData(TXMLAppDataBlock{});
    EXPECT_FALSE(zero.XMLAppExists || zero.ForcedUseXMLApp);
    EXPECT_TRUE(zero.CurrentPack.empty() && zero.PackFolder.empty() && zero.UnitFileName.empty());
    // A negative or oversized length reads as an empty text.
    TXMLAppDataBlock bad{};
    bad[2] = 0xFF, bad[3] = 0xFF, bad[4] = 0xFF, bad[5] = 0xFF;
    EXPECT_EQ(DecodeXMLAppData(bad).CurrentPack, "");
    bad[5] = 0x00; // 0x00FFFFFF: past the record
    EXPECT_EQ(DecodeXMLAppData(bad).CurrentPack, "");

    EXPECT_TRUE(
        SameXMLAppData(d, TXMLAppData{true, false, "rus.lng", "\\LANG\\", "/SRC/MAIN.CPP"}));
    EXPECT_FALSE(
        SameXMLAppData(d, TXMLAppData{true, true, "RUS.LNG", "\\lang\\", "/src/main.cpp"}));

    // Texts that do not fit are refused rather than written broken.
    TXMLAppData big{true, false, std::string(600, 'a'), std::string(411, 'b'), "u"};
    EXPECT_THROW(EncodeXMLAppData(big), ELXError);
    big.PackFolder.resize(409);
    EXPECT_NO_THROW(EncodeXMLAppData(big));
}

TEST_F(Lexivane, EmbeddedRecordThroughTheServices) {
    TXMLAppServer& server = XMLAppServer();
    std::string unit = "x";
    // A program without the resource.
    EXPECT_FALSE(server.XMLAppExistsInProject(unit));
    TXMLAppData d;
    EXPECT_FALSE(server.ReadDataFromResource(d));
    EXPECT_TRUE(d.CurrentPack.empty());

    TXMLAppDataBlock stored = EncodeXMLAppData({true, false, "RUS.LNG", "\\lang\\", "u.cpp"});
    int writes = 0;
    KeepRecordIn(stored, writes);
    EXPECT_TRUE(server.XMLAppExistsInProject(unit));
    EXPECT_EQ(unit, "u.cpp");
    // Equal but for letter case: nothing is written unless forced.
    server.WriteResData(true, false, false, "U.CPP", "\\LANG\\", "rus.lng");
    EXPECT_EQ(writes, 0);
    server.WriteResData(true, false, true, "U.CPP", "\\LANG\\", "rus.lng");
    EXPECT_EQ(writes, 1);
    server.WriteResData(true, true, false, "u.cpp", "\\lang\\", "RUS.LNG");
    EXPECT_EQ(writes, 2);
    EXPECT_TRUE(DecodeXMLAppData(stored).ForcedUseXMLApp);
    server.ClearDataInResource();
    EXPECT_EQ(stored, TXMLAppDataBlock{});
}

TEST_F(Lexivane, PackCacheKeysAndReloads) {
    WritePack(Lang("en.lng"), 1033, {{"f_a", "one"}});
    TXMLAppServer& server = XMLAppServer();
    TXMLTreeItem* a = server.GetXMLData(Dir.Path() + "/lang//en.lng");
    TXMLTreeItem* b = server.GetXMLData(Dir.Path() + "\\LANG\\EN.LNG");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->GetTreeSeparator(), '.');
    EXPECT_EQ(a->GetEncoding(), TPackEncoding::UTF8);
    EXPECT_EQ(a->GetItemValue_("f.a"), u"one");
    EXPECT_EQ(server.GetXMLData(""), nullptr);

    // A missing file gives an empty tree that is read once the file appears.
    TXMLTreeItem* later = server.GetXMLData(Lang("later.lng"));
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->GetItemValue_("f.a"), u"");
    WritePack(Lang("later.lng"), 0, {{"f_a", "now"}});
    EXPECT_EQ(server.GetXMLData(Lang("later.lng")), later);
    EXPECT_EQ(later->GetItemValue_("f.a"), u"now");

    // A changed ANSI pack is re-read as ANSI, not as the UTF8 it reports in memory.
    WritePack(Lang("ru.lng"), 1049, {{"f_a", "Старое"}}, TPackEncoding::ANSI);
    TXMLTreeItem* ru = server.GetXMLData(Lang("ru.lng"));
    EXPECT_EQ(ru->GetItemValue_("f.a"), U("Старое"));
    WritePack(Lang("ru.lng"), 1049, {{"f_a", "Новое"}}, TPackEncoding::ANSI);
    platform::SetFileTime(Lang("ru.lng"), ru->GetFileTime() + 2000000000LL);
    EXPECT_EQ(server.GetXMLData(Lang("ru.lng"))->GetItemValue_("f.a"), U("Новое"));
    EXPECT_EQ(ru->GetLCID(), 1049u);
}

TEST_F(Lexivane, FormAppliesItsPack) {
    WritePack(Lang("ru.lng"), 1049,
              {{"fMain_btnOK_text", "Отмена"},
               {"fMain_lblInfo_alignment", "AlignRight"}, // a QFlags property: not a text
               {"fMain_lblInfo_text", "строка"},
               {"fMain_cbxKind_Items_1_text", "два"},
               {"fMain_tabs_Tabs_0_text", "Первая"},
               {"fMain_windowTitle", "Главное"},
               {"fMain_missing_text", "ignored"},
               {"fOther_btnOK_text", "other form"},
               {"SYSTEM_x", "y"}});
    TForm f;
    f.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
    f.Lx->SetFileName(Lang("ru.lng"));
    f.Lx->EnsureLoaded();
    EXPECT_EQ(f.Ok->text(), Q("Отмена"));
    EXPECT_EQ(f.Info->text(), Q("строка"));
    EXPECT_EQ(f.Combo->itemText(1), Q("два"));
    EXPECT_EQ(f.Tabs->tabText(0), Q("Первая"));
    EXPECT_EQ(f.Window->windowTitle(), Q("Главное"));
    EXPECT_TRUE(UI.Questions().empty());

    // Root names compare exactly: a form named fmain is left alone.
    TForm other("fmain");
    other.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
    other.Lx->SetFileName(Lang("ru.lng"));
    other.Lx->EnsureLoaded();
    EXPECT_EQ(other.Ok->text(), "OK");
}

TEST_F(Lexivane, PseudonymsAndBadCollectionIndexes) {
    WritePack(Lang("p.lng"), 0, {{"fMain_btnCancel_text", "via pseudonym"}});
    TForm f;
    f.Lx->GetRepository().Update("btnOK", "btnCancel");
    f.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
    f.Lx->SetFileName(Lang("p.lng"));
    EXPECT_TRUE(f.Lx->LoadAndApply(Lang("p.lng")));
    EXPECT_EQ(f.Ok->text(), "via pseudonym");

    // An index out of range stops the application with the I/O message.
    WritePack(Lang("bad.lng"), 0,
              {{"fMain_lblInfo_text", "before"},
               {"fMain_tabs_Tabs_7_text", "x"},
               {"fMain_windowTitle", "after"}});
    UI.Expect(host::TMsgResult::Ok);
    EXPECT_TRUE(f.Lx->LoadAndApply(Lang("bad.lng")));
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(
        UI.Questions()[0].Text,
        QString("I/O error. FileName - \"%1\".").arg(QString::fromStdString(Lang("bad.lng"))));
    EXPECT_EQ(f.Info->text(), "before");
    EXPECT_NE(f.Window->windowTitle(), "after");
}

TEST_F(Lexivane, LoadAndApplyEvents) {
    WritePack(Lang("a.lng"), 0, {{"fMain_btnOK_text", "from a"}});
    WritePack(Lang("b.lng"), 0, {{"fMain_btnOK_text", "from b"}});
    TForm f;
    std::vector<std::string> log;
    f.Lx->OnFindFile = [&](TLXComponent*, const std::string& name, std::string& found,
                           bool& handled) {
        log.push_back("find " + name.substr(name.size() - 5));
        found = Lang("b.lng");
        handled = log.size() == 1; // the second time the redirection is refused
    };
    f.Lx->OnLoading = [&](TLXComponent*, const std::string& name, bool& cashing) {
        log.push_back("loading " + name.substr(name.size() - 5));
        cashing = false; // read privately: the server does not cache it
    };
    f.Lx->OnLoaded = [&](TLXComponent*, bool ok) { log.push_back(ok ? "ok" : "failed"); };
    EXPECT_TRUE(f.Lx->LoadAndApply(Lang("a.lng")));
    EXPECT_EQ(f.Ok->text(), "from b");
    EXPECT_TRUE(f.Lx->LoadAndApply(Lang("a.lng")));
    EXPECT_EQ(f.Ok->text(), "from a");
    EXPECT_FALSE(f.Lx->LoadAndApply(Lang("missing.lng"))); // the form keeps its texts
    EXPECT_EQ(f.Ok->text(), "from a");
    EXPECT_EQ(log, (std::vector<std::string>{"find a.lng", "loading b.lng", "ok", "find a.lng",
                                             "loading a.lng", "ok", "find g.lng", "loading g.lng",
                                             "failed"}));

    // A malformed pack is reported, not thrown through the event loop.
    Dir.Write("lang/broken.lng", "<fMain><btnOK>x");
    f.Lx->OnFindFile = nullptr;
    UI.Expect(host::TMsgResult::Ok);
    EXPECT_FALSE(f.Lx->LoadAndApply(Lang("broken.lng")));
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_TRUE(UI.Questions()[0].Text.contains("XML parse error!"));
}

TEST_F(Lexivane, FormsLocaliseThemselvesWhenFirstShown) {
    WritePack(Lang("ru.lng"), 1049, {{"fMain_btnOK_text", "Готово"}});
    TForm f;
    f.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
    f.Lx->SetFileName("\\lang\\ru.lng"); // the stored form, relative to the program folder
    EXPECT_TRUE(f.Lx->IsLoading());
    EXPECT_EQ(f.Ok->text(), "OK");
    f.Window->show();
    EXPECT_FALSE(f.Lx->IsLoading());
    EXPECT_EQ(f.Ok->text(), Q("Готово"));
    EXPECT_FALSE(f.Lx->isVisible()); // the component itself never shows
}

TEST_F(Lexivane, PackFolderResolution) {
    const std::string app = platform::AppDir();
    EXPECT_EQ(ResolvePackFolder("\\lang\\"), app + "lang/");
    EXPECT_EQ(ResolvePackFolder("lang"), app + "lang/");
    EXPECT_EQ(ResolvePackFolder("lang/sub/.."), app + "lang/");
    EXPECT_EQ(ResolvePackFolder("D:/packs"), "D:/packs/");
    EXPECT_EQ(ResolvePackFolder("/opt/packs"), "/opt/packs/");
    EXPECT_EQ(ResolvePackFolder("\\\\srv\\share"), "//srv/share/");
    EXPECT_EQ(ResolvePackFileName("\\lang\\RUS.lng"), app + "lang/RUS.lng");
}

TEST_F(Lexivane, CurrentPackRules) {
    WritePack(Lang("EN.lng"), 1033, {});
    WritePack(Lang("rus.lng"), 1049, {});
    TLXApp app;
    app.SetPackFolder("\\lang\\");
    app.SetCurrentPack("RUS.LNG"); // while loading: only stored
    app.EnsureLoaded();
    EXPECT_EQ(app.Packs(), (std::vector<std::string>{"EN.lng", "rus.lng"}));
    EXPECT_EQ(app.GetCurrentPack(), "rus.lng"); // the folder's spelling opens the file
    EXPECT_EQ(app.GetCurrentPackPath(), Lang("rus.lng"));
    EXPECT_EQ(XMLAppServer().App(), &app);

    EXPECT_TRUE(app.SetCurrentPack("en"));
    EXPECT_EQ(app.GetCurrentPack(), "EN.lng");
    EXPECT_FALSE(app.SetCurrentPack("EN.LNG")); // no change
    EXPECT_TRUE(app.SetCurrentPack("DE.LNG"));  // not there: the first pack
    EXPECT_EQ(app.GetCurrentPack(), "EN.lng");
    EXPECT_EQ(app.GetPack(5), "");
    EXPECT_EQ(app.GetPackPath(1), Lang("rus.lng"));

    app.SetPackFolder("\\nowhere\\");
    EXPECT_EQ(app.GetPacksCount(), 0);
    EXPECT_EQ(app.GetCurrentPack(), "");
}

TEST_F(Lexivane, LanguageMenuSwitchesEveryOpenForm) {
    WritePack(Lang("EN.lng"), 1033, {{"fMain_btnOK_text", "OK"}, {"fDialog_btnOK_text", "Close"}});
    WritePack(Lang("rus.lng"), 1049,
              {{"fMain_btnOK_text", "Готово"}, {"fDialog_btnOK_text", "Закрыть"}});
    WritePack(Lang("xx.lng"), 0, {}); // no language identifier: listed by file name

    TForm main;
    auto* menu = new QMenu(main.Window.get());
    menu->setObjectName("miLanguages");
    auto* app = new TLXApp(main.Window.get());
    app->setObjectName("lxApp");
    app->SetPackFolder("\\lang\\");
    app->SetCurrentPack("RUS.LNG");
    app->SetLanguagesMenuName("miLanguages");
    std::vector<std::string> changes;
    app->OnAppLangChanged = [&](TXMLIDEApp*, unsigned id, const std::string& file,
                                const std::string& name) {
        changes.push_back(std::to_string(id) + " " + file.substr(file.size() - 6) + " " + name);
    };
    TForm dialog("fDialog");
    main.Window->show(); // the application component loads before the form component
    dialog.Lx->EnsureLoaded();
    EXPECT_EQ(main.Ok->text(), Q("Готово"));
    EXPECT_EQ(dialog.Ok->text(), Q("Закрыть"));

    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->objectName(), "mi_lng_0");
    EXPECT_EQ(items[0]->text(), "English");
    EXPECT_EQ(items[1]->text(), "Russian");
    EXPECT_EQ(items[2]->text(), "xx.lng");
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());

    items[0]->trigger();
    EXPECT_EQ(app->GetCurrentPack(), "EN.lng");
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_EQ(main.Ok->text(), "OK");
    EXPECT_EQ(dialog.Ok->text(), "Close");
    EXPECT_EQ(changes, (std::vector<std::string>{"1033 EN.lng English"}));

    // A form that works alone stays; ForcedUseXMLApp takes it along.
    dialog.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
    items[1]->trigger();
    EXPECT_EQ(main.Ok->text(), Q("Готово"));
    EXPECT_EQ(dialog.Ok->text(), "Close");
    app->SetForcedUseXMLApp(true);
    items[0]->trigger();
    items[1]->trigger();
    EXPECT_EQ(dialog.Ok->text(), Q("Закрыть"));

    delete menu; // the component forgets a destroyed menu
    EXPECT_EQ(app->GetLanguagesMenuItem(), nullptr);
    app->BuildLanguagesMenu();
}

TEST_F(Lexivane, DetectLanguageAtStartUp) {
    WritePack(Lang("EN.lng"), 1033, {});
    WritePack(Lang("rus.lng"), 1049, {});
    TLXApp app;
    app.SetPackFolder("\\lang\\");
    app.SetCurrentPack("EN.LNG");
    std::vector<std::string> offered;
    app.OnDetectIDELang = [&](TXMLIDEApp*, const std::vector<std::string>& langs, int& index,
                              bool& handled) {
        offered = langs;
        index = 1;
        handled = true;
    };
    app.EnsureLoaded();
    EXPECT_EQ(offered, (std::vector<std::string>{"EN.lng", "rus.lng"}));
    EXPECT_EQ(app.GetCurrentPack(), "rus.lng");

    TLXApp unhandled;
    unhandled.SetPackFolder("\\lang\\");
    unhandled.SetCurrentPack("EN.LNG");
    unhandled.OnDetectIDELang = [](TXMLIDEApp*, const std::vector<std::string>&, int& index,
                                   bool& handled) {
        index = 1;
        handled = false;
    };
    unhandled.EnsureLoaded();
    EXPECT_EQ(unhandled.GetCurrentPack(), "EN.lng");
}

TEST_F(Lexivane, WhichPackAFormUses) {
    WritePack(Lang("EN.lng"), 1033, {});
    WritePack(Lang("own.lng"), 0, {});
    TForm f;
    f.Lx->SetFileName("\\lang\\own.lng");
    // No application component, no embedded record: its own file.
    EXPECT_EQ(f.Lx->GetManFileName(), Lang("own.lng"));
    EXPECT_TRUE(f.Lx->IsRealyWorkAlone());
    EXPECT_EQ(f.Lx->GetFileName(), "\\lang\\own.lng");

    // The embedded record names a pack.
    DesignServices().ReadDataFromResFile = [](TXMLAppDataBlock& b) {
        b = EncodeXMLAppData({true, false, "/packs/REC.LNG", "\\lang\\", "u.cpp"});
        return true;
    };
    EXPECT_EQ(f.Lx->GetManFileName(), "/packs/REC.LNG");
    EXPECT_FALSE(f.Lx->IsRealyWorkAlone());
    f.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
    EXPECT_EQ(f.Lx->GetManFileName(), Lang("own.lng"));
    f.Lx->SetStatus(TXMLBaseClass::csUseXMLApp);

    // An application component wins over the record.
    {
        TLXApp app;
        app.SetPackFolder("\\lang\\");
        app.SetCurrentPack("EN");
        app.EnsureLoaded();
        EXPECT_EQ(f.Lx->GetManFileName(), Lang("EN.lng"));
        f.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
        EXPECT_EQ(f.Lx->GetManFileName(), Lang("own.lng"));
        app.SetForcedUseXMLApp(true);
        EXPECT_EQ(f.Lx->GetManFileName(), Lang("EN.lng"));
    }
    EXPECT_EQ(XMLAppServer().App(), nullptr);
    EXPECT_TRUE(XMLAppServer().AppRemoved);
}

TEST_F(Lexivane, SaveFormToFileWritesTheFormsTexts) {
    DesignServices().UseAllowedPropNamesList = [](std::vector<std::string>& names) {
        names.clear();
        std::string list = kDefaultAllowedPropNames;
        std::size_t pos = 0;
        while (pos <= list.size()) {
            const auto comma = list.find(',', pos);
            names.push_back(list.substr(pos, comma - pos));
            if (comma == std::string::npos)
                break;
            pos = comma + 1;
        }
        return 1;
    };
    TForm f;
    f.Window->setWindowTitle(Q("Окно"));
    f.Ok->setToolTip("Press");
    f.Lx->GetRepository().Update("lblInfo", "lblHint");
    const std::string out = Lang("new.lng");
    std::filesystem::create_directories(Dir.Path() + "/lang");
    // An old text of this form is dropped; other forms stay.
    WritePack(out, 0, {{"fMain_old_text", "gone"}, {"fOther_x_text", "kept"}}, TPackEncoding::HTML);
    f.Lx->SaveFormToFile(out, "");

    TXMLTreeItem pack;
    pack.OpenFromFile(out);
    pack.SetTreeSeparator('.');
    EXPECT_EQ(pack.GetItemValue_("fMain.windowTitle"), U("Окно"));
    EXPECT_EQ(pack.GetItemValue_("fMain.btnOK.text"), u"OK");
    EXPECT_EQ(pack.GetItemValue_("fMain.btnOK.toolTip"), u"Press");
    EXPECT_EQ(pack.GetItemValue_("fMain.lblHint.text"), u"info");
    EXPECT_EQ(pack.GetItemValue_("fMain.cbxKind.Items.1.text"), u"two");
    EXPECT_EQ(pack.GetItemValue_("fMain.tabs.Tabs.1.text"), u"second");
    EXPECT_EQ(pack.GetItem_F("fMain.old"), nullptr);
    EXPECT_EQ(pack.GetItemValue_("fOther.x.text"), u"kept");
    EXPECT_EQ(pack.GetItem_F("fMain.lxForm"), nullptr);           // the component itself is skipped
    EXPECT_EQ(pack.GetItem_F("fMain.btnOK.objectName"), nullptr); // names are identities
    EXPECT_EQ(pack.GetItem_F("fMain.btnOK.enabled"), nullptr);    // not in the filter
    EXPECT_EQ(pack.GetEncoding(), TPackEncoding::HTML);           // an existing pack keeps its own

    // And the pack applies back to a fresh form.
    TForm g;
    g.Lx->GetRepository().Update("lblInfo", "lblHint");
    g.Ok->setText("changed");
    g.Info->setText("changed");
    g.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
    g.Lx->LoadAndApply(out);
    EXPECT_EQ(g.Ok->text(), "OK");
    EXPECT_EQ(g.Info->text(), "info");
}

// Inside a form designer: preview a language, and keep the designed texts.
TEST_F(Lexivane, DesignTimePreview) {
    host::SetDesignMode(true);
    DesignServices().GetBackUpFileName = [this] { return Dir.File("project.tlng"); };
    DesignServices().UseAllowedPropNamesList = [](std::vector<std::string>& names) {
        names = {"text", "windowTitle"};
        return 1;
    };
    WritePack(Lang("ru.lng"), 1049, {{"fMain_btnOK_text", "Готово"}});
    {
        TForm f;
        ASSERT_TRUE(f.Lx->IsDesigning());
        f.Lx->SetStatus(TXMLBaseClass::csWorkAlone);
        f.Lx->SetFileName(Lang("ru.lng"));
        f.Lx->EnsureLoaded(); // a designed form shows the pack's language
        EXPECT_TRUE(f.Lx->IsPreviewActivated());
        EXPECT_EQ(f.Ok->text(), Q("Готово"));
        EXPECT_EQ(ValueInFile(Dir.File("project.tlng"), "fMain_btnOK_text"),
                  u"OK"); // the designed text is kept aside

        // The developer edits a text while previewing, then turns preview off.
        f.Ok->setText("Сделано");
        f.Lx->SetPreview(false);
        EXPECT_FALSE(f.Lx->IsPreviewActivated());
        EXPECT_EQ(f.Ok->text(), "OK"); // the designed texts are back
        EXPECT_EQ(ValueInFile(Lang("ru.lng"), "fMain_btnOK_text"),
                  U("Сделано")); // and the edit went into the pack
    }
    host::SetDesignMode(false);
}

TEST_F(Lexivane, OneApplicationComponentPerProject) {
    host::SetDesignMode(true);
    TXMLAppDataBlock stored =
        EncodeXMLAppData({true, false, "RUS.LNG", "\\lang\\", "/src/other.cpp"});
    int writes = 0;
    KeepRecordIn(stored, writes);
    DesignServices().GetUnitFileName = [](const QObject*) { return std::string("/src/main.cpp"); };
    int own = 0; // the other unit still belongs to the project
    DesignServices().GetModuleOwn = [&](const std::string&) { return own; };
    try {
        TLXApp second;
        ADD_FAILURE() << "a second application component was created";
    } catch (const ELXError& e) {
        EXPECT_STREQ(e.what(), rsXMLAppExists);
    }
    EXPECT_EQ(writes, 0);

    own = 1; // that unit left the project: this component takes over
    {
        TLXApp app;
        EXPECT_EQ(XMLAppServer().App(), &app);
        EXPECT_EQ(writes, 1);
        EXPECT_EQ(DecodeXMLAppData(stored).UnitFileName, "/src/main.cpp");
        std::vector<std::string> list;
        XMLAppServer().GetXMLAppPacksList(list);
        EXPECT_TRUE(list.empty());
        std::string file = "x";
        EXPECT_EQ(XMLAppServer().GetXMLAppCurrentPackFileName(file), "");
        EXPECT_EQ(file, "");
    }
    host::SetDesignMode(false);
}

TEST_F(Lexivane, ServerOperationsOfTheDesignPackage) {
    WritePack(Lang("EN.lng"), 1033, {});
    WritePack(Lang("rus.lng"), 1049, {});
    TXMLAppDataBlock stored{};
    DesignServices().WriteDataToResFile = [&](const TXMLAppDataBlock& b) { stored = b; };
    TXMLAppServer& server = XMLAppServer();
    std::vector<std::string> list{"stale"};
    server.GetXMLAppPacksList(list);
    EXPECT_TRUE(list.empty()); // no application component
    EXPECT_FALSE(server.ChangeCurentLangPack("rus"));

    TLXApp app;
    app.SetPackFolder("\\lang\\");
    app.EnsureLoaded();
    server.GetXMLAppPacksList(list);
    EXPECT_EQ(list, (std::vector<std::string>{"English", "Russian"}));
    EXPECT_TRUE(server.ChangeCurentLangPack("rus"));
    EXPECT_FALSE(server.ChangeCurentLangPack("RUS.lng"));
    std::string file;
    EXPECT_EQ(server.GetXMLAppCurrentPackFileName(file), "Russian");
    EXPECT_EQ(file, Lang("rus.lng"));
    server.WriteDataToResource(true);
    EXPECT_EQ(DecodeXMLAppData(stored).CurrentPack, "rus.lng");
    EXPECT_EQ(DecodeXMLAppData(stored).PackFolder, "\\lang\\");
    server.ClearDataInResource();
    EXPECT_EQ(stored, TXMLAppDataBlock{});
}

// A form designer puts a main window's form component into its central
// widget; that widget stays part of the window.
TEST_F(Lexivane, MainWindowsAndTheirCentralWidget) {
    DesignServices().UseAllowedPropNamesList = [](std::vector<std::string>& names) {
        names = {"text", "windowTitle", "toolTip"};
        return 1;
    };
    QMainWindow main;
    main.setObjectName("fMain");
    auto* central = new QWidget(&main);
    central->setObjectName("centralwidget");
    main.setCentralWidget(central);
    auto* ok = new QPushButton("OK", central);
    ok->setObjectName("btnOK");
    auto* edit = new QLineEdit(central);
    edit->setObjectName("edtName");
    auto* bar = new QToolBar("Main tool bar", &main);
    bar->setObjectName("toolBar");
    main.addToolBar(bar);
    auto* lx = new TLXForm(central);
    EXPECT_EQ(lx->FormOwner(), &main);
    EXPECT_EQ(host::ComponentOwner(ok), &main);

    // Empty texts get no new items; the tool bar's title does.
    const std::string out = Lang("main.lng");
    WritePack(out, 0, {{"fMain_edtName_toolTip", "kept"}});
    lx->SaveFormToFile(out, "");
    EXPECT_EQ(ValueInFile(out, "fMain_btnOK_text"), u"OK");
    EXPECT_EQ(ValueInFile(out, "fMain_toolBar_windowTitle"), u"Main tool bar");
    EXPECT_EQ(ValueInFile(out, "fMain_edtName_toolTip"), u""); // an existing item follows the form
    TXMLTreeItem pack;
    pack.OpenFromFile(out);
    EXPECT_EQ(pack.GetItem_F("fMain_edtName_text"), nullptr);
    EXPECT_EQ(pack.GetItem_F("fMain_btnOK_toolTip"), nullptr);

    WritePack(Lang("ru.lng"), 1049, {{"fMain_btnOK_text", "Готово"}});
    edit->setText("typed by the user");
    lx->SetStatus(TXMLBaseClass::csWorkAlone);
    lx->LoadAndApply(Lang("ru.lng"));
    EXPECT_EQ(ok->text(), Q("Готово"));
    EXPECT_EQ(edit->text(), "typed by the user");
}
