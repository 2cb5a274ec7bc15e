#pragma once
// The grid the windows list their rows in. It is addressed the way the
// windows address it: row 0 is the fixed header row, data rows are 1 to
// Rows() - 1, columns 0 to Cols() - 1; the "current cell" (Row(), Col()) is
// both what the user has selected and what the cell-format setters act on.
//
// A query may list a hundred thousand entries, so the cells live in flat
// arrays inside the grid's model (FlexGridModel.h: a text and a small style
// number per cell) and filling a cell costs no more than storing its text:
// the view is told about changes once, when control returns to the event
// loop.
#include <QColor>
#include <QStringList>
#include <QTableView>

#include <memory>
#include <vector>

class QKeyEvent;
class QListWidget;

namespace platform {

// The background of the even data rows of a grid (the odd ones are white).
inline const QColor kAlternateRowColor{225, 255, 255};

// The widest texts of the usual kinds of column (see FormatString): an
// entry's amount (thirteen integer digits), a date.
inline const QString kWidestAmount = QStringLiteral("-9.999.999.999.999,99");
inline const QString kWidestDate = QStringLiteral("00/00/0000");
// A sum of many amounts (a year of a budget line, a running balance).
inline const QString kWidestSum = QStringLiteral("-999.999.999.999.999,99");
// A classification's or an entry's number.
inline const QString kWidestCode = QStringLiteral("000000");

// The width `text` takes in `font`, plain or bold, every digit as wide as
// the font's widest: what any value of its shape needs, whatever its digits.
int shapeWidth(const QFont& font, const QString& text);

class FlexGridModel;

// The key that does on the current row what a double-click does on it (in
// the grids of entries: opens the entry editor). No window gives it a
// meaning of its own.
inline constexpr Qt::Key kOpenRowKey = Qt::Key_F4;
inline const QString kOpenRowKeyName = QStringLiteral("F4");
// Tells a screen reader what kOpenRowKey and the double-click do on a row
// of a grid or a list: "F4 ou duplo clique: " and the action.
void describeOpenRow(QWidget& view, const QString& action);
// Gives a list the key too: kOpenRowKey on its current item emits
// itemDoubleClicked, so the list's double-click handler runs; the action
// is described as above.
void openListRowOnKey(QListWidget& list, const QString& action);

// What a cell shows besides its text: colours, bold, size in points (0 the
// grid's own), alignment (0 follows the column).
struct FlexCellStyle {
    QRgb back = 0xffffffff;
    QRgb fore = 0xff000000;
    quint16 align = 0;
    quint8 fontSize = 0;
    bool bold = false;

    friend bool operator==(const FlexCellStyle&, const FlexCellStyle&) = default;
};

// Data rows a window keeps anyway, shown without being copied into the
// grid: a cell's text and style are asked for when the cell is painted or
// read. A listing of a million entries then costs the rows in sight, not a
// text per cell.
class FlexRows {
public:
    virtual ~FlexRows() = default;
    // row is a data row, 1 to the count the grid was given.
    virtual QString text(int row, int col) const = 0;
    virtual FlexCellStyle style(int row, int col) const = 0;
};

class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // One "|"-separated piece per column. A piece may start with "<", "^" or
    // ">" (left, centred, right); the rest is the title, shown trimmed in the
    // header row, while its full text, blanks included, sets the column's
    // width. Sets Cols(); keeps the rows and their cells.
    // widest holds, column by column, the widest text a value, number or
    // date column must show whole: a shown column is never narrower than
    // it in the grid's font, bold included, each digit as wide as the
    // font's widest. Empty for text.
    void FormatString(const QString& format, const QStringList& widest = {});

    // Row count including the header row: 1 means no data rows. Growing adds
    // empty rows, shrinking drops the last ones.
    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const { return 1; }

    // Out-of-range reads give an empty text; out-of-range writes are ignored.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // The same for a text written in a buffer of the caller's (numbers, in
    // filling loops), without making a string of it.
    void setTextMatrix(int row, int col, QLatin1StringView text);

    // Shows `rows` data rows from a source; the header row stays. Writing a
    // cell or its format afterwards changes that cell only, over what the
    // source gives; any change of the rows (setRows, Clear, AddItem,
    // RemoveItem) first copies the source's cells into the grid.
    void setRowSource(std::shared_ptr<const FlexRows> source, int rows);

    // Adds a row from a tab-separated text, at the end or before data row
    // `row`.
    void AddItem(const QString& tabSeparated, int row = -1);
    // Removes one data row; the header row cannot be removed.
    void RemoveItem(int row);
    // Empties every cell, header included, and drops every cell format;
    // Rows() and Cols() stay.
    void Clear();

