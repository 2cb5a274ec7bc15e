#include "platform/FlexGrid.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <optional>
#include <vector>

namespace platform {

namespace {

constexpr QRgb DefaultBack = 0xffffffff;
constexpr QRgb DefaultFore = 0xff000000;
constexpr Qt::Alignment HorizontalMask = Qt::AlignHorizontal_Mask;

// Everything a cell may carry besides its text. Cells hold a number into a
// table of the distinct styles in use, so that a hundred thousand rows in
// two alternating colours cost a few bytes per cell.
using CellStyle = FlexCellStyle;

enum class StyleField : quint8 { Back, Fore, Bold };

void applyField(CellStyle& s, StyleField field, quint32 value)
{
    switch (field) {
    case StyleField::Back: s.back = value; break;
    case StyleField::Fore: s.fore = value; break;
    case StyleField::Bold: s.bold = value != 0; break;
    }
}

// Numbers as the program writes them: optional sign, digits with "." between
// thousands and "," before the decimals ("-1.234,56", "000123", "12,5").
std::optional<double> readNumber(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    double value = 0;
    double scale = 0;  // nonzero once past the decimal comma
    bool digits = false;
    for (QChar ch : text) {
        if (ch >= u'0' && ch <= u'9') {
            digits = true;
            const int d = ch.unicode() - u'0';
            if (scale == 0) {
                value = value * 10 + d;
            } else {
                value += d * scale;
                scale /= 10;
            }
        } else if (ch == u',' && scale == 0) {
            scale = 0.1;
        } else if (ch == u'.' && scale == 0) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

size_t qHash(const FlexCellStyle& s, size_t seed = 0)
{
    return qHashMulti(seed, s.back, s.fore, s.align, s.fontSize, s.bold);
}

class FlexGridModel final : public QAbstractTableModel {
public:
    explicit FlexGridModel(QObject* parent) : QAbstractTableModel(parent)
    {
        resetStyles();
        text_.resize(size_t(rows_) * cols_);
        styleId_.resize(text_.size(), 0);
        columns_.resize(cols_);
    }

    // The view's rows are the data rows: grid row r is model row r - 1.
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : rows_ - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : cols_;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        return cellData(index.row() + 1, index.column(), role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= cols_)
            return {};
        const CellStyle s = style(0, section);
        switch (role) {
        case Qt::BackgroundRole:  // the header keeps the style's grey unless coloured
            return s.back == DefaultBack ? QVariant() : QVariant(QBrush(QColor::fromRgb(s.back)));
        case Qt::ForegroundRole:
            return s.fore == DefaultFore ? QVariant() : QVariant(QBrush(QColor::fromRgb(s.fore)));
        case Qt::TextAlignmentRole: {
            Qt::Alignment a = alignmentOf(0, section);
            if (!(a & HorizontalMask))
                a |= Qt::AlignLeft;
            return int(a);
        }
        default:
            return cellData(0, section, role);
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    bool contains(int row, int col) const
    {
        return row >= 0 && row < rows_ && col >= 0 && col < cols_;
    }

    QString text(int row, int col) const
    {
        if (row >= stored())
            return sourced(textOver_, row, col, [&] { return source_->text(row, col); });
        const Span& sp = text_[at(row, col)];
        const char* p = bytes_.data() + sp.offset;
        if (sp.wide)
            return QString(reinterpret_cast<const QChar*>(p), qsizetype(sp.length));
        return QString::fromLatin1(p, qsizetype(sp.length));
    }
    void setText(int row, int col, QStringView text)
    {
        if (row >= stored())
            textOver_.insert(key(row, col), text.toString());
        else
            store(text_[at(row, col)], text);
        changed(row);
    }
    void setText(int row, int col, QLatin1StringView text)
    {
        if (row >= stored()) {
            textOver_.insert(key(row, col), QString(text));
            changed(row);
            return;
        }
        Span& sp = text_[at(row, col)];
        std::memcpy(place(sp, size_t(text.size()), false), text.data(), size_t(text.size()));
        sp.length = quint32(text.size());
        sp.wide = false;
        changed(row);
    }

    CellStyle style(int row, int col) const
    {
        if (row >= stored())
            return sourced(styleOver_, row, col, [&] { return source_->style(row, col); });
        return styles_[styleId_[at(row, col)]];
    }
    void setStyleField(int row, int col, StyleField field, quint32 value)
    {
        if (row >= stored()) {
            CellStyle s = style(row, col);
            applyField(s, field, value);
            styleOver_.insert(key(row, col), s);
            changed(row);
            return;
        }
        quint32& id = styleId_[at(row, col)];
        const quint32 to = restyled(id, field, value);
        if (to != id) {
            id = to;
            changed(row);
        }
    }

    // The same change to every cell of a row: a row of fresh cells shares
    // one style, so the new style is looked up once.
    void setRowStyleField(int row, StyleField field, quint32 value)
    {
        if (row >= stored()) {
            for (int c = 0; c < cols_; ++c)
                setStyleField(row, c, field, value);
            return;
        }
        bool mudou = false;
        for (int c = 0; c < cols_; ++c) {
            quint32& id = styleId_[at(row, c)];
            const quint32 to = restyled(id, field, value);
            mudou |= to != id;
            id = to;
        }
        if (mudou)
            changed(row);
    }

    void setColumnAlignment(int col, Qt::Alignment a)
    {
        columns_[col].align = a;
        changed(0);
        changed(1);
    }
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
    std::optional<QString> longestData(int col) const
    {
        if (source_ || rows_ <= 1 || col < 0 || col >= cols_)
            return std::nullopt;
        int longest = 0;
        quint32 length = 0;
        for (int r = 1; r < rows_; ++r) {
            if (text_[at(r, col)].length > length) {
                length = text_[at(r, col)].length;
                longest = r;
            }
        }
        return longest ? text(longest, col) : QString();
    }

    void setBaseFont(const QFont& font) { baseFont_ = font; }

    // Rows from a source: the grid keeps the header's cells only.
    void setSource(std::shared_ptr<const FlexRows> source, int rows)
    {
        if (rows_ > 1) {
            beginRemoveRows({}, 0, rows_ - 2);
            dropSource();
            resizeRows(1);
            endRemoveRows();
        }
        dropSource();
        source_ = std::move(source);
        if (rows > 1) {
            beginInsertRows({}, 0, rows - 2);
            rows_ = rows;
            endInsertRows();
        }
        changed(1);
    }

    void setRows(int rows)
    {
        if (rows < rows_) {
            beginRemoveRows({}, rows - 1, rows_ - 2);
            // Only the rows that stay are copied: a long listing's source
            // is never written out whole just to be dropped.
            materialize(rows, rows);
            resizeRows(rows);
            endRemoveRows();
            return;
        }
        materialize(rows_);
        if (rows > rows_) {
            beginInsertRows({}, rows_ - 1, rows - 2);
            resizeRows(rows);
            endInsertRows();
        }
    }

    void setCols(int cols)
    {
        if (cols == cols_)
            return;
        const bool growing = cols > cols_;
        if (growing)
            beginInsertColumns({}, cols_, cols - 1);
        else
            beginRemoveColumns({}, cols, cols_ - 1);
        std::vector<Span> text(size_t(stored()) * cols);
        std::vector<quint32> styleId(text.size(), 0);
        const int kept = std::min(cols, cols_);
        for (int r = 0; r < stored(); ++r)
            for (int c = 0; c < cols_; ++c) {
                if (c >= kept) {
                    unused_ += text_[at(r, c)].bytes();
                    continue;
                }
                text[size_t(r) * cols + c] = text_[at(r, c)];
                styleId[size_t(r) * cols + c] = styleId_[at(r, c)];
            }
        text_ = std::move(text);
        styleId_ = std::move(styleId);
        cols_ = cols;
        columns_.resize(cols);
        if (growing)
            endInsertColumns();
        else
            endRemoveColumns();
    }

    // Inserts before grid row `row` (1 .. rows()).
    void insertRow(int row, const QStringList& cells)
    {
        materialize(rows_);
        beginInsertRows({}, row - 1, row - 1);
        const auto pos = ptrdiff_t(row) * cols_;
        text_.insert(text_.begin() + pos, size_t(cols_), Span{});
        styleId_.insert(styleId_.begin() + pos, size_t(cols_), 0);
        for (int c = 0; c < std::min(int(cells.size()), cols_); ++c)
            store(text_[pos + c], cells[c]);
        ++rows_;
        endInsertRows();
    }

    void removeRow(int row)
    {
        materialize(rows_);
        beginRemoveRows({}, row - 1, row - 1);
        const auto pos = ptrdiff_t(row) * cols_;
        for (auto it = text_.begin() + pos; it != text_.begin() + pos + cols_; ++it)
            unused_ += it->bytes();
        text_.erase(text_.begin() + pos, text_.begin() + pos + cols_);
        styleId_.erase(styleId_.begin() + pos, styleId_.begin() + pos + cols_);
        --rows_;
        endRemoveRows();
    }

    void clear()
    {
        materialize(1);
        std::fill(text_.begin(), text_.end(), Span{});
        // The room is kept for the fill that follows a clear; flush() gives
        // back what that fill did not use.
        bytes_.clear();
        unused_ = 0;
        std::fill(styleId_.begin(), styleId_.end(), 0);
        resetStyles();
        changed(0);
        changed(1);
    }

    void sortRows(int col, FlexSort order)
    {
        const int n = rows_ - 1;
        if (n < 2)
            return;
        materialize(rows_);
        const bool numeric = order == FlexSort::NumericAscending || order == FlexSort::NumericDescending;
        const bool descending = order == FlexSort::GenericDescending || order == FlexSort::NumericDescending;
        std::vector<std::optional<double>> numbers(n);
        std::vector<QString> texts(n);
        for (int i = 0; i < n; ++i) {
            texts[i] = text(i + 1, col);
            numbers[i] = readNumber(texts[i]);
            if (numeric && !numbers[i])
                numbers[i] = 0.0;
        }
        auto less = [&](int a, int b) {
            if (numbers[a] && numbers[b])
                return *numbers[a] < *numbers[b];
            return texts[a].compare(texts[b], Qt::CaseInsensitive) < 0;
        };
        std::vector<int> order_(n);
        std::iota(order_.begin(), order_.end(), 0);
        std::stable_sort(order_.begin(), order_.end(),
                         [&](int a, int b) { return descending ? less(b, a) : less(a, b); });

        std::vector<Span> text(text_.size());
        std::vector<quint32> styleId(styleId_.size());
        std::copy(text_.begin(), text_.begin() + cols_, text.begin());
        std::copy(styleId_.begin(), styleId_.begin() + cols_, styleId.begin());
        for (int i = 0; i < n; ++i) {
            const size_t from = at(order_[i] + 1, 0);
            const size_t to = at(i + 1, 0);
            std::copy(text_.begin() + from, text_.begin() + from + cols_, text.begin() + to);
            std::copy(styleId_.begin() + from, styleId_.begin() + from + cols_, styleId.begin() + to);
        }
        text_ = std::move(text);
        styleId_ = std::move(styleId);
        changed(1);
    }

    Qt::Alignment alignmentOf(int row, int col) const
    {
        Qt::Alignment a = Qt::Alignment(style(row, col).align);
        if (!(a & HorizontalMask))
            a |= columns_[col].align;
        if (!(a & HorizontalMask) && row > 0)
            a |= readNumber(text(row, col)) ? Qt::AlignRight : Qt::AlignLeft;
        if (!(a & Qt::AlignVertical_Mask))
            a |= Qt::AlignVCenter;
        return a;
    }

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

    void dropSource()
    {
        source_.reset();
        textOver_.clear();
        styleOver_.clear();
    }

    // The source's cells copied into the grid (the first `keep` rows, the
    // header included; the others empty), so that rows can move. The grid
    // then holds `size` rows' cells (rows_ unless it is about to shrink).
    void materialize(int keep, int size = -1)
    {
        if (!source_)
            return;
        const std::shared_ptr<const FlexRows> source = source_;
        const QHash<quint64, QString> texts = textOver_;
        const QHash<quint64, CellStyle> styles = styleOver_;
        dropSource();
        text_.resize(size_t(size < 0 ? rows_ : size) * cols_);
        styleId_.resize(text_.size(), 0);
        for (int r = 1; r < std::min(keep, rows_); ++r)
            for (int c = 0; c < cols_; ++c) {
                const quint64 k = key(r, c);
                const auto t = texts.constFind(k);
                store(text_[at(r, c)], t != texts.constEnd() ? *t : source->text(r, c));
                const auto st = styles.constFind(k);
                styleId_[at(r, c)] = idOf(st != styles.constEnd() ? *st : source->style(r, c));
            }
    }

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
    void store(Span& sp, QStringView text)
    {
        const bool wide = std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xff; });
        char* to = place(sp, size_t(text.size()) << int(wide), wide);
        sp.length = quint32(text.size());
        sp.wide = wide;
        if (wide)
            std::memcpy(to, text.data(), size_t(text.size()) * 2);
        else
            for (QChar c : text)
                *to++ = char(c.unicode());
    }

    // Where a text of `need` bytes goes for this cell; the caller writes it
    // and the span's length.
    char* place(Span& sp, size_t need, bool wide)
    {
        if (need > sp.bytes() || (wide && !sp.wide)) {
            unused_ += sp.bytes();
            if (unused_ > 262144 && unused_ > bytes_.size() / 2)
                compact();
            if (wide && bytes_.size() % 2)
                bytes_.push_back(0);  // two-byte characters start at an even byte
            sp.offset = quint32(bytes_.size());
            bytes_.resize(bytes_.size() + need);
        } else {
            unused_ += sp.bytes() - need;
        }
        return bytes_.data() + sp.offset;
    }

    void compact()
    {
        std::vector<char> live;
        live.reserve(bytes_.size() - unused_ + text_.size() / 8);
        for (Span& sp : text_) {
            if (sp.wide && live.size() % 2)
                live.push_back(0);
            const auto from = bytes_.begin() + sp.offset;
            sp.offset = quint32(live.size());
            live.insert(live.end(), from, from + ptrdiff_t(sp.bytes()));
        }
        bytes_ = std::move(live);
        unused_ = 0;
    }

    QVariant cellData(int row, int col, int role) const
    {
        const CellStyle& s = style(row, col);
        switch (role) {
        case Qt::DisplayRole:
            return text(row, col);
        case Qt::BackgroundRole:
            return QBrush(QColor::fromRgb(s.back));
        case Qt::ForegroundRole:
            return QBrush(QColor::fromRgb(s.fore));
        case Qt::FontRole: {
            if (!s.bold && !s.fontSize)
                return {};
            QFont f = baseFont_;
            f.setBold(s.bold);
            if (s.fontSize)
                f.setPointSize(s.fontSize);
            return f;
        }
        case Qt::TextAlignmentRole:
            return int(alignmentOf(row, col));
        default:
            return {};
        }
    }

    void resizeRows(int rows)
    {
        rows_ = rows;
        for (size_t i = size_t(rows_) * cols_; i < text_.size(); ++i)
            unused_ += text_[i].bytes();
        text_.resize(size_t(rows_) * cols_);
        styleId_.resize(text_.size(), 0);
    }

    void resetStyles()
    {
        styles_.assign(1, CellStyle{});
        styleIds_.clear();
        styleIds_.insert(CellStyle{}, 0);
        lastChange_ = {};
    }

    quint32 restyled(quint32 from, StyleField field, quint32 value)
    {
        // Filling loops give every cell of a row the same change; remember
        // the last one to skip the lookup.
        // Rows in two alternating colours make two changes that take turns.
        for (const std::optional<StyleChange>& c : lastChange_)
            if (c && c->from == from && c->field == field && c->value == value)
                return c->to;
        CellStyle s = styles_[from];
        applyField(s, field, value);
        const quint32 to = idOf(s);
        lastChange_[1] = lastChange_[0];
        lastChange_[0] = StyleChange{from, field, value, to};
        return to;
    }

    quint32 idOf(const CellStyle& s)
    {
        if (const auto it = styleIds_.constFind(s); it != styleIds_.constEnd())
            return *it;
        const quint32 id = quint32(styles_.size());
        styles_.push_back(s);
        styleIds_.insert(s, id);
        return id;
    }

    // The view hears about cell changes once per pass of the event loop,
    // however many cells a filling loop writes.
    void changed(int row)
    {
        (row == 0 ? headerDirty_ : dataDirty_) = true;
        if (flushPending_)
            return;
        flushPending_ = true;
        QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
    }

    void flush()
    {
        flushPending_ = false;
        if (bytes_.capacity() > 2 * bytes_.size() + (size_t(1) << 20))
            bytes_.shrink_to_fit();
        if (dataDirty_ && rows_ > 1 && cols_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 2, cols_ - 1));
        if (headerDirty_ && cols_ > 0)
            emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
        dataDirty_ = headerDirty_ = false;
    }

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
    std::vector<CellStyle> styles_;
    QHash<CellStyle, quint32> styleIds_;
    std::array<std::optional<StyleChange>, 2> lastChange_;
    std::vector<Column> columns_;
    // The data rows' cells while a source gives them, and what was written
    // over them since.
    std::shared_ptr<const FlexRows> source_;
    QHash<quint64, QString> textOver_;
    QHash<quint64, CellStyle> styleOver_;
    QFont baseFont_;
    bool flushPending_ = false;
    bool dataDirty_ = false;
    bool headerDirty_ = false;
};

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this))
{
    setModel(model_);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setSortingEnabled(false);
    // Tab leaves the grid for the next control, as in every other control.
    setTabKeyNavigation(false);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // What a value column needs follows the values it holds.
    const auto contentsChanged = [this] {
        if (givingWayCols_.empty())
            return;
        giveWay();
        updateGeometry();
    };
    connect(model_, &QAbstractItemModel::dataChanged, this, contentsChanged);
    connect(model_, &QAbstractItemModel::rowsInserted, this, contentsChanged);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, contentsChanged);
    connect(model_, &QAbstractItemModel::modelReset, this, contentsChanged);
    connect(model_, &QAbstractItemModel::layoutChanged, this, contentsChanged);

    applyFontMetrics();
}

