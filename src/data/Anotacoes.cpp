#include "data/Anotacoes.h"

namespace data {
namespace {
const QString kColumns =
    QStringLiteral("Codigo, Titulo, Texto, DataAlter, DataLemb, Lembrar, QtdeDias, LembrarSempre");

Anotacao read(const Statement& s)
{
    Anotacao a;
    a.codigo = s.integer(0);
    a.titulo = s.text(1);
    a.texto = s.text(2);
    a.dataAlter = s.date(3);
    a.dataLemb = s.date(4);
    a.lembrar = s.text(5);
    if (!s.isNull(6))
        a.qtdeDias = int(s.integer(6));
    a.lembrarSempre = s.text(7);
    return a;
}
} // namespace

bool lembreteDevido(const Anotacao& a, const QDate& today)
{
    if (a.lembrar != QLatin1String("S") || !a.dataLemb.isValid())
        return false;
    if (a.qtdeDias && a.dataLemb.addDays(-*a.qtdeDias) <= today && today <= a.dataLemb)
        return true;
    return a.lembrarSempre == QLatin1String("S") && a.dataLemb <= today;
}

std::vector<Anotacao> anotacoesPorDataLemb(Connection& db)
{
    // NULL sorts first; the number keeps notes of one day in the order they
    // were added.
    std::vector<Anotacao> out;
    Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Anotacoes ORDER BY DataLemb, Codigo"));
    while (s.next())
        out.push_back(read(s));
    return out;
}

std::vector<Anotacao> anotacoesDoAno(Connection& db, int ano)
{
    std::vector<Anotacao> out;
    Statement s(db, QStringLiteral("SELECT ") + kColumns +
                        QStringLiteral(" FROM Anotacoes WHERE DataLemb BETWEEN ? AND ? ORDER BY DataLemb, Codigo"),
                QDate(ano, 1, 1), QDate(ano, 12, 31));
    while (s.next())
        out.push_back(read(s));
    return out;
}

std::optional<Anotacao> findAnotacao(Connection& db, std::int64_t codigo)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Anotacoes WHERE Codigo = ?"), codigo);
    if (!s.next())
        return std::nullopt;
    return read(s);
}

std::vector<Anotacao> lembretesDevidos(Connection& db, const QDate& today)
{
    std::vector<Anotacao> out;
    Statement s(db, QStringLiteral("SELECT ") + kColumns +
                        QStringLiteral(" FROM Anotacoes WHERE Lembrar = 'S' ORDER BY Codigo"));
    while (s.next()) {
        Anotacao a = read(s);
        if (lembreteDevido(a, today))
            out.push_back(std::move(a));
    }
    return out;
}

std::int64_t addAnotacao(Connection& db, const Anotacao& a)
{
    Statement s(db,
                QStringLiteral("INSERT INTO Anotacoes (Titulo, Texto, DataAlter, DataLemb, Lembrar, QtdeDias, LembrarSempre)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?)"),
                a.titulo, a.texto, a.dataAlter, a.dataLemb, a.lembrar,
                a.qtdeDias ? QVariant(*a.qtdeDias) : QVariant(), a.lembrarSempre);
    s.exec();
    return db.lastInsertId();
}

void updateAnotacao(Connection& db, const Anotacao& a)
{
    Statement s(db,
                QStringLiteral("UPDATE Anotacoes SET Titulo = ?, Texto = ?, DataAlter = ?, DataLemb = ?, Lembrar = ?,"
                               " QtdeDias = ?, LembrarSempre = ? WHERE Codigo = ?"),
                a.titulo, a.texto, a.dataAlter, a.dataLemb, a.lembrar,
                a.qtdeDias ? QVariant(*a.qtdeDias) : QVariant(), a.lembrarSempre, a.codigo);
    s.exec();
}

void deleteAnotacao(Connection& db, std::int64_t codigo)
{
    Statement(db, QStringLiteral("DELETE FROM Anotacoes WHERE Codigo = ?"), codigo).exec();
}

} // namespace data
