// The demo program on its real windows: its packs against its forms and its
// string table, the Language menu re-translating every open window and the
// texts built in code, and the remembered choice. Each test copies the demo's
// lang/ folder into its own program folder and keeps the settings file there
// too. This program carries the demo's string table (tests/examples/CMakeLists.txt).
#include "AddressFrame.h"
#include "DemoSettings.h"
#include "DemoTexts.h"
#include "MainWindow.h"
#include "OptionsDialog.h"
#include "engine/uArrayFuncions.h"
#include "engine/uIni.h"
#include "runtime/ClassRTTI.h"
#include "runtime/uLexivane.h"
#include "runtime/uResUtils.h"
#include "runtime/uResourceString.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Failures show texts rather than their UTF-16 units.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using namespace lx;
namespace fs = std::filesystem;

namespace {

QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

// Sets an environment variable for the life of the object, then restores it.
class TEnvVar {
public:
    TEnvVar(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~TEnvVar() {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }
    TEnvVar(const TEnvVar&) = delete;
    TEnvVar& operator=(const TEnvVar&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};

// Every variable of a pack by its '.' path, SYSTEM left out.
std::map<std::string, std::u16string> Variables(const TXMLTreeItem& pack) {
    std::map<std::string, std::u16string> vars;
    pack.ForEach([&](TTree* n) {
        const std::string path = n->GetFullName();
        if (n->GetCount() == 0 && path.rfind("SYSTEM.", 0) != 0)
            vars[path] = static_cast<TXMLTreeItem*>(n)->GetText();
    });
    return vars;
}

std::vector<std::string> DefaultPropFilter() {
    const TStringArray names = explode(kDefaultAllowedPropNames, ",", true);
    return {names.begin(), names.end()};
}

template <class T> T* Child(QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "no " << name;
    return found;
}

class DemoApp : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ResetDesignServices();
        const char* data = std::getenv("LX_TEST_DATA");
        ASSERT_NE(data, nullptr) << "LX_TEST_DATA names the tests folder";
        const fs::path source = fs::path(data) / ".." / "examples" / "demoapp" / "lang";
        ASSERT_TRUE(fs::is_directory(source)) << source;
        fs::copy(source, Dir.File("lang"), fs::copy_options::recursive);
        for (const auto& entry : fs::directory_iterator(Dir.File("lang"))) {
            auto pack = std::make_unique<TXMLTreeItem>();
            pack->OpenFromFile(entry.path().string());
            pack->SetTreeSeparator('.');
            Packs[entry.path().filename().string()] = std::move(pack);
        }
        Config = std::make_unique<TEnvVar>("XDG_CONFIG_HOME", Dir.File("config").c_str());
    }
    void TearDown() override {
        Config.reset();
        ResetDesignServices();
        TempDirTest::TearDown();
    }

    const TXMLTreeItem& Pack(const std::string& name) {
        const auto it = Packs.find(name);
        if (it == Packs.end())
            throw std::runtime_error("no pack " + name);
        return *it->second;
    }
    QString Text(const std::string& pack, const std::string& path) {
        return Q(Pack(pack).GetItemValue_(path));
    }
    // A pack's translation of a text built in code: resourcestring.<identifier>.
    QString Code(const std::string& pack, const TResourceString& text) {
        EXPECT_NE(text.ResID(), 0u) << text.Name() << " is not in the program's table";
        return Text(pack, "resourcestring." + std::to_string(text.ResID()));
    }
    std::string IniFile() const { return Dir.File("config/glotrix-demo/demo.ini"); }

    // The Language menu's item for a pack: mi_lng_<index of the pack>.
    static QAction* LanguageItem(MainWindow& w, const std::string& pack) {
        const auto& packs = w.LanguageApp()->Packs();
        for (std::size_t i = 0; i < packs.size(); ++i)
            if (packs[i] == pack)
                return Child<QMenu>(&w, "menuLanguage")
                    ->findChild<QAction*>(QStringLiteral("mi_lng_%1").arg(i));
        return nullptr;
    }

