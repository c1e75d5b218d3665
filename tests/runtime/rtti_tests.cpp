// Property paths and property values as text: the path of an object, finding
// an object by its path (with pseudonyms and frames), GetPropText/SetPropText.
#include "runtime/ClassRTTI.h"
#include "runtime/uLexivane.h"
#include "runtime/uRepository.h"
#include "test_objects.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>

using namespace lx;
using host::THostObject;
using lx::test::TAllKinds;

namespace {

// fMain
//   btnOK "OK"
//   tabs: pages A, B, C
//   Frame11 (class Frame1, holds lxFrame): btnInner
//   Frame21 (class TFrame1, a registered frame class): lblInner
struct TPathForm {
    std::unique_ptr<QWidget> Form = std::make_unique<QWidget>();
    QPushButton* Ok = new QPushButton("OK", Form.get());
    QTabWidget* Tabs = new QTabWidget(Form.get());
    Frame1* Frame = new Frame1(Form.get());
    QPushButton* Inner = new QPushButton("inner", Frame);
    TFrame1* Registered = new TFrame1(Form.get());
    QLabel* RegInner = new QLabel("reg", Registered);
    std::shared_ptr<host::TCollection> Pages;

    TPathForm() {
        test::RegisterTestFrames();
        Form->setObjectName("fMain");
        Ok->setObjectName("btnOK");
        Tabs->setObjectName("tabs");
        for (const char* t : {"A", "B", "C"})
            Tabs->addTab(new QWidget, t);
        Frame->setObjectName("Frame11");
        (new TLXForm(Frame))->setObjectName("lxFrame");
        Inner->setObjectName("btnInner");
        Registered->setObjectName("Frame21");
        RegInner->setObjectName("lblInner");
        Pages = host::CollectionProperty(THostObject(Tabs), "Tabs");
    }
    THostObject Item(int i) const { return THostObject::OfItem(Pages, i); }
};

TFormRepository Repository(std::initializer_list<TPseudonym> pairs) {
    TFormRepository r;
    r.SetPseudonymes(pairs);
    return r;
}

std::string Describe(const THostObject& o) {
    return o.IsNull() ? std::string("<null>") : GetComponentFullName(o, nullptr);
}

} // namespace

TEST(RttiPaths, FullNames) {
    TPathForm f;
    const THostObject pages = THostObject::OfCollection(f.Pages);
    const TFormRepository none;
    // The item's index, the button's and the form's names have pseudonyms;
    // only the last element of a path takes one.
    const TFormRepository repo = Repository(
        {{"2", "Third"}, {"btnOK", "Button1"}, {"fMain", "MainForm"}, {"Tabs", "Sheets"}});
    const struct {
        THostObject Obj;
        const char* Plain;
        const char* Pseudonymised;
    } cases[] = {
        {THostObject(f.Form.get()), "fMain", "MainForm"},
        {THostObject(f.Ok), "fMain.btnOK", "fMain.Button1"},
        {pages, "fMain.tabs.Tabs", "fMain.tabs.Sheets"},
        {f.Item(2), "fMain.tabs.Tabs.2", "fMain.tabs.Tabs.Third"},
        {f.Item(0), "fMain.tabs.Tabs.0", "fMain.tabs.Tabs.0"},
        {THostObject(f.Frame), "fMain.Frame11", "fMain.Frame11"},
        {THostObject(f.Inner), "fMain.Frame11.btnInner", "fMain.Frame11.btnInner"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetComponentFullName(c.Obj, nullptr), c.Plain);
        EXPECT_EQ(GetComponentFullName(c.Obj, &none), c.Plain);
        EXPECT_EQ(GetComponentFullName(c.Obj, &repo), c.Pseudonymised);
    }
    EXPECT_EQ(GetObjName(f.Item(2), &repo), "Third");
    EXPECT_EQ(GetCollectionCaption(*f.Pages), "Tabs");
    EXPECT_TRUE(PathParent(f.Item(2)) == pages);
    EXPECT_TRUE(PathParent(pages) == THostObject(f.Tabs));
}

