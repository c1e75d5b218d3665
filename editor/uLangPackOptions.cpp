#include "uLangPackOptions.h"

#include "platform/Locales.h"
#include "platform/Text.h"
#include "runtime/uLexivane.h"
#include "runtime/uResourceString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace lx::editor {

LX_RESOURCESTRING(sAddPackCaption, "Add new language pack");
LX_RESOURCESTRING(sEditPackCaption, "Edit language pack options");

namespace {

// A locale entry: the display name at the left, the identifier right-aligned
// in the last 40 pixels.
class TLocaleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem name = option;
        initStyleOption(&name, index);
        name.rect.setRight(option.rect.right() - 40);
        QStyledItemDelegate::paint(painter, name, index);
        QRect id = option.rect;
        id.setLeft(option.rect.right() - 40);
        painter->save();
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(id, Qt::AlignRight | Qt::AlignVCenter,
                          index.data(TfLangPackOptions::IdentifierRole).toString());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width() + 40, 16};
    }
};

std::vector<platform::TLocaleInfo> LocalesByName() {
    std::vector<platform::TLocaleInfo> list = platform::AvailableLocales();
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return QString::fromStdString(a.DisplayName)
                   .compare(QString::fromStdString(b.DisplayName), Qt::CaseInsensitive) < 0;
    });
    return list;
}

} // namespace

TfLangPackOptions::TfLangPackOptions(bool addMode, const std::string& name, unsigned lcid,
                                     int encoding, std::vector<std::string> existing,
                                     QWidget* parent)
    : QDialog(parent), FAddMode(addMode), FExisting(std::move(existing)) {
    setObjectName(QStringLiteral("fLangPackOptions"));
    setWindowTitle(addMode ? sAddPackCaption() : sEditPackCaption());
    auto* layout = new QVBoxLayout(this);

    auto* baseGroup = new QGroupBox(QStringLiteral("Base language:"), this);
    baseGroup->setObjectName(QStringLiteral("gbxBaseLanguage"));
    auto* baseLayout = new QVBoxLayout(baseGroup);
    FLanguage = new QComboBox(baseGroup);
    FLanguage->setObjectName(QStringLiteral("cbxLanguage"));
    FLanguage->setItemDelegate(new TLocaleDelegate(FLanguage));
    int selected = -1;
    for (const auto& l : LocalesByName()) {
        FLanguage->addItem(QString::fromStdString(l.DisplayName), l.Lcid);
        FLanguage->setItemData(FLanguage->count() - 1, IdentifierText(l.Lcid), IdentifierRole);
        if (lcid != 0 && l.Lcid == lcid)
            selected = FLanguage->count() - 1;
    }
    FLanguage->setCurrentIndex(selected);
    baseLayout->addWidget(FLanguage);
    layout->addWidget(baseGroup);

    auto* nameGroup = new QGroupBox(QStringLiteral("Pack Name:"), this);
    nameGroup->setObjectName(QStringLiteral("gbxPackName"));
    auto* nameLayout = new QVBoxLayout(nameGroup);
    FName = new QLineEdit(QString::fromStdString(name), nameGroup);
    FName->setObjectName(QStringLiteral("edtPackName"));
    nameLayout->addWidget(FName);
    FExists = new QLabel(QString::fromUtf8("Пакет с таким именем уже существует."), nameGroup);
    FExists->setObjectName(QStringLiteral("lblNameExists"));
    FExists->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    FExists->hide();
    nameLayout->addWidget(FExists);
    FInvalid = new QLabel(
        QString::fromUtf8("Имя пакета не может содержать символы \\ / : * ? \" < > |."), nameGroup);
    FInvalid->setObjectName(QStringLiteral("lblNameInvalid"));
    FInvalid->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    FInvalid->hide();
    nameLayout->addWidget(FInvalid);
    FUseISO3 = new QCheckBox(QString::fromUtf8("Использовать ISO3 базового языка"), nameGroup);
    FUseISO3->setObjectName(QStringLiteral("chkUseISO3"));
    FUseISO3->setChecked(name.empty() ||
                         platform::SameTextAscii(name, platform::AbbreviationOfLCID(lcid)));
    FUseISO3->setEnabled(addMode);
    FName->setEnabled(addMode && !FUseISO3->isChecked());
    nameLayout->addWidget(FUseISO3);
    layout->addWidget(nameGroup);

    auto* encodingGroup = new QGroupBox(QStringLiteral("Encoding:"), this);
    encodingGroup->setObjectName(QStringLiteral("gbxEncoding"));
    auto* encodingLayout = new QVBoxLayout(encodingGroup);
    FEncoding = new QComboBox(encodingGroup);
    FEncoding->setObjectName(QStringLiteral("cbxEncoding"));
    FEncoding->addItems({QStringLiteral("ANSI"), QStringLiteral("UTF8"), QStringLiteral("HTML")});
    FEncoding->setCurrentIndex(encoding >= 0 && encoding <= 2 ? encoding : 0);
    encodingLayout->addWidget(FEncoding);
    layout->addWidget(encodingGroup);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    FOk = new QPushButton(QStringLiteral("Ok"), this);
    FOk->setObjectName(QStringLiteral("btnOk"));
    FOk->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(FOk);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(FLanguage, &QComboBox::currentIndexChanged, this, &TfLangPackOptions::LanguageChanged);
    connect(FName, &QLineEdit::textChanged, this, &TfLangPackOptions::CheckName);
    connect(FUseISO3, &QCheckBox::clicked, this, [this] {
        FName->setEnabled(FAddMode && !FUseISO3->isChecked());
        LanguageChanged();
    });
    CheckName();                  // an empty name cannot be confirmed from the start
    auto* lx = new TLXForm(this); // the dialog's texts in the editor's language
    lx->setObjectName(QStringLiteral("lxForm"));
}

