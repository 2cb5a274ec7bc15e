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

// The Despesas side of a Lancamentos side, and back.
QString despesaTipoOf(const QString& lancamentoTipo);

// The sixteen groups of a side (Despesas coding), in the windows' order.
const QStringList& gruposDoLado(const QString& despesaTipo);

// Every classification, or those of one side, ordered by name.
std::vector<Despesa> classificacoes(Connection& db, const QString& despesaTipo = QString());
std::optional<Despesa> classificacaoPorCodigo(Connection& db, std::int64_t codigo);
// The whole name compared without regard to case; "%" and "_" are literal.
std::optional<Despesa> classificacaoPorNome(Connection& db, const QString& nome);

// Name of every classification by code, for filling grids without one
// lookup per row.
QHash<std::int64_t, QString> nomesPorCodigo(Connection& db);

std::int64_t addClassificacao(Connection& db, const Despesa& d);
void updateClassificacao(Connection& db, const Despesa& d);

} // namespace data
