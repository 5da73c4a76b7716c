#pragma once

#include "controls/flex_grid_model.h"

#include <QTableView>

#include <cstdint>
#include <set>

// A table of text cells with the classic flex-grid operations. The current cell
// is (Row, Col); the selection runs from it to (RowSel, ColSel). Header rows stay
// in place while the rest scrolls. Mouse and focus events arrive with the current
// cell already set to the cell under the pointer.
class QHelpEvent;

class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    FlexGridModel& grid() { return *m_model; }

    void Clear() { m_model->clearTexts(); }
    int Rows() const { return m_model->rows(); }
    void setRows(int n);
    int Cols() const { return m_model->cols(); }
    void setCols(int n);
    int FixedRows() const { return m_model->fixedRows(); }
    void setFixedRows(int n);
    int FixedCols() const { return m_model->fixedCols(); }
    void setFixedCols(int n) { m_model->setFixedCols(n); }

    // Widths in twips; 0 hides the column.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    // The family of a column's result cells (the header rows keep the grid's
    // font), at the grid's size; empty: the grid's own font.
    void setColFontName(int col, const QString& family);
    int ColAlignment(int col) const { return m_model->colAlignment(col); }
    void setColAlignment(int col, int alignment) { m_model->setColAlignment(col, alignment); }
    // Formatting of the current cell.
    int CellAlignment() const;
    void setCellAlignment(int alignment) { m_model->setCellAlignment(m_row, m_col, alignment); }
    std::uint32_t CellBackColor() const;
    void setCellBackColor(std::uint32_t bgr) { m_model->setCellBackColor(m_row, m_col, bgr); }

    QString TextMatrix(int row, int col) const { return m_model->text(row, col); }
    void setTextMatrix(int row, int col, const QString& text) { m_model->setText(row, col, text); }

    // Setting Row or Col makes the selection the current cell alone, as the
    // classic grid does; set RowSel/ColSel afterwards to widen it.
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);
    int RowSel() const { return m_rowSel; }
    void setRowSel(int row);
    int ColSel() const { return m_colSel; }
    void setColSel(int col);

    // Equal neighbouring texts of a merge row show as one cell.
    void setMergeRow(int row, bool merge);
    bool MergeRow(int row) const { return m_mergeRows.count(row) != 0; }

    // A row removed, the rows below moving up.
    void RemoveItem(int row);

    void setRedraw(bool on);
    // With resizing allowed, dragging a column's right border in the header
    // rows sets its width; the grid then remembers that the user chose it.
    void setAllowUserResizing(bool on) { m_allowResizing = on; }
    bool AllowUserResizing() const { return m_allowResizing; }
    bool ColWidthSetByUser(int col) const { return m_userWidths.count(col) != 0; }
    // The whole text of a cell that is too narrow to show it, else empty: the
    // tool tip the cell shows (otherwise the grid's own ToolTipText).
    QString cutCellText(int row, int col) const;
    void setToolTipText(const QString& text) { setToolTip(text); }
    QString ToolTipText() const { return toolTip(); }
    void bringToFront() { raise(); }

    // Twips position of a mouse event, as the grid reports it.
    static int toTwips(int pixels) { return pixels * 15; }

signals:
    void Click();
    void DblClick();
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in twips.
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void GotFocus();
    void LostFocus();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void updateGeometries() override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressAt(const QModelIndex& index, QMouseEvent* e, const QPoint& viewportPos);
    // The column whose right border is at p in the header rows, -1 for none.
    int borderAt(const QPoint& p) const;
    bool headerMouse(QMouseEvent* e);
    bool showCutText(QHelpEvent* e, const QModelIndex& index);
    void applySelection();
    void updateSpans();
    void updateFrozen();
    void clampCurrent();

    FlexGridModel* m_model;
    QTableView* m_frozen;  // the header rows, drawn over the top of the viewport
    int m_row = 1;
    int m_col = 0;
    int m_rowSel = 1;
    int m_colSel = 0;
    std::set<int> m_mergeRows;
    std::vector<int> m_widths;  // twips, -1 for the default
    bool m_pressed = false;
    bool m_allowResizing = false;
    int m_resizing = -1;  // the column being dragged wider or narrower
    int m_resizeFromX = 0;
    int m_resizeFromWidth = 0;
    std::set<int> m_userWidths;
};
