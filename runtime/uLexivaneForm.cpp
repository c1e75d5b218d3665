// TXMLForm: applying packs to a form, writing a form into a pack, preview.
#include "uLexivane.h"

#include "ClassRTTI.h"
#include "host/uHost.h"
#include "host/uHostUI.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

#include <QDockWidget>
#include <QToolBar>

namespace lx {

using host::THostObject;

TXMLForm::TXMLForm(QWidget* parent) : TXMLBaseClass(parent) {
    host::MarkFormComponent(this);
}

QByteArray TXMLForm::GetPseudonymesData() const {
    return FRepository.Write().toBase64();
}

void TXMLForm::SetPseudonymesData(const QByteArray& base64) {
    const auto decoded =
        QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return; // not a stored list: keep the one we have
    try {
        FRepository.Read(*decoded);
    } catch (const std::exception&) {
        // A damaged list leaves the pseudonyms as they were.
    }
}

QObject* TXMLForm::FormOwner() const {
    return host::ComponentOwner(this);
}

bool TXMLForm::ApplyTree(TXMLTreeItem* tree) {
    QObject* owner = FormOwner();
    if (!owner || !tree)
        return true;
    const THostObject root(owner);
    try {
        tree->ForEach([&](TTree* node) {
            if (node->GetCount() > 0)
                return;
            const std::string full = node->GetFullName();
            const auto dot = full.rfind('.');
            const std::string objPath = dot == std::string::npos ? full : full.substr(0, dot);
            const std::string prop = dot == std::string::npos ? full : full.substr(dot + 1);
            const THostObject obj = FindObjectByPath(objPath, root, true, &FRepository);
            if (!obj.IsNull())
                SetPropText(static_cast<TXMLTreeItem*>(node)->GetText(), obj, prop);
        });
    } catch (const std::exception&) {
        QString text = QString::fromLatin1(rsIOERROR);
        text.replace(QStringLiteral("%s"), QString::fromStdString(tree->GetFileName()));
        host::HostUI().ShowMessage(text);
    }
    return true;
}

void TXMLForm::SetFileName(const std::string& value) {
    if (platform::SameTextAscii(value, StoredFileName())) {
        TXMLBaseClass::SetFileName(value);
        return;
    }
    const bool refresh = GetPreview() && !IsLoading();
    if (refresh)
        RestoreView();
    TXMLBaseClass::SetFileName(value);
    if (refresh)
        LoadPreview();
}

void TXMLForm::SetStatus(TXMLClientStatus value) {
    if (value == GetStatus())
        return;
    TXMLBaseClass::SetStatus(value);
    RefreshPreview();
}

void TXMLForm::SetPreview(bool value) {
    if (value == FPreview)
        return;
    if (!IsLoading()) {
        if (value)
            LoadPreview();
        else
            RestoreView();
    }
    FPreview = value;
}

void TXMLForm::LoadPreview() {
    if (!IsDesigning() || FPreviewActive)
        return;
    FPreviewActive = true;
    SaveFormToFile(DesignServices().GetBackUpFileName(), "");
    FPreviewFileName = GetManFileName();
    LoadAndApply(FPreviewFileName);
}

void TXMLForm::RestoreView() {
    if (!IsDesigning() || !FPreviewActive)
        return;
    const std::string backup = DesignServices().GetBackUpFileName();
    if (!FPreviewFileName.empty())
        SaveFormToFile(FPreviewFileName, backup);
    LoadAndApply(backup);
    FPreviewActive = false;
}

void TXMLForm::RefreshPreview() {
    if (!IsDesigning() || !GetPreview() || IsLoading())
        return;
    RestoreView();
    LoadPreview();
}

void TXMLForm::Loaded() {
    TXMLBaseClass::Loaded();
    if (GetPreview())
        LoadPreview();
}

namespace {

struct TFormWriter {
    TXMLTreeItem* Pack;
    TXMLTreeItem* Compare;
    std::vector<std::string> Allowed;
    const TFormRepository* Repository;

