#include "uGetSelection.h"

#include "runtime/uLexivane.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace lx::editor {

namespace {

constexpr int kClientWidth = 369;
constexpr int kClientHeight = 260;
constexpr int kPromptLine = 14;
constexpr int kListRow = 13;
constexpr int kDropDownRow = 16;

// Draws a row's columns (cut at the character with code 1) under the
// header's sections, each clipped to its section; without sections the
// whole text from the row's left edge.
void DrawColumns(QPainter* p, const QRect& row, const QString& text, const QHeaderView* header,
                 int indent, const QColor& color) {
    p->save();
    p->setPen(color);
    const QStringList columns = text.split(QChar(1));
    const int sections = header && !header->isHidden() ? header->count() : 0;
    if (sections == 0) {
        p->drawText(row.adjusted(indent, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    } else {
        for (int k = 0; k < sections && k < columns.size(); ++k) {
            const int left = header->sectionViewportPosition(k);
            const int right = left + header->sectionSize(k);
            QRect cell(std::max(left, row.left()) + indent, row.top(),
                       right - std::max(left, row.left()) - indent, row.height());
            p->setClipRect(cell.intersected(row));
            p->drawText(cell, Qt::AlignVCenter | Qt::AlignLeft, columns[k]);
        }
    }
    p->restore();
}

class TColumnsDelegate : public QStyledItemDelegate {
public:
    TColumnsDelegate(const QHeaderView* header, int rowHeight, int indent, QObject* parent)
        : QStyledItemDelegate(parent), FHeader(header), FRowHeight(rowHeight), FIndent(indent) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear(); // background, check box and focus only
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        opt.text = text;
        QRect row = opt.rect;
        if (opt.features & QStyleOptionViewItem::HasCheckIndicator)
            row.setLeft(style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w).left());
        const QColor color = opt.state & QStyle::State_Selected
                                 ? opt.palette.color(QPalette::HighlightedText)
                                 : opt.palette.color(QPalette::Text);
        DrawColumns(p, row, text, FHeader, FIndent, color);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        // The row height of the original (13, 16) where the font allows it.
        const QSize s = QStyledItemDelegate::sizeHint(option, index);
        return {s.width(), std::max(FRowHeight, option.fontMetrics.height() + 2)};
    }

private:
    const QHeaderView* FHeader;
    int FRowHeight;
    int FIndent;
};

// The drop-down shows its chosen row in columns as well.
class TColumnsCombo : public QComboBox {
public:
    TColumnsCombo(const QHeaderView* header, QWidget* parent)
        : QComboBox(parent), FHeader(header) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        const QString text = opt.currentText;
        opt.currentText.clear();
        p.drawComplexControl(QStyle::CC_ComboBox, opt);
        p.drawControl(QStyle::CE_ComboBoxLabel, opt);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        DrawColumns(&p, field, text, FHeader, 4, palette().color(QPalette::Text));
    }

private:
    const QHeaderView* FHeader;
};

} // namespace

