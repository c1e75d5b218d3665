#pragma once
// The localisation components: the shared base, the form component, the
// application component, and the application server that ties them together
// with the embedded language record.

#include "engine/uEngine.h"
#include "uDsgProc.h"
#include "uRepository.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lx {

/// Texts of this unit; the packs translate them.
inline constexpr const char* rsIOERROR = "I/O error. FileName - \"%s\".";
inline constexpr const char* rsXMLAppExists =
    "Component TXMLApp already exists. Application can not have more then one TXMLApp component!";
inline constexpr const char* rsCouldDeleteTmlFile = "Could not delete %s file";
inline constexpr const char* rsCannotUpdateFile = "Can not update file";
inline constexpr const char* rsXMLAppDataTooLong =
    "The language settings do not fit the embedded record: current pack, pack folder and unit "
    "file name together may hold at most 1010 bytes.";

/// An error of the components; carries its message text.
class ELXError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TXMLApp;
class TXMLBaseClass;
class TXMLForm;

// --- embedded language record ------------------------------------------------

struct TXMLAppData {
    bool XMLAppExists = false;
    bool ForcedUseXMLApp = false;
    std::string CurrentPack;
    std::string PackFolder;
    std::string UnitFileName;
};

/// The 1024-byte record. Throws ELXError (rsXMLAppDataTooLong) when the texts
/// do not fit, instead of writing a broken record.
TXMLAppDataBlock EncodeXMLAppData(const TXMLAppData& data);
/// Lengths of 0 or less read as empty texts; lengths past the end of the
/// record read as empty too; XMLAppExists is false when UnitFileName is empty.
TXMLAppData DecodeXMLAppData(const TXMLAppDataBlock& block);
/// Equal flags, and the texts equal ignoring ASCII case.
bool SameXMLAppData(const TXMLAppData& a, const TXMLAppData& b);

// --- the application server --------------------------------------------------

class TXMLAppServer {
public:
    TXMLAppServer();
    ~TXMLAppServer();

    TXMLApp* App() const { return FApp; }
    void SetApp(TXMLApp* app);
    bool AppRemoved = false;

    const std::vector<TXMLBaseClass*>& Components() const { return FComponents; }
    void Register(TXMLBaseClass* component);
    void Unregister(TXMLBaseClass* component);

    /// The cached pack of a file: read on first use (separator '.', reported
    /// as UTF8), re-read when the file is newer. Null for an empty name. A
    /// missing file gives an empty tree that stays cached. Names that differ
    /// only in '\' and '/', doubled separators, or letter case (when the file
    /// system has the file in another case) share one tree.
    TXMLTreeItem* GetXMLData(const std::string& fileName);
    /// The cache key of a file name.
    static std::string CacheKey(const std::string& fileName);
    void ApplyPackToAll(const std::string& fileName, bool forced);
    void UpdatePreviewedForms(bool forced);

    bool ReadDataFromResource(TXMLAppData& data);
    bool XMLAppExistsInProject(std::string& unitFileName);
    bool WriteResData(bool xmlAppExists, bool forcedUseXMLApp, bool forceWrite,
                      const std::string& unitFileName, const std::string& packFolder,
                      const std::string& currentPack);

    // Called by the design package only.
    void GetXMLAppPacksList(std::vector<std::string>& list);
    std::string GetXMLAppCurrentPackFileName(std::string& fileName);
    bool ChangeCurentLangPack(const std::string& name);
    void WriteDataToResource(bool forceWrite);
    void ClearDataInResource();

private:
    struct TXMLDataRec {
        std::string Key;
        std::unique_ptr<TXMLTreeItem> Data;
    };
    TXMLApp* FApp = nullptr;
    std::vector<TXMLBaseClass*> FComponents;
    std::vector<TXMLDataRec> FCache;
};

/// The program's one server.
TXMLAppServer& XMLAppServer();
/// The server, or null once it has been destroyed at program end.
TXMLAppServer* XMLAppServerIfAlive();

// --- components --------------------------------------------------------------

