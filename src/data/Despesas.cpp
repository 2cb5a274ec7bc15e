#include "data/Despesas.h"

#include "data/Like.h"

#include <QHash>

namespace data {
namespace {
const QString kColumns = QStringLiteral("Codigo, Despesa, Tipo, PreClass, Conta");

Despesa read(const Statement& s)
{
    Despesa d;
    d.codigo = s.integer(0);
    d.nome = s.text(1);
    d.tipo = s.text(2);
    d.preClass = s.text(3);
    d.conta = s.text(4);
    return d;
}
} // namespace

QString despesaTipoOf(const QString& lancamentoTipo)
{
    return lancamentoTipo == QLatin1String("1") ? kDespesaSaida : kDespesaEntrada;
}

const QStringList& gruposDoLado(const QString& despesaTipo)
{
    static const QStringList saidas = {
        QStringLiteral("Alimentação"), QStringLiteral("Transporte"), QStringLiteral("Saúde"),
        QStringLiteral("Moradia"), QStringLiteral("Educação"), QStringLiteral("Bancos / Financiamentos"),
        QStringLiteral("Comunicação"), QStringLiteral("Gastos Pessoais"), QStringLiteral("Lazer"),
        QStringLiteral("Seguros"), QStringLiteral("Impostos / Taxas / Contribuições"),
        QStringLiteral("Investimentos"), QStringLiteral("Outras Saídas")};
    static const QStringList entradas = {QStringLiteral("Patrimoniais"), QStringLiteral("Trabalho"),
                                         QStringLiteral("Outras Entradas")};
    return despesaTipo == kDespesaSaida ? saidas : entradas;
}

std::vector<Despesa> classificacoes(Connection& db, const QString& despesaTipo)
{
    std::vector<Despesa> out;
    if (despesaTipo.isEmpty()) {
        Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Despesas ORDER BY Despesa"));
        while (s.next())
            out.push_back(read(s));
    } else {
        Statement s(db, QStringLiteral("SELECT ") + kColumns +
                            QStringLiteral(" FROM Despesas WHERE Tipo = ? ORDER BY Despesa"),
                    despesaTipo);
        while (s.next())
            out.push_back(read(s));
    }
    return out;
}

std::optional<Despesa> classificacaoPorCodigo(Connection& db, std::int64_t codigo)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Despesas WHERE Codigo = ?"), codigo);
    if (!s.next())
        return std::nullopt;
    return read(s);
}

std::optional<Despesa> classificacaoPorNome(Connection& db, const QString& nome)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns +
                        QStringLiteral(" FROM Despesas WHERE Despesa LIKE ? ESCAPE '\\' ORDER BY Codigo LIMIT 1"),
                likeLiteral(nome));
    if (!s.next())
        return std::nullopt;
    return read(s);
}

QHash<std::int64_t, QString> nomesPorCodigo(Connection& db)
{
    QHash<std::int64_t, QString> out;
    Statement s(db, QStringLiteral("SELECT Codigo, Despesa FROM Despesas"));
    while (s.next())
        out.insert(s.integer(0), s.text(1));
    return out;
}

std::int64_t addClassificacao(Connection& db, const Despesa& d)
{
    Statement s(db, QStringLiteral("INSERT INTO Despesas (Despesa, Tipo, PreClass, Conta) VALUES (?, ?, ?, ?)"),
                d.nome, d.tipo, d.preClass.isNull() ? QStringLiteral("") : d.preClass, d.conta);
    s.exec();
    return db.lastInsertId();
}

void updateClassificacao(Connection& db, const Despesa& d)
{
    Statement s(db, QStringLiteral("UPDATE Despesas SET Despesa = ?, PreClass = ?, Conta = ? WHERE Codigo = ?"),
                d.nome, d.preClass.isNull() ? QStringLiteral("") : d.preClass, d.conta, d.codigo);
    s.exec();
}

} // namespace data
