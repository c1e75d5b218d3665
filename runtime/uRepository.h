#pragma once
// The repositories of the components: the form repository (pseudonyms, pairs
// of a component's own name and the name under which its texts are filed in
// the pack) and the resource-string repository.

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lx {

struct TPseudonym {
    std::string ComponentName;
    std::string Pseudonym;
    bool operator==(const TPseudonym&) const = default;
};
using TPseudonymArr = std::vector<TPseudonym>;

/// Lookups ignore ASCII case and take the first matching pair. Update with an
/// empty pseudonym removes the pair; no component name appears twice.
class TFormRepository {
public:
    std::string GetPseudonym(const std::string& componentName) const;
    std::string GetComponentName(const std::string& pseudonym) const;
    void Update(const std::string& componentName, const std::string& pseudonym);
    void Delete(const std::string& componentName);
    void ChangeName(const std::string& oldName, const std::string& newName);
    /// Every element of the path that is a stored pseudonym becomes its component name.
    std::string MakeRealPath(const std::string& path, char separator) const;

    const TPseudonymArr& Pseudonymes() const { return FPseudonymes; }
    void SetPseudonymes(TPseudonymArr list) { FPseudonymes = std::move(list); }

    /// The stored form: a 32-bit little-endian count, then per pair the
    /// lengths and bytes of the component name and of the pseudonym.
    QByteArray Write() const;
    /// Replaces the list. Throws std::runtime_error for bytes that end inside
    /// a pair (the list is then left as it was).
    void Read(const QByteArray& bytes);

private:
    TPseudonymArr FPseudonymes;
};

} // namespace lx

// --- resource strings --------------------------------------------------------

namespace lx {

/// One resource string.
struct TSRRepositoryItemRec {
    std::int32_t ResID = 0; ///< string-table identifier; 0 when unknown
    std::int32_t ID = 0;    ///< stable number in packs (the name under resourcestring)
    std::string Value;      ///< default text (UTF-8)
    std::string UnitName;   ///< declaring file without folder; empty while unbound
    std::string Name;       ///< declaring constant; empty while unbound
    bool Flag = false;
    bool operator==(const TSRRepositoryItemRec&) const = default;
};
using TSRRepositoryItems = std::vector<TSRRepositoryItemRec>;

/// What a source scan reports for one declaration.
struct TVarNameRec {
    std::string UnitName;
    std::string Name;
    std::string Value;
};

/// The strings of one source unit.
class TSRRepositoryModule {
public:
    explicit TSRRepositoryModule(std::string name) : Name(std::move(name)) {}
    std::string Name;
    TSRRepositoryItems Items;
    int GetCount() const { return static_cast<int>(Items.size()); }
    TSRRepositoryItemRec GetItem(int index) const {
        return Items.at(static_cast<std::size_t>(index));
    }
    void Exchange(int i, int j) {
        std::swap(Items.at(static_cast<std::size_t>(i)), Items.at(static_cast<std::size_t>(j)));
    }
    void Assign(const TSRRepositoryModule& other) {
        Name = other.Name;
        Items = other.Items;
    }
};

class TSRRepository;

class TSRRepositoryModules {
public:
    explicit TSRRepositoryModules(TSRRepository* owner) : FOwner(owner) {}
    /// By unit file name: both sides without folder, upper-cased, ".PAS" added
    /// when they have no '.'; the last match wins.
    TSRRepositoryModule* GetItem(const std::string& name) const;
    TSRRepositoryModule* Add(const std::string& name);
    int Count() const { return static_cast<int>(FModules.size()); }
    TSRRepositoryModule* At(int index) const {
        return FModules.at(static_cast<std::size_t>(index)).get();
    }
    void Clear() { FModules.clear(); }
    TSRRepository* Owner() const { return FOwner; }

private:
    TSRRepository* FOwner;
    std::vector<std::unique_ptr<TSRRepositoryModule>> FModules;
};

/// What the resource strings editor hears from LoadResources and AddItem.
class ILXResourcesEditor {
public:
    virtual ~ILXResourcesEditor() = default;
    virtual void NewModule(const std::string& unitName) = 0;
    virtual void UpdateModuleInfo(const std::vector<std::string>& unitNames) = 0;
    virtual void OnComplete() = 0;
};

/// The resource strings of a project: identifiers, stable pack numbers,
/// default texts, declaring units and constants.
///
/// LoadResources leaves these modules besides one per declaring unit:
/// "$Project" holds the strings declared in the project's main file (the
/// file of the program's entry point, given with SetProjectFileName),
/// "$Share" the strings the map names a unit for that is not among the
/// scanned sources (texts compiled in from libraries), and the module with
/// the empty name the strings of the program that no declaration binds.
class TSRRepository {
public:
    explicit TSRRepository(ILXResourcesEditor* editor = nullptr) : Modules(this), FEditor(editor) {}

    TSRRepositoryItems Items;
    TSRRepositoryModules Modules;
    std::string DrcFileName;

    void AssignEditor(ILXResourcesEditor* editor) { FEditor = editor; }
    ILXResourcesEditor* Editor() const { return FEditor; }

    /// Records one declaration found in the sources; `added` is false when it
    /// was known already.
    bool AddItem(const TVarNameRec& rec, bool& added);
    /// The next stable number; the counter lives in the project options file
    /// (key xmlAutoIncValue of section Lexivane) and never falls below the
    /// largest number in use.
    int GetNewID();
    /// The first record with that number, or a record whose ResID is 0.
    TSRRepositoryItemRec FindByID(int id) const;

    /// Fills Items and Modules from a built program: its string table, the map
    /// beside it, and the declarations in `sources`. Existing records keep their
    /// numbers (matched by unit and constant, else by text). Throws
    /// std::runtime_error when the program holds no string table.
    void LoadResources(const std::string& exeFileName, const std::string& drcFileName,
                       const std::vector<std::string>& sources = {});
    void SetProjectFileName(const std::string& f) { FProjectFileName = f; }

    /// The stored text format: count|ResID|ID|Value|UnitName|Name|Flag|...
    /// with '|' doubled inside texts.
    std::string WriteToText() const;
    /// Throws std::runtime_error for a numeric field that is not a number.
    void ReadFromText(const std::string& text);
    /// The text split into lines, as a form file stores it.
    QStringList WriteToList() const;
    void ReadFromList(const QStringList& list);

private:
    ILXResourcesEditor* FEditor;
    std::string FProjectFileName;
};

/// Declarations of resource strings in a source text: LX_RESOURCESTRING(name, "text").
std::vector<TVarNameRec> ScanResourceStrings(const std::string& unitName,
                                             const std::string& source);

/// The .drc map: "#define <unit base>_<name> <identifier> /* <unit file> */" lines.
struct TDrcEntry {
    std::uint32_t ResID;
    std::string UnitName;
    std::string Name;
};
std::vector<TDrcEntry> ReadDrcMap(const std::string& text);
std::string WriteDrcMap(const std::vector<TDrcEntry>& entries);

} // namespace lx
