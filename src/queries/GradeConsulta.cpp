#include "queries/GradeConsulta.h"

#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "entries/AcoesLancamento.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

namespace queries {

namespace {

const QString kCR = QString(QChar(13));

QString brancos(int n) { return QString(n, QLatin1Char(' ')); }

// A layout and what is read from its list once.
struct Layout {
    std::vector<Coluna> lista;
    Colunas colunas;
    QString cabecalho;

    explicit Layout(std::vector<Coluna> colunasEmOrdem) : lista(std::move(colunasEmOrdem))
    {
        QStringList titulos;
        for (int i = 0; i < int(lista.size()); ++i) {
            titulos << lista[size_t(i)].titulo;
            indiceDe(lista[size_t(i)].campo) = i;
        }
        cabecalho = titulos.join(QLatin1Char('|'));
    }

    int& indiceDe(Campo campo)
    {
        switch (campo) {
        case Campo::NumLan: return colunas.numLan;
        case Campo::DataLan: return colunas.dataLan;
        case Campo::DataVen: return colunas.dataVen;
        case Campo::Filtro: return colunas.filtro;
        case Campo::Classificacao: return colunas.classificacao;
        case Campo::Referente: return colunas.referente;
        case Campo::Valor: break;
        }
        return colunas.valor;
    }
};

const Layout& layoutDe(LayoutGrade layout)
{
    switch (layout) {
    case LayoutGrade::A: {
        static const Layout a({{Campo::NumLan, QStringLiteral("Núm. Lanc.")},
                               {Campo::DataLan, QStringLiteral("Lançamento") + brancos(1)},
                               {Campo::DataVen, QStringLiteral("Vencimento") + brancos(1)},
                               {Campo::Referente, QStringLiteral("Referente") + brancos(90)},
                               {Campo::Valor, QStringLiteral(" Valor") + brancos(17)}});
        return a;
    }
    case LayoutGrade::B: {
        static const Layout b({{Campo::NumLan, QStringLiteral("Núm.Lanc.")},
                               {Campo::DataVen, QStringLiteral("Vencimento") + brancos(1)},
                               {Campo::Filtro, QStringLiteral("Filtro")},
                               {Campo::Classificacao, QStringLiteral("Classificação") + brancos(31)},
                               {Campo::Referente, QStringLiteral("Referente") + brancos(95)},
                               {Campo::Valor, QStringLiteral("Valor") + brancos(17)}});
        return b;
    }
    case LayoutGrade::C: break;
    }
    static const Layout c({{Campo::NumLan, QStringLiteral("Núm. Lanc.")},
                           {Campo::DataVen, QStringLiteral("Vencimento") + brancos(1)},
                           {Campo::Classificacao, QStringLiteral("Classificação") + brancos(43)},
                           {Campo::Referente, QStringLiteral("Referente") + brancos(82)},
                           {Campo::Valor, QStringLiteral("Valor") + brancos(17)}});
    return c;
}

// The widest text a column must show whole; empty for text. The title's
// blanks leave the number, date and value columns narrower than what they
// show in some fonts: the value column holds the largest amount an entry
// holds (13 integer digits, sign and separators), in bold in the month
// subtotals.
QString maisLargo(Campo campo)
{
    switch (campo) {
    case Campo::NumLan: return platform::kWidestCode;
    case Campo::DataLan:
    case Campo::DataVen: return platform::kWidestDate;
    case Campo::Valor: return platform::kWidestAmount;
    case Campo::Filtro:
    case Campo::Classificacao:
    case Campo::Referente: break;
    }
    return QString();
}

} // namespace

const std::vector<Coluna>& listaDe(LayoutGrade layout) { return layoutDe(layout).lista; }

const Colunas& colunasDe(LayoutGrade layout) { return layoutDe(layout).colunas; }

QString cabecalhoDe(LayoutGrade layout) { return layoutDe(layout).cabecalho; }

int contarMeses(const std::vector<data::LinhaConsulta>& linhas)
{
    int n = 0;
    for (size_t i = 0; i < linhas.size(); ++i)
        if (i == 0 || linhas[i].anoMes() != linhas[i - 1].anoMes())
            ++n;
    return n;
}

bool moverMes(platform::MaskEdBox& caixa, int key)
{
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown)
        return false;
    caixa.stepDate(key == Qt::Key_PageUp ? 1 : -1);
    return true;
}