// The name becomes a file name in the cache: nothing that could leave the
// folder or that a Windows share refuses.
bool TfLangPackOptions::ValidPackName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

QString TfLangPackOptions::IdentifierText(unsigned lcid) {
    return QStringLiteral("$%1").arg(lcid, 4, 16, QLatin1Char('0')).toUpper();
}

void TfLangPackOptions::LanguageChanged() {
    // An edited pack keeps its name, so the field keeps showing it.
    if (!FAddMode || !FUseISO3->isChecked())
        return;
    const unsigned lcid = Lcid();
    FName->setText(lcid ? QString::fromStdString(platform::AbbreviationOfLCID(lcid)) : QString());
    CheckName();
}

void TfLangPackOptions::CheckName() {
    const std::string name = PackName();
    const bool taken = FAddMode && !name.empty() &&
                       std::any_of(FExisting.begin(), FExisting.end(), [&](const std::string& e) {
                           return platform::SameTextAscii(e, name);
                       });
    FExists->setVisible(taken);
    const bool valid = ValidPackName(name);
    FInvalid->setVisible(!name.empty() && !valid);
    FOk->setEnabled(!taken && valid);
}

std::string TfLangPackOptions::PackName() const {
    return FName->text().toStdString();
}

unsigned TfLangPackOptions::Lcid() const {
    return FLanguage->currentIndex() < 0 ? 0u : FLanguage->currentData().toUInt();
}

int TfLangPackOptions::Encoding() const {
    return std::max(0, FEncoding->currentIndex());
}

namespace {
bool RunPackOptions(TfLangPackOptions& dialog, std::string& name, unsigned& lcid, int& encoding) {
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = dialog.PackName();
    lcid = dialog.Lcid();
    encoding = dialog.Encoding();
    return true;
}
} // namespace

bool NewPackOptions(const std::vector<std::string>& existing, std::string& name, unsigned& lcid,
                    int& encoding, QWidget* parent) {
    TfLangPackOptions dialog(true, "", 0, 0, existing, parent);
    return RunPackOptions(dialog, name, lcid, encoding);
}

bool EditPackOptions(std::string& name, unsigned& lcid, int& encoding, QWidget* parent) {
    TfLangPackOptions dialog(false, name, lcid, encoding, {}, parent);
    return RunPackOptions(dialog, name, lcid, encoding);
}

} // namespace lx::editor
