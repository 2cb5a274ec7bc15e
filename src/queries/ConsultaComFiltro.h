#pragma once
// The two queries that list the entries of one side whose description holds
// a text, optionally within a due-date period and a value range, narrowed by
// a list the user builds: of groups (frmConsConta) or of classifications
// (frmConsultaEstr). Both windows have the same fields, SQL and grid; each
// says what its lists offer and which entries its filter lets through.
#include "platform/Form.h"
#include "queries/GradeConsulta.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

namespace queries {

class ConsultaComFiltro : public platform::Form {
    Q_OBJECT
public:
    // Controls, frame "Filtros".
    QLineEdit* txtConsulta = nullptr;  // "Referente"
    QLabel* lblDataI = nullptr;        // "Data Inicial"
    QLabel* lblDataF = nullptr;        // "Data Final"
    platform::MaskEdBox* txtDataVen1 = nullptr;
    platform::MaskEdBox* txtDataVen2 = nullptr;
    QLineEdit* txtValor1 = nullptr;    // "Do Valor"
    QLineEdit* txtValor2 = nullptr;    // "Até o Valor"
    QComboBox* txtTipo = nullptr;      // "Saída", "Entrada"
    QListWidget* lstListaClass = nullptr;   // what the side offers
    QListWidget* lstFiltroClass = nullptr;  // what the user chose; empty: no filter
    QPushButton* cmdConsulta = nullptr;
    QPushButton* cmdApagar = nullptr;
    // Frame "Lançamentos".
    platform::FlexGrid* flxConsulta = nullptr;  // layout A
    QLabel* txtLanc = nullptr;
    QLabel* txtSaldo2 = nullptr;

    // Handlers.
    void cmdConsulta_Click();
    void txtTipo_Click();
    void lstListaClass_DblClick();
    void lstFiltroClass_KeyDown(int key);
    void lblDataI_Click();
    void lblDataF_Click();
    void txtDataVen1_KeyDown(int key);
    void txtDataVen2_KeyDown(int key);
    void flxConsulta_DblClick();
    void cmdApagar_Click();

    GradeConsulta& grade() { return *grade_; }

protected:
    struct Desenho {
        QString rotuloLista;        // "Contas" / "Classificações"
        QString rotuloFiltro;       // "Filtro de Contas" / "Filtro de Classificações"
        bool rotuloTotal = false;   // "Total R$" beside the total
        bool mesComPagina = false;  // Page Up / Page Down step the dates by a month
    };
    ConsultaComFiltro(const Desenho& desenho, QWidget* parent);

    // The items the list offers for a side (Despesas coding: "2" Saída).
    virtual QStringList itensDoLado(const QString& despesaTipo) = 0;
    // Which entries the chosen filter items let through; called once per
    // query with at least one item.
    virtual std::function<bool(const data::LinhaConsulta&)> filtro(const QStringList& itens) = 0;

    // The window's load: the first side, which fills the list.
    void selecionarPrimeiroLado();

private:
    Desenho desenho_;
    GradeConsulta* grade_ = nullptr;
};

} // namespace queries
