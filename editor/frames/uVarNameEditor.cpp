#include "uVarNameEditor.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace lx::editor {

TfrVarNameEditor::TfrVarNameEditor(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frVarNameEditor"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    FEdit = new QLineEdit(this);
    FEdit->setObjectName(QStringLiteral("edtVarName"));
    layout->addWidget(FEdit);
    connect(FEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (FBrowser && FBrowser->VarExists(text.toStdString()))
            FBrowser->SelectVar(text.toStdString());
    });
}

void TfrVarNameEditor::SetBrowser(IBrowserCtrl* browser) {
    if (browser == FBrowser)
        return;
    FBrowser = browser;
    if (FBrowser)
        SetVarName(FBrowser->GetSelectedVar());
}

std::string TfrVarNameEditor::GetVarName() {
    return FEdit->text().toStdString();
}

void TfrVarNameEditor::SetVarName(const std::string& name) {
    FEdit->setText(QString::fromStdString(name));
}

} // namespace lx::editor
