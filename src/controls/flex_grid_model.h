#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

// Dense text cells of a flex grid plus sparse per-cell formatting. Rows and
// columns count from 0; the first fixedRows rows and fixedCols columns are
// header cells.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FlexGridModel(QObject* parent = nullptr);

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    void setRows(int n);
    void setCols(int n);
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }
    void setFixedRows(int n);
    void setFixedCols(int n);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    void clearTexts();  // texts and cell formatting; rows and columns stay
    void removeRow(int row);

    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);
    // The font of a column's cells below the header rows; none: the grid's own.
    std::optional<QFont> colFont(int col) const;
    void setColFont(int col, std::optional<QFont> font);
    std::optional<int> cellAlignment(int row, int col) const;
    void setCellAlignment(int row, int col, int alignment);
    std::optional<std::uint32_t> cellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, std::uint32_t bgr);

    // While off, nothing is announced; switching on resets every view once.
    void setRedraw(bool on);
    bool redraw() const { return m_redraw; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void textChanged(int row, int col);
    void shapeChanged();

private:
    struct CellFormat {
        std::optional<int> alignment;
        std::optional<std::uint32_t> backColor;
    };
    static std::uint64_t key(int row, int col) {
        return (static_cast<std::uint64_t>(row) << 32) | static_cast<std::uint32_t>(col);
    }
    bool inRange(int row, int col) const { return row >= 0 && row < m_rows && col >= 0 && col < m_cols; }
    void cellChanged(int row, int col);

    int m_rows = 2;
    int m_cols = 2;
    int m_fixedRows = 1;
    int m_fixedCols = 0;
    std::vector<QString> m_text;  // row-major
    std::vector<int> m_colAlign;
    std::vector<std::optional<QFont>> m_colFont;
    std::unordered_map<std::uint64_t, CellFormat> m_format;
    bool m_redraw = true;
};

// Maps the grid's alignment codes (0 left-top ... 4 centre ... 9 general) to Qt's.
Qt::Alignment flexAlignment(int code);