data::Selecao selecaoPorHistorico(ModoHistorico modo, const QString& texto, const QDate& inicio, const QDate& fim,
                            const QString& letra)
{
    data::Selecao s;
    if (inicio.isValid() && fim.isValid())
        s.vencimentoEntre(inicio, fim);
    QString padrao = texto;
    if (modo == ModoHistorico::Contenha)
        padrao = QLatin1Char('%') + texto + QLatin1Char('%');
    else if (modo == ModoHistorico::ComeceCom)
        padrao = texto + QLatin1Char('%');
    s.e(QStringLiteral("Referente LIKE ?"), {padrao});
    if (!letra.isEmpty())
        s.e(QStringLiteral("Filtro LIKE ?"), {letra});
    return s;
}

QString textoContagem(qsizetype n) { return QString::number(n) + QStringLiteral(" Lançamento(s)"); }

GradeConsulta::GradeConsulta(platform::FlexGrid& grid, QLabel* txtLanc, QLabel* txtSaldo2,
                             Comportamento comportamento, std::function<void()> consultar,
                             data::Centavos* somaCorrente,
                             QObject* parent)
    : QObject(parent),
      grid_(grid),
      txtLanc_(txtLanc),
      txtSaldo2_(txtSaldo2),
      comportamento_(comportamento),
      consultar_(std::move(consultar)),
      somaCorrente_(somaCorrente)
{
}

// The rows behind a query grid: the entries as read and, in the subtotal
// view, the month sums between them. The grid asks for a cell when it
// shows it, so a long listing costs the rows in sight, not a text a cell.
class GradeConsulta::Linhas final : public platform::FlexRows {
public:
    struct Subtotal {
        int linha;  // the grid row
        int anoMes;
        data::Centavos soma;
        bool vermelho;
    };

    std::vector<data::LinhaConsulta> lancamentos;
    std::vector<Subtotal> subtotais;  // in grid-row order
    QHash<std::int64_t, QString> nomes;
    const std::vector<Coluna>* lista = nullptr;
    Colunas colunas;
    bool previsaoAzul = false;

    int contagem() const { return int(lancamentos.size() + subtotais.size()); }

    // What grid row `row` (1 .. contagem()) shows: a month's sum, or else
    // the entry at the index given.
    const Subtotal* subtotal(int row, size_t& indice) const
    {
        const auto it = std::lower_bound(subtotais.begin(), subtotais.end(), row,
                                         [](const Subtotal& s, int r) { return s.linha < r; });
        if (it != subtotais.end() && it->linha == row)
            return &*it;
        indice = size_t(row - 1 - (it - subtotais.begin()));
        return nullptr;
    }

    QString text(int row, int col) const override
    {
        size_t i = 0;
        if (const Subtotal* s = subtotal(row, i)) {
            if (col == colunas.referente)
                return platform::capitalizeFirst(platform::monthName(s->anoMes % 100)) + QLatin1Char('/') +
                       QString::number(s->anoMes / 100 % 100).rightJustified(2, QLatin1Char('0'));
            return col == colunas.valor ? data::formatMoney(s->soma) : QString();
        }
        if (col < 0 || col >= int(lista->size()))
            return QString();
        const data::LinhaConsulta& l = lancamentos[i];
        switch ((*lista)[size_t(col)].campo) {
        case Campo::NumLan: return data::textoNumLan(l.numLan);
        case Campo::DataVen: return l.dataVen;
        case Campo::DataLan: return l.dataLan;
        case Campo::Filtro: return l.filtro;
        case Campo::Classificacao: {
            bool ok = false;
            const std::int64_t codigo = l.despesa.texto().toLongLong(&ok);
            return ok ? nomes.value(codigo) : QString();
        }
        case Campo::Referente: return l.referente;
        case Campo::Valor: break;
        }
        return data::formatMoney(l.valor);
    }

    platform::FlexCellStyle style(int row, int col) const override
    {
        platform::FlexCellStyle st;
        size_t i = 0;
        if (const Subtotal* s = subtotal(row, i)) {
            st.back = kCorLinhaPar.rgb();
            st.bold = true;
            if (s->vermelho && col == colunas.valor)
                st.fore = kCorMarcada.rgb();
            return st;
        }
        // The subtotal view leaves its entry rows plain.
        if (!subtotais.empty())
            return st;
        if (row % 2 == 0)
            st.back = kCorLinhaPar.rgb();
        if (previsaoAzul && col == colunas.referente && data::isForecast(lancamentos[i].referente))
            st.fore = kCorPrevisao.rgb();
        return st;
    }
};

void GradeConsulta::limpar()
{
    linhas_.reset();
    marcas_.clear();
    grid_.setRows(1);
    grid_.Clear();
    QStringList maiores;
    for (const Coluna& c : listaDe(comportamento_.layout))
        maiores << maisLargo(c.campo);
    grid_.FormatString(cabecalhoDe(comportamento_.layout), maiores);
    // A narrow window shortens the description, never the value.
    const int referente = colunas().referente;
    grid_.setGivingWayCols(referente >= 0 ? std::vector<int>{referente} : std::vector<int>{});
}

