#include "data/Aggregates.h"

#include "data/Database.h"

#include <algorithm>

#include <sqlcipher/sqlite3.h>

namespace data {

namespace {
// saltos(x, passo): over the rows in the order read, how many times x moves
// more than passo away from the row before. Read along an index, with
// x = rowid, it tells how far apart in the table the index's rows lie.
struct Saltos {  // the engine hands it over zeroed
    bool visto;
    sqlite3_int64 anterior;
    sqlite3_int64 saltos;
};

void saltosPasso(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* s = static_cast<Saltos*>(sqlite3_aggregate_context(ctx, sizeof(Saltos)));
    if (!s)
        return;
    const sqlite3_int64 x = sqlite3_value_int64(argv[0]);
    const sqlite3_int64 passo = sqlite3_value_int64(argv[1]);
    if (s->visto) {
        const sqlite3_uint64 d = x > s->anterior ? sqlite3_uint64(x) - sqlite3_uint64(s->anterior)
                                                 : sqlite3_uint64(s->anterior) - sqlite3_uint64(x);
        if (d > sqlite3_uint64(std::max<sqlite3_int64>(passo, 0)))
            ++s->saltos;
    }
    s->visto = true;
    s->anterior = x;
}

void saltosFim(sqlite3_context* ctx)
{
    auto* s = static_cast<Saltos*>(sqlite3_aggregate_context(ctx, 0));
    sqlite3_result_int64(ctx, s ? s->saltos : 0);
}

// soma(x): soma(x) whose running total cannot overflow. Whole numbers add up
// in 128 bits, which no count of rows a file can hold fills; a total that an
// int64 does not hold is reported as kSomaForaDoLimite instead of the
// engine's overflow. Other numbers add up as doubles, as SUM does.
struct Soma {  // zeroed by the engine
    __int128 inteiros;
    double reais;
    bool algum;
    bool aproximada;
};

void somaPasso(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* s = static_cast<Soma*>(sqlite3_aggregate_context(ctx, sizeof(Soma)));
    if (!s)
        return;
    switch (sqlite3_value_numeric_type(argv[0])) {
    case SQLITE_NULL: return;
    case SQLITE_INTEGER: s->inteiros += sqlite3_value_int64(argv[0]); break;
    default:
        s->reais += sqlite3_value_double(argv[0]);
        s->aproximada = true;
        break;
    }
    s->algum = true;
}

void somaFim(sqlite3_context* ctx)
{
    auto* s = static_cast<Soma*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || !s->algum) {
        sqlite3_result_null(ctx);
    } else if (s->aproximada) {
        sqlite3_result_double(ctx, double(s->inteiros) + s->reais);
    } else if (s->inteiros > INT64_MAX || s->inteiros < INT64_MIN) {
        const QByteArray texto = kSomaForaDoLimite.toUtf8();
        sqlite3_result_error(ctx, texto.constData(), int(texto.size()));
    } else {
        sqlite3_result_int64(ctx, sqlite3_int64(s->inteiros));
    }
}

} // namespace

void registerSoma(sqlite3* db)
{
    sqlite3_create_function(db, "soma", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, somaPasso, somaFim);
}

void registerSaltos(sqlite3* db)
{
    sqlite3_create_function(db, "saltos", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, saltosPasso,
                            saltosFim);
}

} // namespace data
