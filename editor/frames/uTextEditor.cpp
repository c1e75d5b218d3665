#include "uTextEditor.h"

#include "editor/uVars.h"
#include "runtime/uResourceString.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace lx::editor {

LX_RESOURCESTRING(sEditorMarkHint, "Пометить элемент, как требующий последующего перевода...");
LX_RESOURCESTRING(sEditorNeedsEditing,
                  "Необходимо редактирование значение этой переменной в других пакетах");

namespace {

constexpr char kDisableDeletionKey[] = "fMain.miDisableVarTextDeletion.Checked";

// The text area: the red review frame fills it, the text field sits one
// pixel inside it on every side.
class TMainPanel : public QWidget {
public:
    TMainPanel(QWidget* parent, QFrame*& frame, QPlainTextEdit*& memo) : QWidget(parent) {
        setObjectName(QStringLiteral("MainPanel"));
        FFrame = frame = new QFrame(this);
        frame->setObjectName(QStringLiteral("shpMain"));
        frame->setStyleSheet(QStringLiteral("QFrame#shpMain { border: 1px solid red; }"));
        frame->hide();
        FMemo = memo = new QPlainTextEdit(this);
        memo->setObjectName(QStringLiteral("TntMemo"));
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setTabChangesFocus(false); // tab characters are text
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        FFrame->setGeometry(rect());
        FMemo->setGeometry(rect().adjusted(1, 1, -1, -1));
    }

private:
    QFrame* FFrame;
    QPlainTextEdit* FMemo;
};

} // namespace

TfrTextEditor::TfrTextEditor(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    FCtrlPanel = new QFrame(this);
    FCtrlPanel->setObjectName(QStringLiteral("CtrlPanel"));
    FCtrlPanel->setFixedHeight(kEditorCollapsedHeight);
    FCtrlPanel->setStyleSheet(
        QStringLiteral("QFrame#CtrlPanel { background: rgb(244, 243, 233); "
                       "border: 1px solid rgb(226, 220, 198); border-radius: 4px; }"));
    auto* strip = new QHBoxLayout(FCtrlPanel);
    strip->setContentsMargins(4, 0, 4, 0);
    FCheck = new QCheckBox(FCtrlPanel);
    FCheck->setObjectName(QStringLiteral("cbxMain"));
    FCheck->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    FMarkLabel = new QLabel(FCtrlPanel);
    FMarkLabel->setObjectName(QStringLiteral("stxtMain"));
    FMarkLabel->hide();
    FMarkLabel->installEventFilter(this);
    FMark = new QToolButton(FCtrlPanel);
    FMark->setObjectName(QStringLiteral("ToolButton2"));
    FMark->setAutoRaise(true);
    FMark->setText(QStringLiteral("!"));
    strip->addWidget(FCheck);
    strip->addWidget(FMarkLabel);
    strip->addStretch();
    strip->addWidget(FMark);
    column->addWidget(FCtrlPanel);
    FMainPanel = new TMainPanel(this, FFrame, FMemo);
    column->addWidget(FMainPanel, 1);

    connect(FCheck, &QCheckBox::clicked, this, [this] { CheckClicked(); });
    connect(FMark, &QToolButton::clicked, this, [this] {
        if (OnMarkClick)
            OnMarkClick(FIndex);
    });
    connect(FMemo, &QPlainTextEdit::textChanged, this, [this] {
        if (!FSetting && OnTextChange)
            OnTextChange(FIndex, FMemo->toPlainText());
    });
}

void TfrTextEditor::Setup(int index, bool enabled, const QString& caption, const QFont& font,
                          const QString& text, bool needsReview, bool exists) {
    FIndex = index;
    FCheck->setEnabled(enabled);
    FCheck->setChecked(exists); // clicked() is not emitted for this
    FCheck->setText(caption);
    FCheck->setFixedWidth(FCheck->sizeHint().width());
    QPalette captionColours = FCheck->palette();
    captionColours.setColor(QPalette::WindowText, needsReview ? Qt::red : Qt::black);
    captionColours.setColor(QPalette::ButtonText, needsReview ? Qt::red : Qt::black);
    FCheck->setPalette(captionColours);
    FFrame->setVisible(needsReview);
    FMark->setToolTip(sEditorMarkHint());
    FMarkLabel->setText(sEditorNeedsEditing());
    FMemo->setFont(font);
    FSetting = true;
    FMemo->setPlainText(text);
    FSetting = false;
}

void TfrTextEditor::SetExpanded(bool expanded) {
    setFixedHeight(expanded ? kEditorExpandedHeight : kEditorCollapsedHeight);
    FMainPanel->setVisible(expanded);
}

bool TfrTextEditor::IsExpanded() const {
    return !FMainPanel->isHidden();
}

void TfrTextEditor::SetTextFont(const QFont& font) {
    FMemo->setFont(font);
}

void TfrTextEditor::SetReviewFrame(bool shown) {
    FFrame->setVisible(shown);
}

void TfrTextEditor::SetMarkShown(bool shown) {
    FMark->setVisible(shown);
}

void TfrTextEditor::ClickCheck() {
    FCheck->setFocus();
    FCheck->click();
}

void TfrTextEditor::FocusText() {
    FMemo->setFocus();
}

void TfrTextEditor::FocusCheck() {
    FCheck->setFocus();
}

void TfrTextEditor::CheckClicked() {
    bool checked = FCheck->isChecked();
    if (OnCheck)
        OnCheck(FIndex, checked, FCheck->text());
    if (FCheck->isChecked() != checked)
        FCheck->setChecked(checked);
    // Once the variable exists in the pack, the setting may forbid taking it out.
    if (checked && ReadBoolSetting("settings", kDisableDeletionKey, true))
        FCheck->setEnabled(false);
    if (checked)
        FMemo->setFocus();
}

void TfrTextEditor::ClearText() {
    FSetting = true;
    FMemo->clear();
    FSetting = false;
}

bool TfrTextEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FMarkLabel && event->type() == QEvent::MouseButtonRelease && OnMarkClick) {
        OnMarkClick(FIndex);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lx::editor
