#pragma once
// The charts window: four kinds of bar chart over the entries of the active
// account (monthly totals of one classification, up to three
// classifications compared over a year, monthly entries against exits, exits
// by account group). It only reads the account file.
#include "cashflow/Graficos.h"
#include "platform/Form.h"

#include <array>

class QBarCategoryAxis;
class QChart;
class QChartView;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QValueAxis;
class QWidget;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

class frmGraficos : public platform::Form {
    Q_OBJECT
public:
    explicit frmGraficos(QWidget* parent = nullptr);
    ~frmGraficos() override;

    // "Tipos de Demonstração"
    QRadioButton* optDespesa = nullptr;      // "Projeção do lançamento"
    QRadioButton* optCompara = nullptr;      // "Comparação de lançamentos"
    QRadioButton* optEntraSai = nullptr;     // "Entradas e Saídas mensais"
    QRadioButton* optGrupoContas = nullptr;  // "Grupo de Contas"

    // "Tipos de Seleção"
    QLabel* lblTipo = nullptr;
    QComboBox* txtTipo = nullptr;  // "Saída", "Entrada"
    QLabel* lblDespesa1 = nullptr;
    QLabel* lblDespesa2 = nullptr;
    QLabel* lblDespesa3 = nullptr;
    QComboBox* txtDespesa1 = nullptr;  // empty item, then the side's classifications
    QComboBox* txtDespesa2 = nullptr;
    QComboBox* txtDespesa3 = nullptr;
    QComboBox* txtCodDesp1 = nullptr;  // never shown: the codes, parallel to the names
    QComboBox* txtCodDesp2 = nullptr;
    QComboBox* txtCodDesp3 = nullptr;
    QLabel* lblDataVen1 = nullptr;  // "Data Inicial"
    QLabel* lblDataVen2 = nullptr;  // "Data Final"
    platform::MaskEdBox* txtDataVen1 = nullptr;
    platform::MaskEdBox* txtDataVen2 = nullptr;
    QLabel* lblAno = nullptr;
    QLineEdit* txtAno = nullptr;
    QLabel* txtAnoAvan = nullptr;  // ">>"
    QLabel* txtAnoRet = nullptr;   // "<<"
    QPushButton* cmdGerarGrafico = nullptr;

    QChartView* chtGrafico = nullptr;
    platform::FlexGrid* flxDespesas = nullptr;  // exits by group
    QLabel* lblPerc = nullptr;
    QLabel* lblTotal = nullptr;
    QLabel* Label1 = nullptr;  // "Total"

    void Form_Load() override;

    // Handlers.
    // Escape closes the window; Enter moves on to the next field.
    void Form_KeyDown(int KeyCode);
    void optDespesa_Click();
    void optCompara_Click();
    void optEntraSai_Click();
    void optGrupoContas_Click();
    void txtTipo_Click();
    void txtDespesa1_Click();
    void txtDespesa2_Click();
    void txtDespesa3_Click();
    void lblDataVen1_Click();
    void lblDataVen2_Click();
    void txtDataVen1_KeyDown(int key);
    void txtDataVen2_KeyDown(int key);
    // False drops the key.
    bool txtAno_KeyPress(const QString& text);
    void txtAnoAvan_Click();
    void txtAnoRet_Click();
    void cmdGerarGrafico_Click();

    // Procedures.
    void ProjLancamentos();
    void ComparacaoLan();
    void EntradaSaida();
    void PorGrupoConta();
    void GraficoGrande();
    void GraficoPequeno();
    void LimpaGrafico();

    // The table the chart shows now, and the chart's width in twips
    // (14415 wide, 10935 narrow).
    int larguraGraficoTwips() const { return larguraTwips_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void mostrarPainel(bool tipo, bool datas, bool despesa1, bool despesas23, bool ano, bool ocultarTotais);
    // Each kind keeps a chart of its own, and the reset chart its own: a
    // chart drawn again takes its new values in place, where one kind drawn
    // over another would lay out every label and bar anew.
    enum Grafico { kLimpo, kProjecao, kComparacao, kEntradasSaidas, kGrupos, kGraficos };
    void desenhar(Grafico qual, const cashflow::TabelaGrafico& tabela);
    void mostrarGrafico(Grafico qual);
    void ajustarLargura(int twips);
    void ajustarRotulos(const QStringList& categorias);
    // The pixels the category axis spans at the chart's width.
    int areaDoEixo() const;
    void somarAno(int passo);
    static void escolherCodigo(QComboBox* nomes, QComboBox* codigos);
    cashflow::Periodo periodo() const;
    bool datasValidas() const;

    struct Partes {
        QChart* grafico = nullptr;
        QBarCategoryAxis* eixoX = nullptr;
        QValueAxis* eixoY = nullptr;
    };
    std::array<Partes, kGraficos> graficos_{};
    // The chart in sight and its axes.
    QChart* grafico_ = nullptr;
    QBarCategoryAxis* eixoX_ = nullptr;
    QValueAxis* eixoY_ = nullptr;
    QWidget* painelGrupos_ = nullptr;
    QScrollArea* rolagem_ = nullptr;
    cashflow::TabelaGrafico tabela_;
    int larguraTwips_ = 14415;
    bool barrasEstreitas_ = false;
};
