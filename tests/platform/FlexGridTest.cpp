#include "platform/FlexGrid.h"
#include "support/GradeLonga.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using platform::FlexGrid;

namespace {

const QColor White(255, 255, 255);
const QColor Cyan(225, 255, 255);
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

QVariant shown(const FlexGrid& grid, int row, int col, int role)
{
    return grid.model()->index(row - 1, col).data(role);
}

Qt::Alignment shownAlignment(const FlexGrid& grid, int row, int col)
{
    return Qt::Alignment(shown(grid, row, col, Qt::TextAlignmentRole).toInt()) &
           Qt::AlignHorizontal_Mask;
}

// A query window's grid on screen, with `dataRows` entries.
class FlexGridOnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(500, 300);
        grid.FormatString("Núm. Lanc.|Vencimento |Referente          |>Valor       ");
        fill(3);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();
    }

    void fill(int dataRows)
    {
        grid.setRows(dataRows + 1);
        for (int r = 1; r <= dataRows; ++r) {
            grid.setTextMatrix(r, 0, QString::number(r).rightJustified(6, '0'));
            grid.setTextMatrix(r, 2, QString("Entrada %1").arg(r));
        }
    }

    QPoint cellCentre(int row, int col)
    {
        return grid.visualRect(grid.model()->index(row - 1, col)).center();
    }

    FlexGrid grid;
};

} // namespace

// --- header string ---------------------------------------------------------

TEST(FlexGridHeader, FormatStringGivesColumnsTrimmedTitlesAndNoDataRows)
{
    FlexGrid grid;
    grid.FormatString("Núm.Lanc.|Vencimento |Filtro| Valor  ");
    EXPECT_EQ(grid.Cols(), 4);
    EXPECT_EQ(grid.Rows(), 1);
    const QStringList titles = {"Núm.Lanc.", "Vencimento", "Filtro", "Valor"};
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(grid.TextMatrix(0, c), titles[c]);
        EXPECT_EQ(grid.model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
    }
}

TEST(FlexGridHeader, HeaderWidthsGrowWithTrailingBlanksAndFollowTheFont)
{
    FlexGrid grid;
    grid.FormatString("Valor|Valor     |Valor                    |Referente|Referente" +
                      QString(90, ' '));
    EXPECT_GT(grid.ColWidth(0), grid.fontMetrics().horizontalAdvance("Valor"));
    EXPECT_GT(grid.ColWidth(1), grid.ColWidth(0));
    EXPECT_GT(grid.ColWidth(2), grid.ColWidth(1));
    EXPECT_GT(grid.ColWidth(4), 3 * grid.ColWidth(3));

    const int before = grid.ColWidth(0);
    grid.setColWidth(1, 0);  // an explicit width stays
    QFont big = grid.font();
    big.setPointSize(big.pointSize() * 2);
    grid.setFont(big);
    EXPECT_GT(grid.ColWidth(0), before);
    EXPECT_EQ(grid.ColWidth(1), 0);
}

TEST(FlexGridHeader, AlignmentPrefixesAlignTheColumnAndGeneralRuleAlignsNumbersRight)
{
    FlexGrid grid;
    grid.FormatString("<Esquerda|^Centro|>Direita|Geral");
    EXPECT_EQ(grid.TextMatrix(0, 2), "Direita");
    struct Case { QString text; Qt::Alignment expected[4]; };
    const Case cases[] = {
        {"-1.234,56", {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignRight}},
        {"000123", {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignRight}},
        {"01/02/2024", {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft}},
        {"Mercado", {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft}},
    };
    grid.setRows(2);
    for (const Case& k : cases)
        for (int c = 0; c < 4; ++c) {
            grid.setTextMatrix(1, c, k.text);
            EXPECT_EQ(shownAlignment(grid, 1, c), k.expected[c]) << k.text.toStdString() << " " << c;
        }
}

// --- rows and cells --------------------------------------------------------

