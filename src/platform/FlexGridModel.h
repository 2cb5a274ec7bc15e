#pragma once
// The cells behind a FlexGrid, in flat arrays: a text and a small style
// number per cell, or, while a source gives the data rows, the header's
// cells and what was written over the source's. Grid row 0 is the header
// (the view's horizontal header); grid row r is the model's row r - 1.
// Only FlexGrid uses it.
#include "platform/FlexGrid.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

size_t qHash(const FlexCellStyle& s, size_t seed = 0);

// Cells hold a number into a table of the distinct styles in use, so that
// a hundred thousand rows in two alternating colours cost a few bytes per
// cell.
class FlexGridModel final : public QAbstractTableModel {
public:
    // What a cell's style may change one at a time.
    enum class StyleField : quint8 { Back, Fore, Bold };
    // A cell's colours while nothing set them.
    static constexpr QRgb DefaultBack = 0xffffffff;
    static constexpr QRgb DefaultFore = 0xff000000;

    explicit FlexGridModel(QObject* parent);

    // The view's rows are the data rows: grid row r is model row r - 1.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    bool contains(int row, int col) const;

    QString text(int row, int col) const;
    void setText(int row, int col, QStringView text);
    void setText(int row, int col, QLatin1StringView text);

    FlexCellStyle style(int row, int col) const;
    void setStyleField(int row, int col, StyleField field, quint32 value);

    // The same change to every cell of a row: a row of fresh cells shares
    // one style, so the new style is looked up once.
    void setRowStyleField(int row, StyleField field, quint32 value);

    void setColumnAlignment(int col, Qt::Alignment a);
    // The text whose width sets the column's width, while FormatString
    // decides it.
    const std::optional<QString>& widthPiece(int col) const { return columns_[col].widthPiece; }
    void setWidthPiece(int col, std::optional<QString> piece) { columns_[col].widthPiece = std::move(piece); }
    // The width a window set in pixels, while it decides the width.
    const std::optional<int>& fixedWidth(int col) const { return columns_[col].fixedWidth; }
    void setFixedWidth(int col, std::optional<int> width) { columns_[col].fixedWidth = width; }
    // The widest text the column must show whole; empty for a text column.
    const QString& widest(int col) const { return columns_[col].widest; }
    void setWidest(int col, const QString& text) { columns_[col].widest = text; }

    // The longest text of a column's data rows, when the grid holds them
    // itself (a source's rows are not all read to measure them); nullopt
    // too while there is no data row.
    std::optional<QString> longestData(int col) const;

    void setBaseFont(const QFont& font) { baseFont_ = font; }

    // Rows from a source: the grid keeps the header's cells only.
    void setSource(std::shared_ptr<const FlexRows> source, int rows);
    void setRows(int rows);
    void setCols(int cols);

    // Inserts before grid row `row` (1 .. rows()).
    void insertRow(int row, const QStringList& cells);
    void removeRow(int row);
    void clear();

private:
    struct Column {
        Qt::Alignment align;
        std::optional<QString> widthPiece;
        std::optional<int> fixedWidth;
        QString widest;
    };

    size_t at(int row, int col) const { return size_t(row) * cols_ + col; }
    static quint64 key(int row, int col) { return quint64(quint32(row)) << 32 | quint32(col); }
    // The rows whose cells the grid holds itself: all of them, or the
    // header alone while a source gives the rest.
    int stored() const { return source_ ? 1 : rows_; }

    // A source's cell, or what was written over it since.
    template <typename T, typename Ask>
    static T sourced(const QHash<quint64, T>& written, int row, int col, Ask ask)
    {
        if (!written.isEmpty())
            if (const auto it = written.constFind(key(row, col)); it != written.constEnd())
                return *it;
        return ask();
    }

    void dropSource();

    // The source's cells copied into the grid (the first `keep` rows, the
    // header included; the others empty), so that rows can move. The grid
    // then holds `size` rows' cells (rows_ unless it is about to shrink).
    void materialize(int keep, int size = -1);

    // Where a cell's text lies in bytes_: one byte a character when every
    // character fits in one (most of what the windows write), else two.
    struct Span {
        quint32 offset = 0;
        quint32 length : 31 = 0;  // characters
        quint32 wide : 1 = 0;
        size_t bytes() const { return size_t(length) << wide; }
    };

    // A text that fits where the old one was takes its place; another goes
    // at the end. Once most of the buffer is left-over text, the live texts
    // are copied together.
    void store(Span& sp, QStringView text);

    // Where a text of `need` bytes goes for this cell; the caller writes it
    // and the span's length.
    char* place(Span& sp, size_t need, bool wide);

    void compact();

    QVariant cellData(int row, int col, int role) const;
    // The cell's own alignment, else its column's, else numbers to the
    // right and other text left.
    Qt::Alignment alignmentOf(int row, int col) const;

    void resizeRows(int rows);
    // Styles are numbered in a table of the distinct ones in use.
    void resetStyles();
    quint32 restyled(quint32 from, StyleField field, quint32 value);
    quint32 idOf(const FlexCellStyle& s);

    // The view hears about cell changes once per pass of the event loop,
    // however many cells a filling loop writes.
    void changed(int row);
    void flush();

    struct StyleChange {
        quint32 from;
        StyleField field;
        quint32 value;
        quint32 to;
    };

    int rows_ = 1;
    int cols_ = 2;
    // The texts of all cells share one buffer: a hundred thousand rows cost
    // their characters and eight bytes a cell, not a string object each.
    std::vector<Span> text_;        // row-major, row 0 the header
    std::vector<char> bytes_;
    size_t unused_ = 0;             // bytes of bytes_ no cell uses
    std::vector<quint32> styleId_;  // parallel to text_
    std::vector<FlexCellStyle> styles_;
    QHash<FlexCellStyle, quint32> styleIds_;
    std::array<std::optional<StyleChange>, 2> lastChange_;
    std::vector<Column> columns_;
    // The data rows' cells while a source gives them, and what was written
    // over them since.
    std::shared_ptr<const FlexRows> source_;
    QHash<quint64, QString> textOver_;
    QHash<quint64, FlexCellStyle> styleOver_;
    QFont baseFont_;
    bool flushPending_ = false;
    bool dataDirty_ = false;
    bool headerDirty_ = false;
};

} // namespace platform
