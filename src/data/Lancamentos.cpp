#include "data/Lancamentos.h"

#include "data/Like.h"

namespace data {

bool isForecast(const QString& referente)
{
    return likeMatch(referente, QStringLiteral("%previsão%"));
}

Centavos signedValue(const QString& tipo, Centavos typed)
{
    return tipo == kTipoSaida ? -typed : typed;
}

Lancamento readLancamento(const Statement& s, int c)
{
    Lancamento l;
    l.numLan = s.integer(c + 0);
    l.dataVen = s.date(c + 1);
    l.referente = s.text(c + 2);
    l.valor = s.integer(c + 3);
    l.dataLan = s.date(c + 4);
    l.tipo = s.text(c + 5);
    l.despesa = s.text(c + 6);
    l.filtro = s.text(c + 7);
    l.conta = s.text(c + 8);
    return l;
}

std::int64_t addLancamento(Connection& db, const Lancamento& l)
{
    Statement s(db,
                QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, DataLan, Tipo, Despesa, Filtro, Conta)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                l.dataVen, l.referente, l.valor, l.dataLan, l.tipo, l.despesa, l.filtro, l.conta);
    s.exec();
    return db.lastInsertId();
}

std::optional<Lancamento> findLancamento(Connection& db, std::int64_t numLan)
{
    Statement s(db, QStringLiteral("SELECT ") + kLancamentoColumns + QStringLiteral(" FROM Lancamentos WHERE NumLan = ?"),
                numLan);
    if (!s.next())
        return std::nullopt;
    return readLancamento(s);
}

bool updateLancamento(Connection& db, const Lancamento& l)
{
    Statement s(db,
                QStringLiteral("UPDATE Lancamentos SET DataVen = ?, Referente = ?, Valor = ?, DataLan = ?, Tipo = ?,"
                               " Despesa = ?, Filtro = ?, Conta = ? WHERE NumLan = ?"),
                l.dataVen, l.referente, l.valor, l.dataLan, l.tipo, l.despesa, l.filtro, l.conta, l.numLan);
    s.exec();
    return db.changes() > 0;
}

bool deleteLancamento(Connection& db, std::int64_t numLan)
{
    Statement s(db, QStringLiteral("DELETE FROM Lancamentos WHERE NumLan = ?"), numLan);
    s.exec();
    return db.changes() > 0;
}

Centavos balanceUntil(Connection& db, const QDate& day)
{
    Statement s(db, QStringLiteral("SELECT COALESCE(SUM(Valor), 0) FROM Lancamentos WHERE DataVen <= ?"), day);
    return s.next() ? s.integer(0) : 0;
}

PlanoPeriodo planoDoPeriodo(Connection& db, const QString& coluna, const QDate& inicio, const QDate& fim)
{
    PlanoPeriodo p;
    const QString nome = coluna == QLatin1String("DataLan") ? QStringLiteral("DataLan") : QStringLiteral("DataVen");
    // The count reads the column's index alone.
    p.linhas = scalar(db, QStringLiteral("SELECT COUNT(*) FROM Lancamentos WHERE ") + nome +
                              QStringLiteral(" BETWEEN ? AND ?"),
                      inicio, fim)
                   .toLongLong();
    // Rows reached through the index cost about a page read each, a pass
    // over the table every page; a page holds more rows the larger it is,
    // and a row read from a larger page is the more likely already cached.
    // Measured: the pass wins past about one row for every 2 KB of file
    // (half a row a page of 1024 bytes, two a page of 4096).
    const qint64 paginas = scalar(db, QStringLiteral("PRAGMA page_count")).toLongLong();
    const qint64 tamanho = scalar(db, QStringLiteral("PRAGMA page_size")).toLongLong();
    p.varrer = p.linhas > paginas * tamanho / 2048;
    p.coluna = p.varrer ? QLatin1Char('+') + nome : nome;
    return p;
}

} // namespace data
