#include "import/Extrato.h"
#include "support/Fixtures.h"
#include "support/Planilhas.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace importacao;
using testsupport::escreverArquivo;
using testsupport::escreverXlsx;

namespace {

struct Esperada {
    QDate data;
    QString historico;
    data::Centavos valor;
};

class ExtratoTest : public ::testing::Test {
protected:
    QString caminho(const QString& nome) const { return dir.filePath(nome); }
    void escrever(const QString& nome, const QByteArray& bytes) { ASSERT_TRUE(escreverArquivo(caminho(nome), bytes)); }

    static void confere(const LeituraExtrato& r, const std::vector<Esperada>& esperadas)
    {
        ASSERT_TRUE(r.ok()) << r.erro.toStdString();
        ASSERT_EQ(r.linhas.size(), esperadas.size());
        for (std::size_t i = 0; i < esperadas.size(); ++i) {
            EXPECT_EQ(r.linhas[i].data, esperadas[i].data) << i;
            EXPECT_EQ(r.linhas[i].historico, esperadas[i].historico) << i;
            EXPECT_EQ(r.linhas[i].valor, esperadas[i].valor) << i;
            EXPECT_EQ(r.linhas[i].classificacao, "Importado do Extrato");
            EXPECT_EQ(r.linhas[i].ordem, "A");
            EXPECT_TRUE(r.linhas[i].conta.isEmpty());
        }
    }

    QTemporaryDir dir;
};

// A fixed-column line of the BRADESCO report: date in 1-10, description in
// 25-48, credit in 74-98, debit in 99-122.
QByteArray linhaBradesco(const QString& data, const QString& historico, const QString& credito,
                         const QString& debito)
{
    QString l = data.leftJustified(24, ' ') + historico.leftJustified(24, ' ');
    l = l.leftJustified(73, ' ') + credito.rightJustified(25, ' ') + debito.rightJustified(24, ' ');
    return l.toLatin1() + "\r\n";
}

} // namespace

TEST_F(ExtratoTest, LayoutsAreOfferedInTheirOrderAndMatchedExactly)
{
    EXPECT_EQ(nomesLayouts(), (QStringList{"BRADESCO", "CAIXA", QStringLiteral("ITAÚ"), "SANTANDER", "PLANILHA"}));
    EXPECT_EQ(layoutPorNome(QStringLiteral("ITAÚ")), LayoutExtrato::Itau);
    EXPECT_EQ(layoutPorNome("PLANILHA"), LayoutExtrato::Planilha);
    EXPECT_EQ(nomeLayout(LayoutExtrato::Caixa), "CAIXA");
    EXPECT_FALSE(layoutPorNome("ITAU"));
    EXPECT_FALSE(layoutPorNome("Bradesco"));
    EXPECT_FALSE(layoutPorNome(""));
}

TEST_F(ExtratoTest, FolderListsTextFilesFirstThenSpreadsheets)
{
    for (const char* nome : {"b.xlsx", "a.TXT", "c.xls", "z.txt", "Schema.ini", "nota.doc", "d.XLSM", "fechado.txt"})
        escrever(nome, "x");
    QDir(dir.path()).mkdir("pasta.txt");
    // A link to a device is no statement; a statement the user may not read
    // is listed, and its read ends in the failure message.
    ASSERT_TRUE(QFile::link("/dev/null", caminho("aparelho.txt")));
    ASSERT_TRUE(QFile::setPermissions(caminho("fechado.txt"), QFile::Permissions()));
    EXPECT_EQ(listarExtratos(dir.path()), (QStringList{"a.TXT", "fechado.txt", "z.txt", "b.xlsx", "c.xls", "d.XLSM"}));
    if (::geteuid() != 0) {
        EXPECT_EQ(lerExtrato(LayoutExtrato::Bradesco, caminho("fechado.txt")).erro,
                  QStringLiteral("Não foi possível abrir o arquivo ''fechado.txt''."));
    }
    EXPECT_TRUE(listarExtratos(caminho("nao-existe")).isEmpty());
    EXPECT_TRUE(listarExtratos("").isEmpty());
}

