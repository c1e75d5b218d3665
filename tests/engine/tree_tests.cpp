// The item tree: names, paths, lookups, editing and whole-tree passes.
#include "engine/uEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace lx;

namespace {

// Children's names of a node, in order.
std::vector<std::string> Names(const TTree* node) {
    std::vector<std::string> r;
    for (int i = 0; i < node->GetCount(); ++i)
        r.push_back(node->GetItem_(i)->GetName());
    return r;
}

// Every descendant as "full name", in global-index order.
std::vector<std::string> Walk(const TTree& tree) {
    std::vector<std::string> r;
    tree.ForEach([&r](TTree* n) { r.push_back(n->GetFullName()); });
    return r;
}

std::u16string ValueOf(const TXMLTreeItem& t, const std::string& path) {
    return t.GetItemValue_(path);
}

TXMLTreeItem* Var(TXMLTreeItem& t, const std::string& path, const std::u16string& value) {
    auto* n = static_cast<TXMLTreeItem*>(t.AddGlobalItem(path));
    n->SetText(value);
    return n;
}

} // namespace

TEST(Tree, FullNamesLevelsAndPathNames) {
    TTree root;
    TTree* c = root.AddGlobalItem("a_b_c");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetName(), "c");
    EXPECT_EQ(c->GetFullName(), "a_b_c");
    EXPECT_EQ(c->GetLevel(), 3);
    EXPECT_EQ(root.GetLevel(), 0);
    EXPECT_EQ(c->GetRoot(), &root);
    EXPECT_EQ(root.GetItem_(0)->GetFullName(), "a"); // a child of the root: its bare name
    root.SetName("R");
    EXPECT_EQ(root.GetFullName(), "R");   // the root: its own name
    EXPECT_EQ(c->GetFullName(), "a_b_c"); // the root's name is never part of a path
    EXPECT_EQ(c->GetPathNames(), (std::vector<std::string>{"a", "b", "c"}));

    c->SetTreeSeparator('.');
    EXPECT_EQ(root.GetTreeSeparator(), '.');
    EXPECT_EQ(c->GetFullName(), "a.b.c");
    EXPECT_EQ(root.GetItem_F("a.b.c"), c);
    EXPECT_EQ(root.GetItem_F("a_b_c"), nullptr);
}

TEST(Tree, AddGlobalItemSplitsAtEverySeparator) {
    TTree root;
    TTree* c = root.AddGlobalItem("a_b_c");
    EXPECT_EQ(Walk(root), (std::vector<std::string>{"a", "a_b", "a_b_c"}));
    EXPECT_EQ(root.AddGlobalItem("A_B_C"), c); // found ignoring case

    TTree* empty = root.AddGlobalItem("a__c");
    EXPECT_EQ(Names(root.GetItem_(0)), (std::vector<std::string>{"b", ""}));
    EXPECT_EQ(empty->GetName(), "c");
    EXPECT_EQ(empty->GetParent()->GetName(), "");

    EXPECT_EQ(root.AddGlobalItem("a_"), root.GetItem_(0)); // trailing separator
    EXPECT_EQ(root.AddGlobalItem(""), nullptr);
    TTree* lead = root.AddGlobalItem("_x");
    EXPECT_EQ(lead->GetParent()->GetName(), "");
    EXPECT_EQ(lead->GetParent()->GetParent(), &root);

    // Called on any node, it works from the root.
    EXPECT_EQ(c->AddGlobalItem("z")->GetParent(), &root);
}

TEST(Tree, AddItemReturnsExistingChildAndLeavesGivenItemUnattached) {
    TTree root;
    TTree* caption = root.AddItem("caption");
    auto spare = std::make_unique<TTree>();
    EXPECT_EQ(root.AddItem("Caption", spare.get()), caption);
    EXPECT_EQ(spare->GetParent(), nullptr);
    EXPECT_EQ(root.GetCount(), 1);

    TTree* given = new TTree();
    EXPECT_EQ(root.AddItem("Hint", given), given);
    EXPECT_EQ(given->GetParent(), &root);
    EXPECT_TRUE(given->GetModified());
}

