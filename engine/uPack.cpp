// TXMLTreeItem: the pack tree, its values and its file.
#include "uEngine.h"

#include "platform/CodePage.h"
#include "uPackCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace lx {

struct TXMLTreeItem::TRootData {
    std::string FileName;
    platform::TFileTime FileTime = 0;
    TPackEncoding Encoding = TPackEncoding::ANSI;
    bool KeepSystemItems = true;
    std::size_t LastFileSize = 0; // sizes the write buffer
};

// A leaf found by the reader whose value is decoded once the encoding is known.
struct TXMLTreeItem::TRawLeaf {
    TXMLTreeItem* Node;
    std::size_t Begin;
    std::size_t Length;
};

const char* EncodingName(TPackEncoding e) {
    switch (e) {
    case TPackEncoding::UTF8:
        return "UTF8";
    case TPackEncoding::HTML:
        return "HTML";
    case TPackEncoding::ANSI:
        break;
    }
    return "ANSI";
}

bool EncodingFromName(std::string_view name, TPackEncoding& e) {
    if (name == "ANSI")
        e = TPackEncoding::ANSI;
    else if (name == "UTF8")
        e = TPackEncoding::UTF8;
    else if (name == "HTML")
        e = TPackEncoding::HTML;
    else
        return false;
    return true;
}

namespace {

std::u16string AsciiToWide(std::string_view s) {
    return std::u16string(s.begin(), s.end());
}

std::string SystemPath(char sep, const char* item) {
    return std::string("SYSTEM") + sep + item;
}

} // namespace

std::u16string DecodeValue(std::string_view bytes, TPackEncoding encoding) {
    std::u16string r(bytes.size(), u'\0');
    std::u16string spill;
    std::size_t n = codec::DecodeInto(bytes.data(), bytes.size(), encoding,
                                      platform::AnsiCodePage(), r.data(), spill);
    if (n == SIZE_MAX) {
        r = std::move(spill);
        n = r.size();
    }
    if (std::memchr(bytes.data(), '&', bytes.size()))
        n = codec::UnescapeInPlace(r.data(), n);
    r.resize(n);
    return r;
}

void EncodeValueAppend(std::u16string_view text, TPackEncoding encoding, std::string& out) {
    codec::TOut o(text.size() * 2);
    codec::EncodeInto(text.data(), text.size(), encoding, platform::AnsiCodePage(), o);
    out += o.Take();
}

TXMLTreeItem::TXMLTreeItem() = default;

TXMLTreeItem::TXMLTreeItem(TTree* parent) : TTree(parent) {}

TXMLTreeItem::TXMLTreeItem(const std::string& fileName) {
    RootData().FileName = fileName;
}

TXMLTreeItem::~TXMLTreeItem() = default;

TTree* TXMLTreeItem::CreateItem(TTree* parent) {
    return new TXMLTreeItem(parent);
}

TXMLTreeItem::TRootData& TXMLTreeItem::RootData() {
    TXMLTreeItem* root = Root();
    if (!root->FRootData)
        root->FRootData = std::make_unique<TRootData>();
    return *root->FRootData;
}

const TXMLTreeItem::TRootData* TXMLTreeItem::RootDataOrNull() const {
    return Root()->FRootData.get();
}

void TXMLTreeItem::AssignOwn(const TTree* source) {
    TTree::AssignOwn(source);
    const auto* src = dynamic_cast<const TXMLTreeItem*>(source);
    if (!src)
        return;
    Text = src->Text;
    // The file name belongs to a whole tree: copying it between roots only
    // keeps a merged subtree from renaming the pack it is merged into.
    if (!GetParent() && !src->GetParent())
        RootData().FileName = src->GetFileName();
}

const std::string& TXMLTreeItem::GetFileName() const {
    static const std::string empty;
    const TRootData* d = RootDataOrNull();
    return d ? d->FileName : empty;
}

void TXMLTreeItem::SetFileName(const std::string& fileName) {
    RootData().FileName = fileName;
    Root()->SetModified();
}

platform::TFileTime TXMLTreeItem::GetFileTime() const {
    const TRootData* d = RootDataOrNull();
    return d ? d->FileTime : 0;
}