TfGetSelection::TfGetSelection(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fGetSelection"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    FPrompt = new QPlainTextEdit(this);
    FPrompt->setObjectName(QStringLiteral("memPromt"));
    FPrompt->setReadOnly(true);
    FPrompt->setFrameShape(QFrame::NoFrame);
    FPrompt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FPrompt->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FPrompt->setBackgroundRole(QPalette::Window);
    FPrompt->viewport()->setAutoFillBackground(false);
    FPrompt->document()->setDocumentMargin(0);
    layout->addWidget(FPrompt);

    FMain = new QFrame(this);
    FMain->setObjectName(QStringLiteral("pnlMain"));
    static_cast<QFrame*>(FMain)->setFrameShape(QFrame::StyledPanel);
    auto* mainLayout = new QVBoxLayout(FMain);
    mainLayout->setContentsMargins(1, 1, 1, 1);
    mainLayout->setSpacing(0);
    FHeaderModel = new QStandardItemModel(this);
    FHeader = new QHeaderView(Qt::Horizontal, FMain);
    FHeader->setObjectName(QStringLiteral("HeaderControl"));
    FHeader->setModel(FHeaderModel);
    FHeader->setSectionsClickable(false);
    FHeader->setStretchLastSection(false);
    FHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FHeader->hide();
    mainLayout->addWidget(FHeader);
    FList = new QListWidget(FMain);
    FList->setObjectName(QStringLiteral("ListBox"));
    FList->setItemDelegate(new TColumnsDelegate(FHeader, kListRow, 2, FList));
    FList->setUniformItemSizes(true);
    FList->hide();
    mainLayout->addWidget(FList);
    FCheckList = new QListWidget(FMain);
    FCheckList->setObjectName(QStringLiteral("CheckBox"));
    FCheckList->setItemDelegate(new TColumnsDelegate(FHeader, kListRow, 2, FCheckList));
    FCheckList->setUniformItemSizes(true);
    FCheckList->hide();
    mainLayout->addWidget(FCheckList);

    auto* select = new TColumnsCombo(FHeader, this);
    FSelect = select;
    FSelect->setObjectName(QStringLiteral("cbxSelect"));
    FSelect->setItemDelegate(new TColumnsDelegate(FHeader, kDropDownRow, 4, FSelect));
    FSelect->hide();
    layout->addWidget(FSelect);
    layout->addWidget(FMain, 1);
    // The drop-down sits above the list, over the top of the panel.
    layout->removeWidget(FSelect);
    layout->insertWidget(1, FSelect);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    FOk = new QPushButton(QString::fromUtf8("Ок"), this);
    FOk->setObjectName(QStringLiteral("btnOk"));
    FOk->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    buttons->addWidget(FOk);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(FSelect, &QComboBox::currentIndexChanged, this, [this] { UpdateOk(); });
    connect(FList, &QListWidget::itemSelectionChanged, this, [this] { UpdateOk(); });
    connect(FCheckList, &QListWidget::itemChanged, this, [this] { UpdateOk(); });
    connect(FCheckList, &QListWidget::itemSelectionChanged, this, [this] { UpdateOk(); });
    connect(FHeader, &QHeaderView::sectionResized, this, [this] {
        FList->viewport()->update();
        FCheckList->viewport()->update();
        FSelect->update();
    });
    auto* lx = new TLXForm(this); // the dialog's texts in the editor's language
    lx->setObjectName(QStringLiteral("lxForm"));
    setFixedSize(kClientWidth, kClientHeight);
}

void TfGetSelection::Fill(const QString& caption, const QString& prompt,
                          const std::vector<std::string>& rows,
                          const std::vector<std::string>& headers, int mode, bool model,
                          int selected, const std::vector<bool>* ticks) {
    FMode = mode;
    setWindowTitle(caption);
    FPrompt->setPlainText(prompt);
    // 14 pixels a line where the font fits in it; the dialog grows with the
    // prompt. A long line wraps at the dialog's width, so the lines counted
    // are the lines shown, or the end of the prompt would be cut off.
    const QFontMetrics metrics = FPrompt->fontMetrics();
    const int line = std::max(kPromptLine, metrics.lineSpacing());
    // A little narrower than the field, so that a word that only just fits
    // by this count cannot wrap in the field itself.
    const int wrapWidth = kClientWidth - 2 * 8 - 2 * metrics.averageCharWidth();
    int lines = 0;
    for (const QString& paragraph : prompt.split(QChar(u'\n'))) {
        const QRect r = metrics.boundingRect(QRect(0, 0, wrapWidth, 100000), Qt::TextWordWrap,
                                             paragraph.isEmpty() ? QStringLiteral(" ") : paragraph);
        lines += std::max(1, (r.height() + metrics.lineSpacing() - 1) / metrics.lineSpacing());
    }
    lines = std::max(1, lines);
    FPrompt->setFixedHeight(lines * line);
    setFixedSize(kClientWidth, kClientHeight + lines * line - line);

    FHeaderModel->clear();
    if (!headers.empty()) {
        QStringList titles;
        for (const auto& h : headers)
            titles << QString::fromStdString(h);
        FHeaderModel->setColumnCount(static_cast<int>(titles.size()));
        FHeaderModel->setHorizontalHeaderLabels(titles);
        const int n = static_cast<int>(titles.size());
        const int width = kClientWidth - 2 * 8 - 2;
        for (int k = 0; k + 1 < n; ++k)
            FHeader->resizeSection(k, width / n);
        FHeader->resizeSection(n - 1, 10000);
        FHeader->show();
    } else {
        FHeader->hide();
    }

    FSelect->setVisible(model);
    FSelect->clear();
    if (model) {
        for (const auto& r : rows)
            FSelect->addItem(QString::fromStdString(r));
        FSelect->setCurrentIndex(-1);
    }
    QListWidget* list = ticks ? FCheckList : FList;
    list->clear();
    list->blockSignals(true);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(rows[i]), list);
        if (ticks) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(i < ticks->size() && (*ticks)[i] ? Qt::Checked : Qt::Unchecked);
        }
    }
    if (!ticks && selected >= 0 && selected < list->count())
        list->setCurrentRow(selected);
    list->blockSignals(false);
    FList->setVisible(!ticks);
    FCheckList->setVisible(ticks != nullptr);
    UpdateOk();
}

