#include "uAccess.h"

#include "engine/uIni.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uResourceString.h"
#include "uPackCache.h"
#include "uProgressViewer.h"
#include "uVars.h"

#include <chrono>
#include <random>

namespace lx::editor {

LX_RESOURCESTRING(sCheckAccess, "Проверка допустимости входа в пакет");
LX_RESOURCESTRING(sRegisterEntry, "Регистрация на сервере");
LX_RESOURCESTRING(sRegisterExit, "Регистрация выхода с сервера");
LX_RESOURCESTRING(sUserRegistration, "Регистрация пользователя");
LX_RESOURCESTRING(sEnterUserName, "Введите имя под которым Вы будете представлены в системе:");
LX_RESOURCESTRING(sPackLocked,
                  "   Этот языковой пакет в данный момент редактируется пользователем \"%s\".\r\n"
                  "   Подождите пока пользователь закончит работу и нажмите кнопку <Retry> или "
                  "перезапустите приложение.\r\n"
                  "   Если Вы хотите начать работу с другим пакетом пакетом нажмите <Cancel>.\r\n"
                  "   Если Вы все же хотите открыть его, то нажмите кнопку <Ignore>.");
LX_RESOURCESTRING(sUploadWithoutAccess,
                  "Вы открыли этот пакет, в тот момент, когда он редактировался другим "
                  "пользователем! Вы действительно хотите сохранить данные на сервер?");

namespace {

constexpr const char* kShareIni = "share.ini";
constexpr std::size_t kValueLimit = 255; // the record limit of the remote INI operations

IFolderIni* gInstalled = nullptr;
IFolderIni* gFTPIni = nullptr;

std::string Cut(const std::string& s) {
    return s.size() > kValueLimit ? s.substr(0, kValueLimit) : s;
}

std::string Utf8(const lx::TResourceString& s) {
    return s().toStdString();
}

} // namespace

std::vector<std::string>
TLocalFolderIni::Read(const std::string& folder, const std::string& file,
                      const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& keysAndDefaults) {
    const std::string path = platform::JoinPath(platform::ToNativeSeparators(folder), file);
    std::vector<std::string> values;
    for (const auto& [key, def] : keysAndDefaults)
        values.push_back(ReadStr(section, key, def, path));
    return values;
}

void TLocalFolderIni::Write(const std::string& folder, const std::string& file,
                            const std::string& section,
                            const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string path = platform::JoinPath(platform::ToNativeSeparators(folder), file);
    for (const auto& [key, value] : values)
        WriteStr(section, key, value, path);
}

IFolderIni& FolderIni() {
    static TLocalFolderIni local;
    return gInstalled ? *gInstalled : local;
}

IFolderIni* SetFolderIni(IFolderIni* ini) {
    IFolderIni* old = gInstalled;
    gInstalled = ini;
    return old;
}

IFolderIni& FolderIniFor(const std::string& folder) {
    if (!gInstalled && gFTPIni && IsFTPPath(folder))
        return *gFTPIni;
    return FolderIni();
}

IFolderIni* SetFTPFolderIni(IFolderIni* ini) {
    IFolderIni* old = gFTPIni;
    gFTPIni = ini;
    return old;
}

std::string GetUserGUID() {
    std::string guid = ReadStr("user", "GUID", "", MainIniFileName());
    if (!guid.empty())
        return guid;
    std::mt19937 gen(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<std::uint32_t> all(0, UINT32_MAX);
    guid = std::to_string(all(gen));
    WriteStr("user", "GUID", guid, MainIniFileName());
    return guid;
}

bool CanEnterPack(const std::string& folder) {
    TActionScope action(Utf8(sCheckAccess));
    const auto v =
        FolderIniFor(folder).Read(folder, kShareIni, "access", {{"used", "false"}, {"usedby", ""}});
    if (platform::SameTextAscii(v[0], "false"))
        return true;
    return platform::SameTextAscii(v[1], GetUserGUID());
}

std::string GetLockHolderName(const std::string& folder) {
    return FolderIniFor(folder).Read(folder, kShareIni, "access", {{"username", ""}})[0];
}

bool RegisterEntry(const std::string& folder) {
    TActionScope action(Utf8(sRegisterEntry));
    const std::string name = ReadStr("user", "name", "", MainIniFileName());
    FolderIniFor(folder).Write(
        folder, kShareIni, "access",
        {{"used", "true"}, {"usedby", Cut(GetUserGUID())}, {"username", Cut(name)}});
    if (name.empty()) {
        QString entered;
        if (host::HostUI().InputBox(sUserRegistration(), sEnterUserName(), entered)) {
            const std::string n = entered.toStdString();
            FolderIniFor(folder).Write(folder, kShareIni, "access", {{"username", Cut(n)}});
            WriteStr("user", "name", n, MainIniFileName());
        }
    }
    return true;
}

bool RegisterExit(const std::string& folder) {
    TActionScope action(Utf8(sRegisterExit));
    FolderIniFor(folder).Write(folder, kShareIni, "access", {{"used", "false"}, {"usedby", ""}});
    return true;
}

bool TakeOverPack(const std::string& openFolder) {
    if (openFolder.empty())
        return false;
    if (RegisterEntry(openFolder))
        PackAccessGranted() = true;
    return true;
}

std::string LockMessage(const std::string& holder) {
    return FillText(sPackLocked(), {holder}).toStdString();
}

TEnterResult EnterPackSet(const std::string& folder) {
    for (;;) {
        PackAccessGranted() = CanEnterPack(folder);
        if (PackAccessGranted())
            break;
        const auto answer = host::HostUI().Ask(
            host::TMsgKind::Warning, QString::fromStdString(LockMessage(GetLockHolderName(folder))),
            host::TMsgButtons::CancelRetryIgnore);
        if (answer == host::TMsgResult::Retry)
            continue;
        PackAccessGranted() = false;
        return answer == host::TMsgResult::Ignore ? TEnterResult::Ignored : TEnterResult::Cancelled;
    }
    RegisterEntry(folder);
    return TEnterResult::Granted;
}

bool ConfirmUploadWithoutAccess() {
    if (PackAccessGranted())
        return true;
    return host::HostUI().Ask(host::TMsgKind::Warning, sUploadWithoutAccess(),
                              host::TMsgButtons::YesNo) == host::TMsgResult::Yes;
}

void LeavePackSet(const std::string& folder) {
    if (PackAccessGranted())
        RegisterExit(folder);
}

} // namespace lx::editor
