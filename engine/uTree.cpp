// TTree: structure, lookups and editing of the item tree.
#include "uEngine.h"

#include "platform/Text.h"

#include <algorithm>
#include <functional>

namespace lx {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return platform::SameTextAscii(a, b);
}

} // namespace

TTree::TTree() = default;

TTree::TTree(TTree* parent) : Parent(parent) {}

TTree::~TTree() {
    DestroyChildren();
}

// Iterative, so that a very deep tree cannot exhaust the stack.
void TTree::DestroyChildren() {
    std::vector<TTree*> doomed;
    doomed.swap(Items);
    while (!doomed.empty()) {
        TTree* n = doomed.back();
        doomed.pop_back();
        doomed.insert(doomed.end(), n->Items.begin(), n->Items.end());
        n->Items.clear();
        delete n;
    }
}

TTree* TTree::CreateItem(TTree* parent) {
    return new TTree(parent);
}

void TTree::AppendChild(TTree* child) {
    child->Parent = this;
    child->Modified = true;
    Items.push_back(child);
}

void TTree::AppendChildUnmodified(TTree* child) {
    child->Parent = this;
    Items.push_back(child);
}

void TTree::TakeChildrenFrom(TTree* other) {
    for (TTree* c : other->Items) {
        c->Parent = this;
        Items.push_back(c);
    }
    other->Items.clear();
    other->Modified = true;
}

TTree* TTree::FindChild(std::string_view name) const {
    for (TTree* c : Items)
        if (SameName(c->Name, name))
            return c;
    return nullptr;
}

int TTree::IndexOfChild(const TTree* child) const {
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Items[i] == child)
            return static_cast<int>(i);
    return -1;
}

int TTree::GetItemsCount(bool recursive) const {
    if (!recursive)
        return GetCount();
    int n = 0;
    ForEach([&n](TTree*) { ++n; });
    return n;
}

TTree* TTree::GetItemByGlobalIndex(int index) const {
    if (index < 0)
        return nullptr;
    const TTree* node = this;
    for (;;) {
        bool descended = false;
        for (TTree* child : node->Items) {
            if (index == 0)
                return child;
            const int n = child->GetItemsCount(true);
            if (n >= index) {
                node = child;
                index -= 1;
                descended = true;
                break;
            }
            index -= n + 1;
        }
        if (!descended)
            return nullptr;
    }
}

std::string TTree::GetFullName() const {
    if (!Parent)
        return Name;
    std::vector<const TTree*> chain;
    for (const TTree* n = this; n->Parent; n = n->Parent)
        chain.push_back(n);
    const char sep = GetTreeSeparator();
    std::string r;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!r.empty() || it != chain.rbegin())
            r += sep;
        r += (*it)->Name;
    }
    return r;
}

const std::vector<std::string>& TTree::GetPathNames() {
    if (!PathNames)
        PathNames = std::make_unique<std::vector<std::string>>();
    PathNames->clear();
    for (const TTree* n = this; n->Parent; n = n->Parent)
        PathNames->push_back(n->Name);
    std::reverse(PathNames->begin(), PathNames->end());
    return *PathNames;
}

TTree* TTree::GetRoot() const {
    const TTree* n = this;
    while (n->Parent)
        n = n->Parent;
    return const_cast<TTree*>(n);
}

int TTree::GetLevel() const {
    int level = 0;
    for (const TTree* n = Parent; n; n = n->Parent)
        ++level;
    return level;
}

// A leading '/' is refused too: the writer would produce an end tag, and the
// item would vanish on the next read.
bool TTree::IsValidName(std::string_view name) const {
    if (name.empty() || name[0] == '/')
        return false;
    const char sep = GetTreeSeparator();
    for (char c : name)
        if (c == '<' || c == '>' || c == sep)
            return false;
    return true;
}

void TTree::SetName(const std::string& newName) {
    if (!Parent || newName == Name) {
        Name = newName;
        return;
    }
    if (Parent->FindChild(newName) || !IsValidName(newName))
        throw EBadItemName();
    Name = newName;
    Modified = true;
}

std::string TTree::GetNewItemName() const {
    for (unsigned long n = 1;; ++n) {
        std::string candidate = std::string(sNewItem) + std::to_string(n);
        if (!FindChild(candidate))
            return candidate;
    }
}

