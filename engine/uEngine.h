#pragma once
// The language-pack engine: the ordered, named item tree and the pack tree with
// its file format.

#include "platform/Files.h"

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace lx {

/// Texts of this unit; the packs translate them.
inline constexpr const char* sMistakenItemName = "Bad item name.";
inline constexpr const char* sNewItem = "ITEM";
inline constexpr const char* eXMLParseError = "XML parse error!";

/// A rejected name (SetName).
class EBadItemName : public std::runtime_error {
public:
    EBadItemName() : std::runtime_error(sMistakenItemName) {}
};

/// A malformed pack file. what() is the plain message text; Offset() is the
/// 0-based byte offset at which the reader gave up.
class EXMLParseError : public std::runtime_error {
public:
    explicit EXMLParseError(std::size_t offset)
        : std::runtime_error(eXMLParseError), FOffset(offset) {}
    std::size_t Offset() const { return FOffset; }

private:
    std::size_t FOffset;
};

/// The ordered, named tree every pack lives on.
///
/// Names are 8-bit strings as stored; sibling names are unique ignoring the
/// case of a-z only, and every lookup returns the first match in order. A node
/// owns its children; destroying a node destroys its subtree (without
/// detaching it: detach with Delete first). The path separator belongs to the
/// root and is read and written through any node.
///
/// Moving onto a parent that already has a child of the moved node's name
/// (MoveItem, MoveTo) is refused: the node stays where it was, unchanged, and
/// the call returns false. A silent merge would mix two variables' values, and
/// dropping the node would lose it.
///
/// Nothing is synchronised: one thread uses a tree at a time.
class TTree {
public:
    TTree();
    explicit TTree(TTree* parent);
    virtual ~TTree();
    TTree(const TTree&) = delete;
    TTree& operator=(const TTree&) = delete;

    /// Factory of the tree's own node class; every node the tree creates itself
    /// comes from here.
    virtual TTree* CreateItem(TTree* parent);
    /// Adds to `target` the children (with their subtrees) that it lacks;
    /// nodes present on both sides keep target's values.
    virtual void MergeInto(TTree* target) const;
    /// Deep copy of name and children (not separator or flags).
    virtual void Assign(const TTree* source);

    int GetCount() const { return static_cast<int>(Items.size()); }
    /// No range check: 0 <= index < GetCount().
    TTree* GetItem_(int index) const { return Items[static_cast<std::size_t>(index)]; }
    TTree* FindChild(std::string_view name) const;
    int IndexOfChild(const TTree* child) const;
    int GetItemsCount(bool recursive) const;
    /// Descendant by depth-first pre-order position (this node excluded),
    /// or null. Recounts subtrees on every call: enumerate with ForEach.
    TTree* GetItemByGlobalIndex(int index) const;

    TTree* GetParent() const { return Parent; }
    const std::string& GetName() const { return Name; }
    std::string GetFullName() const;
    /// The names from the root's child down to this node; refilled on each call.
    const std::vector<std::string>& GetPathNames();
    TTree* GetRoot() const;
    int GetLevel() const;
    char GetTreeSeparator() const { return GetRoot()->Separator; }
    void SetTreeSeparator(char sep) { GetRoot()->Separator = sep; }

    bool IsValidName(std::string_view name) const;
    /// Throws EBadItemName for a name a sibling uses (ignoring case, itself
    /// included), an empty one, one with '<', '>' or the separator, or one
    /// starting with '/'.
    void SetName(const std::string& newName);
    std::string GetNewItemName() const;

    /// Returns the child named `name` if there is one (a given `item` is then
    /// not attached and stays the caller's); otherwise attaches `item`, or a
    /// new node, under that name. The tree takes ownership of an attached item.
    TTree* AddItem(const std::string& name, TTree* item = nullptr);
    /// Creates a whole path from the root; null for an empty name.
    TTree* AddGlobalItem(const std::string& fullName, TTree* item = nullptr);
    TTree* GetItem_F(std::string_view fullName) const;
    TTree* FindRelative(std::string_view path) const;
    TTree* FindInSubtree(std::string_view fullName) const;

    /// Detaches this node from its parent; the caller then owns it.
    void Delete();
    void DeleteItem(int index);
    void Clear();
    /// Re-hangs `item` under `newParent` as `newName`. Returns false and changes
    /// nothing when newParent already has a child of that name, or when
    /// newParent is the item or lies inside it.
    bool MoveItem(TTree* item, TTree* newParent, const std::string& newName);
    /// Re-hangs this node under `target`, keeping its name. Returns false when
    /// nothing moved (null target, target inside this subtree, name clash).
    bool MoveTo(TTree* target);
    void DeleteDuplicates();
    void ExpandCompoundNames();
    void SetModified() { Modified = true; }
    /// True when this node is `ancestor` or lies below it.
    bool IsInSubtreeOf(const TTree* ancestor) const;
    bool GetModified() const { return Modified; }

    /// Visits every descendant in global-index order (the order of
    /// GetItemByGlobalIndex), in linear time. `fn(TTree*)` may return false to stop.
    template <class F> void ForEach(F&& fn) const;

    /// Splits a full name at every separator as AddGlobalItem does.
    static std::vector<std::string> SplitPath(std::string_view fullName, char sep);

protected:
    void ClearModifiedFlag() { Modified = false; }
    // Appends without the name lookup of AddItem; used by the reader, which
    // resolves duplicates afterwards.
    void AppendChild(TTree* child);
    // The same without setting the child's Modified flag (the reader's nodes).
    void AppendChildUnmodified(TTree* child);
    // ExpandCompoundNames; true when it moved or created any node.
    bool ExpandAll();
    void SetNameUnchecked(std::string_view name) { Name.assign(name.data(), name.size()); }
    void DestroyChildren();
    // Moves all of other's children to the end of this node's children.
    void TakeChildrenFrom(TTree* other);
    // Copies this node's own data (not children) from `source`; TXMLTreeItem adds its fields.
    virtual void AssignOwn(const TTree* source);
    // DeleteDuplicates that hands removed nodes to `graveyard` instead of destroying them.
    void DeleteDuplicatesInto(std::vector<TTree*>* graveyard);

private:
    TTree* Parent = nullptr;
    std::string Name;
    std::vector<TTree*> Items;
    std::unique_ptr<std::vector<std::string>> PathNames;
    char Separator = '_';
    bool Modified = false;

    bool ExpandSelf();
};

template <class F> void TTree::ForEach(F&& fn) const {
    struct TFrame {
        const TTree* node;
        std::size_t next;
    };
    std::vector<TFrame> stack;
    stack.push_back({this, 0});
    while (!stack.empty()) {
        TFrame& top = stack.back();
        if (top.next >= top.node->Items.size()) {
            stack.pop_back();
            continue;
        }
        TTree* child = top.node->Items[top.next++];
        if constexpr (std::is_same_v<decltype(fn(child)), bool>) {
            if (!fn(child))
                return;
        } else {
            fn(child);
        }
        if (!child->Items.empty())
            stack.push_back({child, 0});
    }
}

/// Value encodings of a pack file; stored in the file under their names.
enum class TPackEncoding { ANSI = 0, UTF8 = 1, HTML = 2 };

const char* EncodingName(TPackEncoding e);
/// Exactly "ANSI", "UTF8" or "HTML"; false for anything else.
bool EncodingFromName(std::string_view name, TPackEncoding& e);

/// A language pack: a TTree whose leaves carry wide texts, with its file name,
/// encoding and the reserved SYSTEM items ENCODING and LCID.
class TXMLTreeItem : public TTree {
public:
    TXMLTreeItem();
    explicit TXMLTreeItem(TTree* parent);
    explicit TXMLTreeItem(const std::string& fileName);
    ~TXMLTreeItem() override;

    TTree* CreateItem(TTree* parent) override;

    TXMLTreeItem* Item(int index) const { return static_cast<TXMLTreeItem*>(GetItem_(index)); }
    TXMLTreeItem* Root() const { return static_cast<TXMLTreeItem*>(GetRoot()); }

    /// Reads a file into the tree, merging with what it holds. False when the
    /// file is missing (tree unchanged) or empty. Throws EXMLParseError for a
    /// malformed file and platform::EFileError when it cannot be read.
    bool OpenFromFile(const std::string& fileName);
    /// The same on bytes already in memory; `fileName` is recorded as the
    /// tree's file (its time is taken when the file exists).
    bool OpenFromBytes(std::string_view bytes, const std::string& fileName);
    /// Writes the whole tree atomically (temporary file, then rename). On
    /// failure the old file is untouched, the tree stays modified, and
    /// platform::EFileError is thrown.
    void SaveToFile(const std::string& fileName);
    void Save() { SaveToFile(GetFileName()); }
    /// The file's bytes for the whole tree, as SaveToFile writes them.
    std::string SaveToBytes() const;

    const std::string& GetFileName() const;
    void SetFileName(const std::string& fileName);
    platform::TFileTime GetFileTime() const;

    const std::u16string& GetText() const { return Text; }
    void SetText(const std::u16string& text);
    void SetText(std::u16string&& text);
    std::u16string GetItemValue_(std::string_view path) const;

    TPackEncoding GetEncoding() const;
    void SetEncoding(TPackEncoding e);
    unsigned GetLCID() const;
    void SetLCID(unsigned lcid);
    bool GetKeepSystemItems() const;
    void SetKeepSystemItems(bool keep);

    bool IsModified() const;
    void SetTreeModified(bool modified);
    /// Re-reads the file when it is newer than the time of the last read or write.
    void ReloadIfChanged();

    /// One value from a file without keeping the file; `def` when the file or
    /// the item is missing.
    static std::u16string ReadItemValueFromFile(const std::string& path, const std::u16string& def,
                                                const std::string& fileName, char separator);

    /// Save step of the editors that show part of a pack (three trees: the
    /// pack, an unchanged copy of it, the copy the user edited):
    ///   Edited.CopyValuesForExistsItems(Unchanged);
    ///   Edited.MergeInto(Pack);
    ///   Pack.DeleteOldItems(Unchanged, Edited);
    /// CopyValuesForExistsItems copies this tree's values into the items of
    /// `other` that exist in both (by full path): `other` then holds the edited
    /// value of every item the user saw, and is consumed by the save.
    /// DeleteOldItems removes from this pack every item that `unchanged` holds
    /// and `edited` does not, and gives each item held by both `unchanged` and
    /// this pack the value from `unchanged`. Items the editor never showed keep
    /// their values; MergeInto adds the items the user created.
    void CopyValuesForExistsItems(TXMLTreeItem& other) const;
    void DeleteOldItems(const TXMLTreeItem& unchanged, const TXMLTreeItem& edited);

protected:
    void AssignOwn(const TTree* source) override;

private:
    struct TRootData;
    struct TRawLeaf;

    std::u16string Text;
    std::unique_ptr<TRootData> FRootData; // root only

    TRootData& RootData();
    const TRootData* RootDataOrNull() const;
    bool ReadBytes(std::string_view bytes, const std::string& fileName,
                   platform::TFileTime fileTime);
    static void ParseRaw(TXMLTreeItem* root, std::string_view bytes, std::vector<TRawLeaf>& leaves);
    static void DecodeLeaves(const std::vector<TRawLeaf>& leaves, std::string_view bytes,
                             TPackEncoding encoding);
};

/// The pack name of a pack file path: the text after the last '\' or '/'
/// without its last four characters; a path without separator is returned as is.
std::string ExtractFilePackName_(const std::string& path);

/// The language name of a locale identifier without parenthesised parts
/// ("English"), or the identifier in decimal when there is none.
std::string LanguageNameOfLCID(unsigned lcid);

/// True when a path names neither a drive, nor a network share, nor the file
/// system root, and so has to be combined with a base folder.
bool IsRelativePath(const std::string& path);

/// Decodes one value's bytes as the reader does (encoding, then "&lt;", "&gt;").
std::u16string DecodeValue(std::string_view bytes, TPackEncoding encoding);
/// Encodes and escapes one value as the writer does.
void EncodeValueAppend(std::u16string_view text, TPackEncoding encoding, std::string& out);

} // namespace lx
