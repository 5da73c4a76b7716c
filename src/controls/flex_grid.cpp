#include "controls/flex_grid.h"

#include "base/vb_units.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>

namespace {

void setupPlainTable(QTableView* v) {
    v->setTextElideMode(Qt::ElideNone);
    v->setAutoScroll(false);  // the program sets the current cell; only the keyboard scrolls to it
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->setSelectionMode(QAbstractItemView::NoSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setWordWrap(false);
    v->setCornerButtonEnabled(false);
}

}  // namespace

FlexGrid::FlexGrid(QWidget* parent)
    : QTableView(parent), m_model(new FlexGridModel(this)), m_frozen(new QTableView(this)) {
    setModel(m_model);
    setupPlainTable(this);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setMinimumSectionSize(0);

    setupPlainTable(m_frozen);
    m_frozen->setModel(m_model);
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->horizontalHeader()->setMinimumSectionSize(0);
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->viewport()->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_frozen->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) { m_frozen->setColumnWidth(section, size); });

    connect(m_model, &FlexGridModel::shapeChanged, this, [this] {
        clampCurrent();
        updateSpans();
        updateFrozen();
        applySelection();
    });
    connect(m_model, &FlexGridModel::textChanged, this, [this](int row, int) {
        if (row < 0 || m_mergeRows.count(row)) updateSpans();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        for (std::size_t c = 0; c < m_widths.size(); ++c)
            if (m_widths[c] >= 0) setColWidth(static_cast<int>(c), m_widths[c]);
        updateSpans();
        updateFrozen();
        applySelection();
    });
    updateFrozen();
    applySelection();
}

void FlexGrid::setRows(int n) { m_model->setRows(n); }

void FlexGrid::setCols(int n) {
    m_model->setCols(n);
    m_widths.resize(std::max(0, n), -1);
    for (int c = 0; c < n; ++c)
        if (m_widths[c] >= 0) setColWidth(c, m_widths[c]);
}

void FlexGrid::setFixedRows(int n) {
    m_model->setFixedRows(n);
    updateFrozen();
}

int FlexGrid::ColWidth(int col) const {
    if (col < 0 || col >= Cols()) return 0;
    if (col < static_cast<int>(m_widths.size()) && m_widths[col] >= 0) return m_widths[col];
    return pixelsToTwips(columnWidth(col));
}

void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= Cols()) return;
    if (static_cast<int>(m_widths.size()) < Cols()) m_widths.resize(Cols(), -1);
    m_widths[col] = std::max(0, twips);
    const bool hidden = twips <= 0;
    setColumnHidden(col, hidden);
    m_frozen->setColumnHidden(col, hidden);
    if (!hidden) {
        setColumnWidth(col, twipsToPixels(twips));
        m_frozen->setColumnWidth(col, twipsToPixels(twips));
    }
}

void FlexGrid::setColFontName(int col, const QString& family) {
    if (family.isEmpty()) {
        m_model->setColFont(col, std::nullopt);
        return;
    }
    QFont f = font();
    f.setFamilies({family});
    m_model->setColFont(col, f);
}

int FlexGrid::CellAlignment() const {
    auto a = m_model->cellAlignment(m_row, m_col);
    return a ? *a : m_model->colAlignment(m_col);
}

std::uint32_t FlexGrid::CellBackColor() const {
    auto c = m_model->cellBackColor(m_row, m_col);
    return c ? *c : 0xFFFFFF;
}

void FlexGrid::setRow(int row) {
    m_row = m_rowSel = std::clamp(row, 0, std::max(0, Rows() - 1));
    m_colSel = m_col;
    applySelection();
}

void FlexGrid::setCol(int col) {
    m_col = m_colSel = std::clamp(col, 0, std::max(0, Cols() - 1));
    m_rowSel = m_row;
    applySelection();
}

void FlexGrid::setRowSel(int row) {
    m_rowSel = std::clamp(row, 0, std::max(0, Rows() - 1));
    applySelection();
}

void FlexGrid::setColSel(int col) {
    m_colSel = std::clamp(col, 0, std::max(0, Cols() - 1));
    applySelection();
}

void FlexGrid::setMergeRow(int row, bool merge) {
    if (merge)
        m_mergeRows.insert(row);
    else
        m_mergeRows.erase(row);
    updateSpans();
}

void FlexGrid::RemoveItem(int row) { m_model->removeRow(row); }

void FlexGrid::setRedraw(bool on) {
    m_model->setRedraw(on);
    setUpdatesEnabled(on);
}