    // Every text a pack holds for `form` shows on `root` (a window, or one
    // instance of a sub-form, whose paths start with its class name).
    void ExpectPackShown(const std::string& pack, const std::string& form, QObject* root) {
        SCOPED_TRACE(pack + " on " + root->objectName().toStdString());
        int compared = 0;
        for (const auto& [path, value] : Variables(Pack(pack))) {
            if (path.rfind(form + ".", 0) != 0)
                continue;
            EXPECT_EQ(Q(GetComponentPropValue(path, root)), Q(value)) << path;
            ++compared;
        }
        EXPECT_GT(compared, 5);
    }

    // The whole program speaks `pack`: every open window, both address
    // frames, the widgets' collections read through Qt itself, the menu's
    // check mark, the window title and the status bar message `message`,
    // both built in code.
    void ExpectLanguage(MainWindow& w, const std::string& pack, const TResourceString& message) {
        SCOPED_TRACE("language " + pack);
        ExpectPackShown(pack, "fMain", &w);
        auto* home = Child<AddressFrame>(&w, "addrHome");
        auto* work = Child<AddressFrame>(&w, "addrWork");
        ExpectPackShown(pack, "AddressFrame", home);
        ExpectPackShown(pack, "AddressFrame", work);
        auto* options = w.findChild<OptionsDialog*>(QStringLiteral("fOptions"));
        if (options && options->isVisible())
            ExpectPackShown(pack, "fOptions", options);

        struct TShown {
            const char* Path;
            std::function<QString()> Text;
        };
        const TShown shown[] = {
            {"fMain.tabMain.Tabs.2.text",
             [&] { return Child<QTabWidget>(&w, "tabMain")->tabText(2); }},
            {"fMain.treeFiles.Columns.1.text",
             [&] { return Child<QTreeWidget>(&w, "treeFiles")->headerItem()->text(1); }},
            {"fMain.cbxKind.Items.2.text",
             [&] { return Child<QComboBox>(&w, "cbxKind")->itemText(2); }},
            {"fMain.lstTags.Items.0.text",
             [&] { return Child<QListWidget>(&w, "lstTags")->item(0)->text(); }},
            {"fMain.menuLanguage.title", [&] { return Child<QMenu>(&w, "menuLanguage")->title(); }},
            {"fMain.actOpen.statusTip", [&] { return Child<QAction>(&w, "actOpen")->statusTip(); }},
            {"fMain.edtNotes.placeholderText",
             [&] { return Child<QPlainTextEdit>(&w, "edtNotes")->placeholderText(); }},
            {"AddressFrame.lblStreet.text",
             [&] { return Child<QLabel>(home, "lblStreet")->text(); }},
            {"AddressFrame.edtCity.placeholderText",
             [&] { return Child<QLineEdit>(work, "edtCity")->placeholderText(); }},
        };
        for (const auto& s : shown)
            EXPECT_EQ(s.Text(), Text(pack, s.Path)) << s.Path;
        EXPECT_EQ(w.windowTitle(), Code(pack, demo::sMainTitle));
        EXPECT_EQ(w.statusBar()->currentMessage(), Code(pack, message));
        for (QAction* item : Child<QMenu>(&w, "menuLanguage")->actions())
            EXPECT_EQ(item->isChecked(), item == LanguageItem(w, pack))
                << item->objectName().toStdString();
        EXPECT_EQ(w.LanguageApp()->GetCurrentPack(), pack);
    }

    std::map<std::string, std::unique_ptr<TXMLTreeItem>> Packs;
    std::unique_ptr<TEnvVar> Config;
    test::TScriptedHostUI UI; // any message of the components fails the test
};

} // namespace