TEST(FlexGridCells, RowsAndTextMatrixRoundTripIncludingHeaderRow)
{
    FlexGrid grid;
    grid.FormatString("A|B");
    grid.setRows(4);
    EXPECT_EQ(grid.model()->rowCount(), 3);  // row 0 is the header, not a data row
    grid.setTextMatrix(0, 1, "Título");
    grid.setTextMatrix(3, 0, "último");
    EXPECT_EQ(grid.TextMatrix(0, 1), "Título");
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), "Título");
    EXPECT_EQ(grid.TextMatrix(3, 0), "último");
    EXPECT_EQ(shown(grid, 3, 0, Qt::DisplayRole).toString(), "último");
    EXPECT_EQ(grid.TextMatrix(4, 0), "");  // outside the grid: empty, and writes are ignored
    grid.setTextMatrix(4, 0, "x");
    EXPECT_EQ(grid.Rows(), 4);
}

TEST(FlexGridCells, ResizingKeepsTheCellsThatStayAndClearEmptiesThem)
{
    FlexGrid grid;
    grid.FormatString("Despesa|Valor");
    grid.setRows(3);
    grid.setTextMatrix(1, 0, "Luz");
    grid.setTextMatrix(2, 1, "10,00");
    grid.setCellBackColor(2, 1, Cyan);
    grid.setRows(10);
    grid.setCols(3);
    EXPECT_EQ(grid.TextMatrix(1, 0), "Luz");
    EXPECT_EQ(grid.TextMatrix(2, 1), "10,00");
    EXPECT_EQ(grid.cellBackColor(2, 1), Cyan);
    grid.setRows(2);
    grid.setCols(1);
    EXPECT_EQ(grid.TextMatrix(1, 0), "Luz");
    EXPECT_EQ(grid.TextMatrix(2, 1), "");
    grid.setRows(0);  // the header row always stays
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Despesa");

    grid.setRows(3);
    grid.setTextMatrix(2, 0, "x");
    grid.setCellBold(2, 0, true);
    grid.Clear();  // texts and formats go, the shape stays
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 0), "");
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
    EXPECT_FALSE(grid.cellBold(2, 0));
}

// Rows kept by a window: each cell is asked for when shown or read, a cell
// written afterwards wins over the source, and a change of the rows keeps
// what was shown.
TEST(FlexGridCells, RowSourceCellsAreShownReadOverwrittenAndKeptWhenRowsMove)
{
    struct Linhas : platform::FlexRows {
        QString text(int row, int col) const override { return QString("%1.%2").arg(row).arg(col); }
        platform::FlexCellStyle style(int row, int) const override
        {
            platform::FlexCellStyle s;
            s.bold = row == 2;
            return s;
        }
    };
    FlexGrid grid;
    grid.FormatString("A|B");
    grid.setRowSource(std::make_shared<Linhas>(), 1000);
    EXPECT_EQ(grid.Rows(), 1001);
    EXPECT_EQ(grid.TextMatrix(0, 1), "B");
    EXPECT_EQ(grid.TextMatrix(999, 1), "999.1");
    EXPECT_EQ(shown(grid, 3, 0, Qt::DisplayRole).toString(), "3.0");
    EXPECT_TRUE(grid.cellBold(2, 1));
    grid.setTextMatrix(3, 0, "escrito");
    grid.setCellForeColor(3, 0, Red);
    EXPECT_EQ(grid.TextMatrix(3, 0), "escrito");
    EXPECT_EQ(grid.cellForeColor(3, 0), Red);
    EXPECT_EQ(grid.TextMatrix(3, 1), "3.1");

    grid.RemoveItem(1);
    EXPECT_EQ(grid.Rows(), 1000);
    EXPECT_EQ(grid.TextMatrix(2, 0), "escrito");
    EXPECT_EQ(grid.cellForeColor(2, 0), Red);
    EXPECT_TRUE(grid.cellBold(1, 0));
    EXPECT_EQ(grid.TextMatrix(999, 1), "1000.1");
    grid.setRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), "A");
}