TEST(RttiPaths, FindObjectByPath) {
    TPathForm f;
    const THostObject form(f.Form.get());
    const THostObject frame(f.Frame);
    const THostObject registered(f.Registered);
    const TFormRepository repo = Repository({{"btnOK", "Button1"}, {"Frame11", "frm"}});
    const struct {
        const char* Path;
        THostObject Root;
        bool IsRoot;
        const TFormRepository* Repo;
        THostObject Expected; // null: names nothing
    } cases[] = {
        {"fMain", form, true, nullptr, form},
        {"fmain", form, true, nullptr, {}}, // the root's name exactly
        {"fMain.btnOK", form, true, nullptr, THostObject(f.Ok)},
        {"fMain.BTNOK", form, true, nullptr, THostObject(f.Ok)},
        {"btnok", form, false, nullptr, THostObject(f.Ok)},
        {"fMain.Button1", form, true, &repo, THostObject(f.Ok)},
        {"fMain.button1", form, true, &repo, THostObject(f.Ok)},
        {"fMain.Button1", form, true, nullptr, {}},
        {"fMain.tabs.Tabs", form, true, nullptr, THostObject::OfCollection(f.Pages)},
        {"fMain.tabs.Tabs.2", form, true, nullptr, f.Item(2)},
        {"fMain.tabs.Tabs.+0", form, true, nullptr, f.Item(0)},
        {"fMain.frm.btnInner", form, true, &repo, THostObject(f.Inner)},
        {"fMain.Frame11.BTNINNER", form, true, nullptr, THostObject(f.Inner)},
        {"fMain.btnInner", form, true, nullptr, {}}, // the frame's own
        {"fMain.nothing", form, true, nullptr, {}},
        {"fMain.btnOK.nothing", form, true, nullptr, {}},
        {"fMain.tabs.tabs", form, true, nullptr, {}}, // collection names exactly
        {"fMain.tabs.Tabs.2.text", form, true, nullptr, {}},
        {"", form, true, nullptr, {}},
        // A frame as the root: its own name, or its class with or without "T".
        {"Frame11.btnInner", frame, true, nullptr, THostObject(f.Inner)},
        {"Frame1.btnInner", frame, true, nullptr, THostObject(f.Inner)},
        {"FRAME1.btnInner", frame, true, nullptr, THostObject(f.Inner)},
        {"TFrame1.btnInner", frame, true, nullptr, {}},
        {"Frame1.lblInner", registered, true, nullptr, THostObject(f.RegInner)},
        {"tframe1.lblInner", registered, true, nullptr, THostObject(f.RegInner)},
        {"QWidget", form, true, nullptr, {}}, // a form is no frame
        {"QPushButton", THostObject(f.Ok), true, nullptr, {}},
    };
    for (const auto& c : cases) {
        const THostObject found = FindObjectByPath(c.Path, c.Root, c.IsRoot, c.Repo);
        EXPECT_TRUE(found == c.Expected)
            << '"' << c.Path << "\" found " << Describe(found) << ", not " << Describe(c.Expected);
    }
}

TEST(RttiPaths, BadCollectionIndexThrows) {
    TPathForm f;
    const THostObject form(f.Form.get());
    for (const char* path : {"fMain.tabs.Tabs.x", "fMain.tabs.Tabs.", "fMain.tabs.Tabs.1x",
                             "fMain.tabs.Tabs. 1", "fMain.tabs.Tabs.3", "fMain.tabs.Tabs.-1",
                             "fMain.tabs.Tabs.99999999999", "fMain.tabs.Tabs.x.text"})
        EXPECT_THROW(FindObjectByPath(path, form, true, nullptr), std::out_of_range) << path;
}

