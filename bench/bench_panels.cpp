// bench_panels: what a translator waits for in the name field and the value
// panel, with 10 packs of 20,000 items each: selecting a variable (one editor
// per pack rebuilt), typing one character of a text (stored in the pack, the
// review flag cleared), typing one character of a name (status, lookup,
// selection) and listing the largest folder's children.
#include "PackGenerator.h"
#include "PanelFakes.h" // the stand-ins of the pack set and the view the tests use
#include "editor/frames/uTextEditor.h"
#include "editor/frames/uVarMemo.h"
#include "editor/frames/uVarNameEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace lx;
using namespace lx::editor;

namespace {

constexpr int kPacks = 10;
constexpr std::size_t kItems = 20000;

struct TWorld {
    test::TTestPacks Packs;
    test::TTestBrowser Browser;
    TfrVarMemo Memo;
    TfrVarNameEditor Name;
    std::vector<std::string> Leaves; // variables in tree order
    TTree* BiggestFolder = nullptr;

    TWorld() {
        for (int p = 0; p < kPacks; ++p) {
            TXMLTreeItem* pack = Packs.Add("L" + std::to_string(p), {});
            bench::TPackLimits limits;
            limits.Items = kItems;
            limits.Utf8Bytes = std::size_t(-1);
            bench::GeneratePack(*pack, limits, 1 + std::uint64_t(p) % 2);
        }
        Browser.MergeFrom(Packs);
        Browser.Tree.ForEach([this](TTree* n) {
            if (n->GetCount() == 0)
                Leaves.push_back(n->GetFullName());
            if (!BiggestFolder || n->GetCount() > BiggestFolder->GetCount())
                BiggestFolder = n;
        });
        Browser.Memo = &Memo;
        Browser.Name = &Name;
        Memo.resize(600, 800);
        Memo.SetBrowser(&Browser);
        Memo.SetLangPack(&Packs);
        Name.SetBrowser(&Browser);
    }
};

TWorld& World() {
    static TWorld* world = new TWorld; // lives until the process ends
    return *world;
}

void BM_SelectVariable(benchmark::State& state) {
    TWorld& w = World();
    std::size_t i = 0;
    for (auto _ : state) {
        w.Memo.SetVarPath(w.Leaves[i]);
        i = (i + 7919) % w.Leaves.size();
    }
    state.counters["packs"] = kPacks;
}

void BM_TypeTextCharacter(benchmark::State& state) {
    TWorld& w = World();
    w.Memo.SetVarPath(w.Leaves[w.Leaves.size() / 2]);
    QPlainTextEdit* text = w.Memo.Editor(0)->Memo();
    for (auto _ : state)
        text->insertPlainText(QStringLiteral("x"));
}

void BM_TypeNameCharacter(benchmark::State& state) {
    TWorld& w = World();
    auto* combo = w.Name.findChild<QComboBox*>("edtVarName");
    const QString path = QString::fromStdString(w.Leaves[w.Leaves.size() / 3]);
    const QChar last = path.back();
    for (auto _ : state) {
        w.Name.SetVarName(path.chopped(1).toStdString());
        combo->lineEdit()->end(false);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(last));
        QApplication::sendEvent(combo, &press);
    }
}

void BM_ListBiggestFolder(benchmark::State& state) {
    TWorld& w = World();
    w.Name.SetVarName(w.BiggestFolder->GetFullName() + "_");
    auto* combo = w.Name.findChild<QComboBox*>("edtVarName");
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::ControlModifier);
        QApplication::sendEvent(combo, &press);
        combo->hidePopup();
    }
    state.counters["entries"] = double(combo->count());
}

} // namespace

BENCHMARK(BM_SelectVariable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeTextCharacter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeNameCharacter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListBiggestFolder)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
