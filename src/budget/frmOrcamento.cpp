#include "budget/frmOrcamento.h"

#include "budget/MesOrcamento.h"
#include "data/Collation.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Money.h"
#include "platform/FlexGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

const QString kCabecalhoSaidas =
    QStringLiteral("DESPESA") + QString(41, QLatin1Char(' ')) + QStringLiteral("|VALOR") + QString(10, QLatin1Char(' '));
const QString kCabecalhoEntradas =
    QStringLiteral("ENTRADA") + QString(41, QLatin1Char(' ')) + QStringLiteral("|VALOR") + QString(10, QLatin1Char(' '));
const QStringList kMaiores{QString(), platform::kWidestAmount};

QLabel* rotuloValor(QWidget* pai)
{
    return budget::rotuloDeValor(pai);
}

} // namespace

frmOrcamento::frmOrcamento(QWidget* parent) : JanelaDoMes(parent)
{
    setWindowTitle(QStringLiteral("Orçamento Doméstico"));

    flxSaidas = new platform::FlexGrid(this);
    flxSaidas->FormatString(kCabecalhoSaidas, kMaiores);
    flxEntradas = new platform::FlexGrid(this);
    flxEntradas->FormatString(kCabecalhoEntradas, kMaiores);
    // The names give way to the amounts on a small screen.
    flxSaidas->setGivingWayCol(0);
    flxEntradas->setGivingWayCol(0);

    txtTotalSaidas = rotuloValor(this);
    txtTotalEntradas = rotuloValor(this);
    txtSaldo = rotuloValor(this);

    auto* topo = new QHBoxLayout;
    topo->addStretch(1);
    topo->addWidget(imgDiminui);
    topo->addWidget(txtData);
    topo->addWidget(imgAumenta);
    topo->addStretch(1);

    auto* grades = new QGridLayout;
    grades->addWidget(flxSaidas, 0, 0, 1, 2);
    grades->addWidget(flxEntradas, 0, 2, 1, 2);
    grades->addWidget(new QLabel(QStringLiteral("Total das Despesas R$ "), this), 1, 0, Qt::AlignRight);
    grades->addWidget(txtTotalSaidas, 1, 1);
    grades->addWidget(new QLabel(QStringLiteral("Total das Entradas R$ "), this), 1, 2, Qt::AlignRight);
    grades->addWidget(txtTotalEntradas, 1, 3);
    grades->addWidget(new QLabel(QStringLiteral("Saldo R$ "), this), 2, 2, Qt::AlignRight);
    grades->addWidget(txtSaldo, 2, 3);
    grades->setColumnStretch(0, 1);
    grades->setColumnStretch(2, 1);

    auto* janela = new QVBoxLayout(this);
    janela->addLayout(topo);
    janela->addLayout(grades, 1);
    int largura = 60;
    for (int c = 0; c < flxSaidas->Cols(); ++c)
        largura += 2 * flxSaidas->ColWidth(c);
    resize(std::max(largura, 760), 480);

    connect(flxSaidas, &platform::FlexGrid::keyPressed, this, [this](QKeyEvent* e) { flxSaidas_KeyDown(e); });
    connect(flxEntradas, &platform::FlexGrid::keyPressed, this, [this](QKeyEvent* e) { flxEntradas_KeyDown(e); });
}

void frmOrcamento::flxSaidas_KeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete)
        tirarLinha(flxSaidas, kCabecalhoSaidas, saidas_, totalSaidas_, txtTotalSaidas);
}

void frmOrcamento::flxEntradas_KeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete)
        tirarLinha(flxEntradas, kCabecalhoEntradas, entradas_, totalEntradas_, txtTotalEntradas);
}

// A summary grid's rows, handed to the grid in one batch: a row's cells are
// made when the grid paints or reads them, so filling costs the same for
// every row however many there are.
class frmOrcamento::Linhas final : public platform::FlexRows {
public:
    Linhas(std::vector<LinhaDoResumo> linhas, bool colorir) : linhas_(std::move(linhas)), colorir_(colorir) {}

    QString text(int row, int col) const override
    {
        const LinhaDoResumo& l = linhas_[size_t(row) - 1];
        return col == 0 ? l.nome : col == 1 ? data::formatMoney(l.valor) : QString();
    }

