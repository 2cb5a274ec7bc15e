#include "platform/sheets.h"
#include "support/Planilhas.h"
#include "support/UsuarioComum.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <iostream>

using namespace platform;
using testsupport::escreverArquivo;
using testsupport::escreverXlsx;

namespace {

class SheetsTest : public ::testing::Test {
protected:
    QString caminho(const QString& nome) const { return dir.filePath(nome); }
    QTemporaryDir dir;
};

const QByteArray kCabecalho = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                              "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";

} // namespace

TEST_F(SheetsTest, XlsxSheetIsFoundByNameThroughTheWorkbookRelationships)
{
    // Shared strings with a rich-text run and a phonetic run, inline strings,
    // a date style, a date-and-time style, a plain number, cells left out.
    const QByteArray folha = kCabecalho
        + "<sheetData>"
          "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v></c></row>"
          "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>45366</v></c><c r=\"B3\" t=\"inlineStr\"><is><t>Padaria</t></is></c>"
          "<c r=\"C3\" s=\"3\"><v>-1234.5</v></c><c r=\"D3\" s=\"2\"><v>45366.5</v></c>"
          "<c r=\"E3\" t=\"b\"><v>1</v></c></row>"
          "</sheetData></worksheet>";
    const QByteArray sst = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                           "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                           "<si><t>Data</t></si>"
                           "<si><r><t>Va</t></r><r><t>lor</t></r><rPh><t>x</t></rPh></si></sst>";
    ASSERT_TRUE(escreverXlsx(caminho("e.xlsx"), "Plan1", folha, {{"xl/sharedStrings.xml", sst}}));

    Worksheet ws;
    QString erro;
    ASSERT_TRUE(readWorksheet(caminho("e.xlsx"), "plan1", ws, erro)) << erro.toStdString();
    ASSERT_EQ(ws.rows.size(), 3u);
    EXPECT_EQ(ws.rows[0][0].toString(), "Data");
    EXPECT_TRUE(cellEmpty(ws.rows[0][1]));
    EXPECT_EQ(ws.rows[0][2].toString(), "Valor");
    EXPECT_TRUE(ws.rows[1].empty());
    EXPECT_EQ(ws.rows[2][0].toDate(), QDate(2024, 3, 15));
    EXPECT_EQ(ws.rows[2][1].toString(), "Padaria");
    EXPECT_EQ(ws.rows[2][2].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(ws.rows[2][2].toDouble(), -1234.5);
    EXPECT_EQ(ws.rows[2][3].toDateTime(), QDateTime(QDate(2024, 3, 15), QTime(12, 0)));
    EXPECT_EQ(ws.rows[2][4].toBool(), true);
}

TEST_F(SheetsTest, XlsxWithoutSharedStringsOrRowNumbersReadsInOrder)
{
    const QByteArray folha = kCabecalho
        + "<sheetData><row><c t=\"inlineStr\"><is><t>a</t></is></c><c><v>2</v></c></row>"
          "<row><c><v>3</v></c></row></sheetData></worksheet>";
    ASSERT_TRUE(escreverXlsx(caminho("s.xlsx"), "Plan1", folha, {{"xl/sharedStrings.xml", QByteArray()}}));
    Worksheet ws;
    QString erro;
    ASSERT_TRUE(readWorksheet(caminho("s.xlsx"), "Plan1", ws, erro)) << erro.toStdString();
    ASSERT_EQ(ws.rows.size(), 2u);
    EXPECT_EQ(ws.rows[0][0].toString(), "a");
    EXPECT_EQ(ws.rows[0][1].toDouble(), 2.0);
    EXPECT_EQ(ws.rows[1][0].toDouble(), 3.0);
}

TEST_F(SheetsTest, ReaderIsChosenByTheFirstBytesNotTheName)
{
    ASSERT_TRUE(escreverXlsx(caminho("banco.xls"), "Plan1", {{QStringLiteral("x")}}));
    EXPECT_EQ(sheetFormatOf(caminho("banco.xls")), SheetFormat::Xlsx);
    Worksheet ws;
    QString erro;
    ASSERT_TRUE(readWorksheet(caminho("banco.xls"), "Plan1", ws, erro)) << erro.toStdString();
    EXPECT_EQ(ws.rows[0][0].toString(), "x");
}

TEST_F(SheetsTest, FilesThatCannotBeReadGiveAMessageNotACrash)
{
    ASSERT_TRUE(escreverArquivo(caminho("pagina.xls"), "<html><body><table><tr><td>1</td></tr></table></body></html>"));
    // An old-format header followed by nothing a workbook is made of.
    ASSERT_TRUE(escreverArquivo(caminho("quebrado.xls"), QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, '\x07')));
    ASSERT_TRUE(escreverArquivo(caminho("zip.xlsx"), QByteArray("PK\x03\x04", 4) + QByteArray(300, 'z')));
    ASSERT_TRUE(escreverArquivo(caminho("vazio.xlsx"), QByteArray()));
    ASSERT_TRUE(escreverXlsx(caminho("outra.xlsx"), "Extrato", {{QStringLiteral("x")}}));
    ASSERT_TRUE(escreverXlsx(caminho("xml.xlsx"), "Plan1", QByteArray("<worksheet><sheetData><row><c")));
    // Beyond what a statement holds: a cell in the last column, a sheet that
    // unpacks to more than its bound.
    ASSERT_TRUE(escreverXlsx(caminho("longe.xlsx"), "Plan1",
                             kCabecalho + "<sheetData><row r=\"1\"><c r=\"XFD1\"><v>1</v></c></row></sheetData></worksheet>"));
    ASSERT_TRUE(escreverXlsx(caminho("enorme.xlsx"), "Plan1",
                             kCabecalho + QByteArray(33 * 1024 * 1024, ' ') + "<sheetData/></worksheet>"));

    const struct {
        const char* arquivo;
        const char* mensagem;
    } casos[] = {
        {"pagina.xls", "O arquivo ''pagina.xls'' não é uma planilha do Excel (.xls ou .xlsx)."},
        {"quebrado.xls", "O arquivo ''quebrado.xls'' está danificado ou não pôde ser lido."},
        {"zip.xlsx", "O arquivo ''zip.xlsx'' está danificado ou não pôde ser lido."},
        {"vazio.xlsx", "O arquivo ''vazio.xlsx'' não é uma planilha do Excel (.xls ou .xlsx)."},
        {"outra.xlsx", "O arquivo ''outra.xlsx'' não tem a planilha ''Plan1''."},
        {"xml.xlsx", "O arquivo ''xml.xlsx'' está danificado ou não pôde ser lido."},
        {"falta.xlsx", "Não foi possível abrir o arquivo ''falta.xlsx''."},
        {"longe.xlsx", "O arquivo ''longe.xlsx'' está danificado ou não pôde ser lido."},
        {"enorme.xlsx", "O arquivo ''enorme.xlsx'' está danificado ou não pôde ser lido."},
    };
    for (const auto& c : casos) {
        Worksheet ws;
        QString erro;
        EXPECT_FALSE(readWorksheet(caminho(c.arquivo), "Plan1", ws, erro)) << c.arquivo;
        EXPECT_EQ(erro, QString::fromUtf8(c.mensagem)) << c.arquivo;
    }
}

