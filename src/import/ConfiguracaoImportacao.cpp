#include "import/ConfiguracaoImportacao.h"

namespace importacao {
namespace {

std::optional<QString> lerLinha(data::Connection& db, int despesa)
{
    data::Statement s(db, QStringLiteral("SELECT Referente FROM Orcamento WHERE Despesa = ? ORDER BY ID"), despesa);
    if (!s.next())
        return std::nullopt;
    return s.isNull(0) ? QString() : s.text(0);
}

void gravarLinha(data::Connection& db, int despesa, const QString& texto)
{
    data::Statement(db, QStringLiteral("UPDATE Orcamento SET Referente = ? WHERE Despesa = ?"), texto, despesa).exec();
}

} // namespace

std::optional<QString> lerModeloExtrato(data::Connection& db) { return lerLinha(db, kLinhaModeloExtrato); }

std::optional<QString> lerPastaExtratos(data::Connection& db) { return lerLinha(db, kLinhaPastaExtratos); }

void gravarModeloExtrato(data::Connection& db, const QString& modelo)
{
    gravarLinha(db, kLinhaModeloExtrato, modelo);
}

void gravarPastaExtratos(data::Connection& db, const QString& pasta) { gravarLinha(db, kLinhaPastaExtratos, pasta); }

} // namespace importacao
