// The host component model: components and owners, published properties with
// their kinds, reading and writing by description, and the collections over
// Qt's item widgets.
#include "runtime/host/uHost.h"
#include "runtime/uLexivane.h"
#include "test_objects.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace lx;
using namespace lx::host;
using lx::test::TAllKinds;

namespace {

template <class T> T* Make(QWidget* parent, const char* name) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

std::vector<std::string> Names(const std::vector<QObject*>& objects) {
    std::vector<std::string> r;
    for (QObject* o : objects)
        r.push_back(ComponentName(o));
    return r;
}

std::vector<std::string> PropNames(const THostObject& obj) {
    std::vector<std::string> r;
    for (const auto& p : PublishedProperties(obj))
        r.push_back(p.Name);
    return r;
}

// fMain
//   layMain (a layout, even though named)
//   grpOptions
//     btnOK
//     qt_spacer (Qt's own)
//     (unnamed container)
//       lblDeep
//   Frame11 (holds a form component)
//     lxFrame, btnInner
//   dlgAbout (a window of its own)
//     btnClose
//   mnuFile (a popup)
//     actOpen
//   BTNOK (same name as btnOK but for case)
struct TSampleForm {
    std::unique_ptr<QWidget> Form = std::make_unique<QWidget>();
    QGroupBox* Group;
    QPushButton* Ok;
    QLabel* Deep;
    Frame1* Frame;
    TLXForm* FrameForm;
    QPushButton* Inner;
    QDialog* Dialog;
    QPushButton* Close;
    QMenu* Menu;
    QAction* Open;

    TSampleForm() {
        Form->setObjectName("fMain");
        auto* layout = new QVBoxLayout(Form.get());
        layout->setObjectName("layMain");
        Group = Make<QGroupBox>(Form.get(), "grpOptions");
        layout->addWidget(Group);
        Ok = Make<QPushButton>(Group, "btnOK");
        Make<QLabel>(Group, "qt_spacer");
        Deep = Make<QLabel>(new QWidget(Group), "lblDeep");
        Frame = Make<Frame1>(Form.get(), "Frame11");
        FrameForm = Make<TLXForm>(Frame, "lxFrame");
        Inner = Make<QPushButton>(Frame, "btnInner");
        Dialog = new QDialog(Form.get());
        Dialog->setObjectName("dlgAbout");
        Close = Make<QPushButton>(Dialog, "btnClose");
        Menu = new QMenu(Form.get());
        Menu->setObjectName("mnuFile");
        Open = Menu->addAction("Open");
        Open->setObjectName("actOpen");
        Make<QPushButton>(Form.get(), "BTNOK");
    }
};

} // namespace

// --- components and owners -----------------------------------------------

TEST(HostComponents, OwnerIsTheNearestFormOrFrame) {
    TSampleForm f;
    EXPECT_TRUE(IsForm(f.Form.get()));
    EXPECT_TRUE(IsForm(f.Dialog));
    EXPECT_FALSE(IsForm(f.Menu)) << "a popup is a window but not a form";
    EXPECT_FALSE(IsForm(f.Group));
    EXPECT_TRUE(IsFrame(f.Frame));
    EXPECT_FALSE(IsFrame(f.Group));
    EXPECT_FALSE(IsFrame(f.Form.get())) << "a form is not a frame";

    const struct {
        QObject* Obj;
        QObject* Owner;
    } cases[] = {{f.Ok, f.Form.get()},     // not the group box
                 {f.Deep, f.Form.get()},   // through an unnamed container
                 {f.Group, f.Form.get()},  // a container itself
                 {f.Frame, f.Form.get()},  // the frame itself belongs to the form
                 {f.Inner, f.Frame},       // inside the frame
                 {f.FrameForm, f.Frame},   // its form component too
                 {f.Close, f.Dialog},      // a window of its own
                 {f.Open, f.Form.get()},   // the menu is no owner
                 {f.Form.get(), nullptr}}; // the top
    for (const auto& c : cases)
        EXPECT_EQ(ComponentOwner(c.Obj), c.Owner) << ComponentName(c.Obj);
}

