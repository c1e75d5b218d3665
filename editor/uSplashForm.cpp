#include "uSplashForm.h"

#include "runtime/uResourceString.h"
#include "uVars.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace lx::editor {

LX_RESOURCESTRING(sAction, "Действие:");
LX_RESOURCESTRING(sBytes, "bytes");

TfSplash::TfSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fSplash"));
    setFixedSize(454, 276);
    InitEditorResources();
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgSplash"));
    picture->setPixmap(QPixmap(QStringLiteral(":/editor/splash.jpg")));
    picture->setGeometry(0, 0, 454, 276);
    FAction = new QLabel(sAction(), this);
    FAction->setObjectName(QStringLiteral("lblAction"));
    FAction->setGeometry(12, 246, 430, 22);
    FAction->setStyleSheet(QStringLiteral("color: white;"));
    ProgressManager().RegisterViewer(this, this);
}

TfSplash::~TfSplash() {
    ProgressManager().RegisterViewer(this, nullptr);
}

QString TfSplash::ActionLabel() const {
    return FAction->text();
}

void TfSplash::Progress(const void*, int, int, long long position, long long maximum) {
    FAction->setText(QString::fromStdString(
        ActionText(ProgressManager().Actions(), position, maximum, sBytes().toStdString())));
    FAction->repaint();
}

void TfSplash::ActionsChanged(const void*, const std::vector<std::string>& actions) {
    FAction->setText(QString::fromStdString(ActionText(actions, 0, 0)));
    FAction->repaint();
}

void TfSplash::Started(const void*) {
    if (!StartUp().SplashEnabled || isVisible())
        return;
    const QRect area = FMain && FMain->isVisible() ? FMain->geometry()
                       : screen()                  ? screen()->geometry()
                                                   : QRect(0, 0, 454, 276);
    move(area.center() - rect().center());
    show();
    repaint();
}

void TfSplash::Finished(const void*) {
    if (isVisible())
        close();
}

} // namespace lx::editor