int TfGetSelection::SelectedRow() const {
    const QList<QListWidgetItem*> s = FList->selectedItems();
    return s.isEmpty() ? -1 : FList->row(s.first());
}

int TfGetSelection::ModelRow() const {
    return FSelect->currentIndex();
}

std::vector<bool> TfGetSelection::Ticks() const {
    std::vector<bool> t(static_cast<std::size_t>(FCheckList->count()));
    for (int i = 0; i < FCheckList->count(); ++i)
        t[static_cast<std::size_t>(i)] = FCheckList->item(i)->checkState() == Qt::Checked;
    return t;
}

void TfGetSelection::UpdateOk() {
    const bool dropDown = !FSelect->isHidden();
    bool ok = true;
    if (FMode & kNeedChoice)
        ok = dropDown ? FSelect->currentIndex() >= 0 : SelectedRow() >= 0;
    if (ok && (FMode & kNeedTick)) {
        const int model = dropDown ? FSelect->currentIndex() : -1;
        const std::vector<bool> t = Ticks();
        bool any = false;
        for (std::size_t i = 0; i < t.size(); ++i)
            any = any || (t[i] && static_cast<int>(i) != model);
        ok = any;
    }
    FOk->setEnabled(ok);
}

namespace {

QWidget* DialogParent() {
    return QApplication::activeWindow();
}

} // namespace

bool SelectOne(const QString& caption, const QString& prompt, const std::vector<std::string>& rows,
               int& index, const std::vector<std::string>& headers) {
    TfGetSelection d(DialogParent());
    d.Fill(caption, prompt, rows, headers, TfGetSelection::kNeedChoice, false, index, nullptr);
    if (d.exec() != QDialog::Accepted)
        return false;
    index = d.SelectedRow();
    return true;
}

bool SelectSeveral(const QString& caption, const QString& prompt,
                   const std::vector<std::string>& rows, std::vector<bool>& ticks,
                   const std::vector<std::string>& headers) {
    TfGetSelection d(DialogParent());
    d.Fill(caption, prompt, rows, headers, TfGetSelection::kNeedTick, false, -1, &ticks);
    if (d.exec() != QDialog::Accepted)
        return false;
    ticks = d.Ticks();
    return true;
}

bool SelectModelAndTargets(const QString& caption, const QString& prompt,
                           const std::vector<std::string>& rows, int& model,
                           std::vector<bool>& ticks, const std::vector<std::string>& headers) {
    TfGetSelection d(DialogParent());
    d.Fill(caption, prompt, rows, headers, TfGetSelection::kNeedChoice | TfGetSelection::kNeedTick,
           true, -1, &ticks);
    if (d.exec() != QDialog::Accepted)
        return false;
    model = d.ModelRow();
    ticks = d.Ticks();
    return true;
}

} // namespace lx::editor
