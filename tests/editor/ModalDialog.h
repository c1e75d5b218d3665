#pragma once
// Acting on modal dialogs from a test: each action runs once the dialog of
// its name is the active modal window, inside that dialog's event loop. A
// dialog that never opened fails the test when the script ends.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace lx::test {

class TModalScript {
public:
    TModalScript() = default;
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;
    ~TModalScript() {
        for (const auto& p : FPending)
            if (!*p.Fired) {
                ADD_FAILURE() << "the dialog " << p.Name.toStdString() << " never opened";
                delete p.Timer.data();
            }
    }

    void On(const QString& name, std::function<void(QDialog*)> act) {
        auto* timer = new QTimer;
        timer->setInterval(5);
        auto fired = std::make_shared<bool>(false);
        QObject::connect(timer, &QTimer::timeout, [timer, name, act, fired] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d || d->objectName() != name)
                return;
            *fired = true;
            timer->stop();
            timer->deleteLater();
            act(d);
        });
        timer->start();
        FPending.push_back({name, timer, fired});
    }

private:
    struct TPending {
        QString Name;
        QPointer<QTimer> Timer;
        std::shared_ptr<bool> Fired;
    };
    std::vector<TPending> FPending;
};

} // namespace lx::test