TEST_F(SheetsTest, AReaderProcessThatFailsGivesTheDamagedFileMessage)
{
    // The stand-in reader does what its input file asks; the file starts as
    // a workbook does, so it gets as far as the reader process.
    const struct {
        const char* modo;
        const char* programa;
    } casos[] = {
        {"cai", VORSAL_HOSTILE_READER},
        {"cortada", VORSAL_HOSTILE_READER},
        {"sobra", VORSAL_HOSTILE_READER},
        {"erro", VORSAL_HOSTILE_READER},
        {"", "/nao/existe/leitor"},
    };
    for (const auto& c : casos) {
        ASSERT_TRUE(escreverArquivo(caminho("e.xlsx"), QByteArray("PK\x03\x04\nmodo=") + c.modo + "\n"));
        setSheetReaderProgram(testsupport::deTeste(c.programa));
        Worksheet ws;
        QString erro;
        EXPECT_FALSE(readWorksheet(caminho("e.xlsx"), "Plan1", ws, erro)) << c.modo;
        EXPECT_EQ(erro, QStringLiteral("O arquivo ''e.xlsx'' está danificado ou não pôde ser lido.")) << c.modo;
        EXPECT_TRUE(ws.rows.empty()) << c.modo;
    }
    setSheetReaderProgram(testsupport::deTeste(VORSAL_SHEET_READER));
}

