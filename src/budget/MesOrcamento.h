#pragma once
// What the planned-versus-actual window and the monthly budget summary
// share: the month header whose tag holds the shown month, the month's
// bounds, the grids' two row colours, and their pictures (arrows, faces,
// the help mark).
#include <QColor>
#include <QDate>
#include <QLabel>
#include <QPixmap>

namespace budget {

// "MARÇO - 2026": the month's full name and the year, in capitals.
QString cabecalhoMes(const QDate& dia);

QDate primeiroDiaDoMes(const QDate& dia);
QDate ultimoDiaDoMes(const QDate& dia);

// The header label: its text is the month, its tag ("Tag" property) a
// date text "DD/MM/YYYY" of that month.
void mostrarMes(QLabel* rotulo, const QDate& dia);
QDate mesDoRotulo(const QLabel* rotulo);
// Day 1 of the month `meses` after (or before) the tag's month.
void avancarMes(QLabel* rotulo, int meses);

// Odd data rows RGB(243,243,243), even ones RGB(174,202,222).
QColor corDaLinha(int row);

enum class Rosto { Igual, Negativo, Positivo };

QPixmap setaVerde(bool paraDireita, int lado = 28);
QPixmap rosto(Rosto expressao, int lado = 40);
QPixmap interrogacao(int lado = 28);

// A picture the user clicks, as the windows' arrows and help mark are.
class Figura : public QLabel {
    Q_OBJECT
public:
    explicit Figura(const QPixmap& imagem, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace budget
