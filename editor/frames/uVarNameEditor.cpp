#include "uVarNameEditor.h"

#include "engine/uEngine.h"
#include "runtime/uResourceString.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lx::editor {

LX_RESOURCESTRING(sNameStatus, "Статус:");
LX_RESOURCESTRING(sNameStatusNew, "Новая переменная");
LX_RESOURCESTRING(sNameStatusEdit, "Редактирование переменной");
LX_RESOURCESTRING(sNameNoteAdd,
                  "Внимание! Для добавления переменной с этим именем нажмите кнопку <Добавить>");
LX_RESOURCESTRING(sNameNoteCannotAdd,
                  "Внимание! В данном режиме эта переменная не может быть добавлена");
LX_RESOURCESTRING(sNameNoteEmptyPart,
                  "Внимание! Имя, в пути которого есть пустая часть, не может быть добавлено");

namespace {

constexpr char kTemplateRoot[] = "LANG_";

// A path with an empty name in it ("_A", "A__B") would give a pack an item
// without a name, which no pack file can hold. (A trailing separator is
// dropped when the path is split, so "A_" simply names A.)
bool HasEmptyPart(const std::string& path) {
    return !path.empty() && (path.front() == '_' || path.find("__") != std::string::npos);
}

bool IsNameChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
           u == u'-' || u == u'_';
}

// Caret and selection of a line edit, kept across changes of the list
// (which rewrite the field's text and move the caret to its end).
class TCaretKeeper {
public:
    explicit TCaretKeeper(QLineEdit* edit) : FEdit(edit) {
        if (!FEdit)
            return;
        FCursor = FEdit->cursorPosition();
        FStart = FEdit->selectionStart();
        FLength = static_cast<int>(FEdit->selectedText().size());
    }
    ~TCaretKeeper() {
        if (!FEdit)
            return;
        if (FLength > 0 && FStart >= 0) {
            if (FCursor == FStart) // the caret at the selection's start
                FEdit->setSelection(FStart + FLength, -FLength);
            else
                FEdit->setSelection(FStart, FLength);
        } else {
            FEdit->setCursorPosition(FCursor);
        }
    }
    TCaretKeeper(const TCaretKeeper&) = delete;
    TCaretKeeper& operator=(const TCaretKeeper&) = delete;

private:
    QLineEdit* FEdit;
    int FCursor = 0;
    int FStart = -1;
    int FLength = 0;
};

} // namespace

std::string FormatVarName(const std::string& name, TNameFormat format) {
    const std::size_t n = sizeof(kTemplateRoot) - 1;
    if (format == TNameFormat::Standard || name.size() <= n || name.compare(0, n, kTemplateRoot))
        return name;
    const std::string rest = name.substr(n);
    return format == TNameFormat::HTML ? "{" + rest + "}" : "$lang->items['" + rest + "']";
}

TfrVarNameEditor::TfrVarNameEditor(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frVarNameEditor"));
    setFixedHeight(68);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    FStatus = new QLabel(sNameStatus(), this);
    FStatus->setObjectName(QStringLiteral("lblStatus"));
    FName = new QComboBox(this);
    FName->setObjectName(QStringLiteral("edtVarName"));
    FName->setEditable(true);
    FName->setInsertPolicy(QComboBox::NoInsert);
    FName->setCompleter(nullptr); // no automatic completion
    FName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    FName->setMaxVisibleItems(20);
    FAdd = new QPushButton(QString::fromUtf8("Добавить"), this);
    FAdd->setObjectName(QStringLiteral("btnAdd"));
    FAdd->hide();
    FNote = new QLabel(this);
    FNote->setObjectName(QStringLiteral("lblNote"));
    QPalette maroon = FNote->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    FNote->setPalette(maroon);
    FNote->hide();
    grid->addWidget(FStatus, 0, 0, 1, 2);
    grid->addWidget(FName, 1, 0);
    grid->addWidget(FAdd, 1, 1);
    grid->addWidget(FNote, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);

    FName->installEventFilter(this);
    FName->lineEdit()->installEventFilter(this);
    // While the list is open it has the keyboard; typing goes on in the field.
    FName->view()->installEventFilter(this);
    connect(FName->lineEdit(), &QLineEdit::textEdited, this, [this] { TextChanged(); });
    connect(FName, &QComboBox::activated, this, [this] { TextChanged(); });
    connect(FAdd, &QPushButton::clicked, this, [this] { AddClick(); });
}

void TfrVarNameEditor::SetBrowser(IBrowserCtrl* browser) {
    if (browser == FBrowser)
        return;
    FBrowser = browser;
    if (!FBrowser)
        return;
    FName->setEditText(QString::fromStdString(FBrowser->GetSelectedVar()));
    FillSuggestions();
    UpdateStatus();
}

std::string TfrVarNameEditor::GetVarName() {
    return FName->currentText().toStdString();
}

void TfrVarNameEditor::SetVarName(const std::string& name) {
    FName->setEditText(QString::fromStdString(name));
    UpdateStatus();
}

bool TfrVarNameEditor::CopyNameToClipboard(TNameFormat format, bool always) {
    if (!always && !FName->hasFocus() && !FName->lineEdit()->hasFocus())
        return false;
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(FormatVarName(GetVarName(), format)));
    return true;
}