TTree* TTree::AddItem(const std::string& name, TTree* item) {
    if (TTree* existing = FindChild(name))
        return existing;
    if (!item)
        item = CreateItem(this);
    item->Parent = this;
    item->Name = name;
    item->Modified = true;
    Items.push_back(item);
    return item;
}

std::vector<std::string> TTree::SplitPath(std::string_view fullName, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < fullName.size(); ++i)
        if (fullName[i] == sep) {
            parts.emplace_back(fullName.substr(start, i - start));
            start = i + 1;
        }
    if (start < fullName.size())
        parts.emplace_back(fullName.substr(start));
    return parts;
}

TTree* TTree::AddGlobalItem(const std::string& fullName, TTree* item) {
    TTree* root = GetRoot();
    if (fullName.empty())
        return nullptr;
    const auto parts = SplitPath(fullName, root->Separator);
    TTree* node = root;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (TTree* c = node->FindChild(parts[i])) {
            node = c;
            continue;
        }
        node = node->AddItem(parts[i], i + 1 == parts.size() ? item : nullptr);
    }
    return node;
}

TTree* TTree::GetItem_F(std::string_view fullName) const {
    return GetRoot()->FindRelative(fullName);
}

TTree* TTree::FindRelative(std::string_view path) const {
    const char sep = GetTreeSeparator();
    const TTree* node = this;
    while (!path.empty()) {
        const auto p = path.find(sep);
        const std::string_view head = path.substr(0, p);
        path = p == std::string_view::npos ? std::string_view() : path.substr(p + 1);
        node = node->FindChild(head);
        if (!node)
            return nullptr;
    }
    return const_cast<TTree*>(node);
}

TTree* TTree::FindInSubtree(std::string_view fullName) const {
    const std::string t = GetFullName();
    if (fullName == t)
        return const_cast<TTree*>(this);
    if (fullName.size() < t.size() + 2 || fullName[t.size()] != GetTreeSeparator() ||
        fullName.substr(0, t.size()) != t)
        return nullptr;
    return FindRelative(fullName.substr(t.size() + 1));
}

void TTree::Delete() {
    if (!Parent)
        return;
    auto& siblings = Parent->Items;
    const auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end())
        siblings.erase(it);
    Parent->Modified = true;
}

void TTree::DeleteItem(int index) {
    if (index < 0 || index >= GetCount())
        return;
    TTree* child = Items[static_cast<std::size_t>(index)];
    Items.erase(Items.begin() + index);
    delete child;
    Modified = true;
}

void TTree::Clear() {
    DestroyChildren();
}

bool TTree::IsInSubtreeOf(const TTree* ancestor) const {
    for (const TTree* n = this; n; n = n->Parent)
        if (n == ancestor)
            return true;
    return false;
}

bool TTree::MoveItem(TTree* item, TTree* newParent, const std::string& newName) {
    if (!item || !newParent || newParent->IsInSubtreeOf(item))
        return false;
    if (TTree* clash = newParent->FindChild(newName); clash && clash != item)
        return false;
    if (item->Parent) {
        auto& siblings = item->Parent->Items;
        const auto it = std::find(siblings.begin(), siblings.end(), item);
        if (it != siblings.end())
            siblings.erase(it);
    }
    item->Parent = nullptr;
    newParent->AddItem(newName, item);
    return true;
}

bool TTree::MoveTo(TTree* target) {
    if (!target || target == this || target->IsInSubtreeOf(this))
        return false;
    return MoveItem(this, target, Name);
}

void TTree::MergeInto(TTree* target) const {
    for (const TTree* c : Items) {
        if (TTree* existing = target->FindChild(c->Name)) {
            c->MergeInto(existing);
            continue;
        }
        TTree* added = target->AddItem(c->Name);
        added->Assign(c);
    }
}

void TTree::AssignOwn(const TTree* source) {
    Name = source->Name;
}