TEST(HostComponents, MainWindowAndRegisteredFrameClassesOwn) {
    test::RegisterTestFrames();
    QMainWindow wnd;
    wnd.setObjectName("fMainWnd");
    auto* central = new QWidget(&wnd);
    wnd.setCentralWidget(central);
    auto* panel = Make<QWidget>(central, "pnlPlain");
    auto* inPanel = Make<QLabel>(panel, "lblInPanel");
    auto* frame = Make<TFrame1>(central, "Frame21"); // no form component inside
    auto* inFrame = Make<QLabel>(frame, "lblInFrame");

    EXPECT_TRUE(IsForm(&wnd));
    EXPECT_FALSE(IsFrame(panel));
    EXPECT_TRUE(IsFrame(frame));
    EXPECT_EQ(ComponentOwner(inPanel), &wnd);
    EXPECT_EQ(ComponentOwner(inFrame), frame);
    EXPECT_EQ(ComponentOwner(frame), &wnd);
    EXPECT_EQ(Names(OwnedComponents(&wnd)),
              (std::vector<std::string>{"pnlPlain", "lblInPanel", "Frame21"}));
}

TEST(HostComponents, WhatCountsAsAComponent) {
    TSampleForm f;
    QObject unnamed;
    QObject internal;
    internal.setObjectName("qt_internal");
    QObject almost;
    almost.setObjectName("qtLabel"); // only the "qt_" prefix marks Qt's internals
    EXPECT_TRUE(IsComponent(f.Ok));
    EXPECT_TRUE(IsComponent(&almost));
    EXPECT_FALSE(IsComponent(&unnamed));
    EXPECT_FALSE(IsComponent(&internal));
    EXPECT_FALSE(IsComponent(f.Form->layout())) << "a layout, even a named one";
    EXPECT_FALSE(IsComponent(nullptr));
}

TEST(HostComponents, OwnedComponentsInDepthFirstChildOrder) {
    TSampleForm f;
    const std::vector<std::string> form{"grpOptions", "btnOK",   "lblDeep", "Frame11",
                                        "dlgAbout",   "mnuFile", "actOpen", "BTNOK"};
    EXPECT_EQ(Names(OwnedComponents(f.Form.get())), form)
        << "the frame's and the dialog's components are their own";
    EXPECT_EQ(Names(OwnedComponents(f.Frame)), (std::vector<std::string>{"lxFrame", "btnInner"}));
    EXPECT_EQ(Names(OwnedComponents(f.Dialog)), std::vector<std::string>{"btnClose"});
    EXPECT_TRUE(OwnedComponents(nullptr).empty());
}

TEST(HostComponents, FindComponentIgnoresAsciiCaseAndTakesTheFirst) {
    TSampleForm f;
    const struct {
        QObject* Owner;
        const char* Name;
        QObject* Found;
    } cases[] = {{f.Form.get(), "btnOK", f.Ok},       {f.Form.get(), "BTNOK", f.Ok},
                 {f.Form.get(), "btnok", f.Ok},       {f.Form.get(), "LBLDEEP", f.Deep},
                 {f.Form.get(), "btnInner", nullptr}, // the frame's
                 {f.Frame, "BTNINNER", f.Inner},      {f.Form.get(), "btnO", nullptr},
                 {f.Form.get(), "", nullptr}};
    for (const auto& c : cases)
        EXPECT_EQ(FindComponent(c.Owner, c.Name), c.Found) << c.Name;
}

// --- published properties -----------------------------------------------

TEST(HostProperties, DeclarationOrderBaseFirstWithoutObjectName) {
    TAllKinds obj;
    const std::vector<std::string> expected{"Caption", "Text",  "Letter", "Bytes",   "Initial",
                                            "Count",   "Big",   "Ratio",  "Enabled", "Colour",
                                            "Options", "Lines", "Link",   "Fixed"};
    EXPECT_EQ(PropNames(THostObject(&obj)), expected);

    // A widget: QWidget's, then QAbstractButton's, then QPushButton's; the
    // collections after all of them.
    QTabWidget tabs;
    QPushButton button;
    const auto b = PropNames(THostObject(&button));
    const auto pos = [&b](const char* n) { return std::find(b.begin(), b.end(), n) - b.begin(); };
    EXPECT_EQ(std::count(b.begin(), b.end(), "objectName"), 0) << "a name is an identity";
    EXPECT_LT(pos("enabled"), pos("text"));
    EXPECT_LT(pos("text"), pos("autoDefault"));
    EXPECT_LT(pos("autoDefault"), static_cast<long>(b.size()));
    const auto t = PublishedProperties(THostObject(&tabs));
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back().Name, "Tabs");
    EXPECT_EQ(t.back().Kind, TTypeKind::Class);
    EXPECT_EQ(t.back().TypeName, "TTabPages");
}

