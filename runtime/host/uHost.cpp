#include "uHost.h"

#include "platform/Text.h"

#include <QComboBox>
#include <QLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMetaProperty>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBox>
#include <QTreeWidget>
#include <QWidget>

#include <mutex>
#include <stdexcept>

namespace lx::host {

namespace {

constexpr const char* kFormComponentMark = "_lx_form_component";

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}

std::vector<std::unique_ptr<TCollectionType>>& CollectionTypes();
std::vector<const QMetaObject*>& FrameClasses() {
    static std::vector<const QMetaObject*> classes;
    return classes;
}

// Adds the collections of Qt's item widgets; called once, on first use.
void AddStandardCollections(std::vector<std::unique_ptr<TCollectionType>>& types) {
    auto add = [&types](TCollectionType t) {
        types.push_back(std::make_unique<TCollectionType>(std::move(t)));
    };
    add({&QTabWidget::staticMetaObject,
         "Tabs",
         "TTabPages",
         [](QObject* o) { return static_cast<QTabWidget*>(o)->count(); },
         {{"text", [](QObject* o, int i) { return static_cast<QTabWidget*>(o)->tabText(i); },
           [](QObject* o, int i, const QString& v) {
               static_cast<QTabWidget*>(o)->setTabText(i, v);
           }},
          {"toolTip", [](QObject* o, int i) { return static_cast<QTabWidget*>(o)->tabToolTip(i); },
           [](QObject* o, int i, const QString& v) {
               static_cast<QTabWidget*>(o)->setTabToolTip(i, v);
           }},
          {"whatsThis",
           [](QObject* o, int i) { return static_cast<QTabWidget*>(o)->tabWhatsThis(i); },
           [](QObject* o, int i, const QString& v) {
               static_cast<QTabWidget*>(o)->setTabWhatsThis(i, v);
           }}}});
    add({&QToolBox::staticMetaObject,
         "Pages",
         "TToolBoxPages",
         [](QObject* o) { return static_cast<QToolBox*>(o)->count(); },
         {{"text", [](QObject* o, int i) { return static_cast<QToolBox*>(o)->itemText(i); },
           [](QObject* o, int i, const QString& v) {
               static_cast<QToolBox*>(o)->setItemText(i, v);
           }},
          {"toolTip", [](QObject* o, int i) { return static_cast<QToolBox*>(o)->itemToolTip(i); },
           [](QObject* o, int i, const QString& v) {
               static_cast<QToolBox*>(o)->setItemToolTip(i, v);
           }}}});

    // Header sections and list items share their text roles.
    struct TRole {
        const char* name;
        int role;
    };
    const TRole roles[] = {{"text", Qt::DisplayRole},
                           {"toolTip", Qt::ToolTipRole},
                           {"statusTip", Qt::StatusTipRole},
                           {"whatsThis", Qt::WhatsThisRole}};

    {
        TCollectionType t{&QTreeWidget::staticMetaObject,
                          "Columns",
                          "TTreeColumns",
                          [](QObject* o) { return static_cast<QTreeWidget*>(o)->columnCount(); },
                          {}};
        for (const auto& r : roles) {
            const int role = r.role;
            t.ItemProps.push_back({r.name,
                                   [role](QObject* o, int i) {
                                       auto* h = static_cast<QTreeWidget*>(o)->headerItem();
                                       return h ? h->data(i, role).toString() : QString();
                                   },
                                   [role](QObject* o, int i, const QString& v) {
                                       if (auto* h = static_cast<QTreeWidget*>(o)->headerItem())
                                           h->setData(i, role, v);
                                   }});
        }
        add(std::move(t));
    }
    for (int horizontal = 1; horizontal >= 0; --horizontal) {
        TCollectionType t{&QTableWidget::staticMetaObject,
                          horizontal ? "HorizontalHeader" : "VerticalHeader",
                          "THeaderSections",
                          [horizontal](QObject* o) {
                              auto* w = static_cast<QTableWidget*>(o);
                              return horizontal ? w->columnCount() : w->rowCount();
                          },
                          {}};
        for (const auto& r : roles) {
            const int role = r.role;
            t.ItemProps.push_back({r.name,
                                   [role, horizontal](QObject* o, int i) {
                                       auto* w = static_cast<QTableWidget*>(o);
                                       auto* item = horizontal ? w->horizontalHeaderItem(i)
                                                               : w->verticalHeaderItem(i);
                                       return item ? item->data(role).toString() : QString();
                                   },
                                   [role, horizontal](QObject* o, int i, const QString& v) {
                                       auto* w = static_cast<QTableWidget*>(o);
                                       auto* item = horizontal ? w->horizontalHeaderItem(i)
                                                               : w->verticalHeaderItem(i);
                                       if (!item) {
                                           item = new QTableWidgetItem();
                                           if (horizontal)
                                               w->setHorizontalHeaderItem(i, item);
                                           else
                                               w->setVerticalHeaderItem(i, item);
                                       }
                                       item->setData(role, v);
                                   }});
        }
        add(std::move(t));
    }
    {
        TCollectionType t{&QListWidget::staticMetaObject,
                          "Items",
                          "TListItems",
                          [](QObject* o) { return static_cast<QListWidget*>(o)->count(); },
                          {}};
        for (const auto& r : roles) {
            const int role = r.role;
            t.ItemProps.push_back({r.name,
                                   [role](QObject* o, int i) {
                                       auto* item = static_cast<QListWidget*>(o)->item(i);
                                       return item ? item->data(role).toString() : QString();
                                   },
                                   [role](QObject* o, int i, const QString& v) {
                                       if (auto* item = static_cast<QListWidget*>(o)->item(i))
                                           item->setData(role, v);
                                   }});
        }
        add(std::move(t));
    }
    add({&QComboBox::staticMetaObject,
         "Items",
         "TComboItems",
         [](QObject* o) { return static_cast<QComboBox*>(o)->count(); },
         {{"text", [](QObject* o, int i) { return static_cast<QComboBox*>(o)->itemText(i); },
           [](QObject* o, int i, const QString& v) {
               static_cast<QComboBox*>(o)->setItemText(i, v);
           }}}});
}

std::vector<std::unique_ptr<TCollectionType>>& CollectionTypes() {
    static std::vector<std::unique_ptr<TCollectionType>> types;
    static std::once_flag once;
    std::call_once(once, [] { AddStandardCollections(types); });
    return types;
}

std::vector<const TCollectionType*> CollectionTypesOf(const QObject* obj) {
    std::vector<const TCollectionType*> r;
    std::lock_guard lock(RegistryMutex());
    for (const auto& t : CollectionTypes())
        if (obj->metaObject()->inherits(t->OwnerClass))
            r.push_back(t.get());
    return r;
}

TTypeKind KindOf(const QMetaProperty& p) {
    if (p.isEnumType())
        return p.isFlagType() ? TTypeKind::Other : TTypeKind::Enumeration;
    switch (p.metaType().id()) {
    case QMetaType::QString:
        return TTypeKind::WString;
    case QMetaType::QChar:
        return TTypeKind::WChar;
    case QMetaType::QByteArray:
        return TTypeKind::LString;
    case QMetaType::Char:
    case QMetaType::SChar:
        return TTypeKind::Char;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::UChar:
        return TTypeKind::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TTypeKind::Int64;
    case QMetaType::Double:
    case QMetaType::Float:
        return TTypeKind::Float;
    case QMetaType::Bool:
        return TTypeKind::Enumeration;
    case QMetaType::QStringList:
        return TTypeKind::Class;
    case QMetaType::QObjectStar:
        return TTypeKind::Class;
    default:
        break;
    }
    if (p.metaType().flags() & QMetaType::PointerToQObject)
        return TTypeKind::Class;
    return TTypeKind::Other;
}

bool MetaProperty(const QObject* obj, const std::string& name, QMetaProperty& out) {
    const int i = obj->metaObject()->indexOfProperty(name.c_str());
    if (i < 0)
        return false;
    out = obj->metaObject()->property(i);
    return out.isReadable();
}

// Qt 6 names enumeration and flag properties by their meta-type
// ("QFlags<Qt::AlignmentFlag>"); the enumerator knows the declared name.
std::string DeclaredTypeName(const QMetaProperty& p) {
    if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        if (e.isValid())
            return std::string(e.scope()) + "::" + e.name();
    }
    return p.typeName();
}

