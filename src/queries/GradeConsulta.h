#pragma once
// The grid every query window lists its entries in, and the actions the
// windows share on it: opening an entry in the editor, deleting one or every
// listed entry, the weekday of a due date, the summing keys, monthly
// subtotals. Each window keeps its own selection and tells this class which
// of the shared behaviours it has.
#include "data/Database.h"
#include "data/Listagem.h"
#include "data/Money.h"
#include "platform/FlexGrid.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QKeyEvent;
class QLabel;

namespace platform {
class FlexGrid;
class MaskEdBox;
} // namespace platform

namespace queries {

// The three column layouts of the query grids; the columns of each are one
// list (listaDe), which the header, the widths and the cells are read from.
enum class LayoutGrade { A, B, C };

// What a column of a query grid shows of its row.
enum class Campo { NumLan, DataLan, DataVen, Filtro, Classificacao, Referente, Valor };

// A column: what it shows and its piece of the header, the title with the
// blanks after it that set the column's width.
struct Coluna {
    Campo campo;
    QString titulo;
};

// The columns of a layout, in the order the grid shows them.
const std::vector<Coluna>& listaDe(LayoutGrade layout);

// Where each field stands in a layout, found in its list; -1 when the
// layout has no such column.
struct Colunas {
    int numLan = -1;
    int dataLan = -1;
    int dataVen = -1;
    int filtro = -1;
    int classificacao = -1;
    int referente = -1;
    int valor = -1;
};

const Colunas& colunasDe(LayoutGrade layout);
// The header string: the titles with their blanks, joined by "|".
QString cabecalhoDe(LayoutGrade layout);

// Row backgrounds and text colours of the query grids.
inline const QColor kCorLinhaPar = platform::kAlternateRowColor;
inline const QColor kCorPrevisao = QColor(0, 0, 255);
inline const QColor kCorMarcada = QColor(255, 0, 0);
inline const QColor kCorTexto = QColor(0, 0, 0);

// Month runs in the order of the rows: a row counts when its due date's year
// and month differ from the previous row's; the first row counts.
int contarMeses(const std::vector<data::LinhaConsulta>& linhas);

// "12 Lançamento(s)".
QString textoContagem(qsizetype n);

// Page Up and Page Down in the date boxes of the windows that step a period
// by months: the box's date one calendar month later or earlier
// (MaskEdBox::stepDate). True when the key was one of the two.
bool moverMes(platform::MaskEdBox& caixa, int key);

// How the queries by description compare the typed text with Referente.
// The text goes into the pattern as typed, so "%" and "_" act as wildcards.
enum class ModoHistorico {
    ComeceCom,   // "Comece com:"
    Contenha,    // "Contenha:"
    Exatamente,  // "Exatamente:"
};

// The selection of the queries by description: the due-date period when
// both dates are valid (both days included), the description compared by
// our like(), and the group letter when one is given.
data::Selecao selecaoPorHistorico(ModoHistorico modo, const QString& texto, const QDate& inicio, const QDate& fim,
                            const QString& letra);

// What the keypad "+" does in a window.
enum class TeclaMais {
    Nenhuma,
    SomaValor,  // adds the selected row's value, sign reversed, to the running sum
    Marca,      // marks or unmarks the current cell; the sum key adds marked values
};

// The shared behaviours a window has (see each window for its own).
struct Comportamento {
    LayoutGrade layout = LayoutGrade::C;
    bool teclaDelete = false;       // Delete deletes the row's entry
    bool diaDaSemana = false;       // right button shows the due date's weekday
    TeclaMais mais = TeclaMais::Nenhuma;
    bool teclaInsert = false;       // Insert adds a typed value to the running sum
    int teclaSoma = 0;              // Qt::Key_F10 or Qt::Key_F12 shows the sum; 0 none
    bool previsaoAzul = false;      // forecasts' descriptions in blue
    bool contagemVaziaEmBranco = false;  // nothing found: the count label stays empty
    bool gradeSempreHabilitada = false;  // the grid stays enabled when nothing is found
    int rolarAcimaDe = 0;           // plain list: more grid rows than this shows the last; 0 never
    int rolarSubtotalAcimaDe = 0;   // the same for the subtotal view
    bool subtotalNegativoVermelho = false;  // a negative month sum in red (not the last month's)
};

class GradeConsulta : public QObject {
    Q_OBJECT
public:
    // txtSaldo2 may be null for a window that shows no total. consultar
    // re-runs the window's query (its "Consultar" button); somaCorrente is
    // the window's running sum, which lives for the whole run.
    GradeConsulta(platform::FlexGrid& grid, QLabel* txtLanc, QLabel* txtSaldo2, Comportamento comportamento,
                  std::function<void()> consultar, data::Centavos* somaCorrente = nullptr,
                  QObject* parent = nullptr);