void GradeConsulta::mostrar(std::shared_ptr<Linhas> linhas)
{
    linhas->nomes = nomes_;
    linhas->lista = &listaDe(comportamento_.layout);
    linhas->colunas = colunas();
    linhas->previsaoAzul = comportamento_.previsaoAzul;
    grid_.setRowSource(linhas, linhas->contagem());
    linhas_ = std::move(linhas);
}

const std::vector<data::LinhaConsulta>& GradeConsulta::lancamentos() const
{
    static const std::vector<data::LinhaConsulta> nenhum;
    return linhas_ ? linhas_->lancamentos : nenhum;
}

void GradeConsulta::preencher(std::vector<data::LinhaConsulta> linhas)
{
    limpar();
    const int n = int(linhas.size());
    total_ = 0;
    for (const data::LinhaConsulta& l : linhas)
        total_ = data::addMoney(total_, l.valor);
    auto fonte = std::make_shared<Linhas>();
    fonte->lancamentos = std::move(linhas);
    mostrar(std::move(fonte));
    if (txtLanc_)
        txtLanc_->setText(n == 0 && comportamento_.contagemVaziaEmBranco ? QString() : textoContagem(n));
    grid_.setEnabled(n > 0 || comportamento_.gradeSempreHabilitada);
    if (txtSaldo2_)
        txtSaldo2_->setText(data::formatMoney(total_));
    rolarParaUltima(comportamento_.rolarAcimaDe);
}

void GradeConsulta::preencherComSubtotais(std::vector<data::LinhaConsulta> linhas)
{
    limpar();
    const size_t n = linhas.size();
    auto fonte = std::make_shared<Linhas>();
    fonte->subtotais.reserve(size_t(contarMeses(linhas)));
    total_ = 0;
    data::Centavos somaMes = 0;
    int row = 0;
    for (size_t i = 0; i < n; ++i) {
        const data::LinhaConsulta& l = linhas[i];
        if (i > 0 && l.anoMes() != linhas[i - 1].anoMes()) {
            ++row;
            fonte->subtotais.push_back({row, linhas[i - 1].anoMes(), somaMes,
                                        comportamento_.subtotalNegativoVermelho && somaMes < 0});
            somaMes = 0;
        }
        ++row;
        somaMes = data::addMoney(somaMes, l.valor);
        total_ = data::addMoney(total_, l.valor);
    }
    if (n > 0)
        fonte->subtotais.push_back({row + 1, linhas.back().anoMes(), somaMes, false});
    fonte->lancamentos = std::move(linhas);
    mostrar(std::move(fonte));
    grid_.setEnabled(n > 0 || comportamento_.gradeSempreHabilitada);
    // Nothing found: the header alone, and the total of the last list stays.
    if (n == 0)
        return;
    rolarParaUltima(comportamento_.rolarSubtotalAcimaDe);
    if (txtSaldo2_)
        txtSaldo2_->setText(data::formatMoney(total_));
}

void GradeConsulta::rolarParaUltima(int acimaDe)
{
    if (acimaDe > 0 && grid_.Rows() > acimaDe)
        grid_.setTopRow(grid_.Rows() - 1);
}

bool GradeConsulta::temLinha(int row) const
{
    return linhas_ && row >= 1 && row <= linhas_->contagem() && row < grid_.Rows();
}

std::int64_t GradeConsulta::numLanDaLinha(int row) const
{
    size_t i = 0;
    if (!temLinha(row) || linhas_->subtotal(row, i))
        return 0;
    const std::int64_t n = linhas_->lancamentos[i].numLan;
    return n > 0 ? n : 0;
}

std::optional<data::Centavos> GradeConsulta::valorDaLinha(int row) const
{
    if (!temLinha(row))
        return std::nullopt;
    size_t i = 0;
    if (const Linhas::Subtotal* s = linhas_->subtotal(row, i))
        return s->soma;
    return linhas_->lancamentos[i].valor;
}

bool GradeConsulta::marcada(int row, int col) const
{
    return temLinha(row) && col >= 0 && col < 32 && (marcas_.value(row) >> col & 1U);
}

void GradeConsulta::abrirLancamento()
{
    const int linha = grid_.Row();
    const std::int64_t n = numLanDaLinha(linha);
    if (n == 0)
        return;
    entries::abrirNoEditor(n);
    voltarAoLancamento(n, linha);
}

