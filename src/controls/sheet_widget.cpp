#include "controls/sheet_widget.h"

#include "base/ports.h"
#include "base/vb_units.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Draws cell borders over the normal cell painting.
class BorderDelegate : public QStyledItemDelegate {
public:
    BorderDelegate(SheetModel* model, QObject* parent) : QStyledItemDelegate(parent), m_model(model) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, option, index);
        auto b = m_model->border(index.row() + 1, index.column() + 1);
        if (!b) return;
        p->save();
        const int w = b->lineStyle >= 2 ? 2 : 1;
        QPen pen(b->color, w);
        pen.setJoinStyle(Qt::MiterJoin);
        p->setPen(pen);
        p->setBrush(Qt::NoBrush);
        QRect r = option.rect.adjusted(w / 2, w / 2, -((w + 1) / 2), -((w + 1) / 2));
        p->drawRect(r);
        p->restore();
    }

private:
    SheetModel* m_model;
};

SheetRange fromSelectionRange(const QItemSelectionRange& r) {
    return {r.top() + 1, r.left() + 1, r.bottom() + 1, r.right() + 1};
}

// Merges rectangles into as few as possible: two that together form a rectangle
// become one.
QList<SheetRange> mergeAreas(QList<SheetRange> areas) {
    bool merged = true;
    while (merged && areas.size() > 1) {
        merged = false;
        for (qsizetype i = 0; i < areas.size() && !merged; ++i) {
            for (qsizetype j = 0; j < areas.size() && !merged; ++j) {
                if (i == j) continue;
                SheetRange& a = areas[i];
                const SheetRange& b = areas[j];
                if (a.contains(b)) {
                    areas.removeAt(j);
                    merged = true;
                } else if (a.col1 == b.col1 && a.col2 == b.col2 && b.row1 <= a.row2 + 1 &&
                           b.row2 >= a.row1 - 1) {
                    a.row1 = std::min(a.row1, b.row1);
                    a.row2 = std::max(a.row2, b.row2);
                    areas.removeAt(j);
                    merged = true;
                } else if (a.row1 == b.row1 && a.row2 == b.row2 && b.col1 <= a.col2 + 1 &&
                           b.col2 >= a.col1 - 1) {
                    a.col1 = std::min(a.col1, b.col1);
                    a.col2 = std::max(a.col2, b.col2);
                    areas.removeAt(j);
                    merged = true;
                }
            }
        }
    }
    return areas;
}

}  // namespace

SheetWidget::SheetWidget(QWidget* parent)
    : QWidget(parent), m_model(new SheetModel(this)), m_view(new QTableView(this)) {
    m_view->setObjectName(QStringLiteral("SheetView"));
    m_view->setModel(m_model);
    m_view->setItemDelegate(new BorderDelegate(m_model, m_view));
    m_view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(20);
    m_view->horizontalHeader()->setDefaultSectionSize(72);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_view->installEventFilter(this);

    m_tabs = new QTabBar(this);
    m_tabs->addTab(sheetName());
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setDrawBase(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_tabs, 0, Qt::AlignLeft);

    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex&) { emit cellEvent(); });
    connect(m_model, &SheetModel::userEdited, this, [this](int row, int col) {
        m_lastEdited = SheetCell{row, col};
        if (currentCell() == m_lastEdited) emit cellEvent();
    });
    // Enter after typing goes on to the cell below, unless the edit itself moved on.
    connect(m_view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint != QAbstractItemDelegate::SubmitModelCache || !(currentCell() == m_lastEdited))
                    return;
                if (m_lastEdited.row < sheet::kRows)
                    select(SheetRange::cell(m_lastEdited.row + 1, m_lastEdited.col));
            });

    select(SheetRange::cell(1, 1));
}