TEST_F(DemoApp, PacksTranslateEveryTextOfTheForms) {
    // The forms' own texts, as lxpreview --save-pack writes them, before any
    // pack is applied: the English pack must hold exactly the non-empty ones.
    DesignServices().UseAllowedPropNamesList = [](std::vector<std::string>& names) {
        names = DefaultPropFilter();
        return 1;
    };
    const std::string formsFile = Dir.File("forms.lng");
    {
        MainWindow main;
        OptionsDialog options;
        AddressFrame frame;
        for (QWidget* form : std::initializer_list<QWidget*>{&main, &options, &frame}) {
            // Each form's own component (the main window's sits in the
            // central widget it was designed in, which is part of the window).
            TLXForm* lx = nullptr;
            for (TLXForm* f : form->findChildren<TLXForm*>())
                if (f->FormOwner() == form)
                    lx = f;
            ASSERT_NE(lx, nullptr) << form->objectName().toStdString();
            lx->SaveFormToFile(formsFile, "");
        }
    }
    TXMLTreeItem forms;
    forms.OpenFromFile(formsFile);
    forms.SetTreeSeparator('.');
    std::map<std::string, std::u16string> formTexts;
    for (const auto& [path, value] : Variables(forms))
        if (!value.empty())
            formTexts[path] = value;
    ASSERT_GT(formTexts.size(), 50u);

    const auto english = Variables(Pack("ENU.lng"));
    std::map<std::string, std::u16string> englishFormTexts;
    for (const auto& [path, value] : english)
        if (path.rfind("resourcestring.", 0) != 0)
            englishFormTexts[path] = value;
    EXPECT_EQ(englishFormTexts, formTexts);

    // Every language: the same paths as English, no empty text, its own
    // language identifier, and real translations rather than copies.
    struct TLanguage {
        const char* File;
        unsigned LCID;
    };
    const TLanguage languages[] = {{"ENU.lng", 1033}, {"RUS.lng", 1049}, {"DEU.lng", 1031}};
    ASSERT_EQ(Packs.size(), std::size(languages));
    for (const auto& l : languages) {
        SCOPED_TRACE(l.File);
        const TXMLTreeItem& pack = Pack(l.File);
        EXPECT_EQ(pack.GetLCID(), l.LCID);
        EXPECT_EQ(pack.GetEncoding(), TPackEncoding::UTF8);
        const auto vars = Variables(pack);
        std::set<std::string> missing, extra;
        for (const auto& [path, value] : english)
            if (!vars.count(path))
                missing.insert(path);
        std::size_t same = 0;
        for (const auto& [path, value] : vars) {
            EXPECT_FALSE(value.empty()) << path;
            if (!english.count(path))
                extra.insert(path);
            else if (english.at(path) == value)
                ++same;
        }
        EXPECT_TRUE(missing.empty())
            << "missing: " << implode({missing.begin(), missing.end()}, ", ");
        EXPECT_TRUE(extra.empty())
            << "not in English: " << implode({extra.begin(), extra.end()}, ", ");
        if (std::string(l.File) != "ENU.lng") {
            EXPECT_LT(same * 10, vars.size()) << same << " texts are the English ones";
        }
    }
}

// Every pack translates exactly the program's texts built in code (its string
// table, compiled into this program from the demo's sources with the demo's
// identifiers), English with the texts the declarations give, and every
// translation keeps the placeholders its text is formatted with.
TEST_F(DemoApp, PacksTranslateTheTextsBuiltInCode) {
    const TStringTable& table = ProgramStringTable();
    ASSERT_FALSE(table.empty());
    std::set<std::string> identifiers;
    for (const auto& [id, text] : table)
        identifiers.insert(std::to_string(id));
    auto placeholders = [](const QString& s) {
        static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
        QStringList found;
        for (const QRegularExpressionMatch& m : placeholder.globalMatch(s))
            found << m.captured();
        found.sort();
        return found;
    };
    const std::string prefix = "resourcestring.";
    for (const auto& [file, pack] : Packs) {
        SCOPED_TRACE(file);
        std::map<std::string, QString> texts; // by identifier
        for (const auto& [path, value] : Variables(*pack))
            if (path.rfind(prefix, 0) == 0)
                texts[path.substr(prefix.size())] = Q(value);
        std::set<std::string> names;
        for (const auto& [name, text] : texts)
            names.insert(name);
        EXPECT_EQ(names, identifiers);
        for (const auto& [id, own] : table) {
            const auto t = texts.find(std::to_string(id));
            if (t == texts.end())
                continue;
            if (file == "ENU.lng") {
                EXPECT_EQ(t->second, Q(own)) << id;
            }
            EXPECT_EQ(placeholders(t->second), placeholders(Q(own))) << id;
        }
    }
}