void GradeConsulta::voltarAoLancamento(std::int64_t numLan, int linha)
{
    int alvo = -1;
    for (int row = 1; row < grid_.Rows() && alvo < 0; ++row)
        if (numLanDaLinha(row) == numLan)
            alvo = row;
    if (alvo < 0)
        alvo = std::min(linha, grid_.Rows() - 1);
    if (alvo < 1)
        return;
    grid_.setRow(alvo);
    const int topo = grid_.TopRow();
    const int visiveis = std::max(1, grid_.fullyVisibleRowCount());
    if (alvo < topo)
        grid_.setTopRow(alvo);
    else if (alvo >= topo + visiveis)
        grid_.setTopRow(alvo - visiveis + 1);
}

void GradeConsulta::apagarLancamento()
{
    if (entries::excluirComPergunta(numLanDaLinha(grid_.Row())) && consultar_)
        consultar_();
}

void GradeConsulta::apagarTodos()
{
    const int resposta =
        platform::MsgBox(QStringLiteral("Todos os lançamentos desta consulta serão excluidos!") + kCR +
                             QStringLiteral("Deseja Continuar?"),
                         platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2, app::kAtencao);
    if (resposta == platform::vbYes) {
        // One transaction: the listed entries go all together or, when the
        // file fails midway, none of them.
        data::Transaction t(ConexaoBanco);
        for (int row = 1; row < grid_.Rows(); ++row)
            if (const std::int64_t n = numLanDaLinha(row))
                data::deleteLancamento(ConexaoBanco, n);
        t.commit();
    }
    if (consultar_)
        consultar_();
}

void GradeConsulta::mostrarDiaSemana()
{
    const int col = colunas().dataVen;
    const QString texto = grid_.TextMatrix(grid_.Row(), col);
    const QDate data = platform::parseDate(texto);
    if (!data.isValid())
        return;
    platform::MsgBox(texto + kCR + platform::formatDate(data, QStringLiteral("dddd")), platform::vbInformation,
                     QStringLiteral("Dia da Semana"));
}

void GradeConsulta::botaoPressionado(int button)
{
    if (button == Qt::RightButton && comportamento_.diaDaSemana)
        mostrarDiaSemana();
}

bool GradeConsulta::teclaPressionada(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Delete && comportamento_.teclaDelete) {
        apagarLancamento();
        return true;
    }
    if (key == Qt::Key_Plus && (event->modifiers() & Qt::KeypadModifier)) {
        if (comportamento_.mais == TeclaMais::SomaValor) {
            somarValorDaLinha();
            return true;
        }
        if (comportamento_.mais == TeclaMais::Marca) {
            marcarCelula();
            return true;
        }
        return false;
    }
    if (key == Qt::Key_Insert && comportamento_.teclaInsert) {
        somarValorDigitado();
        return true;
    }
    if (comportamento_.teclaSoma != 0 && key == comportamento_.teclaSoma) {
        mostrarSoma();
        return true;
    }
    return false;
}

void GradeConsulta::somarValorDaLinha()
{
    const std::optional<data::Centavos> valor = valorDaLinha(grid_.Row());
    if (somaCorrente_ && valor)
        *somaCorrente_ = data::addMoney(*somaCorrente_, -*valor);
}

void GradeConsulta::marcarCelula()
{
    const int row = grid_.Row();
    const int col = grid_.Col();
    if (!temLinha(row) || col < 0 || col >= 32)
        return;
    quint32& marcas = marcas_[row];
    marcas ^= 1U << col;
    const bool marcou = marcas >> col & 1U;
    grid_.setCellForeColor(row, col, marcou ? kCorMarcada : kCorTexto);
    grid_.setCellBold(row, col, marcou);
}

void GradeConsulta::somarValorDigitado()
{
    const QString resposta = platform::InputBox(QStringLiteral("Digite o valor:"), QStringLiteral("Soma"));
    data::Centavos valor = 0;
    // An empty, cancelled or non-numeric answer adds nothing.
    if (somaCorrente_ && data::parseMoney(resposta.trimmed(), valor))
        *somaCorrente_ = data::addMoney(*somaCorrente_, valor);
}

void GradeConsulta::mostrarSoma()
{
    if (!somaCorrente_)
        return;
    if (comportamento_.mais == TeclaMais::Marca) {
        const int col = colunas().valor;
        for (int row = 1; row < grid_.Rows(); ++row) {
            grid_.setRow(row);
            grid_.setCol(col);
            if (marcada(row, col))
                *somaCorrente_ = data::addMoney(*somaCorrente_, -*valorDaLinha(row));
        }
    }
    platform::MsgBox(data::formatMoney(*somaCorrente_), platform::vbInformation, QStringLiteral("Total"));
    *somaCorrente_ = 0;
}

} // namespace queries
