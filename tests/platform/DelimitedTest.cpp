#include "platform/delimited.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace platform;

namespace {

class DelimitedTest : public ::testing::Test {
protected:
    QString caminho(const QString& nome) const { return dir.filePath(nome); }
    void escrever(const QString& nome, const QByteArray& bytes)
    {
        QFile f(caminho(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ler(const QString& nome)
    {
        QFile f(caminho(nome));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(DelimitedTest, SchemaIniReplacesWhatStandsUnderItsNameAsAName)
{
    escrever("conta.mdb", "o arquivo da conta");
    const QString schema = caminho("Schema.ini");
    const struct {
        const char* caso;
        std::function<bool()> preparar;
        bool grava;
    } casos[] = {
        {"nada", [] { return true; }, true},
        {"arquivo",
         [&] {
             escrever("Schema.ini", "[velho.txt]\r\nmuito mais texto que o novo\r\n");
             return QFileInfo(schema).isFile();
         },
         true},
        {"link", [&] { return QFile::link(caminho("conta.mdb"), schema); }, true},
        {"link-quebrado", [&] { return QFile::link(caminho("sumiu.mdb"), schema); }, true},
        {"pasta", [&] { return QDir().mkdir(schema); }, false},
    };
    for (const auto& c : casos) {
        QFile::remove(schema);
        QDir().rmdir(schema);
        ASSERT_TRUE(c.preparar()) << c.caso;
        QString erro;
        EXPECT_EQ(writeSchemaIni(dir.path(), {"[extrato.txt]", "Format=Delimited(;)"}, "C:\\Extratos", erro), c.grava)
            << c.caso;
        EXPECT_EQ(ler("conta.mdb"), QByteArray("o arquivo da conta")) << c.caso;
        EXPECT_FALSE(QFileInfo::exists(caminho("sumiu.mdb"))) << c.caso;
        if (c.grava) {
            EXPECT_FALSE(QFileInfo(schema).isSymLink()) << c.caso;
            EXPECT_EQ(ler("Schema.ini"), QByteArray("[extrato.txt]\r\nFormat=Delimited(;)\r\n")) << c.caso;
        } else {
            EXPECT_EQ(erro, QStringLiteral("Não foi possível gravar o arquivo ''Schema.ini'' na pasta ''C:\\Extratos''."));
        }
        // Nothing of the write is left behind.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files | QDir::NoDotAndDotDot).filter(".criando"),
                  QStringList()) << c.caso;
    }
    QString erro;
    EXPECT_FALSE(writeSchemaIni(caminho("nao/existe"), {"[a.txt]"}, "C:\\nao\\existe", erro));
    EXPECT_EQ(erro, QStringLiteral("Não foi possível gravar o arquivo ''Schema.ini'' na pasta ''C:\\nao\\existe''."));
}

TEST_F(DelimitedTest, ASchemaIniSwappedForAFifoOrALinkIsRefusedNotWaitedOn)
{
    // Between its writing and its reading another user who can write the
    // folder may put a FIFO there, which would keep the read waiting for
    // good, or a link to a file of their choosing.
    escrever("extrato.txt", "15/03/2024;PADARIA;-45,90\n");
    escrever("outro.ini", "[extrato.txt]\r\nFormat=Delimited(|)\r\n");
    const QString schema = caminho("Schema.ini");
    const struct {
        const char* caso;
        std::function<bool()> preparar;
    } casos[] = {
        {"fifo", [&] { return ::mkfifo(QFile::encodeName(schema).constData(), 0600) == 0; }},
        {"link", [&] { return QFile::link(caminho("outro.ini"), schema); }},
    };
    for (const auto& c : casos) {
        QFile::remove(schema);
        ASSERT_TRUE(c.preparar()) << c.caso;
        DelimitedTable tabela;
        QString erro;
        EXPECT_FALSE(readDelimited(caminho("extrato.txt"), true, tabela, erro)) << c.caso;
        EXPECT_EQ(erro, QStringLiteral("Não foi possível abrir o arquivo ''Schema.ini''.")) << c.caso;
        EXPECT_TRUE(tabela.rows.empty()) << c.caso;
    }
}

TEST_F(DelimitedTest, ColumnsNamedBySchemaMakeTheFirstLineData)
{
    QString erro;
    ASSERT_TRUE(writeSchemaIni(dir.path(),
                               {"[Outro.txt]", "Format=Delimited(|)", "[itau.txt]", "Format=Delimited(;)",
                                "ColNameHeader=False", "Col1=\"Data\"Char Width 255",
                                "Col2=\"Referente\" Char Width 255", "Col3=Valor Char Width 255"},
                               dir.path(), erro));
    escrever("itau.txt", "02/01/2024;PADARIA;-45,90\r\n\r\n03/01/2024;SALARIO;1.250,00;extra\r\n04/01/2024;SO DATA\r\n");

    DelimitedTable t;
    ASSERT_TRUE(readDelimited(caminho("itau.txt"), true, t, erro)) << erro.toStdString();
    EXPECT_EQ(t.columns, (QStringList{"Data", "Referente", "Valor"}));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0], (QStringList{"02/01/2024", "PADARIA", "-45,90"}));
    EXPECT_EQ(t.rows[1], (QStringList{"03/01/2024", "SALARIO", "1.250,00"}));
    EXPECT_EQ(t.rows[2], (QStringList{"04/01/2024", "SO DATA", ""}));
    EXPECT_EQ(t.column("VALOR"), 2);
}

TEST_F(DelimitedTest, HeaderLineNamesColumnsWhenTheSchemaDoesNotSay)
{
    QString erro;
    ASSERT_TRUE(writeSchemaIni(dir.path(), {"[CAIXA.TXT]", "Format=Delimited(;)"}, dir.path(), erro));
    escrever("caixa.txt",
             "\"Conta\";\"Data_Mov\";\"Historico\";\"Valor\"\n"
             "\"001\";\"20240315\";\"PAG \"\"BOLETO\"\"; LUZ\";\"500.00\"\n");
    DelimitedTable t;
    ASSERT_TRUE(readDelimited(caminho("caixa.txt"), true, t, erro)) << erro.toStdString();
    EXPECT_EQ(t.columns, (QStringList{"Conta", "Data_Mov", "Historico", "Valor"}));
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0], (QStringList{"001", "20240315", "PAG \"BOLETO\"; LUZ", "500.00"}));