TEST_F(SheetsTest, AReadKeepsTheWindowsPainting)
{
    // A reader that takes two seconds; meanwhile a window asks to be
    // repainted every 20 ms.
    struct Janela : QWidget {
        int pinturas = 0;
        void paintEvent(QPaintEvent*) override { ++pinturas; }
    } janela;
    janela.resize(200, 100);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    QTimer repintar;
    QObject::connect(&repintar, &QTimer::timeout, &janela, [&] { janela.update(); });
    repintar.start(20);
    ASSERT_TRUE(escreverArquivo(caminho("lento.xlsx"), "PK\x03\x04\nmodo=lento\n"));
    setSheetReaderProgram(testsupport::deTeste(VORSAL_HOSTILE_READER));
    const int antes = janela.pinturas;
    QElapsedTimer relogio;
    relogio.start();
    Worksheet ws;
    QString erro;
    EXPECT_TRUE(readWorksheet(caminho("lento.xlsx"), "Plan1", ws, erro)) << erro.toStdString();
    const qint64 ms = relogio.elapsed();
    setSheetReaderProgram(testsupport::deTeste(VORSAL_SHEET_READER));
    EXPECT_GE(ms, 2000);
    EXPECT_GE(janela.pinturas - antes, 20) << "in " << ms << " ms";
    std::cout << janela.pinturas - antes << " paints in " << ms << " ms\n";
}

TEST_F(SheetsTest, ASheetDeclaringMoreCellsThanTheBoundIsRefusedBeforeItsCellsAreRead)
{
    // 5.6 KB declaring 65 536 rows of 256 columns; how long the refusal
    // takes is measured in the bench.
    for (const bool mini : {false, true}) {
        const QByteArray arquivo = testsupport::xls::declarandoCelulasDemais(mini);
        ASSERT_FALSE(arquivo.isEmpty());
        ASSERT_TRUE(escreverArquivo(caminho("declara.xls"), arquivo));
        Worksheet ws;
        QString erro;
        EXPECT_FALSE(readWorksheet(caminho("declara.xls"), "Plan1", ws, erro)) << mini;
        EXPECT_EQ(erro, QStringLiteral("O arquivo ''declara.xls'' está danificado ou não pôde ser lido.")) << mini;
    }
}

TEST_F(SheetsTest, CraftedWorkbooksThatBreakTheParserAreDamagedFiles)
{
    // Files that crash or overrun the parser inside the reader process. What
    // a read past the end of a buffer finds depends on the heap, so such a
    // file may also end as a workbook without the sheet; never as lines.
    const QDir corpus(testsupport::deTeste(VORSAL_DAMAGED_CORPUS));
    const QStringList arquivos = corpus.entryList(QDir::Files);
    ASSERT_FALSE(arquivos.isEmpty());
    for (const QString& nome : arquivos) {
        Worksheet ws;
        QString erro;
        EXPECT_FALSE(readWorksheet(corpus.filePath(nome), "Plan1", ws, erro)) << nome.toStdString();
        EXPECT_TRUE(erro == damagedFileMessage(nome)
                    || erro == QStringLiteral("O arquivo ''%1'' não tem a planilha ''Plan1''.").arg(nome))
            << erro.toStdString();
        EXPECT_TRUE(ws.rows.empty()) << nome.toStdString();
    }
}

TEST_F(SheetsTest, HeaderRangeNamesColumnsAndDropsEmptyRows)
{
    Worksheet ws;
    ws.rows = {
        {QStringLiteral("Titulo")},
        {},
        {QStringLiteral("Data"), QStringLiteral("Descrição "), QVariant(), QStringLiteral("Fora")},
        {QDate(2024, 1, 2), QStringLiteral("A"), 1.0, QStringLiteral("x")},
        {QVariant(), QVariant(), QVariant(), QStringLiteral("só fora do intervalo")},
        {QVariant(), QStringLiteral("B")},
    };
    const SheetTable t = tableWithHeader(ws, 2, 0, 2);
    EXPECT_EQ(t.columns, (QStringList{"Data", "Descrição ", ""}));
    EXPECT_EQ(t.column("descrição "), 1);
    EXPECT_EQ(t.column("Descrição"), -1);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.sourceRows, (std::vector<int>{3, 5}));
    EXPECT_EQ(t.rows[1].size(), 3u);
    EXPECT_EQ(t.rows[1][1].toString(), "B");

    const SheetTable todas = tableWithHeader(ws, 2);
    EXPECT_EQ(todas.columns.size(), 4);
    EXPECT_EQ(todas.rows.size(), 3u);
    EXPECT_TRUE(tableWithHeader(ws, 9).rows.empty());
}

