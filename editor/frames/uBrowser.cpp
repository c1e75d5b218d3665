#include "uBrowser.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lx::editor {

namespace {
constexpr int kPathRole = Qt::UserRole + 1;
}

TfrBrowser::TfrBrowser(QWidget* parent) : QWidget(parent), FTree(std::make_unique<TTree>()) {
    setObjectName(QStringLiteral("frBrowser"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FView = new QTreeWidget(this);
    FView->setObjectName(QStringLiteral("tvBrowse"));
    FView->setHeaderHidden(true);
    FView->setSortingEnabled(true);
    FView->sortByColumn(0, Qt::AscendingOrder);
    layout->addWidget(FView);
    connect(FView, &QTreeWidget::currentItemChanged, this, [this] { SelectionChanged(); });
}

void TfrBrowser::SetLangPack(ILangPack* packs) {
    if (packs == FPacks)
        return;
    FPacks = packs;
    Refresh();
}

int TfrBrowser::GetVarCount() const {
    return FTree->GetItemsCount(true);
}

// The union of the ticked packs: every path that some ticked pack has.
void TfrBrowser::Refresh() {
    const std::string selected = GetSelectedVar();
    FTree = std::make_unique<TTree>();
    if (FPacks)
        for (int i = 0; i < FPacks->GetPackCount(); ++i)
            if (FPacks->IsPackChecked(i))
                if (TXMLTreeItem* pack = FPacks->GetPack(i)) {
                    const char sep = pack->GetTreeSeparator();
                    pack->SetTreeSeparator('_');
                    pack->MergeInto(FTree.get());
                    pack->SetTreeSeparator(sep);
                }
    // The SYSTEM items describe the files, not texts to translate.
    if (TTree* system = FTree->FindChild("SYSTEM"))
        FTree->DeleteItem(FTree->IndexOfChild(system));
    BeginUpdate();
    FView->clear();
    struct TFrame {
        TTree* node;
        QTreeWidgetItem* item;
    };
    std::vector<TFrame> stack{{FTree.get(), nullptr}};
    while (!stack.empty()) {
        const TFrame f = stack.back();
        stack.pop_back();
        for (int i = 0; i < f.node->GetCount(); ++i) {
            TTree* child = f.node->GetItem_(i);
            auto* item = f.item ? new QTreeWidgetItem(f.item) : new QTreeWidgetItem(FView);
            item->setText(0, QString::fromStdString(child->GetName()));
            item->setData(0, kPathRole, QString::fromStdString(child->GetFullName()));
            stack.push_back({child, item});
        }
    }
    EndUpdate();
    if (!selected.empty())
        SelectVar(selected);
}

std::string TfrBrowser::GetSelectedVar() {
    const QTreeWidgetItem* item = FView->currentItem();
    return item ? item->data(0, kPathRole).toString().toStdString() : std::string();
}

void TfrBrowser::SelectVar(const std::string& path) {
    const TTree* node = FTree->GetItem_F(path);
    if (!node || path.empty())
        return;
    const QString full = QString::fromStdString(node->GetFullName());
    for (QTreeWidgetItemIterator it(FView); *it; ++it)
        if ((*it)->data(0, kPathRole).toString() == full) {
            FView->setCurrentItem(*it);
            return;
        }
}

bool TfrBrowser::VarExists(const std::string& path) {
    return !path.empty() && FTree->GetItem_F(path) != nullptr;
}

void TfrBrowser::ClearValues() {
    if (FVarMemo)
        FVarMemo->SetVarPath("");
}

int TfrBrowser::GetVarKind(const std::string& path) {
    const TTree* node = path.empty() ? nullptr : FTree->GetItem_F(path);
    if (!node)
        return 2;
    return node->GetCount() > 0 ? 0 : 1;
}

void TfrBrowser::SelectionChanged() {
    const std::string path = GetSelectedVar();
    // Updating only keeps the name field from hearing its own selection back.
    if (FNameEditor && !FUpdating)
        FNameEditor->SetVarName(path);
    if (FVarMemo)
        FVarMemo->SetVarPath(path);
    emit SelectedVarChanged();
}

} // namespace lx::editor
