#pragma once
// The pack set of one working folder: the packs of the cache, their ticks
// and fonts (packs.cfg, one section per working folder), opening and closing
// a folder with its lock and cache. The pack-set panel shows it.

#include "uTypes.h"

#include "engine/uEngine.h"

#include <memory>
#include <string>
#include <vector>

namespace lx::editor {

class TLangPackSet : public ILangPack {
public:
    TLangPackSet();
    ~TLangPackSet() override;

    const std::string& WorkDir() const { return FWorkDir; }
    /// Opens a folder: availability (Abort/Retry/Ignore), lock, recovery or
    /// download, then main.ini [main] workdir and the packs. An empty path
    /// closes the set. Returns whether a set is open afterwards.
    bool OpenWorkDir(const std::string& path);
    /// Clears the cache and leaves the lock; asks first when saved packs were
    /// not written back. False when the user keeps the set open.
    bool CloseWorkDir();
    void SaveModifiedPacks();
    bool TakeOverPack();
    /// The font of packs without one of their own.
    void SetDefaultFont(const TPackFont& font) { FDefaultFont = font; }

    TXMLTreeItem* GetPack(int index) override;
    int GetPackCount() const override { return static_cast<int>(FPacks.size()); }
    bool IsPackChecked(int index) const override;
    void SetPackChecked(int index, bool ticked) override;
    TPacksChanged GetOnPacksChanged() const override { return FOnPacksChanged; }
    void SetOnPacksChanged(TPacksChanged callback) override {
        FOnPacksChanged = std::move(callback);
    }
    std::vector<std::string> GetPackNames(bool tickedOnly) const override;
    std::vector<std::string> GetPackList(std::vector<std::string>& header,
                                         bool tickedOnly) const override;
    TXMLTreeItem* AddPack(const std::string& name) override;
    void DeletePack(int index) override;
    void ReloadPacks() override;
    bool DownloadPacks() override;
    bool UploadPacks() override;
    TPackFont GetPackFont(int index) override;
    void SavePackFont(const TPackFont& font) override;
    bool AnyPackModified() const override;
    void SetPacksModified(bool modified) override;

private:
    void Notify();
    std::string FWorkDir;
    std::vector<std::unique_ptr<TXMLTreeItem>> FPacks;
    TPacksChanged FOnPacksChanged;
    TPackFont FDefaultFont;
    int FFontIndex = -1;
};

} // namespace lx::editor
