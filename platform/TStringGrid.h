#pragma once

#include "platform/Events.h"
#include "platform/TComponent.h"

#include <QAbstractScrollArea>
#include <QFlags>
#include <QString>
#include <utility>
#include <vector>

class TInplaceEdit;
struct TTypedChar;

enum TGridOption {
    goFixedVertLine = 0x01,
    goFixedHorzLine = 0x02,
    goVertLine = 0x04,
    goHorzLine = 0x08,
    // With goEditing set the selection is the current cell alone, so this only records the
    // stored setting.
    goRangeSelect = 0x10,
    goEditing = 0x20,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A table of texts, one per cell, with fixed label rows and columns at the top and left that
// stay in view, and an in-place editor for the other cells. Sizes are device-independent
// pixels. Every character typed into the grid or its editor passes OnKeyPress exactly once
// before anything acts on it; a character that OnKeyPress sets to 0 is dropped.
class TStringGrid : public QAbstractScrollArea, public TComponent {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    // Cells are addressed (column, row) from 0; a cell never written reads "". Both throw
    // Exception for a cell outside the table.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);

    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);

    // A column or row without a width or height of its own has the default one.
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    // Widths and heights from column or row 0 onward, as stored in a form.
    void SetColWidths(const std::vector<int>& widths);
    void SetRowHeights(const std::vector<int>& heights);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int width);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    // Stored for the form; the grid defines no hints of its own.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parent) { parentShowHint_ = parent; }

    const TKeyPressEvent& OnKeyPress() const { return onKeyPress_; }
    void SetOnKeyPress(TKeyPressEvent handler) { onKeyPress_ = std::move(handler); }

    // The current cell; it is never a fixed one. Moving it closes the editor, storing its
    // text, and scrolls the cell into view.
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCurrentCell(int col, int row);
    int TopRow() const;
    int LeftCol() const;

    bool EditorMode() const { return editorMode_; }
    // Opens the editor on the current cell with its whole text selected, or closes it.
    void SetEditorMode(bool open);
    TInplaceEdit* InplaceEditor() const { return editor_; }

    // The cell's rectangle in viewport coordinates; empty when it is scrolled out of view.
    QRect CellRect(int col, int row) const;

    bool ReadProperty(const QString& name, const QJsonValue& value,
                      const TReadContext& context) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QSize sizeHint() const override;

private:
    friend class TInplaceEdit;

    // One typed character, wherever it was typed: opens the editor if the character is one
    // that does, raises OnKeyPress, and hands what is left to the grid or the editor.
    void KeyChar(const TTypedChar& typed);
    // Moves the current cell for an arrow or paging key; false for any other key.
    bool NavigationKey(const QKeyEvent& event);
    void TabFromEditor(bool forward);
    void EditorLostFocus(Qt::FocusReason reason);
    void EditorTextChanged(const QString& text);

    bool CanEdit() const;
    void ShowEditor();
    void HideEditor();
    void PlaceEditor();
    void MoveTo(int col, int row);
    void ScrollInView(int col, int row);
    void UpdateScrollBars();
    void ResizeCells(int colCount, int rowCount);
    void CheckCell(int col, int row) const;
    int FixedWidth() const;
    int FixedHeight() const;
    // Left (top) edge of a column (row) in viewport coordinates; for a scrollable one, only
    // meaningful from the left column (top row) on.
    int ColLeft(int col) const;
    int RowTop(int row) const;
    // First scrollable column / row that still lets every later one fit in the viewport.
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // Rows (columns) from the top (left) one that fit entirely below the fixed ones.
    int FullyVisibleRows() const;
    int FullyVisibleCols() const;
    // The cell under a viewport point; false on the lines and outside the cells.
    bool CellAt(const QPoint& point, int& col, int& row) const;

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    std::vector<int> colWidths_; // -1: the default width
    std::vector<int> rowHeights_;
    int gridLineWidth_ = 1;
    TGridOptions options_ = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
    TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TKeyPressEvent onKeyPress_;

    std::vector<QString> cells_; // row-major, colCount_ per row
    int col_ = 1;
    int row_ = 1;
    TInplaceEdit* editor_ = nullptr;
    bool editorMode_ = false;
    bool closingEditor_ = false;
};
