#include "uVarMemo.h"

#include "engine/uEngine.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lx::editor {

TfrVarMemo::TfrVarMemo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frVarMemo"));
    FRows = new QVBoxLayout(this);
    FRows->setContentsMargins(2, 2, 2, 2);
    FRows->addStretch();
}

void TfrVarMemo::SetLangPack(ILangPack* packs) {
    if (packs == FPacks)
        return;
    FPacks = packs;
    Refresh();
}

void TfrVarMemo::SetVarPath(const std::string& path) {
    FPath = path;
    Refresh();
}

void TfrVarMemo::UpdateFonts() {
    if (!FPacks)
        return;
    for (int k = 0; k < FPacks->GetPackCount(); ++k)
        if (auto* edit = findChild<QPlainTextEdit*>(QStringLiteral("memText%1").arg(k))) {
            const TPackFont f = FPacks->GetPackFont(k);
            edit->setFont(QFont(QString::fromStdString(f.Name), f.Size));
        }
}

void TfrVarMemo::Refresh() {
    while (FRows->count() > 1) {
        QLayoutItem* item = FRows->takeAt(0);
        delete item->widget();
        delete item;
    }
    if (!FPacks || FPath.empty())
        return;
    for (int k = 0; k < FPacks->GetPackCount(); ++k) {
        TXMLTreeItem* pack = FPacks->GetPack(k);
        if (!pack || !FPacks->IsPackChecked(k))
            continue;
        const char sep = pack->GetTreeSeparator();
        pack->SetTreeSeparator('_');
        auto* item = static_cast<TXMLTreeItem*>(pack->GetItem_F(FPath));
        pack->SetTreeSeparator(sep);
        auto* frame = new QWidget(this);
        frame->setObjectName(QStringLiteral("frMain%1").arg(k));
        auto* v = new QVBoxLayout(frame);
        v->setContentsMargins(0, 0, 0, 0);
        v->addWidget(
            new QLabel(QString::fromStdString(ExtractFilePackName_(pack->GetFileName())), frame));
        auto* edit = new QPlainTextEdit(frame);
        edit->setObjectName(QStringLiteral("memText%1").arg(k));
        const bool isVariable = item && item->GetCount() == 0;
        edit->setEnabled(isVariable);
        if (isVariable)
            edit->setPlainText(QString::fromStdU16String(item->GetText()));
        // Typing is stored in the pack at once; line breaks as the pack keeps them.
        connect(edit, &QPlainTextEdit::textChanged, this, [edit, item] {
            if (!item)
                return;
            QString text = edit->toPlainText();
            text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
            item->SetText(text.toStdU16String());
        });
        v->addWidget(edit);
        FRows->insertWidget(FRows->count() - 1, frame);
    }
    UpdateFonts();
}

} // namespace lx::editor
