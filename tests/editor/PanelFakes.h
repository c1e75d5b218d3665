#pragma once
// Small stand-ins for the pack set and the visible view, so that the name
// field and the value panel can be driven on their own: the view keeps a
// browse tree, review flags in memory and a record of what it was asked.

#include "editor/uTypes.h"
#include "engine/uEngine.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lx::test {

class TTestPacks : public editor::ILangPack {
public:
    /// A pack named `name` (file "/packs/<name>.lng") with the given leaves.
    TXMLTreeItem* Add(const std::string& name,
                      const std::vector<std::pair<std::string, std::u16string>>& leaves,
                      bool ticked = true) {
        auto pack = std::make_unique<TXMLTreeItem>("/packs/" + name + ".lng");
        for (const auto& [path, text] : leaves)
            static_cast<TXMLTreeItem*>(pack->AddGlobalItem(path))->SetText(text);
        pack->SetTreeModified(false);
        Packs.push_back(std::move(pack));
        Ticks.push_back(ticked);
        Fonts.push_back({});
        return Packs.back().get();
    }

    TXMLTreeItem* GetPack(int i) override { return Packs.at(std::size_t(i)).get(); }
    int GetPackCount() const override { return int(Packs.size()); }
    bool IsPackChecked(int i) const override { return Ticks.at(std::size_t(i)); }
    void SetPackChecked(int i, bool t) override { Ticks.at(std::size_t(i)) = t; }
    TPacksChanged GetOnPacksChanged() const override { return {}; }
    void SetOnPacksChanged(TPacksChanged) override {}
    std::vector<std::string> GetPackNames(bool tickedOnly) const override {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < Packs.size(); ++i)
            if (!tickedOnly || Ticks[i])
                names.push_back(ExtractFilePackName_(Packs[i]->GetFileName()));
        return names;
    }
    std::vector<std::string> GetPackList(std::vector<std::string>& header,
                                         bool tickedOnly) const override {
        header = {"Language", "File Name"};
        std::vector<std::string> rows;
        for (const std::string& n : GetPackNames(tickedOnly))
            rows.push_back(n + " - Language\x01" + n + ".lng");
        return rows;
    }
    TXMLTreeItem* AddPack(const std::string&) override { return nullptr; }
    void DeletePack(int) override {}
    void ReloadPacks() override {}
    bool DownloadPacks() override { return true; }
    bool UploadPacks() override { return true; }
    editor::TPackFont GetPackFont(int i) override { return Fonts.at(std::size_t(i)); }
    void SavePackFont(const editor::TPackFont&) override {}
    bool AnyPackModified() const override { return false; }
    void SetPacksModified(bool) override {}

    std::vector<std::unique_ptr<TXMLTreeItem>> Packs;
    std::vector<bool> Ticks;
    std::vector<editor::TPackFont> Fonts;
};

class TTestBrowser : public editor::IBrowserCtrl {
public:
    void BeginUpdate() override { Updating = true; }
    void EndUpdate() override { Updating = false; }
    std::string GetSelectedVar() override { return Selected; }
    void SelectVar(const std::string& path) override {
        const TTree* node = Tree.GetItem_F(path);
        if (!node || path.empty())
            return;
        Selected = node->GetFullName();
        SelectedWhileUpdating.push_back(Updating);
        if (Name && !Updating)
            Name->SetVarName(Selected);
        if (Memo)
            Memo->SetVarPath(Selected);
    }
    TTree* GetTree() override { return &Tree; }
    bool VarExists(const std::string& path) override {
        return !path.empty() && Tree.GetItem_F(path) != nullptr;
    }
    void ClearValues() override {
        ++Cleared;
        if (Memo)
            Memo->SetVarPath("");
    }
    int GetVarKind(const std::string& path) override {
        const TTree* node = path.empty() ? nullptr : Tree.GetItem_F(path);
        return !node ? 2 : node->GetCount() > 0 ? 0 : 1;
    }
    bool CanAddVar(const std::string&) override { return CanAdd; }
    void AddVar(const std::string& path) override {
        Added.push_back(path);
        Tree.AddGlobalItem(path);
    }
    void DeleteVar(const std::string&) override {}
    void SetNeedToChange(const std::string& pack, const std::string& path) override {
        Flags[{pack, path}] = true;
    }
    void ClearNeedToChange(const std::string& pack, const std::string& path) override {
        Flags[{pack, path}] = false;
    }
    bool GetNeedToChange(const std::string& path, const std::string& pack) override {
        const auto it = Flags.find({pack, path});
        return it != Flags.end() && it->second;
    }
    void Refresh() override {}

    /// The union of the packs' trees, as the browser builds it.
    void MergeFrom(TTestPacks& packs) {
        for (auto& p : packs.Packs)
            p->MergeInto(&Tree);
    }

    TTree Tree;
    std::string Selected;
    bool Updating = false;
    bool CanAdd = true;
    int Cleared = 0;
    std::vector<std::string> Added;
    std::vector<bool> SelectedWhileUpdating;
    std::map<std::pair<std::string, std::string>, bool> Flags; // (pack, path)
    editor::IVarNameEditor* Name = nullptr;
    editor::IVarMemo* Memo = nullptr;
};

} // namespace lx::test
