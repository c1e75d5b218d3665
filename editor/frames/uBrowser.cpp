#include "uBrowser.h"

#include "editor/uPathSeparator.h"

#include "editor/uCNWizard.h"
#include "editor/uGetSelection.h"
#include "editor/uSynchronize.h"
#include "editor/uVars.h"
#include "engine/uIni.h"
#include "platform/Text.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uResourceString.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace lx::editor {

LX_RESOURCESTRING(sShowAll, "Показывать все");
LX_RESOURCESTRING(sRenameVar, "Переименовать переменную");
LX_RESOURCESTRING(sDeleteVar, "Удалить переменную");
LX_RESOURCESTRING(sBadItemName, "Bad item name.");
LX_RESOURCESTRING(sDeleteVarQ, "   Вы действительно хотите удалить переменную [%s]?");
LX_RESOURCESTRING(sChooseFolderCaption, "Выбор папки");
LX_RESOURCESTRING(sChooseFolderPrompt,
                  "   Переменная [%s] содержала текст. В связи с добавлением элемента эта "
                  "переменная стала папкой и не может больше содержать этот текст.\r\n   Введите "
                  "имя переменной в которую бы Вы хотели перенести текст и нажмите кнопку <Ok>.");
LX_RESOURCESTRING(sFolderTargetRefused,
                  "   Имя [%s] не подходит: оно недопустимо, называет папку, эту же переменную "
                  "или переменную, которая уже содержит текст. Введите другое имя.");
LX_RESOURCESTRING(sMoveQ, "Была активирована функция перемещения переменной. Вы действительно "
                          "хотите переместить переменную %s в %s");
LX_RESOURCESTRING(sMoveNameClash,
                  "   В папке [%s] уже есть элемент с именем [%s]. Перемещение отменено.");
LX_RESOURCESTRING(sMoveIntoText, "   Переменная [%s] содержит текст и не может стать папкой. "
                                 "Перемещение отменено.");
LX_RESOURCESTRING(sSyncCaption, "Выбор языка для синхронизации");
LX_RESOURCESTRING(sSyncPrompt, "   Из выпадающего списка выберите язык-образец, и пометте "
                               "галочками языки-получатели данных");
LX_RESOURCESTRING(sCannotWriteFlags, "   Не удалось записать пометку в файл [%s].");

namespace {

constexpr int kItemRole = Qt::UserRole + 1;
constexpr char kDragFormat[] = "application/x-glotrix-variable";

// The tree view: drags carry the dragged variable's path; the frame decides
// what a drop does (the view itself never moves a row).
class TBrowserView : public QTreeWidget {
public:
    TBrowserView(TfrBrowser* frame, QWidget* parent) : QTreeWidget(parent), FFrame(frame) {}

protected:
    void startDrag(Qt::DropActions) override {
        QTreeWidgetItem* node = currentItem();
        if (!node)
            return;
        FFrame->DragStarted(node);
        if (!FFrame->Dragging())
            return;
        auto* mime = new QMimeData;

        const auto* item =
            reinterpret_cast<const TTree*>(node->data(0, kItemRole).value<quintptr>());
        if (!item)
            return;
        mime->setData(kDragFormat, QByteArray::fromStdString(item->GetFullName()));
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::MoveAction);
        FFrame->DragEnded();
    }
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (!e->mimeData()->hasFormat(kDragFormat)) {
            e->ignore();
            return;
        }
        if (!FFrame->Dragging())
            FFrame->DragStarted(FFrame->NodeOf(e->mimeData()->data(kDragFormat).toStdString()));
        e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        if (!e->mimeData()->hasFormat(kDragFormat) ||
            !FFrame->DragOver(itemAt(e->position().toPoint()), e->position().toPoint())) {
            e->ignore();
            return;
        }
        e->acceptProposedAction();
    }
    void dropEvent(QDropEvent* e) override {
        if (!e->mimeData()->hasFormat(kDragFormat)) {
            e->ignore();
            return;
        }
        FFrame->DragDropped(itemAt(e->position().toPoint()));
        e->acceptProposedAction();
    }

private:
    TfrBrowser* FFrame;
};

// Red for a variable marked for review in a ticked pack; otherwise the
// palette's colours (white on the selection, black elsewhere).
class TReviewDelegate : public QStyledItemDelegate {
public:
    TReviewDelegate(TfrBrowser* frame, QObject* parent)
        : QStyledItemDelegate(parent), FFrame(frame) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto* item = reinterpret_cast<const TTree*>(index.data(kItemRole).value<quintptr>());
        if (item && FFrame->GetNeedToChange(item->GetFullName(), "")) {
            option->palette.setColor(QPalette::Text, Qt::red);
            option->palette.setColor(QPalette::HighlightedText, Qt::red);
        }
    }

private:
    TfrBrowser* FFrame;
};

// Whether `item` could be renamed to `name` (the rule of SetName: no name a
// sibling uses, ignoring case, and no empty name or one with '<', '>' or the
// separator).
bool CanName(const TTree* item, const std::string& name) {
    if (name == item->GetName())
        return true;
    if (!item->IsValidName(name))
        return false;
    return !item->GetParent() || !item->GetParent()->FindChild(name);
}

