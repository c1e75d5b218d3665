#include "OptionsDialog.h"

#include "ui_fOptions.h"

OptionsDialog::OptionsDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::fOptions>()) {
    ui->setupUi(this);
    setModal(false);
}

OptionsDialog::~OptionsDialog() = default;
