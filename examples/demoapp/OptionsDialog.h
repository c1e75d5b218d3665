#pragma once
// The options dialog (form fOptions). It is not modal, so it can stay open
// while the user switches the language; its own form component re-translates it.

#include <QDialog>

#include <memory>

namespace Ui {
class fOptions;
}

class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OptionsDialog(QWidget* parent = nullptr);
    ~OptionsDialog() override;

private:
    std::unique_ptr<Ui::fOptions> ui;
};