void TXMLTreeItem::SetText(const std::u16string& text) {
    if (text == Text)
        return;
    Text = text;
    SetModified();
}

void TXMLTreeItem::SetText(std::u16string&& text) {
    if (text == Text)
        return;
    Text = std::move(text);
    SetModified();
}

std::u16string TXMLTreeItem::GetItemValue_(std::string_view path) const {
    const auto* n = static_cast<const TXMLTreeItem*>(FindRelative(path));
    return n ? n->Text : std::u16string();
}

TPackEncoding TXMLTreeItem::GetEncoding() const {
    const TRootData* d = RootDataOrNull();
    return d ? d->Encoding : TPackEncoding::ANSI;
}

void TXMLTreeItem::SetEncoding(TPackEncoding e) {
    if (e == GetEncoding())
        return;
    RootData().Encoding = e;
    auto* item =
        static_cast<TXMLTreeItem*>(AddGlobalItem(SystemPath(GetTreeSeparator(), "ENCODING")));
    item->SetText(AsciiToWide(EncodingName(e)));
    SetTreeModified(true);
}

unsigned TXMLTreeItem::GetLCID() const {
    const auto* item =
        static_cast<const TXMLTreeItem*>(GetItem_F(SystemPath(GetTreeSeparator(), "LCID")));
    if (!item || item->Text.size() < 2 || item->Text[0] != u'$')
        return 0;
    std::uint32_t v = 0;
    for (std::size_t i = 1; i < item->Text.size(); ++i) {
        const char16_t c = item->Text[i];
        std::uint32_t d = 0;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10u;
        v = v * 16u + d;
    }
    return v & 0xFFFFu;
}

void TXMLTreeItem::SetLCID(unsigned lcid) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%04X", lcid);
    auto* item = static_cast<TXMLTreeItem*>(AddGlobalItem(SystemPath(GetTreeSeparator(), "LCID")));
    item->SetText(AsciiToWide(buf));
}

bool TXMLTreeItem::GetKeepSystemItems() const {
    const TRootData* d = RootDataOrNull();
    return d ? d->KeepSystemItems : true;
}

void TXMLTreeItem::SetKeepSystemItems(bool keep) {
    RootData().KeepSystemItems = keep;
}

bool TXMLTreeItem::IsModified() const {
    const TTree* root = GetRoot();
    if (root->GetModified())
        return true;
    bool modified = false;
    root->ForEach([&modified](TTree* n) {
        modified = n->GetModified();
        return !modified;
    });
    return modified;
}

void TXMLTreeItem::SetTreeModified(bool modified) {
    auto* root = static_cast<TXMLTreeItem*>(GetRoot());
    auto apply = [modified](TTree* n) {
        if (modified)
            n->SetModified();
        else
            static_cast<TXMLTreeItem*>(n)->ClearModifiedFlag();
    };
    apply(root);
    root->ForEach(apply);
}

