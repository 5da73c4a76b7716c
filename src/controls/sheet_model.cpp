#include "controls/sheet_model.h"

#include "engine/host_value.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

SheetModel::SheetModel(QObject* parent)
    : QAbstractTableModel(parent),
      m_blocks(static_cast<std::size_t>(sheet::kCols) * (sheet::kRows / kBlockRows)) {
    m_font.setPointSize(10);
}

SheetModel::~SheetModel() = default;

const SheetModel::Cell* SheetModel::cellAt(int row, int col) const {
    if (row < 1 || row > sheet::kRows || col < 1 || col > sheet::kCols) return nullptr;
    const Block* b = m_blocks[blockIndex(row, col)].get();
    if (!b) return nullptr;
    const Cell& c = b->cells[(row - 1) % kBlockRows];
    return c.kind ? &c : nullptr;
}

SheetModel::CellValue SheetModel::value(int row, int col) const {
    const Cell* c = cellAt(row, col);
    if (!c) return std::monostate{};
    if (c->kind == 1) return c->number;
    return c->text;
}

void SheetModel::setValue(int row, int col, CellValue v) {
    if (row < 1 || row > sheet::kRows || col < 1 || col > sheet::kCols) return;
    auto& slot = m_blocks[blockIndex(row, col)];
    const bool empty = std::holds_alternative<std::monostate>(v);
    if (!slot) {
        if (empty) return;
        slot = std::make_unique<Block>();
    }
    Cell& c = slot->cells[(row - 1) % kBlockRows];
    const bool wasFilled = c.kind != 0;
    if (auto d = std::get_if<double>(&v)) {
        c.kind = 1;
        c.number = *d;
        c.text.clear();
    } else if (auto s = std::get_if<QString>(&v)) {
        c.kind = 2;
        c.text = std::move(*s);
    } else {
        c.kind = 0;
        c.text.clear();
    }
    const int delta = (c.kind != 0) - wasFilled;
    slot->filled += delta;
    m_filled += delta;
    if (slot->filled == 0) slot.reset();
    changed(SheetRange::cell(row, col));
}

QString SheetModel::text(int row, int col) const {
    const Cell* c = cellAt(row, col);
    if (!c) return {};
    if (c->kind == 1) return generalNumberText(c->number);
    return c->text;
}

void SheetModel::clearValues(const SheetRange& range) {
    const bool was = m_updating;
    m_updating = false;
    for (int col = range.col1; col <= range.col2; ++col) {
        for (int row = range.row1; row <= range.row2;) {
            auto& slot = m_blocks[blockIndex(row, col)];
            int blockEnd = ((row - 1) / kBlockRows + 1) * kBlockRows;
            int last = std::min(range.row2, blockEnd);
            if (slot) {
                for (int r = row; r <= last; ++r) setValue(r, col, std::monostate{});
            }
            row = last + 1;
        }
    }
    m_updating = was;
    changed(range);
}

void SheetModel::setFill(const SheetRange& range, std::uint32_t bgr) {
    std::erase_if(m_fills, [&](const FillLayer& l) { return range.contains(l.range); });
    if (!(range == SheetRange::whole() && bgr == kDefaultFill)) m_fills.push_back({range, bgr});
    changed(range);
}

std::uint32_t SheetModel::fill(int row, int col) const {
    for (auto it = m_fills.rbegin(); it != m_fills.rend(); ++it)
        if (it->range.contains(row, col)) return it->bgr;
    return kDefaultFill;
}

void SheetModel::setBorders(const SheetRange& range, int lineStyle, const QColor& color) {
    std::erase_if(m_borders, [&](const BorderLayer& l) { return range.contains(l.range); });
    m_borders.push_back({range, Border{lineStyle, color}});
    changed(range);
}

std::optional<SheetModel::Border> SheetModel::border(int row, int col) const {
    for (auto it = m_borders.rbegin(); it != m_borders.rend(); ++it)
        if (it->range.contains(row, col)) return it->border;
    return std::nullopt;
}

void SheetModel::setFontName(const QString& family) {
    m_font.setFamily(family);
    changed(SheetRange::whole());
}

void SheetModel::setScreenUpdating(bool on) {
    if (on == m_updating) return;
    m_updating = on;
    if (on && m_dirty) {
        SheetRange d = *m_dirty;
        m_dirty.reset();
        changed(d);
    }
}

void SheetModel::changed(const SheetRange& r) {
    if (!m_updating) {
        if (!m_dirty)
            m_dirty = r;
        else
            m_dirty = SheetRange{std::min(m_dirty->row1, r.row1), std::min(m_dirty->col1, r.col1),
                                 std::max(m_dirty->row2, r.row2), std::max(m_dirty->col2, r.col2)};
        return;
    }
    emit dataChanged(index(r.row1 - 1, r.col1 - 1), index(r.row2 - 1, r.col2 - 1));
}

SheetModel::CellValue SheetModel::parseInput(const QString& typed) {
    if (typed.isEmpty()) return std::monostate{};
    const QString t = typed.trimmed();
    bool ok = false;
    double d = QLocale::c().toDouble(t, &ok);
    if (ok && std::isfinite(d) && !t.isEmpty()) {
        // Only plain decimal forms count as numbers: no "inf", "nan" or hex.
        bool plain = std::all_of(t.begin(), t.end(), [](QChar c) {
            return c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E';
        });
        if (plain) return d;
    }
    return typed;
}

int SheetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : sheet::kRows; }

int SheetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : sheet::kCols; }

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row() + 1, col = index.column() + 1;
    switch (role) {
        case Qt::DisplayRole: {
            QString t = text(row, col);
            return t.contains(QLatin1Char('\r'))
                       ? QString(t).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                       : t;
        }
        case Qt::EditRole:
            return text(row, col);
        case Qt::BackgroundRole: {
            std::uint32_t f = fill(row, col);
            if (f == kDefaultFill) return {};
            return QColor(f & 0xFF, (f >> 8) & 0xFF, (f >> 16) & 0xFF);
        }
        case Qt::FontRole:
            return m_font;
        case Qt::TextAlignmentRole: {
            const Cell* c = cellAt(row, col);
            bool number = c && c->kind == 1;
            return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
        }
        default:
            return {};
    }
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    setValue(index.row() + 1, index.column() + 1, parseInput(value.toString()));
    emit userEdited(index.row() + 1, index.column() + 1);
    return true;
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return sheet::columnLetters(section + 1);
    return section + 1;
}
