#include "uReOpenMenu.h"

#include "engine/uIni.h"

namespace lx::editor {

namespace {

constexpr int kMaxRecent = 10;

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string Key(int n) {
    return "ro_menu" + std::to_string(n);
}

} // namespace

void LoadRecent(const std::string& iniFile, const std::string& section, TFolderList& list) {
    list.clear();
    for (int n = 0;; ++n) {
        const std::string v = Trim(ReadStr(section, Key(n), "", iniFile));
        if (v.empty())
            return;
        list.push_back(v);
    }
}

void SaveRecent(const std::string& iniFile, const std::string& section, const TFolderList& list) {
    for (int n = 0; n < kMaxRecent; ++n)
        WriteStr(section, Key(n),
                 n < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(n)] : "",
                 iniFile);
}

void LoadRecentExcept(const std::string& folder, const std::string& iniFile,
                      const std::string& section, TFolderList& list) {
    LoadRecent(iniFile, section, list);
    for (auto i = list.size(); i-- > 0;)
        if (list[i] == folder)
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
}

void AddRecent(const std::string& folder, const std::string& iniFile, const std::string& section) {
    TFolderList list;
    LoadRecentExcept(folder, iniFile, section, list);
    list.insert(list.begin(), folder);
    SaveRecent(iniFile, section, list);
}

} // namespace lx::editor