TEST(HostProperties, KindsAndDeclaredTypeNames) {
    TAllKinds obj;
    QLabel label;
    const struct {
        QObject* Obj;
        const char* Name;
        TTypeKind Kind;
        const char* TypeName;
    } cases[] = {
        {&obj, "Text", TTypeKind::WString, "QString"},
        {&obj, "Letter", TTypeKind::WChar, "QChar"},
        {&obj, "Bytes", TTypeKind::LString, "QByteArray"},
        {&obj, "Initial", TTypeKind::Char, "char"},
        {&obj, "Count", TTypeKind::Integer, "int"},
        {&obj, "Big", TTypeKind::Int64, "qlonglong"},
        {&obj, "Ratio", TTypeKind::Float, "double"},
        {&obj, "Enabled", TTypeKind::Enumeration, "bool"},
        {&obj, "Colour", TTypeKind::Enumeration, "lx::test::TAllKinds::TColour"},
        {&obj, "Options", TTypeKind::Other, "lx::test::TAllKinds::TOptions"},
        {&obj, "Lines", TTypeKind::Class, "QStringList"},
        {&obj, "Link", TTypeKind::Class, "QObject*"},
        {&label, "alignment", TTypeKind::Other, "Qt::Alignment"},
    };
    for (const auto& c : cases) {
        TPropInfo info;
        ASSERT_TRUE(FindProperty(THostObject(c.Obj), c.Name, info)) << c.Name;
        EXPECT_EQ(info.Kind, c.Kind) << c.Name << ": " << TypeKindName(info.Kind);
        EXPECT_EQ(info.TypeName, c.TypeName) << c.Name;
    }
    TPropInfo info;
    EXPECT_FALSE(FindProperty(THostObject(&obj), "text", info)) << "names match exactly";
    EXPECT_FALSE(FindProperty(THostObject(&obj), "objectName", info));
}

TEST(HostProperties, Strings) {
    TAllKinds obj;
    const THostObject h(&obj);
    const QString cyrillic = QStringLiteral("Привет");
    QString v;
    ASSERT_TRUE(WriteString(h, "Text", cyrillic));
    EXPECT_EQ(obj.FText, cyrillic);
    ASSERT_TRUE(ReadString(h, "Text", v));
    EXPECT_EQ(v, cyrillic);

    ASSERT_TRUE(WriteString(h, "Letter", QStringLiteral("Жук")));
    EXPECT_EQ(obj.FLetter, QChar(u'Ж'));
    ASSERT_TRUE(ReadString(h, "Letter", v));
    EXPECT_EQ(v, QStringLiteral("Ж"));

    ASSERT_TRUE(WriteString(h, "Bytes", "raw"));
    EXPECT_EQ(obj.FBytes, QByteArray("raw"));
    ASSERT_TRUE(ReadString(h, "Bytes", v));
    EXPECT_EQ(v, "raw");

    ASSERT_TRUE(WriteString(h, "Initial", "Qx"));
    EXPECT_EQ(obj.FInitial, 'Q');
    ASSERT_TRUE(ReadString(h, "Initial", v));
    EXPECT_EQ(v, "Q");

    // Properties that hold no text, read-only ones and missing ones.
    v = "kept";
    EXPECT_FALSE(ReadString(h, "Count", v));
    EXPECT_FALSE(ReadString(h, "Missing", v));
    EXPECT_EQ(v, "kept");
    EXPECT_FALSE(WriteString(h, "Count", "5"));
    EXPECT_FALSE(WriteString(h, "Fixed", "new"));
    EXPECT_FALSE(WriteString(h, "Missing", "new"));
    EXPECT_EQ(obj.FCount, 1);
    ASSERT_TRUE(ReadString(h, "Fixed", v));
    EXPECT_EQ(v, "fixed");
}

TEST(HostProperties, OrdinalsAndFloats) {
    TAllKinds obj;
    const THostObject h(&obj);
    long long n = 0;
    ASSERT_TRUE(WriteOrdinal(h, "Count", -42));
    EXPECT_EQ(obj.FCount, -42);
    ASSERT_TRUE(ReadOrdinal(h, "Count", n));
    EXPECT_EQ(n, -42);
    EXPECT_FALSE(WriteOrdinal(h, "Count", 1LL << 40)) << "out of int's range";
    EXPECT_EQ(obj.FCount, -42);
    ASSERT_TRUE(WriteOrdinal(h, "Big", 1LL << 40));
    ASSERT_TRUE(ReadOrdinal(h, "Big", n));
    EXPECT_EQ(n, 1LL << 40);
    EXPECT_FALSE(ReadOrdinal(h, "Ratio", n));
    EXPECT_FALSE(WriteOrdinal(h, "Text", 1));
    EXPECT_FALSE(WriteOrdinal(h, "Colour", 1)) << "enumerations go by identifier";

    double d = 0;
    ASSERT_TRUE(WriteFloat(h, "Ratio", -2.25));
    EXPECT_EQ(obj.FRatio, -2.25);
    ASSERT_TRUE(ReadFloat(h, "Ratio", d));
    EXPECT_EQ(d, -2.25);
    EXPECT_FALSE(ReadFloat(h, "Count", d));
    EXPECT_FALSE(WriteFloat(h, "Count", 1.0));
    EXPECT_EQ(obj.FCount, -42);
}

