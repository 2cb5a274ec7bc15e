#pragma once
// The plan of classifications: table Despesas. Tipo "2" is outgoing and "1"
// incoming, the opposite coding to Lancamentos.Tipo.
#include "data/Database.h"

#include <QHash>
#include <QStringList>
#include <optional>
#include <vector>

namespace data {

struct Despesa {
    std::int64_t codigo = 0;
    QString nome;      // column Despesa
    QString tipo;      // "2" Saída, "1" Entrada
    QString preClass;  // keyword for statement lines; "" for none
    QString conta;     // the group
};

inline const QString kDespesaSaida = QStringLiteral("2");
inline const QString kDespesaEntrada = QStringLiteral("1");

// The fixed classifications every account file holds; the statement import
// writes these names into lines it could not classify.
inline const QString kSaidaNaoClassificada = QStringLiteral("Saída Não Classificada");
inline const QString kEntradaNaoClassificada = QStringLiteral("Entrada Não Classificada");

// Codes 94 and 95 are reserved: the plan window never opens them for
// alteration, and the cash flow and the import draw their entries in blue.
bool codigoReservado(std::int64_t codigo);

// The Despesas side of a Lancamentos side, and back.
QString despesaTipoOf(const QString& lancamentoTipo);

// The sixteen groups of a side (Despesas coding), in the windows' order.
const QStringList& gruposDoLado(const QString& despesaTipo);

enum class OrdemDespesas {
    PorNome,    // alphabetical, accents and case aside ("Água" before "Aluguel"): the pickers, the plan's grid
    PorCodigo,  // "in table order": the tree, the hidden code lists
};

// Every classification, or those of one side (an empty side lists both).
std::vector<Despesa> classificacoes(Connection& db, const QString& despesaTipo = QString(),
                                    OrdemDespesas ordem = OrdemDespesas::PorNome);
// The classifications of a side whose name contains a text anywhere, without
// regard to case; "%" and "_" in the text are literal. An empty text lists
// the whole side.
std::vector<Despesa> classificacoesContendo(Connection& db, const QString& despesaTipo, const QString& trecho,
                                            OrdemDespesas ordem = OrdemDespesas::PorNome);
std::optional<Despesa> findClassificacao(Connection& db, std::int64_t codigo);
// The whole name compared without regard to case; "%" and "_" are literal.
std::optional<Despesa> findClassificacaoByName(Connection& db, const QString& nome);

// Every classification by its name, found as findClassificacaoByName finds
// it (the first by code of the names alike), from one read of the plan: for
// a caller that looks up a name for each of many lines.
class ClassificacoesPorNome {
public:
    explicit ClassificacoesPorNome(Connection& db);
    std::optional<Despesa> find(const QString& nome) const;

private:
    QHash<QString, Despesa> porNome_;
};

// The classification other than `excetoCodigo` that bears a name (whole
// name, case and leading or trailing blanks ignored, "%" and "_" literal):
// names are unique over both sides, and "Padaria " would look like
// "Padaria" in every list.
std::optional<Despesa> outraComNome(Connection& db, const QString& nome, std::int64_t excetoCodigo = 0);

// The catch-all classification of bulk reclassification: the first (by code)
// whose name is like "%não%class%".
std::optional<Despesa> classificacaoNaoClassificada(Connection& db);

// The distinct groups the classifications of a side use, in name order.
QStringList gruposUsados(Connection& db, const QString& despesaTipo);

// Name of every classification by code, for filling grids without one
// lookup per row.
QHash<std::int64_t, QString> nomesPorCodigo(Connection& db);

// Adds a row; the database assigns the code, which is returned.
std::int64_t addClassificacao(Connection& db, const Despesa& d);
// Writes name, keyword and group of the row with d.codigo; the side of a
// classification never changes.
void updateClassificacao(Connection& db, const Despesa& d);

} // namespace data