FlexGrid::~FlexGrid() = default;

void FlexGrid::FormatString(const QString& format, const QStringList& widest)
{
    const QStringList pieces = format.split(QLatin1Char('|'));
    setCols(int(pieces.size()));
    for (int c = 0; c < int(pieces.size()); ++c) {
        QString piece = pieces[c];
        Qt::Alignment align;
        if (!piece.isEmpty()) {
            switch (piece.front().unicode()) {
            case '<': align = Qt::AlignLeft; break;
            case '^': align = Qt::AlignHCenter; break;
            case '>': align = Qt::AlignRight; break;
            }
            if (align)
                piece.remove(0, 1);
        }
        model_->setColumnAlignment(c, align);
        model_->setText(0, c, piece.trimmed());
        model_->setWidthPiece(c, piece);
        model_->setFixedWidth(c, std::nullopt);
        model_->setWidest(c, c < widest.size() ? widest[c] : QString());
    }
    sizeColumnsFromTitles();
}

int FlexGrid::Rows() const { return model_->rows(); }

void FlexGrid::setRows(int rows)
{
    const int old = Rows();
    {
        QScopedValueRollback guard(internalChange_, true);
        model_->setRows(std::max(rows, FixedRows()));
    }
    afterRowCountChange(old);
}

int FlexGrid::Cols() const { return model_->cols(); }