const TItemProp* ItemProp(const THostObject& obj, const std::string& name) {
    if (obj.Kind() != THostObject::TKind::Item)
        return nullptr;
    for (const auto& p : obj.Collection()->Type().ItemProps)
        if (p.Name == name)
            return &p;
    return nullptr;
}

} // namespace

const char* TypeKindName(TTypeKind kind) {
    switch (kind) {
    case TTypeKind::LString:
        return "tkLString";
    case TTypeKind::Char:
        return "tkChar";
    case TTypeKind::WString:
        return "tkWString";
    case TTypeKind::WChar:
        return "tkWChar";
    case TTypeKind::Integer:
        return "tkInteger";
    case TTypeKind::Int64:
        return "tkInt64";
    case TTypeKind::Float:
        return "tkFloat";
    case TTypeKind::Enumeration:
        return "tkEnumeration";
    case TTypeKind::Class:
        return "tkClass";
    case TTypeKind::Other:
        break;
    }
    return "tkUnknown";
}

THostObject::THostObject(QObject* obj) : FKind(obj ? TKind::Object : TKind::None), FObject(obj) {}

THostObject THostObject::OfCollection(std::shared_ptr<TCollection> c) {
    THostObject h;
    h.FKind = TKind::Collection;
    h.FCollection = std::move(c);
    return h;
}

