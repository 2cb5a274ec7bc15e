#pragma once
// A long listing written into a grid cell by cell, each cell with its
// background, as a query window fills it: the grid test checks the result,
// the bench times it.
#include "platform/FlexGrid.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>

namespace testsupport {

inline const QColor kFundoPar(225, 255, 255);
inline const QColor kFundoImpar(255, 255, 255);

inline void encherGradeLonga(platform::FlexGrid& grid, int rows)
{
    grid.resize(600, 400);
    grid.show();
    grid.FormatString("Núm. Lanc.|Lançamento |Vencimento |Classificação|Referente|Filtro|Valor");
    grid.setRows(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        grid.setTextMatrix(r, 0, QString::number(r).rightJustified(6, '0'));
        grid.setTextMatrix(r, 1, "01/02/2024");
        grid.setTextMatrix(r, 2, "15/02/2024");
        grid.setTextMatrix(r, 3, "Supermercado");
        grid.setTextMatrix(r, 4, "Compra do mês no mercado do bairro");
        grid.setTextMatrix(r, 5, "A");
        grid.setTextMatrix(r, 6, "-1.234,56");
        grid.setRow(r);
        for (int c = 0; c < 7; ++c) {
            grid.setCol(c);
            grid.setCellBackColor(r % 2 ? kFundoImpar : kFundoPar);
        }
    }
    grid.setTopRow(rows);
    QCoreApplication::processEvents();
}

} // namespace testsupport
