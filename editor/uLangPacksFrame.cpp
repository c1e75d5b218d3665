#include "uLangPacksFrame.h"

#include "platform/Locales.h"
#include "runtime/uResourceString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace lx::editor {

LX_RESOURCESTRING(sPackListCaption, "Список языков:");

void TfrLangPacks::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        FCaption->setText(sPackListCaption());
    QWidget::changeEvent(event);
}

TfrLangPacks::TfrLangPacks(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frLangPacks"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    FCaption = new QLabel(sPackListCaption(), this);
    FCaption->setObjectName(QStringLiteral("lblCaption"));
    layout->addWidget(FCaption);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    FList = new QWidget(scroll);
    FList->setObjectName(QStringLiteral("clbPacks"));
    FRows = new QVBoxLayout(FList);
    FRows->setContentsMargins(0, 0, 0, 0);
    FRows->setSpacing(0);
    FRows->addStretch();
    scroll->setWidget(FList);
    layout->addWidget(scroll);
    FSet.SetDefaultFont(
        {1, font().pointSize() > 0 ? font().pointSize() : 10, font().family().toStdString()});
    FSet.SetOnPacksChanged([this](ILangPack*) { Rebuild(); });
}

void TfrLangPacks::SetGoMenu(QMenu* menu, std::function<void(int)> onGo) {
    FGoMenu = menu;
    FOnGo = std::move(onGo);
    BuildGoMenu();
}

void TfrLangPacks::Rebuild() {
    while (FRows->count() > 1) {
        QLayoutItem* item = FRows->takeAt(0);
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < FSet.GetPackCount(); ++i) {
        TXMLTreeItem* pack = FSet.GetPack(i);
        auto* row = new QWidget(FList);
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(2, 0, 2, 0);
        QString caption = QString::fromStdString(ExtractFilePackName_(pack->GetFileName()));
        if (const unsigned lcid = pack->GetLCID())
            caption += QStringLiteral(" - ") +
                       QString::fromStdString(platform::EnglishDisplayNameOfLCID(lcid));
        auto* tick = new QCheckBox(caption, row);
        tick->setObjectName(QStringLiteral("chkPack%1").arg(i));
        tick->setChecked(FSet.IsPackChecked(i));
        auto* fontButton = new QToolButton(row);
        fontButton->setObjectName(QStringLiteral("bbtnFont%1").arg(i));
        fontButton->setText(QStringLiteral("F"));
        fontButton->setFixedSize(20, 20);
        auto* charset = new QComboBox(row);
        charset->setObjectName(QStringLiteral("cbxCharset%1").arg(i));
        charset->addItems(
            {QStringLiteral("ANSI"), QStringLiteral("UTF-8"), QStringLiteral("HTML")});
        charset->setCurrentIndex(static_cast<int>(pack->GetEncoding()));
        charset->setFixedWidth(65);
        fontButton->setEnabled(tick->isChecked());
        charset->setEnabled(tick->isChecked());
        h->addWidget(tick, 1);
        h->addWidget(fontButton);
        h->addWidget(charset);
        FRows->insertWidget(FRows->count() - 1, row);

        connect(tick, &QCheckBox::toggled, this, [this, i, fontButton, charset](bool on) {
            FSet.SetPackChecked(i, on);
            fontButton->setEnabled(on);
            charset->setEnabled(on);
            BuildGoMenu();
            emit PacksChanged();
        });
        connect(charset, &QComboBox::activated, this, [this, i](int index) {
            if (TXMLTreeItem* p = FSet.GetPack(i))
                p->SetEncoding(static_cast<TPackEncoding>(index));
        });
        connect(fontButton, &QToolButton::clicked, this, [this, i] {
            const TPackFont f = FSet.GetPackFont(i);
            bool ok = false;
            const QFont chosen =
                QFontDialog::getFont(&ok, QFont(QString::fromStdString(f.Name), f.Size), this);
            if (ok)
                FSet.SavePackFont({f.Charset, chosen.pointSize(), chosen.family().toStdString()});
        });
    }
    BuildGoMenu();
    emit PacksChanged();
}

void TfrLangPacks::BuildGoMenu() {
    if (!FGoMenu)
        return;
    FGoMenu->clear();
    int number = 0;
    for (int i = 0; i < FSet.GetPackCount(); ++i) {
        if (!FSet.IsPackChecked(i))
            continue;
        ++number;
        auto* item = FGoMenu->addAction(
            QString::fromStdString(ExtractFilePackName_(FSet.GetPack(i)->GetFileName())));
        item->setObjectName(QStringLiteral("mi%1").arg(number));
        item->setData(i);
        if (number <= 9)
            item->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + number)));
        connect(item, &QAction::triggered, this, [this, i] {
            if (FOnGo)
                FOnGo(i);
        });
    }
}

} // namespace lx::editor
