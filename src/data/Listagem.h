#pragma once
// The listings of entries: the row every listing reads, the reading of a
// period or of a selection, with the choice between the date index and one
// pass over the table made from the file itself (planoDoPeriodo), and the
// reader's order made in memory. The query grids, the cash-flow register
// and the import read their entries here.
#include "data/Database.h"
#include "data/Money.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <optional>
#include <utility>
#include <vector>

namespace platform {
class LongWork;
} // namespace platform

namespace data {

// The order a window uses while no other was chosen.
inline const QString kOrdemPadrao = QStringLiteral(" order by DataVen, Referente");

// The ORDER BY text a window appends to its selection: its ClausulaOrdem,
// first set to the default when empty. Only clauses made of the entry
// columns (each optionally "desc"/"asc") are used; anything else gives the
// default, so the clause can never carry other SQL.
QString ordemDaConsulta(QString& clausulaOrdem);
// The same clause ready to append to a selection: a leading blank (the
// ordering dialog writes "Order By DataVen" without one) and the entry
// number last, so that entries tying on the chosen fields keep one order.
QString ordemComDesempate(QString& clausulaOrdem);

// A text of the listed entries, kept once for the open account: every row
// that repeats a description, a code, a group letter or a day holds the
// same four bytes, so a listing of a million entries costs its rows, not a
// text a cell. Equal handles are equal texts; a missing one (NULL) is the
// null QString. The texts go when the account closes (forgetListedTexts);
// a row read before then is void, and reading a text of it stops the
// program rather than show another account's text. Listings are read on
// the windows' thread only, which every use checks.
class TextoListado {
public:
    TextoListado() = default;
    TextoListado(const QString& texto);  // NOLINT: rows are filled from texts

    const QString& texto() const;
    operator const QString&() const { return texto(); }  // NOLINT
    bool isNull() const { return id_ == 0; }
    quint32 id() const { return id_; }

    friend bool operator==(TextoListado a, TextoListado b) { return a.id_ == b.id_; }
    friend bool operator!=(TextoListado a, TextoListado b) { return a.id_ != b.id_; }
    // A text compared with a handle is not added to the account's texts.
    friend bool operator==(TextoListado a, const QString& b) { return a.texto() == b; }
    friend bool operator!=(TextoListado a, const QString& b) { return a.texto() != b; }

private:
    quint32 id_ = 0;
};

// Lets go of every listed text: the account that listed them closes, and
// no window keeps a row of it.
void forgetListedTexts();

// One listed entry, its dates in the "DD/MM/YYYY" the grid shows.
struct LinhaConsulta {
    std::int64_t numLan = 0;
    Centavos valor = 0;
    int vencimento = 0;  // the due date as yyyymmdd; 0 without one
    TextoListado dataVen;
    TextoListado dataLan;
    TextoListado referente;
    TextoListado despesa;  // the classification code as stored
    TextoListado filtro;

    int anoMes() const { return vencimento / 100; }
};

// The columns lerLinhas() expects, in this order.
inline const QString kColunasConsulta =
    QStringLiteral("NumLan, DataVen, Referente, Valor, DataLan, Despesa, Filtro");

// Reads every row of a statement that selects kColunasConsulta.
// previstas reserves room for that many rows; espera, when given, is
// stepped at each row (the wait cursor and the paints of a long read).
std::vector<LinhaConsulta> lerLinhas(Statement& s, size_t previstas = 0,
                                     platform::LongWork* espera = nullptr);

// The entries whose date column ("DataVen" or "DataLan") lies in a period,
// both days included, narrowed by a fixed condition of the program's own
// (" AND Valor < 0"; never typed text), ordered by due date, then
// description, then (as ordenarPorVencimento) classification code, then
// number.
std::vector<LinhaConsulta> lerPeriodo(Connection& db, const QString& colunaData, const QDate& inicio,
                                      const QDate& fim, const QString& condicao = QString(),
                                      bool desempatePorDespesa = false);

// Orders rows by due date, then description, then number, as
// " order by DataVen, Referente" does (a missing description, NULL, before
// every text, the empty one included); with desempatePorDespesa the
// classification code (as text, a missing one first) comes before the
// number.
void ordenarPorVencimento(std::vector<LinhaConsulta>& linhas, bool desempatePorDespesa = false);

// Texts as the grid shows them.
QString textoNumLan(std::int64_t numLan);  // "000123"
QString textoData(const QString& sqlDate);  // "YYYY-MM-DD" to "DD/MM/YYYY"; "" otherwise
// The entry number written into a buffer of the caller's; valid while the
// buffer is.
using BufferNumero = char[40];
QLatin1StringView escreverNumLan(std::int64_t numLan, BufferNumero& buf);

// A selection of entries: a condition with "?" for every value, and the
// values in order. What the user typed travels in parametros, never in the
// SQL text.
struct Selecao {
    QString condicao;  // "Valor < ? AND Tipo = ?"; empty selects every entry
    QVariantList parametros;
    // The due-date period of vencimentoEntre(), which lerSelecao weighs to
    // read through the index or scan the table, and where its condition
    // stands in condicao.
    std::optional<std::pair<QDate, QDate>> vencimento;
    qsizetype posicaoDoVencimento = -1;

    // Appends a condition joined by AND, with its values.
    void e(const QString& outra, const QVariantList& valores = {})
    {
        condicao += (condicao.isEmpty() ? QString() : QStringLiteral(" AND ")) + outra;
        parametros << valores;
    }
    // The entries due in a period, both days included.
    void vencimentoEntre(const QDate& inicio, const QDate& fim);
};

// The entries of a selection (kColunasConsulta), in the order of an
// ORDER BY text of the program's own (see ordemDaConsulta).
std::vector<LinhaConsulta> lerSelecao(Connection& db, const Selecao& selecao, const QString& ordem);


} // namespace data
