#pragma once
// The table of design-time services. A design package replaces these with its
// own implementations when it is loaded; programs run with the defaults.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QObject;

namespace lx {

/// The embedded language record: exactly this many bytes.
inline constexpr std::size_t kXMLAppDataSize = 1024;
using TXMLAppDataBlock = std::array<std::uint8_t, kXMLAppDataSize>;

/// The Qt resource the record is read from. The design package writes the
/// same name, so writer and reader always agree.
inline constexpr const char* kXMLAppDataResource = ":/FORCEDUSEXMLAPP";

/// The property names that may be localised when a form's texts are written
/// into a pack: the classic names and the Qt ones that carry user texts
/// (compared ignoring ASCII case, so "Text" also covers "text").
inline constexpr const char* kDefaultAllowedPropNames =
    "Caption,Hint,CommandText,FileName,HelpFile,ProviderName,Text,SimpleText,Page,PlainText,"
    "Items,Lines,PasswordChar,Tabs,Strings,TitleCaptions,windowTitle,toolTip,statusTip,"
    "whatsThis,title,placeholderText,suffix,prefix,specialValueText";

struct TDesignServices {
    std::function<bool()> DesignState;
    std::function<std::string()> GetProjectExeFileName;
    std::function<std::string()> GetProjectDPRFileName;
    std::function<std::string()> GetProjectDofFileName;
    std::function<std::string()> GetBackUpFileName;
    std::function<std::string(const QObject* component)> GetUnitFileName;
    std::function<bool(TXMLAppDataBlock& buffer)> ReadDataFromResFile;
    std::function<void(const TXMLAppDataBlock& buffer)> WriteDataToResFile;
    std::function<int(const std::string& unitFileName)> GetModuleOwn;
    std::function<int(std::vector<std::string>& names)> UseAllowedPropNamesList;
    std::function<std::string()> GetLXCompLangName;
};

/// The program's table (one per program).
TDesignServices& DesignServices();
/// Puts the run-time defaults back.
void ResetDesignServices();
/// The run-time defaults, for a design package that replaces only some.
TDesignServices RunTimeDesignServices();

/// The running program's file: the program folder (LX_APP_DIR when set) and
/// the executable's name.
std::string RunningModuleFileName();

} // namespace lx