bool ValidPath(const TTree& tree, const std::string& path) {
    if (path.empty())
        return false;
    const auto names = TTree::SplitPath(path, tree.GetTreeSeparator());
    // SplitPath drops a trailing empty part: a path ending in the separator is not valid.
    if (names.empty() || path.back() == tree.GetTreeSeparator())
        return false;
    return std::all_of(names.begin(), names.end(),
                       [&](const std::string& n) { return tree.IsValidName(n); });
}

// The item a path names. A path with an empty name in it (a leading,
// trailing or doubled separator) names nothing, although the tree's own
// lookup would skip the empty part.
bool WellFormed(const std::string& path) {
    return !path.empty() && path.front() != '_' && path.back() != '_' &&
           path.find("__") == std::string::npos;
}

TTree* Lookup(const TTree& tree, const std::string& path) {
    return WellFormed(path) ? tree.GetItem_F(path) : nullptr;
}

QString Fill(const TResourceString& text, const std::vector<std::string>& values) {
    return FillText(text(), values);
}

} // namespace

TfrBrowser::TfrBrowser(QWidget* parent)
    : QWidget(parent), FTree(std::make_unique<TTree>()), FDragPos(new QPoint) {
    setObjectName(QStringLiteral("frBrowser"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    FTop = new QWidget(this);
    FTop->setObjectName(QStringLiteral("pnlTop"));
    auto* top = new QVBoxLayout(FTop);
    top->setContentsMargins(2, 2, 2, 2);
    top->setSpacing(2);
    FComboLayout = new QVBoxLayout;
    FComboLayout->setSpacing(2);
    top->addLayout(FComboLayout);
    auto* bevel = new QFrame(FTop);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    top->addWidget(bevel);
    layout->addWidget(FTop);
    Combo(0);

    auto* bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("pnlBottom"));
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    FView = new TBrowserView(this, bottom);
    FView->setObjectName(QStringLiteral("TreeView"));
    FView->setHeaderHidden(true);
    FView->setSortingEnabled(false); // the browser keeps the order itself
    FView->setIndentation(19);
    FView->setSelectionMode(QAbstractItemView::SingleSelection);
    FView->setSelectionBehavior(QAbstractItemView::SelectRows);
    FView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FView->setDragEnabled(true);
    FView->setAcceptDrops(true);
    FView->setDragDropMode(QAbstractItemView::DragDrop);
    FView->setDefaultDropAction(Qt::MoveAction);
    FView->setUniformRowHeights(true);
    FView->setContextMenuPolicy(Qt::CustomContextMenu);
    FView->setItemDelegate(new TReviewDelegate(this, FView));
    FView->installEventFilter(this);
    bottomLayout->addWidget(FView);
    layout->addWidget(bottom, 1);

    FRenameEdit = new QLineEdit(FView->viewport());
    FRenameEdit->setObjectName(QStringLiteral("edtCT"));
    FRenameEdit->setFrame(false);
    FRenameEdit->hide();
    FRenameEdit->installEventFilter(this);

    FPopup = new QMenu(this);
    FPopup->setObjectName(QStringLiteral("PopupMenu"));
    QAction* rename = FPopup->addAction(sRenameVar());
    rename->setObjectName(QStringLiteral("pmiRenameVar"));
    QAction* remove = FPopup->addAction(sDeleteVar());
    remove->setObjectName(QStringLiteral("pmiDeleteVar"));
    connect(rename, &QAction::triggered, this, [this] { StartRename(); });
    connect(remove, &QAction::triggered, this, [this] { DeleteSelected(); });
    connect(FView, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QTreeWidgetItem* node = FView->itemAt(pos))
            FView->setCurrentItem(node); // right-click selects
        FPopup->popup(FView->viewport()->mapToGlobal(pos));
    });

    FExpandTimer = new QTimer(this);
    FExpandTimer->setObjectName(QStringLiteral("tmrExpand"));
    FExpandTimer->setInterval(700);
    FExpandTimer->setSingleShot(true);
    connect(FExpandTimer, &QTimer::timeout, this, &TfrBrowser::tmrExpandTimer);
    FScrollTimer = new QTimer(this);
    FScrollTimer->setObjectName(QStringLiteral("tmrScroller"));
    FScrollTimer->setInterval(250);
    connect(FScrollTimer, &QTimer::timeout, this, &TfrBrowser::tmrScrollerTimer);

    connect(FView, &QTreeWidget::currentItemChanged, this, [this] { ReportSelection(); });
    connect(FView, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* node) { DoubleClicked(node); });
}