TEST(Tree, LookupsByPath) {
    TTree root;
    TTree* c = root.AddGlobalItem("fMain_btnOK_Caption");
    TTree* btn = c->GetParent();
    EXPECT_EQ(root.GetItem_F("FMAIN_btnok_caption"), c);
    EXPECT_EQ(root.GetItem_F("fMain_btnOK_"), btn); // trailing separator
    EXPECT_EQ(root.GetItem_F(""), &root);
    EXPECT_EQ(root.GetItem_F("fMain_missing"), nullptr);
    EXPECT_EQ(btn->FindRelative("Caption"), c);
    EXPECT_EQ(btn->FindRelative(""), btn);

    // FindInSubtree compares the node's own full name exactly.
    EXPECT_EQ(btn->FindInSubtree("fMain_btnOK"), btn);
    EXPECT_EQ(btn->FindInSubtree("fMain_btnOK_Caption"), c);
    EXPECT_EQ(btn->FindInSubtree("fmain_btnOK_Caption"), nullptr);
    EXPECT_EQ(btn->FindInSubtree("fMain_btnOKX"), nullptr);
    EXPECT_EQ(btn->FindInSubtree("fMain_btnOK_"), nullptr);
    EXPECT_EQ(btn->FindInSubtree("fMain"), nullptr);
}

TEST(Tree, GlobalIndexIsDepthFirstPreOrder) {
    TTree root;
    for (const char* p : {"a_x_1", "a_x_2", "a_y", "b", "c_z"})
        root.AddGlobalItem(p);
    const std::vector<std::string> expected{"a", "a_x", "a_x_1", "a_x_2", "a_y", "b", "c", "c_z"};
    ASSERT_EQ(root.GetItemsCount(true), static_cast<int>(expected.size()));
    EXPECT_EQ(root.GetItemsCount(false), 3);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(root.GetItemByGlobalIndex(static_cast<int>(i))->GetFullName(), expected[i])
            << "index " << i;
    EXPECT_EQ(root.GetItemByGlobalIndex(0), root.GetItem_(0));
    EXPECT_EQ(root.GetItemByGlobalIndex(root.GetItemsCount(true)), nullptr);
    EXPECT_EQ(root.GetItemByGlobalIndex(-1), nullptr);
    // The linear walk yields exactly the same order.
    EXPECT_EQ(Walk(root), expected);
    // Within a subtree, numbering excludes the node itself.
    EXPECT_EQ(root.GetItem_(0)->GetItemByGlobalIndex(1)->GetFullName(), "a_x_1");
}

TEST(Tree, ForEachCanStopAndHandlesDeepTrees) {
    TTree root;
    std::string path = "n";
    for (int i = 0; i < 20000; ++i)
        path += "_n";
    root.AddGlobalItem(path); // deep enough to overflow a recursive walk
    int seen = 0;
    root.ForEach([&seen](TTree*) { return ++seen < 10; });
    EXPECT_EQ(seen, 10);
    EXPECT_EQ(root.GetItemsCount(true), 20001);
    // Destroying the deep tree must not recurse either (the fixture would crash).
}

TEST(Tree, SetNameRules) {
    TTree root;
    TTree* abc = root.AddItem("abc");
    root.AddItem("other");
    struct TCase {
        const char* name;
        bool accepted;
    } cases[] = {
        {"ABC", false},   // only the letter case differs: the node itself clashes
        {"Other", false}, // a sibling's name, ignoring case
        {"", false},      {"a<b", false}, {"a>b", false}, {"/x", false}, {"x/", true},
        {"a_b", false},   {"a.b", true},  {"abc", true}, // the same name exactly: stored as is
        {"new", true},
    };
    for (const auto& c : cases) {
        const std::string before = abc->GetName();
        if (c.accepted) {
            EXPECT_NO_THROW(abc->SetName(c.name)) << c.name;
            EXPECT_EQ(abc->GetName(), c.name);
        } else {
            try {
                abc->SetName(c.name);
                ADD_FAILURE() << "accepted " << c.name;
            } catch (const EBadItemName& e) {
                EXPECT_STREQ(e.what(), "Bad item name.");
            }
            EXPECT_EQ(abc->GetName(), before);
        }
    }
    root.SetName(""); // the root is never checked
    root.SetName("a_<b>");
    EXPECT_EQ(root.GetName(), "a_<b>");
}

TEST(Tree, GetNewItemNameSkipsTakenNamesIgnoringCase) {
    TTree root;
    EXPECT_EQ(root.GetNewItemName(), "ITEM1");
    root.AddItem("ITEM1");
    root.AddItem("item2");
    EXPECT_EQ(root.GetNewItemName(), "ITEM3");
}