TEST(FlexGridCells, AddItemSplitsTabsIntoCells)
{
    FlexGrid grid;
    grid.FormatString("Data|Histórico|Valor");
    EXPECT_EQ(grid.Row(), 0);
    grid.AddItem("01/02/2024\tSalário\t1.000,00");
    grid.AddItem("02/02/2024\tMercado");        // missing cells stay empty
    grid.AddItem("03/02/2024\tA\t1\tdropped");  // cells past the last column are dropped
    grid.AddItem("antes\tdo\tprimeiro", 1);
    const QStringList expected[] = {{"antes", "do", "primeiro"},
                                    {"01/02/2024", "Salário", "1.000,00"},
                                    {"02/02/2024", "Mercado", ""},
                                    {"03/02/2024", "A", "1"}};
    ASSERT_EQ(grid.Rows(), 5);
    for (int r = 1; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(grid.TextMatrix(r, c), expected[r - 1][c]);
    EXPECT_EQ(grid.Row(), 2);  // the first data row became current and moved down with it
}

TEST(FlexGridCells, RemoveItemShiftsRowsUpWithTheirFormatsAndKeepsTheCurrentRow)
{
    FlexGrid grid;
    grid.FormatString("N");
    for (int i = 1; i <= 4; ++i)
        grid.AddItem(QString::number(i));
    grid.setCellForeColor(3, 0, Blue);
    grid.setRow(4);
    grid.RemoveItem(2);
    EXPECT_EQ(grid.TextMatrix(2, 0), "3");
    EXPECT_EQ(grid.cellForeColor(2, 0), Blue);
    EXPECT_EQ(grid.Row(), 3);  // still on "4"
    grid.RemoveItem(0);        // the header row stays
    EXPECT_EQ(grid.TextMatrix(0, 0), "N");
    grid.RemoveItem(3);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Row(), 2);
}

// --- cell formats -----------------------------------------------------------

TEST(FlexGridFormats, CurrentCellFormatsOnlyThatCellAndMatchesTheDirectGetters)
{
    FlexGrid grid;
    grid.FormatString("A|B|C");
    grid.setRows(3);
    grid.setRow(2);
    grid.setCol(1);
    grid.setText("-50,00");
    grid.setCellBackColor(Cyan);
    grid.setCellForeColor(Red);
    grid.setCellFontBold(true);
    EXPECT_EQ(grid.TextMatrix(2, 1), "-50,00");
    EXPECT_EQ(grid.cellBackColor(2, 1), Cyan);
    EXPECT_EQ(grid.cellForeColor(2, 1), Red);
    EXPECT_TRUE(grid.cellBold(2, 1));
    EXPECT_EQ(shown(grid, 2, 1, Qt::ForegroundRole).value<QBrush>().color(), Red);
    EXPECT_TRUE(shown(grid, 2, 1, Qt::FontRole).value<QFont>().bold());
    for (auto [r, c] : {std::pair{2, 0}, {2, 2}, {1, 1}}) {
        EXPECT_EQ(grid.cellBackColor(r, c), White);
        EXPECT_EQ(grid.cellForeColor(r, c), Black);
        EXPECT_FALSE(grid.cellBold(r, c));
    }

    // Unmarking, as the summing key does, by the direct setters.
    grid.setCellForeColor(2, 1, Black);
    grid.setCellBold(2, 1, false);
    EXPECT_EQ(grid.CellForeColor(), Black);
    EXPECT_FALSE(grid.CellFontBold());
    EXPECT_EQ(grid.CellBackColor(), Cyan);
    EXPECT_FALSE(shown(grid, 2, 1, Qt::FontRole).isValid());
}

