#pragma once
// The about box.

#include <QDialog>

namespace lx::editor {

class TfAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfAbout(QWidget* parent = nullptr);
};

} // namespace lx::editor
