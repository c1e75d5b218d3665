// lxpreview from the outside: every test starts the built executable on the
// offscreen platform, with the program folder in its own temporary folder, and
// looks at exit status, standard output, standard error and the files it writes.

#include "engine/uEngine.h"
#include "platform/CodePage.h"
#include "support/TempDir.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using lx::test::TempDir;
namespace fs = std::filesystem;

struct TResult {
    int Code = -1;
    std::string Out, Err;
};

// Runs lxpreview with `args`; standard output and error go to files in `dir`,
// standard input is /dev/null. The program folder is `dir` (no lang/ folder,
// so an application component on a form finds no packs), and the platform is
// offscreen.
TResult RunLxpreview(const TempDir& dir, const std::vector<std::string>& args) {
    std::vector<std::string> argStore{LXPREVIEW_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        const std::string_view v(*e);
        if (v.rfind("LX_APP_DIR=", 0) != 0 && v.rfind("QT_QPA_PLATFORM=", 0) != 0)
            envStore.emplace_back(v);
    }
    envStore.push_back("LX_APP_DIR=" + dir.Path() + "/");
    envStore.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (std::string& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string outFile = dir.File("run.out"), errFile = dir.File("run.err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    TResult r;
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        ADD_FAILURE() << "posix_spawn: " << rc;
        return r;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.Out = TempDir::Read(outFile);
    r.Err = TempDir::Read(errFile);
    return r;
}

std::string Utf8(const std::u16string& s) {
    return lx::platform::Utf16ToUtf8(s);
}

// "path = value" lines of --dump by path.
std::map<std::string, std::string> ParseDump(const std::string& out) {
    std::map<std::string, std::string> lines;
    std::size_t pos = 0;
    while (pos < out.size()) {
        const auto end = out.find('\n', pos);
        const std::string line = out.substr(pos, end - pos);
        pos = end == std::string::npos ? out.size() : end + 1;
        const auto eq = line.find(" = ");
        if (eq == std::string::npos) {
            ADD_FAILURE() << "not a dump line: " << line;
            continue;
        }
        lines[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return lines;
}

// The variables of a pack under `root`, by '.' path.
std::map<std::string, std::string> PackTexts(const std::string& file, const std::string& root) {
    lx::TXMLTreeItem pack;
    pack.OpenFromFile(file);
    pack.SetTreeSeparator('.');
    std::map<std::string, std::string> texts;
    pack.ForEach([&](lx::TTree* n) {
        const std::string path = n->GetFullName();
        if (n->GetCount() == 0 && path.rfind(root + ".", 0) == 0)
            texts[path] = Utf8(static_cast<lx::TXMLTreeItem*>(n)->GetText());
    });
    return texts;
}

std::string DemoFile(const std::string& name) {
    const char* data = std::getenv("LX_TEST_DATA");
    return (fs::path(data ? data : ".") / ".." / "examples" / "demoapp" / name).string();
}

// A form lxpreview has never seen: fProbe with a label, a button in a group
// box, a combo box and tabs; as a plain widget without a form component, with
// one of its own, or as a main window whose component sits in the central
// widget (where Designer puts it).
enum class TProbeKind { Plain, OwnComponent, MainWindow };

const std::map<std::string, std::string> kProbeTexts = {
    {"fProbe.windowTitle", "Probe"},          {"fProbe.lblHello.text", "Hello"},
    {"fProbe.grpBox.title", "Box"},           {"fProbe.btnGo.text", "&Go"},
    {"fProbe.btnGo.toolTip", "Start it"},     {"fProbe.cbxPick.Items.0.text", "red"},
    {"fProbe.cbxPick.Items.1.text", "green"}, {"fProbe.tabs.Tabs.0.text", "One"},
    {"fProbe.tabs.Tabs.1.text", "Two"},
};

std::string ProbeForm(TProbeKind kind) {
    auto t = [](const char* path) {
        std::string v = kProbeTexts.at(path);
        std::string x;
        for (char c : v)
            x += c == '&' ? std::string("&amp;") : std::string(1, c);
        return "<string>" + x + "</string>";
    };
    std::string content = R"(<layout class="QVBoxLayout" name="lay">
<item><widget class="QLabel" name="lblHello"><property name="text">)" +
                          t("fProbe.lblHello.text") + R"(</property></widget></item>
<item><widget class="QGroupBox" name="grpBox"><property name="title">)" +
                          t("fProbe.grpBox.title") + R"(</property>
 <layout class="QHBoxLayout" name="layBox"><item><widget class="QPushButton" name="btnGo">
  <property name="text">)" +
                          t("fProbe.btnGo.text") + R"(</property><property name="toolTip">)" +
                          t("fProbe.btnGo.toolTip") + R"(</property>
 </widget></item></layout></widget></item>
<item><widget class="QComboBox" name="cbxPick">
 <item><property name="text">)" +
                          t("fProbe.cbxPick.Items.0.text") +
                          R"(</property></item>
 <item><property name="text">)" +
                          t("fProbe.cbxPick.Items.1.text") +
                          R"(</property></item>
