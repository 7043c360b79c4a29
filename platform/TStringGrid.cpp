#include "platform/TStringGrid.h"

#include "platform/TInplaceEdit.h"
#include "platform/TReadContext.h"
#include "platform/TTypedChar.h"
#include "rtl/Exceptions.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void Fail(const QString& message) {
    throw Exception(message.toStdString());
}

void CheckSize(int value, const char* what) {
    if (value < 0) {
        Fail(QStringLiteral("%1 не может быть отрицательной: %2")
                 .arg(QString::fromUtf8(what))
                 .arg(value));
    }
}

int IntValue(const QJsonValue& value) {
    const double number = value.toDouble();
    if (!value.isDouble() || number != std::floor(number) || number < -1e9 || number > 1e9) {
        throw EReadError("Недопустимое значение свойства");
    }
    return static_cast<int>(number);
}

std::vector<int> ScaledArray(const QJsonValue& value, const TReadContext& context) {
    if (!value.isArray()) {
        throw EReadError("Недопустимое значение свойства");
    }
    std::vector<int> sizes;
    for (const QJsonValue& item : value.toArray()) {
        sizes.push_back(context.Scale(IntValue(item)));
    }
    return sizes;
}

struct TOptionName {
    const char* Name;
    TGridOption Option;
};

constexpr TOptionName kOptionNames[] = {
    {"goFixedVertLine", goFixedVertLine}, {"goFixedHorzLine", goFixedHorzLine},
    {"goVertLine", goVertLine},           {"goHorzLine", goHorzLine},
    {"goRangeSelect", goRangeSelect},     {"goEditing", goEditing},
};

} // namespace

TStringGrid::TStringGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    SetScrollBars(scrollBars_);
    cells_.resize(static_cast<std::size_t>(colCount_) * rowCount_);
    editor_ = new TInplaceEdit(this);
    connect(editor_, &QLineEdit::textChanged, this, &TStringGrid::EditorTextChanged);
}

TStringGrid::~TStringGrid() {
    // The editor goes first, while the grid it reports to is still whole.
    editorMode_ = false;
    delete editor_;
}

// ---- cells

void TStringGrid::CheckCell(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) {
        Fail(QStringLiteral("Ячейка (%1, %2) вне таблицы").arg(col).arg(row));
    }
}

QString TStringGrid::Cell(int col, int row) const {
    CheckCell(col, row);
    return cells_[static_cast<std::size_t>(row) * colCount_ + col];
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
    CheckCell(col, row);
    cells_[static_cast<std::size_t>(row) * colCount_ + col] = text;
    // The open editor shows the cell, and would store its own text back over this one.
    if (editorMode_ && col == col_ && row == row_ && editor_->text() != text) {
        editor_->setText(text);
    }
    viewport()->update(CellRect(col, row));
}

void TStringGrid::EditorTextChanged(const QString& text) {
    if (editorMode_) {
        cells_[static_cast<std::size_t>(row_) * colCount_ + col_] = text;
        viewport()->update(CellRect(col_, row_));
    }
}

void TStringGrid::ResizeCells(int colCount, int rowCount) {
    std::vector<QString> cells(static_cast<std::size_t>(colCount) * rowCount);
    for (int row = 0; row < std::min(rowCount, rowCount_); ++row) {
        for (int col = 0; col < std::min(colCount, colCount_); ++col) {
            cells[static_cast<std::size_t>(row) * colCount + col] =
                std::move(cells_[static_cast<std::size_t>(row) * colCount_ + col]);
        }
    }
    cells_ = std::move(cells);
    colCount_ = colCount;
    rowCount_ = rowCount;
    col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
}

// ---- layout settings

