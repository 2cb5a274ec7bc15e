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

namespace {
// The ledger's total of absolute amounts is read once for the connection and
// then carried by each row its writers change (Connection::keptTotal). It
// stays known while nothing else can have changed the ledger: the file's
// data version tells when another connection or program wrote; the
// engine's counts tell of a row this connection changed another way, of a
// table emptied in one step and of a transaction rolled back. Any of them,
// or a value that cannot be carried exactly, has it read again.
bool totalAindaVale(Connection& db, const Connection::KeptTotal& k, std::int64_t versao)
{
    return k.known && k.dataVersion == versao && k.ledgerRows == db.ledgerRowsChanged() &&
           k.untold == db.rowsChangedUntold() && k.rollbacks == db.rollbacks();
}

// Nothing when the total passes what Centavos hold (or an amount has no
// absolute value in them).
std::optional<Centavos> totalAbsoluto(Connection& db)
{
    Connection::KeptTotal& k = db.keptTotal();
    const std::int64_t versao = dataVersion(db);
    if (totalAindaVale(db, k, versao))
        return k.total;
    k.known = false;
    Centavos total = 0;
    try {
        Statement s(db, QStringLiteral("SELECT soma(ABS(Valor)) FROM Lancamentos"));
        if (s.next())
            total = s.integer(0);
    } catch (const DbError& e) {
        // A file another tool filled past the range (or with an amount whose
        // absolute value no int64 holds) takes nothing more.
        if (e.cause() == DbCause::Overflow)
            return std::nullopt;
        throw;
    }
    k = {true, total, versao, db.ledgerRowsChanged(), db.rowsChangedUntold(), db.rollbacks()};
    return total;
}

// The value of a row before a writer changes it, when the kept total needs
// it; nothing when it is unknown or no whole number.
std::optional<Centavos> valorAntes(Connection& db, std::int64_t numLan)
{
    if (!db.keptTotal().known)
        return std::nullopt;
    const QVariant v = scalar(db, QStringLiteral("SELECT Valor FROM Lancamentos WHERE NumLan = ?"), numLan);
    if (v.typeId() != QMetaType::LongLong)
        return std::nullopt;
    return v.toLongLong();
}

// After one row was written: its value added and the one it replaced
// taken away, when the total was known just before (the row is the one
// change since). Otherwise the total is read again at the next check.
void carregarTotal(Connection& db, std::optional<Centavos> mais, std::optional<Centavos> menos)
{
    Connection::KeptTotal& k = db.keptTotal();
    if (!k.known)
        return;
    k.known = false;
    if (!mais || !menos || k.ledgerRows + 1 != db.ledgerRowsChanged() || k.untold != db.rowsChangedUntold() ||
        k.rollbacks != db.rollbacks())
        return;
    auto absoluto = [](Centavos v) { return v < 0 ? -__int128(v) : __int128(v); };
    const __int128 total = __int128(k.total) + absoluto(*mais) - absoluto(*menos);
    if (total < 0 || total > __int128(INT64_MAX))
        return;
    k.total = std::int64_t(total);
    k.ledgerRows += 1;
    k.known = true;
}
} // namespace

std::int64_t addLancamento(Connection& db, const Lancamento& l)
{
    Statement s(db,
                QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, DataLan, Tipo, Despesa, Filtro, Conta)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                l.dataVen, l.referente, l.valor, l.dataLan, l.tipo, l.despesa, l.filtro, l.conta);
    s.exec();
    carregarTotal(db, l.valor, Centavos(0));
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
    const std::optional<Centavos> antes = valorAntes(db, l.numLan);
    Statement s(db,
                QStringLiteral("UPDATE Lancamentos SET DataVen = ?, Referente = ?, Valor = ?, DataLan = ?, Tipo = ?,"
                               " Despesa = ?, Filtro = ?, Conta = ? WHERE NumLan = ?"),
                l.dataVen, l.referente, l.valor, l.dataLan, l.tipo, l.despesa, l.filtro, l.conta, l.numLan);
    s.exec();
    if (db.changes() == 0)
        return false;
    carregarTotal(db, l.valor, antes);
    return true;
}

