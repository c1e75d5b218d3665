#pragma once
// Objects for the host model tests: one property of every kind the model
// distinguishes, and frame classes whose class names paths can use.

#include "runtime/host/uHost.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace lx::test {

/// A base class, so that property order across classes can be seen.
class TKindsBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER FCaption)

public:
    using QObject::QObject;
    QString FCaption = QStringLiteral("base");
};

/// Every property kind, with known initial values.
class TAllKinds : public TKindsBase {
    Q_OBJECT
    Q_PROPERTY(QString Text MEMBER FText)
    Q_PROPERTY(QChar Letter MEMBER FLetter)
    Q_PROPERTY(QByteArray Bytes MEMBER FBytes)
    Q_PROPERTY(char Initial MEMBER FInitial)
    Q_PROPERTY(int Count MEMBER FCount)
    Q_PROPERTY(qlonglong Big MEMBER FBig)
    Q_PROPERTY(double Ratio MEMBER FRatio)
    Q_PROPERTY(bool Enabled MEMBER FEnabled)
    Q_PROPERTY(TColour Colour MEMBER FColour)
    Q_PROPERTY(TOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QStringList Lines MEMBER FLines)
    Q_PROPERTY(QObject* Link MEMBER FLink)
    Q_PROPERTY(QString Fixed READ Fixed)

public:
    enum TColour { clRed, clGreen, clBlue };
    Q_ENUM(TColour)
    enum TOption { opBold = 1, opItalic = 2 };
    Q_DECLARE_FLAGS(TOptions, TOption)
    Q_FLAG(TOptions)

    using TKindsBase::TKindsBase;
    QString Fixed() const { return QStringLiteral("fixed"); }
    // moc cannot give flags a MEMBER property.
    TOptions Options() const { return FOptions; }
    void SetOptions(TOptions v) { FOptions = v; }

    QString FText = QStringLiteral("text");
    QChar FLetter = QLatin1Char('L');
    QByteArray FBytes = "bytes";
    char FInitial = 'I';
    int FCount = 1;
    qlonglong FBig = 2;
    double FRatio = 0.5;
    bool FEnabled = true;
    TColour FColour = clRed;
    TOptions FOptions = opItalic;
    QStringList FLines{QStringLiteral("one")};
    QObject* FLink = nullptr;
};

} // namespace lx::test

// Frame classes stay outside namespaces: paths name a frame by its class
// name as the meta-object spells it.

/// A frame made one by the localised form component it holds.
class Frame1 : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

/// A frame class registered as such; paths name it without its "T".
class TFrame1 : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

namespace lx::test {

/// Registers TFrame1 as a frame class (once: the registry belongs to the process).
inline void RegisterTestFrames() {
    static const bool registered = [] {
        host::RegisterFrameClass(&TFrame1::staticMetaObject);
        return true;
    }();
    (void)registered;
}

} // namespace lx::test
