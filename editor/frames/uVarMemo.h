#pragma once
// The value panel: the text of the current variable in every ticked pack,
// side by side. This first version edits the texts of packs that have the
// variable (stored at once); adding it to a pack, review marks and the
// collapsed editors come with the panel's own work.

#include "editor/uTypes.h"

#include <QWidget>

#include <string>

class QVBoxLayout;

namespace lx::editor {

class TfrVarMemo : public QWidget, public IVarMemo {
    Q_OBJECT
public:
    explicit TfrVarMemo(QWidget* parent = nullptr);
    void SetLangPack(ILangPack* packs);
    void SetBrowser(IBrowserCtrl* browser) { FBrowser = browser; }
    std::string GetVarPath() override { return FPath; }
    void SetVarPath(const std::string& path) override;
    void UpdateFonts() override;
    void Refresh() override;

private:
    ILangPack* FPacks = nullptr;
    IBrowserCtrl* FBrowser = nullptr;
    std::string FPath;
    QVBoxLayout* FRows;
};

} // namespace lx::editor