    platform::FlexCellStyle style(int row, int) const override
    {
        platform::FlexCellStyle st;
        if (colorir_)
            st.back = budget::corDaLinha(row).rgb();
        return st;
    }

private:
    std::vector<LinhaDoResumo> linhas_;
    bool colorir_;
};

void frmOrcamento::mostrarLinhas(platform::FlexGrid* grade, const std::vector<LinhaDoResumo>& linhas, bool colorir)
{
    grade->setRowSource(std::make_shared<Linhas>(linhas, colorir), int(linhas.size()));
}

void frmOrcamento::Atualiza()
{
    const QDate mes = budget::mesDoRotulo(txtData);
    const QDate primeiro = budget::primeiroDiaDoMes(mes);
    const QDate ultimo = budget::ultimoDiaDoMes(mes);
    data::Centavos saidas = 0;
    data::Centavos entradas = 0;
    saidas_.clear();
    entradas_.clear();

    budget::recomecarGrade(flxSaidas, kCabecalhoSaidas, kMaiores);
    {
        data::Statement s(ConexaoBanco,
                          QStringLiteral("SELECT Conta, soma(Valor) FROM Lancamentos WHERE DataVen BETWEEN ? AND ?"
                                         " AND Tipo = '1' GROUP BY Conta ORDER BY Conta") + data::kCollate,
                          primeiro, ultimo);
        while (s.next()) {
            saidas_.push_back({s.text(0), s.integer(1)});
            saidas += s.integer(1);
        }
    }
    mostrarLinhas(flxSaidas, saidas_, false);
    totalSaidas_ = saidas;
    txtTotalSaidas->setText(data::formatMoney(saidas));

    // Incoming entries of classification 62 stay out of the summary.
    budget::recomecarGrade(flxEntradas, kCabecalhoEntradas, kMaiores);
    {
        const QHash<std::int64_t, QString> nomes = data::nomesPorCodigo(ConexaoBanco);
        data::Statement s(ConexaoBanco,
                          QStringLiteral("SELECT Despesa, soma(Valor) FROM Lancamentos WHERE DataVen BETWEEN ? AND ?"
                                         " AND Tipo = '2' AND Despesa <> '62' GROUP BY Despesa"
                                         " ORDER BY CAST(Despesa AS INTEGER)"),
                          primeiro, ultimo);
        while (s.next()) {
            // A code without a classification (a file changed outside the
            // program) is shown by its number.
            const QString codigo = s.text(0);
            entradas_.push_back({nomes.value(codigo.toLongLong(), codigo), s.integer(1)});
            entradas += s.integer(1);
        }
    }
    mostrarLinhas(flxEntradas, entradas_, true);
    totalEntradas_ = entradas;
    txtTotalEntradas->setText(data::formatMoney(entradas));
    txtSaldo->setText(data::formatMoney(saidas + entradas));
    Ordem();
}

void frmOrcamento::Ordem()
{
    const qint64 quantidade = data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(DataVen) FROM Lancamentos")).toLongLong();
    // A month without exits has nothing to order, also in an account that
    // holds entries.
    if (quantidade <= 0 || flxSaidas->Rows() < 2)
        return;
    // The most negative first; groups of one amount keep their order.
    std::stable_sort(saidas_.begin(), saidas_.end(),
                     [](const LinhaDoResumo& a, const LinhaDoResumo& b) { return a.valor < b.valor; });
    mostrarLinhas(flxSaidas, saidas_, true);
    flxSaidas->setRow(1);
}

// Takes the current row out of a grid and out of its total; the file is
// not touched.
void frmOrcamento::tirarLinha(platform::FlexGrid* grade, const QString& cabecalho, std::vector<LinhaDoResumo>& linhas,
                              data::Centavos& total, QLabel* rotulo)
{
    const int r = grade->Row();
    if (r < 1 || r >= grade->Rows() || size_t(r) > linhas.size())
        return;
    const data::Centavos valor = linhas[size_t(r) - 1].valor;
    linhas.erase(linhas.begin() + (r - 1));
    if (grade->Rows() == 2)
        budget::recomecarGrade(grade, cabecalho, kMaiores);
    else
        grade->RemoveItem(r);
    total -= valor;
    rotulo->setText(data::formatMoney(total));
    txtSaldo->setText(data::formatMoney(totalEntradas_ + totalSaidas_));
}
