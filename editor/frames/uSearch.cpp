#include "uSearch.h"

#include "editor/uPackCache.h"
#include "editor/uReviewFlags.h"
#include "engine/uFindStrUtilsPro.h"
#include "platform/Text.h"
#include "runtime/uResourceString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace lx::editor {

LX_RESOURCESTRING(sSearchStart, "Поиск");
LX_RESOURCESTRING(sSearchStop, "Остановить");

namespace {

bool Contains(const std::string& what, const std::string& where) {
    return what.empty() || FindNoCase(what, where, 1, fForward) > 0;
}

bool Contains(const std::u16string& what, const std::u16string& where) {
    return what.empty() || FindNoCase(what, where, 1, fForward) > 0;
}

} // namespace

int RunSearch(const TSearchInput& input, const TSearchCriteria& c, const std::atomic<bool>& stop,
              const std::function<void(const std::string&, int)>& found,
              const std::function<void(int)>& started) {
    TTree unionTree;
    for (std::size_t i = 0; i < input.Packs.size(); ++i)
        if (input.Ticked[i] && input.Packs[i])
            input.Packs[i]->MergeInto(&unionTree);
    const int count = unionTree.GetItemsCount(true);
    started(count - 1);
    int k = -1;
    unionTree.ForEach([&](TTree* item) {
        ++k;
        if (stop)
            return false;
        if (item->GetCount() > 0)
            return true; // folders are not results
        const std::string path = item->GetFullName();
        // The SYSTEM items describe the files, not texts to translate.
        if (path.size() > 7 && platform::SameTextAscii(path.substr(0, 7), "SYSTEM_"))
            return true;
        if (c.Type == 1 && !input.Flagged.count(platform::UpperCaseAscii(path)))
            return true;
        if (c.Type == 2) {
            bool missing = false;
            for (const TXMLTreeItem* pack : input.Packs)
                if (!pack || !pack->GetItem_F(path)) {
                    missing = true;
                    break;
                }
            if (!missing)
                return true;
        }
        if (c.InName && !Contains(c.NameText, path))
            return true;
        if (c.InText && !c.Text.empty()) {
            bool hit = false;
            for (const TXMLTreeItem* pack : input.Packs) {
                const auto* own =
                    pack ? static_cast<const TXMLTreeItem*>(pack->GetItem_F(path)) : nullptr;
                if (own && Contains(c.Text, own->GetText())) {
                    hit = true;
                    break;
                }
            }
            if (!hit)
                return true;
        }
        found(path, k);
        return true;
    });
    return count;
}

TSearchThread::TSearchThread(TfrSearch* frame, TSearchInput input, TSearchCriteria criteria)
    : QThread(frame), FInput(std::move(input)), FCriteria(std::move(criteria)) {}

// Results go to the user-interface thread in batches: the first one at once,
// then whenever a batch is full or some milliseconds have passed, so that a
// large result list neither floods the event queue nor waits for the end.
void TSearchThread::run() {
    QStringList batch;
    int last = 0;
    QElapsedTimer clock;
    clock.start();
    bool first = true;
    RunSearch(
        FInput, FCriteria, FStop,
        [&](const std::string& path, int index) {
            batch.append(QString::fromStdString(path));
            last = index;
            if (first || batch.size() >= 512 || clock.elapsed() >= 40) {
                emit Found(batch, last);
                batch.clear();
                clock.restart();
                first = false;
            }
        },
        [&](int maximum) { emit Maximum(maximum); });
    if (!batch.isEmpty())
        emit Found(batch, last);
}