void FlexGrid::setCols(int cols)
{
    {
        QScopedValueRollback guard(internalChange_, true);
        model_->setCols(std::max(cols, 1));
    }
    col_ = std::min(col_, Cols() - 1);
    scheduleCurrentSync();
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    return model_->contains(row, col) ? model_->text(row, col) : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    if (validCell(row, col))
        model_->setText(row, col, QStringView(text));
}

void FlexGrid::setTextMatrix(int row, int col, QLatin1StringView text)
{
    if (validCell(row, col))
        model_->setText(row, col, text);
}

void FlexGrid::setRowSource(std::shared_ptr<const FlexRows> source, int rows)
{
    const int old = Rows();
    {
        QScopedValueRollback guard(internalChange_, true);
        model_->setSource(std::move(source), std::max(rows, 0) + FixedRows());
    }
    afterRowCountChange(old);
}

void FlexGrid::AddItem(const QString& tabSeparated, int row)
{
    const int old = Rows();
    if (row < 0)
        row = old;
    if (row < FixedRows() || row > old) {
        qWarning("FlexGrid::AddItem: row %d out of range", row);
        return;
    }
    {
        QScopedValueRollback guard(internalChange_, true);
        model_->insertRow(row, tabSeparated.split(QLatin1Char('\t')));
    }
    if (row_ >= row && old > FixedRows())
        ++row_;
    afterRowCountChange(old);
}

