#include "data/PrevistoRealizado.h"

#include "data/Lancamentos.h"

namespace data {

std::vector<Previsto> previstos(Connection& db)
{
    // The table has no key of its own: the row id is the order of adding.
    Statement s(db, QStringLiteral("SELECT P.Despesa, D.Despesa, P.Valor FROM PrevistoRealizado P"
                                   " LEFT JOIN Despesas D ON P.Despesa = D.Codigo ORDER BY P.rowid"));
    std::vector<Previsto> out;
    while (s.next()) {
        Previsto p;
        p.despesa = s.integer(0);
        p.nome = s.isNull(1) ? QString() : s.text(1);
        p.valor = s.isNull(2) ? 0 : s.integer(2);
        out.push_back(p);
    }
    return out;
}

std::optional<Centavos> previstoDe(Connection& db, std::int64_t codigo)
{
    Statement s(db, QStringLiteral("SELECT Valor FROM PrevistoRealizado WHERE Despesa = ? ORDER BY rowid LIMIT 1"),
                codigo);
    if (!s.next())
        return std::nullopt;
    return s.isNull(0) ? Centavos(0) : s.integer(0);
}

bool isWatched(Connection& db, std::int64_t codigo) { return previstoDe(db, codigo).has_value(); }

// Single statements, no transaction of their own: a caller may hold one.
void savePrevisto(Connection& db, std::int64_t codigo, Centavos valor)
{
    Statement(db, QStringLiteral("UPDATE PrevistoRealizado SET Valor = ? WHERE Despesa = ?"), valor, codigo).exec();
    if (db.changes() == 0)
        Statement(db, QStringLiteral("INSERT INTO PrevistoRealizado (Despesa, Valor) VALUES (?, ?)"), codigo, valor)
            .exec();
}

bool addPrevistoIfMissing(Connection& db, std::int64_t codigo, Centavos valor)
{
    Statement(db, QStringLiteral("INSERT INTO PrevistoRealizado (Despesa, Valor) SELECT ?, ?"
                                 " WHERE NOT EXISTS (SELECT 1 FROM PrevistoRealizado WHERE Despesa = ?)"),
              codigo, valor, codigo)
        .exec();
    return db.changes() > 0;
}

void deletePrevisto(Connection& db, std::int64_t codigo)
{
    Statement(db, QStringLiteral("DELETE FROM PrevistoRealizado WHERE Despesa = ?"), codigo).exec();
}

QHash<QString, Centavos> somasDoPeriodo(Connection& db, const QDate& inicio, const QDate& fim)
{
    // Through the due-date index or in one pass, as the file says: a code's
    // own index would walk every year of its entries.
    const PlanoPeriodo plano = planoDoPeriodo(db, QStringLiteral("DataVen"), inicio, fim);
    Statement s(db, QStringLiteral("SELECT Despesa, soma(Valor) FROM Lancamentos WHERE ") + plano.condicao +
                        QStringLiteral(" GROUP BY +Despesa"),
                inicio, fim);
    QHash<QString, Centavos> out;
    while (s.next())
        if (!s.isNull(0) && !s.isNull(1))
            out.insert(s.text(0), s.integer(1));
    return out;
}

} // namespace data