TfrSearch::TfrSearch(QWidget* parent) : QWidget(parent), FResultTree(std::make_unique<TTree>()) {
    setObjectName(QStringLiteral("frSearch"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* grid = new QGridLayout;
    FTypeLabel = new QLabel(QString::fromUtf8("Искать:"), this);
    FTypeLabel->setObjectName(QStringLiteral("lblSearchType"));
    FType = new QComboBox(this);
    FType->setObjectName(QStringLiteral("cbxSearchType"));
    FType->addItems({QString::fromUtf8("Все элементы"),
                     QString::fromUtf8("Элементы которые требуют редактирования"),
                     QString::fromUtf8("Переменные не имеющие аналогов на всех языках")});
    FType->setCurrentIndex(-1); // no choice: all items
    FType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FType->setMinimumContentsLength(8);
    FInName = new QCheckBox(QString::fromUtf8("Искать в имени переменной:"), this);
    FInName->setObjectName(QStringLiteral("cbxSearchInVariables"));
    FNameText = new QLineEdit(this);
    FNameText->setObjectName(QStringLiteral("edtSearchInVariables"));
    FInText = new QCheckBox(QString::fromUtf8("Искать текст:"), this);
    FInText->setObjectName(QStringLiteral("cbxSearchInText"));
    FText = new QLineEdit(this);
    FText->setObjectName(QStringLiteral("edtSearchInText"));
    grid->addWidget(FTypeLabel, 0, 0);
    grid->addWidget(FType, 0, 1);
    grid->addWidget(FInName, 1, 0, 1, 2);
    grid->addWidget(FNameText, 2, 0, 1, 2);
    grid->addWidget(FInText, 3, 0, 1, 2);
    grid->addWidget(FText, 4, 0, 1, 2);
    layout->addLayout(grid);
    FAction = new QPushButton(sSearchStart(), this);
    FAction->setObjectName(QStringLiteral("btnAction"));
    FAction->setAutoDefault(true);
    FAction->setDefault(true);
    layout->addWidget(FAction);
    FProgress = new QProgressBar(this);
    FProgress->setObjectName(QStringLiteral("ProgressBar"));
    FProgress->hide();
    layout->addWidget(FProgress);
    FList = new QListWidget(this);
    FList->setObjectName(QStringLiteral("ListBox"));
    FList->setUniformItemSizes(true);
    layout->addWidget(FList, 1);

    // Typing into a criterion's field ticks it.
    connect(FNameText, &QLineEdit::textEdited, FInName, [this] { FInName->setChecked(true); });
    connect(FText, &QLineEdit::textEdited, FInText, [this] { FInText->setChecked(true); });
    for (QLineEdit* e : {FNameText, FText})
        connect(e, &QLineEdit::returnPressed, FAction, &QPushButton::click);
    connect(FAction, &QPushButton::clicked, this, [this] {
        if (FWorker)
            StopSearch();
        else
            StartSearch();
    });
    connect(FList, &QListWidget::itemClicked, this, [this] {
        if (!FWorker)
            ReportSelection();
    });
    connect(FList, &QListWidget::currentRowChanged, this, [this] {
        if (!FWorker)
            ReportSelection();
    });
}

TfrSearch::~TfrSearch() {
    if (FWorker) {
        FWorker->Stop();
        FWorker->disconnect(this);
        FWorker->wait();
    }
}

void TfrSearch::SetLinks(IMainControl* main, ILangPack* packs, IVarMemo* memo,
                         IVarNameEditor* name) {
    FMainControl = main;
    FLangPack = packs;
    FVarMemo = memo;
    FNameEditor = name;
}

// The review flags of the ticked packs as the browser reads them.
std::unordered_set<std::string> TfrSearch::FlaggedPaths() const {
    if (!FLangPack)
        return {};
    TReviewFlags flags;
    return flags.FlaggedPaths(FFlagsFile.empty() ? ReviewFlagsFileName() : FFlagsFile,
                              FLangPack->GetPackNames(true));
}

void TfrSearch::SetCriteriaEnabled(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{FTypeLabel, FType, FInName, FNameText, FInText, FText})
        w->setEnabled(on);
}

void TfrSearch::StartSearch() {
    if (FWorker)
        return;
    SetCriteriaEnabled(false);
    if (FMainControl)
        FMainControl->EnableFrames(false, this, true);
    FProgress->setRange(0, 0);
    FProgress->setValue(0);
    FProgress->show();
    FAction->setText(sSearchStop());
    FList->clear();
    FResultList.clear();
    FResults.clear();
    FFolders.clear();
    FTreeStale = true;

    TSearchCriteria c;
    c.Type = std::max(0, FType->currentIndex());
    c.InName = FInName->isChecked();
    c.NameText = FNameText->text().toStdString();
    c.InText = FInText->isChecked();
    c.Text = FText->text().toStdU16String();
    TSearchInput input;
    if (FLangPack)
        for (int i = 0; i < FLangPack->GetPackCount(); ++i) {
            input.Packs.push_back(FLangPack->GetPack(i));
            input.Ticked.push_back(FLangPack->IsPackChecked(i));
        }
    if (c.Type == 1)
        input.Flagged = FlaggedPaths();

    FWorker = new TSearchThread(this, std::move(input), std::move(c));
    connect(FWorker, &TSearchThread::Maximum, this,
            [this](int maximum) { FProgress->setRange(0, std::max(0, maximum)); });
    connect(FWorker, &TSearchThread::Found, this, [this](const QStringList& paths, int index) {
        AddResults(paths);
        FList->addItems(paths);
        FProgress->setValue(index);
    });
    connect(FWorker, &QThread::finished, this, &TfrSearch::SearchFinished);
    emit SearchRunning(true);
    FWorker->start();
}

void TfrSearch::StopSearch() {
    if (FWorker)
        FWorker->Stop();
}

void TfrSearch::StopAndWait() {
    if (!FWorker)
        return;
    FWorker->Stop();
    FWorker->wait();
    // The results still queued, and the end, are taken in now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    SearchFinished();
}

void TfrSearch::SearchFinished() {
    if (!FWorker)
        return;
    FWorker->wait();
    FWorker->deleteLater();
    FWorker = nullptr;
    FProgress->hide();
    FAction->setText(sSearchStart());
    SetCriteriaEnabled(true);
    if (FMainControl)
        FMainControl->EnableFrames(true, this, true);
    {
        const QSignalBlocker quiet(FList);
        FList->setCurrentRow(FList->count() > 0 ? 0 : -1);
    }
    ReportSelection();
    emit SearchRunning(false);
}

void TfrSearch::ReportSelection() {
    // Hidden behind the browser, the view no longer owns the current variable.
    if (!FNameEditor || isHidden())
        return;
    const std::string path = GetSelectedVar();
    if (!FUpdating)
        FNameEditor->SetVarName(path);
    if (FVarMemo)
        FVarMemo->SetVarPath(path);
}

std::string TfrSearch::GetSelectedVar() {
    const QListWidgetItem* item = FList->currentItem();
    return item && item->isSelected() ? item->text().toStdString() : std::string();
}

void TfrSearch::SelectVar(const std::string& path) {
    int row = -1;
    for (int i = 0; i < FList->count(); ++i)
        if (platform::SameTextAscii(FList->item(i)->text().toStdString(), path)) {
            row = i;
            break;
        }
    {
        const QSignalBlocker quiet(FList);
        FList->setCurrentRow(row);
    }
    ReportSelection();
}

void TfrSearch::AddResults(const QStringList& paths) {
    for (const QString& p : paths) {
        std::string path = p.toStdString();
        const std::string upper = platform::UpperCaseAscii(path);
        FResults.insert(upper);
        for (auto sep = upper.find('_'); sep != std::string::npos; sep = upper.find('_', sep + 1))
            if (sep > 0)
                FFolders.insert(upper.substr(0, sep));
        FResultList.push_back(std::move(path));
    }
    FTreeStale = true;
}

TTree* TfrSearch::GetTree() {
    if (FTreeStale) {
        FResultTree = std::make_unique<TTree>();
        for (const std::string& path : FResultList)
            FResultTree->AddGlobalItem(path);
        FTreeStale = false;
    }
    return FResultTree.get();
}

bool TfrSearch::VarExists(const std::string& path) {
    const std::string upper = platform::UpperCaseAscii(path);
    return FResults.count(upper) > 0 || FFolders.count(upper) > 0;
}

void TfrSearch::ClearValues() {
    if (FVarMemo)
        FVarMemo->SetVarPath("");
}

int TfrSearch::GetVarKind(const std::string& path) {
    const std::string upper = platform::UpperCaseAscii(path);
    if (FFolders.count(upper))
        return 0;
    return FResults.count(upper) ? 1 : 2;
}

void TfrSearch::SetNeedToChange(const std::string& pack, const std::string& path) {
    if (FFlags)
        FFlags->SetNeedToChange(pack, path);
}

void TfrSearch::ClearNeedToChange(const std::string& pack, const std::string& path) {
    if (FFlags)
        FFlags->ClearNeedToChange(pack, path);
}

bool TfrSearch::GetNeedToChange(const std::string& path, const std::string& pack) {
    return FFlags && FFlags->GetNeedToChange(path, pack);
}

} // namespace lx::editor