void FlexGrid::RemoveItem(int row)
{
    if (row < FixedRows() || row >= Rows()) {
        qWarning("FlexGrid::RemoveItem: row %d out of range", row);
        return;
    }
    const int old = Rows();
    {
        QScopedValueRollback guard(internalChange_, true);
        model_->removeRow(row);
    }
    if (row_ > row)
        --row_;
    afterRowCountChange(old);
}

void FlexGrid::Clear()
{
    model_->clear();
}

int FlexGrid::ColWidth(int col) const
{
    return horizontalHeader()->sectionSize(col);
}

void FlexGrid::setColWidth(int col, int width)
{
    if (!validCell(0, col))
        return;
    model_->setWidthPiece(col, std::nullopt);
    model_->setFixedWidth(col, std::max(width, 0));
    sizeColumnsFromTitles();
}

QString FlexGrid::colWidest(int col) const
{
    return validCell(0, col) ? model_->widest(col) : QString();
}

void FlexGrid::setGivingWayCols(const std::vector<int>& cols)
{
    givingWayCols_ = cols;
    sizeColumnsFromTitles();
}

// The width that shows `text` whole: in the grid's font and in bold, every
// digit as wide as the font's widest one, plus the cell's margins and its
// grid line.
int FlexGrid::wholeWidth(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    QFont bold = font();
    bold.setBold(true);
    int width = 0;
    for (const QFontMetrics& m : {fontMetrics(), QFontMetrics(bold)}) {
        QChar digit = QLatin1Char('0');
        for (char d = '1'; d <= '9'; ++d)
            if (m.horizontalAdvance(QLatin1Char(d)) > m.horizontalAdvance(digit))
                digit = QLatin1Char(d);
        QString shown = text;
        for (QChar& ch : shown)
            if (ch.isDigit())
                ch = digit;
        width = std::max(width, m.horizontalAdvance(shown));
    }
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return width + 2 * margin + 4;
}