</widget></item>
<item><widget class="QTabWidget" name="tabs">
 <widget class="QWidget" name="tabOne"><attribute name="title">)" +
                          t("fProbe.tabs.Tabs.0.text") + R"(</attribute></widget>
 <widget class="QWidget" name="tabTwo"><attribute name="title">)" +
                          t("fProbe.tabs.Tabs.1.text") + R"(</attribute></widget>
</widget></item>
</layout>)";
    const std::string component = R"(<widget class="lx::TLXForm" name="lxOwn"/>)";
    const std::string custom = R"(<customwidgets><customwidget><class>lx::TLXForm</class>
<extends>QWidget</extends><header>runtime/uLexivane.h</header></customwidget></customwidgets>)";
    const std::string title =
        "<property name=\"windowTitle\">" + t("fProbe.windowTitle") + "</property>";
    std::string body;
    switch (kind) {
    case TProbeKind::Plain:
        body = R"(<widget class="QWidget" name="fProbe">)" + title + content + "</widget>";
        break;
    case TProbeKind::OwnComponent:
        body = R"(<widget class="QWidget" name="fProbe">)" + title + content + component +
               "</widget>" + custom;
        break;
    case TProbeKind::MainWindow:
        body = R"(<widget class="QMainWindow" name="fProbe">)" + title +
               R"(<widget class="QWidget" name="central">)" + content + component +
               "</widget></widget>" + custom;
        break;
    }
    return R"(<?xml version="1.0" encoding="UTF-8"?><ui version="4.0"><class>fProbe</class>)" +
           body + "</ui>\n";
}

// The test's translation of a text: non-ASCII, so that UTF-8 output shows.
std::string Translated(const std::string& text) {
    return "«" + text + "» на русском";
}

// A UTF8 pack with the given '.' paths and values.
void WritePack(const std::string& file, unsigned lcid,
               const std::map<std::string, std::string>& texts) {
    lx::TXMLTreeItem pack;
    pack.SetEncoding(lx::TPackEncoding::UTF8);
    pack.SetLCID(lcid);
    pack.SetTreeSeparator('.');
    for (const auto& [path, value] : texts)
        static_cast<lx::TXMLTreeItem*>(pack.AddGlobalItem(path))
            ->SetText(lx::platform::Utf8ToUtf16(value));
    pack.SetTreeSeparator('_');
    pack.SaveToFile(file);
}

class Lxpreview : public ::testing::Test {
protected:
    TempDir Dir;
};

} // namespace