TEST(HostProperties, EnumerationsAndBooleansByIdentifier) {
    TAllKinds obj;
    const THostObject h(&obj);
    std::string ident;
    ASSERT_TRUE(ReadEnumIdent(h, "Colour", ident));
    EXPECT_EQ(ident, "clRed");
    ASSERT_TRUE(WriteEnumIdent(h, "Colour", "CLBLUE"));
    EXPECT_EQ(obj.FColour, TAllKinds::clBlue);
    ASSERT_TRUE(ReadEnumIdent(h, "Colour", ident));
    EXPECT_EQ(ident, "clBlue");
    EXPECT_FALSE(WriteEnumIdent(h, "Colour", "clPurple"));
    EXPECT_FALSE(WriteEnumIdent(h, "Colour", ""));
    EXPECT_EQ(obj.FColour, TAllKinds::clBlue) << "an unknown identifier leaves the value";

    ASSERT_TRUE(ReadEnumIdent(h, "Enabled", ident));
    EXPECT_EQ(ident, "True");
    ASSERT_TRUE(WriteEnumIdent(h, "Enabled", "false"));
    EXPECT_FALSE(obj.FEnabled);
    ASSERT_TRUE(ReadEnumIdent(h, "Enabled", ident));
    EXPECT_EQ(ident, "False");
    EXPECT_FALSE(WriteEnumIdent(h, "Enabled", "yes"));
    EXPECT_FALSE(obj.FEnabled);

    // Flags are not enumerations: no single identifier holds their value.
    EXPECT_FALSE(ReadEnumIdent(h, "Options", ident));
    EXPECT_FALSE(WriteEnumIdent(h, "Options", "opBold"));
    EXPECT_EQ(obj.FOptions, TAllKinds::TOptions(TAllKinds::opItalic));
}

TEST(HostProperties, StringListsAndObjects) {
    TAllKinds obj;
    QObject target;
    obj.FLink = &target;
    const THostObject h(&obj);
    QStringList lines;
    ASSERT_TRUE(WriteStringList(h, "Lines", {"a", QStringLiteral("б"), ""}));
    EXPECT_EQ(obj.FLines, (QStringList{"a", QStringLiteral("б"), ""}));
    ASSERT_TRUE(ReadStringList(h, "Lines", lines));
    EXPECT_EQ(lines, obj.FLines);
    EXPECT_FALSE(ReadStringList(h, "Text", lines));
    EXPECT_FALSE(WriteStringList(h, "Text", {"x"}));
    EXPECT_EQ(obj.FText, "text");

    EXPECT_EQ(ReadObject(h, "Link"), &target);
    EXPECT_EQ(ReadObject(h, "Missing"), nullptr);
}

// --- collections ----------------------------------------------------------