// The least width of a column that must show its widest text whole.
int FlexGrid::contentWidth(int col) const
{
    return wholeWidth(model_->widest(col));
}

int FlexGrid::titleWidth(int col) const
{
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 2;
    return fontMetrics().horizontalAdvance(model_->text(0, col)) + padding;
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    giveWay();
}

bool FlexGrid::givesWay(int col) const
{
    return std::find(givingWayCols_.begin(), givingWayCols_.end(), col) != givingWayCols_.end();
}

bool FlexGrid::holdsValues(int col) const
{
    return !model_->widest(col).isEmpty() && naturalWidths_.size() == size_t(Cols()) && naturalWidths_[size_t(col)] > 0;
}

// A value column needs room for the values it holds, not for the widest it
// could hold; with no values, or rows a source gives, the widest it could.
int FlexGrid::valueWidth(int col) const
{
    const std::optional<QString> longest = model_->longestData(col);
    const int values = longest && !longest->isEmpty() ? wholeWidth(*longest) : contentWidth(col);
    return std::min(naturalWidths_[size_t(col)], std::max(titleWidth(col), values));
}

int FlexGrid::readableWidth(int col) const
{
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 2;
    return std::min(naturalWidths_[size_t(col)],
                    std::max(titleWidth(col), fontMetrics().averageCharWidth() * kReadableChars + padding));
}

