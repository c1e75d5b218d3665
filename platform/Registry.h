#pragma once
// The registry, kept in an INI file: $LX_REGISTRY, default
// $XDG_CONFIG_HOME/glotrix/registry.ini (~/.config when XDG_CONFIG_HOME is unset).
// A key is a section named by its full path ("HKEY_LOCAL_MACHINE\SOFTWARE\GLOTRIX\EDITOR"),
// each value an entry of that section.

#include <optional>
#include <string>
#include <vector>

namespace lx::platform {

enum class TRootKey { HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER };

class TRegistry {
public:
    /// Uses the registry file of the environment.
    TRegistry();
    explicit TRegistry(std::string fileName);

    static std::string DefaultFileName();

    /// Key paths use '\' ("SOFTWARE\GLOTRIX\EDITOR"); '/' is taken as '\'.
    std::optional<std::string> ReadString(TRootKey root, const std::string& key,
                                          const std::string& value) const;
    /// Creates the key when needed. Returns false when the file cannot be written.
    bool WriteString(TRootKey root, const std::string& key, const std::string& value,
                     const std::string& data);
    bool DeleteValue(TRootKey root, const std::string& key, const std::string& value);
    /// Removes the key, its values and every key below it.
    bool DeleteKey(TRootKey root, const std::string& key);
    bool KeyExists(TRootKey root, const std::string& key) const;
    std::vector<std::string> ValueNames(TRootKey root, const std::string& key) const;

    const std::string& FileName() const { return FFileName; }

private:
    static std::string Section(TRootKey root, const std::string& key);
    std::string FFileName;
};

} // namespace lx::platform