    // Column width in pixels; 0 hides the column from sight.
    int ColWidth(int col) const;
    void setColWidth(int col, int width);
    // The widest text FormatString was given for the column.
    QString colWidest(int col) const;
    // The columns that give way (descriptions) when the grid is narrower
    // than its columns, so that the value columns stay whole and in sight:
    // first the value columns give up the room their values do not need;
    // then each description in turn shrinks to a readable width
    // (kReadableChars average characters), then on down to its title.
    void setGivingWayCols(const std::vector<int>& cols);
    void setGivingWayCol(int col) { setGivingWayCols({col}); }
    static constexpr int kReadableChars = 24;
    // The narrowest a column gets: a giving-way one its title, a value
    // column of a grid with giving-way columns what its values need, any
    // other its width.
    int leastWidth(int col) const;
    // The width a description keeps while a value column has room to spare.
    int readableWidth(int col) const;
    // What a value column's values need: its widest value whole, or the
    // widest it can hold while it has no values or a source gives them;
    // never less than its title.
    int valueWidth(int col) const;
    // With giving-way columns: wide enough for every column up to the last
    // amount, date or number whole, those at their titles, so that a layout
    // keeps the values in sight where it can.
    // Never shorter than its header, kLeastRows rows and a scroll bar: a
    // window too short for that scrolls as a whole instead.
    QSize minimumSizeHint() const override;
    // The width that shows every column, each description at its readable
    // width and every value whole: a layout narrower cuts a description
    // short or scrolls sideways.
    int readableSizeWidth() const;
    static constexpr int kLeastRows = 6;
    int leastHeight() const;
    // Zero means the general rule: numbers to the right, other text left.
    void setColAlignment(int col, Qt::Alignment alignment);

    // The current cell; Row() is 0 while there is no data row, and a grid
    // that gains its first data rows starts on row 1. Setting it from code
    // moves the selection without scrolling; TopRow() is what scrolls.
    int Row() const { return row_; }
    void setRow(int row);
    int Col() const { return col_; }
    void setCol(int col);
    // Whole rows are selected one at a time, so the selection ends where it
    // starts.
    int RowSel() const { return row_; }

    // First data row in sight. Setting it scrolls as far as the rows allow:
    // asking for the last row brings the last page into view.
    int TopRow() const;
    void setTopRow(int row);
    // Data rows that fit wholly in the visible area.
    int fullyVisibleRowCount() const;

    // The current cell's text and formats.
    QString Text() const;
    void setText(const QString& text);
    QColor CellBackColor() const;
    void setCellBackColor(const QColor& color);
    QColor CellForeColor() const;
    void setCellForeColor(const QColor& color);
    bool CellFontBold() const;
    void setCellFontBold(bool bold);
    // Points; 0 means the grid's own font size.
    int CellFontSize() const;
    // Zero means the column's alignment.
    Qt::Alignment CellAlignment() const;

    // The same formats addressed directly, for filling loops.
    QColor cellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, const QColor& color);
    QColor cellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, const QColor& color);
    bool cellBold(int row, int col) const;
    void setCellBold(int row, int col, bool bold);
    void setRowBackColor(int row, const QColor& color);
    // The grids' row convention: odd data rows white, even ones light cyan.
    void setAlternateRowColor(int row);

signals:
    // Emitted before the grid's own handling of the key, so that a window
    // sees Delete, Insert, keypad "+" and the function keys first.
    void keyPressed(QKeyEvent* event);
    // Left button released over the grid.
    void cellClicked(int row, int col);
    // The cell under the pointer is made current first; a double-click below
    // the last row leaves the current cell as it was. kOpenRowKey emits it
    // too, for the current cell, once the window has seen the key.
    void cellDoubleClicked(int row, int col);
    // The right button makes the cell under the pointer current first.
    void rightClicked(int row, int col);
    // The user moved the current cell (keyboard or mouse).
    void currentCellChanged(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // Typing does not jump to a matching row: digits and "+" are keys the
    // windows give meanings of their own.
    void keyboardSearch(const QString&) override {}

private:
    bool validCell(int row, int col) const;
    void scheduleCurrentSync();
    void syncCurrentToView();
    void afterRowCountChange(int oldRows);
    void sizeColumnsFromTitles();
    void applyFontMetrics();
    int contentWidth(int col) const;
    int widthOfCols(int last, bool readable) const;
    int wholeWidth(const QString& text) const;
    int titleWidth(int col) const;
    bool givesWay(int col) const;
    bool sharesRoom(int col) const;
    bool holdsValues(int col) const;
    void giveWay();

    FlexGridModel* model_;
    int row_ = 0;
    int col_ = 0;
    bool syncPending_ = false;
    bool internalChange_ = false;
    std::vector<int> givingWayCols_;
    std::vector<int> naturalWidths_;
};

} // namespace platform
