#pragma once
// The working folders opened last, most recent first: keys "ro_menu0" to
// "ro_menu9" of one INI section (the editor passes main.ini, section "menu").

#include <string>
#include <vector>

namespace lx::editor {

using TFolderList = std::vector<std::string>;

/// The values in key order up to the first empty one (spaces removed).
void LoadRecent(const std::string& iniFile, const std::string& section, TFolderList& list);
/// Writes the ten keys; missing entries are written empty, entries after the tenth not at all.
void SaveRecent(const std::string& iniFile, const std::string& section, const TFolderList& list);
/// LoadRecent without any entry equal to `folder` (letter case counts).
void LoadRecentExcept(const std::string& folder, const std::string& iniFile,
                      const std::string& section, TFolderList& list);
/// Moves `folder` to the top; the oldest entry falls off beyond ten.
void AddRecent(const std::string& folder, const std::string& iniFile, const std::string& section);

} // namespace lx::editor
