#pragma once
// The advisory lock of a working folder: share.ini in the folder records who
// is editing the set. The editor checks it before opening a set, records
// itself, clears the record on closing, and asks before writing back packs it
// opened while somebody else held the record. It informs and asks; it never
// blocks a user who chooses to go on.

#include <string>
#include <utility>
#include <vector>

namespace lx::editor {

/// INI access to a file of the working folder. Local and network folders use
/// the file directly; an FTP folder transfers it (one read or one write is one
/// transfer).
class IFolderIni {
public:
    virtual ~IFolderIni() = default;
    /// Values of several keys of one section, defaults for missing ones.
    virtual std::vector<std::string>
    Read(const std::string& folder, const std::string& file, const std::string& section,
         const std::vector<std::pair<std::string, std::string>>& keysAndDefaults) = 0;
    virtual void Write(const std::string& folder, const std::string& file,
                       const std::string& section,
                       const std::vector<std::pair<std::string, std::string>>& values) = 0;
};

/// The file in a local or network folder; a file that cannot be written is
/// not reported (the lock is advisory).
class TLocalFolderIni final : public IFolderIni {
public:
    std::vector<std::string>
    Read(const std::string& folder, const std::string& file, const std::string& section,
         const std::vector<std::pair<std::string, std::string>>& keysAndDefaults) override;
    void Write(const std::string& folder, const std::string& file, const std::string& section,
               const std::vector<std::pair<std::string, std::string>>& values) override;
};

/// The INI access in use (the local one unless another was installed).
IFolderIni& FolderIni();
IFolderIni* SetFolderIni(IFolderIni* ini);
/// The access for a folder: one installed with SetFolderIni serves all; else
/// FTP folders go through the one installed with SetFTPFolderIni.
IFolderIni& FolderIniFor(const std::string& folder);
IFolderIni* SetFTPFolderIni(IFolderIni* ini);

/// The user's identity: main.ini [user] GUID, created on first use as a
/// random unsigned 32-bit number in decimal.
std::string GetUserGUID();

bool CanEnterPack(const std::string& folder);
std::string GetLockHolderName(const std::string& folder);
/// Records the user as holder; asks for the display name the first time.
bool RegisterEntry(const std::string& folder);
bool RegisterExit(const std::string& folder);
/// With a set open, records the user as holder of it and grants access.
bool TakeOverPack(const std::string& openFolder);

enum class TEnterResult { Granted, Ignored, Cancelled };
/// The lock step of opening a set: checks, asks Cancel/Retry/Ignore while
/// somebody else holds it, records the entry when granted. Sets PackAccessGranted.
TEnterResult EnterPackSet(const std::string& folder);
/// Before writing back: true when access is granted or the user confirms.
bool ConfirmUploadWithoutAccess();
/// Closing a set: clears the record when the lock was ours.
void LeavePackSet(const std::string& folder);

/// The lock message for a holder.
std::string LockMessage(const std::string& holder);

} // namespace lx::editor
