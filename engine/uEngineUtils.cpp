// Free functions of the engine unit: pack names, language names, path kinds.
#include "uEngine.h"

#include "platform/Locales.h"
#include "platform/Paths.h"
#include "uFindStrUtilsPro.h"

namespace lx {

std::string ExtractFilePackName_(const std::string& path) {
    const auto p = path.find_last_of("\\/");
    if (p == std::string::npos)
        return path;
    std::string name = path.substr(p + 1);
    return name.size() <= 4 ? std::string() : name.substr(0, name.size() - 4);
}

std::string LanguageNameOfLCID(unsigned lcid) {
    std::string name = ReplaceBetween("(", ")", "", platform::EnglishDisplayNameOfLCID(lcid), true);
    const auto b = name.find_first_not_of(' ');
    if (b == std::string::npos)
        return std::to_string(lcid);
    const auto e = name.find_last_not_of(' ');
    return name.substr(b, e - b + 1);
}

bool IsRelativePath(const std::string& path) {
    return !platform::IsAbsolutePath(path) && !platform::IsNetworkPath(path);
}

} // namespace lx