int FlexGrid::leastWidth(int col) const
{
    if (naturalWidths_.size() != size_t(Cols()) || col < 0 || col >= Cols())
        return horizontalHeader()->sectionSize(col);
    if (givesWay(col))
        return std::min(naturalWidths_[size_t(col)], titleWidth(col));
    if (holdsValues(col) && !givingWayCols_.empty())
        return valueWidth(col);
    return naturalWidths_[size_t(col)];
}

QSize FlexGrid::minimumSizeHint() const
{
    QSize hint = QTableView::minimumSizeHint();
    // A grid whose columns never give way scrolls instead.
    if (givingWayCols_.empty() || Cols() == 0)
        return hint;
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (verticalHeader()->isVisible())
        width += verticalHeader()->width();
    // Up to the last column that holds an amount, a date or a number; the
    // texts after it may scroll.
    int ultima = -1;
    for (int c = 0; c < Cols(); ++c)
        if (!model_->widest(c).isEmpty() && horizontalHeader()->sectionSize(c) > 0)
            ultima = c;
    for (int c = 0; c <= ultima; ++c)
        width += leastWidth(c);
    hint.setWidth(std::max(hint.width(), width));
    return hint;
}

// A grid narrower than its columns gives way in steps, each only as far as
// the room is short: the value columns first, down to what the values they
// hold need; then the descriptions (giving-way columns), each in turn down
// to a readable width; then the descriptions again down to their titles.
// Amounts, dates and numbers stay whole and in sight, and a description is
// cut only when no value column holds room to spare.
void FlexGrid::giveWay()
{
    if (naturalWidths_.size() != size_t(Cols()) || givingWayCols_.empty())
        return;
    std::vector<int> widths(static_cast<size_t>(Cols()));
    int total = 0;
    for (int c = 0; c < Cols(); ++c) {
        widths[size_t(c)] = givesWay(c) || holdsValues(c) ? naturalWidths_[size_t(c)] : horizontalHeader()->sectionSize(c);
        total += widths[size_t(c)];
    }
    int excess = total - viewport()->width();
    const auto shrink = [&](int c, int least) {
        int& width = widths[size_t(c)];
        const int cut = std::clamp(width - least, 0, std::max(excess, 0));
        width -= cut;
        excess -= cut;
    };
    for (int c = 0; c < Cols() && excess > 0; ++c)
        if (holdsValues(c) && !givesWay(c))
            shrink(c, valueWidth(c));
    for (const int c : givingWayCols_)
        if (c >= 0 && c < Cols())
            shrink(c, readableWidth(c));
    for (const int c : givingWayCols_)
        if (c >= 0 && c < Cols())
            shrink(c, std::min(naturalWidths_[size_t(c)], titleWidth(c)));
    for (int c = 0; c < Cols(); ++c)
        if (givesWay(c) || holdsValues(c))
            horizontalHeader()->resizeSection(c, widths[size_t(c)]);
}