void TStringGrid::SetColCount(int count) {
    if (count < 1) {
        Fail(QStringLiteral("Число столбцов должно быть не меньше 1: %1").arg(count));
    }
    HideEditor();
    fixedCols_ = std::min(fixedCols_, count - 1);
    ResizeCells(count, rowCount_);
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetRowCount(int count) {
    if (count < 1) {
        Fail(QStringLiteral("Число строк должно быть не меньше 1: %1").arg(count));
    }
    HideEditor();
    fixedRows_ = std::min(fixedRows_, count - 1);
    ResizeCells(colCount_, count);
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetFixedCols(int count) {
    if (count < 0 || count >= colCount_) {
        Fail(QStringLiteral("Фиксированных столбцов должно быть меньше, чем столбцов: %1")
                 .arg(count));
    }
    HideEditor();
    fixedCols_ = count;
    col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetFixedRows(int count) {
    if (count < 0 || count >= rowCount_) {
        Fail(QStringLiteral("Фиксированных строк должно быть меньше, чем строк: %1").arg(count));
    }
    HideEditor();
    fixedRows_ = count;
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetDefaultColWidth(int width) {
    CheckSize(width, "Ширина столбца");
    defaultColWidth_ = width;
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    CheckSize(height, "Высота строки");
    defaultRowHeight_ = height;
    UpdateScrollBars();
    viewport()->update();
}

int TStringGrid::ColWidth(int col) const {
    if (col >= 0 && static_cast<std::size_t>(col) < colWidths_.size() && colWidths_[col] >= 0) {
        return colWidths_[col];
    }
    return defaultColWidth_;
}

int TStringGrid::RowHeight(int row) const {
    if (row >= 0 && static_cast<std::size_t>(row) < rowHeights_.size() && rowHeights_[row] >= 0) {
        return rowHeights_[row];
    }
    return defaultRowHeight_;
}

// Widths may be set for columns beyond the current count: a form may store them before the
// count, and they take effect when the columns exist.
void TStringGrid::SetColWidth(int col, int width) {
    CheckSize(col, "Номер столбца");
    CheckSize(width, "Ширина столбца");
    if (static_cast<std::size_t>(col) >= colWidths_.size()) {
        colWidths_.resize(static_cast<std::size_t>(col) + 1, -1);
    }
    colWidths_[col] = width;
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetRowHeight(int row, int height) {
    CheckSize(row, "Номер строки");
    CheckSize(height, "Высота строки");
    if (static_cast<std::size_t>(row) >= rowHeights_.size()) {
        rowHeights_.resize(static_cast<std::size_t>(row) + 1, -1);
    }
    rowHeights_[row] = height;
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetColWidths(const std::vector<int>& widths) {
    for (std::size_t col = 0; col < widths.size(); ++col) {
        SetColWidth(static_cast<int>(col), widths[col]);
    }
}

void TStringGrid::SetRowHeights(const std::vector<int>& heights) {
    for (std::size_t row = 0; row < heights.size(); ++row) {
        SetRowHeight(static_cast<int>(row), heights[row]);
    }
}

void TStringGrid::SetGridLineWidth(int width) {
    CheckSize(width, "Толщина линий");
    gridLineWidth_ = width;
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetOptions(TGridOptions options) {
    options_ = options;
    if (!options_.testFlag(goEditing)) {
        HideEditor();
    }
    viewport()->update();
}

void TStringGrid::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    const bool horizontal = style == TScrollStyle::ssHorizontal || style == TScrollStyle::ssBoth;
    const bool vertical = style == TScrollStyle::ssVertical || style == TScrollStyle::ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

// ---- geometry

int TStringGrid::FixedWidth() const {
    int width = 0;
    for (int col = 0; col < fixedCols_; ++col) {
        width += ColWidth(col) + gridLineWidth_;
    }
    return width;
}

int TStringGrid::FixedHeight() const {
    int height = 0;
    for (int row = 0; row < fixedRows_; ++row) {
        height += RowHeight(row) + gridLineWidth_;
    }
    return height;
}

int TStringGrid::LeftCol() const {
    return std::min(fixedCols_ + horizontalScrollBar()->value(), colCount_ - 1);
}

int TStringGrid::TopRow() const {
    return std::min(fixedRows_ + verticalScrollBar()->value(), rowCount_ - 1);
}

int TStringGrid::ColLeft(int col) const {
    int x = 0;
    if (col < fixedCols_) {
        for (int c = 0; c < col; ++c) {
            x += ColWidth(c) + gridLineWidth_;
        }
        return x;
    }
    x = FixedWidth();
    for (int c = LeftCol(); c < col; ++c) {
        x += ColWidth(c) + gridLineWidth_;
    }
    return x;
}

int TStringGrid::RowTop(int row) const {
    int y = 0;
    if (row < fixedRows_) {
        for (int r = 0; r < row; ++r) {
            y += RowHeight(r) + gridLineWidth_;
        }
        return y;
    }
    y = FixedHeight();
    for (int r = TopRow(); r < row; ++r) {
        y += RowHeight(r) + gridLineWidth_;
    }
    return y;
}

QRect TStringGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) {
        return {};
    }
    if ((col >= fixedCols_ && col < LeftCol()) || (row >= fixedRows_ && row < TopRow())) {
        return {};
    }
    const QRect rect(ColLeft(col), RowTop(row), ColWidth(col), RowHeight(row));
    if (rect.left() >= viewport()->width() || rect.top() >= viewport()->height()) {
        return {};
    }
    return rect;
}

int TStringGrid::MaxTopRow() const {
    const int available = viewport()->height() - FixedHeight();
    int top = rowCount_;
    int used = 0;
    for (int row = rowCount_ - 1; row >= fixedRows_; --row) {
        used += RowHeight(row) + gridLineWidth_;
        if (used - gridLineWidth_ > available) {
            break;
        }
        top = row;
    }
    return std::clamp(top, fixedRows_, rowCount_ - 1);
}

int TStringGrid::MaxLeftCol() const {
    const int available = viewport()->width() - FixedWidth();
    int left = colCount_;
    int used = 0;
    for (int col = colCount_ - 1; col >= fixedCols_; --col) {
        used += ColWidth(col) + gridLineWidth_;
        if (used - gridLineWidth_ > available) {
            break;
        }
        left = col;
    }
    return std::clamp(left, fixedCols_, colCount_ - 1);
}

int TStringGrid::FullyVisibleRows() const {
    const int available = viewport()->height() - FixedHeight();
    int count = 0;
    int used = 0;
    for (int row = TopRow(); row < rowCount_; ++row) {
        used += RowHeight(row);
        if (used > available) {
            break;
        }
        used += gridLineWidth_;
        ++count;
    }
    return count;
}

int TStringGrid::FullyVisibleCols() const {
    const int available = viewport()->width() - FixedWidth();
    int count = 0;
    int used = 0;
    for (int col = LeftCol(); col < colCount_; ++col) {
        used += ColWidth(col);
        if (used > available) {
            break;
        }
        used += gridLineWidth_;
        ++count;
    }
    return count;
}

bool TStringGrid::CellAt(const QPoint& point, int& col, int& row) const {
    auto find = [this](int coordinate, int fixedCount, int first, int count, bool columns) {
        int edge = 0;
        for (int i = 0; i < count; ++i) {
            const int index = i < fixedCount ? i : first + (i - fixedCount);
            if (index >= count) {
                break;
            }
            const int size = columns ? ColWidth(index) : RowHeight(index);
            if (coordinate >= edge && coordinate < edge + size) {
                return index;
            }
            edge += size + gridLineWidth_;
            if (edge > coordinate) {
                return -1; // on a grid line
            }
        }
        return -1;
    };
    col = find(point.x(), fixedCols_, LeftCol(), colCount_, true);
    row = find(point.y(), fixedRows_, TopRow(), rowCount_, false);
    return col >= 0 && row >= 0;
}

void TStringGrid::UpdateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, MaxTopRow() - fixedRows_);
    vertical->setPageStep(std::max(1, FullyVisibleRows()));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, MaxLeftCol() - fixedCols_);
    horizontal->setPageStep(std::max(1, FullyVisibleCols()));
    PlaceEditor();
}

void TStringGrid::ScrollInView(int col, int row) {
    if (row >= fixedRows_) {
        int top = TopRow();
        const int available = viewport()->height() - FixedHeight();
        if (row < top) {
            top = row;
        }
        auto needed = [&] {
            int height = 0;
            for (int r = top; r <= row; ++r) {
                height += RowHeight(r) + gridLineWidth_;
            }
            return height - gridLineWidth_;
        };
        while (top < row && needed() > available) {
            ++top;
        }
        verticalScrollBar()->setValue(top - fixedRows_);
    }
    if (col >= fixedCols_) {
        int left = LeftCol();
        const int available = viewport()->width() - FixedWidth();
        if (col < left) {
            left = col;
        }
        auto needed = [&] {
            int width = 0;
            for (int c = left; c <= col; ++c) {
                width += ColWidth(c) + gridLineWidth_;
            }
            return width - gridLineWidth_;
        };
        while (left < col && needed() > available) {
            ++left;
        }
        horizontalScrollBar()->setValue(left - fixedCols_);
    }
}

void TStringGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TStringGrid::scrollContentsBy(int dx, int dy) {
    (void)dx;
    (void)dy;
    PlaceEditor();
    viewport()->update();
}

QSize TStringGrid::sizeHint() const {
    int width = 2 * frameWidth();
    for (int col = 0; col < colCount_; ++col) {
        width += ColWidth(col) + gridLineWidth_;
    }
    int height = 2 * frameWidth();
    for (int row = 0; row < rowCount_; ++row) {
        height += RowHeight(row) + gridLineWidth_;
    }
    return {width, height};
}

// ---- painting

void TStringGrid::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter painter(viewport());
    const QPalette& colours = palette();
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int line = gridLineWidth_;
    const bool focused = hasFocus() || (editorMode_ && editor_->hasFocus());

    auto visible = [](int fixedCount, int first, int count, int limit, auto size) {
        std::vector<std::pair<int, int>> items; // index, leading edge
        int edge = 0;
        for (int i = 0; i < fixedCount && edge < limit; ++i) {
            items.emplace_back(i, edge);
            edge += size(i);
        }
        for (int i = first; i < count && edge < limit; ++i) {
            items.emplace_back(i, edge);
            edge += size(i);
        }
        return items;
    };
    const auto cols =
        visible(fixedCols_, LeftCol(), colCount_, width, [&](int c) { return ColWidth(c) + line; });
    const auto rows = visible(fixedRows_, TopRow(), rowCount_, height,
                              [&](int r) { return RowHeight(r) + line; });

    for (const auto& [row, y] : rows) {
        for (const auto& [col, x] : cols) {
            const bool fixed = col < fixedCols_ || row < fixedRows_;
            const bool current = !fixed && col == col_ && row == row_ && !editorMode_;
            const QRect rect(x, y, ColWidth(col), RowHeight(row));
            QColor background = colours.color(fixed ? QPalette::Button : QPalette::Base);
            QColor foreground = colours.color(fixed ? QPalette::ButtonText : QPalette::Text);
            if (current) {
                background = colours.color(QPalette::Highlight);
                foreground = colours.color(QPalette::HighlightedText);
            }
            painter.fillRect(rect, background);
            if (line > 0) {
                const bool vertical = options_.testFlag(fixed ? goFixedVertLine : goVertLine);
                const bool horizontal = options_.testFlag(fixed ? goFixedHorzLine : goHorzLine);
                const QColor lineColour = colours.color(fixed ? QPalette::Dark : QPalette::Button);
                painter.fillRect(QRect(rect.right() + 1, y, line, rect.height() + line),
                                 vertical ? lineColour : background);
                painter.fillRect(QRect(x, rect.bottom() + 1, rect.width(), line),
                                 horizontal ? lineColour : background);
            }
            const QString& text = cells_[static_cast<std::size_t>(row) * colCount_ + col];
            if (!text.isEmpty()) {
                painter.setPen(foreground);
                painter.drawText(rect.adjusted(2, 0, -2, 0),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
            }
            if (current && focused) {
                painter.setPen(QPen(foreground, 1, Qt::DotLine));
                painter.drawRect(rect.adjusted(0, 0, -1, -1));
            }
        }
    }
}

// ---- the editor

bool TStringGrid::CanEdit() const {
    return options_.testFlag(goEditing) && col_ >= fixedCols_ && row_ >= fixedRows_;
}

void TStringGrid::SetEditorMode(bool open) {
    if (open) {
        ShowEditor();
    } else {
        HideEditor();
    }
}

void TStringGrid::ShowEditor() {
    if (editorMode_ || !CanEdit()) {
        return;
    }
    editorMode_ = true;
    // Nobody should type into a cell out of sight.
    ScrollInView(col_, row_);
    editor_->setText(Cell(col_, row_));
    editor_->selectAll();
    PlaceEditor();
    editor_->show();
    if (hasFocus()) {
        editor_->setFocus(Qt::OtherFocusReason);
    }
    viewport()->update();
}

void TStringGrid::HideEditor() {
    if (!editorMode_) {
        return;
    }
    EditorTextChanged(editor_->text());
    editorMode_ = false;
    // Hiding the focused editor would pass the focus on to the next control.
    if (editor_->hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
    editor_->hide();
    viewport()->update();
}

void TStringGrid::PlaceEditor() {
    if (editor_ == nullptr) {
        return;
    }
    const QRect rect = CellRect(col_, row_);
    // A current cell scrolled out of view keeps its editor open, out of sight.
    editor_->setGeometry(rect.isNull() ? QRect(-10000, -10000, 1, 1) : rect);
}

void TStringGrid::EditorLostFocus(Qt::FocusReason reason) {
    // The editor's own menu and a switch to another window leave it open; a click on the grid
    // itself hands the focus straight back (focusInEvent).
    if (!editorMode_ || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
        QApplication::focusWidget() == this) {
        return;
    }
    HideEditor();
}

void TStringGrid::TabFromEditor(bool forward) {
    HideEditor();
    focusNextPrevChild(forward);
}

// ---- input

void TStringGrid::KeyChar(const TTypedChar& typed) {
    char key = typed.Key;
    const auto byte = static_cast<unsigned char>(key);
    // Backspace and the printable characters open the editor first and are then the editor's;
    // the other control characters stay the grid's.
    if (!editorMode_ && (byte == 8 || byte >= 32)) {
        ShowEditor();
    }
    if (onKeyPress_) {
        onKeyPress_(this, key);
    }
    if (key == 0) {
        return;
    }
    if (!editorMode_) {
        if (key == '\r') {
            ShowEditor();
        }
        return;
    }
    if (key == '\r') {
        HideEditor();
        return;
    }
    ScrollInView(col_, row_);
    editor_->ApplyChar(key, typed.Key, typed.Text);
}

void TStringGrid::MoveTo(int col, int row) {
    col = std::clamp(col, fixedCols_, colCount_ - 1);
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    if (col != col_ || row != row_) {
        HideEditor();
        viewport()->update(CellRect(col_, row_));
        col_ = col;
        row_ = row;
    }
    ScrollInView(col_, row_);
    PlaceEditor();
    viewport()->update();
}

void TStringGrid::SetCurrentCell(int col, int row) {
    CheckCell(col, row);
    if (col < fixedCols_ || row < fixedRows_) {
        Fail(QStringLiteral("Ячейка (%1, %2) фиксированная").arg(col).arg(row));
    }
    MoveTo(col, row);
}

bool TStringGrid::NavigationKey(const QKeyEvent& event) {
    const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    if (event.modifiers().testFlag(Qt::AltModifier)) {
        return false;
    }
    int col = col_;
    int row = row_;
    const int page = std::max(1, FullyVisibleRows());
    switch (event.key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    // In the open editor these move its caret instead.
    case Qt::Key_Left:
        if (editorMode_) {
            return false;
        }
        --col;
        break;
    case Qt::Key_Right:
        if (editorMode_) {
            return false;
        }
        ++col;
        break;
    case Qt::Key_Home:
        if (editorMode_ && !ctrl) {
            return false;
        }
        col = fixedCols_;
        if (ctrl) {
            row = fixedRows_;
        }
        break;
    case Qt::Key_End:
        if (editorMode_ && !ctrl) {
            return false;
        }
        col = colCount_ - 1;
        if (ctrl) {
            row = rowCount_ - 1;
        }
        break;
    default:
        return false;
    }
    MoveTo(col, row);
    return true;
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    if (NavigationKey(*event)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        ShowEditor();
        event->accept();
        return;
    }
    const QList<TTypedChar> chars = TypedChars(*event);
    if (chars.isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
    for (const TTypedChar& typed : chars) {
        KeyChar(typed);
    }
}

void TStringGrid::inputMethodEvent(QInputMethodEvent* event) {
    for (const TTypedChar& typed : TypedChars(event->commitString())) {
        KeyChar(typed);
    }
    event->accept();
}

QVariant TStringGrid::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return CellRect(col_, row_).translated(viewport()->pos());
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    int col = 0;
    int row = 0;
    if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), col, row) ||
        col < fixedCols_ || row < fixedRows_) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    if (col != col_ || row != row_ || !CanEdit()) {
        MoveTo(col, row);
        return;
    }
    // A click on the current cell opens its editor with the caret where the click was.
    ShowEditor();
    editor_->setFocus(Qt::MouseFocusReason);
    editor_->setCursorPosition(
        editor_->cursorPositionAt(editor_->mapFrom(viewport(), event->position().toPoint())));
}

void TStringGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    if (editorMode_) {
        editor_->setFocus(Qt::OtherFocusReason);
    }
    viewport()->update();
}

void TStringGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (editorMode_ && QApplication::focusWidget() != editor_ && reason != Qt::PopupFocusReason &&
        reason != Qt::ActiveWindowFocusReason) {
        HideEditor();
    }
    viewport()->update();
}

// ---- stored settings

bool TStringGrid::ReadProperty(const QString& name, const QJsonValue& value,
                               const TReadContext& context) {
    try {
        if (name == QLatin1String("ColCount")) {
            SetColCount(IntValue(value));
        } else if (name == QLatin1String("RowCount")) {
            SetRowCount(IntValue(value));
        } else if (name == QLatin1String("FixedCols")) {
            SetFixedCols(IntValue(value));
        } else if (name == QLatin1String("FixedRows")) {
            SetFixedRows(IntValue(value));
        } else if (name == QLatin1String("DefaultColWidth")) {
            SetDefaultColWidth(context.Scale(IntValue(value)));
        } else if (name == QLatin1String("DefaultRowHeight")) {
            SetDefaultRowHeight(context.Scale(IntValue(value)));
        } else if (name == QLatin1String("ColWidths")) {
            SetColWidths(ScaledArray(value, context));
        } else if (name == QLatin1String("RowHeights")) {
            SetRowHeights(ScaledArray(value, context));
        } else if (name == QLatin1String("GridLineWidth")) {
            SetGridLineWidth(IntValue(value));
        } else if (name == QLatin1String("Options")) {
            if (!value.isArray()) {
                throw EReadError("Недопустимое значение свойства");
            }
            TGridOptions options;
            for (const QJsonValue& item : value.toArray()) {
                const auto* found = std::find_if(
                    std::begin(kOptionNames), std::end(kOptionNames),
                    [&](const TOptionName& option) { return item.toString() == option.Name; });
                if (!item.isString() || found == std::end(kOptionNames)) {
                    throw EReadError("Недопустимое значение свойства");
                }
                options |= found->Option;
            }
            SetOptions(options);
        } else if (name == QLatin1String("ScrollBars")) {
            static const char* const names[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
            const auto* found = std::find(std::begin(names), std::end(names), value.toString());
            if (!value.isString() || found == std::end(names)) {
                throw EReadError("Недопустимое значение свойства");
            }
            SetScrollBars(static_cast<TScrollStyle>(found - std::begin(names)));
        } else if (name == QLatin1String("ShowHint") || name == QLatin1String("ParentShowHint")) {
            if (!value.isBool()) {
                throw EReadError("Недопустимое значение свойства");
            }
            if (name == QLatin1String("ShowHint")) {
                SetShowHint(value.toBool());
            } else {
                SetParentShowHint(value.toBool());
            }
        } else if (name == QLatin1String("OnKeyPress")) {
            if (!value.isString()) {
                throw EReadError("Недопустимое значение свойства");
            }
            SetOnKeyPress(context.KeyPressHandler(value.toString()));
        } else {
            return TComponent::ReadProperty(name, value, context);
        }
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& failure) {
        throw EReadError(failure.Message());
    }
    return true;
}
