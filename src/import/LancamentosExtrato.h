#pragma once
// The account's side of the statement import: the posting of statement lines
// as entries. The import window only shows what this returns and asks the
// user; the entries listed beside the statement are the query windows'
// period read (data::lerPeriodo) and their balances the account's
// (data::openingBalance).
#include "data/Lancamentos.h"
#include "import/Extrato.h"

#include <functional>
#include <optional>
#include <vector>

namespace importacao {

// One row of the statement grid as its six columns show it, as text.
struct LinhaGrade {
    QString data;           // "DD/MM/YYYY"
    QString historico;
    QString valor;          // "#,##0.00", signed
    QString classificacao;  // a classification name, or kImportadoDoExtrato
    QString ordem;          // "A".."Z"
    QString conta;          // the classification's group
};

// A statement line as the grid shows it: the date "DD/MM/YYYY", the amount
// "#,##0.00".
LinhaGrade linhaDaGrade(const LinhaExtrato& linha);

// Lines whose history has three characters or fewer are passed over.
bool linhaIgnorada(const LinhaGrade& linha);

// The side a line is posted on: "2" (Entrada) above zero, "1" otherwise.
QString tipoDaLinha(data::Centavos valor);

// What the posting did.
struct ResultadoLancamento {
    bool gravado = false;    // committed (also when every line was passed over)
    QString erro;            // why nothing was written, when !gravado
    int lancados = 0;        // entries added
    int ultimaLinha = -1;    // index of the last line posted, -1 for none
    // After a posting that passed lines over for their short history: the
    // message naming each of them (date, history, value) and why; empty
    // when none was.
    QString aviso;
};

// Asked before posting a line whose due date and value match an entry of
// the account or a line of the same statement kept before it; the text
// names both. True posts the line, false passes it over.
using PerguntaDuplicado = std::function<bool(const QString& pergunta)>;

// Posts every line that is not passed over, in one transaction: all of them
// or, when the file fails midway, none. Before anything is written each line
// to post is checked (a real date, a number, a classification of the line's
// side); the first that fails stops the posting with its reason in erro.
// Every question is asked before the transaction, so the file is not held
// while the user answers; the transaction then posts nothing when another
// program changed meanwhile what the answers were given on.
ResultadoLancamento lancarLinhas(data::Connection& db, const std::vector<LinhaGrade>& linhas,
                                 const PerguntaDuplicado& perguntar);

} // namespace importacao
