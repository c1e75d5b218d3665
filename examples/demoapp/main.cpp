// lxdemo: a customer-records window that changes its language while it runs.
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glotrix-demo"));
    MainWindow window;
    window.show();
    return QApplication::exec();
}
