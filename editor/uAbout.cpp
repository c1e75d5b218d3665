#include "uAbout.h"

#include "runtime/uLexivane.h"
#include "uVars.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace lx::editor {

TfAbout::TfAbout(QWidget* parent) : QDialog(parent) {
    InitEditorResources();
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("Glotrix"));
    setStyleSheet(QStringLiteral("QDialog { background: white; }"));
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgAbout"));
    picture->setPixmap(QPixmap(QStringLiteral(":/editor/splash.jpg")));
    layout->addWidget(picture);
    auto* product = new QLabel(QStringLiteral("Glotrix"), this);
    product->setObjectName(QStringLiteral("lblProduct"));
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    product->setFont(big);
    layout->addWidget(product);
    auto* version = new QLabel(QStringLiteral("Version 1.3 (Build 2480)"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    layout->addWidget(version);
    auto* close = new QPushButton(QString::fromUtf8("Закрыть"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    auto* lx = new TLXForm(this);
    lx->setObjectName(QStringLiteral("lxForm"));
}

} // namespace lx::editor
