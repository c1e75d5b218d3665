#include "DemoSettings.h"

#include "engine/uIni.h"

#include <cstdlib>
#include <filesystem>

namespace demo {

namespace {

constexpr const char* kSection = "Language";
constexpr const char* kPackKey = "Pack";

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

} // namespace

std::string SettingsFileName() {
    std::string base = Env("XDG_CONFIG_HOME");
    if (base.empty() || base.front() != '/') {
        const std::string home = Env("HOME");
        if (home.empty())
            return {};
        base = home + "/.config";
    }
    return (std::filesystem::path(base) / "glotrix-demo" / "demo.ini").string();
}

std::string ReadChosenPack() {
    const std::string file = SettingsFileName();
    return file.empty() ? std::string() : lx::ReadStr(kSection, kPackKey, "", file);
}

bool WriteChosenPack(const std::string& packFileName) {
    const std::string file = SettingsFileName();
    if (file.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    const std::string name = std::filesystem::path(packFileName).filename().string();
    return lx::WriteStr(kSection, kPackKey, name, file);
}

} // namespace demo
