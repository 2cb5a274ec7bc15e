#pragma once
// The pieces the query windows build and handle alike: the lower frame
// "Lançamentos", the close button and the window's arrangement, the date
// boxes with the labels that fill them, the period checks, the options of
// the queries by description and the hidden classification lists.
#include "app/Textos.h"
#include "platform/Application.h"
#include "platform/FlexGrid.h"
#include "queries/GradeConsulta.h"

#include <QAbstractButton>
#include <QHash>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace platform {
class MaskEdBox;
} // namespace platform

namespace queries {

// The width of a date box: a date and a little room.
int larguraData(const QWidget* caixa);
// A period's date box: its text selected when it takes the focus, no wider
// than a date.
void prepararCaixaData(platform::MaskEdBox* caixa);

// The widest amount a value box of a query is given to show whole.
inline const QString kMaiorValorDigitado = QStringLiteral("000.000.000,00");
// A value box of a query: the amount to the right, as wide as that amount.
void prepararCaixaValor(QLineEdit* caixa);

// A label the user clicks: the pointing hand, and acao on a left click.
void aoClicar(QLabel* rotulo, std::function<void()> acao);
// The keys of a control that acao takes instead of the control.
void aoTeclar(QWidget* controle, std::initializer_list<int> teclas, std::function<void(int)> acao);

// What the labels "Data Inicial" and "Data Final" write into their boxes:
// "01/01/" and "31/12/" of the current year.
void primeiroDiaDoAno(platform::MaskEdBox& caixa);
void ultimoDiaDoAno(platform::MaskEdBox& caixa);

// A date box holds a date (or, when vaziaAceita, nothing at all); otherwise
// the message in a critical box titled `app::kAtencao`, the focus back on the
// box, and false.
bool conferirData(platform::MaskEdBox& caixa, bool vaziaAceita, const QString& mensagem);
// The optional period of the queries: each box empty or holding a date.
bool conferirPeriodoOpcional(platform::MaskEdBox& inicio, platform::MaskEdBox& fim);

// A label that shows an amount: right-aligned, wide enough for the largest,
// and heard by a screen reader as a result.
void prepararRotuloValor(QLabel* rotulo);

// The count "n Lançamento(s)", heard by a screen reader as a result named
// "Lançamentos listados".
void prepararContagem(QLabel* rotulo);

// The description box of the by-description queries, in a holder of its
// own: a box placed straight in a frame is labelled by the frame's title for
// a screen reader, and this one is named "Histórico".
QWidget* caixaHistorico(QLineEdit*& caixa, QWidget* quadro);

// The lower frame "Lançamentos": the grid over a footer with the count (a
// result, heard as "Lançamentos listados") on the left and, on the right, "Apagar Todos" when cmdApagar is asked for,
// the caption "Total R$" when rotuloTotal, and the total.
QGroupBox* quadroLancamentos(QWidget* janela, platform::FlexGrid*& flxConsulta, QLabel*& txtLanc, QLabel*& txtSaldo2,
                             QPushButton** cmdApagar, bool rotuloTotal);

// The close button at the window's top right.
QToolButton* botaoFechar(QWidget* janela);
// The window's arrangement: the query frame with the close button beside
// its top; the caller adds what goes below to the layout returned.
QVBoxLayout* disporJanela(QWidget* janela, QWidget* fraConsulta, QToolButton* cmdFecha);

// The options of the queries by description, "Contenha:" chosen.
void criarOpcoesHistorico(std::array<QRadioButton*, 3>& opcoes, QWidget* pai);
ModoHistorico modoEscolhido(const std::array<QRadioButton*, 3>& opcoes);
// A group-letter list: an empty item, then "A" to "Z".
void preencherLetras(QComboBox* lista);

// The hidden lists of every classification's name and code, item for item,
// in the order of their codes; returns the names by code.
QHash<std::int64_t, QString> carregarClassificacoes(QComboBox* nomes, QComboBox* codigos);
// The names by code as the hidden lists hold them.
QHash<std::int64_t, QString> nomesDasListas(const QComboBox* codigos, const QComboBox* nomes);
// Choosing a code chooses the name of the same item.
void acompanharCodigo(const QComboBox& codigos, QComboBox& nomes);

// Connects the parts every query window has to its handlers of the same
// names: "Consultar", "Apagar Todos", the close button, the grid's
// double-click, keys and right button. A window without one of those
// handlers leaves that part unconnected.
template <class Janela> void ligarPartesComuns(Janela* j)
{
    QObject::connect(j->cmdConsulta, &QAbstractButton::clicked, j, [j] { j->cmdConsulta_Click(); });
    QObject::connect(j->cmdApagar, &QAbstractButton::clicked, j, platform::guarded([j] { j->cmdApagar_Click(); }));
    if constexpr (requires { j->cmdFecha_Click(); })
        QObject::connect(j->cmdFecha, &QAbstractButton::clicked, j, [j] { j->cmdFecha_Click(); });
    QObject::connect(j->flxConsulta, &platform::FlexGrid::cellDoubleClicked, j, [j] { j->flxConsulta_DblClick(); });
    platform::describeOpenRow(*j->flxConsulta, app::kAbrirNoEditor);
    if constexpr (requires { j->flxConsulta_KeyDown(nullptr); })
        QObject::connect(j->flxConsulta, &platform::FlexGrid::keyPressed, j,
                         [j](QKeyEvent* e) { j->flxConsulta_KeyDown(e); });
    if constexpr (requires { j->flxConsulta_MouseDown(0); })
        QObject::connect(j->flxConsulta, &platform::FlexGrid::rightClicked, j,
                         [j] { j->flxConsulta_MouseDown(Qt::RightButton); });
}

} // namespace queries
