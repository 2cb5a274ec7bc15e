#include "platform/FlexGrid.h"

#include "platform/FlexGridModel.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

namespace {

constexpr QRgb DefaultBack = FlexGridModel::DefaultBack;
constexpr QRgb DefaultFore = FlexGridModel::DefaultFore;
using StyleField = FlexGridModel::StyleField;

} // namespace

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
    // A description cut short says so.
    setTextElideMode(Qt::ElideRight);

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
int shapeWidth(const QFont& font, const QString& text)
{
    QFont bold = font;
    bold.setBold(true);
    int width = 0;
    for (const QFontMetrics& m : {QFontMetrics(font), QFontMetrics(bold)}) {
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
    return width;
}

int FlexGrid::wholeWidth(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    const int width = shapeWidth(font(), text);
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

// In a grid with descriptions, every text column sized by its title shares
// the room with them; a column given its width in pixels keeps it.
bool FlexGrid::sharesRoom(int col) const
{
    if (givesWay(col))
        return true;
    return !givingWayCols_.empty() && model_->widest(col).isEmpty() && !model_->fixedWidth(col) &&
           naturalWidths_.size() == size_t(Cols()) && naturalWidths_[size_t(col)] > 0;
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
    // A name beside the descriptions asks for a readable width.
    if (sharesRoom(col))
        return readableWidth(col);
    if (holdsValues(col) && !givingWayCols_.empty())
        return valueWidth(col);
    return naturalWidths_[size_t(col)];
}

QSize FlexGrid::minimumSizeHint() const
{
    QSize hint = QTableView::minimumSizeHint();
    hint.setHeight(std::max(hint.height(), leastHeight()));
    // A grid whose columns never give way scrolls instead.
    if (givingWayCols_.empty() || Cols() == 0)
        return hint;
    // Up to the last column that holds an amount, a date or a number; the
    // texts after it may scroll.
    int ultima = -1;
    for (int c = 0; c < Cols(); ++c)
        if (!model_->widest(c).isEmpty() && horizontalHeader()->sectionSize(c) > 0)
            ultima = c;
    hint.setWidth(std::max(hint.width(), widthOfCols(ultima, false)));
    return hint;
}

int FlexGrid::readableSizeWidth() const
{
    if (givingWayCols_.empty() || Cols() == 0)
        return minimumSizeHint().width();
    return std::max(QTableView::minimumSizeHint().width(), widthOfCols(Cols() - 1, true));
}

// The frame, the scroll bar and the columns up to `last`, each at its least
// width, or a description at its readable width.
int FlexGrid::widthOfCols(int last, bool readable) const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (verticalHeader()->isVisible())
        width += verticalHeader()->width();
    for (int c = 0; c <= last; ++c)
        width += readable && givesWay(c) && naturalWidths_.size() == size_t(Cols()) ? readableWidth(c) : leastWidth(c);
    return width;
}

int FlexGrid::leastHeight() const
{
    return 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
           kLeastRows * verticalHeader()->defaultSectionSize() + horizontalScrollBar()->sizeHint().height();
}

// A grid narrower than its columns gives way in steps, each only as far as
// the room is short: the value columns first, down to what the values they
// hold need; then the texts (the descriptions and every other text column
// sized by its title), the widest first, down to a readable width; then the
// texts again, the widest first, down to their titles. Amounts, dates and
// numbers stay whole and in sight, and a description is cut only when no
// other column holds room to spare.
void FlexGrid::giveWay()
{
    if (naturalWidths_.size() != size_t(Cols()) || givingWayCols_.empty())
        return;
    std::vector<int> widths(static_cast<size_t>(Cols()));
    int total = 0;
    std::vector<int> texts;
    for (int c = 0; c < Cols(); ++c) {
        widths[size_t(c)] = sharesRoom(c) || holdsValues(c) ? naturalWidths_[size_t(c)] : horizontalHeader()->sectionSize(c);
        total += widths[size_t(c)];
        if (sharesRoom(c))
            texts.push_back(c);
    }
    int excess = total - viewport()->width();
    // The value columns come down toward what their values need, by `room`
    // at most, each in turn.
    const auto shrinkValues = [&](int room) {
        for (int c = 0; c < Cols() && room > 0; ++c)
            if (holdsValues(c) && !sharesRoom(c)) {
                int& width = widths[size_t(c)];
                const int cut = std::clamp(width - valueWidth(c), 0, room);
                width -= cut;
                excess -= cut;
                room -= cut;
            }
    };
    shrinkValues(excess);
    // The widest texts give way first, so that none is cut far below
    // another: every text above a level comes down to it, none below its
    // own floor.
    const auto level = [&](const std::function<int(int)>& floorOf) {
        if (excess <= 0)
            return;
        const auto cutAt = [&](int line) {
            int cut = 0;
            for (const int c : texts)
                cut += std::max(0, widths[size_t(c)] - std::max(line, floorOf(c)));
            return cut;
        };
        int low = 0, high = 0;
        for (const int c : texts)
            high = std::max(high, widths[size_t(c)]);
        // The highest line that frees enough room, or the floors.
        while (low < high) {
            const int mid = (low + high + 1) / 2;
            if (cutAt(mid) >= excess)
                low = mid;
            else
                high = mid - 1;
        }
        int over = cutAt(low) - excess;
        for (const int c : texts) {
            int& width = widths[size_t(c)];
            const int least = std::max(low, floorOf(c));
            if (width <= least)
                continue;
            // The line may free a few pixels more than needed: they stay
            // with the first texts cut to it.
            const int back = over > 0 && least == low ? 1 : 0;
            over -= back;
            excess -= width - least - back;
            width = least + back;
        }
    };
    level([this](int c) { return readableWidth(c); });
    level([this](int c) { return std::min(naturalWidths_[size_t(c)], titleWidth(c)); });
    // A text shown cut takes the room a value column holds beyond its
    // values: amounts and dates stay whole, names are cut only when nothing
    // else can give.
    int wanted = 0;
    for (const int c : texts)
        if (const std::optional<QString> longest = model_->longestData(c); longest && widths[size_t(c)] > 0)
            wanted += std::max(0, wholeWidth(*longest) - widths[size_t(c)]);
    shrinkValues(wanted + std::min(excess, 0));
    // Room to spare goes to the texts that show less than their longest,
    // shared evenly, so that no grid cuts a name beside empty space.
    for (int round = 0; round < 2 && excess < 0; ++round) {
        std::vector<int> wanting;
        for (const int c : texts) {
            if (widths[size_t(c)] == 0)
                continue;
            const std::optional<QString> longest = model_->longestData(c);
            if (longest && wholeWidth(*longest) > widths[size_t(c)])
                wanting.push_back(c);
        }
        if (wanting.empty())
            break;
        const int spare = -excess;
        for (size_t i = 0; i < wanting.size(); ++i) {
            const int c = wanting[i];
            const int share = spare / int(wanting.size()) + (int(i) < spare % int(wanting.size()) ? 1 : 0);
            const int grow = std::min(share, wholeWidth(*model_->longestData(c)) - widths[size_t(c)]);
            widths[size_t(c)] += grow;
            excess += grow;
        }
    }
    for (int c = 0; c < Cols(); ++c)
        if (sharesRoom(c) || holdsValues(c))
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