TEST(FlexGridFormats, AlternatingRowColoursReachThePaintedCellsInOneRepaint)
{
    FlexGrid grid;
    grid.FormatString("A|B|C");
    grid.setRows(5);
    QCoreApplication::processEvents();
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    for (int r = 1; r < 5; ++r)
        grid.setRowBackColor(r, r % 2 ? White : Cyan);
    QCoreApplication::processEvents();
    ASSERT_EQ(changed.count(), 1);  // the whole loop, once control is back in the event loop
    EXPECT_EQ(changed.front().at(1).toModelIndex(), grid.model()->index(3, 2));
    for (int r = 1; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(shown(grid, r, c, Qt::BackgroundRole).value<QBrush>().color(),
                      r % 2 ? White : Cyan);
}

TEST_F(FlexGridOnScreen, OnlyTopRowScrollsAndItBringsTheLastRowIntoView)
{
    fill(200);
    grid.setRow(150);  // selected, not scrolled to
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.TopRow(), 1);
    ASSERT_EQ(grid.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(grid.selectionModel()->selectedRows().front().row() + 1, 150);

    const int visible = grid.fullyVisibleRowCount();
    ASSERT_GT(visible, 3);
    grid.setTopRow(50);
    EXPECT_EQ(grid.TopRow(), 50);
    EXPECT_EQ(grid.rowAt(1) + 1, 50);
    grid.setTopRow(200);  // as far as the rows allow: the last page
    EXPECT_EQ(grid.TopRow(), 200 - visible + 1);
    EXPECT_EQ(grid.rowAt(grid.viewport()->height() - 1) + 1, 200);
}

TEST_F(FlexGridOnScreen, WindowHearsKeysBeforeTheGridMoves)
{
    std::vector<std::pair<int, int>> heard;  // key, Row() at that moment
    QObject::connect(&grid, &FlexGrid::keyPressed,
                     [&](QKeyEvent* e) { heard.emplace_back(e->key(), grid.Row()); });
    QSignalSpy moved(&grid, &FlexGrid::currentCellChanged);
    QTest::keyClick(&grid, Qt::Key_Delete);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClicks(&grid, "0E");  // typing does not jump to a matching row
    const std::vector<std::pair<int, int>> expected = {
        {Qt::Key_Delete, 1}, {Qt::Key_Down, 1}, {Qt::Key_Plus, 2}, {Qt::Key_0, 2}, {Qt::Key_E, 2}};
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(moved.count(), 1);
}

TEST(FlexGridKeys, HandlerMayDeleteTheGrid)
{
    auto* doomed = new FlexGrid;
    QObject::connect(doomed, &FlexGrid::keyPressed, [doomed](QKeyEvent*) { delete doomed; });
    QPointer<FlexGrid> watch(doomed);
    QTest::keyClick(doomed, Qt::Key_Escape);
    EXPECT_TRUE(watch.isNull());
}

TEST_F(FlexGridOnScreen, MouseMakesTheCellUnderThePointerCurrentBeforeSignalling)
{
    std::vector<std::tuple<char, int, int, int>> heard;  // signal, row, col, Row() then
    auto record = [&](char which) {
        return [&, which](int r, int c) { heard.emplace_back(which, r, c, grid.Row()); };
    };
    QObject::connect(&grid, &FlexGrid::cellDoubleClicked, record('D'));
    QObject::connect(&grid, &FlexGrid::rightClicked, record('R'));
    QObject::connect(&grid, &FlexGrid::cellClicked, record('C'));

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(3, 2));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, cellCentre(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(1, 0));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {},
                       QPoint(10, grid.viewport()->height() - 2));  // below the rows

    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), std::make_tuple('D', 3, 2, 3));
    EXPECT_NE(std::find(heard.begin(), heard.end(), std::make_tuple('R', 2, 1, 2)), heard.end());
    EXPECT_NE(std::find(heard.begin(), heard.end(), std::make_tuple('C', 1, 0, 1)), heard.end());
    EXPECT_EQ(heard.back(), std::make_tuple('D', 1, 0, 1));
    EXPECT_EQ(grid.TextMatrix(3, 2), "Entrada 3");  // a double-click does not edit
}

TEST(FlexGridFocus, TabLeavesTheGridForTheNextControl)
{
    QWidget window;
    auto* grid = new FlexGrid(&window);
    auto* next = new QWidget(&window);
    next->setFocusPolicy(Qt::StrongFocus);
    grid->setGeometry(0, 0, 300, 200);
    next->setGeometry(0, 210, 100, 20);
    grid->setRows(3);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
}

// How long the filling takes is measured in the bench.
TEST(FlexGridSize, HundredThousandRowsKeepTheirTextsAndColours)
{
    FlexGrid grid;
    const int rows = 100000;
    testsupport::encherGradeLonga(grid, rows);
    EXPECT_EQ(grid.TextMatrix(rows, 0), "100000");
    EXPECT_EQ(grid.cellBackColor(rows, 6), Cyan);
    EXPECT_EQ(grid.selectionModel()->currentIndex().row() + 1, rows);
}