TEST(Tree, DeleteDetachesAndDeleteItemDestroys) {
    TXMLTreeItem root;
    auto* a = root.AddItem("a");
    root.AddItem("b");
    root.AddItem("c");
    root.SetTreeModified(false);

    a->Delete();
    std::unique_ptr<TTree> owned(a); // the caller owns a detached node
    EXPECT_EQ(Names(&root), (std::vector<std::string>{"b", "c"}));
    EXPECT_TRUE(root.GetModified());
    EXPECT_EQ(a->GetParent(), &root); // the parent link stays as it was

    root.SetTreeModified(false);
    root.DeleteItem(5); // out of range: nothing
    root.DeleteItem(-1);
    EXPECT_FALSE(root.IsModified());
    root.DeleteItem(0);
    EXPECT_EQ(Names(&root), (std::vector<std::string>{"c"}));
    EXPECT_TRUE(root.GetModified());

    root.SetTreeModified(false);
    root.Clear();
    EXPECT_EQ(root.GetCount(), 0);
    EXPECT_FALSE(root.GetModified());
}

TEST(Tree, MoveToRehangsKeepingTheName) {
    TTree root;
    TTree* x = root.AddGlobalItem("f1_x");
    TTree* f2 = root.AddItem("f2");
    ASSERT_TRUE(x->MoveTo(f2));
    EXPECT_EQ(x->GetFullName(), "f2_x");
    EXPECT_EQ(root.GetItem_(0)->GetCount(), 0);
    EXPECT_EQ(x->GetParent(), f2);
}

TEST(Tree, MoveRefusesCyclesAndNameClashesWithoutLosingTheNode) {
    TTree root;
    TTree* a = root.AddGlobalItem("a_b_c")->GetParent()->GetParent();
    TTree* c = root.GetItem_F("a_b_c");
    EXPECT_FALSE(a->MoveTo(c));       // onto its own descendant
    EXPECT_FALSE(a->MoveTo(a));       // onto itself
    EXPECT_FALSE(a->MoveTo(nullptr)); // nowhere
    EXPECT_EQ(root.GetItem_F("a_b_c"), c);

    // The target already has a child of that name (ignoring case).
    TTree* other = root.AddGlobalItem("dst_C")->GetParent();
    EXPECT_FALSE(c->MoveTo(other));
    EXPECT_EQ(c->GetParent()->GetFullName(), "a_b");
    EXPECT_EQ(root.GetItem_F("a_b_c"), c);
    EXPECT_EQ(other->GetCount(), 1);

    // MoveItem with a new name that is free succeeds; its clash is refused.
    EXPECT_TRUE(root.MoveItem(c, other, "d"));
    EXPECT_EQ(c->GetFullName(), "dst_d");
    EXPECT_FALSE(root.MoveItem(c, other, "c"));
    EXPECT_EQ(c->GetFullName(), "dst_d");
    // Moving within the same parent under its own name re-appends it.
    root.AddGlobalItem("dst_e");
    EXPECT_TRUE(root.MoveItem(c, other, "D"));
    EXPECT_EQ(Names(other), (std::vector<std::string>{"C", "e", "D"}));
}

TEST(Tree, MergeIntoAddsOnlyMissingNodes) {
    TXMLTreeItem src, dst;
    Var(src, "f_a", u"src-a");
    Var(src, "f_new_x", u"src-x");
    Var(src, "g", u"src-g");
    Var(dst, "F_A", u"dst-a");
    Var(dst, "f_keep", u"dst-keep");
    src.MergeInto(&dst);
    EXPECT_EQ(ValueOf(dst, "f_a"), u"dst-a"); // existing nodes keep target's values
    EXPECT_EQ(ValueOf(dst, "f_keep"), u"dst-keep");
    EXPECT_EQ(ValueOf(dst, "f_new_x"), u"src-x"); // added with subtree and values
    EXPECT_EQ(ValueOf(dst, "g"), u"src-g");
    EXPECT_EQ(Walk(dst), (std::vector<std::string>{"F", "F_A", "F_keep", "F_new", "F_new_x", "g"}));
    EXPECT_TRUE(dynamic_cast<TXMLTreeItem*>(dst.GetItem_F("f_new_x")) != nullptr);
}