TEST_F(ExtratoTest, BradescoReadsDatedMovementsAndSkipsEverythingElse)
{
    QByteArray f;
    f += "Extrato de: Agencia: 1234 Conta: 56789-0\r\n";
    f += "Data                    Historico                                                   Credito (R$)"
         "               Debito (R$)\r\n";
    f += linhaBradesco("29/12/2023", "SALDO ANTERIOR", "1.000,00", "");
    f += linhaBradesco("02/01/2024", "  PAGTO ELETRON COBRANCA  ", "", "-30,00");
    f += "                        CONTA DE LUZ ENEL\r\n";
    f += linhaBradesco("02/01/22", "TED RECEBIDA", "1.500,50", "");
    f += linhaBradesco("03/01/2024", "Saldo do dia", "", "-1,00");
    f += linhaBradesco("03/01/2024", "", "", "-2,00");
    f += "Total                                                                      1.500,50     -32,00\r\n";
    escrever("bradesco.txt", f);

    confere(lerExtrato(LayoutExtrato::Bradesco, caminho("bradesco.txt")),
            {{QDate(2024, 1, 2), "PAGTO ELETRON COBRANCA", -3000},
             {QDate(2022, 1, 2), "TED RECEBIDA", 150050},
             {QDate(2024, 1, 3), "", -200}});
}

TEST_F(ExtratoTest, BradescoLineWithoutAReadableAmountStopsTheReadWithAMessage)
{
    QByteArray f = linhaBradesco("02/01/2024", "PRIMEIRA", "10,00", "");
    f += "05/01/2024 linha curta sem valores\r\n";
    f += linhaBradesco("06/01/2024", "DEPOIS", "1,00", "");
    escrever("curto.txt", f);
    const LeituraExtrato r = lerExtrato(LayoutExtrato::Bradesco, caminho("curto.txt"));
    EXPECT_EQ(r.erro, QStringLiteral("Linha 2: valor '''' inválido."));
    ASSERT_EQ(r.linhas.size(), 1u);
    EXPECT_EQ(r.linhas[0].historico, "PRIMEIRA");
}

TEST_F(ExtratoTest, ItauReadsEveryLineAndWritesItsSchemaIni)
{
    escrever("itau.txt", QStringLiteral("15/03/2024;PADARIA SÃO JOSÉ;-45,90\r\n16/03/2024;SALARIO;1.250,00\r\n").toUtf8());
    escrever("Schema.ini", "[outro.txt]\r\nColNameHeader=True\r\n");
    confere(lerExtrato(LayoutExtrato::Itau, caminho("itau.txt")),
            {{QDate(2024, 3, 15), QStringLiteral("PADARIA SÃO JOSÉ"), -4590}, {QDate(2024, 3, 16), "SALARIO", 125000}});

    QFile schema(caminho("Schema.ini"));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    EXPECT_EQ(schema.readAll(), QByteArray("[itau.txt]\r\nFormat=Delimited(;)\r\nColNameHeader=False\r\n"
                                           "Col1=\"Data\"Char Width 255\r\nCol2=\"Referente\" Char Width 255\r\n"
                                           "Col3=\"Valor\" Char Width 255\r\n"));
}

TEST_F(ExtratoTest, CaixaTakesTheDigitsOfValorAsCentavosAndKeepsItsSign)
{
    escrever("caixa.txt",
             "\"Conta\";\"Data_Mov\";\"Nr_Doc\";\"Historico\";\"Valor\";\"Deb_Cred\"\r\n"
             "\"0001\";\"20240315\";\"1\";\"PAGAMENTO LUZ\";\"500.00\";\"D\"\r\n"
             "\"0001\";\"20240316\";\"2\";\"COMPRA\";\"-1234.56\";\"D\"\r\n"
             "\"0001\";\"20240229\";\"3\";\"CREDITO\";\"0.05\";\"C\"\r\n");
    confere(lerExtrato(LayoutExtrato::Caixa, caminho("caixa.txt")),
            {{QDate(2024, 3, 15), "PAGAMENTO LUZ", 50000},
             {QDate(2024, 3, 16), "COMPRA", -123456},
             {QDate(2024, 2, 29), "CREDITO", 5}});
    QFile schema(caminho("Schema.ini"));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    EXPECT_EQ(schema.readAll(), QByteArray("[caixa.txt]\r\nFormat=Delimited(;)\r\n"));
}

TEST_F(ExtratoTest, HeaderOnlyTextStatementReadsNoLines)
{
    escrever("caixa.txt", "\"Conta\";\"Data_Mov\";\"Nr_Doc\";\"Historico\";\"Valor\";\"Deb_Cred\"\r\n");
    const LeituraExtrato r = lerExtrato(LayoutExtrato::Caixa, caminho("caixa.txt"));
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.linhas.empty());
}