    const Comportamento& comportamento() const { return comportamento_; }
    const Colunas& colunas() const { return colunasDe(comportamento_.layout); }

    // Classification names by code, for the layouts that show them. Loaded
    // once per query; a code without a row in the plan shows an empty cell.
    void setNomes(QHash<std::int64_t, QString> nomes) { nomes_ = std::move(nomes); }

    // The plain list: header, one row per entry with the parity backgrounds
    // and forecast colour, the count, the total, enabling and scrolling.
    // The grid keeps the rows and writes a row's texts when it shows it.
    void preencher(std::vector<data::LinhaConsulta> linhas);
    // The monthly-subtotal view of the same rows (in their order). With no
    // rows the grid keeps its header only and the total label its text.
    void preencherComSubtotais(std::vector<data::LinhaConsulta> linhas);
    // An empty grid in its design state: the header only.
    void limpar();

    // The entries the grid lists, in its order (subtotal rows left out).
    const std::vector<data::LinhaConsulta>& lancamentos() const;

    // The entry number of a grid row; 0 for the header, a row past the end
    // or a subtotal row. The summing keys and the entry actions read the
    // rows behind the grid, never the shown text.
    std::int64_t numLanDaLinha(int row) const;
    // The value a grid row shows (an entry's or a month's sum); none for the
    // header or a row past the end.
    std::optional<data::Centavos> valorDaLinha(int row) const;
    // Whether a cell was marked with the "+" key.
    bool marcada(int row, int col) const;

    // Double-click: the editor on the selected row's entry. Afterwards the
    // row holding that entry (or, when a save removed it from the list, the
    // row now at its place) is the current one again, and in sight.
    void abrirLancamento();
    // Delete key: asks, deletes the selected row's entry and re-runs the query.
    void apagarLancamento();
    // "Apagar Todos": asks, deletes every listed entry, re-runs the query
    // whatever the answer.
    void apagarTodos();
    // Right button: the due date and its weekday.
    void mostrarDiaSemana();
    // A mouse button on the grid: the right one shows the weekday in the
    // windows that have it.
    void botaoPressionado(int button);
    // Grid keys; true when the key was one of the window's shared keys.
    bool teclaPressionada(QKeyEvent* event);

    // The summing keys.
    void somarValorDaLinha();
    void marcarCelula();
    void somarValorDigitado();
    void mostrarSoma();

    data::Centavos total() const { return total_; }

private:
    class Linhas;
    bool temLinha(int row) const;
    void mostrar(std::shared_ptr<Linhas> linhas);
    void rolarParaUltima(int acimaDe);
    void voltarAoLancamento(std::int64_t numLan, int linha);

    platform::FlexGrid& grid_;
    QLabel* txtLanc_;
    QLabel* txtSaldo2_;
    Comportamento comportamento_;
    std::function<void()> consultar_;
    data::Centavos* somaCorrente_;
    QHash<std::int64_t, QString> nomes_;
    std::shared_ptr<Linhas> linhas_;  // what the grid shows below its header
    QHash<int, quint32> marcas_;      // by grid row: the columns marked with "+", one bit each
    data::Centavos total_ = 0;
};

} // namespace queries