TfrBrowser::~TfrBrowser() {
    // The nodes refer to the browse tree: they go first.
    FNodes.clear();
    FView->blockSignals(true);
    FView->clear();
    delete FDragPos;
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

// --- Items, nodes, packs -----------------------------------------------------

TTree* TfrBrowser::ItemOf(const QTreeWidgetItem* node) const {
    return node ? reinterpret_cast<TTree*>(node->data(0, kItemRole).value<quintptr>()) : nullptr;
}

std::string TfrBrowser::PathOf(const QTreeWidgetItem* node) const {
    const TTree* item = ItemOf(node);
    return item ? item->GetFullName() : std::string();
}

QTreeWidgetItem* TfrBrowser::NodeOf(const std::string& path) const {
    const TTree* item = Lookup(*FTree, path);
    const auto it = item ? FNodes.find(item) : FNodes.end();
    return it == FNodes.end() ? nullptr : it->second;
}

// Packs are addressed by full paths joined with '_', the browse tree's separator.
TXMLTreeItem* TfrBrowser::PackItem(int pack, const std::string& path) const {
    TXMLTreeItem* p = FPacks ? FPacks->GetPack(pack) : nullptr;
    if (!p || !WellFormed(path))
        return nullptr;
    const TUnderscorePaths sep(p);
    return static_cast<TXMLTreeItem*>(p->GetItem_F(path));
}

// --- Refresh and the path combo boxes ---------------------------------------

void TfrBrowser::Refresh() {
    const std::string selected = GetSelectedVar();
    if (FRenameEdit->isVisible())
        CancelRename();
    // The nodes refer to the old browse tree: they go before it.
    FView->blockSignals(true);
    FNodes.clear();
    FView->clear();
    FView->blockSignals(false);
    FTree = std::make_unique<TTree>();
    FTickedNames.clear();
    if (FPacks) {
        FTickedNames = FPacks->GetPackNames(true);
        for (int i = 0; i < FPacks->GetPackCount(); ++i)
            if (FPacks->IsPackChecked(i))
                if (TXMLTreeItem* pack = FPacks->GetPack(i)) {
                    const TUnderscorePaths sep(pack);
                    pack->MergeInto(FTree.get());
                }
    }
    // The SYSTEM items describe the files, not texts to translate.
    if (TTree* system = FTree->FindChild("SYSTEM"))
        FTree->DeleteItem(FTree->IndexOfChild(system));
    FillCombo(0, FTree.get());
    QComboBox* first = Combo(0);
    first->blockSignals(true);
    first->setCurrentIndex(0);
    first->blockSignals(false);
    ComboChanged(0);
    if (!selected.empty())
        if (const TTree* item = FTree->GetItem_F(selected); item && item->GetFullName() == selected)
            if (auto it = FNodes.find(item); it != FNodes.end())
                FView->setCurrentItem(it->second);
}

void TfrBrowser::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        for (QComboBox* box : FCombos)
            if (box->count() > 0)
                box->setItemText(0, sShowAll());
        const QList<QAction*> items = FPopup->actions();
        for (QAction* a : items) {
            if (a->objectName() == QLatin1String("pmiRenameVar"))
                a->setText(sRenameVar());
            else if (a->objectName() == QLatin1String("pmiDeleteVar"))
                a->setText(sDeleteVar());
        }
    }
    QWidget::changeEvent(event);
}

QComboBox* TfrBrowser::Combo(int k) {
    while (static_cast<int>(FCombos.size()) <= k) {
        const int n = static_cast<int>(FCombos.size());
        auto* box = new QComboBox(FTop);
        box->setObjectName(QStringLiteral("cbxItem%1").arg(n));
        box->setEditable(false);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        FComboLayout->addWidget(box);
        connect(box, &QComboBox::activated, this, [this, n] { ComboChanged(n); });
        if (n > 0)
            box->hide();
        FCombos.push_back(box);
    }
    return FCombos[static_cast<std::size_t>(k)];
}

int TfrBrowser::VisibleCombos() const {
    int n = 0;
    while (n < static_cast<int>(FCombos.size()) &&
           (n == 0 || !FCombos[static_cast<std::size_t>(n)]->isHidden()))
        ++n;
    return n;
}

// Combo box k lists the children of the folder chosen in combo box k-1.
TTree* TfrBrowser::ComboFolder(int k) const {
    TTree* folder = FTree.get();
    for (int j = 0; j < k && folder; ++j) {
        const int index = FCombos[static_cast<std::size_t>(j)]->currentIndex();
        folder = index > 0 && index <= folder->GetCount() ? folder->GetItem_(index - 1) : nullptr;
    }
    return folder;
}

void TfrBrowser::FillCombo(int k, TTree* folder) {
    QComboBox* box = Combo(k);
    box->blockSignals(true);
    box->clear();
    box->addItem(sShowAll());
    if (folder)
        for (int i = 0; i < folder->GetCount(); ++i)
            box->addItem(QString::fromStdString(folder->GetItem_(i)->GetName()));
    box->blockSignals(false);
}

TTree* TfrBrowser::ViewFolder() const {
    return ComboFolder(VisibleCombos() - 1);
}

void TfrBrowser::ComboChanged(int k) {
    QComboBox* box = Combo(k);
    TTree* folder = ComboFolder(k);
    const int index = box->currentIndex();
    if (folder && index > 0 && index <= folder->GetCount()) {
        QComboBox* next = Combo(k + 1);
        FillCombo(k + 1, folder->GetItem_(index - 1));
        next->blockSignals(true);
        next->setCurrentIndex(0);
        next->blockSignals(false);
        ComboChanged(k + 1);
        next->show();
        return;
    }
    for (std::size_t j = static_cast<std::size_t>(k) + 1; j < FCombos.size(); ++j)
        FCombos[j]->hide();
    FillView(folder);
    SelectNode(FView->topLevelItemCount() > 0 ? FView->topLevelItem(0) : nullptr);
    ReportSelection();
}

