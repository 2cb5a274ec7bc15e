#include "data/Orcamento.h"

namespace data {
namespace {

struct Recorrencia {
    const char* texto;
    int ocorrencias;
    int meses;
};

const Recorrencia kRecorrencias[] = {
    {"Todo Mês", 12, 1},       {"Uma vez no ano", 1, 0},  {"A cada 2 meses", 6, 2},
    {"A cada 3 meses", 4, 3},  {"A cada 4 meses", 3, 4},  {"A cada 6 meses", 2, 6},
};

const Recorrencia* recorrencia(const QString& ocorre)
{
    for (const auto& r : kRecorrencias)
        if (ocorre == QString::fromUtf8(r.texto))
            return &r;
    return nullptr;
}

const QString kColunasLinha = QStringLiteral(
    "SELECT O.ID, O.Data, O.Referente, O.Despesa, O.Ocorre, O.Valor, O.\"Total Ano\", D.Despesa, D.Conta"
    " FROM Orcamento O JOIN Despesas D ON O.Despesa = D.Codigo WHERE D.Tipo = '2'");

LinhaOrcamento lerLinha(const Statement& s)
{
    LinhaOrcamento l;
    l.id = s.integer(0);
    l.data = s.date(1);
    l.referente = s.text(2);
    l.despesa = s.integer(3);
    l.ocorre = s.text(4);
    l.valor = s.integer(5);
    if (!s.isNull(6))
        l.totalAno = s.integer(6);
    l.nomeDespesa = s.text(7);
    l.conta = s.text(8);
    return l;
}

} // namespace

const QStringList& recorrencias()
{
    static const QStringList lista = [] {
        QStringList l;
        for (const auto& r : kRecorrencias)
            l << QString::fromUtf8(r.texto);
        return l;
    }();
    return lista;
}

int ocorrenciasPorAno(const QString& ocorre)
{
    const Recorrencia* r = recorrencia(ocorre);
    return r ? r->ocorrencias : 0;
}

int mesesEntreOcorrencias(const QString& ocorre)
{
    const Recorrencia* r = recorrencia(ocorre);
    return r ? r->meses : 0;
}

std::vector<LinhaOrcamento> linhasOrcamento(Connection& db, OrdemLinhas ordem)
{
    // Equal values keep table order, so the grid does not shuffle between
    // refreshes.
    const QString ordenacao = ordem == OrdemLinhas::MaiorValorPrimeiro ? QStringLiteral(" ORDER BY O.Valor DESC, O.ID")
                                                                       : QStringLiteral(" ORDER BY O.ID");
    std::vector<LinhaOrcamento> out;
    Statement s(db, kColunasLinha + ordenacao);
    while (s.next())
        out.push_back(lerLinha(s));
    return out;
}

bool despesaNoOrcamento(Connection& db, std::int64_t codigo)
{
    return scalar(db, QStringLiteral("SELECT 1 FROM Orcamento WHERE Despesa = ? LIMIT 1"), codigo).isValid();
}

std::int64_t saveLinhaOrcamento(Connection& db, const LinhaOrcamento& linha)
{
    QVariant total;  // NULL: a recurrence not among the six has no yearly value
    if (const int n = ocorrenciasPorAno(linha.ocorre); n > 0) {
        Centavos t = 0;
        if (__builtin_mul_overflow(linha.valor, Centavos(n), &t))
            throw DbError(QStringLiteral("Valor grande demais para o orçamento."));
        total = QVariant::fromValue<qlonglong>(t);
    }
    const QVariant existente =
        scalar(db, QStringLiteral("SELECT ID FROM Orcamento WHERE Despesa = ? ORDER BY ID LIMIT 1"), linha.despesa);
    if (existente.isValid()) {
        const std::int64_t id = existente.toLongLong();
        Statement(db,
                  QStringLiteral("UPDATE Orcamento SET Data = ?, Referente = ?, Despesa = ?, Ocorre = ?, Valor = ?,"
                                 " \"Total Ano\" = ? WHERE ID = ?"),
                  linha.data, linha.referente, linha.despesa, linha.ocorre, linha.valor, total, id)
            .exec();
        return id;
    }
    Statement(db,
              QStringLiteral("INSERT INTO Orcamento (Data, Referente, Despesa, Ocorre, Valor, \"Total Ano\")"
                             " VALUES (?, ?, ?, ?, ?, ?)"),
              linha.data, linha.referente, linha.despesa, linha.ocorre, linha.valor, total)
        .exec();
    return db.lastInsertId();
}

bool deleteLinhaOrcamento(Connection& db, std::int64_t id)
{
    Statement(db, QStringLiteral("DELETE FROM Orcamento WHERE ID = ?"), id).exec();
    return db.changes() > 0;
}

std::optional<std::int64_t> despesaDaLinha(Connection& db, std::int64_t id)
{
    Statement s(db, QStringLiteral("SELECT Despesa FROM Orcamento WHERE ID = ?"), id);
    if (!s.next() || s.isNull(0))
        return std::nullopt;
    return s.integer(0);
}

std::optional<Centavos> valorFixo(Connection& db, std::int64_t codigo)
{
    Statement s(db, QStringLiteral("SELECT Valor FROM Orcamento WHERE Despesa = ? ORDER BY ID LIMIT 1"), codigo);
    if (!s.next())
        return std::nullopt;
    return s.integer(0);
}

bool updateValorFixo(Connection& db, std::int64_t codigo, Centavos valor)
{
    Statement(db, QStringLiteral("UPDATE Orcamento SET Valor = ? WHERE Despesa = ?"), valor, codigo).exec();
    return db.changes() > 0;
}

Centavos totalEntradasOrcamento(Connection& db)
{
    return scalar(db, QStringLiteral("SELECT COALESCE(soma(Valor), 0) FROM Orcamento WHERE Despesa IN (?, ?, ?)"),
                  kOrcamentoAdiantamento, kOrcamentoSalario, kOrcamentoOutrasEntradas)
        .toLongLong();
}

Centavos totalSaidasOrcamento(Connection& db)
{
    return scalar(db, QStringLiteral("SELECT COALESCE(soma(\"Total Ano\"), 0) FROM Orcamento")).toLongLong();
}

} // namespace data