// The demo's forms show the texts of its packs: the English pack is what the
// forms say themselves, and --pack applies a translation to every text,
// including the main window's central widget and its collections.
TEST_F(Lxpreview, DumpsTheDemoFormsInEveryLanguage) {
    struct TForm {
        const char* File;
        const char* Root;
    };
    const TForm forms[] = {
        {"fMain.ui", "fMain"}, {"fOptions.ui", "fOptions"}, {"AddressFrame.ui", "AddressFrame"}};
    for (const auto& f : forms) {
        for (const char* pack : {"", "RUS.lng", "DEU.lng"}) {
            SCOPED_TRACE(std::string(f.File) + " " + pack);
            std::vector<std::string> args{DemoFile(f.File), "--dump"};
            if (*pack)
                args.insert(args.end(), {"--pack", DemoFile(std::string("lang/") + pack)});
            const TResult r = RunLxpreview(Dir, args);
            ASSERT_EQ(r.Code, 0) << r.Err;
            const auto dump = ParseDump(r.Out);
            const auto expected =
                PackTexts(DemoFile(std::string("lang/") + (*pack ? pack : "ENU.lng")), f.Root);
            ASSERT_GT(expected.size(), 5u);
            for (const auto& [path, value] : expected) {
                const auto it = dump.find(path);
                if (it == dump.end())
                    ADD_FAILURE() << path << " is not in the dump";
                else
                    EXPECT_EQ(it->second, value) << path;
            }
        }
    }
}

TEST_F(Lxpreview, DumpsAndTranslatesAFormItHasNeverSeen) {
    std::map<std::string, std::string> translations;
    for (const auto& [path, value] : kProbeTexts)
        translations[path] = Translated(value);
    const std::string pack = Dir.File("probe.lng");
    WritePack(pack, 1049, translations);

    const std::pair<TProbeKind, const char*> kinds[] = {{TProbeKind::Plain, "plain"},
                                                        {TProbeKind::OwnComponent, "own component"},
                                                        {TProbeKind::MainWindow, "main window"}};
    for (const auto& [kind, name] : kinds) {
        SCOPED_TRACE(name);
        const std::string form = Dir.Write("probe.ui", ProbeForm(kind));
        for (const bool translated : {false, true}) {
            std::vector<std::string> args{form, "--dump"};
            if (translated)
                args.insert(args.end(), {"--pack", pack});
            const TResult r = RunLxpreview(Dir, args);
            ASSERT_EQ(r.Code, 0) << r.Err;
            const auto dump = ParseDump(r.Out);
            const auto& expected = translated ? translations : kProbeTexts;
            for (const auto& [path, value] : expected) {
                const auto it = dump.find(path);
                if (it == dump.end())
                    ADD_FAILURE() << path << " is not in the dump";
                else
                    EXPECT_EQ(it->second, value) << path;
            }
            // The form components, lxpreview's own included, are no texts.
            for (const auto& [path, value] : dump)
                EXPECT_EQ(path.find(".lx"), std::string::npos) << path;
        }
    }
}

TEST_F(Lxpreview, SavePackWritesTheFormsTexts) {
    const std::string form = Dir.Write("probe.ui", ProbeForm(TProbeKind::MainWindow));

    // A new pack: UTF8, exactly the form's texts (empty ones aside).
    const std::string fresh = Dir.File("fresh.lng");
    TResult r = RunLxpreview(Dir, {form, "--save-pack", fresh});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "");
    {
        lx::TXMLTreeItem pack;
        ASSERT_TRUE(pack.OpenFromFile(fresh));
        EXPECT_EQ(pack.GetEncoding(), lx::TPackEncoding::UTF8);
    }
    std::map<std::string, std::string> saved;
    for (const auto& [path, value] : PackTexts(fresh, "fProbe"))
        if (!value.empty())
            saved[path] = value;
    EXPECT_EQ(saved, kProbeTexts);

    // An existing pack keeps its language and the other forms' texts; the
    // form's old texts give way to what it holds now, translated by --pack.
    std::map<std::string, std::string> translations;
    for (const auto& [path, value] : kProbeTexts)
        translations[path] = Translated(value);
    const std::string pack = Dir.File("probe.lng");
    WritePack(pack, 1049, translations);
    const std::string existing = Dir.File("existing.lng");
    WritePack(existing, 1031, {{"fOther.btnOK.text", "Weiter"}, {"fProbe.gone.text", "alt"}});
    r = RunLxpreview(Dir, {form, "--pack", pack, "--save-pack", existing});
    ASSERT_EQ(r.Code, 0) << r.Err;
    lx::TXMLTreeItem back;
    back.OpenFromFile(existing);
    back.SetTreeSeparator('.');
    EXPECT_EQ(back.GetLCID(), 1031u);
    EXPECT_EQ(Utf8(back.GetItemValue_("fOther.btnOK.text")), "Weiter");
    EXPECT_EQ(back.GetItem_F("fProbe.gone"), nullptr);
    for (const auto& [path, value] : translations)
        EXPECT_EQ(Utf8(back.GetItemValue_(path)), value) << path;
}

