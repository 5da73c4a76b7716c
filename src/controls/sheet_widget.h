#pragma once

#include "base/sheet_address.h"
#include "controls/sheet_model.h"

#include <QList>
#include <QWidget>

class QTableView;
class QTabBar;
class IClipboard;

// A spreadsheet of one worksheet ("Sheet1"): A1 addresses, typed values, fill
// colours, borders, a font, a screen-updating switch, and a cell event. The user
// selects, types and edits cells as in any spreadsheet.
class SheetWidget : public QWidget {
    Q_OBJECT
public:
    using CellValue = SheetModel::CellValue;

    explicit SheetWidget(QWidget* parent = nullptr);

    SheetModel& model() { return *m_model; }
    const SheetModel& model() const { return *m_model; }
    QTableView* view() const { return m_view; }
    QString sheetName() const { return QStringLiteral("Sheet1"); }

    CellValue value(int row, int col) const { return m_model->value(row, col); }
    void setValue(int row, int col, CellValue v) { m_model->setValue(row, col, std::move(v)); }
    QString text(int row, int col) const { return m_model->text(row, col); }

    // The area holding the current cell; the current cell alone when nothing is selected.
    SheetRange selection() const;
    // Every selected rectangle, merged where they form one.
    QList<SheetRange> selectionAreas() const;
    // Makes the range the selection, its first cell the current cell.
    void select(const SheetRange& range);
    void selectAll();
    SheetCell currentCell() const;

    void setFill(const SheetRange& range, std::uint32_t bgr) { m_model->setFill(range, bgr); }
    std::uint32_t fill(int row, int col) const { return m_model->fill(row, col); }
    // Colour as a number 0x00BBGGRR, or a name such as "blue".
    void setBorders(const SheetRange& range, int lineStyle, std::uint32_t bgr);
    void setBorders(const SheetRange& range, int lineStyle, const QString& colorName);
    void setFontName(const QString& family);

    void setScreenUpdating(bool on);
    bool screenUpdating() const { return m_model->screenUpdating(); }

    // Copy and paste of cells as tab-separated text go through this clipboard.
    void setClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }

signals:
    // A click on a cell or a committed edit; the cell acted on is the current cell.
    void cellEvent();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copySelection();
    void pasteAtCurrent();

    SheetModel* m_model;
    QTableView* m_view;
    QTabBar* m_tabs;
    IClipboard* m_clipboard = nullptr;
    SheetCell m_lastEdited{0, 0};
};