TEST_F(DemoApp, LanguageMenuSwitchesEveryOpenWindow) {
    MainWindow w;
    w.show();
    ExpectLanguage(w, "ENU.lng", demo::sReady);
    ASSERT_EQ(Child<QMenu>(&w, "menuLanguage")->actions().size(), 3);
    EXPECT_FALSE(std::filesystem::exists(IniFile())); // nothing chosen yet

    Child<QAction>(&w, "actOptions")->trigger();
    auto* options = w.findChild<OptionsDialog*>(QStringLiteral("fOptions"));
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->isVisible());
    EXPECT_FALSE(options->isModal());
    ExpectPackShown("ENU.lng", "fOptions", options);

    // What the user typed is no text of the packs and stays.
    Child<QLineEdit>(&w, "edtName")->setText("Anna Schmidt");
    Child<QLineEdit>(Child<AddressFrame>(&w, "addrWork"), "edtStreet")->setText("Hauptstr. 5");
    Child<QPlainTextEdit>(&w, "edtNotes")->setPlainText("prefers e-mail");

    for (const char* pack : {"RUS.lng", "DEU.lng", "ENU.lng"}) {
        QAction* item = LanguageItem(w, pack);
        ASSERT_NE(item, nullptr) << pack;
        item->trigger();
        ExpectLanguage(w, pack, demo::sLanguageChanged);
        EXPECT_EQ(ReadStr("Language", "Pack", "", IniFile()), pack);
        EXPECT_EQ(Child<QLineEdit>(&w, "edtName")->text(), "Anna Schmidt");
        EXPECT_EQ(Child<QLineEdit>(Child<AddressFrame>(&w, "addrWork"), "edtStreet")->text(),
                  "Hauptstr. 5");
        EXPECT_EQ(Child<QPlainTextEdit>(&w, "edtNotes")->toPlainText(), "prefers e-mail");
    }

    // A dialog closed in one language opens again in the next one.
    options->close();
    LanguageItem(w, "RUS.lng")->trigger();
    EXPECT_EQ(w.ShowOptions(), options);
    ExpectPackShown("RUS.lng", "fOptions", options);
}

// The texts built in code follow the language: the status messages, the title
// with the customer file's name, and the About text read through its resource
// string. The translation in use is <program>.dlng beside the program while
// the main window exists.
TEST_F(DemoApp, TextsBuiltInCodeFollowTheLanguage) {
    using namespace demo;
    const std::string copy = TXMLResource::CopyFileName();
    EXPECT_EQ(fs::path(copy).parent_path(), fs::path(Dir.Path()));
    const QString customer = QString::fromStdString(Dir.Write("smith.cst", "Smith"));
    {
        MainWindow w;
        w.show();
        EXPECT_TRUE(fs::exists(copy));
        w.AddCustomerFile(customer);
        EXPECT_EQ(w.windowTitle(), Code("ENU.lng", sMainTitleFile).arg("smith.cst"));
        EXPECT_EQ(w.statusBar()->currentMessage(), Code("ENU.lng", sOpened).arg("smith.cst"));

        auto* name = Child<QLineEdit>(&w, "edtName");
        auto* apply = Child<QPushButton>(&w, "btnApply");
        for (const char* pack : {"RUS.lng", "DEU.lng"}) {
            SCOPED_TRACE(pack);
            LanguageItem(w, pack)->trigger();
            EXPECT_EQ(w.statusBar()->currentMessage(), Code(pack, sLanguageChanged));
            EXPECT_EQ(w.windowTitle(), Code(pack, sMainTitleFile).arg("smith.cst"));
            EXPECT_EQ(sAboutText(), Code(pack, sAboutText));
            name->clear();
            apply->click();
            EXPECT_EQ(w.statusBar()->currentMessage(), Code(pack, sNoName));
            name->setText("Anna");
            apply->click();
            EXPECT_EQ(w.statusBar()->currentMessage(), Code(pack, sApplied).arg("Anna"));
            Child<QAction>(&w, "actSave")->trigger();
            EXPECT_EQ(w.statusBar()->currentMessage(), Code(pack, sSaved));
        }
    }
    // The component went with the window: the copy is gone, the program's own
    // texts are back.
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(sAboutText(), QString::fromUtf8(sAboutText.Default()));
}

