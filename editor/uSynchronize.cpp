#include "uSynchronize.h"

#include "engine/uEngine.h"
#include "platform/Text.h"

#include <string>
#include <unordered_map>

namespace lx::editor {

namespace {

std::string AsciiLower(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
}

// The children of one recipient folder by name (ignoring the case of a-z,
// first one wins, as lookups do). Folders with few children are searched
// directly; large ones get an index, so that filling a pack of many
// thousand variables in one folder stays linear.
class TChildIndex {
public:
    explicit TChildIndex(TTree* folder) : FFolder(folder) {
        if (folder->GetCount() < kIndexFrom)
            return;
        for (int i = 0; i < folder->GetCount(); ++i)
            FByName.try_emplace(AsciiLower(folder->GetItem_(i)->GetName()), folder->GetItem_(i));
        FIndexed = true;
    }
    TTree* Find(const std::string& name) const {
        if (!FIndexed)
            return FFolder->FindChild(name);
        const auto it = FByName.find(AsciiLower(name));
        return it == FByName.end() ? nullptr : it->second;
    }
    void Added(TTree* child) {
        if (FIndexed)
            FByName.try_emplace(AsciiLower(child->GetName()), child);
    }

private:
    static constexpr int kIndexFrom = 32;
    TTree* FFolder;
    std::unordered_map<std::string, TTree*> FByName;
    bool FIndexed = false;
};

// One recipient, walked beside the model in pre-order. Creating an item
// appends it to its folder, so each recipient receives its new items in the
// model's global-index order.
int FillRecipient(const TXMLTreeItem& model, TXMLTreeItem& recipient) {
    int created = 0;
    struct TFrame {
        const TXMLTreeItem* from;
        TXMLTreeItem* to;
        int next;
        TChildIndex index;
    };
    std::vector<TFrame> stack;
    stack.push_back({&model, &recipient, 0, TChildIndex(&recipient)});
    while (!stack.empty()) {
        TFrame& top = stack.back();
        if (top.next >= top.from->GetCount()) {
            stack.pop_back();
            continue;
        }
        const TXMLTreeItem* child = top.from->Item(top.next++);
        if (top.from == &model && platform::SameTextAscii(child->GetName(), "SYSTEM"))
            continue;
        auto* peer = static_cast<TXMLTreeItem*>(top.index.Find(child->GetName()));
        if (!peer) {
            peer = static_cast<TXMLTreeItem*>(top.to->AddItem(child->GetName()));
            peer->SetText(child->GetText());
            top.index.Added(peer);
            ++created;
        }
        if (child->GetCount() > 0) {
            TXMLTreeItem* to = peer;
            stack.push_back({child, to, 0, TChildIndex(to)});
        }
    }
    return created;
}

} // namespace

int SynchronizeFromModel(const TXMLTreeItem& model, const std::vector<TXMLTreeItem*>& recipients) {
    int created = 0;
    for (TXMLTreeItem* r : recipients)
        if (r && r != &model)
            created += FillRecipient(model, *r);
    return created;
}

} // namespace lx::editor
