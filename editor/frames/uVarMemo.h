#pragma once
// The value panel: the text of the current variable in every ticked pack,
// one editor per language stacked from the top. A pack that holds the
// variable shows its text (typing is stored in the pack at once); a pack that
// lacks it shows a collapsed editor whose tick adds it. The panel shows
// nothing for a folder or a path the visible view does not know.

#include "editor/uReviewDialog.h"
#include "editor/uTypes.h"

#include <QScrollArea>

#include <functional>
#include <string>
#include <vector>

namespace lx::editor {

class TfrTextEditor;

class TfrVarMemo : public QScrollArea, public IVarMemo {
    Q_OBJECT
public:
    /// The several-rows choice of the selection dialog: ticks in and out, one
    /// per row; false for Cancel.
    using TSelectSeveral = editor::TSelectSeveral;

    explicit TfrVarMemo(QWidget* parent = nullptr);

    void SetLangPack(ILangPack* packs);
    /// The visible view; no refresh (the view tells the path next).
    void SetBrowser(IBrowserCtrl* browser) { FBrowser = browser; }
    /// The dialog that marks languages for review; the review buttons are
    /// shown only with one.
    void SetSelectSeveral(TSelectSeveral select);

    std::string GetVarPath() override { return FPath; }
    void SetVarPath(const std::string& path) override;
    void UpdateFonts() override;
    void Refresh() override;

    /// The Go menu: the text of pack `index`, or its tick when the pack lacks
    /// the variable (ticking it adds the variable there).
    void FocusPack(int index);
    /// Marks the current variable for review in the languages the user
    /// chooses; the row of pack `index` starts ticked.
    void AskReviewLanguages(int index);
    /// The editor of pack `index`, once it was shown.
    TfrTextEditor* Editor(int index) const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    TfrTextEditor* EnsureEditor(int index);
    void SetView(int index, bool expanded);
    void Arrange();
    void TextTyped(int index, const QString& text);
    void CheckChanged(int index, bool& checked);
    std::string PackName(int index);

    ILangPack* FPacks = nullptr;
    IBrowserCtrl* FBrowser = nullptr;
    std::string FPath;
    TSelectSeveral FSelectSeveral;
    QWidget* FContents;
    std::vector<TfrTextEditor*> FEditors; // by pack index; created on demand
};

/// The text of a pack value as the editor shows it: "&lt;" and "&gt;" as
/// the characters, line breaks as the text field keeps them.
QString DisplayText(const std::u16string& stored);
/// The text as the pack keeps it: line breaks as CR LF.
std::u16string StoredText(const QString& typed);

} // namespace lx::editor