TEST(HostCollections, StandardItemWidgets) {
    struct TCase {
        const char* Title;
        std::function<QWidget*()> Make;
        const char* Collection;
        const char* TypeName;
        int Count;
        int Index;
        const char* ItemProp;
        QString Before;
        std::function<QString(QWidget*, int)> Direct; // the widget's own view of the text
    };
    const TCase cases[] = {
        {"tab text",
         [] {
             auto* w = new QTabWidget;
             for (const char* t : {"A", "B", "C"})
                 w->addTab(new QWidget, t);
             return w;
         },
         "Tabs", "TTabPages", 3, 2, "text", "C",
         [](QWidget* w, int i) { return static_cast<QTabWidget*>(w)->tabText(i); }},
        {"tab tool tip",
         [] {
             auto* w = new QTabWidget;
             w->addTab(new QWidget, "A");
             w->setTabToolTip(0, "tip");
             return w;
         },
         "Tabs", "TTabPages", 1, 0, "toolTip", "tip",
         [](QWidget* w, int i) { return static_cast<QTabWidget*>(w)->tabToolTip(i); }},
        {"tool box page",
         [] {
             auto* w = new QToolBox;
             w->addItem(new QWidget, "P0");
             w->addItem(new QWidget, "P1");
             return w;
         },
         "Pages", "TToolBoxPages", 2, 1, "text", "P1",
         [](QWidget* w, int i) { return static_cast<QToolBox*>(w)->itemText(i); }},
        {"tree header section",
         [] {
             auto* w = new QTreeWidget;
             w->setHeaderLabels({"Name", "Size"});
             return w;
         },
         "Columns", "TTreeColumns", 2, 1, "text", "Size",
         [](QWidget* w, int i) { return static_cast<QTreeWidget*>(w)->headerItem()->text(i); }},
        {"table column header, created on write", [] { return new QTableWidget(2, 3); },
         "HorizontalHeader", "THeaderSections", 3, 1, "text", "",
         [](QWidget* w, int i) {
             auto* item = static_cast<QTableWidget*>(w)->horizontalHeaderItem(i);
             return item ? item->text() : QStringLiteral("<none>");
         }},
        {"table row header",
         [] {
             auto* w = new QTableWidget(2, 3);
             w->setVerticalHeaderLabels({"r0", "r1"});
             return w;
         },
         "VerticalHeader", "THeaderSections", 2, 0, "text", "r0",
         [](QWidget* w, int i) {
             return static_cast<QTableWidget*>(w)->verticalHeaderItem(i)->text();
         }},
        {"list item tool tip",
         [] {
             auto* w = new QListWidget;
             w->addItems({"x", "y"});
             w->item(1)->setToolTip("why");
             return w;
         },
         "Items", "TListItems", 2, 1, "toolTip", "why",
         [](QWidget* w, int i) { return static_cast<QListWidget*>(w)->item(i)->toolTip(); }},
        {"combo item",
         [] {
             auto* w = new QComboBox;
             w->addItems({"one", "two"});
             return w;
         },
         "Items", "TComboItems", 2, 0, "text", "one",
         [](QWidget* w, int i) { return static_cast<QComboBox*>(w)->itemText(i); }},
    };
    const QString written = QStringLiteral("Новый");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        std::unique_ptr<QWidget> w(c.Make());
        const THostObject owner(w.get());
        TPropInfo info;
        ASSERT_TRUE(FindProperty(owner, c.Collection, info));
        EXPECT_EQ(info.Kind, TTypeKind::Class);
        EXPECT_EQ(info.TypeName, c.TypeName);

        auto coll = CollectionProperty(owner, c.Collection);
        ASSERT_NE(coll, nullptr);
        EXPECT_EQ(coll->Owner(), w.get());
        EXPECT_EQ(CollectionPropName(*coll), c.Collection);
        EXPECT_EQ(coll->Count(), c.Count);

        const THostObject item = coll->Item(c.Index);
        EXPECT_EQ(item.Kind(), THostObject::TKind::Item);
        EXPECT_EQ(item.Index(), c.Index);
        EXPECT_TRUE(FindProperty(item, c.ItemProp, info));
        EXPECT_EQ(info.Kind, TTypeKind::WString);
        QString v;
        ASSERT_TRUE(ReadString(item, c.ItemProp, v));
        EXPECT_EQ(v, c.Before);
        ASSERT_TRUE(WriteString(item, c.ItemProp, written));
        EXPECT_EQ(c.Direct(w.get(), c.Index), written);
        ASSERT_TRUE(ReadString(item, c.ItemProp, v));
        EXPECT_EQ(v, written);
        EXPECT_FALSE(ReadString(item, "bogus", v));

        EXPECT_THROW(coll->Item(c.Count), std::out_of_range);
        EXPECT_THROW(coll->Item(-1), std::out_of_range);
    }
}

TEST(HostCollections, OnlyForTheirWidgetClasses) {
    QPushButton button;
    QListWidget list;
    EXPECT_EQ(CollectionProperty(THostObject(&button), "Items"), nullptr);
    EXPECT_EQ(CollectionProperty(THostObject(&list), "Tabs"), nullptr);
    EXPECT_EQ(CollectionProperty(THostObject(&list), "items"), nullptr) << "names match exactly";
    auto coll = CollectionProperty(THostObject(&list), "Items");
    ASSERT_NE(coll, nullptr);
    EXPECT_EQ(coll->Count(), 0);
    EXPECT_THROW(coll->Item(0), std::out_of_range);
    // Collections have no properties of their own; items are no meta-objects.
    EXPECT_TRUE(PublishedProperties(THostObject::OfCollection(coll)).empty());
}