// The reader. Positions are 0-based here; every search is for one byte, forward.
void TXMLTreeItem::ParseRaw(TXMLTreeItem* root, std::string_view bytes,
                            std::vector<TRawLeaf>& leaves) {
    const char* data = bytes.data();
    const std::size_t n = bytes.size();
    constexpr std::size_t npos = std::string_view::npos;
    auto find = [data, n](char c, std::size_t from) -> std::size_t {
        if (from >= n)
            return npos;
        const void* p = std::memchr(data + from, c, n - from);
        return p ? static_cast<std::size_t>(static_cast<const char*>(p) - data) : npos;
    };
    auto endTagFollows = [data, n](std::size_t lt) { return lt + 1 < n && data[lt + 1] == '/'; };

    // Elements whose children are being read; the root is below the bottom.
    std::vector<TXMLTreeItem*> open;
    std::size_t pos = find('<', 0);
    // A stray end tag ends the top level, also before the first element
    // (read as an element, it would become an item named "/..." that the
    // writer turns into an end tag).
    if (pos != npos && endTagFollows(pos))
        return;
    for (;;) {
        TXMLTreeItem* parent = open.empty() ? root : open.back();
        auto* node = new TXMLTreeItem(parent);
        parent->AppendChildUnmodified(node);

        pos = find('<', pos);
        if (pos == npos)
            throw EXMLParseError(n);
        const std::size_t gt = find('>', pos + 1);
        const std::size_t lt = find('<', pos + 1);
        // A '<' before the start tag's '>' is malformed too: the name would
        // hold a '<', and what the writer makes of it does not read back.
        if (gt == npos || lt == npos || n - lt - 1 < 2 || lt < gt)
            throw EXMLParseError(pos);
        node->SetNameUnchecked(bytes.substr(pos + 1, gt - pos - 1));
        pos = gt + 1;
        if (data[lt + 1] != '/') {
            open.push_back(node); // a start tag followed by another: read children
            continue;
        }
        leaves.push_back({node, gt + 1, lt > gt ? lt - gt - 1 : 0});
        const std::size_t close = find('>', lt + 1);
        if (close == npos)
            throw EXMLParseError(lt);
        pos = close + 1;

        // Close every element whose next tag is its end tag.
        for (;;) {
            const std::size_t next = find('<', pos);
            if (next != npos && !endTagFollows(next))
                break; // another child of the innermost open element
            if (open.empty())
                return; // end of file, or a stray end tag at the top level
            if (next == npos)
                throw EXMLParseError(n);
            const std::size_t end = find('>', next + 1);
            if (end == npos)
                throw EXMLParseError(next);
            pos = end + 1;
            open.pop_back();
        }
    }
}

// All values go through one scratch buffer, so each text is allocated once,
// at its exact size.
void TXMLTreeItem::DecodeLeaves(const std::vector<TRawLeaf>& leaves, std::string_view bytes,
                                TPackEncoding encoding) {
    const platform::TCodePage& cp = platform::AnsiCodePage();
    std::size_t longest = 0;
    for (const TRawLeaf& leaf : leaves)
        longest = std::max(longest, leaf.Length);
    std::unique_ptr<char16_t[]> scratch(new char16_t[longest + 1]);
    std::u16string spill;
    for (const TRawLeaf& leaf : leaves) {
        if (leaf.Length == 0) {
            leaf.Node->Text.clear();
            continue;
        }
        const char* raw = bytes.data() + leaf.Begin;
        char16_t* buf = scratch.get();
        std::size_t len = codec::DecodeInto(raw, leaf.Length, encoding, cp, buf, spill);
        if (len == SIZE_MAX) {
            buf = spill.data();
            len = spill.size();
        }
        if (std::memchr(raw, '&', leaf.Length))
            len = codec::UnescapeInPlace(buf, len);
        leaf.Node->Text.assign(buf, len);
    }
}

bool TXMLTreeItem::OpenFromFile(const std::string& fileName) {
    if (!platform::FileExists(fileName))
        return false;
    const std::string bytes = platform::ReadWholeFile(fileName);
    return ReadBytes(bytes, fileName, platform::GetFileTime(fileName).value_or(platform::Now()));
}

bool TXMLTreeItem::OpenFromBytes(std::string_view bytes, const std::string& fileName) {
    return ReadBytes(bytes, fileName, platform::GetFileTime(fileName).value_or(platform::Now()));
}

namespace {

struct TGraveyard {
    std::vector<TTree*> Nodes;
    ~TGraveyard() {
        for (TTree* n : Nodes)
            delete n;
    }
};

} // namespace