void FlexGrid::clampCurrent() {
    const int maxRow = std::max(0, Rows() - 1), maxCol = std::max(0, Cols() - 1);
    m_row = std::min(m_row, maxRow);
    m_rowSel = std::min(m_rowSel, maxRow);
    m_col = std::min(m_col, maxCol);
    m_colSel = std::min(m_colSel, maxCol);
}

void FlexGrid::applySelection() {
    if (!m_model->redraw() || Rows() == 0 || Cols() == 0) return;
    auto* sm = selectionModel();
    const QModelIndex cur = m_model->index(m_row, m_col);
    // Header cells are never shown selected.
    const int top = std::max(std::min(m_row, m_rowSel), FixedRows());
    const int left = std::max(std::min(m_col, m_colSel), FixedCols());
    const int bottom = std::max(m_row, m_rowSel), right = std::max(m_col, m_colSel);
    sm->setCurrentIndex(cur, QItemSelectionModel::NoUpdate);
    if (top > bottom || left > right)
        sm->clearSelection();
    else
        sm->select(QItemSelection(m_model->index(top, left), m_model->index(bottom, right)),
                   QItemSelectionModel::ClearAndSelect);
}

void FlexGrid::updateSpans() {
    if (!m_model->redraw()) return;
    clearSpans();
    m_frozen->clearSpans();
    for (int row : m_mergeRows) {
        if (row >= Rows()) continue;
        int c = 0;
        while (c < Cols()) {
            const QString t = TextMatrix(row, c);
            int end = c + 1;
            while (!t.isEmpty() && end < Cols() && TextMatrix(row, end) == t) ++end;
            if (end - c > 1) {
                setSpan(row, c, 1, end - c);
                m_frozen->setSpan(row, c, 1, end - c);
            }
            c = end;
        }
    }
}

void FlexGrid::updateFrozen() {
    const int fixed = std::min(FixedRows(), Rows());
    if (fixed == 0 || !m_model->redraw()) {
        m_frozen->hide();
        return;
    }
    for (int r = 0; r < Rows(); ++r) m_frozen->setRowHidden(r, r >= fixed);
    int h = 0;
    for (int r = 0; r < fixed; ++r) h += rowHeight(r);
    m_frozen->setGeometry(viewport()->x(), viewport()->y(), viewport()->width(),
                          std::min(h, viewport()->height()));
    m_frozen->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    m_frozen->show();
    m_frozen->raise();
}

void FlexGrid::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    updateFrozen();
}

void FlexGrid::updateGeometries() {
    QTableView::updateGeometries();
    if (m_frozen) updateFrozen();
}

void FlexGrid::pressAt(const QModelIndex& index, QMouseEvent* e, const QPoint& viewportPos) {
    if (index.isValid()) {
        if (e->modifiers() & Qt::ShiftModifier) {
            m_rowSel = index.row();
            m_colSel = index.column();
        } else {
            m_row = m_rowSel = index.row();
            m_col = m_colSel = index.column();
        }
        applySelection();
    }
    m_pressed = e->button() == Qt::LeftButton;
    emit MouseDown(vbMouseButton(e->button()), vbShiftState(e->modifiers()), toTwips(viewportPos.x()),
                   toTwips(viewportPos.y()));
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    pressAt(indexAt(e->position().toPoint()), e, e->position().toPoint());
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) {
    if (!m_pressed) return;
    const QModelIndex i = indexAt(e->position().toPoint());
    if (i.isValid() && (i.row() != m_rowSel || i.column() != m_colSel)) {
        m_rowSel = i.row();
        m_colSel = i.column();
        applySelection();
    }
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
    const bool wasPressed = m_pressed;
    m_pressed = false;
    const QPoint p = e->position().toPoint();
    emit MouseUp(vbMouseButton(e->button()), vbShiftState(e->modifiers()), toTwips(p.x()), toTwips(p.y()));
    if (wasPressed && e->button() == Qt::LeftButton) emit Click();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    emit DblClick();
}

int FlexGrid::borderAt(const QPoint& p) const {
    constexpr int kGrip = 3;  // pixels either side of a border
    for (int c = Cols() - 1; c >= 0; --c) {
        if (isColumnHidden(c)) continue;
        const int right = columnViewportPosition(c) + columnWidth(c);
        if (std::abs(p.x() - right) > kGrip) continue;
        // Inside a merged header cell there is no border to drag.
        const QModelIndex left = m_frozen->indexAt(QPoint(right - 1, p.y()));
        if (left.isValid() && left == m_frozen->indexAt(QPoint(right + 1, p.y()))) return -1;
        return c;
    }
    return -1;
}