TEST_F(Lxpreview, ScreenshotIsAPicture) {
    const std::string shot = Dir.File("options.png");
    const TResult r = RunLxpreview(
        Dir, {DemoFile("fOptions.ui"), "--pack", DemoFile("lang/RUS.lng"), "--screenshot", shot});
    ASSERT_EQ(r.Code, 0) << r.Err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(shot), "PNG"));
    EXPECT_GT(image.width(), 50);
    EXPECT_GT(image.height(), 50);
    // A rendered form, not an empty canvas: text and frames in several colours.
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 4u);
}

// Failures name the file and exit 1; usage errors exit 2; neither writes to
// standard output.
TEST_F(Lxpreview, FailuresAndUsageErrors) {
    const std::string form = Dir.Write("probe.ui", ProbeForm(TProbeKind::Plain));
    const std::string brokenUi =
        Dir.Write("broken.ui", R"(<ui version="4.0"><widget class="QWidget" name="x">)");
    const std::string notUi = Dir.Write("other.ui", "<other/>\n");
    const std::string brokenPack = Dir.Write("broken.lng", "<fProbe><lblHello>x");
    const std::string missingPack = Dir.File("missing.lng");
    struct TCase {
        std::vector<std::string> Args;
        int Code;
        std::string Message; // text that standard error contains
    };
    const TCase cases[] = {
        {{Dir.File("missing.ui")}, 1, Dir.File("missing.ui") + ": no such file"},
        {{brokenUi, "--dump"}, 1, brokenUi + ": not a form"},
        {{notUi}, 1, notUi + ": not a form"},
        {{form, "--pack", missingPack, "--dump"}, 1, missingPack + ": no such file"},
        {{form, "--pack", brokenPack, "--dump"}, 1, brokenPack + ": XML parse error! (at byte "},
        {{form, "--screenshot", Dir.File("no/such/folder/x.png")},
         1,
         Dir.File("no/such/folder/x.png") + ": cannot write the picture"},
        {{form, "--save-pack", Dir.File("no/such/folder/x.lng")},
         1,
         Dir.File("no/such/folder/x.lng") + ": "},
        {{}, 2, "no form given"},
        {{"--dump"}, 2, "no form given"},
        {{form, "--bogus"}, 2, "bad argument '--bogus'"},
        {{form, "--pack"}, 2, "bad argument '--pack'"},
        {{form, form}, 2, "bad argument '" + form + "'"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.Args)
            shown += a + " ";
        SCOPED_TRACE(shown);
        const TResult r = RunLxpreview(Dir, c.Args);
        EXPECT_EQ(r.Code, c.Code) << r.Err;
        EXPECT_NE(r.Err.find("lxpreview: " + c.Message), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out, "");
        if (c.Code == 2) {
            EXPECT_NE(r.Err.find("Try 'lxpreview --help'"), std::string::npos) << r.Err;
        }
    }
    const TResult help = RunLxpreview(Dir, {"--help"});
    EXPECT_EQ(help.Code, 0);
    EXPECT_EQ(help.Out.rfind("usage: lxpreview FORM.ui", 0), 0u) << help.Out;
}
