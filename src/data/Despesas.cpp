#include "data/Despesas.h"

#include "data/Collation.h"
#include "data/Like.h"

#include <QHash>

#include <algorithm>

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

// Names as a reader expects them; equal names keep the code order they
// were read in.
void ordenar(std::vector<Despesa>& lista, OrdemDespesas ordem)
{
    if (ordem != OrdemDespesas::PorNome)
        return;
    std::stable_sort(lista.begin(), lista.end(),
                     [](const Despesa& a, const Despesa& b) { return compareText(a.nome, b.nome) < 0; });
}
} // namespace

bool codigoReservado(std::int64_t codigo) { return codigo == 94 || codigo == 95; }

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

std::vector<Despesa> classificacoes(Connection& db, const QString& despesaTipo, OrdemDespesas ordem)
{
    if (despesaTipo.isEmpty()) {
        std::vector<Despesa> out;
        Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Despesas ORDER BY Codigo"));
        while (s.next())
            out.push_back(read(s));
        ordenar(out, ordem);
        return out;
    }
    return classificacoesContendo(db, despesaTipo, QString(), ordem);
}

std::vector<Despesa> classificacoesContendo(Connection& db, const QString& despesaTipo, const QString& trecho,
                                            OrdemDespesas ordem)
{
    std::vector<Despesa> out;
    if (trecho.isEmpty()) {
        Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Despesas WHERE Tipo = ? ORDER BY Codigo"),
                    despesaTipo);
        while (s.next())
            out.push_back(read(s));
        ordenar(out, ordem);
        return out;
    }
    Statement s(db, QStringLiteral("SELECT ") + kColumns +
                        QStringLiteral(" FROM Despesas WHERE Tipo = ? AND Despesa LIKE ? ESCAPE '\\' ORDER BY Codigo"),
                despesaTipo, QStringLiteral("%") + likeLiteral(trecho) + QStringLiteral("%"));
    while (s.next())
        out.push_back(read(s));
    ordenar(out, ordem);
    return out;
}

std::optional<Despesa> findClassificacao(Connection& db, std::int64_t codigo)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Despesas WHERE Codigo = ?"), codigo);
    if (!s.next())
        return std::nullopt;
    return read(s);
}

std::optional<Despesa> findClassificacaoByName(Connection& db, const QString& nome)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns +
                        QStringLiteral(" FROM Despesas WHERE Despesa LIKE ? ESCAPE '\\' ORDER BY Codigo LIMIT 1"),
                likeLiteral(nome));
    if (!s.next())
        return std::nullopt;
    return read(s);
}

ClassificacoesPorNome::ClassificacoesPorNome(Connection& db)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Despesas ORDER BY Codigo"));
    while (s.next()) {
        if (s.isNull(1))
            continue;
        // Read by code: the first of the names alike stays.
        const QString chave = likeFolded(s.text(1));
        if (!porNome_.contains(chave))
            porNome_.insert(chave, read(s));
    }
}

std::optional<Despesa> ClassificacoesPorNome::find(const QString& nome) const
{
    const auto d = porNome_.constFind(likeFolded(nome));
    if (d == porNome_.cend())
        return std::nullopt;
    return *d;
}

std::optional<Despesa> outraComNome(Connection& db, const QString& nome, std::int64_t excetoCodigo)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns +
                        QStringLiteral(" FROM Despesas WHERE trim(Despesa) LIKE trim(?) ESCAPE '\\' AND Codigo <> ?"
                                       " ORDER BY Codigo LIMIT 1"),
                likeLiteral(nome), excetoCodigo);
    if (!s.next())
        return std::nullopt;
    return read(s);
}

std::optional<Despesa> classificacaoNaoClassificada(Connection& db)
{
    Statement s(db, QStringLiteral("SELECT ") + kColumns +
                        QStringLiteral(" FROM Despesas WHERE Despesa LIKE '%não%class%' ORDER BY Codigo LIMIT 1"));
    if (!s.next())
        return std::nullopt;
    return read(s);
}

QStringList gruposUsados(Connection& db, const QString& despesaTipo)
{
    QStringList out;
    Statement s(db, QStringLiteral("SELECT DISTINCT Conta FROM Despesas WHERE Tipo = ? ORDER BY Conta") + kCollate, despesaTipo);
    while (s.next())
        out << s.text(0);
    return out;
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
