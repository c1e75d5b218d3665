#include "uVarMemo.h"

#include "editor/uPathSeparator.h"

#include "editor/uVars.h"
#include "engine/uEngine.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uResourceString.h"
#include "uTextEditor.h"

#include <QCheckBox>
#include <QScrollBar>

namespace lx::editor {

LX_RESOURCESTRING(sMemoDeleteTextQ,
                  "Вы действительно хотите удалить текст переменную [%s] из языкового пакета [%s]");
LX_RESOURCESTRING(
    sMemoTextWouldBeLost,
    "Переменная [%s] языкового пакета [%s] содержит текст. Добавление переменной [%s] "
    "сделало бы её папкой, и этот текст был бы потерян.");

namespace {

constexpr char kDisableDeletionKey[] = "fMain.miDisableVarTextDeletion.Checked";

TXMLTreeItem* FindItem(TXMLTreeItem* pack, const std::string& path) {
    if (!pack || path.empty())
        return nullptr;
    const TUnderscorePaths sep(pack);
    return static_cast<TXMLTreeItem*>(pack->GetItem_F(path));
}

// A variable of the pack above `path` whose text adding `path` would drop
// (a folder's text is not kept in the pack file).
TXMLTreeItem* TextHoldingAncestor(TXMLTreeItem* pack, const std::string& path) {
    const TUnderscorePaths sep(pack);
    for (auto at = path.find('_'); at != std::string::npos; at = path.find('_', at + 1)) {
        auto* item = static_cast<TXMLTreeItem*>(pack->GetItem_F(path.substr(0, at)));
        if (!item)
            return nullptr;
        if (item->GetCount() == 0 && !item->GetText().empty())
            return item;
    }
    return nullptr;
}

QFont ToQFont(const TPackFont& f) {
    QFont font(QString::fromStdString(f.Name));
    if (f.Size > 0)
        font.setPointSize(f.Size);
    return font;
}

} // namespace

QString DisplayText(const std::u16string& stored) {
    QString text = QString::fromStdU16String(stored);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::u16string StoredText(const QString& typed) {
    QString text = typed;
    text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return text.toStdU16String();
}

TfrVarMemo::TfrVarMemo(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("frVarMemo"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    FContents = new QWidget(this);
    FContents->setObjectName(QStringLiteral("pnlEditors"));
    setWidget(FContents);
    hide(); // nothing to show before a variable is chosen
}

void TfrVarMemo::SetLangPack(ILangPack* packs) {
    if (packs == FPacks)
        return;
    FPacks = packs;
    Refresh();
}

void TfrVarMemo::SetSelectSeveral(TSelectSeveral select) {
    FSelectSeveral = std::move(select);
    for (TfrTextEditor* e : FEditors)
        if (e)
            e->SetMarkShown(static_cast<bool>(FSelectSeveral));
}

void TfrVarMemo::SetVarPath(const std::string& path) {
    FPath = path;
    Refresh();
}

TfrTextEditor* TfrVarMemo::Editor(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= FEditors.size())
        return nullptr;
    return FEditors[static_cast<std::size_t>(index)];
}

std::string TfrVarMemo::PackName(int index) {
    TXMLTreeItem* pack = FPacks ? FPacks->GetPack(index) : nullptr;
    return pack ? ExtractFilePackName_(pack->GetFileName()) : std::string();
}

void TfrVarMemo::UpdateFonts() {
    if (!FPacks)
        return;
    for (std::size_t k = 0; k < FEditors.size(); ++k)
        if (FEditors[k] && static_cast<int>(k) < FPacks->GetPackCount())
            FEditors[k]->SetTextFont(ToQFont(FPacks->GetPackFont(static_cast<int>(k))));
}

TfrTextEditor* TfrVarMemo::EnsureEditor(int index) {
    if (static_cast<std::size_t>(index) >= FEditors.size())
        FEditors.resize(static_cast<std::size_t>(index) + 1, nullptr);
    TfrTextEditor*& editor = FEditors[static_cast<std::size_t>(index)];
    if (!editor) {
        editor = new TfrTextEditor(FContents);
        editor->setObjectName(QStringLiteral("frMain%1").arg(index));
        editor->OnTextChange = [this](int i, const QString& text) { TextTyped(i, text); };
        editor->OnCheck = [this](int i, bool& checked, const QString&) {
            CheckChanged(i, checked);
        };
        editor->OnMarkClick = [this](int i) { AskReviewLanguages(i); };
    }
    return editor;
}

void TfrVarMemo::Refresh() {
    if (!FPacks || !FBrowser || FPacks->GetPackCount() == 0 || FBrowser->GetVarKind(FPath) != 1) {
        hide();
        return;
    }
    const int count = FPacks->GetPackCount();
    for (std::size_t k = 0; k < FEditors.size(); ++k)
        if (FEditors[k] && (static_cast<int>(k) >= count || !FPacks->IsPackChecked(int(k))))
            FEditors[k]->hide();
    const bool keepTexts = ReadBoolSetting("settings", kDisableDeletionKey, true);
    for (int i = 0; i < count; ++i) {
        if (!FPacks->IsPackChecked(i))
            continue;
        TXMLTreeItem* pack = FPacks->GetPack(i);
        if (!pack)
            continue;
        TfrTextEditor* editor = EnsureEditor(i);
        const std::string name = ExtractFilePackName_(pack->GetFileName());
        const bool needsReview = FBrowser->GetNeedToChange(FPath, name);
        const TXMLTreeItem* item = FindItem(pack, FPath);
        const bool exists = item != nullptr;
        const QString text = exists ? DisplayText(item->GetText()) : QString();
        editor->SetExpanded(exists);
        editor->Setup(i, !(exists && keepTexts), QString::fromStdString(name),
                      ToQFont(FPacks->GetPackFont(i)), text, needsReview, exists);
        editor->SetMarkShown(static_cast<bool>(FSelectSeveral));
        editor->show();
    }
    Arrange();
    show();
}

void TfrVarMemo::SetView(int index, bool expanded) {
    TfrTextEditor* editor = Editor(index);
    if (!editor)
        return;
    editor->SetExpanded(expanded);
    editor->resize(viewport()->width(), editor->height());
    editor->SetReviewFrame(expanded && FBrowser &&
                           FBrowser->GetNeedToChange(FPath, PackName(index)));
}

// The shown editors of ticked packs, in pack order, one under the other.
void TfrVarMemo::Arrange() {
    const int width = viewport()->width();
    int y = 0;
    for (std::size_t k = 0; k < FEditors.size(); ++k) {
        TfrTextEditor* editor = FEditors[k];
        if (!editor || editor->isHidden() || !FPacks ||
            static_cast<int>(k) >= FPacks->GetPackCount() ||
            !FPacks->IsPackChecked(static_cast<int>(k)))
            continue;
        editor->setGeometry(0, y, width, editor->height());
        y += editor->height();
    }
    FContents->resize(width, y);
    verticalScrollBar()->setSingleStep(kEditorCollapsedHeight);
}

void TfrVarMemo::resizeEvent(QResizeEvent* e) {
    QScrollArea::resizeEvent(e);
    Arrange();
}

// Every change is stored at once; typing in a language ends its review.
void TfrVarMemo::TextTyped(int index, const QString& text) {
    if (!FPacks || FPath.empty() || !FBrowser)
        return;
    TXMLTreeItem* item = FindItem(FPacks->GetPack(index), FPath);
    if (!item || item->GetCount() > 0)
        return;
    item->SetText(StoredText(text));
    FBrowser->ClearNeedToChange(PackName(index), FPath);
    if (TfrTextEditor* editor = Editor(index))
        editor->SetReviewFrame(false);
}

void TfrVarMemo::CheckChanged(int index, bool& checked) {
    TXMLTreeItem* pack = FPacks ? FPacks->GetPack(index) : nullptr;
    if (!pack || FPath.empty()) {
        checked = !checked; // nothing to add to or take from
        return;
    }
    const std::string name = PackName(index);
    if (!checked) {
        if (TXMLTreeItem* item = FindItem(pack, FPath)) {
            const auto answer = host::HostUI().Ask(host::TMsgKind::Confirmation,
                                                   FillText(sMemoDeleteTextQ(), {FPath, name}),
                                                   host::TMsgButtons::YesNo);
            if (answer == host::TMsgResult::Yes) {
                item->Delete();
                delete item;
            } else {
                checked = true;
            }
        }
    } else if (TXMLTreeItem* holder = TextHoldingAncestor(pack, FPath)) {
        const TUnderscorePaths sep(pack);
        host::HostUI().ShowError(
            FillText(sMemoTextWouldBeLost(), {holder->GetFullName(), name, FPath}));
        checked = false;
    } else {
        const TUnderscorePaths sep(pack);
        pack->AddGlobalItem(FPath);
        if (TfrTextEditor* editor = Editor(index))
            editor->ClearText();
    }
    SetView(index, checked);
    Arrange();
}

void TfrVarMemo::FocusPack(int index) {
    TfrTextEditor* editor = Editor(index);
    if (isHidden() || !editor || editor->isHidden())
        return;
    ensureWidgetVisible(editor, 0, 0);
    if (editor->Check()->isChecked())
        editor->FocusText();
    else
        editor->ClickCheck();
}

void TfrVarMemo::AskReviewLanguages(int index) {
    if (!FPacks || !FBrowser || !FSelectSeveral || FPath.empty())
        return;
    if (editor::AskReviewLanguages(*FPacks, *FBrowser, index, FPath, FSelectSeveral))
        Refresh();
}

} // namespace lx::editor