// A press, move or release in the header rows: true when it was part of
// dragging a column border.
bool FlexGrid::headerMouse(QMouseEvent* e) {
    QWidget* vp = m_frozen->viewport();
    const QPoint p = e->position().toPoint();
    const int x = p.x();
    switch (e->type()) {
        case QEvent::MouseButtonPress:
            if (!m_allowResizing || e->button() != Qt::LeftButton) return false;
            m_resizing = borderAt(p);
            m_resizeFromX = x;
            m_resizeFromWidth = m_resizing >= 0 ? columnWidth(m_resizing) : 0;
            return m_resizing >= 0;
        case QEvent::MouseMove:
            if (m_resizing >= 0) {
                const int pixels = std::max(4, m_resizeFromWidth + x - m_resizeFromX);
                setColWidth(m_resizing, pixelsToTwips(pixels));
                m_userWidths.insert(m_resizing);
            } else if (m_allowResizing && borderAt(p) >= 0) {
                vp->setCursor(Qt::SplitHCursor);
            } else {
                vp->unsetCursor();
            }
            return true;
        case QEvent::MouseButtonRelease:
            if (m_resizing < 0) return false;
            m_resizing = -1;
            return true;
        default:
            return false;
    }
}

QString FlexGrid::cutCellText(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols() || isColumnHidden(col)) return {};
    const QString shown = toDisplayText(TextMatrix(row, col));
    if (shown.isEmpty()) return {};
    const QVariant cellFont = m_model->data(m_model->index(row, col), Qt::FontRole);
    const QFontMetrics fm(cellFont.isValid() ? cellFont.value<QFont>() : font());
    int width = 0;
    for (int c = col; c < col + columnSpan(row, col) && c < Cols(); ++c) width += columnWidth(c);
    // The item delegate leaves this much on each side of the text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const bool cut = shown.contains(QLatin1Char('\n')) || fm.horizontalAdvance(shown) > width - 2 * margin;
    return cut ? TextMatrix(row, col) : QString();
}

bool FlexGrid::showCutText(QHelpEvent* e, const QModelIndex& index) {
    const QString text = index.isValid() ? cutCellText(index.row(), index.column()) : QString();
    if (text.isEmpty()) return false;
    QToolTip::showText(e->globalPos(), toDisplayText(text), this);
    return true;
}

bool FlexGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* e = static_cast<QHelpEvent*>(event);
        if (showCutText(e, indexAt(e->pos()))) return true;
        // Not cut: the grid's own tool tip, if it has one.
        if (toolTip().isEmpty()) QToolTip::hideText();
        event->ignore();
        return false;
    }
    return QTableView::viewportEvent(event);
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_frozen->viewport()) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseMove:
            case QEvent::MouseButtonRelease:
                if (headerMouse(static_cast<QMouseEvent*>(event))) return true;
                break;
            case QEvent::ToolTip: {
                auto* e = static_cast<QHelpEvent*>(event);
                if (showCutText(e, m_frozen->indexAt(e->pos()))) return true;
                break;
            }
            default:
                break;
        }
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                auto* e = static_cast<QMouseEvent*>(event);
                setFocus(Qt::MouseFocusReason);
                const QPoint p = e->position().toPoint();
                pressAt(m_frozen->indexAt(p), e, p);
                return true;
            }
            case QEvent::MouseButtonRelease:
                mouseReleaseEvent(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseButtonDblClick:
                emit DblClick();
                return true;
            case QEvent::MouseMove:
                return true;
            default:
                break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
    int row = m_row, col = m_col;
    switch (e->key()) {
        case Qt::Key_Up:
            row = std::max(FixedRows(), row - 1);
            break;
        case Qt::Key_Down:
            row = std::min(Rows() - 1, row + 1);
            break;
        case Qt::Key_Left:
            col = std::max(FixedCols(), col - 1);
            break;
        case Qt::Key_Right:
            col = std::min(Cols() - 1, col + 1);
            break;
        case Qt::Key_Home:
            col = FixedCols();
            break;
        case Qt::Key_End:
            col = Cols() - 1;
            break;
        default:
            QTableView::keyPressEvent(e);
            return;
    }
    if (row < 0 || col < 0) return;
    if (e->modifiers() & Qt::ShiftModifier) {
        m_rowSel = row;
        m_colSel = col;
    } else {
        m_row = m_rowSel = row;
        m_col = m_colSel = col;
    }
    applySelection();
    scrollTo(m_model->index(row, col));
}

void FlexGrid::focusInEvent(QFocusEvent* e) {
    QTableView::focusInEvent(e);
    emit GotFocus();
}

void FlexGrid::focusOutEvent(QFocusEvent* e) {
    QTableView::focusOutEvent(e);
    emit LostFocus();
}