/// The base of every component of the library. A hidden widget, so that a
/// form designer can place it; it never shows.
class TLXComponent : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Active READ GetActive WRITE SetActive)
    Q_PROPERTY(QObject* About READ GetAbout)

public:
    using TLoadingEvent =
        std::function<void(TLXComponent* sender, const std::string& fileName, bool& cashing)>;
    using TLoadedEvent = std::function<void(TLXComponent* sender, bool succesfull)>;
    using TFindFileEvent = std::function<void(TLXComponent* sender, const std::string& fileName,
                                              std::string& foundFile, bool& handled)>;

    explicit TLXComponent(QWidget* parent = nullptr);
    ~TLXComponent() override;

    TLoadingEvent OnLoading;
    TLoadedEvent OnLoaded;
    TFindFileEvent OnFindFile;

    bool GetActive() const { return FActive; }
    virtual void SetActive(bool active) { FActive = active; }
    QObject* GetAbout() const { return nullptr; }

    /// Apply the pack this component should use.
    virtual void LoadLanguage() = 0;
    /// Apply an already loaded pack tree.
    virtual bool ApplyTree(TXMLTreeItem* tree) = 0;
    /// Events, pack lookup and ApplyTree. A pack that cannot be read is
    /// reported through the host UI service and gives false.
    bool LoadAndApply(const std::string& fileName);

    // State flags.
    bool IsLoading() const { return FLoading; }
    bool IsReading() const { return FReading; }
    bool IsDesigning() const { return FDesigning; }
    void SetDesigning(bool on) { FDesigning = on; }

    /// Runs Loaded now if it has not run yet. Loaded otherwise runs when the
    /// component's window is first shown (before it appears), or on the next
    /// turn of the event loop; application components of a window run first.
    void EnsureLoaded();
    /// Runs the pending Loaded of every component inside `window`.
    static void LoadedForWindow(QWidget* window);

protected:
    /// Called once, after the stored properties are set, with the loading
    /// flag cleared.
    virtual void Loaded() {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* e) override;

private:
    void WatchWindow();
    bool FActive = true;
    bool FLoading = true;
    bool FReading = false;
    bool FDesigning = false;
    QPointer<QWidget> FWatched;
};

/// Which packs a pack-driven component follows.
class TXMLBaseClass : public TLXComponent {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ GetFileNameQ WRITE SetFileNameQ)
    Q_PROPERTY(TXMLClientStatus Status READ GetStatus WRITE SetStatus)
    Q_PROPERTY(QObject* Items READ GetItems)

public:
    enum TXMLClientStatus { csWorkAlone = 0, csUseXMLApp = 1 };
    Q_ENUM(TXMLClientStatus)

    explicit TXMLBaseClass(QWidget* parent = nullptr);
    ~TXMLBaseClass() override;

    /// The working tree of the design editors (separator '.', UTF8).
    TXMLTreeItem& Data() { return *FData; }

    /// The stored name when the component works alone, else GetManFileName.
    std::string GetFileName() const;
    const std::string& StoredFileName() const { return FFileName; }
    virtual void SetFileName(const std::string& value);
    TXMLClientStatus GetStatus() const { return FStatus; }
    virtual void SetStatus(TXMLClientStatus value);
    QObject* GetItems() const { return FItems; }

    /// The pack file this component uses.
    std::string GetManFileName() const;
    bool IsRealyWorkAlone() const;
    bool IsHostedInIDE() const;
    void LoadLanguage() override;

    QString GetFileNameQ() const { return QString::fromStdString(GetFileName()); }
    void SetFileNameQ(const QString& v) { SetFileName(v.toStdString()); }

protected:
    void Loaded() override;

private:
    std::string SuppliedPackFileName() const;
    std::unique_ptr<TXMLTreeItem> FData;
    std::string FFileName;
    TXMLClientStatus FStatus = csUseXMLApp;
    QObject* FItems;
    bool FRegistered = false;
};

/// The form component: applies packs to the components of its form or frame.
class TXMLForm : public TXMLBaseClass {
    Q_OBJECT
    Q_PROPERTY(bool Preview READ GetPreview WRITE SetPreview)
    /// The pseudonyms, stored base64-encoded (form files cannot hold raw bytes).
    Q_PROPERTY(QByteArray Pseudonymes READ GetPseudonymesData WRITE SetPseudonymesData)

public:
    explicit TXMLForm(QWidget* parent = nullptr);

