#include "platform/FlexGridModel.h"

#include <QBrush>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr Qt::Alignment HorizontalMask = Qt::AlignHorizontal_Mask;

using StyleField = FlexGridModel::StyleField;

void applyField(FlexCellStyle& s, StyleField field, quint32 value)
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

size_t qHash(const FlexCellStyle& s, size_t seed)
{
    return qHashMulti(seed, s.back, s.fore, s.align, s.fontSize, s.bold);
}

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    resetStyles();
    text_.resize(size_t(rows_) * cols_);
    styleId_.resize(text_.size(), 0);
    columns_.resize(cols_);
}

int FlexGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_ - 1;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    return cellData(index.row() + 1, index.column(), role);
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= cols_)
        return {};
    const FlexCellStyle s = style(0, section);
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

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool FlexGridModel::contains(int row, int col) const
{
    return row >= 0 && row < rows_ && col >= 0 && col < cols_;
}

QString FlexGridModel::text(int row, int col) const
{
    if (row >= stored())
        return sourced(textOver_, row, col, [&] { return source_->text(row, col); });
    const Span& sp = text_[at(row, col)];
    const char* p = bytes_.data() + sp.offset;
    if (sp.wide)
        return QString(reinterpret_cast<const QChar*>(p), qsizetype(sp.length));
    return QString::fromLatin1(p, qsizetype(sp.length));
}

void FlexGridModel::setText(int row, int col, QStringView text)
{
    if (row >= stored())
        textOver_.insert(key(row, col), text.toString());
    else
        store(text_[at(row, col)], text);
    changed(row);
}

void FlexGridModel::setText(int row, int col, QLatin1StringView text)
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

FlexCellStyle FlexGridModel::style(int row, int col) const
{
    if (row >= stored())
        return sourced(styleOver_, row, col, [&] { return source_->style(row, col); });
    return styles_[styleId_[at(row, col)]];
}

void FlexGridModel::setStyleField(int row, int col, StyleField field, quint32 value)
{
    if (row >= stored()) {
        FlexCellStyle s = style(row, col);
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

void FlexGridModel::setRowStyleField(int row, StyleField field, quint32 value)
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

void FlexGridModel::setColumnAlignment(int col, Qt::Alignment a)
{
    columns_[col].align = a;
    changed(0);
    changed(1);
}

std::optional<QString> FlexGridModel::longestData(int col) const
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

void FlexGridModel::setSource(std::shared_ptr<const FlexRows> source, int rows)
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

void FlexGridModel::setRows(int rows)
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

void FlexGridModel::setCols(int cols)
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

void FlexGridModel::insertRow(int row, const QStringList& cells)
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

void FlexGridModel::removeRow(int row)
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

void FlexGridModel::clear()
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

Qt::Alignment FlexGridModel::alignmentOf(int row, int col) const
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

void FlexGridModel::dropSource()
{
    source_.reset();
    textOver_.clear();
    styleOver_.clear();
}

void FlexGridModel::materialize(int keep, int size)
{
    if (!source_)
        return;
    const std::shared_ptr<const FlexRows> source = source_;
    const QHash<quint64, QString> texts = textOver_;
    const QHash<quint64, FlexCellStyle> styles = styleOver_;
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

void FlexGridModel::store(Span& sp, QStringView text)
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

char* FlexGridModel::place(Span& sp, size_t need, bool wide)
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

void FlexGridModel::compact()
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

QVariant FlexGridModel::cellData(int row, int col, int role) const
{
    const FlexCellStyle& s = style(row, col);
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

void FlexGridModel::resizeRows(int rows)
{
    rows_ = rows;
    for (size_t i = size_t(rows_) * cols_; i < text_.size(); ++i)
        unused_ += text_[i].bytes();
    text_.resize(size_t(rows_) * cols_);
    styleId_.resize(text_.size(), 0);
}

void FlexGridModel::resetStyles()
{
    styles_.assign(1, FlexCellStyle{});
    styleIds_.clear();
    styleIds_.insert(FlexCellStyle{}, 0);
    lastChange_ = {};
}

quint32 FlexGridModel::restyled(quint32 from, StyleField field, quint32 value)
{
    // Filling loops give every cell of a row the same change; remember
    // the last one to skip the lookup.
    // Rows in two alternating colours make two changes that take turns.
    for (const std::optional<StyleChange>& c : lastChange_)
        if (c && c->from == from && c->field == field && c->value == value)
            return c->to;
    FlexCellStyle s = styles_[from];
    applyField(s, field, value);
    const quint32 to = idOf(s);
    lastChange_[1] = lastChange_[0];
    lastChange_[0] = StyleChange{from, field, value, to};
    return to;
}

quint32 FlexGridModel::idOf(const FlexCellStyle& s)
{
    if (const auto it = styleIds_.constFind(s); it != styleIds_.constEnd())
        return *it;
    const quint32 id = quint32(styles_.size());
    styles_.push_back(s);
    styleIds_.insert(s, id);
    return id;
}

void FlexGridModel::changed(int row)
{
    (row == 0 ? headerDirty_ : dataDirty_) = true;
    if (flushPending_)
        return;
    flushPending_ = true;
    QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
}

void FlexGridModel::flush()
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

} // namespace platform
