#pragma once
// The monthly budget summary: one month's outgoing entries totalled per
// account group, its incoming entries per classification, both totals and
// the balance. It only reads the account file; the Delete key takes rows out
// of the grids for totals without them.
#include "budget/MesOrcamento.h"
#include "data/Money.h"

#include <vector>

class QKeyEvent;
class QLabel;

namespace platform {
class FlexGrid;
}

// The month header (txtData, imgDiminui, imgAumenta) and its handlers come
// from JanelaDoMes.
class frmOrcamento : public budget::JanelaDoMes {
    Q_OBJECT
public:
    explicit frmOrcamento(QWidget* parent = nullptr);

    // Controls.
    platform::FlexGrid* flxSaidas = nullptr;    // group | value
    platform::FlexGrid* flxEntradas = nullptr;  // classification | value
    QLabel* txtTotalSaidas = nullptr;
    QLabel* txtTotalEntradas = nullptr;
    QLabel* txtSaldo = nullptr;

    // Handlers.
    void flxSaidas_KeyDown(QKeyEvent* event);
    void flxEntradas_KeyDown(QKeyEvent* event);

    // Rebuilds both grids, the totals and the balance for the shown month.
    void Atualiza() override;
    // Orders the exits grid by value, the largest outgoing group first, and
    // colours its rows.
    void Ordem();

protected:
    // This window leaves Escape alone; its close box closes it.
    void escapePressed() override {}

private:
    // A grid row: what it names and its amount.
    struct LinhaDoResumo {
        QString nome;
        data::Centavos valor = 0;
    };
    class Linhas;
    // Shows a grid's rows in one batch, coloured by parity or not.
    static void mostrarLinhas(platform::FlexGrid* grade, const std::vector<LinhaDoResumo>& linhas, bool colorir);
    void tirarLinha(platform::FlexGrid* grade, const QString& cabecalho, std::vector<LinhaDoResumo>& linhas,
                    data::Centavos& total, QLabel* rotulo);

    // Each grid's rows in grid order and their totals, kept as numbers: the
    // Delete key and the order work on these, never on the texts shown.
    std::vector<LinhaDoResumo> saidas_;
    std::vector<LinhaDoResumo> entradas_;
    data::Centavos totalSaidas_ = 0;
    data::Centavos totalEntradas_ = 0;
};