// Reads a whole file's bytes into the tree.
//
// Same-named siblings are resolved (the last one kept) before compound names
// are expanded: expanding first could move an item into a folder that the
// duplicate pass then deletes, and the item would be lost. Expansion itself
// never creates such duplicates.
//
// The encoding is detected, as it must be, from the file on its own: parsed
// into a fresh tree with separator '_', its SYSTEM/ENCODING value read as ANSI.
// Values are decoded only once that is known, so when the tree is empty and
// uses '_' (the common case) the detection tree already is the result and the
// file is parsed once. The detected encoding is set after the items are in
// place, so that the file's own SYSTEM item is the one that survives.
bool TXMLTreeItem::ReadBytes(std::string_view bytes, const std::string& fileName,
                             platform::TFileTime fileTime) {
    auto* root = static_cast<TXMLTreeItem*>(GetRoot());
    const char sep = root->GetTreeSeparator();
    const bool keepSystem = root->GetKeepSystemItems();
    const bool wasEmpty = root->GetCount() == 0;
    TPackEncoding encoding = root->GetEncoding();
    bool recognised = false;
    std::u16string found = AsciiToWide(EncodingName(encoding));
    bool parsed = false;
    // Whether nodes other than the root and SYSTEM may carry a Modified flag.
    bool flagged = !wasEmpty;

    if (!bytes.empty()) {
        std::vector<TRawLeaf> leaves;
        leaves.reserve(bytes.size() / 64);
        TGraveyard graveyard;
        bool done = false;
        if (keepSystem) {
            TXMLTreeItem probe;
            probe.SetKeepSystemItems(false);
            ParseRaw(&probe, bytes, leaves); // a malformed file leaves this tree untouched
            probe.DeleteDuplicatesInto(&graveyard.Nodes);
            const bool expanded = probe.ExpandAll();
            if (const auto* item = static_cast<const TXMLTreeItem*>(
                    probe.GetItem_F(SystemPath(sep, "ENCODING")))) {
                found.clear();
                for (const TRawLeaf& leaf : leaves)
                    if (leaf.Node == item) {
                        found =
                            DecodeValue(bytes.substr(leaf.Begin, leaf.Length), TPackEncoding::ANSI);
                        break;
                    }
            }
            std::string foundBytes(found.begin(), found.end());
            if (found.size() == foundBytes.size())
                recognised = EncodingFromName(foundBytes, encoding);
            if (wasEmpty && sep == '_') {
                DecodeLeaves(leaves, bytes, encoding);
                root->TakeChildrenFrom(&probe);
                flagged = flagged || expanded;
                done = true;
            } else {
                leaves.clear();
            }
        }
        if (!done) {
            try {
                ParseRaw(root, bytes, leaves);
            } catch (const EXMLParseError&) {
                DecodeLeaves(leaves, bytes, encoding); // what was read so far stays
                throw;
            }
            root->DeleteDuplicatesInto(&graveyard.Nodes);
            flagged = root->ExpandAll() || flagged;
            DecodeLeaves(leaves, bytes, encoding);
        }
        parsed = true;
        if (keepSystem) {
            // As SetEncoding, without marking every node: the flags are cleared below.
            if (recognised)
                root->RootData().Encoding = encoding;
            auto* item =
                static_cast<TXMLTreeItem*>(root->AddGlobalItem(SystemPath(sep, "ENCODING")));
            item->Text = found;
        }
    }
    TRootData& d = root->RootData();
    d.FileName = fileName;
    d.FileTime = fileTime;
    d.LastFileSize = bytes.size();
    if (flagged) {
        root->SetTreeModified(false);
    } else {
        // Only the root and the SYSTEM items can have been marked.
        root->ClearModifiedFlag();
        if (TTree* system = root->FindChild("SYSTEM")) {
            static_cast<TXMLTreeItem*>(system)->ClearModifiedFlag();
            system->ForEach([](TTree* n) { static_cast<TXMLTreeItem*>(n)->ClearModifiedFlag(); });
        }
    }
    return parsed;
}