TEST(RttiText, GetAndSetPropText) {
    const std::u16string unchanged = u"<unchanged>";
    const struct {
        const char* Prop;
        std::u16string Input;
        std::u16string Text; // as GetPropText gives it afterwards
        QVariant Value;      // the property's value afterwards
    } cases[] = {
        {"Text", u"Hello", u"Hello", QStringLiteral("Hello")},
        {"Text", u"Привет, мир", u"Привет, мир", QStringLiteral("Привет, мир")},
        {"Text", u"", u"", QString()},
        {"Letter", u"Я", u"Я", QChar(u'Я')},
        {"Bytes", u"bytes2", u"bytes2", QByteArray("bytes2")},
        {"Initial", u"Z", u"Z", QVariant::fromValue('Z')},
        {"Colour", u"CLGREEN", u"clGreen", QVariant::fromValue(TAllKinds::clGreen)},
        {"Colour", u" clBlue ", u"clBlue", QVariant::fromValue(TAllKinds::clBlue)},
        {"Colour", u"clPurple", u"clRed", QVariant::fromValue(TAllKinds::clRed)},
        {"Lines", u"a\r\nb", u"a\r\nb", QStringList{"a", "b"}},
        {"Lines", u"a\nb\r\n", u"a\r\nb", QStringList{"a", "b"}},
        {"Lines", u"", u"", QStringList{}},
        {"Ratio", u"-2.5", u"-2.5", -2.5},
        {"Ratio", u"3,25", u"3.25", 3.25},
        {"Ratio", u"1.2.3", u"0.5", 0.5},
        {"Ratio", u"x", u"0.5", 0.5},
        {"Count", u"42", u"42", 42},
        {"Count", u"-7", u"-7", -7},
        {"Count", u"abc", u"1", 1},
        {"Count", u"99999999999", u"1", 1}, // out of int's range
        {"Big", u"99999999999", u"99999999999", 99999999999LL},
        {"Enabled", u"True", u"True", true},
        {"Enabled", u"false", u"False", false},
        {"Enabled", u"maybe", u"True", true},
    };
    for (const auto& c : cases) {
        TAllKinds obj;
        const THostObject h(&obj);
        SetPropText(c.Input, h, c.Prop);
        std::u16string text = unchanged;
        EXPECT_TRUE(GetPropText(h, c.Prop, text)) << c.Prop;
        EXPECT_EQ(text, c.Text) << c.Prop << " from "
                                << QString::fromStdU16String(c.Input).toStdString();
        EXPECT_EQ(obj.property(c.Prop), c.Value)
            << c.Prop << " from " << QString::fromStdU16String(c.Input).toStdString();
    }
}

TEST(RttiText, PropertiesWithoutText) {
    TAllKinds obj;
    QLabel label;
    label.setAlignment(Qt::AlignRight);
    const THostObject h(&obj);
    std::u16string text = u"kept";
    // Flags (QLabel's alignment among them), objects, missing properties.
    EXPECT_FALSE(GetPropText(h, "Options", text));
    EXPECT_FALSE(GetPropText(THostObject(&label), "alignment", text));
    EXPECT_FALSE(GetPropText(h, "Link", text));
    EXPECT_FALSE(GetPropText(h, "Missing", text));
    EXPECT_FALSE(GetPropText(h, "text", text)) << "names match exactly";
    EXPECT_EQ(text, u"kept");

    SetPropText(u"opBold", h, "Options");
    SetPropText(u"AlignLeft", THostObject(&label), "alignment");
    SetPropText(u"x", h, "Missing");
    SetPropText(u"new", h, "Fixed");
    EXPECT_EQ(obj.FOptions, TAllKinds::TOptions(TAllKinds::opItalic));
    EXPECT_EQ(label.alignment(), Qt::AlignRight);
    ASSERT_TRUE(GetPropText(h, "Fixed", text));
    EXPECT_EQ(text, u"fixed");
}

TEST(RttiText, CollectionItemsAndComponentPropValue) {
    TPathForm f;
    const THostObject form(f.Form.get());
    SetPropText(u"Вторая", f.Item(1), "text");
    EXPECT_EQ(f.Tabs->tabText(1), QStringLiteral("Вторая"));

    const struct {
        const char* Path;
        std::u16string Value;
    } cases[] = {
        {"fMain.btnOK.text", u"OK"},
        {"fMain.BTNOK.text", u"OK"},
        {"fMain.tabs.Tabs.1.text", u"Вторая"},
        {"fMain.Frame11.btnInner.text", u"inner"},
        {"fMain.btnOK.missing", u""},
        {"fMain.nothing.text", u""},
        {"fMain.tabs.Tabs.7.text", u""}, // a bad index gives no text, not an exception
        {"other.btnOK.text", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetComponentPropValue(c.Path, form), c.Value) << c.Path;
}
