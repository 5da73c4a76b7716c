#include "controls/flex_grid_model.h"

#include "base/vb_units.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

Qt::Alignment flexAlignment(int code) {
    switch (code) {
        case 0:
            return Qt::AlignLeft | Qt::AlignTop;
        case 1:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case 2:
            return Qt::AlignLeft | Qt::AlignBottom;
        case 3:
            return Qt::AlignHCenter | Qt::AlignTop;
        case 4:
            return Qt::AlignCenter;
        case 5:
            return Qt::AlignHCenter | Qt::AlignBottom;
        case 6:
            return Qt::AlignRight | Qt::AlignTop;
        case 7:
            return Qt::AlignRight | Qt::AlignVCenter;
        case 8:
            return Qt::AlignRight | Qt::AlignBottom;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {
    m_text.resize(static_cast<std::size_t>(m_rows) * m_cols);
    m_colAlign.assign(m_cols, 9);
    m_colFont.resize(m_cols);
}

void FlexGridModel::setRows(int n) {
    n = std::max(0, n);
    if (n == m_rows) return;
    if (n > m_rows) {
        if (m_redraw) beginInsertRows({}, m_rows, n - 1);
        m_text.resize(static_cast<std::size_t>(n) * m_cols);
        m_rows = n;
        if (m_redraw) endInsertRows();
    } else {
        if (m_redraw) beginRemoveRows({}, n, m_rows - 1);
        m_text.resize(static_cast<std::size_t>(n) * m_cols);
        std::erase_if(m_format, [n](const auto& kv) { return static_cast<int>(kv.first >> 32) >= n; });
        m_rows = n;
        if (m_redraw) endRemoveRows();
    }
    emit shapeChanged();
}

void FlexGridModel::setCols(int n) {
    n = std::max(0, n);
    if (n == m_cols) return;
    if (m_redraw) beginResetModel();
    std::vector<QString> t(static_cast<std::size_t>(m_rows) * n);
    const int keep = std::min(n, m_cols);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < keep; ++c)
            t[static_cast<std::size_t>(r) * n + c] =
                std::move(m_text[static_cast<std::size_t>(r) * m_cols + c]);
    m_text = std::move(t);
    m_colAlign.resize(n, 9);
    m_colFont.resize(n);
    std::erase_if(m_format, [n](const auto& kv) { return static_cast<int>(kv.first & 0xFFFFFFFF) >= n; });
    m_cols = n;
    if (m_redraw) endResetModel();
    emit shapeChanged();
}

void FlexGridModel::setFixedRows(int n) {
    m_fixedRows = std::max(0, n);
    if (m_redraw && m_rows && m_cols) emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
    emit shapeChanged();
}

void FlexGridModel::setFixedCols(int n) {
    m_fixedCols = std::max(0, n);
    if (m_redraw && m_rows && m_cols) emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
    emit shapeChanged();
}

QString FlexGridModel::text(int row, int col) const {
    if (!inRange(row, col)) return {};
    return m_text[static_cast<std::size_t>(row) * m_cols + col];
}

void FlexGridModel::setText(int row, int col, const QString& text) {
    if (!inRange(row, col)) return;
    m_text[static_cast<std::size_t>(row) * m_cols + col] = text;
    cellChanged(row, col);
    emit textChanged(row, col);
}

void FlexGridModel::clearTexts() {
    for (QString& t : m_text) t.clear();
    m_format.clear();
    if (m_redraw && m_rows && m_cols) emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
    emit textChanged(-1, -1);
}

void FlexGridModel::removeRow(int row) {
    if (row < 0 || row >= m_rows) return;
    if (m_redraw) beginRemoveRows({}, row, row);
    auto first = m_text.begin() + static_cast<std::ptrdiff_t>(row) * m_cols;
    m_text.erase(first, first + m_cols);
    std::unordered_map<std::uint64_t, CellFormat> moved;
    for (auto& [k, f] : m_format) {
        int r = static_cast<int>(k >> 32), c = static_cast<int>(k & 0xFFFFFFFF);
        if (r == row) continue;
        moved[key(r > row ? r - 1 : r, c)] = f;
    }
    m_format = std::move(moved);
    --m_rows;
    if (m_redraw) endRemoveRows();
    emit shapeChanged();
}

int FlexGridModel::colAlignment(int col) const { return col >= 0 && col < m_cols ? m_colAlign[col] : 9; }

void FlexGridModel::setColAlignment(int col, int alignment) {
    if (col < 0 || col >= m_cols) return;
    m_colAlign[col] = alignment;
    if (m_redraw && m_rows) emit dataChanged(index(0, col), index(m_rows - 1, col));
}

std::optional<QFont> FlexGridModel::colFont(int col) const {
    return col >= 0 && col < m_cols ? m_colFont[col] : std::nullopt;
}

void FlexGridModel::setColFont(int col, std::optional<QFont> font) {
    if (col < 0 || col >= m_cols) return;
    m_colFont[col] = std::move(font);
    if (m_redraw && m_rows) emit dataChanged(index(0, col), index(m_rows - 1, col));
}

std::optional<int> FlexGridModel::cellAlignment(int row, int col) const {
    auto it = m_format.find(key(row, col));
    return it == m_format.end() ? std::nullopt : it->second.alignment;
}

void FlexGridModel::setCellAlignment(int row, int col, int alignment) {
    if (!inRange(row, col)) return;
    m_format[key(row, col)].alignment = alignment;
    cellChanged(row, col);
}

std::optional<std::uint32_t> FlexGridModel::cellBackColor(int row, int col) const {
    auto it = m_format.find(key(row, col));
    return it == m_format.end() ? std::nullopt : it->second.backColor;
}

void FlexGridModel::setCellBackColor(int row, int col, std::uint32_t bgr) {
    if (!inRange(row, col)) return;
    m_format[key(row, col)].backColor = bgr;
    cellChanged(row, col);
}

void FlexGridModel::setRedraw(bool on) {
    if (on == m_redraw) return;
    if (!on) {
        beginResetModel();
        m_redraw = false;
    } else {
        m_redraw = true;
        endResetModel();
        emit shapeChanged();
    }
}

void FlexGridModel::cellChanged(int row, int col) {
    if (m_redraw) emit dataChanged(index(row, col), index(row, col));
}

int FlexGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int FlexGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_cols; }

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), col = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return toDisplayText(text(row, col));
        case Qt::TextAlignmentRole: {
            auto a = cellAlignment(row, col);
            return QVariant::fromValue(flexAlignment(a ? *a : m_colAlign[col]));
        }
        case Qt::BackgroundRole: {
            if (auto c = cellBackColor(row, col)) return vbColor(*c);
            if (row < m_fixedRows || col < m_fixedCols)
                return QApplication::palette().color(QPalette::Button);
            return {};
        }
        case Qt::FontRole:
            if (row >= m_fixedRows && m_colFont[col]) return *m_colFont[col];
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