THostObject THostObject::OfItem(std::shared_ptr<TCollection> c, int index) {
    THostObject h;
    h.FKind = TKind::Item;
    h.FCollection = std::move(c);
    h.FIndex = index;
    return h;
}

std::string THostObject::ClassName() const {
    switch (FKind) {
    case TKind::Object:
        return FObject ? FObject->metaObject()->className() : "";
    case TKind::Collection:
        return FCollection->Type().TypeName;
    case TKind::Item:
        return FCollection->Type().TypeName + "Item";
    case TKind::None:
        break;
    }
    return {};
}

bool THostObject::operator==(const THostObject& o) const {
    if (FKind != o.FKind)
        return false;
    switch (FKind) {
    case TKind::Object:
        return FObject == o.FObject;
    case TKind::Collection:
    case TKind::Item:
        return FCollection->Owner() == o.FCollection->Owner() &&
               &FCollection->Type() == &o.FCollection->Type() && FIndex == o.FIndex;
    case TKind::None:
        break;
    }
    return true;
}

int TCollection::Count() const {
    return FOwner ? FType->Count(FOwner) : 0;
}

THostObject TCollection::Item(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return THostObject::OfItem(std::make_shared<TCollection>(*this), index);
}

void RegisterCollectionType(TCollectionType type) {
    std::lock_guard lock(RegistryMutex());
    CollectionTypes().push_back(std::make_unique<TCollectionType>(std::move(type)));
}

void RegisterFrameClass(const QMetaObject* cls) {
    std::lock_guard lock(RegistryMutex());
    FrameClasses().push_back(cls);
}

