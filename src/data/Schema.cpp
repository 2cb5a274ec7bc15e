#include "data/Schema.h"

#include <QRegularExpression>

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

const std::vector<SchemaObject>& programSchema()
{
    static const std::vector<SchemaObject> objetos = [] {
        std::vector<SchemaObject> out;
        // Made in memory by the creator's own code, so the list cannot drift
        // from what the creator writes.
        Connection db;
        db.open(QStringLiteral(":memory:"), Keying(), true);
        createSchema(db);
        Statement s(db, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid"));
        while (s.next())
            out.push_back({s.text(0), s.text(1), s.text(2), s.text(3)});
        // Files made before the due-date index covered the amounts.
        out.push_back({QStringLiteral("index"), QStringLiteral("Lancamentos_DataVen"), QStringLiteral("Lancamentos"),
                       QStringLiteral("CREATE INDEX Lancamentos_DataVen ON Lancamentos(DataVen)")});
        return out;
    }();
    return objetos;
}

bool sameDefinition(const QString& a, const QString& b)
{
    // Blanks around punctuation do not matter either: "(DataVen)" and
    // "( DataVen )" say the same.
    static const QRegularExpression blancos(QStringLiteral("\\s*([(),;])\\s*"));
    auto normal = [](QString t) { return t.simplified().replace(blancos, QStringLiteral("\\1")); };
    return normal(a) == normal(b);
}

} // namespace data
