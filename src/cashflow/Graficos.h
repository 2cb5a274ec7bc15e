#pragma once
// The numbers of the four charts of the charts window, apart from the
// drawing: each chart is computed from the entries as a small table of rows
// (the categories along the horizontal axis), columns (the series, one bar
// per series in each category, each with its legend entry) and values. The
// window turns a table into a bar chart.
#include "data/Database.h"
#include "data/Money.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace cashflow {

struct TabelaGrafico {
    QStringList linhas;   // row labels, shown under the bars
    QStringList colunas;  // column labels, shown in the legend; "" gives no entry
    // valores[row][column]: bar heights as drawn, all of them upwards (reais
    // for the money charts, percent for the shares of the groups).
    std::vector<std::vector<double>> valores;
    bool legenda = false;

    int rowCount() const { return int(linhas.size()); }
    int columnCount() const { return int(colunas.size()); }

    // A table of zeros with empty labels.
    static TabelaGrafico zeros(int rows, int cols);
};

// The reset chart: twelve categories "1" to "12", one series at zero, no
// legend.
TabelaGrafico graficoLimpo();

// A classification chosen in a picker: the code as the entries store it
// (plain digits) and the name shown; an empty code means no classification.
struct ClassificacaoEscolhida {
    QString codigo;
    QString nome;
};

// The period of due dates, both days included; a start typed after the end
// is read as the same period the other way round.
struct Periodo {
    QDate inicio;
    QDate fim;
    Periodo(const QDate& a, const QDate& b);
};

// Monthly totals of one classification: a row per calendar month of the
// period holding entries of it, in calendar order, labelled with the month's
// name; one series named after the classification; each bar is the month's
// sum without its sign. Nothing when the classification has no entry in the
// period.
std::optional<TabelaGrafico> projecaoLancamentos(data::Connection& db, const Periodo& periodo,
                                                 const ClassificacaoEscolhida& classificacao);

// Twelve months of a year by up to three classifications: a series per
// picker, in picker order; a series whose picker is empty or whose
// classification has no entry in the year stays at zero with an empty label.
TabelaGrafico comparacaoLancamentos(data::Connection& db, int ano,
                                    const std::array<ClassificacaoEscolhida, 3>& escolhidas);

// Each calendar month of the period that has entries (any value, zero
// included), in calendar order: the exits' sum without its sign ("Saída")
// beside the incomes' sum ("Entrada"), told apart by the sign of the value.
// A series without any value keeps an empty label. Nothing when the period
// has no entries.
std::optional<TabelaGrafico> entradasSaidas(data::Connection& db, const Periodo& periodo);

// The exits of the period (side "1") split by account group, "Outras
// Saídas" and entries without a group left out.
struct GrupoDespesa {
    QString conta;
    data::Centavos total = 0;  // the group's sum, negative
    double percentual = 0;     // share of all exits, in percent
};

struct DespesasPorGrupo {
    std::vector<GrupoDespesa> grupos;  // largest exits (most negative sum) first
    data::Centavos total = 0;          // sum of every group, negative
    double somaPercentuais = 0;        // 100 unless every exit is zero
    // One series without legend: a row per group labelled with the first
    // eighteen characters of its name, height its share; at least twelve
    // rows, the ones after the last group labelled with their numbers.
    TabelaGrafico grafico;
};

// Nothing when the period has no such exits. When they all add up to zero
// no share can be worked out, and every share is 0.
std::optional<DespesasPorGrupo> despesasPorGrupo(data::Connection& db, const Periodo& periodo);

} // namespace cashflow