bool IsComponent(const QObject* obj) {
    if (!obj || qobject_cast<const QLayout*>(obj))
        return false;
    const QString name = obj->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

bool IsForm(const QObject* obj) {
    const auto* w = qobject_cast<const QWidget*>(obj);
    if (!w || !w->isWindow())
        return false;
    const Qt::WindowType t = w->windowType();
    return t != Qt::Popup && t != Qt::ToolTip;
}

bool IsFrame(const QObject* obj) {
    const auto* w = qobject_cast<const QWidget*>(obj);
    if (!w || IsForm(w))
        return false;
    // A form designer puts everything of a main window, its form component
    // too, into the central widget: that widget is part of the window.
    if (const auto* main = qobject_cast<const QMainWindow*>(w->parentWidget()))
        if (main->centralWidget() == w)
            return false;
    {
        std::lock_guard lock(RegistryMutex());
        for (const QMetaObject* cls : FrameClasses())
            if (w->metaObject()->inherits(cls))
                return true;
    }
    for (const QObject* c : w->children())
        if (c->property(kFormComponentMark).toBool())
            return true;
    return false;
}

void MarkFormComponent(QObject* component) {
    component->setProperty(kFormComponentMark, true);
}

QObject* ComponentOwner(const QObject* obj) {
    for (QObject* p = obj ? obj->parent() : nullptr; p; p = p->parent())
        if (IsForm(p) || IsFrame(p))
            return p;
    return nullptr;
}

std::vector<QObject*> OwnedComponents(const QObject* owner) {
    std::vector<QObject*> result;
    if (!owner)
        return result;
    // Depth first in child order; an owner's children are its own.
    std::vector<std::pair<const QObject*, int>> stack{{owner, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        const QObjectList& kids = node->children();
        if (next >= kids.size()) {
            stack.pop_back();
            continue;
        }
        QObject* child = kids[next++];
        if (IsComponent(child))
            result.push_back(child);
        if (!IsForm(child) && !IsFrame(child))
            stack.push_back({child, 0});
    }
    return result;
}

QObject* FindComponent(const QObject* owner, const std::string& name) {
    for (QObject* c : OwnedComponents(owner))
        if (platform::SameTextAscii(ComponentName(c), name))
            return c;
    return nullptr;
}

std::string ComponentName(const QObject* obj) {
    return obj ? obj->objectName().toStdString() : std::string();
}

std::vector<TPropInfo> PublishedProperties(const THostObject& obj) {
    std::vector<TPropInfo> props;
    switch (obj.Kind()) {
    case THostObject::TKind::Object: {
        const QMetaObject* mo = obj.Object()->metaObject();
        for (int i = 0; i < mo->propertyCount(); ++i) {
            const QMetaProperty p = mo->property(i);
            // The name is the component's identity in paths, not a text of it.
            if (!p.isReadable() || qstrcmp(p.name(), "objectName") == 0)
                continue;
            props.push_back({p.name(), KindOf(p), DeclaredTypeName(p)});
        }
        for (const TCollectionType* t : CollectionTypesOf(obj.Object()))
            props.push_back({t->PropName, TTypeKind::Class, t->TypeName});
        break;
    }
    case THostObject::TKind::Item:
        for (const auto& p : obj.Collection()->Type().ItemProps)
            props.push_back({p.Name, TTypeKind::WString, "QString"});
        break;
    case THostObject::TKind::Collection:
    case THostObject::TKind::None:
        break;
    }
    return props;
}

bool FindProperty(const THostObject& obj, const std::string& name, TPropInfo& info) {
    for (auto& p : PublishedProperties(obj))
        if (p.Name == name) {
            info = p;
            return true;
        }
    return false;
}

std::shared_ptr<TCollection> CollectionProperty(const THostObject& obj, const std::string& name) {
    if (obj.Kind() != THostObject::TKind::Object)
        return nullptr;
    for (const TCollectionType* t : CollectionTypesOf(obj.Object()))
        if (t->PropName == name)
            return std::make_shared<TCollection>(obj.Object(), t);
    return nullptr;
}

std::string CollectionPropName(const TCollection& c) {
    return c.Owner() ? c.Type().PropName : "";
}

bool ReadString(const THostObject& obj, const std::string& name, QString& value) {
    if (const TItemProp* ip = ItemProp(obj, name)) {
        value = ip->Get(obj.Collection()->Owner(), obj.Index());
        return true;
    }
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p))
        return false;
    const TTypeKind k = KindOf(p);
    const QVariant v = p.read(obj.Object());
    switch (k) {
    case TTypeKind::WString:
        value = v.toString();
        return true;
    case TTypeKind::WChar:
        value = QString(v.toChar());
        return true;
    case TTypeKind::LString:
        value = QString::fromLocal8Bit(v.toByteArray());
        return true;
    case TTypeKind::Char:
        value = QString(QChar(static_cast<ushort>(static_cast<unsigned char>(v.toInt()))));
        return true;
    default:
        return false;
    }
}

