#pragma once
// Query by classification list: the query by account group with the filter
// list made of classifications ("007 - Luz") instead of groups.
#include "queries/ConsultaComFiltro.h"

class frmConsultaEstr : public queries::ConsultaComFiltro {
    Q_OBJECT
public:
    // The name this window writes into NomeConsultaAtiva: the entry editor
    // refreshes it after a save, and no other window answers to it.
    static const QString kNomeConsulta;

    explicit frmConsultaEstr(QWidget* parent = nullptr);

    void Form_Load() override;

    // The code of a list item: the whole number before " - " (codes above
    // 999 keep all their digits); -1 when the item holds none.
    static std::int64_t codigoDoItem(const QString& item);

protected:
    QStringList itensDoLado(const QString& despesaTipo) override;
    std::function<bool(const data::LinhaConsulta&)> filtro(const QStringList& itens) override;
};
