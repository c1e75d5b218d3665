#pragma once
// The textual form of an FTP working folder:
//   "ftp://" + user + ":" + password + "@" + host + [":" + port] + "/" + folder
// The address is the working folder's text itself (main.ini, packs.cfg,
// casheddata.ini keep it whole); on screen and in messages it appears only
// without its password (HidePassword).

#include <string>

namespace lx::editor {

/// The parts of an FTP address. An empty Port means the default, 21.
struct TFTPUserData {
    std::string Host;
    std::string UserName;
    std::string Password;
    std::string Folder; ///< relative to the login folder, without leading or trailing "/"
    std::string Port;
};

/// The address of a record; an empty folder (or "/" or "\") gives the login
/// folder, whose address ends with "//".
std::string BuildFTPURL(const TFTPUserData& data);
/// The record of an address. "\" counts as "/"; a user name ends at the
/// first ":" after "//", a password at the first "@" after that.
TFTPUserData ParseFTPURL(const std::string& address);
/// The text after the last "/" or "\" (the whole text without one).
std::string RemoteFileName(const std::string& path);
/// 1 for an FTP address, 2 for a network share ("\\" and 3 characters or
/// more), 0 for a local folder.
int PathKind(const std::string& path);
/// The key of the connection cache: the address cut after its last "/"; of
/// two separators at the end one is dropped.
std::string ConnectionKey(const std::string& address);
/// The text shown for a folder: an FTP address loses ":" + password; any
/// other text is returned as it is.
std::string HidePassword(const std::string& folder);

} // namespace lx::editor
