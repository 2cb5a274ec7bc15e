#include "data/Schema.h"

namespace data {

void createSchema(Connection& db)
{
    // Column orders matter: readers of "Select *" take some columns by
    // position. Amounts are whole centavos; dates are "YYYY-MM-DD" text.
    db.exec(QStringLiteral(
        "CREATE TABLE Lancamentos ("
        " NumLan INTEGER PRIMARY KEY AUTOINCREMENT,"
        " DataVen TEXT,"
        " Referente TEXT,"
        " Valor INTEGER NOT NULL DEFAULT 0,"
        " DataLan TEXT,"
        " Tipo TEXT,"
        " Despesa TEXT,"
        " Filtro TEXT,"
        " Conta TEXT);"
        // Value beside the due date: balances up to a day read the index alone.
        "CREATE INDEX Lancamentos_DataVen ON Lancamentos(DataVen, Valor);"
        "CREATE INDEX Lancamentos_DataLan ON Lancamentos(DataLan);"
        "CREATE INDEX Lancamentos_Despesa ON Lancamentos(Despesa);"
        "CREATE TABLE Despesas ("
        " Codigo INTEGER PRIMARY KEY AUTOINCREMENT,"
        " Despesa TEXT,"
        " Tipo TEXT,"
        " PreClass TEXT DEFAULT '',"
        " Conta TEXT);"
        "CREATE TABLE Anotacoes ("
        " Codigo INTEGER PRIMARY KEY AUTOINCREMENT,"
        " Titulo TEXT,"
        " Texto TEXT,"
        " DataAlter TEXT,"
        " DataLemb TEXT,"
        " Lembrar TEXT,"
        " QtdeDias INTEGER,"
        " LembrarSempre TEXT);"
        "CREATE TABLE Senha ("
        " Senha TEXT,"
        " UltimoAcesso TEXT,"
        " Backup TEXT,"
        " Drive TEXT);"
        "CREATE TABLE Orcamento ("
        " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
        " Data TEXT,"
        " Referente TEXT,"
        " Despesa INTEGER,"
        " Ocorre TEXT,"
        " Valor INTEGER,"
        " \"Total Ano\" INTEGER);"
        "CREATE TABLE PrevistoRealizado ("
        " Despesa INTEGER,"
        " Valor INTEGER);"));
}

} // namespace data
