#pragma once
// The interfaces through which the editor's panels talk to each other.

#include <functional>
#include <string>
#include <vector>

namespace lx {
class TXMLTreeItem;
}

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

} // namespace lx::editor