void FlexGrid::setColAlignment(int col, Qt::Alignment alignment)
{
    if (validCell(0, col))
        model_->setColumnAlignment(col, alignment);
}

void FlexGrid::setRow(int row)
{
    if (!validCell(row, 0))
        return;
    row_ = row;
    scheduleCurrentSync();
}

void FlexGrid::setCol(int col)
{
    if (!validCell(0, col))
        return;
    col_ = col;
    scheduleCurrentSync();
}

int FlexGrid::TopRow() const
{
    return verticalScrollBar()->value() + FixedRows();
}

void FlexGrid::setTopRow(int row)
{
    if (row < FixedRows() || row >= Rows()) {
        qWarning("FlexGrid::setTopRow: row %d out of range", row);
        return;
    }
    // The scroll range follows the row count only at the next layout pass;
    // bring it up to date so that a grid filled just now can be scrolled.
    updateGeometries();
    verticalScrollBar()->setValue(row - FixedRows());
}

int FlexGrid::fullyVisibleRowCount() const
{
    const int rowHeight = verticalHeader()->defaultSectionSize();
    return rowHeight > 0 ? viewport()->height() / rowHeight : 0;
}

QString FlexGrid::Text() const { return TextMatrix(row_, col_); }
void FlexGrid::setText(const QString& text) { setTextMatrix(row_, col_, text); }

QColor FlexGrid::CellBackColor() const { return cellBackColor(row_, col_); }
void FlexGrid::setCellBackColor(const QColor& color) { setCellBackColor(row_, col_, color); }
QColor FlexGrid::CellForeColor() const { return cellForeColor(row_, col_); }
void FlexGrid::setCellForeColor(const QColor& color) { setCellForeColor(row_, col_, color); }
bool FlexGrid::CellFontBold() const { return cellBold(row_, col_); }
void FlexGrid::setCellFontBold(bool bold) { setCellBold(row_, col_, bold); }

int FlexGrid::CellFontSize() const
{
    return model_->contains(row_, col_) ? model_->style(row_, col_).fontSize : 0;
}

Qt::Alignment FlexGrid::CellAlignment() const
{
    return model_->contains(row_, col_) ? Qt::Alignment(model_->style(row_, col_).align)
                                        : Qt::Alignment();
}

QColor FlexGrid::cellBackColor(int row, int col) const
{
    return QColor::fromRgb(model_->contains(row, col) ? model_->style(row, col).back : DefaultBack);
}

void FlexGrid::setCellBackColor(int row, int col, const QColor& color)
{
    if (validCell(row, col))
        model_->setStyleField(row, col, StyleField::Back, color.rgb());
}

QColor FlexGrid::cellForeColor(int row, int col) const
{
    return QColor::fromRgb(model_->contains(row, col) ? model_->style(row, col).fore : DefaultFore);
}

void FlexGrid::setCellForeColor(int row, int col, const QColor& color)
{
    if (validCell(row, col))
        model_->setStyleField(row, col, StyleField::Fore, color.rgb());
}

bool FlexGrid::cellBold(int row, int col) const
{
    return model_->contains(row, col) && model_->style(row, col).bold;
}

void FlexGrid::setCellBold(int row, int col, bool bold)
{
    if (validCell(row, col))
        model_->setStyleField(row, col, StyleField::Bold, bold);
}

void FlexGrid::setRowBackColor(int row, const QColor& color)
{
    if (!validCell(row, 0))
        return;
    model_->setRowStyleField(row, StyleField::Back, color.rgb());
}

void FlexGrid::setAlternateRowColor(int row)
{
    setRowBackColor(row, row % 2 == 1 ? QColor(Qt::white) : kAlternateRowColor);
}