std::vector<TTree*> TfrBrowser::ChosenItems() const {
    std::vector<TTree*> chosen;
    TTree* folder = FTree.get();
    const int visible = VisibleCombos();
    for (int k = 0; k < visible && folder; ++k) {
        const int index = FCombos[static_cast<std::size_t>(k)]->currentIndex();
        if (index <= 0 || index > folder->GetCount())
            break;
        folder = folder->GetItem_(index - 1);
        chosen.push_back(folder);
    }
    return chosen;
}

// The entries of a combo box address children by position, so after every
// change of the browse tree they are listed again; a chosen folder that is
// gone (deleted, or moved elsewhere) gives way to "show all" on its level.
void TfrBrowser::ResyncCombos(std::vector<TTree*> chosen, bool rebuildView) {
    TTree* folder = FTree.get();
    std::size_t k = 0;
    for (;; ++k) {
        FillCombo(static_cast<int>(k), folder);
        QComboBox* box = Combo(static_cast<int>(k));
        const bool hangsHere = k < chosen.size() && chosen[k]->GetParent() == folder;
        box->blockSignals(true);
        box->setCurrentIndex(hangsHere ? folder->IndexOfChild(chosen[k]) + 1 : 0);
        box->blockSignals(false);
        box->show();
        if (!hangsHere) {
            rebuildView = rebuildView || k < chosen.size();
            break;
        }
        folder = chosen[k];
    }
    for (std::size_t j = k + 1; j < FCombos.size(); ++j)
        FCombos[j]->hide();
    if (rebuildView) {
        FillView(folder);
        SelectNode(FView->topLevelItemCount() > 0 ? FView->topLevelItem(0) : nullptr);
        ReportSelection();
    }
}

// --- The tree view -----------------------------------------------------------

QTreeWidgetItem* TfrBrowser::MakeNode(TTree* item) {
    auto* node = new QTreeWidgetItem;
    node->setText(0, QString::fromStdString(item->GetName()));
    node->setData(0, kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
    FNodes[item] = node;
    return node;
}

// Sorted alphabetically at every level with the locale's comparison, folders
// and variables mixed. Sort keys are made once per node, and the nodes of a
// level are added in one call, so that a view of many thousand variables
// builds quickly.
void TfrBrowser::AddSubtreeNodes(QTreeWidgetItem* parent, TTree* folder) {
    QCollator collator;
    struct TLevel {
        QTreeWidgetItem* parent;
        TTree* folder;
    };
    std::vector<TLevel> pending{{parent, folder}};
    std::vector<std::pair<QCollatorSortKey, TTree*>> keyed;
    while (!pending.empty()) {
        const TLevel level = pending.back();
        pending.pop_back();
        keyed.clear();
        keyed.reserve(static_cast<std::size_t>(level.folder->GetCount()));
        for (int i = 0; i < level.folder->GetCount(); ++i) {
            TTree* child = level.folder->GetItem_(i);
            keyed.emplace_back(collator.sortKey(QString::fromStdString(child->GetName())), child);
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        QList<QTreeWidgetItem*> nodes;
        nodes.reserve(static_cast<qsizetype>(keyed.size()));
        for (const auto& [key, child] : keyed) {
            QTreeWidgetItem* node = MakeNode(child);
            nodes.append(node);
            if (child->GetCount() > 0)
                pending.push_back({node, child});
        }
        if (level.parent)
            level.parent->addChildren(nodes);
        else
            FView->addTopLevelItems(nodes);
    }
}

void TfrBrowser::FillView(TTree* folder) {
    FView->blockSignals(true);
    FNodes.clear();
    FView->clearSelection();
    FView->clear();
    if (folder)
        AddSubtreeNodes(nullptr, folder);
    FView->blockSignals(false);
}

void TfrBrowser::InsertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* node) {
    QCollator collator;
    const QString text = node->text(0);
    const int count = parent ? parent->childCount() : FView->topLevelItemCount();
    int at = 0;
    while (at < count) {
        const QTreeWidgetItem* sibling = parent ? parent->child(at) : FView->topLevelItem(at);
        if (collator.compare(text, sibling->text(0)) < 0)
            break;
        ++at;
    }
    if (parent)
        parent->insertChild(at, node);
    else
        FView->insertTopLevelItem(at, node);
}

void TfrBrowser::SortChildren(QTreeWidgetItem* parent) {
    QCollator collator;
    QList<QTreeWidgetItem*> nodes = parent->takeChildren();
    std::stable_sort(nodes.begin(), nodes.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return collator.compare(a->text(0), b->text(0)) < 0;
    });
    parent->addChildren(nodes);
}

void TfrBrowser::ForgetNodes(QTreeWidgetItem* node) {
    std::vector<QTreeWidgetItem*> pending{node};
    while (!pending.empty()) {
        QTreeWidgetItem* n = pending.back();
        pending.pop_back();
        FNodes.erase(ItemOf(n));
        for (int i = 0; i < n->childCount(); ++i)
            pending.push_back(n->child(i));
    }
}

