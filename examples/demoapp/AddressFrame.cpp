#include "AddressFrame.h"

#include "ui_AddressFrame.h"

AddressFrame::AddressFrame(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::AddressFrame>()) {
    ui->setupUi(this);
}

AddressFrame::~AddressFrame() = default;

void AddressFrame::Clear() {
    ui->edtStreet->clear();
    ui->edtPostCode->clear();
    ui->edtCity->clear();
    ui->chkPostal->setChecked(false);
}
