// lxpreview: any Qt Designer form in any language, without running its program.
#include "engine/uArrayFuncions.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "runtime/host/uHost.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uLexivane.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUiLoader>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace lx;

namespace {

const char* kUsage =
    R"(usage: lxpreview FORM.ui [--pack PACK.lng] [--dump] [--screenshot OUT.png] [--save-pack OUT.lng]

Loads a Qt Designer form, gives it a localised form component (unless it has
one), applies the pack as a running program would, and then:
  --dump              prints every localisable property as "path = value"
  --screenshot FILE   renders the form to a PNG file
  --save-pack FILE    writes the form's texts into a pack (created when missing)
Without an action it checks that the form and the pack load.

exit status: 0 success, 1 failure, 2 usage error
)";

// Messages of the components go to stderr; an error makes the run fail.
class TConsoleHostUI final : public host::IHostUI {
public:
    bool Failed = false;
    host::TMsgResult Ask(host::TMsgKind kind, const QString& text, host::TMsgButtons) override {
        std::fprintf(stderr, "lxpreview: %s\n", text.toUtf8().constData());
        if (kind == host::TMsgKind::Error || text.startsWith(QLatin1String("I/O error")))
            Failed = true;
        return host::TMsgResult::Ok;
    }
    bool InputBox(const QString&, const QString&, QString&) override { return false; }
};

// Creates the library's components by class name, with or without namespace.
class TLoader final : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        const QString bare = className.section(QLatin1String("::"), -1);
        QWidget* w = nullptr;
        if (bare == QLatin1String("TLXForm"))
            w = new TLXForm(parent);
        else if (bare == QLatin1String("TLXApp"))
            w = new TLXApp(parent);
        else if (bare == QLatin1String("TLXResource"))
            w = new TLXResource(parent);
        if (w) {
            w->setObjectName(name);
            return w;
        }
        return QUiLoader::createWidget(className, parent, name);
    }
};

std::vector<std::string> DefaultFilter() {
    TStringArray names = explode(kDefaultAllowedPropNames, ",", true);
    return {names.begin(), names.end()};
}

struct TArgs {
    std::string Form, Pack, Screenshot, SavePack;
    bool Dump = false;
};

int Fail(const std::string& text) {
    std::fprintf(stderr, "lxpreview: %s\n", text.c_str());
    return 1;
}

std::string Escaped(const std::u16string& v) {
    std::string r;
    for (char c : platform::Utf16ToUtf8(v)) {
        if (c == '\r')
            r += "\\r";
        else if (c == '\n')
            r += "\\n";
        else if (c == '\t')
            r += "\\t";
        else if (c == '\\')
            r += "\\\\";
        else
            r += c;
    }
    return r;
}

} // namespace

int main(int argc, char** argv) {
    TArgs a;
    for (int i = 1; i < argc; ++i) {
        const std::string s = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        if (s == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (s == "--version") {
            std::puts("lxpreview 0.1.0");
            return 0;
        }
        bool ok = true;
        if (s == "--pack")
            ok = value(a.Pack);
        else if (s == "--screenshot")
            ok = value(a.Screenshot);
        else if (s == "--save-pack")
            ok = value(a.SavePack);
        else if (s == "--dump")
            a.Dump = true;
        else if (!s.empty() && s[0] != '-' && a.Form.empty())
            a.Form = s;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "lxpreview: bad argument '%s'\nTry 'lxpreview --help'.\n",
                         s.c_str());
            return 2;
        }
    }
    if (a.Form.empty()) {
        std::fputs("lxpreview: no form given\nTry 'lxpreview --help'.\n", stderr);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);
    TConsoleHostUI ui;
    host::SetHostUI(&ui);
    DesignServices().UseAllowedPropNamesList = [](std::vector<std::string>& names) {
        names = DefaultFilter();
        return 1;
    };

    if (!platform::FileExists(a.Form))
        return Fail(a.Form + ": no such file");
    if (!a.Pack.empty()) {
        // Relative names are taken from the current folder, not the program's.
        a.Pack = QFileInfo(QString::fromStdString(a.Pack)).absoluteFilePath().toStdString();
        if (!platform::FileExists(a.Pack))
            return Fail(a.Pack + ": no such file");
        try {
            TXMLTreeItem check;
            check.OpenFromFile(a.Pack);
        } catch (const EXMLParseError& e) {
            return Fail(a.Pack + ": " + e.what() + " (at byte " + std::to_string(e.Offset()) + ")");
        } catch (const std::exception& e) {
            return Fail(a.Pack + ": " + e.what());
        }
    }

    QFile file(QString::fromStdString(a.Form));
    if (!file.open(QIODevice::ReadOnly))
        return Fail(a.Form + ": cannot open");
    TLoader loader;
    std::unique_ptr<QWidget> form(loader.load(&file));
    if (!form)
        return Fail(a.Form + ": not a form: " + loader.errorString().toStdString());

    TLXForm* lx = form->findChild<TLXForm*>();
    for (TLXForm* f : form->findChildren<TLXForm*>())
        if (host::ComponentOwner(f) == form.get())
            lx = f;
    if (!lx || host::ComponentOwner(lx) != form.get()) {
        lx = new TLXForm(form.get());
        lx->setObjectName(QStringLiteral("lxPreviewForm"));
    }
    // Every component of the form finishes loading now, as when the form is shown.
    if (!a.Pack.empty()) {
        for (TLXForm* f : form->findChildren<TLXForm*>()) {
            f->SetStatus(TXMLBaseClass::csWorkAlone);
            f->SetFileName(a.Pack);
        }
    }
    TLXComponent::LoadedForWindow(form.get());
    if (ui.Failed)
        return 1;

    if (a.Dump) {
        QTemporaryDir tmp;
        const std::string out = QDir(tmp.path()).filePath("dump.lng").toStdString();
        lx->SaveFormToFile(out, "");
        TXMLTreeItem pack;
        pack.OpenFromFile(out);
        pack.SetTreeSeparator('.');
        std::string text;
        pack.ForEach([&](TTree* n) {
            if (n->GetCount() > 0 || n->GetFullName().rfind("SYSTEM.", 0) == 0)
                return;
            text +=
                n->GetFullName() + " = " + Escaped(static_cast<TXMLTreeItem*>(n)->GetText()) + "\n";
        });
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    if (!a.Screenshot.empty()) {
        form->adjustSize();
        const QPixmap shot = form->grab();
        if (!shot.save(QString::fromStdString(a.Screenshot), "PNG"))
            return Fail(a.Screenshot + ": cannot write the picture");
    }
    if (!a.SavePack.empty()) {
        try {
            lx->SaveFormToFile(a.SavePack, "");
        } catch (const std::exception& e) {
            return Fail(a.SavePack + ": " + e.what());
        }
    }
    return 0;
}
