// TLXComponent and TXMLBaseClass: loading, pack lookup, registration.
#include "uLexivane.h"

#include "host/uHost.h"
#include "host/uHostUI.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace lx {

// --- pack folders ------------------------------------------------------------

std::string ResolvePackFolder(const std::string& folder) {
    std::string f = platform::ToNativeSeparators(folder);
    if (platform::IsAbsolutePath(folder) || platform::IsNetworkPath(folder))
        return platform::IncludeTrailingSlash(f);
    std::string exe = DesignServices().GetProjectExeFileName();
    if (exe.rfind("\\\\?\\", 0) == 0)
        exe = exe.substr(4);
    exe = platform::ToNativeSeparators(exe);
    const auto slash = exe.find_last_of('/');
    const std::string base = slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
    std::string rel = f; // "\lang\" arrives here as "/lang/"
    while (!rel.empty() && rel[0] == '/')
        rel.erase(0, 1);
    const std::filesystem::path p = std::filesystem::path(base) / rel;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(p, ec).lexically_normal();
    return platform::IncludeTrailingSlash(full.string());
}

std::string ResolvePackFileName(const std::string& fileName) {
    if (fileName.empty())
        return {};
    const std::string f = platform::ToNativeSeparators(fileName);
    const auto slash = f.find_last_of('/');
    if (slash == std::string::npos)
        return ResolvePackFolder("") + f;
    return ResolvePackFolder(fileName.substr(0, slash + 1)) + f.substr(slash + 1);
}

// --- TLXComponent ------------------------------------------------------------

TLXComponent::TLXComponent(QWidget* parent) : QWidget(parent) {
    FDesigning = host::DesignMode();
    setVisible(false);
    setAttribute(Qt::WA_DontShowOnScreen);
    WatchWindow();
    // Forms that are never shown still get Loaded, on the next event loop turn.
    QTimer::singleShot(0, this, [this] {
        if (FLoading)
            LoadedForWindow(window());
    });
}

TLXComponent::~TLXComponent() = default;

void TLXComponent::WatchWindow() {
    QWidget* w = parentWidget() ? parentWidget()->window() : nullptr;
    if (w == FWatched)
        return;
    if (FWatched)
        FWatched->removeEventFilter(this);
    FWatched = w;
    if (w)
        w->installEventFilter(this);
}

bool TLXComponent::event(QEvent* e) {
    if (e->type() == QEvent::ParentChange)
        WatchWindow();
    return QWidget::event(e);
}

bool TLXComponent::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FWatched && event->type() == QEvent::Show && FLoading)
        LoadedForWindow(FWatched);
    return QWidget::eventFilter(watched, event);
}

void TLXComponent::EnsureLoaded() {
    if (!FLoading)
        return;
    FLoading = false;
    Loaded();
}

// Application components first: the others ask them for the pack.
void TLXComponent::LoadedForWindow(QWidget* window) {
    if (!window)
        return;
    QList<TLXComponent*> all = window->findChildren<TLXComponent*>();
    if (auto* self = qobject_cast<TLXComponent*>(window))
        all.prepend(self);
    std::stable_partition(all.begin(), all.end(),
                          [](TLXComponent* c) { return qobject_cast<TXMLApp*>(c) != nullptr; });
    QList<QPointer<TLXComponent>> guarded;
    for (TLXComponent* c : all)
        guarded.append(c);
    for (const auto& c : guarded)
        if (c)
            c->EnsureLoaded();
}

bool TLXComponent::LoadAndApply(const std::string& fileName) {
    std::string name = fileName;
    if (OnFindFile) {
        std::string found = name;
        bool handled = true;
        OnFindFile(this, name, found, handled);
        if (handled)
            name = found;
    }
    bool cashing = true;
    if (OnLoading)
        OnLoading(this, name, cashing);
    bool result = false;
    try {
        const std::string key = TXMLAppServer::CacheKey(name);
        // A missing pack gives false; the form keeps the texts it has.
        if (!name.empty() && platform::FileExists(key)) {
            if (cashing) {
                if (TXMLTreeItem* tree = XMLAppServer().GetXMLData(name))
                    result = ApplyTree(tree);
            } else {
                TXMLTreeItem tree;
                tree.OpenFromFile(key);
                tree.SetTreeSeparator('.');
                tree.SetEncoding(TPackEncoding::UTF8);
                result = ApplyTree(&tree);
            }
        }
    } catch (const EXMLParseError& e) {
        host::HostUI().ShowError(QString::fromStdString(name + ": " + e.what()));
        result = false;
    } catch (const std::exception& e) {
        host::HostUI().ShowError(QString::fromStdString(e.what()));
        result = false;
    }
    if (OnLoaded)
        OnLoaded(this, result);
    return result;
}

// --- TXMLBaseClass -----------------------------------------------------------

TXMLBaseClass::TXMLBaseClass(QWidget* parent)
    : TLXComponent(parent), FData(std::make_unique<TXMLTreeItem>()), FItems(new QObject(this)) {
    FItems->setObjectName(QString());
    FData->SetTreeSeparator('.');
    FData->SetEncoding(TPackEncoding::UTF8);
    if (!IsHostedInIDE()) {
        XMLAppServer().Register(this);
        FRegistered = true;
    }
}

TXMLBaseClass::~TXMLBaseClass() {
    if (FRegistered)
        if (TXMLAppServer* s = XMLAppServerIfAlive())
            s->Unregister(this);
}

bool TXMLBaseClass::IsHostedInIDE() const {
    return DesignServices().DesignState() && !IsDesigning();
}

void TXMLBaseClass::SetFileName(const std::string& value) {
    FFileName = value;
}

void TXMLBaseClass::SetStatus(TXMLClientStatus value) {
    FStatus = value;
}

// The pack an application component or the embedded record supplies for
// this component ("" when neither does); it reads the record once.
std::string TXMLBaseClass::SuppliedPackFileName() const {
    TXMLAppServer& server = XMLAppServer();
    if (TXMLApp* app = server.App())
        return app->GetForcedUseXMLApp() || FStatus == csUseXMLApp ? app->GetCurrentPackPath()
                                                                   : std::string();
    TXMLAppData d;
    if (server.ReadDataFromResource(d) && (d.ForcedUseXMLApp || FStatus == csUseXMLApp))
        return d.CurrentPack;
    return {};
}

std::string TXMLBaseClass::GetManFileName() const {
    if (IsHostedInIDE() && !FFileName.empty())
        return ResolvePackFileName(FFileName);
    const std::string supplied = SuppliedPackFileName();
    if (!supplied.empty())
        return supplied;
    return FFileName.empty() ? std::string() : ResolvePackFileName(FFileName);
}

bool TXMLBaseClass::IsRealyWorkAlone() const {
    return (IsHostedInIDE() && !FFileName.empty()) || SuppliedPackFileName().empty();
}

std::string TXMLBaseClass::GetFileName() const {
    if (IsHostedInIDE() && !FFileName.empty())
        return FFileName;
    const std::string supplied = SuppliedPackFileName();
    return supplied.empty() ? FFileName : supplied;
}

void TXMLBaseClass::LoadLanguage() {
    LoadAndApply(GetManFileName());
}

void TXMLBaseClass::Loaded() {
    if (GetActive() && !IsDesigning())
        LoadLanguage();
}

} // namespace lx