std::string TXMLTreeItem::SaveToBytes() const {
    const auto* root = static_cast<const TXMLTreeItem*>(GetRoot());
    const TRootData* d = root->RootDataOrNull();
    const TPackEncoding encoding = root->GetEncoding();
    const platform::TCodePage& cp = platform::AnsiCodePage();
    codec::TOut out(d && d->LastFileSize ? d->LastFileSize + d->LastFileSize / 8 : 65536);
    struct TFrame {
        const TXMLTreeItem* node;
        std::size_t next;
    };
    std::vector<TFrame> stack{{root, 0}};
    // Indentation, start or end tag, into the buffer in one go.
    auto tag = [&out](std::size_t indent, bool end, const std::string& name, bool cr) {
        char* p = out.Reserve(indent + name.size() + 4);
        std::memset(p, ' ', indent);
        p += indent;
        *p++ = '<';
        if (end)
            *p++ = '/';
        std::memcpy(p, name.data(), name.size());
        p += name.size();
        *p++ = '>';
        if (cr)
            *p++ = '\r';
        out.Commit(p);
    };
    while (!stack.empty()) {
        TFrame& top = stack.back();
        const std::size_t level = stack.size(); // a child of the root has level 1
        if (top.next >= static_cast<std::size_t>(top.node->GetCount())) {
            const TXMLTreeItem* done = top.node;
            stack.pop_back();
            if (!stack.empty()) // end tag of an element with children
                tag(2 * (level - 2), true, done->GetName(), true);
            continue;
        }
        const TXMLTreeItem* child = top.node->Item(static_cast<int>(top.next++));
        if (child->GetCount() > 0) {
            tag(2 * (level - 1), false, child->GetName(), true);
            stack.push_back({child, 0});
            continue;
        }
        tag(2 * (level - 1), false, child->GetName(), false);
        codec::EncodeInto(child->Text.data(), child->Text.size(), encoding, cp, out);
        tag(0, true, child->GetName(), true);
    }
    return out.Take();
}

void TXMLTreeItem::SaveToFile(const std::string& fileName) {
    const std::string bytes = SaveToBytes();
    platform::WriteFileAtomic(fileName, bytes); // throws; the tree then stays modified
    SetTreeModified(false);
    TRootData& d = RootData();
    d.FileTime = platform::GetFileTime(fileName).value_or(platform::Now());
    d.LastFileSize = bytes.size();
}

void TXMLTreeItem::ReloadIfChanged() {
    const std::string fileName = GetFileName();
    const auto t = platform::GetFileTime(fileName);
    if (t && *t > GetFileTime())
        OpenFromFile(fileName);
}

std::u16string TXMLTreeItem::ReadItemValueFromFile(const std::string& path,
                                                   const std::u16string& def,
                                                   const std::string& fileName, char separator) {
    if (!platform::FileExists(fileName))
        return def;
    TXMLTreeItem temp;
    temp.SetKeepSystemItems(false);
    temp.OpenFromFile(fileName);
    temp.SetTreeSeparator(separator);
    const auto* item = static_cast<const TXMLTreeItem*>(temp.GetItem_F(path));
    return item ? item->Text : def;
}

void TXMLTreeItem::CopyValuesForExistsItems(TXMLTreeItem& other) const {
    struct TPair {
        const TXMLTreeItem* src;
        TXMLTreeItem* dst;
    };
    std::vector<TPair> stack{{this, &other}};
    while (!stack.empty()) {
        const TPair p = stack.back();
        stack.pop_back();
        for (int i = 0; i < p.src->GetCount(); ++i) {
            const TXMLTreeItem* s = p.src->Item(i);
            auto* d = static_cast<TXMLTreeItem*>(p.dst->FindChild(s->GetName()));
            if (!d)
                continue;
            d->SetText(s->Text);
            stack.push_back({s, d});
        }
    }
}

void TXMLTreeItem::DeleteOldItems(const TXMLTreeItem& unchanged, const TXMLTreeItem& edited) {
    struct TTriple {
        TXMLTreeItem* pack;
        const TXMLTreeItem* unchanged;
        const TXMLTreeItem* edited;
    };
    std::vector<TTriple> stack{{this, &unchanged, &edited}};
    while (!stack.empty()) {
        const TTriple t = stack.back();
        stack.pop_back();
        for (int i = 0; i < t.unchanged->GetCount(); ++i) {
            const TXMLTreeItem* u = t.unchanged->Item(i);
            auto* p = static_cast<TXMLTreeItem*>(t.pack->FindChild(u->GetName()));
            if (!p)
                continue;
            const auto* e = static_cast<const TXMLTreeItem*>(t.edited->FindChild(u->GetName()));
            if (!e) {
                t.pack->DeleteItem(t.pack->IndexOfChild(p));
                continue;
            }
            p->SetText(u->Text);
            stack.push_back({p, u, e});
        }
    }
}

} // namespace lx