// Children are appended without the name lookup of AddItem, so that siblings
// whose names differ only in letter case are both copied.
void TTree::Assign(const TTree* source) {
    if (source == this)
        return;
    DestroyChildren();
    AssignOwn(source);
    struct TPair {
        TTree* dst;
        const TTree* src;
    };
    std::vector<TPair> stack{{this, source}};
    while (!stack.empty()) {
        const TPair p = stack.back();
        stack.pop_back();
        for (const TTree* sc : p.src->Items) {
            TTree* dc = p.dst->CreateItem(p.dst);
            p.dst->AppendChild(dc);
            dc->AssignOwn(sc);
            if (!sc->Items.empty())
                stack.push_back({dc, sc});
        }
    }
}

void TTree::DeleteDuplicates() {
    DeleteDuplicatesInto(nullptr);
}

// Exact duplicates among many siblings are found by sorting their hashes, so
// the pass allocates nothing per node.
void TTree::DeleteDuplicatesInto(std::vector<TTree*>* graveyard) {
    std::vector<TTree*> pending{this};
    std::vector<bool> keep;
    std::vector<std::pair<std::size_t, std::size_t>> hashed; // hash, index
    const std::hash<std::string_view> hasher;
    while (!pending.empty()) {
        TTree* node = pending.back();
        pending.pop_back();
        auto& items = node->Items;
        const std::size_t n = items.size();
        if (n > 1) {
            keep.assign(n, true);
            bool any = false;
            if (n <= 16) {
                for (std::size_t i = 0; i < n; ++i)
                    for (std::size_t j = i + 1; j < n; ++j)
                        if (items[i]->Name == items[j]->Name) {
                            keep[i] = false;
                            any = true;
                            break;
                        }
            } else {
                hashed.clear();
                for (std::size_t i = 0; i < n; ++i)
                    hashed.emplace_back(hasher(items[i]->Name), i);
                std::sort(hashed.begin(), hashed.end());
                for (std::size_t a = 0; a + 1 < hashed.size();) {
                    std::size_t b = a + 1;
                    while (b < hashed.size() && hashed[b].first == hashed[a].first)
                        ++b;
                    // Within one hash, every index but the last of each name goes.
                    for (std::size_t x = a; x + 1 < b; ++x)
                        for (std::size_t y = x + 1; y < b; ++y)
                            if (items[hashed[x].second]->Name == items[hashed[y].second]->Name) {
                                keep[hashed[x].second] = false;
                                any = true;
                                break;
                            }
                    a = b;
                }
            }
            if (any) {
                std::size_t w = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    if (keep[i]) {
                        items[w++] = items[i];
                    } else if (graveyard) {
                        graveyard->push_back(items[i]);
                    } else {
                        delete items[i];
                    }
                }
                items.resize(w);
            }
        }
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if (!(*it)->Items.empty())
                pending.push_back(*it);
    }
}

bool TTree::ExpandSelf() {
    if (!Parent)
        return false;
    const char sep = GetTreeSeparator();
    if (Name.find(sep) == std::string::npos)
        return false;
    const auto parts = SplitPath(Name, sep);
    if (parts.size() < 2)
        return false;
    // A part starting with '/' would be written as an end tag: such a name
    // stays whole.
    for (const auto& part : parts)
        if (!part.empty() && part[0] == '/')
            return false;
    TTree* current = Parent;
    bool changed = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (TTree* c = current->FindChild(parts[i])) {
            if (i + 1 == parts.size())
                return changed; // the target exists: the node keeps its compound name
            current = c;
            continue;
        }
        changed = true;
        if (i + 1 < parts.size())
            current = current->AddItem(parts[i]);
        else
            MoveItem(this, current, parts[i]);
    }
    return changed;
}

void TTree::ExpandCompoundNames() {
    ExpandAll();
}

// Each node is expanded before its children, and children from the last to
// the first; the stack keeps that order without recursion. Most trees have no
// compound name at all, which one quick pass finds out.
bool TTree::ExpandAll() {
    const char sep = GetTreeSeparator();
    bool any = Parent && Name.find(sep) != std::string::npos;
    if (!any)
        ForEach([&any, sep](TTree* n) {
            any = n->Name.find(sep) != std::string::npos;
            return !any;
        });
    if (!any)
        return false;
    bool changed = false;
    std::vector<TTree*> pending{this};
    while (!pending.empty()) {
        TTree* node = pending.back();
        pending.pop_back();
        changed = node->ExpandSelf() || changed;
        pending.insert(pending.end(), node->Items.begin(), node->Items.end());
    }
    return changed;
}

} // namespace lx