TEST_F(DemoApp, RememberedChoiceAppliesAtStart) {
    {
        MainWindow w;
        w.show();
        LanguageItem(w, "DEU.lng")->trigger();
    }
    EXPECT_EQ(ReadStr("Language", "Pack", "", IniFile()), "DEU.lng");
    {
        MainWindow w;
        w.show();
        ExpectLanguage(w, "DEU.lng", demo::sReady);
        // A dialog first opened now starts in the remembered language too.
        ExpectPackShown("DEU.lng", "fOptions", w.ShowOptions());
    }

    // What the settings file says, and the language the program starts in:
    // the stored name in any letter case, English when nothing usable is stored.
    struct TCase {
        const char* Stored; // nullptr: no settings file
        const char* Starts;
    };
    const TCase cases[] = {
        {nullptr, "ENU.lng"}, {"rus.LNG", "RUS.lng"}, {"FRA.lng", "ENU.lng"}, {"", "ENU.lng"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Stored ? c.Stored : "(no file)");
        std::filesystem::remove(IniFile());
        if (c.Stored) {
            ASSERT_TRUE(demo::WriteChosenPack(c.Stored));
        }
        MainWindow w;
        w.show();
        ExpectLanguage(w, c.Starts, demo::sReady);
    }
}

TEST_F(DemoApp, SettingsFileFollowsTheXDGRules) {
    const TEnvVar home("HOME", Dir.Path().c_str());
    const std::string fallback = Dir.Path() + "/.config/glotrix-demo/demo.ini";
    struct TCase {
        const char* ConfigHome; // nullptr: unset
        std::string File;
    };
    const TCase cases[] = {
        {nullptr, fallback},
        {"", fallback},
        {"relative/config", fallback}, // only absolute paths count
        {"/srv/cfg", "/srv/cfg/glotrix-demo/demo.ini"},
    };
    for (const auto& c : cases) {
        const TEnvVar config("XDG_CONFIG_HOME", c.ConfigHome);
        EXPECT_EQ(demo::SettingsFileName(), c.File) << (c.ConfigHome ? c.ConfigHome : "(unset)");
    }
    {
        const TEnvVar noConfig("XDG_CONFIG_HOME", nullptr);
        const TEnvVar noHome("HOME", nullptr);
        EXPECT_EQ(demo::SettingsFileName(), "");
        EXPECT_FALSE(demo::WriteChosenPack("RUS.lng"));
        EXPECT_EQ(demo::ReadChosenPack(), "");
    }
    // The folder is made on first write; a full path is stored as its name.
    EXPECT_TRUE(demo::WriteChosenPack(Dir.File("lang/RUS.lng")));
    EXPECT_EQ(demo::ReadChosenPack(), "RUS.lng");
    EXPECT_EQ(ReadStr("Language", "Pack", "", IniFile()), "RUS.lng");
}
