#include "queries/frmConsConta.h"

#include "data/Conexao.h"
#include "data/Despesas.h"

#include <QHash>
#include <QSet>

const QString frmConsConta::kNomeConsulta = QStringLiteral("Consulta Conta");

frmConsConta::frmConsConta(QWidget* parent)
    : ConsultaComFiltro({QStringLiteral("Contas"), QStringLiteral("Filtro de Contas"), true, true}, parent)
{
    setWindowTitle(QStringLiteral("Consulta por Conta e Sub-contas"));
}

void frmConsConta::Form_Load()
{
    NomeConsultaAtiva = kNomeConsulta;
    selecionarPrimeiroLado();
}

QStringList frmConsConta::itensDoLado(const QString& despesaTipo)
{
    return data::gruposUsados(ConexaoBanco, despesaTipo);
}

std::function<bool(const data::LinhaConsulta&)> frmConsConta::filtro(const QStringList& itens)
{
    // The group of every classification, read once per query. An entry
    // whose code is empty or not in the plan belongs to no group.
    QHash<std::int64_t, QString> grupos;
    for (const data::Despesa& d : data::classificacoes(ConexaoBanco, QString(), data::OrdemDespesas::PorCodigo))
        grupos.insert(d.codigo, d.conta);
    const QSet<QString> escolhidos(itens.begin(), itens.end());
    return [grupos = std::move(grupos), escolhidos](const data::LinhaConsulta& l) {
        bool ok = false;
        const std::int64_t codigo = l.despesa.texto().trimmed().toLongLong(&ok);
        if (!ok)
            return false;
        const auto it = grupos.constFind(codigo);
        return it != grupos.constEnd() && escolhidos.contains(*it);
    };
}
