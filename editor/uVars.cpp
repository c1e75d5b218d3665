#include "uVars.h"

#include "engine/uIni.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <charconv>

// Outside any namespace, as the resource's registration function is.
static void RegisterEditorResources() {
    Q_INIT_RESOURCE(editor);
}

namespace lx::editor {

QString FillText(QString text, const std::vector<std::string>& values) {
    qsizetype from = 0;
    for (const auto& v : values) {
        const auto at = text.indexOf(QStringLiteral("%s"), from);
        if (at < 0)
            break;
        const QString value = QString::fromStdString(v);
        text.replace(at, 2, value);
        from = at + value.size(); // a value holding "%s" is not filled again
    }
    return text;
}

void InitEditorResources() {
    RegisterEditorResources();
}

TStartUpState& StartUp() {
    static TStartUpState state;
    return state;
}

bool& PackAccessGranted() {
    static bool granted = false;
    return granted;
}

std::string GetAppDir() {
    return platform::AppDir();
}
std::string MainIniFileName() {
    return GetAppDir() + "main.ini";
}
std::string PacksCfgFileName() {
    return GetAppDir() + "packs.cfg";
}

bool ReadBoolSetting(const std::string& section, const std::string& key, bool def) {
    return ReadStr(section, key, def ? "true" : "false", MainIniFileName()) == "true";
}

bool WriteBoolSetting(const std::string& section, const std::string& key, bool value) {
    return WriteBool(section, key, value, MainIniFileName());
}

TEntryRequest ParseEntryRequest(const std::vector<std::string>& args) {
    TEntryRequest r;
    for (const auto& a : args) {
        r.Silent = r.Silent || a == "-silent";
        r.Reg = r.Reg || a == "-reg";
        r.Unreg = r.Unreg || a == "-unreg";
    }
    return r;
}

std::optional<std::string> ParseSwitches(const std::vector<std::string>& args,
                                         TStartUpState& state) {
    std::optional<std::string> folder;
    for (const auto& a : args) {
        if (a.size() < 2)
            continue;
        const std::string value = a.substr(2);
        switch (a[1]) {
        case 'p':
            folder = ReduceRequestedFolder(value);
            break;
        case 'i':
            state.StartItem = value;
            break;
        case 'h': {
            std::int64_t v = 0;
            const auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
            if (!value.empty() && ec == std::errc() && p == value.data() + value.size())
                state.IDEWindow = v;
            break;
        }
        case 'l':
            state.ListOnly = true;
            break;
        case 's':
            if (a.size() >= 3 && a[2] == '0')
                state.SplashEnabled = false;
            break;
        default:
            break;
        }
    }
    return folder;
}

std::string ReduceRequestedFolder(const std::string& value) {
    std::string f = value;
    if (f.size() > 4 && platform::SameTextAscii(f.substr(f.size() - 4), ".LNG")) {
        const auto slash = f.find_last_of("\\/");
        f = slash == std::string::npos ? std::string() : f.substr(0, slash + 1);
    }
    if (f.size() > 2 && (f.back() == '/' || f.back() == '\\'))
        f.pop_back();
    return f;
}

TIDERequest ParseIDERequestText(const std::string& text) {
    TIDERequest r;
    const auto cr = text.find('\r');
    if (cr == std::string::npos)
        return r;
    if (cr > 0)
        r.Folder = ReduceRequestedFolder(text.substr(0, cr));
    if (cr + 1 < text.size())
        r.StartItem = text.substr(cr + 1);
    return r;
}

} // namespace lx::editor
