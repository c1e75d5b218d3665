#pragma once
// The name field: the full path of the current variable. Typing the path of
// an existing variable selects it in the visible view. This first version
// does that; the add button, suggestions and clipboard formats come later.

#include "editor/uTypes.h"

#include <QWidget>

class QLineEdit;

namespace lx::editor {

class TfrVarNameEditor : public QWidget, public IVarNameEditor {
    Q_OBJECT
public:
    explicit TfrVarNameEditor(QWidget* parent = nullptr);
    void SetBrowser(IBrowserCtrl* browser);
    std::string GetVarName() override;
    void SetVarName(const std::string& name) override;

private:
    IBrowserCtrl* FBrowser = nullptr;
    QLineEdit* FEdit;
    bool FSetting = false;
};

} // namespace lx::editor
