#pragma once
// What the planned-versus-actual window, its watch-list editor and the
// monthly budget summary share: the month header whose tag holds the shown
// month, the month's bounds, the grids' refill and two row colours, the
// boxes of amounts, the deletion of a watched line, and their pictures
// (arrows, faces, the help mark).
#include "platform/Form.h"

#include <QColor>
#include <QDate>
#include <QLabel>
#include <QPixmap>

namespace platform {
class FlexGrid;
}

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

// Empties a grid down to `linhas` rows and sets its header again.
void recomecarGrade(platform::FlexGrid* grade, const QString& cabecalho, const QStringList& maiores, int linhas = 1);

// A sunken box that shows an amount, right-aligned, "0,00" at first, heard
// by a screen reader as a result.
// `maior` is the largest value it shows (a sum of amounts when empty).
QLabel* rotuloDeValor(QWidget* pai, const QString& maior = QString());

// Delete on a line of a grid of watched classifications (code | name |
// planned value): asks, No by default, and takes the classification off
// the watch list. True when it was taken off.
bool excluirVigiada(platform::FlexGrid* grade);

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

// A window that shows one month at a time: the month header txtData
// between two green arrows that step a month back or forward, each step
// recomputing the window. It opens on today's month.
class JanelaDoMes : public platform::Form {
    Q_OBJECT
public:
    explicit JanelaDoMes(QWidget* parent = nullptr);

    // Controls.
    QLabel* txtData = nullptr;  // "MARÇO - 2026"; its tag holds a date of the shown month
    Figura* imgAumenta = nullptr;
    Figura* imgDiminui = nullptr;

    void Form_Load() override;

    // Handlers.
    void imgAumenta_Click();
    void imgDiminui_Click();

    // Recomputes everything the window shows for the month of txtData.
    virtual void Atualiza() = 0;
};

} // namespace budget
