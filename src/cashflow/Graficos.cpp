#include "cashflow/Graficos.h"

#include "data/Lancamentos.h"
#include "platform/formats.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace cashflow {

namespace {

// Grouping by the text "YYYY-MM" of the stored due date gives one group per
// calendar month; ordering by it gives calendar order.
const QString kMes = QStringLiteral("substr(DataVen, 1, 7)");

const QString kOutrasSaidas = QStringLiteral("Outras Saídas");

constexpr int kLinhasGrupos = 12;
constexpr int kRotuloGrupo = 18;

double altura(data::Centavos soma) { return data::toReais(std::llabs(soma)); }

int mesDe(const QString& anoMes) { return anoMes.mid(5, 2).toInt(); }

} // namespace

TabelaGrafico TabelaGrafico::zeros(int rows, int cols)
{
    TabelaGrafico t;
    for (int r = 0; r < rows; ++r)
        t.linhas << QString();
    for (int c = 0; c < cols; ++c)
        t.colunas << QString();
    t.valores.assign(size_t(rows), std::vector<double>(size_t(cols), 0.0));
    return t;
}

TabelaGrafico graficoLimpo()
{
    TabelaGrafico t = TabelaGrafico::zeros(12, 1);
    for (int r = 0; r < 12; ++r)
        t.linhas[r] = QString::number(r + 1);
    return t;
}

Periodo::Periodo(const QDate& a, const QDate& b) : inicio(std::min(a, b)), fim(std::max(a, b)) {}

std::optional<TabelaGrafico> projecaoLancamentos(data::Connection& db, const Periodo& periodo,
                                                 const ClassificacaoEscolhida& classificacao)
{
    if (classificacao.codigo.isEmpty())
        return std::nullopt;
    data::Statement s(db,
                      QStringLiteral("SELECT ") + kMes + QStringLiteral(" AS Mes, soma(Valor) FROM Lancamentos"
                                                                         " WHERE DataVen BETWEEN ? AND ? AND Despesa = ?"
                                                                         " GROUP BY Mes ORDER BY Mes"),
                      periodo.inicio, periodo.fim, classificacao.codigo);
    TabelaGrafico t;
    t.colunas << classificacao.nome;
    t.legenda = true;
    while (s.next()) {
        t.linhas << platform::monthName(mesDe(s.text(0)));
        t.valores.push_back({altura(s.integer(1))});
    }
    if (t.linhas.isEmpty())
        return std::nullopt;
    return t;
}

TabelaGrafico comparacaoLancamentos(data::Connection& db, int ano,
                                    const std::array<ClassificacaoEscolhida, 3>& escolhidas)
{
    TabelaGrafico t = TabelaGrafico::zeros(12, 3);
    t.legenda = true;
    for (int r = 0; r < 12; ++r)
        t.linhas[r] = platform::monthName(r + 1);
    const QDate inicio(ano, 1, 1);
    const QDate fim(ano, 12, 31);
    std::optional<data::LeituraPorIndice> doAno;
    for (size_t p = 0; p < escolhidas.size(); ++p) {
        // An empty picker finds nothing, also where entries were stored
        // without a classification.
        if (escolhidas[p].codigo.isEmpty())
            continue;
        // The year's entries through the due-date index, the classification's
        // through its own, or a pass over the table: whichever reads less,
        // as the file says. A common classification spans every year.
        if (!doAno)
            doAno = data::leituraPorIndice(db, data::condicaoDoPeriodo(QStringLiteral("DataVen"), false), {inicio, fim});
        const data::LeituraPorIndice doCodigo =
            data::leituraPorIndice(db, QStringLiteral("Despesa = ?"), {escolhidas[p].codigo});
        const bool peloCodigo = doCodigo.custo <= doAno->custo && doCodigo.custo <= doAno->passagem;
        const bool peloAno = !peloCodigo && doAno->custo <= doAno->passagem;
        const QString onde = data::condicaoDoPeriodo(QStringLiteral("DataVen"), !peloAno) +
                             (peloCodigo ? QStringLiteral(" AND Despesa = ?") : QStringLiteral(" AND +Despesa = ?"));
        data::Statement s(db,
                          QStringLiteral("SELECT CAST(substr(DataVen, 6, 2) AS INTEGER) AS Mes, soma(Valor)"
                                         " FROM Lancamentos WHERE ") +
                              onde + QStringLiteral(" GROUP BY Mes"),
                          inicio, fim, escolhidas[p].codigo);
        while (s.next()) {
            const auto mes = s.integer(0);
            if (mes < 1 || mes > 12)
                continue;
            t.valores[size_t(mes - 1)][p] = altura(s.integer(1));
            t.colunas[int(p)] = escolhidas[p].nome;
        }
    }
    return t;
}

