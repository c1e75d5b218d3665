#pragma once
// The host component model over Qt: which objects are components, who owns
// them, their published properties, collections over Qt's item widgets, state
// flags and the Loaded notification.
//
// A component is a QObject with an objectName (names starting with "qt_" are
// Qt's internals, and layouts carry no texts: neither counts). Its owner is its
// nearest ancestor that is a form (a window that is not a popup) or a frame (a
// widget carrying its own localised form component, or of a class registered
// as a frame). Paths therefore do not depend on layout containers.

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace lx::host {

/// Property kinds, as the localisation components tell them apart.
enum class TTypeKind {
    LString,
    Char,
    WString,
    WChar,
    Integer,
    Int64,
    Float,
    Enumeration,
    Class,
    Other
};

const char* TypeKindName(TTypeKind kind); // "tkLString", ..., "tkUnknown"

class TCollection;

/// Anything with published properties: a component (any QObject), a virtual
/// collection, or an item of one. Cheap to copy.
class THostObject {
public:
    enum class TKind { None, Object, Collection, Item };

    THostObject() = default;
    THostObject(QObject* obj); // NOLINT: a QObject is a host object
    static THostObject OfCollection(std::shared_ptr<TCollection> c);
    static THostObject OfItem(std::shared_ptr<TCollection> c, int index);

    TKind Kind() const { return FKind; }
    bool IsNull() const { return FKind == TKind::None || (FKind == TKind::Object && !FObject); }
    QObject* Object() const { return FKind == TKind::Object ? FObject : nullptr; }
    const std::shared_ptr<TCollection>& Collection() const { return FCollection; }
    int Index() const { return FIndex; }
    std::string ClassName() const;
    bool operator==(const THostObject& o) const;

private:
    TKind FKind = TKind::None;
    QObject* FObject = nullptr;
    std::shared_ptr<TCollection> FCollection;
    int FIndex = -1;
};

/// A published property.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::Other;
    std::string TypeName; ///< declared type: "QString", "bool", "QStringList", "Qt::Alignment"...
};

/// An item text property of a collection type.
struct TItemProp {
    std::string Name;
    std::function<QString(QObject* owner, int index)> Get;
    std::function<void(QObject* owner, int index, const QString& value)> Set;
};

/// A kind of collection offered by the widgets of one class: a published
/// class-type property named `PropName` whose items carry text properties.
struct TCollectionType {
    const QMetaObject* OwnerClass = nullptr;
    std::string PropName;
    std::string TypeName;
    std::function<int(QObject* owner)> Count;
    std::vector<TItemProp> ItemProps;
};

/// A collection of one widget: owner, property name, items by index.
class TCollection {
public:
    TCollection(QObject* owner, const TCollectionType* type) : FOwner(owner), FType(type) {}
    QObject* Owner() const { return FOwner; }
    const TCollectionType& Type() const { return *FType; }
    int Count() const;
    /// Throws std::out_of_range for an index outside 0 .. Count()-1.
    THostObject Item(int index) const;

private:
    QObject* FOwner;
    const TCollectionType* FType;
};

/// Adds a collection type; the standard ones (tab pages, tool box pages, tree
/// and table header sections, list and combo box items) are always there.
void RegisterCollectionType(TCollectionType type);
/// Classes whose instances own their components like a form does.
void RegisterFrameClass(const QMetaObject* cls);

// --- components and owners -------------------------------------------------

bool IsComponent(const QObject* obj);
bool IsForm(const QObject* obj);
bool IsFrame(const QObject* obj);
/// The nearest ancestor that is a form or a frame, or null for the top.
QObject* ComponentOwner(const QObject* obj);
/// The components an owner owns, in child order (depth first through
/// containers that are not owners themselves).
std::vector<QObject*> OwnedComponents(const QObject* owner);
/// By-name lookup among owned components, ignoring ASCII case; first match.
QObject* FindComponent(const QObject* owner, const std::string& name);
std::string ComponentName(const QObject* obj);

/// Marks an object as a localised form component, so that a widget holding
/// one directly counts as a frame.
void MarkFormComponent(QObject* component);

// --- published properties --------------------------------------------------

/// Meta-object properties in declaration order (base classes first), then
/// the collections of the object's class.
std::vector<TPropInfo> PublishedProperties(const THostObject& obj);
bool FindProperty(const THostObject& obj, const std::string& name, TPropInfo& info);
/// The value of a class-type property that is a collection, or null.
std::shared_ptr<TCollection> CollectionProperty(const THostObject& obj, const std::string& name);
/// The name of the collection's property on its owner ("" when none).
std::string CollectionPropName(const TCollection& c);

/// Reading and writing by description. Reads return false when the property
/// is missing or of a kind that has no such value; writes return false when
/// the property is missing, read-only, or the value does not fit (an unknown
/// enumeration identifier, a number out of range).
bool ReadString(const THostObject& obj, const std::string& name, QString& value);
bool WriteString(const THostObject& obj, const std::string& name, const QString& value);
bool ReadOrdinal(const THostObject& obj, const std::string& name, long long& value);
bool WriteOrdinal(const THostObject& obj, const std::string& name, long long value);
bool ReadFloat(const THostObject& obj, const std::string& name, double& value);
bool WriteFloat(const THostObject& obj, const std::string& name, double value);
/// Enumerations (and booleans, "True"/"False") by identifier; writing matches
/// the identifier ignoring ASCII case.
bool ReadEnumIdent(const THostObject& obj, const std::string& name, std::string& ident);
bool WriteEnumIdent(const THostObject& obj, const std::string& name, const std::string& ident);
bool ReadStringList(const THostObject& obj, const std::string& name, QStringList& lines);
bool WriteStringList(const THostObject& obj, const std::string& name, const QStringList& lines);
QObject* ReadObject(const THostObject& obj, const std::string& name);

// --- state flags and Loaded -----------------------------------------------

/// Design mode belongs to the process: a form designer plug-in switches it on.
bool DesignMode();
void SetDesignMode(bool on);

} // namespace lx::host
