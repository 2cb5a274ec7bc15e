#pragma once
// The plan of classifications: lists the classifications of one side,
// filters them by name, adds and alters them, and shows the whole plan as a
// tree of sides, groups and classifications. The only writer of Despesas.
#include "platform/FlexGrid.h"
#include "platform/Form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmClassificacao : public platform::Form {
    Q_OBJECT
public:
    explicit frmClassificacao(QWidget* parent = nullptr);

    QTreeWidget* trwContas = nullptr;
    QComboBox* txtCodDesp = nullptr;  // "Saída", "Entrada"
    QLineEdit* txtConsulta = nullptr;
    platform::FlexGrid* flxDespesas = nullptr;
    QLabel* txtTotalDespesas = nullptr;
    // The frame's caption is the mode: "Inclusão" or "Altera".
    QGroupBox* fraAltAltera = nullptr;
    QLineEdit* txtAltDesp = nullptr;
    QLineEdit* txtPreClass = nullptr;
    QComboBox* cbxContas = nullptr;
    QPushButton* cmdAltAltera = nullptr;  // "&Incluir" or "&Alterar"
    // Not shown: the code being altered ("000000") and the listed side's
    // code ("2" Saída, "1" Entrada).
    QLabel* txtCodigo = nullptr;
    QLabel* txtTipo = nullptr;

    void Form_Load() override;

    // Handlers.
    void txtCodDesp_Click();
    void txtConsulta_Change();
    void flxDespesas_DblClick();
    void cmdAltAltera_Click();

    // Procedures.
    void PreencherPlano();

    // Tree nodes carry a key in Qt::UserRole: the fixed keys of the roots and
    // groups ("Saidas", "alimentação", ...) and, for a classification, "#"
    // and its code, which no fixed key can equal.
    static QString chaveDoNo(const QTreeWidgetItem* no);
    QTreeWidgetItem* noPorChave(const QString& chave) const;

private:
    void listarLado(const QString& filtro);
    void incluir();
    void alterar();
    void modoInclusao();
};
