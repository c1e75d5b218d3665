#pragma once
// INI access with the argument order section, key, value or default, file name.
// Reads never fail: a missing key, section or file gives the default. Writes
// create the file, rewrite it atomically, and return false when it cannot be
// written (the file is then left as it was).

#include <string>

namespace lx {

std::string ReadStr(const std::string& section, const std::string& key, const std::string& def,
                    const std::string& fileName);
/// The default for a missing key; 0 for a value that does not start with a
/// number (an optional sign and decimal digits, as Windows reads it).
int ReadInt(const std::string& section, const std::string& key, int def,
            const std::string& fileName);
/// Switches are stored as "true" / "false"; anything else reads as the default.
bool ReadBool(const std::string& section, const std::string& key, bool def,
              const std::string& fileName);

bool WriteStr(const std::string& section, const std::string& key, const std::string& value,
              const std::string& fileName);
bool WriteInt(const std::string& section, const std::string& key, int value,
              const std::string& fileName);
bool WriteBool(const std::string& section, const std::string& key, bool value,
               const std::string& fileName);

bool DeleteKey(const std::string& section, const std::string& key, const std::string& fileName);
bool DeleteSection(const std::string& section, const std::string& fileName);

} // namespace lx
