#include "queries/frmConsultaEstr.h"

#include "data/Conexao.h"
#include "data/Despesas.h"
#include "platform/formats.h"

#include <QSet>

const QString frmConsultaEstr::kNomeConsulta = QStringLiteral("Consulta Estruturada2");

frmConsultaEstr::frmConsultaEstr(QWidget* parent)
    : ConsultaComFiltro({QStringLiteral("Classificações"), QStringLiteral("Filtro de Classificações"), false, false},
                        parent)
{
    setWindowTitle(QStringLiteral("Consulta Estruturada"));
}

void frmConsultaEstr::Form_Load()
{
    NomeConsultaAtiva = kNomeConsulta;
    selecionarPrimeiroLado();
    setWindowTitle(CaptionAtivo(QStringLiteral("Consulta Estruturada")));
}

std::int64_t frmConsultaEstr::codigoDoItem(const QString& item)
{
    const qsizetype fim = item.indexOf(QStringLiteral(" - "));
    bool ok = false;
    const std::int64_t codigo = (fim < 0 ? item : item.left(fim)).trimmed().toLongLong(&ok);
    return ok ? codigo : -1;
}

QStringList frmConsultaEstr::itensDoLado(const QString& despesaTipo)
{
    QStringList itens;
    for (const data::Despesa& d : data::classificacoes(ConexaoBanco, despesaTipo, data::OrdemDespesas::PorCodigo))
        itens << platform::formatNumber(qint64(d.codigo), QStringLiteral("000")) + QStringLiteral(" - ") + d.nome;
    return itens;
}

std::function<bool(const data::LinhaConsulta&)> frmConsultaEstr::filtro(const QStringList& itens)
{
    QSet<std::int64_t> codigos;
    for (const QString& item : itens)
        codigos.insert(codigoDoItem(item));
    // An entry whose code is empty or not a number matches no item.
    return [codigos](const data::LinhaConsulta& l) {
        bool ok = false;
        const std::int64_t codigo = l.despesa.trimmed().toLongLong(&ok);
        return ok && codigos.contains(codigo);
    };
}