void TfrBrowser::SelectNode(QTreeWidgetItem* node) {
    FView->blockSignals(true);
    FView->setCurrentItem(node);
    if (!node)
        FView->clearSelection();
    FView->blockSignals(false);
}

// Tells the name field (unless it is the one selecting, see BeginUpdate) and
// the value panel which variable is current.
void TfrBrowser::ReportSelection() {
    if (FDragNode)
        return;
    if (FNameEditor) {
        const std::string path = PathOf(FView->currentItem());
        if (!FUpdating)
            FNameEditor->SetVarName(path);
        if (FVarMemo)
            FVarMemo->SetVarPath(path);
    }
    emit SelectedVarChanged();
}

// --- IBrowserCtrl ------------------------------------------------------------

std::string TfrBrowser::GetSelectedVar() {
    return PathOf(FView->currentItem());
}

void TfrBrowser::SelectVar(const std::string& path) {
    QTreeWidgetItem* node = NodeOf(path);
    if (!node)
        return;
    FView->setCurrentItem(node); // reported when it changes, as a click would be
    FView->scrollToItem(node);
}

bool TfrBrowser::VarExists(const std::string& path) {
    return Lookup(*FTree, path) != nullptr;
}

void TfrBrowser::ClearValues() {
    if (FVarMemo)
        FVarMemo->SetVarPath("");
}

int TfrBrowser::GetVarKind(const std::string& path) {
    const TTree* node = Lookup(*FTree, path);
    if (!node)
        return 2;
    return node->GetCount() > 0 ? 0 : 1;
}

bool TfrBrowser::CanAddVar(const std::string& path) {
    return ValidPath(*FTree, path);
}

void TfrBrowser::SetNeedToChange(const std::string& pack, const std::string& path) {
    const std::string file = ReviewFlagsFileName();
    if (!FFlags.Set(file, pack, path, true))
        host::HostUI().ShowError(Fill(sCannotWriteFlags, {file}));
    FView->viewport()->update();
}

void TfrBrowser::ClearNeedToChange(const std::string& pack, const std::string& path) {
    const std::string file = ReviewFlagsFileName();
    if (!FFlags.Set(file, pack, path, false))
        host::HostUI().ShowError(Fill(sCannotWriteFlags, {file}));
    FView->viewport()->update();
}

bool TfrBrowser::GetNeedToChange(const std::string& path, const std::string& pack) {
    if (!FPacks)
        return false;
    const std::string file = ReviewFlagsFileName();
    if (!pack.empty())
        return FFlags.Get(file, pack, path);
    for (const auto& name : FTickedNames)
        if (FFlags.Get(file, name, path))
            return true;
    return false;
}

// --- Adding ------------------------------------------------------------------

void TfrBrowser::AddVar(const std::string& path) {
    BeginUpdate();
    AddVarInner(path);
    EndUpdate();
}

// A former variable's text may move only to a variable that can hold it and
// holds no text yet: a valid path that is not the former variable or one of
// its folders, names no folder and no variable with text in any pack, and
// does not run through a variable with text (which would become a folder)
// other than the folders of the path being added.
bool TfrBrowser::FolderTargetUsable(const std::string& target, const std::string& former,
                                    const std::string& path) const {
    if (!ValidPath(*FTree, target))
        return false;
    const std::string t = platform::UpperCaseAscii(target), f = platform::UpperCaseAscii(former);
    if (t == f || (f.size() > t.size() && f.compare(0, t.size(), t) == 0 && f[t.size()] == '_'))
        return false;
    if (!FPacks)
        return true;
    // The folders of the path being added lose their texts to this add anyway.
    const std::string p = platform::UpperCaseAscii(path);
    auto onPath = [&p](const std::string& prefix) {
        const std::string u = platform::UpperCaseAscii(prefix);
        return p.size() > u.size() && p.compare(0, u.size(), u) == 0 && p[u.size()] == '_';
    };
    const auto names = TTree::SplitPath(target, '_');
    for (int i = 0; i < FPacks->GetPackCount(); ++i) {
        if (const TXMLTreeItem* item = PackItem(i, target))
            if (item->GetCount() > 0 || !item->GetText().empty())
                return false;
        std::string prefix;
        for (std::size_t n = 0; n + 1 < names.size(); ++n) {
            prefix += (n ? "_" : "") + names[n];
            if (const TXMLTreeItem* item = PackItem(i, prefix))
                if (!item->GetText().empty() && !onPath(prefix))
                    return false;
        }
    }
    return true;
}