    DelimitedTable semCabecalho;
    ASSERT_TRUE(readDelimited(caminho("caixa.txt"), false, semCabecalho, erro));
    EXPECT_EQ(semCabecalho.columns, (QStringList{"F1", "F2", "F3", "F4"}));
    EXPECT_EQ(semCabecalho.rows.size(), 2u);
}

TEST_F(DelimitedTest, WithoutSchemaTheDefaultsApplyAndLatin1TextIsDecoded)
{
    escrever("l1.txt", QByteArray("a,Cr\xe9\x64ito\n"));
    DelimitedTable t;
    QString erro;
    ASSERT_TRUE(readDelimited(caminho("l1.txt"), false, t, erro));
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0], (QStringList{"a", QStringLiteral("Crédito")}));
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" "Cr\xC3\xA9" "dito"), QStringLiteral("Crédito"));
    EXPECT_EQ(decodeText("fim\r\n\x1a"), QStringLiteral("fim\r\n"));
    EXPECT_EQ(decodeText("a\x96" "b"), QStringLiteral("a–b"));
    // Line by line: a line in the Windows code page leaves the UTF-8 lines
    // around it as they are.
    EXPECT_EQ(decodeText("S\xC3\x83O\r\nCAF\xC9\nJOS\xC3\x89\n"), QStringLiteral("SÃO\r\nCAFÉ\nJOSÉ\n"));

    EXPECT_FALSE(readDelimited(caminho("falta.txt"), true, t, erro));
    EXPECT_EQ(erro, QStringLiteral("Não foi possível abrir o arquivo ''falta.txt''."));
}

TEST_F(DelimitedTest, FilesBeyondWhatAStatementHoldsAreDamaged)
{
    const struct {
        const char* nome;
        QByteArray bytes;
    } casos[] = {
        {"linhas.txt", QByteArray(100001, '\n')},
        {"longa.txt", QByteArray(70000, 'x')},
        {"colunas.txt", QByteArray(300, ',')},
        {"grande.txt", QByteArray(9 * 1024 * 1024, 'x').replace(0, 1, "\n")},
    };
    for (const auto& c : casos) {
        escrever(c.nome, c.bytes);
        DelimitedTable t;
        QString erro;
        EXPECT_FALSE(readDelimited(caminho(c.nome), false, t, erro)) << c.nome;
        EXPECT_EQ(erro, QStringLiteral("O arquivo ''%1'' está danificado ou não pôde ser lido.").arg(c.nome));
        // The fixed-column statement reads its lines under the same bounds.
        QStringList linhas;
        erro.clear();
        const bool semColunas = qstrcmp(c.nome, "colunas.txt") == 0;
        EXPECT_EQ(readTextLines(caminho(c.nome), linhas, erro), semColunas) << c.nome;
        EXPECT_EQ(erro.isEmpty(), semColunas) << c.nome;
    }
    // The bound counts lines: the empty piece after the last break is none.
    QByteArray exatas;
    for (int i = 0; i < 100000; ++i)
        exatas += "x\r\n";
    escrever("exatas.txt", exatas);
    QStringList linhas;
    QString erro;
    ASSERT_TRUE(readTextLines(caminho("exatas.txt"), linhas, erro)) << erro.toStdString();
    EXPECT_EQ(linhas.size(), 100000);
}

TEST_F(DelimitedTest, LinesSplitAtTheDelimiterHonouringQuotes)
{
    const struct {
        const char* linha;
        QStringList campos;
    } casos[] = {
        {"", {""}},
        {"a;b;", {"a", "b", ""}},
        {"\"a;b\";c", {"a;b", "c"}},
        {"\"\";x", {"", "x"}},
        {"\"sem fim;x", {"sem fim;x"}},
        {"me\"io;x", {"me\"io", "x"}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(splitDelimitedLine(QString::fromUtf8(c.linha), QLatin1Char(';')), c.campos) << c.linha;
}
