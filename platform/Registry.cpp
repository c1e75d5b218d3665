#include "Registry.h"

#include "IniFile.h"

#include <cstdlib>
#include <filesystem>

namespace lx::platform {

TRegistry::TRegistry() : FFileName(DefaultFileName()) {}

TRegistry::TRegistry(std::string fileName) : FFileName(std::move(fileName)) {}

std::string TRegistry::DefaultFileName() {
    if (const char* env = std::getenv("LX_REGISTRY"); env && *env)
        return env;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    return base + "/glotrix/registry.ini";
}

std::string TRegistry::Section(TRootKey root, const std::string& key) {
    std::string path =
        root == TRootKey::HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
    std::string k;
    for (char c : key)
        k += c == '/' ? '\\' : c;
    while (!k.empty() && k.front() == '\\')
        k.erase(k.begin());
    while (!k.empty() && k.back() == '\\')
        k.pop_back();
    if (!k.empty())
        path += "\\" + k;
    return path;
}

std::optional<std::string> TRegistry::ReadString(TRootKey root, const std::string& key,
                                                 const std::string& value) const {
    std::string v;
    if (TIniFile(FFileName).Read(Section(root, key), value, v))
        return v;
    return std::nullopt;
}

bool TRegistry::WriteString(TRootKey root, const std::string& key, const std::string& value,
                            const std::string& data) {
    std::error_code ec;
    const auto folder = std::filesystem::path(FFileName).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    return TIniFile(FFileName).WriteString(Section(root, key), value, data);
}

bool TRegistry::DeleteValue(TRootKey root, const std::string& key, const std::string& value) {
    return TIniFile(FFileName).DeleteKey(Section(root, key), value);
}

bool TRegistry::DeleteKey(TRootKey root, const std::string& key) {
    TIniFile ini(FFileName);
    const std::string section = UpperCaseAscii(Section(root, key));
    bool ok = true;
    for (const auto& name : ini.SectionNames()) {
        const std::string n = UpperCaseAscii(name);
        if (n == section || n.rfind(section + "\\", 0) == 0)
            ok = ini.DeleteSection(name) && ok;
    }
    return ok;
}

bool TRegistry::KeyExists(TRootKey root, const std::string& key) const {
    return TIniFile(FFileName).SectionExists(Section(root, key));
}

std::vector<std::string> TRegistry::ValueNames(TRootKey root, const std::string& key) const {
    return TIniFile(FFileName).KeyNames(Section(root, key));
}

} // namespace lx::platform