TEST_F(ExtratoTest, TextStatementsWithBadFieldsGiveAMessageNamingTheLine)
{
    const struct {
        LayoutExtrato layout;
        const char* conteudo;
        const char* erro;
        std::size_t lidas;
    } casos[] = {
        {LayoutExtrato::Itau, "15/03/2024;A;1,00\n31/02/2024;B;2,00\n", "Linha 2: data ''31/02/2024'' inválida.", 1},
        {LayoutExtrato::Itau, "15/03/2024;;1,00\n", "Linha 1: histórico vazio.", 0},
        {LayoutExtrato::Itau, "15/03/2024;A;abc\n", "Linha 1: valor ''abc'' inválido.", 0},
        {LayoutExtrato::Itau, "15/03/2024;A\n", "Linha 1: valor '''' inválido.", 0},
        {LayoutExtrato::Itau, "15/03/2024;A;1,00\n05/12/2026;X;92233720368547758,08\n",
         "Linha 2: valor ''92233720368547758,08'' inválido.", 1},
        {LayoutExtrato::Itau, "15/03/2024;A;10000000000000,00\n", "Linha 1: valor ''10000000000000,00'' inválido.", 0},
        {LayoutExtrato::Caixa, "Data_Mov;Historico;Valor\n2024031;A;1.00\n", "Linha 2: data ''2024031'' inválida.", 0},
        {LayoutExtrato::Caixa, "Data_Mov;Historico;Valor\n20240315;A;1.00\n20240316;;1.00\n", "Linha 3: histórico vazio.", 1},
        {LayoutExtrato::Caixa, "Data_Mov;Historico;Valor\n20240315;A;\n", "Linha 2: valor '''' inválido.", 0},
        {LayoutExtrato::Caixa, "Data_Mov;Historico;Valor\n20240315;A;1000000000000000.00\n",
         "Linha 2: valor ''1000000000000000.00'' inválido.", 0},
        {LayoutExtrato::Caixa, "Data;Historico;Valor\n20240315;A;1.00\n", "O extrato não tem a coluna ''Data_Mov''.", 0},
    };
    for (const auto& c : casos) {
        escrever("e.txt", c.conteudo);
        const LeituraExtrato r = lerExtrato(c.layout, caminho("e.txt"));
        EXPECT_EQ(r.erro, QString::fromUtf8(c.erro)) << c.conteudo;
        EXPECT_EQ(r.linhas.size(), c.lidas) << c.conteudo;
    }
}

TEST_F(ExtratoTest, PlanilhaReadsRowsWithADateAndLeavesNoGaps)
{
    ASSERT_TRUE(escreverXlsx(caminho("minha.xlsx"), "Plan1",
                             {{QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor"),
                               QStringLiteral("Obs")},
                              {QDate(2024, 3, 1), QStringLiteral("ALUGUEL"), -1500.0, QStringLiteral("x")},
                              {QVariant(), QStringLiteral("sem data"), 10.0},
                              {},
                              {QStringLiteral("05/03/2024"), QStringLiteral("SALÁRIO"), QStringLiteral("3.456,78")},
                              {QDate(2024, 3, 9), 123.0, 0.125}}));
    confere(lerExtrato(LayoutExtrato::Planilha, caminho("minha.xlsx")),
            {{QDate(2024, 3, 1), "ALUGUEL", -150000},
             {QDate(2024, 3, 5), QStringLiteral("SALÁRIO"), 345678},
             {QDate(2024, 3, 9), "123", 12}});
}