    TFormRepository& GetRepository() { return FRepository; }
    const TFormRepository& GetRepository() const { return FRepository; }
    QByteArray GetPseudonymesData() const;
    void SetPseudonymesData(const QByteArray& base64);

    bool ApplyTree(TXMLTreeItem* tree) override;
    void SetFileName(const std::string& value) override;
    void SetStatus(TXMLClientStatus value) override;

    bool GetPreview() const { return FPreview; }
    void SetPreview(bool value);
    void LoadPreview();
    void RestoreView();
    bool IsPreviewActivated() const { return FPreviewActive; }
    void RefreshPreview();
    const std::string& PreviewFileName() const { return FPreviewFileName; }

    /// Writes the form's texts into a pack (see the implementation for the rules).
    void SaveFormToFile(const std::string& fileName, const std::string& compareFileName);

    /// The form or frame this component localises.
    QObject* FormOwner() const;

protected:
    void Loaded() override;

private:
    TFormRepository FRepository;
    bool FPreview = true;
    bool FPreviewActive = false;
    std::string FPreviewFileName;
};

/// The published form component.
class TLXForm : public TXMLForm {
    Q_OBJECT
public:
    explicit TLXForm(QWidget* parent = nullptr) : TXMLForm(parent) {}
};

/// The resource-string component: translates the program's resource strings
/// (see uResourceString.h). It writes the pack's resourcestring items into the
/// localised copy <program>.dlng and makes it the active translation; the copy
/// is deleted when the component goes away. A component whose repository is
/// empty files each string in packs under its string-table identifier.
class TXMLResource : public TXMLBaseClass {
    Q_OBJECT
    Q_PROPERTY(QStringList SRRepository READ GetSRRepository WRITE SetSRRepository)

public:
    explicit TXMLResource(QWidget* parent = nullptr);
    ~TXMLResource() override;

    TSRRepository& Repository() { return FRepository; }
    /// The stored repository; a malformed list throws std::runtime_error (the
    /// form that holds the component then fails to load).
    QStringList GetSRRepository() const { return FRepository.WriteToList(); }
    void SetSRRepository(const QStringList& list) { FRepository.ReadFromList(list); }

    bool ApplyTree(TXMLTreeItem* tree) override;
    /// Writes the pack's resource strings as a translated table into
    /// `fileName` (atomically). Returns false, after the "Can not update file"
    /// message, when the file cannot be written. Throws ELXError for a
    /// resourcestring item whose name is not a number.
    bool WriteResourceStrings(const std::string& fileName, TXMLTreeItem* tree);
    /// <program>.dlng beside the program.
    static std::string CopyFileName();
    bool IsCopyActive() const { return FActive; }

private:
    void ReleaseCopy();
    TSRRepository FRepository;
    bool FActive = false;
};

/// The published resource-string component.
class TLXResource : public TXMLResource {
    Q_OBJECT
    Q_PROPERTY(QObject* Resources READ GetItems)
public:
    explicit TLXResource(QWidget* parent = nullptr) : TXMLResource(parent) {}
};

/// The application component: pack folder, packs, current pack.
class TXMLApp : public TLXComponent {
    Q_OBJECT
    Q_PROPERTY(bool ForcedUseXMLApp READ GetForcedUseXMLApp WRITE SetForcedUseXMLApp)
    Q_PROPERTY(QString PackFolder READ GetPackFolderQ WRITE SetPackFolderQ)
    Q_PROPERTY(QString CurrentPack READ GetCurrentPackQ WRITE SetCurrentPackQ)
    Q_PROPERTY(QObject* Languages READ GetLanguages)

public:
    explicit TXMLApp(QWidget* parent = nullptr);
    ~TXMLApp() override;

    bool GetForcedUseXMLApp() const { return FForcedUseXMLApp; }
    void SetForcedUseXMLApp(bool value);
    const std::string& GetPackFolder() const { return FPackFolder; }
    void SetPackFolder(const std::string& value);
    QObject* GetLanguages() const { return FLanguages; }

