#pragma once
// Monthly instalments: one entry turned into n entries, one a month. The
// posting window and the entry editor both generate them; nothing here
// touches a window, so every rule can be tested over a plain connection.
#include "data/Lancamentos.h"

#include <QDate>
#include <QString>
#include <vector>

namespace entries {

inline constexpr int kMinParcelas = 1;
inline constexpr int kMaxParcelas = 100;

struct Parcelamento {
    QString tipo;               // data::kTipoSaida ("1") or data::kTipoEntrada ("2")
    data::Centavos total = 0;   // the total of all instalments, as typed (no sign)
    QString despesa;            // classification code
    QString conta;              // the classification's group
    QString filtro;             // the "Ordem" letter
    QDate dataLan;              // posting date, the same on every instalment
    QDate primeiroVencimento;   // due date of instalment 1
    QString referente;          // description; " Parc. i/n" is appended
    int quantidade = 0;         // n
};

// The answer to "Digite o número de parcelas,": its leading number (blanks
// skipped, "." as the decimal point, reading stops at a comma or a letter,
// nothing readable is 0) rounded to a whole number, halves to even. "2.5"
// gives 2, "3.5" gives 4, "2,5" gives 2, "" and a word give 0.
int lerQuantidadeParcelas(const QString& resposta);

// 1 to 100.
bool quantidadeValida(int n);

// True when the last of n monthly instalments from the first due date still
// falls on or before 31/12/9999, the last day an entry can be due.
bool parcelasNoCalendario(const QDate& primeiroVencimento, int n);

// The message for a count whose last instalment would fall after it.
QString textoParcelasForaDoCalendario(const QDate& primeiroVencimento, int n);

// The value of one instalment: total / n in centavos, rounded half to even
// (100,00 in 3 gives 33,33); no instalment absorbs the difference.
data::Centavos valorParcela(data::Centavos total, int n);

// "Serão geradas n parcelas de R$ x,xx" CR "Confirma ?", x the unrounded
// quotient formatted "#,##0.00", without sign.
QString textoConfirmacao(data::Centavos total, int n);

// The rows of a generation, instalment 1 first: due dates step by calendar
// months from the first (a day the month lacks becomes its last day, and a
// short month does not shift the later ones), Valor the instalment value
// negated for a Saída, Referente ending " Parc. i/n". Empty when the count
// is not valid or the instalments leave the calendar.
std::vector<data::Lancamento> montarParcelas(const Parcelamento& p);

// Writes montarParcelas(p) in one transaction, the account's total checked
// under its lock: all of them, or, when the total would leave the range or
// any write fails, none (the data::DbError reaches the caller after the
// rollback).
void gravarParcelas(data::Connection& db, const Parcelamento& p);

} // namespace entries