void TfrVarNameEditor::FocusName() {
    FName->setFocus();
}

bool TfrVarNameEditor::IsNewName(const std::string& name) {
    return FBrowser && !name.empty() && !FBrowser->VarExists(name);
}

void TfrVarNameEditor::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        if (FBrowser)
            UpdateStatus();
        else
            FStatus->setText(sNameStatus());
    }
    QWidget::changeEvent(event);
}

void TfrVarNameEditor::UpdateStatus() {
    if (!FBrowser)
        return;
    const std::string name = GetVarName();
    const bool isNew = IsNewName(name);
    const bool emptyPart = isNew && HasEmptyPart(name);
    const bool canAdd = isNew && !emptyPart && FBrowser->CanAddVar(name);
    FAdd->setVisible(canAdd);
    FNote->setVisible(isNew);
    FNote->setText(canAdd      ? sNameNoteAdd()
                   : emptyPart ? sNameNoteEmptyPart()
                               : sNameNoteCannotAdd());
    FStatus->setText(sNameStatus() + QStringLiteral(" \"") +
                     (isNew ? sNameStatusNew() : sNameStatusEdit()) + QStringLiteral("\""));
}

void TfrVarNameEditor::TextChanged() {
    if (!FBrowser)
        return;
    UpdateStatus();
    const std::string name = GetVarName();
    const bool isNew = IsNewName(name);
    if (isNew)
        FBrowser->ClearValues();
    if (!FName->view()->isVisible()) {
        // Entry 0 of the list is the text itself, so that choosing it keeps it.
        const TCaretKeeper keep(FName->lineEdit());
        const QString text = FName->currentText();
        if (FName->count() == 0)
            FName->addItem(text);
        else
            FName->setItemText(0, text);
        FName->setCurrentIndex(0);
    }
    if (!isNew) {
        // The view follows without writing the path back into the field.
        FBrowser->BeginUpdate();
        FBrowser->SelectVar(name);
        FBrowser->EndUpdate();
    }
}

void TfrVarNameEditor::AddClick() {
    if (!FBrowser)
        return;
    const std::string name = GetVarName();
    if (!IsNewName(name) || HasEmptyPart(name) || !FBrowser->CanAddVar(name))
        return;
    FBrowser->AddVar(name);
    FBrowser->SelectVar(name);
    TextChanged();
    FName->setFocus();
}

// The children of the folder typed so far: one level at a time.
void TfrVarNameEditor::FillSuggestions() {
    if (!FBrowser)
        return;
    const TCaretKeeper keep(FName->lineEdit());
    const QString text = FName->currentText();
    while (FName->count() > 1)
        FName->removeItem(FName->count() - 1);
    if (FName->count() == 0)
        FName->addItem(text);
    else
        FName->setItemText(0, text); // entry 0 is the text itself
    TTree* tree = FBrowser->GetTree();
    if (!tree)
        return;
    const std::string name = text.toStdString();
    const auto last = name.rfind('_');
    const TTree* folder = last == std::string::npos ? tree : tree->GetItem_F(name.substr(0, last));
    if (!folder)
        return;
    const QString first = FName->itemText(0);
    QStringList children;
    children.reserve(folder->GetCount());
    for (int i = 0; i < folder->GetCount(); ++i) {
        const QString full = QString::fromStdString(folder->GetItem_(i)->GetFullName());
        if (full != first)
            children.append(full);
    }
    FName->addItems(children);
}

void TfrVarNameEditor::OpenSuggestions() {
    const TCaretKeeper keep(FName->lineEdit());
    FName->showPopup();
}

bool TfrVarNameEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FName->view()) {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return QWidget::eventFilter(watched, event);
        auto* k = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyPress && k->key() == Qt::Key_Backspace) {
            FName->lineEdit()->backspace();
            return true;
        }
        const QString text = k->text();
        const bool typed = text.size() == 1 && text[0].isPrint();
        if (!typed && k->key() != Qt::Key_Minus && k->key() != Qt::Key_Underscore)
            return QWidget::eventFilter(watched, event); // the list's own keys
        watched = FName;
    }
    if (watched != FName && watched != FName->lineEdit())
        return QWidget::eventFilter(watched, event);
    const auto mods = [](const QKeyEvent* k) {
        return k->modifiers() &
               (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    };
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Space && mods(k) == Qt::ControlModifier) {
            FillSuggestions();
            OpenSuggestions();
            return true;
        }
        if (k->key() == Qt::Key_Down && mods(k) == Qt::AltModifier) {
            FillSuggestions();
            return false; // the combo box opens its list itself
        }
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !FAdd->isHidden()) {
            AddClick(); // "Добавить" is the frame's default button
            return true;
        }
        const QString text = k->text();
        if (text.size() == 1 && text[0].isPrint()) {
            if (!IsNameChar(text[0]))
                return true; // only the characters of names can be typed
            FName->lineEdit()->insert(text.toUpper());
            return true;
        }
    } else if (event->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(event);
        // The key that carries '-' and '_' lists the folder just typed.
        if ((k->key() == Qt::Key_Minus || k->key() == Qt::Key_Underscore) && !k->isAutoRepeat()) {
            FillSuggestions();
            OpenSuggestions();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lx::editor