SheetRange SheetWidget::selection() const {
    const SheetCell cur = currentCell();
    const QList<SheetRange> areas = selectionAreas();
    for (const SheetRange& a : areas)
        if (a.contains(cur.row, cur.col)) return a;
    if (!areas.isEmpty()) return areas.back();
    return SheetRange::cell(cur.row, cur.col);
}

QList<SheetRange> SheetWidget::selectionAreas() const {
    QList<SheetRange> areas;
    for (const QItemSelectionRange& r : m_view->selectionModel()->selection())
        areas.append(fromSelectionRange(r));
    return mergeAreas(areas);
}

void SheetWidget::select(const SheetRange& range) {
    if (!range.isValid()) return;
    auto* sm = m_view->selectionModel();
    const QModelIndex first = m_model->index(range.row1 - 1, range.col1 - 1);
    sm->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    sm->select(QItemSelection(first, m_model->index(range.row2 - 1, range.col2 - 1)),
               QItemSelectionModel::ClearAndSelect);
    if (screenUpdating()) m_view->scrollTo(first);
}

void SheetWidget::selectAll() {
    auto* sm = m_view->selectionModel();
    const QModelIndex cur = sm->currentIndex().isValid() ? sm->currentIndex() : m_model->index(0, 0);
    sm->select(QItemSelection(m_model->index(0, 0), m_model->index(sheet::kRows - 1, sheet::kCols - 1)),
               QItemSelectionModel::ClearAndSelect);
    sm->setCurrentIndex(cur, QItemSelectionModel::NoUpdate);
}

SheetCell SheetWidget::currentCell() const {
    const QModelIndex i = m_view->selectionModel()->currentIndex();
    if (!i.isValid()) return {1, 1};
    return {i.row() + 1, i.column() + 1};
}

void SheetWidget::setBorders(const SheetRange& range, int lineStyle, std::uint32_t bgr) {
    m_model->setBorders(range, lineStyle, vbColor(bgr));
}

void SheetWidget::setBorders(const SheetRange& range, int lineStyle, const QString& colorName) {
    m_model->setBorders(range, lineStyle, QColor::fromString(colorName));
}

void SheetWidget::setFontName(const QString& family) {
    m_model->setFontName(family);
    QFont f = m_model->font();
    m_view->setFont(f);
    m_view->verticalHeader()->setDefaultSectionSize(std::max(18, QFontMetrics(f).height() + 4));
}

void SheetWidget::setScreenUpdating(bool on) {
    m_view->setUpdatesEnabled(on);
    m_model->setScreenUpdating(on);
}

bool SheetWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            copySelection();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            pasteAtCurrent();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            for (const SheetRange& r : selectionAreas()) m_model->clearValues(r);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SheetWidget::copySelection() {
    if (!m_clipboard) return;
    const SheetRange r = selection();
    QString out;
    for (int row = r.row1; row <= r.row2; ++row) {
        for (int col = r.col1; col <= r.col2; ++col) {
            if (col > r.col1) out += QLatin1Char('\t');
            out += m_model->text(row, col);
        }
        out += QLatin1String("\r\n");
    }
    m_clipboard->setText(out);
}

void SheetWidget::pasteAtCurrent() {
    if (!m_clipboard) return;
    QString t = m_clipboard->text();
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    if (t.isEmpty()) return;
    const SheetCell start = currentCell();
    const QStringList lines = t.split(QLatin1Char('\n'));
    int lastCol = start.col;
    setScreenUpdating(false);
    for (int i = 0; i < lines.size() && start.row + i <= sheet::kRows; ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        for (int j = 0; j < fields.size() && start.col + j <= sheet::kCols; ++j) {
            m_model->setValue(start.row + i, start.col + j, SheetModel::parseInput(fields[j]));
            lastCol = std::max(lastCol, start.col + j);
        }
    }
    setScreenUpdating(true);
    select({start.row, start.col, std::min<int>(sheet::kRows, start.row + static_cast<int>(lines.size()) - 1),
            lastCol});
}
