#include "data/Conexao.h"
#include "data/Despesas.h"
#include "import/PreClassificacao.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

using namespace importacao;

namespace {

data::Despesa despesa(std::int64_t codigo, const QString& nome, const QString& tipo, const QString& palavra,
                      const QString& conta = QStringLiteral("Grupo"))
{
    data::Despesa d;
    d.codigo = codigo;
    d.nome = nome;
    d.tipo = tipo;
    d.preClass = palavra;
    d.conta = conta;
    return d;
}

LinhaExtrato linha(const QString& historico, data::Centavos valor)
{
    LinhaExtrato l;
    l.data = QDate(2024, 3, 15);
    l.historico = historico;
    l.valor = valor;
    return l;
}

const QString S = data::kDespesaSaida;
const QString E = data::kDespesaEntrada;

} // namespace

TEST(PreClassificacaoTest, KeywordMatchesOnlyLinesOfItsSideWhateverTheCase)
{
    const std::vector<data::Despesa> plano = {despesa(10, "Transferências", S, "PIX", "Outras Saídas"),
                                              despesa(11, "Salário", E, "salario", "Rendimentos")};
    std::vector<LinhaExtrato> linhas = {linha("ENVIO PIX", -5000), linha("pix recebido", 5000),
                                        linha("SALÁRIO", 100), linha("Credito SALARIO mar", 100)};
    linhas[0].ordem = "C";
    preClassificar(linhas, plano);

    EXPECT_EQ(linhas[0].classificacao, QStringLiteral("Transferências"));
    EXPECT_EQ(linhas[0].codigo, 10);
    EXPECT_EQ(linhas[0].conta, QStringLiteral("Outras Saídas"));
    EXPECT_EQ(linhas[0].ordem, "C");
    EXPECT_EQ(linhas[1].classificacao, kImportadoDoExtrato);
    EXPECT_TRUE(linhas[1].conta.isEmpty());
    EXPECT_EQ(linhas[2].classificacao, kImportadoDoExtrato);  // "SALÁRIO" does not hold "salario"
    EXPECT_EQ(linhas[3].classificacao, QStringLiteral("Salário"));
}

TEST(PreClassificacaoTest, LastMatchingClassificationInTableOrderWinsAndEmptyKeywordsNeverMatch)
{
    const std::vector<data::Despesa> plano = {despesa(3, "Mercado", S, "COMPRA"), despesa(4, "Vazia", S, ""),
                                              despesa(7, "Padaria", S, "PADARIA"), despesa(8, "Nula", S, QString())};
    const struct {
        const char* historico;
        data::Centavos valor;
        const char* esperada;
    } casos[] = {
        {"COMPRA PADARIA", -100, "Padaria"},
        {"COMPRA", -100, "Mercado"},
        {"", -100, "Importado do Extrato"},
        {"TED", -100, "Importado do Extrato"},
        // A zero line is on the outgoing side, where the posting looks it up.
        {"COMPRA", 0, "Mercado"},
    };
    for (const auto& c : casos) {
        std::vector<LinhaExtrato> linhas = {linha(QString::fromUtf8(c.historico), c.valor)};
        preClassificar(linhas, plano);
        EXPECT_EQ(linhas[0].classificacao, QString::fromUtf8(c.esperada)) << c.historico;
    }
}

TEST(PreClassificacaoTest, CatchAllClassifiesByTheSignAndLeavesClassifiedLinesAlone)
{
    std::vector<LinhaExtrato> linhas = {linha("A", -1), linha("B", 1), linha("C", 0), linha("D", -5)};
    linhas[0].ordem = "Q";
    linhas[3].classificacao = "Mercado";
    linhas[3].codigo = 3;
    linhas[3].conta = "Casa";
    linhas[3].ordem = "B";
    EXPECT_TRUE(existeNaoClassificado(linhas));

    colocarNaoClassificado(linhas);
    EXPECT_EQ(linhas[0].classificacao, QStringLiteral("Saída Não Classificada"));
    EXPECT_EQ(linhas[0].conta, QStringLiteral("Outras Saídas"));
    EXPECT_EQ(linhas[0].ordem, "A");
    EXPECT_EQ(linhas[1].classificacao, QStringLiteral("Entrada Não Classificada"));
    EXPECT_EQ(linhas[1].conta, QStringLiteral("Outras Entradas"));
    EXPECT_EQ(linhas[2].classificacao, QStringLiteral("Saída Não Classificada"));
    EXPECT_EQ(linhas[3].classificacao, "Mercado");
    EXPECT_EQ(linhas[3].ordem, "B");
    EXPECT_EQ(linhas[3].codigo, 3);
    EXPECT_FALSE(existeNaoClassificado(linhas));
    EXPECT_FALSE(existeNaoClassificado({}));
}

class PreClassificacaoContaTest : public testsupport::DrivesFixture {};

TEST_F(PreClassificacaoContaTest, KeywordsComeFromThePlanOfTheAccountFile)
{
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
    const auto luz = data::addClassificacao(ConexaoBanco, despesa(0, "Luz", S, "enel", "Moradia"));
    data::addClassificacao(ConexaoBanco, despesa(0, "Energia", S, "ENEL SP", "Moradia"));
    std::vector<LinhaExtrato> linhas = {linha("DEB AUT ENEL", -9000), linha("DEB AUT ENEL SP", -9000)};
    preClassificar(linhas, ConexaoBanco);
    EXPECT_EQ(linhas[0].classificacao, "Luz");
    EXPECT_EQ(linhas[0].codigo, luz);
    EXPECT_EQ(linhas[0].conta, "Moradia");
    EXPECT_EQ(linhas[1].classificacao, "Energia");

    ConexaoBanco.close();
    std::vector<LinhaExtrato> semConta = {linha("DEB AUT ENEL", -9000)};
    preClassificar(semConta, ConexaoBanco);
    EXPECT_EQ(semConta[0].classificacao, kImportadoDoExtrato);
}
