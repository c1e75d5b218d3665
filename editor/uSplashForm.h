#pragma once
// The splash window: shows what a long operation is doing, from the first
// moment of start-up on and during every later download or upload.

#include "uProgressViewer.h"

#include <QWidget>

class QLabel;

namespace lx::editor {

class TfSplash : public QWidget, public IProgressViewer {
    Q_OBJECT
public:
    explicit TfSplash(QWidget* parent = nullptr);
    ~TfSplash() override;

    /// Centred over this window whenever shown while it exists.
    void SetMainWindow(QWidget* w) { FMain = w; }
    QString ActionLabel() const;

    void Progress(const void* sender, int mode, int kind, long long position,
                  long long maximum) override;
    void ActionsChanged(const void* sender, const std::vector<std::string>& actions) override;
    void Started(const void* sender) override;
    void Finished(const void* sender) override;

private:
    QLabel* FAction;
    QWidget* FMain = nullptr;
};

} // namespace lx::editor
