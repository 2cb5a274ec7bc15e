#pragma once
// Pre-classification of statement lines by the keywords of the plan of
// classifications (Despesas.PreClass), and the catch-all that puts the lines
// left unclassified into "Saída Não Classificada" or "Entrada Não
// Classificada". Works on plain lines; nothing is written to the database.
#include "data/Database.h"
#include "data/Despesas.h"
#include "import/Extrato.h"

#include <vector>

namespace importacao {

// The side of a line: a line of value zero or below is outgoing (Despesas
// Tipo "2"), above zero incoming ("1"). The posting uses the same rule, so a
// line classified here can always be posted.
QString ladoDoValor(data::Centavos valor);

// Gives each line the classification whose keyword its history contains
// (letter case aside), looking only at the classifications of the line's
// side. `plano` must be in table order (data::OrdemDespesas::PorCodigo):
// when several keywords match, the last matching classification wins. An
// empty keyword never matches. A matched line gets the classification's
// name, code and group; its Ordem letter is not touched. A line that matches
// nothing keeps what it holds.
void preClassificar(std::vector<LinhaExtrato>& linhas, const std::vector<data::Despesa>& plano);
// The same, reading the plan from the account file; a database error leaves
// the lines unclassified and is not reported.
void preClassificar(std::vector<LinhaExtrato>& linhas, data::Connection& db);

// The classifications of a plan that have a keyword, by side, in the plan's
// order: what a line is matched against, taken once for a whole statement.
struct PalavrasDoPlano {
    std::vector<data::Despesa> saidas;
    std::vector<data::Despesa> entradas;
};
PalavrasDoPlano palavrasDoPlano(const std::vector<data::Despesa>& plano);

// The classification of one line by keyword, or nothing when no keyword of
// its side matches; for the window that works cell by cell.
std::optional<data::Despesa> classificacaoPorPalavra(const QString& historico, data::Centavos valor,
                                                     const PalavrasDoPlano& palavras);

// The catch-all of one line by its side: name "Saída Não Classificada" and
// group "Outras Saídas" for zero or below, "Entrada Não Classificada" and
// "Outras Entradas" above zero.
struct NaoClassificado {
    QString classificacao;
    QString conta;
};
NaoClassificado naoClassificadoDoValor(data::Centavos valor);

// Every line still holding kImportadoDoExtrato gets its catch-all
// classification, Ordem "A" and the catch-all group; its code stays 0 (the
// posting finds it by name). Lines already classified are not touched.
void colocarNaoClassificado(std::vector<LinhaExtrato>& linhas);

// True when at least one line still holds kImportadoDoExtrato.
bool existeNaoClassificado(const std::vector<LinhaExtrato>& linhas);

} // namespace importacao
