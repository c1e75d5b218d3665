#pragma once
// The interfaces through which the editor's panels talk to each other.

#include <functional>
#include <string>
#include <vector>

namespace lx {
class TTree;
class TXMLTreeItem;
} // namespace lx

namespace lx::editor {

/// The editing font of one pack, as packs.cfg keeps it.
struct TPackFont {
    int Charset = 1; // the default character set
    int Size = 10;
    std::string Name = "Sans Serif";
    bool operator==(const TPackFont&) const = default;
};

/// The pack set of the open working folder, offered to the other panels.
/// The index of a pack is its place in the set, used everywhere.
class ILangPack {
public:
    using TPacksChanged = std::function<void(ILangPack* sender)>;
    virtual ~ILangPack() = default;
    virtual TXMLTreeItem* GetPack(int index) = 0;
    virtual int GetPackCount() const = 0;
    virtual bool IsPackChecked(int index) const = 0;
    virtual void SetPackChecked(int index, bool ticked) = 0;
    virtual TPacksChanged GetOnPacksChanged() const = 0;
    virtual void SetOnPacksChanged(TPacksChanged callback) = 0;
    virtual std::vector<std::string> GetPackNames(bool tickedOnly) const = 0;
    /// Rows "name - language" + '\x01' + file name; fills the two column headers.
    virtual std::vector<std::string> GetPackList(std::vector<std::string>& header,
                                                 bool tickedOnly) const = 0;
    virtual TXMLTreeItem* AddPack(const std::string& name) = 0;
    virtual void DeletePack(int index) = 0;
    virtual void ReloadPacks() = 0;
    virtual bool DownloadPacks() = 0;
    virtual bool UploadPacks() = 0;
    virtual TPackFont GetPackFont(int index) = 0;
    virtual void SavePackFont(const TPackFont& font) = 0;
    virtual bool AnyPackModified() const = 0;
    virtual void SetPacksModified(bool modified) = 0;
};

/// A view that can be told that a batch of changes begins and ends.
class IUpdatedControl {
public:
    virtual ~IUpdatedControl() = default;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

/// The visible browsing view: the variable browser or the search results.
/// Paths compare as item names do (ASCII letters ignoring case).
class IBrowserCtrl : public IUpdatedControl {
public:
    virtual std::string GetSelectedVar() = 0;
    virtual void SelectVar(const std::string& path) = 0;
    virtual TTree* GetTree() = 0;
    virtual bool VarExists(const std::string& path) = 0;
    virtual void ClearValues() = 0;
    /// 0 a folder, 1 a variable, 2 not in the tree.
    virtual int GetVarKind(const std::string& path) = 0;
    virtual bool CanAddVar(const std::string& path) = 0;
    virtual void AddVar(const std::string& path) = 0;
    virtual void DeleteVar(const std::string& path) = 0;
    // Review flags: the setters take the pack first, the reader the path first.
    virtual void SetNeedToChange(const std::string& pack, const std::string& path) = 0;
    virtual void ClearNeedToChange(const std::string& pack, const std::string& path) = 0;
    virtual bool GetNeedToChange(const std::string& path, const std::string& pack) = 0;
    virtual void Refresh() = 0;
};

/// The name field.
class IVarNameEditor {
public:
    virtual ~IVarNameEditor() = default;
    virtual std::string GetVarName() = 0;
    virtual void SetVarName(const std::string& name) = 0;
};

/// The value panel: one editor per ticked pack for the current variable.
class IVarMemo {
public:
    virtual ~IVarMemo() = default;
    virtual std::string GetVarPath() = 0;
    virtual void SetVarPath(const std::string& path) = 0;
    virtual void UpdateFonts() = 0;
    virtual void Refresh() = 0;
};

/// The main window as the search view sees it.
class IMainControl {
public:
    virtual ~IMainControl() = default;
    /// Enables or disables every panel of the main window, except `frame` when `spare` is set.
    virtual void EnableFrames(bool enabled, void* frame, bool spare) = 0;
};

} // namespace lx::editor