TEST_F(ExtratoTest, PlanilhaWithoutItsSheetOrColumnsOrWithBadCellsIsRefused)
{
    ASSERT_TRUE(escreverXlsx(caminho("folha.xlsx"), "Extrato", {{QStringLiteral("Data")}}));
    ASSERT_TRUE(escreverXlsx(caminho("colunas.xlsx"), "Plan1",
                             {{QStringLiteral("Data"), QStringLiteral("Historico"), QStringLiteral("Valor")}}));
    ASSERT_TRUE(escreverXlsx(caminho("vazio.xlsx"), "Plan1",
                             {{QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor")},
                              {QDate(2024, 3, 1), QStringLiteral("A"), 1.0},
                              {QDate(2024, 3, 2), QVariant(), 2.0}}));
    ASSERT_TRUE(escreverXlsx(caminho("data.xlsx"), "Plan1",
                             {{QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor")},
                              {QStringLiteral("ontem"), QStringLiteral("A"), 1.0}}));
    ASSERT_TRUE(escreverXlsx(caminho("valor.xlsx"), "Plan1",
                             {{QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor")},
                              {QDate(2024, 3, 1), QStringLiteral("A")}}));
    escrever("pagina.xls", "<html><table><tr><td>Data</td></tr></table></html>");

    const struct {
        const char* arquivo;
        const char* erro;
    } casos[] = {
        {"folha.xlsx", "O arquivo ''folha.xlsx'' não tem a planilha ''Plan1''."},
        {"colunas.xlsx", "O extrato não tem a coluna ''Referente''."},
        {"vazio.xlsx", "Linha 3: histórico vazio."},
        {"valor.xlsx", "Linha 2: valor '''' inválido."},
        {"pagina.xls", "O arquivo ''pagina.xls'' não é uma planilha do Excel (.xls ou .xlsx)."},
    };
    for (const auto& c : casos)
        EXPECT_EQ(lerExtrato(LayoutExtrato::Planilha, caminho(c.arquivo)).erro, QString::fromUtf8(c.erro)) << c.arquivo;
    // A text that is no date leaves its row without one, as the sheet shows.
    const LeituraExtrato semData = lerExtrato(LayoutExtrato::Planilha, caminho("data.xlsx"));
    EXPECT_TRUE(semData.ok()) << semData.erro.toStdString();
    EXPECT_TRUE(semData.linhas.empty());
}

// Workbooks saved by two spreadsheet programs: a date column filled down
// with =IF(B="";"";A+1), whose rows past the statement look empty; a text
// formula and an empty text in the date column; texts of 5 003 characters
// that continue over several records (BIFF5 bytes, BIFF8 with a character
// split across records). Each reads as the program's own CSV export shows.
TEST_F(ExtratoTest, WorkbooksReadAsTheirSpreadsheetProgramShowsThem)
{
    const QString longa = QStringLiteral("ABCDEFGHIJ").repeated(500) + QStringLiteral("XYZ");
    const QString acentos = QStringLiteral("ÁÉÍÓÚçãõ").repeated(625) + QStringLiteral("FIM");
    for (const char* nome : {"libreoffice-preenchida.xls", "gnumeric-biff5-longa.xls", "gnumeric-biff8-longa.xls"}) {
        SCOPED_TRACE(nome);
        const QString origem = QDir(QStringLiteral(VORSAL_XLS_CORPUS)).filePath(QString::fromUtf8(nome));
        ASSERT_TRUE(QFile::copy(origem, caminho(nome)));
        confere(lerExtrato(LayoutExtrato::Planilha, caminho(nome)),
                {{QDate(2024, 3, 15), "PADARIA", -1050},
                 {QDate(2024, 3, 16), "MERCADO", -2000},
                 {QDate(2024, 3, 17), "FARMACIA", -3000},
                 {QDate(2024, 3, 20), longa, -500},
                 {QDate(2024, 3, 21), acentos, 700}});
    }
}

TEST_F(ExtratoTest, SantanderKeepsOnlyDocumentedMovementsBelowItsTitleBlock)
{
    const QVariant nada;
    ASSERT_TRUE(escreverXlsx(
        caminho("santander.xls"), "Plan1",
        {{QStringLiteral("FULANO DE TAL")},
         {QStringLiteral("Agência: 1234")},
         {QStringLiteral("Conta: 01.000123.4")},
         {QStringLiteral("Período: 01/03/2024 a 31/03/2024")},
         {},
         {QStringLiteral("Data"), QStringLiteral("Descrição "), QStringLiteral("Docto "), QStringLiteral("Situação "),
          QStringLiteral("Crédito (R$) "), QStringLiteral("Débito (R$) "), QStringLiteral("Saldo (R$) ")},
         {QDate(2024, 2, 29), QStringLiteral("SALDO ANTERIOR"), nada, nada, nada, nada, 100.0},
         {QDate(2024, 3, 1), QStringLiteral("PIX RECEBIDO"), 123456.0, QStringLiteral("Normal"), 1500.0, nada, 1600.0},
         {QDate(2024, 3, 2), QStringLiteral("COMPRA CARTAO"), QStringLiteral("000789"), nada, nada, -30.5, 1569.5},
         {QDate(2024, 3, 2), QStringLiteral("TARIFA"), 5.0, nada, nada, -10.0, nada},
         {QDate(2024, 3, 3), QStringLiteral("total do dia"), 7.0, nada, nada, -1.0, 1.0},
         {QDate(2024, 3, 3), QStringLiteral("saldo anterior bloqueado"), 8.0, nada, 1.0, nada, 1.0},
         {QDate(2024, 3, 4), QStringLiteral("SEM DOC"), QStringLiteral("PIX"), nada, 1.0, nada, 1.0},
         {QDate(2024, 3, 5), QStringLiteral("SAQUE"), 9.0, nada, QStringLiteral("-200,00"), nada, 1.0}}));
    confere(lerExtrato(LayoutExtrato::Santander, caminho("santander.xls")),
            {{QDate(2024, 3, 1), "PIX RECEBIDO", 150000},
             {QDate(2024, 3, 2), "COMPRA CARTAO", -3050},
             {QDate(2024, 3, 5), "SAQUE", -20000}});
}

TEST_F(ExtratoTest, SantanderMovementWithoutADescriptionStopsTheRead)
{
    const QVariant nada;
    ASSERT_TRUE(escreverXlsx(
        caminho("santander.xls"), "Plan1",
        {{QStringLiteral("FULANO DE TAL")}, {}, {}, {}, {},
         {QStringLiteral("Data"), QStringLiteral("Descrição "), QStringLiteral("Docto "), QStringLiteral("Situação "),
          QStringLiteral("Crédito (R$) "), QStringLiteral("Débito (R$) "), QStringLiteral("Saldo (R$) ")},
         {QDate(2024, 3, 1), QStringLiteral("PIX RECEBIDO"), 123456.0, nada, 1500.0, nada, 1600.0},
         {QDate(2024, 3, 2), nada, 555.0, nada, nada, -30.5, 1569.5},
         {QDate(2024, 3, 5), QStringLiteral("SAQUE"), 9.0, nada, nada, -200.0, 1369.5}}));
    const LeituraExtrato r = lerExtrato(LayoutExtrato::Santander, caminho("santander.xls"));
    EXPECT_EQ(r.erro, QStringLiteral("Linha 8: histórico vazio."));
    EXPECT_EQ(r.linhas.size(), 1u);
}

TEST_F(ExtratoTest, WhatIsNoRegularFileGivesAMessageInEveryLayoutAndIsNeverWaitedOn)
{
    // Another user who can write the folder may put a FIFO or a link under
    // a statement's name: opening a FIFO would wait for a writer for good.
    escrever("extrato.xls", "15/03/2024;PADARIA;-45,90\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(caminho("fila.txt")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(caminho("fila.xls")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(caminho("extrato.xls"), caminho("atalho.xls")));
    for (const char* nome : {"sumiu.txt", "fila.txt", "fila.xls", "atalho.xls"})
        for (const QString& modelo : nomesLayouts()) {
            const LeituraExtrato r = lerExtrato(*layoutPorNome(modelo), caminho(nome));
            EXPECT_EQ(r.erro, QStringLiteral("Não foi possível abrir o arquivo ''%1''.").arg(nome))
                << nome << " " << modelo.toStdString();
            EXPECT_TRUE(r.linhas.empty());
        }
}

TEST_F(ExtratoTest, FilePathMayUseBackslashesAsTheWindowBuildsIt)
{
    escrever("itau.txt", "15/03/2024;PADARIA;-45,90\n");
    const QString comBarras = dir.path() + QStringLiteral("\\itau.txt");
    const LeituraExtrato r = lerExtrato(LayoutExtrato::Itau, comBarras);
    ASSERT_TRUE(r.ok()) << r.erro.toStdString();
    EXPECT_EQ(r.linhas.size(), 1u);
}

TEST_F(ExtratoTest, OldFormatSpreadsheetsAreReadLikeNewOnes)
{
    const std::vector<std::vector<QVariant>> planilha = {
        {QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor")},
        {QDate(2024, 3, 1), QStringLiteral("ALUGUEL"), -1500.0},
        {QVariant(), QStringLiteral("sem data"), 1.0},
        {QDate(2024, 3, 2), QStringLiteral("DEPÓSITO"), 99.99}};
    ASSERT_TRUE(testsupport::escreverXls(caminho("minha.xls"), QStringLiteral("Plan1"), planilha));
    ASSERT_TRUE(escreverXlsx(caminho("minha.xlsx"), QStringLiteral("Plan1"), planilha));
    for (const char* nome : {"minha.xls", "minha.xlsx"})
        confere(lerExtrato(LayoutExtrato::Planilha, caminho(nome)),
                {{QDate(2024, 3, 1), "ALUGUEL", -150000}, {QDate(2024, 3, 2), QStringLiteral("DEPÓSITO"), 9999}});
}

TEST_F(ExtratoTest, HistoriesLoseControlCharactersAndTextDatesTheirTime)
{
    // One line saved in the Windows code page among UTF-8 lines garbles
    // none of them.
    escrever("itau.txt", QByteArray("15/03/2024;PIX") + '\0'
                             + "RECEBIDO;10,00\r\n"
                               "16/03/2024 13:45:00;TED\tMARIA\x01;1,00\r\n"
                               "17/03/2024;PADARIA S\xC3\x83O JOS\xC3\x89;-1,00\r\n"
                               "18/03/2024;CAF\xC9 DA ESQUINA;-2,00\r\n");
    confere(lerExtrato(LayoutExtrato::Itau, caminho("itau.txt")),
            {{QDate(2024, 3, 15), "PIXRECEBIDO", 1000},
             {QDate(2024, 3, 16), "TED MARIA", 100},
             {QDate(2024, 3, 17), QStringLiteral("PADARIA SÃO JOSÉ"), -100},
             {QDate(2024, 3, 18), QStringLiteral("CAFÉ DA ESQUINA"), -200}});

    ASSERT_TRUE(testsupport::escreverXls(
        caminho("datas.xls"), QStringLiteral("Plan1"),
        {{QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor")},
         {QStringLiteral("05/12/2026 13:45:00"), QStringLiteral("PIX\tENVIADO\x1f"), -5.0}}));
    confere(lerExtrato(LayoutExtrato::Planilha, caminho("datas.xls")), {{QDate(2026, 12, 5), "PIX ENVIADO", -500}});
}

class ExtratoSchemaIniTest : public testsupport::DrivesFixture {};

TEST_F(ExtratoSchemaIniTest, SchemaIniNeverWritesThroughWhatStandsUnderItsName)
{
    const QString conta = createAccount(QStringLiteral("Casa"));
    QFile arquivoConta(conta);
    ASSERT_TRUE(arquivoConta.open(QIODevice::ReadOnly));
    const QByteArray antes = arquivoConta.readAll();
    arquivoConta.close();
    const QString pasta = QDir(dir.path()).filePath(QStringLiteral("C/Extratos"));
    ASSERT_TRUE(QDir().mkpath(pasta));
    ASSERT_TRUE(escreverArquivo(pasta + QStringLiteral("/itau.txt"), "15/03/2024;PADARIA;-45,90\r\n"));
    const QString schema = pasta + QStringLiteral("/Schema.ini");

    const struct {
        const char* caso;
        std::function<bool()> preparar;
        const char* erro;
    } casos[] = {
        // As an archive leaves it: a link to the account file.
        {"link", [&] { return QFile::link(QStringLiteral("../Banco/Casa.mdb"), schema); }, ""},
        {"pasta", [&] { return QDir().mkdir(schema); },
         "Não foi possível gravar o arquivo ''Schema.ini'' na pasta ''C:\\Extratos''."},
        {"arquivo", [&] { return escreverArquivo(schema, "[velho.txt]\r\n"); }, ""},
    };
    for (const auto& c : casos) {
        QFile::remove(schema);
        QDir().rmdir(schema);
        ASSERT_TRUE(c.preparar()) << c.caso;
        const LeituraExtrato r = lerExtrato(LayoutExtrato::Itau, QStringLiteral("C:\\Extratos\\itau.txt"));
        EXPECT_EQ(r.erro, QString::fromUtf8(c.erro)) << c.caso;
        EXPECT_EQ(r.linhas.size(), r.ok() ? 1u : 0u) << c.caso;
        ASSERT_TRUE(arquivoConta.open(QIODevice::ReadOnly));
        EXPECT_EQ(arquivoConta.readAll(), antes) << c.caso;
        arquivoConta.close();
        if (r.ok()) {
            const QFileInfo novo(schema);
            EXPECT_TRUE(novo.isFile() && !novo.isSymLink()) << c.caso;
        }
    }
}