void FlexGrid::sortRows(int col, FlexSort order)
{
    if (validCell(0, col))
        model_->sortRows(col, order);
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    syncCurrentToView();
    // The window's handler may unload the window, grid included.
    QPointer<FlexGrid> self(this);
    emit keyPressed(event);
    if (!self)
        return;
    if (event->key() == kOpenRowKey && !(event->modifiers() & ~Qt::KeypadModifier)) {
        event->accept();
        if (row_ >= FixedRows() && row_ < Rows())
            emit cellDoubleClicked(row_, col_);
        return;
    }
    QTableView::keyPressEvent(event);
}

void describeOpenRow(QWidget& view, const QString& action)
{
    view.setAccessibleDescription(kOpenRowKeyName + QStringLiteral(" ou duplo clique: ") + action);
}

namespace {
class OpenListRowOnKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* list = static_cast<QListWidget*>(watched);
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != kOpenRowKey ||
            (static_cast<QKeyEvent*>(event)->modifiers() & ~Qt::KeypadModifier))
            return false;
        if (QListWidgetItem* item = list->currentItem())
            emit list->itemDoubleClicked(item);
        return true;
    }
};
} // namespace

void openListRowOnKey(QListWidget& list, const QString& action)
{
    list.installEventFilter(new OpenListRowOnKey(&list));
    describeOpenRow(list, action);
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    syncCurrentToView();
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::RightButton && indexAt(event->position().toPoint()).isValid())
        emit rightClicked(row_, col_);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QPointer<FlexGrid> self(this);
    QTableView::mouseReleaseEvent(event);
    if (self && event->button() == Qt::LeftButton)
        emit cellClicked(row_, col_);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    syncCurrentToView();
    QPointer<FlexGrid> self(this);
    QTableView::mouseDoubleClickEvent(event);
    if (self && event->button() == Qt::LeftButton)
        emit cellDoubleClicked(row_, col_);
}

void FlexGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyFontMetrics();
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (internalChange_) {
        // Moving the current cell from code never scrolls.
        const bool scroll = hasAutoScroll();
        setAutoScroll(false);
        QTableView::currentChanged(current, previous);
        setAutoScroll(scroll);
        return;
    }
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    syncPending_ = false;
    const int row = current.row() + FixedRows();
    const int col = current.column();
    if (row == row_ && col == col_)
        return;
    row_ = row;
    col_ = col;
    emit currentCellChanged(row_, col_);
}

bool FlexGrid::validCell(int row, int col) const
{
    if (model_->contains(row, col))
        return true;
    qWarning("FlexGrid: cell (%d, %d) out of range (%d rows, %d cols)", row, col, Rows(), Cols());
    return false;
}

// Filling loops move the current cell once per cell; the view's selection
// follows once control is back in the event loop.
void FlexGrid::scheduleCurrentSync()
{
    if (syncPending_)
        return;
    syncPending_ = true;
    QMetaObject::invokeMethod(this, [this] { syncCurrentToView(); }, Qt::QueuedConnection);
}

void FlexGrid::syncCurrentToView()
{
    if (!syncPending_)
        return;
    syncPending_ = false;
    QScopedValueRollback guard(internalChange_, true);
    if (row_ >= FixedRows() && row_ < Rows() && col_ < Cols())
        selectionModel()->setCurrentIndex(model_->index(row_ - FixedRows(), col_),
                                          QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
    else
        selectionModel()->clear();
}

void FlexGrid::afterRowCountChange(int oldRows)
{
    // A grid that gains its first data rows has its current cell on the
    // first of them.
    if (oldRows <= FixedRows() && Rows() > FixedRows() && row_ < FixedRows())
        row_ = FixedRows();
    row_ = std::min(row_, Rows() - 1);
    scheduleCurrentSync();
}

// A title's full text, trailing blanks included, measured in the grid's font,
// plus the header's margins.
void FlexGrid::sizeColumnsFromTitles()
{
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 2;
    const QFontMetrics metrics = fontMetrics();
    naturalWidths_.assign(size_t(Cols()), 0);
    for (int c = 0; c < Cols(); ++c) {
        int width = horizontalHeader()->sectionSize(c);
        if (const auto& piece = model_->widthPiece(c))
            width = metrics.horizontalAdvance(*piece) + padding;
        else if (const auto& fixed = model_->fixedWidth(c))
            width = *fixed;
        // A hidden column stays hidden; a shown one shows its widest text.
        if (width > 0)
            width = std::max(width, contentWidth(c));
        naturalWidths_[size_t(c)] = width;
        horizontalHeader()->resizeSection(c, width);
    }
    giveWay();
    updateGeometry();
}

void FlexGrid::applyFontMetrics()
{
    model_->setBaseFont(font());
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    sizeColumnsFromTitles();
}

} // namespace platform