// Step one of adding below a former variable: every folder of the new path
// that still has a text in some pack turns into a folder, so its text has to
// go to a variable. Asks for each, from the nearest up; false when the
// translator cancels (then nothing at all is changed).
bool TfrBrowser::AskFolderTargets(const std::string& path, std::vector<std::string>& targets,
                                  std::vector<std::string>& formerVariables) {
    if (!FPacks)
        return true;
    const auto names = TTree::SplitPath(path, '_');
    if (names.size() < 2)
        return true;
    // The proposal: a new variable beside the one being added.
    std::string parentPath;
    for (std::size_t n = 0; n + 1 < names.size(); ++n)
        parentPath += (n ? "_" : "") + names[n];
    const TTree* parent = FTree->GetItem_F(parentPath);
    std::string proposal;
    for (unsigned long n = 1;; ++n) {
        proposal = std::string(sNewItem) + std::to_string(n);
        if (!platform::SameTextAscii(proposal, names.back()) &&
            !(parent && parent->FindChild(proposal)))
            break;
    }
    proposal = parentPath + "_" + proposal;

    for (std::size_t depth = names.size() - 1; depth >= 1; --depth) {
        std::string former;
        for (std::size_t n = 0; n < depth; ++n)
            former += (n ? "_" : "") + names[n];
        bool hasText = false;
        for (int i = 0; i < FPacks->GetPackCount() && !hasText; ++i)
            if (const TXMLTreeItem* item = PackItem(i, former))
                hasText = !item->GetText().empty();
        if (hasText) {
            QString value = QString::fromStdString(proposal);
            for (;;) {
                if (!host::HostUI().InputBox(sChooseFolderCaption(),
                                             Fill(sChooseFolderPrompt, {former}), value))
                    return false;
                const std::string entered = value.trimmed().toStdString();
                if (entered.empty())
                    return false; // an empty entry counts as Cancel
                bool clash = !FolderTargetUsable(entered, former, path);
                for (const auto& t : targets)
                    clash = clash || platform::SameTextAscii(t, entered);
                if (!clash) {
                    formerVariables.push_back(former);
                    targets.push_back(entered);
                    break;
                }
                host::HostUI().ShowError(Fill(sFolderTargetRefused, {entered}));
            }
        }
        if (depth == 1)
            break;
    }
    return true;
}

void TfrBrowser::AddVarInner(const std::string& path) {
    if (VarExists(path) || !ValidPath(*FTree, path))
        return;
    std::vector<std::string> targets, formers;
    if (!AskFolderTargets(path, targets, formers))
        return;
    // The texts of the former variables move, in every pack that holds them.
    if (FPacks)
        for (std::size_t t = 0; t < targets.size(); ++t)
            for (int i = 0; i < FPacks->GetPackCount(); ++i) {
                TXMLTreeItem* from = PackItem(i, formers[t]);
                if (!from)
                    continue;
                TXMLTreeItem* pack = FPacks->GetPack(i);
                TXMLTreeItem* to;
                {
                    const TUnderscorePaths sep(pack);
                    to = static_cast<TXMLTreeItem*>(pack->AddGlobalItem(targets[t]));
                }
                to->SetText(from->GetText());
                if (!from->GetText().empty())
                    from->SetText(std::u16string());
            }

    const std::vector<TTree*> chosen = ChosenItems();
    TTree* view = ViewFolder();
    TTree* item = FTree->AddGlobalItem(path);
    // The nodes from the view's folder down to the new variable.
    if (view && item->IsInSubtreeOf(view) && item != view) {
        std::vector<TTree*> chain;
        for (TTree* n = item; n != view; n = n->GetParent())
            chain.push_back(n);
        QTreeWidgetItem* parentNode = nullptr;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const auto found = FNodes.find(*it);
            if (found != FNodes.end()) {
                parentNode = found->second;
                continue;
            }
            QTreeWidgetItem* node = MakeNode(*it);
            InsertSorted(parentNode, node);
            parentNode = node;
        }
    }
    ResyncCombos(chosen, false);
    for (const auto& t : targets)
        AddVarInner(t);
}

// --- Deleting ----------------------------------------------------------------

void TfrBrowser::DeleteSelected(QTreeWidgetItem* node) {
    if (!node)
        node = FView->currentItem();
    if (node)
        DeleteVar(PathOf(node));
}

void TfrBrowser::DeleteVar(const std::string& path) {
    TTree* item = Lookup(*FTree, path);
    if (!item)
        return;
    const std::string full = item->GetFullName();
    if (host::HostUI().Ask(host::TMsgKind::Confirmation, Fill(sDeleteVarQ, {full}),
                           host::TMsgButtons::YesNo) != host::TMsgResult::Yes)
        return;
    std::vector<TTree*> chosen = ChosenItems();
    bool cut = false;
    for (std::size_t k = 0; k < chosen.size() && !cut; ++k)
        if (chosen[k]->IsInSubtreeOf(item)) {
            chosen.resize(k);
            cut = true;
        }
    if (const auto it = FNodes.find(item); it != FNodes.end()) {
        QTreeWidgetItem* node = it->second;
        SelectNode(FView->itemAbove(node));
        ReportSelection();
        ForgetNodes(node);
        FView->blockSignals(true);
        delete node;
        FView->blockSignals(false);
    }
    item->Delete();
    delete item;
    if (FPacks)
        for (int i = 0; i < FPacks->GetPackCount(); ++i)
            if (TXMLTreeItem* p = PackItem(i, full)) {
                p->Delete();
                delete p;
            }
    ResyncCombos(chosen, cut);
}

// --- Renaming ----------------------------------------------------------------

void TfrBrowser::StartRename(QTreeWidgetItem* node) {
    if (!node)
        node = FView->currentItem();
    if (!node || !ItemOf(node))
        return;
    FView->scrollToItem(node);
    FRenaming = node;
    const QRect r = FView->visualItemRect(node);
    const int width = FView->fontMetrics().horizontalAdvance(node->text(0) + QStringLiteral("W."));
    FRenameEdit->setGeometry(r.x(), r.y(), width + 8, r.height());
    FRenameEdit->setFont(FView->font());
    FRenameEdit->setText(node->text(0));
    FRenameEdit->show();
    FRenameEdit->setFocus();
    FRenameEdit->selectAll();
}

