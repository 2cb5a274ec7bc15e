#include "data/Lancamentos.h"

#include "data/Despesas.h"
#include "data/Like.h"

#include <algorithm>
#include <cmath>

namespace data {

bool isForecast(const QString& referente)
{
    // A quick look first, folding case as like() does: the full test runs
    // only on the few descriptions that may match.
    return referente.contains(QLatin1String("previs"), Qt::CaseInsensitive) &&
           likeMatch(referente, QStringLiteral("%previsão%"));
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

std::optional<QDate> firstDueDate(Connection& db)
{
    const QVariant v = scalar(db, QStringLiteral("SELECT MIN(DataVen) FROM Lancamentos"));
    if (v.isNull())
        return std::nullopt;
    const QDate d = fromSqlDate(v.toString());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

Centavos balanceBefore(Connection& db, const QDate& day)
{
    // The index on (DataVen, Valor) answers this without reading the table.
    Statement s(db, QStringLiteral("SELECT COALESCE(soma(Valor), 0) FROM Lancamentos WHERE DataVen < ?"), day);
    return s.next() ? s.integer(0) : 0;
}

Centavos balanceUntil(Connection& db, const QDate& day) { return balanceBefore(db, day.addDays(1)); }

Opening openingBalance(Connection& db, const QDate& start)
{
    Opening o{start, 0};
    const std::optional<QDate> first = firstDueDate(db);
    if (!first)
        return o;
    if (*first > start)
        o.start = *first;
    o.balance = balanceBefore(db, o.start);
    return o;
}

std::optional<std::int64_t> codeAsNumber(const QString& despesa)
{
    const QString texto = despesa.trimmed();
    bool ok = false;
    const qint64 inteiro = texto.toLongLong(&ok);
    if (ok)
        return inteiro;
    QString decimal = texto;
    decimal.replace(QLatin1Char(','), QLatin1Char('.'));
    const double v = decimal.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v != std::floor(v) || std::fabs(v) > 9e15)
        return std::nullopt;
    return std::int64_t(v);
}

bool shownInBlue(const QString& referente, const QString& despesa)
{
    // Only a code with a 9 can read as 94 or 95: most rows skip the parse.
    if (despesa.contains(QLatin1Char('9'))) {
        const auto codigo = codeAsNumber(despesa);
        if (codigo && codigoReservado(*codigo))
            return true;
    }
    return isForecast(referente);
}

namespace {
// Measured on this program's files (microseconds): a pass over the table
// costs about 1.25 ns a byte of the file, plus 0.3 a row it keeps; a row
// through an index 0.6, plus 2.5 each time the next row is on another
// page. Entries made in date order sit together, and an index wins far
// past the share of the table where scattered rows would not.
constexpr double kPassagemPorByte = 0.00125;
constexpr double kLinhaDaPassagem = 0.3;
constexpr double kLinhaDoIndice = 0.6;
constexpr double kSaltoDoIndice = 2.5;

struct Arquivo {
    qint64 paginas = 0;
    qint64 tamanho = 0;
    qint64 porPagina = 1;  // about how many entries a page holds
};

Arquivo medirArquivo(Connection& db)
{
    Arquivo a;
    a.paginas = scalar(db, QStringLiteral("PRAGMA page_count")).toLongLong();
    a.tamanho = scalar(db, QStringLiteral("PRAGMA page_size")).toLongLong();
    // Entry numbers grow as entries are made, so the highest one stands for
    // the size of the table, and about that many over the file's pages for
    // the rows a page holds.
    const qint64 entradas =
        std::max<qint64>(1, scalar(db, QStringLiteral("SELECT MAX(NumLan) FROM Lancamentos")).toLongLong());
    a.porPagina = std::max<qint64>(1, entradas / std::max<qint64>(1, a.paginas));
    return a;
}

} // namespace

LeituraPorIndice leituraPorIndice(Connection& db, const QString& condicao, const QVariantList& valores)
{
    // One walk over the index alone: the rows of the condition, and how
    // often the next of them lies on another page of the table.
    const Arquivo a = medirArquivo(db);
    LeituraPorIndice l;
    Statement s(db, QStringLiteral("SELECT COUNT(*), saltos(rowid, ?) FROM Lancamentos WHERE ") + condicao);
    s.bind(1, a.porPagina);
    for (int i = 0; i < int(valores.size()); ++i)
        s.bind(i + 2, valores[i]);
    qint64 saltos = 0;
    if (s.next()) {
        l.linhas = s.integer(0);
        saltos = s.integer(1);
    }
    l.custo = double(l.linhas) * kLinhaDoIndice + double(saltos) * kSaltoDoIndice;
    l.passagem = double(a.paginas) * double(a.tamanho) * kPassagemPorByte + double(l.linhas) * kLinhaDaPassagem;
    return l;
}

PlanoPeriodo planoDoPeriodo(Connection& db, const QString& coluna, const QDate& inicio, const QDate& fim)
{
    PlanoPeriodo p;
    const QString nome = coluna == QLatin1String("DataLan") ? QStringLiteral("DataLan") : QStringLiteral("DataVen");
    const LeituraPorIndice l = leituraPorIndice(db, nome + QStringLiteral(" BETWEEN ? AND ?"), {inicio, fim});
    p.linhas = l.linhas;
    p.varrer = l.passagem < l.custo;
    p.coluna = p.varrer ? QLatin1Char('+') + nome : nome;
    return p;
}

bool totalFitsWith(Connection& db, __int128 added, __int128 removed)
{
    __int128 total = 0;
    try {
        Statement s(db, QStringLiteral("SELECT soma(ABS(Valor)) FROM Lancamentos"));
        if (s.next())
            total = s.integer(0);
    } catch (const DbError& e) {
        // A file another tool filled past the range (or with an amount whose
        // absolute value no int64 holds) takes nothing more.
        if (e.cause() == DbCause::Overflow)
            return false;
        throw;
    }
    return total - removed + added <= __int128(INT64_MAX);
}

} // namespace data
