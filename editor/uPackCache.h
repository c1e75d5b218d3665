#pragma once
// The cache of the open working folder: the editor never edits a working
// folder directly. Opening copies the packs (and package.ini) into the cache
// folder and stamps every pack copy with the marker date; editing and saving
// work on the copies; writing back copies the packs whose date changed.
// casheddata.ini in the cache names the working folder, so that a run that
// ended abnormally can be resumed.

#include <stdexcept>
#include <string>
#include <vector>

namespace lx::editor {

/// The user answered Abort in the retry dialog of a single transfer: the
/// whole operation ends (the message is the transfer's error); what was
/// transferred so far stays.
class ETransferAborted : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The kind of a working folder, by its text.
bool IsFTPPath(const std::string& folder);     ///< starts with "ftp:" (case-sensitive)
bool IsNetworkPath(const std::string& folder); ///< starts with "\\" (and has 3 characters or more)

/// File access to a working folder. The local one serves local and network
/// folders; FTP folders get their own.
class IWorkFolder {
public:
    virtual ~IWorkFolder() = default;
    virtual bool Exists(const std::string& folder) = 0;
    /// The names of the folder's "*.lng" files.
    virtual std::vector<std::string> ListPacks(const std::string& folder) = 0;
    virtual bool FileExists(const std::string& folder, const std::string& name) = 0;
    /// Copies one file; throws std::runtime_error (with the file named) on
    /// failure, ETransferAborted when the user gave the operation up. False
    /// when the file was skipped (missing on a server, or the user chose to
    /// ignore it); the target is then left as it was.
    virtual bool Download(const std::string& folder, const std::string& name,
                          const std::string& localFile) = 0;
    virtual bool Upload(const std::string& localFile, const std::string& folder,
                        const std::string& name) = 0;
};

class TLocalWorkFolder final : public IWorkFolder {
public:
    bool Exists(const std::string& folder) override;
    std::vector<std::string> ListPacks(const std::string& folder) override;
    bool FileExists(const std::string& folder, const std::string& name) override;
    bool Download(const std::string& folder, const std::string& name,
                  const std::string& localFile) override;
    bool Upload(const std::string& localFile, const std::string& folder,
                const std::string& name) override;
};

/// The access used for a folder: FTP folders through the one installed with
/// SetFTPWorkFolder, the rest through the local one.
IWorkFolder& WorkFolderFor(const std::string& folder);
IWorkFolder* SetFTPWorkFolder(IWorkFolder* ftp);

/// Program folder + "cash/".
std::string CacheDir();
/// 1 January 2000, 00:00:00 local time, as a file time.
long long CacheMarkerTime();
/// The cache pack was saved (or created) since it was downloaded.
bool IsChangedSinceDownload(const std::string& file);
/// The packs of the cache, sorted by name.
std::vector<std::string> CachePackFiles();
/// The cache packs that were saved since the download.
std::vector<std::string> ChangedCachePacks();
/// Removes everything in the cache, casheddata.ini included.
void ClearCache();
/// The working folder the cache holds ("" when casheddata.ini is missing).
std::string CachedWorkDir();

/// One download pass: clears the cache, copies the packs (marked) and
/// package.ini, writes casheddata.ini. Throws std::runtime_error naming the
/// file when the folder is gone or a single copy fails (the cache is then
/// cleared again, so no half set is left for a later recovery). An
/// ETransferAborted passes through and leaves the cache as far as it got
/// (without casheddata.ini, so it is never offered for recovery).
void DownloadToCache(const std::string& folder);
/// One upload pass: the changed packs and package.ini; each pack written
/// back gets the marker date again. Throws like above.
void UploadFromCache(const std::string& folder);

/// The question loops around the passes (Abort/Retry); false when aborted.
/// A transfer the user aborted ends the loop with the error shown.
bool DownloadPacks(const std::string& folder);
bool UploadPacks(const std::string& folder);

/// The recovery step of opening `folder`. When the cache holds packs of an
/// earlier run the user may resume them; cached packs of another working
/// folder are never kept for this one: the question names that folder, and
/// Yes resumes it instead (`folder` becomes it). Otherwise downloads.
/// Returns false when nothing could be opened.
bool RecoverOrDownload(std::string& folder);

/// Before a set is closed: packs saved in the cache but not written back ask
/// Yes (write back) / No (discard) / Cancel (keep the set open). True when
/// the set may be closed.
bool ConfirmCloseWithUnsentPacks(const std::string& folder);

} // namespace lx::editor