void TfrBrowser::CancelRename() {
    FRenaming = nullptr;
    FRenameEdit->hide();
}

void TfrBrowser::FinishRename() {
    QTreeWidgetItem* node = FRenaming;
    TTree* item = ItemOf(node);
    CancelRename();
    FView->setFocus();
    if (!item)
        return;
    const std::string name = FRenameEdit->text().toStdString();
    const std::string old = item->GetFullName();
    std::vector<TXMLTreeItem*> inPacks;
    if (FPacks)
        for (int i = 0; i < FPacks->GetPackCount(); ++i)
            if (TXMLTreeItem* p = PackItem(i, old))
                inPacks.push_back(p);
    // Every check first, so that a refusal renames nothing anywhere.
    bool ok = CanName(item, name);
    for (const TXMLTreeItem* p : inPacks)
        ok = ok && CanName(p, name);
    if (!ok) {
        host::HostUI().ShowError(sBadItemName());
        return;
    }
    const std::vector<TTree*> chosen = ChosenItems();
    for (TXMLTreeItem* p : inPacks)
        p->SetName(name);
    item->SetName(name);
    node->setText(0, QString::fromStdString(name));
    ResyncCombos(chosen, false);
    ReportSelection();
}

bool TfrBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FView && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2) {
            StartRename();
            return true;
        }
    }
    if (watched != FRenameEdit)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut && FRenameEdit->isVisible()) {
        CancelRename();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        FinishRename();
        return true;
    case Qt::Key_Escape:
        CancelRename();
        FView->setFocus();
        return true;
    case Qt::Key_Backspace:
        return false;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text[0].isPrint())
        return false; // cursor keys and the like
    const char16_t c = text[0].unicode();
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
        FRenameEdit->insert(text.left(1).toUpper());
        return true;
    }
    // Digits and '-' go in as typed; every other character is dropped.
    return !((c >= u'0' && c <= u'9') || c == u'-') || text.size() != 1;
}

// --- Drag and drop -----------------------------------------------------------

void TfrBrowser::DragStarted(QTreeWidgetItem* node) {
    if (!node || !ItemOf(node))
        return;
    FDragNode = node;
    FLastEntered = nullptr;
    FScrollTimer->start();
}

bool TfrBrowser::DragOver(QTreeWidgetItem* target, const QPoint& pos) {
    *FDragPos = pos;
    const TTree* dragged = ItemOf(FDragNode);
    const TTree* item = ItemOf(target);
    if (target != FLastEntered) {
        FLastEntered = target;
        FExpandTag = target;
        FExpandTimer->start();
    }
    if (!dragged || !item || item->IsInSubtreeOf(dragged))
        return false;
    FView->setCurrentItem(target); // not reported while dragging
    return true;
}

void TfrBrowser::tmrExpandTimer() {
    FExpandTimer->stop();
    if (!FExpandTag || FView->itemAt(*FDragPos) != FExpandTag)
        return;
    FExpandTag->setExpanded(!FExpandTag->isExpanded());
}

void TfrBrowser::tmrScrollerTimer() {
    ScrollForPointer(FView->viewport()->mapFromGlobal(QCursor::pos()).y());
}

// 15 pixels a row, as the original assumed.
void TfrBrowser::ScrollForPointer(int y) {
    if (y < 0) {
        QTreeWidgetItem* top = FView->itemAt(0, 0);
        if (top && FView->itemAbove(top)) {
            QScrollBar* bar = FView->verticalScrollBar();
            bar->setValue(bar->value() - (-y / 15 + 1));
        }
    } else if (y > FView->viewport()->height()) {
        QTreeWidgetItem* node = FView->currentItem();
        for (int n = (y - FView->viewport()->height()) / 15 + 1; n > 0 && node; --n)
            if (QTreeWidgetItem* below = FView->itemBelow(node))
                node = below;
        if (node) {
            FView->setCurrentItem(node);
            FView->scrollToItem(node);
        }
    }
}

void TfrBrowser::DragEnded() {
    FExpandTimer->stop();
    FScrollTimer->stop();
    if (FDragNode) {
        FDragNode = nullptr;
        ReportSelection();
    }
}

// A move must lose nothing: no item of the dragged one's name may wait in
// the target folder (in the browse tree or in a pack that takes the move),
// and a target that is a variable with a text would stop holding it.
bool TfrBrowser::MoveRefused(TTree* dragged, TTree* target) {
    const std::string name = dragged->GetName();
    const std::string targetPath = target->GetFullName();
    bool clash = target->FindChild(name) != nullptr;
    std::string textHolder;
    if (FPacks)
        for (int i = 0; i < FPacks->GetPackCount(); ++i) {
            if (!FPacks->IsPackChecked(i) || !PackItem(i, dragged->GetFullName()))
                continue;
            const TXMLTreeItem* t = PackItem(i, targetPath);
            if (!t)
                continue;
            clash = clash || t->FindChild(name) != nullptr;
            if (t->GetCount() == 0 && !t->GetText().empty())
                textHolder = targetPath;
        }
    if (clash) {
        host::HostUI().ShowError(Fill(sMoveNameClash, {targetPath, name}));
        return true;
    }
    if (!textHolder.empty()) {
        host::HostUI().ShowError(Fill(sMoveIntoText, {textHolder}));
        return true;
    }
    return false;
}