std::optional<TabelaGrafico> entradasSaidas(data::Connection& db, const Periodo& periodo)
{
    data::Statement s(db,
                      QStringLiteral("SELECT ") + kMes +
                          QStringLiteral(" AS Mes,"
                                         " soma(CASE WHEN Valor < 0 THEN Valor ELSE 0 END),"
                                         " soma(CASE WHEN Valor > 0 THEN Valor ELSE 0 END),"
                                         " COUNT(CASE WHEN Valor < 0 THEN 1 END),"
                                         " COUNT(CASE WHEN Valor > 0 THEN 1 END)"
                                         " FROM Lancamentos WHERE DataVen BETWEEN ? AND ?"
                                         " GROUP BY Mes ORDER BY Mes"),
                      periodo.inicio, periodo.fim);
    TabelaGrafico t;
    t.colunas << QString() << QString();
    t.legenda = true;
    while (s.next()) {
        t.linhas << platform::monthName(mesDe(s.text(0)));
        t.valores.push_back({altura(s.integer(1)), altura(s.integer(2))});
        if (s.integer(3) > 0)
            t.colunas[0] = QStringLiteral("Saída");
        if (s.integer(4) > 0)
            t.colunas[1] = QStringLiteral("Entrada");
    }
    if (t.linhas.isEmpty())
        return std::nullopt;
    return t;
}

std::optional<DespesasPorGrupo> despesasPorGrupo(data::Connection& db, const Periodo& periodo)
{
    // Entries without a group fail "Conta <> ?" and are left out with the
    // catch-all group. The group is not in the due-date index: a long period
    // is read in one pass over the table.
    const data::PlanoPeriodo plano = data::planoDoPeriodo(db, QStringLiteral("DataVen"), periodo.inicio, periodo.fim);
    data::Statement s(db,
                      QStringLiteral("SELECT Conta, soma(Valor) FROM Lancamentos WHERE ") + plano.condicao +
                          QStringLiteral(" AND Tipo = ? AND Conta <> ? GROUP BY Conta"),
                      periodo.inicio, periodo.fim, QStringLiteral("1"), kOutrasSaidas);
    DespesasPorGrupo d;
    while (s.next()) {
        GrupoDespesa g;
        g.conta = s.text(0);
        g.total = s.integer(1);
        d.total = data::addMoney(d.total, g.total);
        d.grupos.push_back(g);
    }
    if (d.grupos.empty())
        return std::nullopt;

    std::sort(d.grupos.begin(), d.grupos.end(), [](const GrupoDespesa& a, const GrupoDespesa& b) {
        return a.total != b.total ? a.total < b.total : a.conta < b.conta;
    });
    for (auto& g : d.grupos) {
        g.percentual = d.total != 0 ? double(g.total) / double(d.total) * 100.0 : 0.0;
        d.somaPercentuais += g.percentual;
    }

    // Groups beyond the usual twelve get rows of their own rather than
    // being dropped.
    const int linhas = std::max(kLinhasGrupos, int(d.grupos.size()));
    d.grafico = TabelaGrafico::zeros(linhas, 1);
    for (int r = 0; r < linhas; ++r) {
        if (r < int(d.grupos.size())) {
            d.grafico.linhas[r] = d.grupos[size_t(r)].conta.left(kRotuloGrupo);
            d.grafico.valores[size_t(r)][0] = d.grupos[size_t(r)].percentual;
        } else {
            d.grafico.linhas[r] = QString::number(r + 1);
        }
    }
    return d;
}

} // namespace cashflow
