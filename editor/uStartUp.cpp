#include "uStartUp.h"

#include "runtime/uLexivane.h"
#include "uMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lx::editor {

TfStartUp::TfStartUp(const std::string& defaultFolder, const std::vector<std::string>& recent,
                     QWidget* parent)
    : QDialog(parent), FDefault(defaultFolder) {
    setObjectName(QStringLiteral("fStartUp"));
    setWindowTitle(QStringLiteral("Welcome to GlotrixEd Editor"));
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QString::fromUtf8("Диалог выбора проекта по умолчанию"), this);
    header->setObjectName(QStringLiteral("lblHeader"));
    layout->addWidget(header);
    auto* prompt = new QLabel(QString::fromUtf8("Выберите один из предложеных вариантов:"), this);
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    layout->addWidget(prompt);
    auto* note = new QPlainTextEdit(this);
    note->setObjectName(QStringLiteral("memNote"));
    note->setReadOnly(true);
    note->setPlainText(
        QString::fromUtf8("     Языковой пакет, который должен быть загружен по умолчанию \n"
                          "находится в удаленной зоне интернета и его загрузка может занять \n"
                          "продолжительное время время."));
    layout->addWidget(note);
    FUseDefault = new QRadioButton(QString::fromUtf8("Загрузить проект по умолчанию"), this);
    FUseDefault->setObjectName(QStringLiteral("rbtnDefault"));
    FUseDefault->setChecked(true);
    layout->addWidget(FUseDefault);
    auto* shown = new QLineEdit(QString::fromStdString(TfMain::DisplayFolder(defaultFolder)), this);
    shown->setObjectName(QStringLiteral("edtDefault"));
    shown->setReadOnly(true);
    layout->addWidget(shown);
    FUseOther = new QRadioButton(QString::fromUtf8("Загрузить другой проект"), this);
    FUseOther->setObjectName(QStringLiteral("rbtnOther"));
    layout->addWidget(FUseOther);
    FOther = new QComboBox(this);
    FOther->setObjectName(QStringLiteral("cbxOther"));
    FOther->setEditable(true);
    // An FTP address is listed without its password; the item keeps the address.
    for (const auto& r : recent)
        FOther->addItem(QString::fromStdString(TfMain::DisplayFolder(r)),
                        QString::fromStdString(r));
    layout->addWidget(FOther);
    FEmpty = new QRadioButton(QString::fromUtf8("Начать с пустого проекта"), this);
    FEmpty->setObjectName(QStringLiteral("rbtnEmpty"));
    layout->addWidget(FEmpty);
    auto* start = new QPushButton(QStringLiteral("Start"), this);
    start->setObjectName(QStringLiteral("btnStart"));
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(start);
    auto* lx = new TLXForm(this); // the dialog's texts in the editor's language
    lx->setObjectName(QStringLiteral("lxForm"));
}

std::string TfStartUp::Choice() const {
    if (FEmpty->isChecked())
        return {};
    if (FUseOther->isChecked()) {
        const int i = FOther->currentIndex();
        if (i >= 0 && FOther->itemText(i) == FOther->currentText())
            return FOther->itemData(i).toString().toStdString();
        return FOther->currentText().toStdString(); // typed by the user
    }
    return FDefault;
}

std::string ChooseStartProject(const std::string& defaultFolder,
                               const std::vector<std::string>& recent, QWidget* parent) {
    TfStartUp dialog(defaultFolder, recent, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Choice() : std::string();
}

} // namespace lx::editor