bool deleteLancamento(Connection& db, std::int64_t numLan)
{
    const std::optional<Centavos> antes = valorAntes(db, numLan);
    Statement s(db, QStringLiteral("DELETE FROM Lancamentos WHERE NumLan = ?"), numLan);
    s.exec();
    if (db.changes() == 0)
        return false;
    carregarTotal(db, Centavos(0), antes);
    return true;
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
    Statement s(db,
                QStringLiteral("SELECT COALESCE(soma(Valor), 0) FROM Lancamentos WHERE ") +
                    balanceCondition(QStringLiteral("DataVen < ?")),
                day);
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
    // A period that holds every dated entry is read in one pass, without
    // the walk over the whole index that counting it would cost; the
    // highest entry number stands for its rows. Apart, each of the two ends
    // is one step down the index.
    const QDate primeira = fromSqlDate(scalar(db, QStringLiteral("SELECT MIN(") + nome +
                                                      QStringLiteral(") FROM Lancamentos")).toString());
    if (primeira.isValid() && primeira >= inicio) {
        const QDate ultima = fromSqlDate(scalar(db, QStringLiteral("SELECT MAX(") + nome +
                                                        QStringLiteral(") FROM Lancamentos")).toString());
        if (ultima.isValid() && ultima <= fim) {
            // A number past what the file can hold (a row takes more than
            // 16 bytes) does not count.
            const Arquivo a = medirArquivo(db);
            const qint64 maior = scalar(db, QStringLiteral("SELECT MAX(NumLan) FROM Lancamentos")).toLongLong();
            p.linhas = std::clamp<qint64>(maior, 1, std::max<qint64>(1, a.paginas * a.tamanho / 16));
            p.varrer = true;
            p.condicao = condicaoDoPeriodo(nome, true);
            return p;
        }
    }
    const LeituraPorIndice l = leituraPorIndice(db, condicaoDoPeriodo(nome, false), {inicio, fim});
    p.linhas = l.linhas;
    p.varrer = l.passagem < l.custo;
    p.condicao = condicaoDoPeriodo(nome, p.varrer);
    return p;
}

QString condicaoDoPeriodo(const QString& coluna, bool varrer)
{
    return (varrer ? QStringLiteral("+") : QString()) + coluna + QStringLiteral(" BETWEEN ? AND ?");
}

namespace {
bool cabe(const std::optional<Centavos>& total, __int128 added, __int128 removed)
{
    return total && __int128(*total) - removed + added <= __int128(INT64_MAX);
}
} // namespace

bool totalFitsWith(Connection& db, __int128 added, __int128 removed)
{
    return cabe(totalAbsoluto(db), added, removed);
}

void checkTotalFits(Connection& db, __int128 added, __int128 removed)
{
    // Read once: a total past the range is not kept, and reading it again
    // would sum the whole table a second time.
    const std::optional<Centavos> total = totalAbsoluto(db);
    if (!total)
        throw DbError(kSomaForaDoLimite, DbCause::StoredPastLimit);
    if (!cabe(total, added, removed))
        throw DbError(kSomaForaDoLimite, DbCause::Overflow);
}

namespace {
__int128 absoluto(Centavos v) { return v < 0 ? -__int128(v) : __int128(v); }
} // namespace

void addLancamentos(Connection& db, const std::vector<Lancamento>& novos)
{
    __int128 soma = 0;
    for (const Lancamento& l : novos)
        soma += absoluto(l.valor);
    Transaction t(db);
    checkTotalFits(db, soma);
    for (const Lancamento& l : novos)
        addLancamento(db, l);
    t.commit();
}

bool updateLancamentoWithinLimit(Connection& db, const Lancamento& l)
{
    Transaction t(db);
    const std::optional<Lancamento> guardado = findLancamento(db, l.numLan);
    if (!guardado)
        return false;
    checkTotalFits(db, absoluto(l.valor), absoluto(guardado->valor));
    if (!updateLancamento(db, l))
        return false;
    t.commit();
    return true;
}

} // namespace data