TEST(Tree, AssignCopiesNamesValuesAndCaseVariantSiblings) {
    // Siblings differing only in letter case can come from a file; both are copied.
    TXMLTreeItem src;
    src.SetKeepSystemItems(false);
    src.OpenFromBytes("<f>\r  <x>1</x>\r  <X>2</X>\r</f>\r", "src.lng");
    TXMLTreeItem dst;
    Var(dst, "old", u"gone");
    dst.SetTreeSeparator('.');
    dst.Assign(&src);
    EXPECT_EQ(Walk(dst), (std::vector<std::string>{"f", "f.x", "f.X"}));
    EXPECT_EQ(static_cast<TXMLTreeItem*>(dst.GetItem_(0))->Item(1)->GetText(), u"2");
    EXPECT_EQ(dst.GetTreeSeparator(), '.');  // the separator is not copied
    EXPECT_EQ(dst.GetFileName(), "src.lng"); // root to root: the file name too

    // A subtree assigned into another tree does not rename that tree's file.
    TXMLTreeItem pack("pack.lng");
    auto* n = static_cast<TXMLTreeItem*>(pack.AddItem("f"));
    n->Assign(src.GetItem_(0));
    EXPECT_EQ(pack.GetFileName(), "pack.lng");
    EXPECT_EQ(pack.GetItemValue_("f_x"), u"1");
}

TEST(Tree, DeleteDuplicatesKeepsTheLastOccurrenceExactly) {
    struct TCase {
        const char* file;
        std::vector<std::string> expected; // "name=value" of the root's children
    } cases[] = {
        {"<A>1</A>\r<B>2</B>\r<B>3</B>\r<A>4</A>\r", {"B=3", "A=4"}},
        {"<x>1</x>\r<X>2</X>\r", {"x=1", "X=2"}}, // letter case counts here
    };
    for (const auto& c : cases) {
        TXMLTreeItem t;
        t.SetKeepSystemItems(false);
        t.OpenFromBytes(c.file, "");
        std::vector<std::string> got;
        for (int i = 0; i < t.GetCount(); ++i) {
            std::u16string v = t.Item(i)->GetText();
            got.push_back(t.Item(i)->GetName() + "=" + std::string(v.begin(), v.end()));
        }
        EXPECT_EQ(got, c.expected) << c.file;
    }

    // Many siblings (the hashed path) and nested levels.
    TXMLTreeItem big;
    std::string file = "<r>\r";
    for (int i = 0; i < 100; ++i)
        file += "  <k" + std::to_string(i % 40) + ">" + std::to_string(i) + "</k" +
                std::to_string(i % 40) + ">\r";
    file += "</r>\r";
    big.SetKeepSystemItems(false);
    big.OpenFromBytes(file, "");
    TTree* r = big.GetItem_(0);
    ASSERT_EQ(r->GetCount(), 40);
    EXPECT_EQ(r->GetItem_(0)->GetName(), "k20"); // survivors keep their relative order
    EXPECT_EQ(big.GetItemValue_("r_k0"), u"80");
    EXPECT_EQ(big.GetItemValue_("r_k39"), u"79");
    EXPECT_EQ(big.GetItemValue_("r_k19"), u"99");
}

TEST(Tree, ExpandCompoundNamesNestsAndKeepsClashes) {
    TTree root;
    root.AddItem("a_b");
    root.AddItem("x_y_z");
    root.AddItem("plain");
    root.ExpandCompoundNames();
    EXPECT_EQ(Walk(root), (std::vector<std::string>{"plain", "x", "x_y", "x_y_z", "a", "a_b"}));

    // The target exists: the node keeps its compound name, where it was.
    TTree r2;
    r2.AddGlobalItem("a_b");
    r2.AddItem("a_b"); // a top-level node literally named "a_b"
    r2.ExpandCompoundNames();
    ASSERT_EQ(r2.GetCount(), 2);
    EXPECT_EQ(r2.GetItem_(1)->GetName(), "a_b");

    // Compound names deeper in the tree, merging into an existing folder.
    TTree r3;
    TTree* f = r3.AddItem("f");
    f->AddItem("btn");
    f->AddItem("btn_Caption");
    r3.ExpandCompoundNames();
    EXPECT_EQ(Walk(r3), (std::vector<std::string>{"f", "f_btn", "f_btn_Caption"}));
}