    bool IsAllowed(const std::string& name) const {
        if (Allowed.empty())
            return true;
        for (const auto& a : Allowed)
            if (platform::SameTextAscii(a, name))
                return true;
        return false;
    }

    void WriteProps(const THostObject& obj) {
        const std::string objPath = GetComponentFullName(obj, Repository);
        const auto* widget = qobject_cast<const QWidget*>(obj.Object());
        for (const auto& prop : host::PublishedProperties(obj)) {
            if (!IsAllowed(prop.Name))
                continue;
            // A window title means nothing on a widget that is not a window,
            // except tool bars and dock widgets, which show theirs.
            if (widget && !widget->isWindow() && prop.Name == "windowTitle" &&
                !qobject_cast<const QToolBar*>(widget) && !qobject_cast<const QDockWidget*>(widget))
                continue;
            std::u16string text;
            if (!GetPropText(obj, prop.Name, text))
                continue;
            const std::string path = objPath + "." + prop.Name;
            // Texts the developer did not change while previewing stay out of
            // a pack that does not have them.
            if (Compare && !Pack->GetItem_F(path) && Compare->GetItemValue_(path) == text)
                continue;
            // An empty text gets no new item: it would clear what a user
            // typed (a line edit's text) at every change of language, and it
            // leaves translators nothing to translate. Items already in the
            // pack are kept up to date.
            if (text.empty() && !Pack->GetItem_F(path))
                continue;
            auto* item = static_cast<TXMLTreeItem*>(Pack->AddGlobalItem(path));
            if (item)
                item->SetText(text);
        }
    }

    void WriteObject(const THostObject& obj) {
        WriteProps(obj);
        for (const auto& prop : host::PublishedProperties(obj)) {
            if (prop.Kind != host::TTypeKind::Class)
                continue;
            if (auto coll = host::CollectionProperty(obj, prop.Name))
                for (int i = 0; i < coll->Count(); ++i)
                    WriteProps(coll->Item(i));
        }
    }

    void Walk(QObject* owner) {
        WriteObject(THostObject(owner));
        for (QObject* c : host::OwnedComponents(owner)) {
            if (qobject_cast<TLXComponent*>(c))
                continue;
            const bool frame = host::IsFrame(c);
            bool ownForm = false;
            if (frame)
                for (QObject* k : c->children())
                    if (qobject_cast<TXMLForm*>(k))
                        ownForm = true;
            if (ownForm)
                continue;
            if (frame)
                Walk(c);
            else
                WriteObject(THostObject(c));
        }
    }
};

} // namespace

void TXMLForm::SaveFormToFile(const std::string& fileName, const std::string& compareFileName) {
    QObject* top = FormOwner();
    if (!top)
        return;
    while (QObject* up = host::ComponentOwner(top))
        top = up;

    // Packs are read as a fresh tree reads them (separator '_', so the file's
    // own encoding is found) and then addressed with '.'. A pack that does not
    // exist yet is written in UTF8; an existing one keeps its encoding.
    TXMLTreeItem pack(fileName);
    if (platform::FileExists(fileName))
        pack.OpenFromFile(fileName);
    else
        pack.SetEncoding(TPackEncoding::UTF8);
    pack.SetTreeSeparator('.');
    std::unique_ptr<TXMLTreeItem> compare;
    if (!compareFileName.empty()) {
        compare = std::make_unique<TXMLTreeItem>(compareFileName);
        if (platform::FileExists(compareFileName))
            compare->OpenFromFile(compareFileName);
        compare->SetTreeSeparator('.');
    }
    const std::string topName = host::ComponentName(top);
    if (!compare)
        if (TTree* mine = pack.FindChild(topName))
            mine->Clear();

    TFormWriter w{&pack, compare.get(), {}, &FRepository};
    DesignServices().UseAllowedPropNamesList(w.Allowed);
    w.Walk(top);
    if (!pack.GetFileName().empty())
        pack.Save();
}

} // namespace lx
