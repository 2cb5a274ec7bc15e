#pragma once
// Query by account group: the entries of one side whose description holds a
// text, optionally within a period and a value range, narrowed to the
// groups (Despesas.Conta) the user puts into the filter list.
#include "queries/ConsultaComFiltro.h"

class frmConsConta : public queries::ConsultaComFiltro {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmConsConta(QWidget* parent = nullptr);

    void Form_Load() override;

protected:
    QStringList itensDoLado(const QString& despesaTipo) override;
    std::function<bool(const data::LinhaConsulta&)> filtro(const QStringList& itens) override;
};