bool WriteString(const THostObject& obj, const std::string& name, const QString& value) {
    if (const TItemProp* ip = ItemProp(obj, name)) {
        ip->Set(obj.Collection()->Owner(), obj.Index(), value);
        return true;
    }
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) || !p.isWritable())
        return false;
    switch (KindOf(p)) {
    case TTypeKind::WString:
        return p.write(obj.Object(), value);
    case TTypeKind::WChar:
        return p.write(obj.Object(), value.isEmpty() ? QChar() : value[0]);
    case TTypeKind::LString:
        return p.write(obj.Object(), value.toLocal8Bit());
    case TTypeKind::Char:
        return p.write(obj.Object(), QVariant::fromValue(static_cast<char>(
                                         value.isEmpty() ? 0 : value.toLocal8Bit()[0])));
    default:
        return false;
    }
}

bool ReadOrdinal(const THostObject& obj, const std::string& name, long long& value) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p))
        return false;
    const TTypeKind k = KindOf(p);
    if (k != TTypeKind::Integer && k != TTypeKind::Int64)
        return false;
    bool ok = false;
    value = p.read(obj.Object()).toLongLong(&ok);
    return ok;
}

bool WriteOrdinal(const THostObject& obj, const std::string& name, long long value) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) || !p.isWritable())
        return false;
    const TTypeKind k = KindOf(p);
    if (k != TTypeKind::Integer && k != TTypeKind::Int64)
        return false;
    QVariant v(value);
    if (!v.convert(p.metaType()) || v.toLongLong() != value)
        return false; // out of the property's range
    return p.write(obj.Object(), v);
}

bool ReadFloat(const THostObject& obj, const std::string& name, double& value) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) || KindOf(p) != TTypeKind::Float)
        return false;
    value = p.read(obj.Object()).toDouble();
    return true;
}

bool WriteFloat(const THostObject& obj, const std::string& name, double value) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) || !p.isWritable() ||
        KindOf(p) != TTypeKind::Float)
        return false;
    QVariant v(value);
    v.convert(p.metaType());
    return p.write(obj.Object(), v);
}

bool ReadEnumIdent(const THostObject& obj, const std::string& name, std::string& ident) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) ||
        KindOf(p) != TTypeKind::Enumeration)
        return false;
    const QVariant v = p.read(obj.Object());
    if (p.metaType().id() == QMetaType::Bool) {
        ident = v.toBool() ? "True" : "False";
        return true;
    }
    const char* key = p.enumerator().valueToKey(v.toInt());
    if (!key)
        return false;
    ident = key;
    return true;
}

bool WriteEnumIdent(const THostObject& obj, const std::string& name, const std::string& ident) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) || !p.isWritable() ||
        KindOf(p) != TTypeKind::Enumeration)
        return false;
    if (p.metaType().id() == QMetaType::Bool) {
        if (platform::SameTextAscii(ident, "True"))
            return p.write(obj.Object(), true);
        if (platform::SameTextAscii(ident, "False"))
            return p.write(obj.Object(), false);
        return false;
    }
    const QMetaEnum e = p.enumerator();
    for (int i = 0; i < e.keyCount(); ++i)
        if (platform::SameTextAscii(e.key(i), ident)) {
            QVariant v(e.value(i));
            v.convert(p.metaType());
            return p.write(obj.Object(), v);
        }
    return false;
}

bool ReadStringList(const THostObject& obj, const std::string& name, QStringList& lines) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) ||
        p.metaType().id() != QMetaType::QStringList)
        return false;
    lines = p.read(obj.Object()).toStringList();
    return true;
}

bool WriteStringList(const THostObject& obj, const std::string& name, const QStringList& lines) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p) || !p.isWritable() ||
        p.metaType().id() != QMetaType::QStringList)
        return false;
    return p.write(obj.Object(), lines);
}

QObject* ReadObject(const THostObject& obj, const std::string& name) {
    QMetaProperty p;
    if (!obj.Object() || !MetaProperty(obj.Object(), name, p))
        return nullptr;
    const QVariant v = p.read(obj.Object());
    return v.value<QObject*>();
}

namespace {
bool gDesignMode = false;
}

bool DesignMode() {
    return gDesignMode;
}
void SetDesignMode(bool on) {
    gDesignMode = on;
}

} // namespace lx::host