TEST_F(SheetsTest, CellTextFollowsTheBrazilianConventions)
{
    const struct {
        QVariant cell;
        const char* text;
    } casos[] = {
        {QVariant(), ""},
        {1500.0, "1500"},
        {-30.5, "-30,5"},
        {0.1, "0,1"},
        {QDate(2024, 3, 5), "05/03/2024"},
        {QStringLiteral(" texto "), " texto "},
    };
    for (const auto& c : casos)
        EXPECT_EQ(cellText(c.cell), QString::fromUtf8(c.text));
}

TEST_F(SheetsTest, XlsSheetIsReadWithTextNumbersAndDates)
{
    using testsupport::xls::Erro;
    const auto formula = [](const QVariant& resultado) {
        return QVariant::fromValue(testsupport::xls::Formula{resultado});
    };
    // A small workbook's stream sits in the mini stream, as writers put it,
    // or in sectors of its own.
    for (const bool mini : {false, true}) {
        SCOPED_TRACE(mini ? "mini stream" : "sectors");
        ASSERT_TRUE(testsupport::escreverXls(
            caminho("antigo.xls"), QStringLiteral("Plan1"),
            {{QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor")},
             {QDate(2024, 3, 15), QStringLiteral("PADARIA SÃO JOSÉ"), -45.9},
             {},
             {QVariant(), QVariant(), 7.0},
             // Formula cells give the results they stored, or nothing.
             {formula(QDate(2024, 3, 16)), formula(QStringLiteral("SALÁRIO MARÇO")), formula(3500.75)},
             {formula(true), formula(QVariant::fromValue(Erro{0x07})), formula(QVariant())}},
            mini));
        EXPECT_EQ(sheetFormatOf(caminho("antigo.xls")), SheetFormat::Xls);
        Worksheet ws;
        QString erro;
        ASSERT_TRUE(readWorksheet(caminho("antigo.xls"), "PLAN1", ws, erro)) << erro.toStdString();
        ASSERT_GE(ws.rows.size(), 4u);
        EXPECT_EQ(ws.rows[0][1].toString(), "Referente");
        EXPECT_EQ(ws.rows[1][0].toDate(), QDate(2024, 3, 15));
        EXPECT_EQ(ws.rows[1][1].toString(), QStringLiteral("PADARIA SÃO JOSÉ"));
        EXPECT_DOUBLE_EQ(ws.rows[1][2].toDouble(), -45.9);
        EXPECT_TRUE(ws.rows[2].empty() || cellEmpty(ws.rows[2][0]));
        EXPECT_EQ(ws.rows[3][2].toDouble(), 7.0);
        ASSERT_EQ(ws.rows.size(), 6u);
        EXPECT_EQ(ws.rows[4][0].toDate(), QDate(2024, 3, 16));
        EXPECT_EQ(ws.rows[4][1].toString(), QStringLiteral("SALÁRIO MARÇO"));
        EXPECT_DOUBLE_EQ(ws.rows[4][2].toDouble(), 3500.75);
        EXPECT_EQ(ws.rows[5][0], QVariant(true));
        EXPECT_EQ(ws.rows[5][1].toString(), QStringLiteral("#DIV/0!"));
        EXPECT_TRUE(ws.rows[5].size() < 3 || cellEmpty(ws.rows[5][2]));

        EXPECT_FALSE(readWorksheet(caminho("antigo.xls"), "Plan2", ws, erro));
        EXPECT_EQ(erro, QStringLiteral("O arquivo ''antigo.xls'' não tem a planilha ''Plan2''."));
    }
}
