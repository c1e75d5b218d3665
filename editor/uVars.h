#pragma once
// The editor's program-wide start-up state, its settings files and the
// command line.

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lx::editor {

/// Set once from the command line; an IDE request may replace IDEWindow and StartItem.
struct TStartUpState {
    std::int64_t IDEWindow = 0; ///< the IDE's window (its process) to notify; non-zero: modal mode
    std::string StartItem;      ///< variable to select once the folder is open
    bool ListOnly = false;      ///< open the options dialog on its packs page
    bool SplashEnabled = true;
};

TStartUpState& StartUp();
/// True after the lock of the open set was checked and taken (or taken over).
bool& PackAccessGranted();

/// The program folder, with a trailing '/'.
std::string GetAppDir();
std::string MainIniFileName();
std::string PacksCfgFileName();

/// Switches count as true only when stored exactly as "true".
bool ReadBoolSetting(const std::string& section, const std::string& key, bool def);
bool WriteBoolSetting(const std::string& section, const std::string& key, bool value);

/// The program entry's requests: "-silent", "-reg", "-unreg" (exact, case-sensitive).
struct TEntryRequest {
    bool Silent = false;
    bool Reg = false;
    bool Unreg = false;
};
TEntryRequest ParseEntryRequest(const std::vector<std::string>& args);

/// Reads the switches p, i, h, l, s from every argument (the program path
/// included) of at least two characters: the second character selects, the
/// first is not looked at. Returns the folder of -p, when given.
std::optional<std::string> ParseSwitches(const std::vector<std::string>& args,
                                         TStartUpState& state);

/// The -p rule for a folder: a pack file name (".LNG", any case) gives its
/// folder; one trailing separator goes when more than two characters remain.
std::string ReduceRequestedFolder(const std::string& value);

/// An IDE request's shared text: the folder before the first carriage
/// return (when it is not the first character), the variable after it.
/// Without a carriage return there is nothing to open.
struct TIDERequest {
    std::string Folder;
    std::string StartItem;
};
TIDERequest ParseIDERequestText(const std::string& text);

/// A resource text with each "%s", in order, replaced by the next value;
/// extra values are ignored, missing ones leave their "%s".
QString FillText(QString text, const std::vector<std::string>& values);

/// Registers the editor's pictures (the library's Qt resources).
void InitEditorResources();

} // namespace lx::editor