    std::string GetCompletePackFolder() const;
    virtual void RefreshPacks();
    void Refresh() { RefreshPacks(); }
    int GetPacksCount() const { return static_cast<int>(FPacks.size()); }
    std::string GetPack(int index) const;
    std::string GetPackPath(int index) const;
    const std::vector<std::string>& Packs() const { return FPacks; }
    /// The current pack's file name as the folder spells it; the first pack
    /// when the stored one is not there; empty without packs.
    std::string GetCurrentPack() const;
    /// Returns true when the current pack changed.
    virtual bool SetCurrentPack(const std::string& value);
    std::string GetCurrentPackPath() const;
    const std::string& CurrentPackName() const { return FCurrentPackName; }
    /// The caption of a pack in menus: its language, else its file name;
    /// empty when the file does not exist.
    static std::string PackDisplayName(const std::string& fileName);
    virtual void DetectLanguage() {}

    void LoadLanguage() override;
    bool ApplyTree(TXMLTreeItem* tree) override;

    QString GetPackFolderQ() const { return QString::fromStdString(FPackFolder); }
    void SetPackFolderQ(const QString& v) { SetPackFolder(v.toStdString()); }
    QString GetCurrentPackQ() const { return QString::fromStdString(GetCurrentPack()); }
    void SetCurrentPackQ(const QString& v) { SetCurrentPack(v.toStdString()); }

protected:
    void Loaded() override;
    void WriteEmbeddedData(bool forceWrite, bool fullPath);

private:
    bool FForcedUseXMLApp = false;
    std::string FPackFolder = "\\";
    std::vector<std::string> FPacks;
    std::string FCurrentPackName;
    QObject* FLanguages;
};

/// The application component with its languages menu and events.
class TXMLIDEApp : public TXMLApp {
    Q_OBJECT
    Q_PROPERTY(QMenu* LanguagesMenuItem READ GetLanguagesMenuItem WRITE SetLanguagesMenuItem)
    /// The languages menu by object name, for form files (resolved on Loaded).
    Q_PROPERTY(QString LanguagesMenuName READ GetLanguagesMenuName WRITE SetLanguagesMenuName)

public:
    using TAppLangChangedEvent =
        std::function<void(TXMLIDEApp* sender, unsigned languageID,
                           const std::string& languageFileName, const std::string& languageName)>;
    using TDetectIDELangEvent =
        std::function<void(TXMLIDEApp* sender, const std::vector<std::string>& availableLanguages,
                           int& langIndex, bool& handled)>;

    explicit TXMLIDEApp(QWidget* parent = nullptr);

    TAppLangChangedEvent OnAppLangChanged;
    TDetectIDELangEvent OnDetectIDELang;

    QMenu* GetLanguagesMenuItem() const { return FMenu; }
    void SetLanguagesMenuItem(QMenu* menu);
    QString GetLanguagesMenuName() const { return FMenuName; }
    void SetLanguagesMenuName(const QString& name) { FMenuName = name; }
    void BuildLanguagesMenu();

    void LoadLanguage() override;
    bool SetCurrentPack(const std::string& value) override;
    void DetectLanguage() override;

signals:
    /// The language changed (after OnAppLangChanged).
    void AppLangChanged(unsigned languageID, const QString& languageFileName,
                        const QString& languageName);

protected:
    void Loaded() override;

private:
    void FireAppLangChanged();
    void MenuItemClicked(QAction* item);
    QPointer<QMenu> FMenu;
    QString FMenuName;
};

/// The published application component.
class TLXApp : public TXMLIDEApp {
    Q_OBJECT
public:
    explicit TLXApp(QWidget* parent = nullptr) : TXMLIDEApp(parent) {}
};

/// A stored pack folder made usable: absolute folders (a drive letter, '/',
/// a network share) are kept; others are relative to the program's folder.
/// The result ends with '/'.
std::string ResolvePackFolder(const std::string& folder);
/// A pack file name with its folder resolved as above.
std::string ResolvePackFileName(const std::string& fileName);

} // namespace lx
