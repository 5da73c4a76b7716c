#pragma once

#include "base/sheet_address.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

// The cells of one worksheet, 65536 rows by 256 columns, held sparsely: only
// filled cells cost memory. Values are typed (a number stays a number). Fill
// colours and borders are kept as range layers, later layers over earlier ones.
class SheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellValue = std::variant<std::monostate, double, QString>;

    struct Border {
        int lineStyle = 1;  // 1 thin, 2 outline (thicker)
        QColor color;
    };

    static constexpr std::uint32_t kDefaultFill = 0xFFFFFF;

    explicit SheetModel(QObject* parent = nullptr);
    ~SheetModel() override;

    // Rows and columns count from 1 here, as sheet addresses do.
    CellValue value(int row, int col) const;
    void setValue(int row, int col, CellValue v);
    // What the cell shows: numbers in the general form, texts as they are.
    QString text(int row, int col) const;
    void clearValues(const SheetRange& range);
    std::int64_t filledCells() const { return m_filled; }

    void setFill(const SheetRange& range, std::uint32_t bgr);
    std::uint32_t fill(int row, int col) const;
    void setBorders(const SheetRange& range, int lineStyle, const QColor& color);
    std::optional<Border> border(int row, int col) const;

    void setFontName(const QString& family);
    QString fontName() const { return m_font.family(); }
    QFont font() const { return m_font; }

    // While off, changes are collected and drawn once when switched on again.
    void setScreenUpdating(bool on);
    bool screenUpdating() const { return m_updating; }

    // Turns what a user typed into a cell value: a number when the whole text is
    // one, else the text itself; an empty text empties the cell.
    static CellValue parseInput(const QString& typed);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // A value the user typed was committed (not sent for changes made by the program).
    void userEdited(int row, int col);

private:
    static constexpr int kBlockRows = 256;
    struct Cell {
        double number = 0;
        QString text;
        std::uint8_t kind = 0;  // 0 empty, 1 number, 2 text
    };
    struct Block {
        std::array<Cell, kBlockRows> cells;
        int filled = 0;
    };
    struct FillLayer {
        SheetRange range;
        std::uint32_t bgr;
    };
    struct BorderLayer {
        SheetRange range;
        Border border;
    };

    static std::size_t blockIndex(int row, int col) {
        return static_cast<std::size_t>(col - 1) * (sheet::kRows / kBlockRows) + (row - 1) / kBlockRows;
    }
    const Cell* cellAt(int row, int col) const;
    void changed(const SheetRange& range);

    std::vector<std::unique_ptr<Block>> m_blocks;
    std::int64_t m_filled = 0;
    std::vector<FillLayer> m_fills;
    std::vector<BorderLayer> m_borders;
    QFont m_font;
    bool m_updating = true;
    std::optional<SheetRange> m_dirty;
};
