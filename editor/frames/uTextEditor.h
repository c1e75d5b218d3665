#pragma once
// The editor of one language in the value panel: a strip with the pack's
// tick box (the variable exists in that pack) and the review button, over
// the text field. Expanded it shows the text; collapsed only the strip.

#include <QFrame>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace lx::editor {

/// Heights of an editor with its text (expanded) and without (collapsed).
inline constexpr int kEditorExpandedHeight = 150;
inline constexpr int kEditorCollapsedHeight = 25;

class TfrTextEditor : public QWidget {
    Q_OBJECT
public:
    explicit TfrTextEditor(QWidget* parent = nullptr);

    /// Configures the editor for one pack: `Exists` ticks the box (without its
    /// click handling), `Enabled` lets the user change it; a caption in red
    /// and a red frame around the text mark a text that needs review.
    void Setup(int index, bool enabled, const QString& caption, const QFont& font,
               const QString& text, bool needsReview, bool exists);
    int Index() const { return FIndex; }
    /// Expanded: strip and text; collapsed: the strip only.
    void SetExpanded(bool expanded);
    bool IsExpanded() const;
    void SetTextFont(const QFont& font);
    /// The red frame around the text.
    void SetReviewFrame(bool shown);
    /// The review button is offered only where marking can be done.
    void SetMarkShown(bool shown);
    /// Ticks or unticks the box as a user's click does.
    void ClickCheck();
    /// Empties the text field without reporting it as typed.
    void ClearText();
    void FocusText();
    void FocusCheck();
    QCheckBox* Check() const { return FCheck; }
    QPlainTextEdit* Memo() const { return FMemo; }

    /// The text the user typed (every change).
    std::function<void(int index, const QString& text)> OnTextChange;
    /// The user ticked or unticked the box; the handler may set `checked`
    /// back (a refused removal).
    std::function<void(int index, bool& checked, const QString& caption)> OnCheck;
    /// The review button.
    std::function<void(int index)> OnMarkClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckClicked();
    int FIndex = -1;
    QFrame* FCtrlPanel;
    QCheckBox* FCheck;
    QLabel* FMarkLabel;
    QToolButton* FMark;
    QWidget* FMainPanel;
    QFrame* FFrame;
    QPlainTextEdit* FMemo;
    bool FSetting = false; // the text is being set, not typed
};

} // namespace lx::editor