void TfrBrowser::DragDropped(QTreeWidgetItem* target) {
    FExpandTimer->stop();
    FScrollTimer->stop();
    QTreeWidgetItem* node = FDragNode;
    TTree* dragged = ItemOf(node);
    TTree* to = ItemOf(target);
    if (!dragged || !to || to->IsInSubtreeOf(dragged) || dragged->GetParent() == to ||
        MoveRefused(dragged, to)) {
        DragEnded();
        return;
    }
    const std::string oldPath = dragged->GetFullName();
    const std::string targetPath = to->GetFullName();
    if (host::HostUI().Ask(host::TMsgKind::Confirmation,
                           Fill(sMoveQ, {oldPath, targetPath + "_" + dragged->GetName()}),
                           host::TMsgButtons::OkCancel) != host::TMsgResult::Ok) {
        DragEnded();
        return;
    }
    const bool wizard = ReadStr("settings", "fMain.miCNWizardAutoOpen.Checked", "false",
                                MainIniFileName()) == "true";
    TVarNames pairs;
    auto collect = [&](bool fromNames) {
        std::size_t n = 0;
        auto take = [&](const TTree* t) {
            if (fromNames)
                pairs.push_back({t->GetFullName(), {}});
            else
                pairs[n++].ToName = t->GetFullName();
        };
        take(dragged);
        dragged->ForEach([&](TTree* t) { take(t); });
    };
    if (wizard)
        collect(true);

    std::vector<TTree*> chosen = ChosenItems();
    for (std::size_t k = 0; k < chosen.size(); ++k)
        if (chosen[k]->IsInSubtreeOf(dragged)) {
            chosen.resize(k);
            break;
        }
    // The packs first, while the old path still names the item.
    if (FPacks)
        for (int i = 0; i < FPacks->GetPackCount(); ++i) {
            if (!FPacks->IsPackChecked(i))
                continue;
            TXMLTreeItem* from = PackItem(i, oldPath);
            TXMLTreeItem* into = PackItem(i, targetPath);
            if (from && into)
                from->MoveTo(into);
        }
    dragged->MoveTo(to);
    FView->blockSignals(true);
    if (QTreeWidgetItem* parent = node->parent())
        parent->removeChild(node);
    else
        FView->takeTopLevelItem(FView->indexOfTopLevelItem(node));
    target->addChild(node);
    SortChildren(target);
    FView->blockSignals(false);
    if (wizard) {
        collect(false);
        if (FShowWizard)
            FShowWizard(pairs);
    }
    FDragNode = nullptr;
    FExpandTimer->stop();
    FScrollTimer->stop();
    ResyncCombos(chosen, false);
    if (const auto it = FNodes.find(dragged); it != FNodes.end()) {
        FView->setCurrentItem(it->second);
        FView->scrollToItem(it->second);
    }
    ReportSelection();
}

// --- Double click ------------------------------------------------------------

// A variable two levels deep or more narrows the view to its own folder;
// double-clicking it again, now at the top of the view, shows everything.
void TfrBrowser::DoubleClicked(QTreeWidgetItem* node) {
    TTree* item = ItemOf(node);
    if (!item || node != FView->currentItem() || item->GetCount() > 0 || item->GetLevel() <= 1)
        return;
    if (node->parent()) {
        std::vector<TTree*> ancestors;
        for (TTree* a = item->GetParent(); a && a->GetParent(); a = a->GetParent())
            ancestors.insert(ancestors.begin(), a);
        ResyncCombos(ancestors, true);
    } else {
        ResyncCombos({}, true);
    }
    if (const auto it = FNodes.find(item); it != FNodes.end()) {
        FView->setCurrentItem(it->second);
        FView->scrollToItem(it->second);
    }
}

// --- Synchronisation ---------------------------------------------------------

void TfrBrowser::SynchronizePacks() {
    if (!FPacks || FTree->GetCount() == 0 || FPacks->GetPackCount() == 0)
        return;
    std::vector<std::string> header;
    const std::vector<std::string> rows = FPacks->GetPackList(header, false);
    int model = -1;
    std::vector<bool> ticks;
    if (!SelectModelAndTargets(sSyncCaption(), sSyncPrompt(), rows, model, ticks, header))
        return;
    const TXMLTreeItem* from = FPacks->GetPack(model);
    if (!from)
        return;
    std::vector<TXMLTreeItem*> recipients;
    for (std::size_t r = 0; r < ticks.size(); ++r)
        if (ticks[r] && static_cast<int>(r) != model)
            if (TXMLTreeItem* p = FPacks->GetPack(static_cast<int>(r)))
                recipients.push_back(p);
    SynchronizeFromModel(*from, recipients);
    if (FVarMemo)
        FVarMemo->Refresh();
}

} // namespace lx::editor
