// Every window of the program on a laptop's screen: its frame inside the
// screen, and its grids showing their values, numbers and dates whole with
// a wide desktop font; and by the keyboard and a screen reader: every
// control it reaches named, every toolbar window opened.
#include "Janelas.h"
#include "app/frmAnotacao.h"
#include "app/frmPlanCalend.h"
#include "app/frmPrincipal.h"
#include "app/frmSenha.h"
#include "app/frmSobre.h"
#include "app/frmZAlteraSenha.h"
#include "budget/frmOrcamento.h"
#include "budget/frmOrcamentoDomestico.h"
#include "budget/frmPreXReal.h"
#include "budget/frmPrevRel.h"
#include "calculator/frmCalculosFin.h"
#include "cashflow/frmFluxo.h"
#include "cashflow/frmGraficos.h"
#include "entries/frmClassificacao.h"
#include "entries/frmLancar.h"
#include "entries/frmZalteracao.h"
#include "import/frmIntegracao.h"
#include "import/frmZextratosModelo.h"
#include "platform/Accessibility.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmAlterarNaoClass.h"
#include "queries/frmConsConta.h"
#include "queries/frmConsEstr.h"
#include "queries/frmConsHistorico.h"
#include "queries/frmConsValor.h"
#include "queries/frmConsVen.h"
#include "queries/frmConsultaEstr.h"
#include "queries/frmZOrdem.h"
#include "support/Fixtures.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>
#include <QProcess>
#include <QRegularExpression>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolTip>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

// The screens of a laptop, each less a 40-pixel panel, with a window
// manager's frame and its title bar; the application's font as it stands,
// at DejaVu Sans 12 pt, or scaled by 133 % (as a desktop's text scaling
// does); or the whole screen scaled by 133 %, less a 30-pixel panel. (The
// font a user raises through the DPI, which the windows' own fonts follow,
// and 1024 x 600 as it stands, are looked at further down.)
// Every window fits the screens from 1280 x 720 up; on a 1024 x 600 screen
// with a 12-pt font a window may pass the screen (the window manager lets it
// be moved), but no grid cuts what it shows.
struct Tela {
    const char* nome;
    QRect area;
    int pontos;  // the font's size in points; 0 keeps the default
    int escala;  // percent of that size
    bool cabe;   // every window's frame lies inside the screen
};
const QMargins kMoldura(4, 38, 4, 4);
const Tela kTelas[] = {
    {"1366 x 768", QRect(0, 0, 1366, 728), 0, 100, true},
    {"1280 x 720", QRect(0, 0, 1280, 680), 0, 100, true},
    {"1366 x 768, 12 pt", QRect(0, 0, 1366, 728), 12, 100, true},
    {"1366 x 768 a 133 % da fonte", QRect(0, 0, 1366, 728), 0, 133, true},
    {"1366 x 768 a 133 % da tela", QRect(0, 0, 1027, 547), 0, 100, true},
    {"1024 x 600, 12 pt", QRect(0, 0, 1024, 560), 12, 100, false},
};

struct Janela {
    const char* nome;
    std::function<void()> mostrar;
};

template <class T> Janela janela(const char* nome)
{
    return {nome, [] { platform::Forms::show<T>(); }};
}

const std::vector<Janela>& todas()
{
    static const std::vector<Janela> lista{
        janela<frmSenha>("frmSenha"),
        janela<frmAnotacao>("frmAnotacao"),
        janela<frmPlanCalend>("frmPlanCalend"),
        janela<frmZAlteraSenha>("frmZAlteraSenha"),
        janela<frmSobre>("frmSobre"),
        janela<frmClassificacao>("frmClassificacao"),
        janela<frmLancar>("frmLancar"),
        janela<frmZalteracao>("frmZalteracao"),
        janela<frmConsVen>("frmConsVen"),
        janela<frmConsValor>("frmConsValor"),
        janela<frmConsHistorico>("frmConsHistorico"),
        janela<frmConsEstr>("frmConsEstr"),
        janela<frmConsConta>("frmConsConta"),
        janela<frmConsultaEstr>("frmConsultaEstr"),
        janela<frmAlterarNaoClass>("frmAlterarNaoClass"),
        janela<frmZOrdem>("frmZOrdem"),
        janela<frmFluxo>("frmFluxo"),
        janela<frmGraficos>("frmGraficos"),
        janela<frmIntegracao>("frmIntegracao"),
        janela<frmZextratosModelo>("frmZextratosModelo"),
        janela<frmOrcamentoDomestico>("frmOrcamentoDomestico"),
        janela<frmOrcamento>("frmOrcamento"),
        janela<frmPreXReal>("frmPreXReal"),
        janela<frmPrevRel>("frmPrevRel"),
        janela<frmCalculosFin>("frmCalculosFin"),
    };
    return lista;
}

// The widest text each kind of column can show, by its title.
const QHash<QString, QString>& maiores()
{
    static const QHash<QString, QString> m{
        {QStringLiteral("Valor"), QStringLiteral("-9.999.999.999.999,99")},
        {QStringLiteral("VALOR"), QStringLiteral("-9.999.999.999.999,99")},
        {QStringLiteral("Valor Mês"), QStringLiteral("-9.999.999.999.999,99")},
        {QStringLiteral("Valor Ano"), QStringLiteral("-119.999.999.999.999,88")},
        {QStringLiteral("PREVISTO"), QStringLiteral("-119.999.999.999.999,88")},
        {QStringLiteral("REALIZADO"), QStringLiteral("-119.999.999.999.999,88")},
        {QStringLiteral("Positivos"), QStringLiteral("-119.999.999.999.999,88")},
        {QStringLiteral("Vencimento"), QStringLiteral("28/08/2088")},
        {QStringLiteral("Lançamento"), QStringLiteral("28/08/2088")},
        {QStringLiteral("Data"), QStringLiteral("28/08/2088")},
        {QStringLiteral("Data Início"), QStringLiteral("28/08")},
        {QStringLiteral("Número"), QStringLiteral("888888")},
        {QStringLiteral("Núm"), QStringLiteral("888888")},
        {QStringLiteral("ID"), QStringLiteral("888888")},
        {QStringLiteral("Núm. Lanc."), QStringLiteral("888888")},
        {QStringLiteral("Núm.Lanc."), QStringLiteral("888888")},
        {QStringLiteral("Nº Lanc."), QStringLiteral("888888")},
        {QStringLiteral("NUM.DESP."), QStringLiteral("888888")},
    };
    return m;
}

class Janelas : public testsupport::LoggedInFixture {
protected:
    void SetUp() override
    {
        LoggedInFixture::SetUp();
        // Leaving the login dialog ends the program: here it is only noted.
        antigo_ = frmPrincipal::encerrarPrograma;
        frmPrincipal::encerrarPrograma = [] {};
        fonte_ = QApplication::font();
    }
    // The screen and the desktop font of a row.
    void usar(const Tela& tela)
    {
        platform::setAvailableAreaOverride(tela.area);
        QFont fonte = fonte_;
        if (tela.pontos > 0) {
            fonte = QFont(QStringLiteral("DejaVu Sans"));
            fonte.setPointSize(tela.pontos);
        }
        fonte.setPointSizeF(fonte.pointSizeF() * tela.escala / 100);
        QApplication::setFont(fonte);
    }
    void TearDown() override
    {
        platform::setAvailableAreaOverride(QRect());
        QApplication::setFont(fonte_);
        frmPrincipal::encerrarPrograma = antigo_;
        LoggedInFixture::TearDown();
    }

    // Opens each window as the program does and hands it to `olhar`.
    void percorrer(const std::function<void(const char*, platform::Form&)>& olhar)
    {
        for (const Janela& j : todas()) {
            MsgRecorder msgs;
            ModalHook hook;
            bool vista = false;
            hook.on<platform::Form>([&](platform::Form& f) {
                if (!vista) {
                    vista = true;
                    QApplication::processEvents();
                    olhar(j.nome, f);
                }
                f.Unload();
            });
            j.mostrar();
            EXPECT_TRUE(vista) << j.nome;
            platform::Forms::clear();
        }
    }

private:
    QFont fonte_;
    std::function<void()> antigo_;
};

} // namespace

TEST_F(Janelas, EveryWindowOpensWithItsFrameInsideALaptopScreen)
{
    for (const Tela& tela : kTelas) {
    if (!tela.cabe)
        continue;
    SCOPED_TRACE(tela.nome);
    usar(tela);
    percorrer([&tela](const char* nome, platform::Form& f) {
        // The window manager puts the frame where the window asked to be.
        const QRect moldura(f.pos(), f.size().grownBy(kMoldura));
        EXPECT_TRUE(tela.area.contains(moldura)) << nome << ": " << moldura.x() << "," << moldura.y() << " "
                                                 << moldura.width() << "x" << moldura.height();
        // A date box shows a whole date, or its empty mask, in its font.
        for (platform::MaskEdBox* caixa : f.findChildren<platform::MaskEdBox*>()) {
            if (!caixa->isVisibleTo(&f))
                continue;
            QString cheia = caixa->Mask(), vazia = caixa->Mask();
            cheia.replace(QLatin1Char('#'), QLatin1Char('0'));
            vazia.replace(QLatin1Char('#'), QLatin1Char('_'));
            EXPECT_GE(caixa->width(), std::max(platform::boxWidthFor(caixa, cheia), platform::boxWidthFor(caixa, vazia)))
                << nome << " " << caixa->Mask().toStdString();
        }
    });
    // The main window too.
    ModalHook hook;
    hook.on<frmSenha>([](frmSenha& f) { f.Unload(); });
    frmPrincipal& w = platform::Forms::get<frmPrincipal>();
    EXPECT_TRUE(tela.area.contains(QRect(w.pos(), w.size().grownBy(kMoldura))));
    platform::Forms::clear();
    }
}

TEST_F(Janelas, EveryGridShowsItsValuesNumbersAndDatesWholeOnEveryScreen)
{
    for (const Tela& tela : kTelas) {
    SCOPED_TRACE(tela.nome);
    usar(tela);
    int colunas = 0;
    percorrer([&](const char* nome, platform::Form& f) {
        for (platform::FlexGrid* g : f.findChildren<platform::FlexGrid*>()) {
            if (!g->isVisibleTo(&f))
                continue;
            QFont negrito = g->font();
            negrito.setBold(true);
            const QFontMetrics medida(negrito);
            for (int c = 0; c < g->Cols(); ++c) {
                const QString titulo = g->TextMatrix(0, c).trimmed();
                const auto it = maiores().constFind(titulo);
                if (it == maiores().constEnd() || g->ColWidth(c) == 0)
                    continue;
                ++colunas;
                // The widest value it holds, each digit an 8; with none, the
                // widest it can hold.
                QString maior;
                for (int r = 1; r < g->Rows(); ++r)
                    if (g->TextMatrix(r, c).size() > maior.size())
                        maior = g->TextMatrix(r, c);
                maior.replace(QRegularExpression(QStringLiteral("\\d")), QStringLiteral("8"));
                EXPECT_GE(g->ColWidth(c), medida.horizontalAdvance(maior.isEmpty() ? *it : maior) + 6)
                    << nome << " " << titulo.toStdString();
                // In sight, not past the grid's right edge.
                const int direita = g->horizontalHeader()->sectionPosition(c) + g->ColWidth(c);
                EXPECT_LE(direita, g->viewport()->width()) << nome << " " << titulo.toStdString();
            }
        }
    });
    EXPECT_GT(colunas, 20);
    }
}

// Every grid of every window filled as a user sees it: amounts of a few
// thousand reais, dates and numbers, and descriptions longer than a column
// shows. The values stay whole and in sight on every screen; on the laptop
// at the windows' default sizes a description keeps a readable width. The
// charts window shows its group grid, the import window its statement grid.
TEST_F(Janelas, EveryGridOfEveryWindowShowsItsValuesWholeAndItsDescriptionsReadable)
{
    for (const Tela& tela : kTelas) {
    if (!tela.cabe)
        continue;
    SCOPED_TRACE(tela.nome);
    usar(tela);
    const bool laptop = QString::fromUtf8(tela.nome) == QStringLiteral("1366 x 768");
    int descricoes = 0;
    percorrer([&](const char* nome, platform::Form& f) {
        if (auto* graficos = qobject_cast<frmGraficos*>(&f)) {
            graficos->optGrupoContas->click();
            graficos->GraficoPequeno();
        }
        for (platform::FlexGrid* g : f.findChildren<platform::FlexGrid*>()) {
            if (!g->isVisibleTo(&f))
                continue;
            g->setRows(13);
            std::vector<QString> valores(size_t(g->Cols()));
            for (int c = 0; c < g->Cols(); ++c) {
                const QString maior = g->colWidest(c);
                valores[size_t(c)] = maior.isEmpty() ? QString()
                                     : maior.size() <= 10 ? maior
                                                          : QStringLiteral("-22.949,03");
                for (int r = 1; r < g->Rows(); ++r)
                    g->setTextMatrix(r, c, maior.isEmpty() && g->ColWidth(c) > 0
                                               ? QStringLiteral("PAGTO ELETRON COBRANCA SUPERMERCADO BOM PRECO")
                                               : valores[size_t(c)]);
            }
            QApplication::processEvents();
            QFont negrito = g->font();
            negrito.setBold(true);
            const QFontMetrics medida(negrito);
            for (int c = 0; c < g->Cols(); ++c) {
                const QString titulo = g->TextMatrix(0, c).trimmed();
                if (g->ColWidth(c) == 0)
                    continue;
                if (!valores[size_t(c)].isEmpty()) {
                    EXPECT_GE(g->ColWidth(c), medida.horizontalAdvance(valores[size_t(c)]) + 6)
                        << nome << " " << titulo.toStdString();
                    const int direita = g->horizontalHeader()->sectionPosition(c) + g->ColWidth(c);
                    EXPECT_LE(direita, g->viewport()->width()) << nome << " " << titulo.toStdString();
                } else if (laptop && g->leastWidth(c) < g->readableWidth(c)) {
                    // A description that gives way keeps a readable width.
                    ++descricoes;
                    EXPECT_GE(g->ColWidth(c), g->readableWidth(c)) << nome << " " << titulo.toStdString();
                }
            }
        }
    });
    if (laptop) {
        EXPECT_GT(descricoes, 8);
    }
    }
}

namespace {
// The screens as a user has them, every font of every window following the
// desktop's: the default font and the font raised as a low-vision user
// raises it (171 DPI with scaling off: the default font at 16 pt) on
// 1366 x 768, and the default font on 1024 x 600. Qt reads the DPI once, at start: each screen is
// looked at by a test program of its own.
struct TelaDoUsuario {
    const char* nome;
    QRect area;
    const char* dpi;  // nullptr keeps the screen's
};
const TelaDoUsuario kTelasDoUsuario[] = {
    {"1366 x 768", QRect(0, 0, 1366, 728), nullptr},
    {"1366 x 768, 16 pt", QRect(0, 0, 1366, 728), "171"},
    {"1024 x 600", QRect(0, 0, 1024, 560), nullptr},
};
const char* const kTelaDoFilho = "VORSAL_TESTE_TELA";
const QString kDescricaoLonga =
    QStringLiteral("PAGTO ELETRON COBRANCA SUPERMERCADO BOM PRECO LTDA FILIAL CENTRO 000123");

// The width a text takes in a font, each digit as wide as an 8.
int larguraDe(const QFont& fonte, QString texto)
{
    texto.replace(QRegularExpression(QStringLiteral("\\d")), QStringLiteral("8"));
    return QFontMetrics(fonte).horizontalAdvance(texto);
}

// The window as it stands inside the screen, each grid filled with its
// widest values and longest descriptions and each result with its largest
// value, all of them whole and in sight.
void olharInteira(const char* nome, QWidget& f, const QRect& area)
{
    const QRect moldura(f.pos(), f.size().grownBy(kMoldura));
    const QString onde = QStringLiteral("%1,%2 %3x%4").arg(moldura.x()).arg(moldura.y()).arg(moldura.width()).arg(moldura.height());
    ::testing::Test::RecordProperty(nome, onde.toStdString());
    EXPECT_TRUE(area.contains(moldura)) << nome << ": " << onde.toStdString();
    for (platform::FlexGrid* g : f.findChildren<platform::FlexGrid*>()) {
        if (!g->isVisibleTo(&f))
            continue;
        // A grid too short for its least rows makes the window scroll instead.
        EXPECT_GE(g->fullyVisibleRowCount(), platform::FlexGrid::kLeastRows) << nome << " " << g->accessibleName().toStdString();
        g->setRows(13);
        for (int c = 0; c < g->Cols(); ++c)
            for (int r = 1; r < g->Rows(); ++r)
                g->setTextMatrix(r, c, g->colWidest(c).isEmpty() ? kDescricaoLonga : g->colWidest(c));
        QApplication::processEvents();
        EXPECT_EQ(g->textElideMode(), Qt::ElideRight) << nome;
        QFont negrito = g->font();
        negrito.setBold(true);
        for (int c = 0; c < g->Cols(); ++c) {
            if (g->colWidest(c).isEmpty() || g->ColWidth(c) == 0)
                continue;
            const std::string titulo = g->TextMatrix(0, c).trimmed().toStdString();
            EXPECT_GE(g->ColWidth(c), larguraDe(negrito, g->colWidest(c)) + 6) << nome << " " << titulo;
            const int direita = g->horizontalHeader()->sectionPosition(c) + g->ColWidth(c);
            EXPECT_LE(direita, g->viewport()->width()) << nome << " " << titulo;
        }
        // A description cut short leaves no room empty beside it.
        int ocupado = 0;
        bool cortada = false;
        for (int c = 0; c < g->Cols(); ++c) {
            ocupado += g->ColWidth(c);
            cortada = cortada || (g->colWidest(c).isEmpty() && g->ColWidth(c) > 0 && g->leastWidth(c) < g->readableWidth(c) &&
                                  g->ColWidth(c) < larguraDe(negrito, kDescricaoLonga));
        }
        if (cortada) {
            EXPECT_GE(ocupado, g->viewport()->width() - 1) << nome;
        }
    }
    for (QLabel* l : f.findChildren<QLabel*>()) {
        if (!platform::isResult(*l) || !l->isVisibleTo(&f))
            continue;
        l->setText(platform::resultWidest(*l));
        QApplication::processEvents();
        EXPECT_GE(l->contentsRect().width(), larguraDe(l->font(), l->text()))
            << nome << " " << l->accessibleName().toStdString() << " " << l->text().toStdString();
    }
}
} // namespace

TEST_F(Janelas, EveryWindowFitsAndShowsItsValuesWholeAsAUserSetsTheScreen)
{
    const QString filho = qEnvironmentVariable(kTelaDoFilho);
    if (filho.isEmpty()) {
        const QString teste = QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        for (const TelaDoUsuario& tela : kTelasDoUsuario) {
            QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
            ambiente.insert(QString::fromLatin1(kTelaDoFilho), QString::fromUtf8(tela.nome));
            ambiente.remove(QStringLiteral("QT_FONT_DPI"));
            if (tela.dpi) {
                ambiente.insert(QStringLiteral("QT_FONT_DPI"), QString::fromLatin1(tela.dpi));
                ambiente.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
            }
            QProcess programa;
            programa.setProcessEnvironment(ambiente);
            programa.setProcessChannelMode(QProcess::MergedChannels);
            programa.start(QCoreApplication::applicationFilePath(),
                           {QStringLiteral("--gtest_filter=Janelas.") + teste});
            ASSERT_TRUE(programa.waitForFinished(-1)) << tela.nome;
            const QByteArray saida = programa.readAll();
            EXPECT_EQ(programa.exitStatus(), QProcess::NormalExit) << tela.nome;
            EXPECT_EQ(programa.exitCode(), 0) << tela.nome << "\n" << saida.toStdString();
            EXPECT_TRUE(saida.contains("[  PASSED  ] 1 test")) << tela.nome;
        }
        return;
    }
    const TelaDoUsuario* tela = nullptr;
    for (const TelaDoUsuario& t : kTelasDoUsuario)
        if (filho == QString::fromUtf8(t.nome))
            tela = &t;
    ASSERT_TRUE(tela);
    SCOPED_TRACE(tela->nome);
    platform::setAvailableAreaOverride(tela->area);
    if (tela->dpi) {
        // The font the program starts with, raised by the DPI.
        EXPECT_GE(QFontInfo(QApplication::font()).pixelSize(), 21);
    }
    percorrer([&](const char* nome, platform::Form& f) {
        olharInteira(nome, f, tela->area);
        // The planned-versus-actual totals stand under their columns.
        if (auto* p = qobject_cast<frmPreXReal*>(&f)) {
            const std::pair<QLabel*, int> totais[] = {
                {p->txtTotalPrev, 2}, {p->txtTotalReal, 3}, {p->txtTotalDiferenca, 4}, {p->txtTotalDifPerc, 5}};
            for (const auto& [total, coluna] : totais) {
                const int x = p->flxConsulta->horizontalHeader()->sectionViewportPosition(coluna);
                EXPECT_NEAR(total->mapTo(p, QPoint()).x(), p->flxConsulta->viewport()->mapTo(p, QPoint(x, 0)).x(), 2)
                    << total->accessibleName().toStdString();
            }
        }
        // The charts window with its groups beside the chart.
        if (auto* graficos = qobject_cast<frmGraficos*>(&f)) {
            graficos->optGrupoContas->click();
            graficos->GraficoPequeno();
            QApplication::processEvents();
            olharInteira("frmGraficos (Grupo de Contas)", f, tela->area);
        }
        // With the font raised, the statement is still read to classify it:
        // its descriptions keep a readable width, no column out of sight.
        if (auto* integracao = qobject_cast<frmIntegracao*>(&f); integracao && tela->dpi) {
            const platform::FlexGrid& extrato = *integracao->flxExtrato;
            EXPECT_GE(extrato.ColWidth(1), extrato.readableWidth(1));
            EXPECT_EQ(extrato.horizontalScrollBar()->maximum(), 0);
        }
    });
    ModalHook hook;
    hook.on<frmSenha>([](frmSenha& f) { f.Unload(); });
    frmPrincipal& w = platform::Forms::get<frmPrincipal>();
    olharInteira("frmPrincipal", w, tela->area);
    platform::Forms::clear();
}

namespace {
// The controls of a window the keyboard reaches, each with the name a
// screen reader says.
struct Controle {
    QWidget* w;
    QString nome;
};

std::vector<Controle> controlesFocaveis(QWidget& janela)
{
    std::vector<Controle> r;
    for (QWidget* w : janela.findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(&janela) || w->focusProxy())
            continue;
        // The inner parts of a box or a grid are spoken as the box.
        if (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        r.push_back({w, a ? a->text(QAccessible::Name).trimmed() : QString()});
    }
    return r;
}

// What a screen reader says of a control: its name, or for a drop-down
// list (whose name is its value) the caption it is labelled by. A box named
// by the title of the frame around it is not named by its own caption.
bool nomeCerto(const Controle& c)
{
    if (auto* lista = qobject_cast<QComboBox*>(c.w)) {
        for (const auto& [rotulo, relacao] : QAccessible::queryAccessibleInterface(lista)->relations(QAccessible::Label))
            if (qobject_cast<QLabel*>(rotulo->object()) && !rotulo->text(QAccessible::Name).trimmed().isEmpty())
                return true;
        return false;
    }
    if (c.nome.isEmpty())
        return false;
    if (qobject_cast<QAbstractItemView*>(c.w))
        return true;
    auto* quadro = qobject_cast<QGroupBox*>(c.w->parentWidget());
    return !quadro || quadro->title() != c.nome;
}
} // namespace

TEST_F(Janelas, EveryControlTheKeyboardReachesSaysItsName)
{
    auto olhar = [](const char* nome, const std::vector<Controle>& cs) {
        for (const Controle& c : cs)
            EXPECT_TRUE(nomeCerto(c)) << nome << " " << c.w->metaObject()->className() << " ["
                                      << c.nome.toStdString() << "]";
    };
    percorrer([&](const char* nome, platform::Form& f) { olhar(nome, controlesFocaveis(f)); });
    ModalHook hook;
    hook.on<frmSenha>([](frmSenha& f) { f.Unload(); });
    frmPrincipal& w = platform::Forms::get<frmPrincipal>();
    w.preencherMesesAnos();
    w.Montar_Calendario();
    // The toolbar and the days are one Tab stop each; all their members count.
    std::vector<Controle> cs = controlesFocaveis(w);
    for (QAction* a : w.Toolbar1->actions())
        cs.push_back({w.Toolbar1->widgetForAction(a), QString()});
    for (DiaCalendario* d : w.D)
        cs.push_back({d, QString()});
    for (Controle& c : cs)
        c.nome = QAccessible::queryAccessibleInterface(c.w)->text(QAccessible::Name).trimmed();
    EXPECT_EQ(cs.size(), 3u + 1 + 1 + 15 + 42);
    olhar("frmPrincipal", cs);
}

// What a window computes is heard: each result is a read-only field that
// Tab reaches, named by its caption, whose value is what it shows; a
// drop-down list says its value, as a text, besides its caption; and a box
// says what it shows, whole.
TEST_F(Janelas, EveryResultAndEveryListSaysItsValue)
{
    const QHash<QString, QStringList> resultados{
        {QStringLiteral("frmCalculosFin"), {QStringLiteral("O Valor de cada PARCELA será de R$")}},
        {QStringLiteral("frmFluxo"), {QStringLiteral("Saldo Final"), QStringLiteral("Menores saldos")}},
        {QStringLiteral("frmGraficos"), {QStringLiteral("Total %"), QStringLiteral("Total R$")}},
        {QStringLiteral("frmConsVen"), {QStringLiteral("Lançamentos listados"), QStringLiteral("Total R$")}},
        {QStringLiteral("frmConsValor"), {QStringLiteral("Lançamentos listados"), QStringLiteral("Total R$")}},
        {QStringLiteral("frmConsHistorico"), {QStringLiteral("Lançamentos listados"), QStringLiteral("Total R$")}},
        {QStringLiteral("frmConsConta"), {QStringLiteral("Lançamentos listados"), QStringLiteral("Total R$")}},
        {QStringLiteral("frmConsultaEstr"), {QStringLiteral("Lançamentos listados"), QStringLiteral("Total R$")}},
        {QStringLiteral("frmAlterarNaoClass"), {QStringLiteral("Lançamentos listados"), QStringLiteral("Total R$")}},
        {QStringLiteral("frmConsEstr"),
         {QStringLiteral("Lançamentos listados"), QStringLiteral("Total R$"), QStringLiteral("Média"),
          QStringLiteral("Maior"), QStringLiteral("Menor")}},
        {QStringLiteral("frmOrcamento"),
         {QStringLiteral("Total das Despesas R$"), QStringLiteral("Total das Entradas R$"), QStringLiteral("Saldo R$")}},
        {QStringLiteral("frmOrcamentoDomestico"),
         {QStringLiteral("Total Entradas (ano) R$"), QStringLiteral("Total Saídas (ano) R$"),
          QStringLiteral("Saldo Final (ano) R$")}},
        {QStringLiteral("frmPreXReal"),
         {QStringLiteral("Total previsto"), QStringLiteral("Total realizado"), QStringLiteral("Total da diferença R$"),
          QStringLiteral("Total da diferença %")}},
    };
    int listas = 0, caixas = 0;
    percorrer([&](const char* nome, platform::Form& f) {
        QStringList ouvidos;
        for (QLabel* l : f.findChildren<QLabel*>()) {
            if (!platform::isResult(*l))
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(l);
            const QString nomeFalado = a->text(QAccessible::Name);
            ouvidos << nomeFalado.section(QLatin1Char(','), 0, 0);
            EXPECT_TRUE(l->focusPolicy() & Qt::TabFocus) << nome << " " << nomeFalado.toStdString();
            EXPECT_EQ(a->role(), QAccessible::EditableText) << nome;
            EXPECT_TRUE(a->state().readOnly) << nome;
            l->setText(QStringLiteral("-1.234,56"));
            EXPECT_EQ(a->text(QAccessible::Value), l->text()) << nome << " " << nomeFalado.toStdString();
            ASSERT_TRUE(a->textInterface()) << nome;
            EXPECT_EQ(a->textInterface()->text(0, a->textInterface()->characterCount()), l->text()) << nome;
            // A reader reads a line run of attributes by run: one run holds it all.
            int inicio = -1, fim = -1;
            a->textInterface()->attributes(2, &inicio, &fim);
            EXPECT_EQ(fim - inicio, l->text().size()) << nome;
        }
        for (const QString& esperado : resultados.value(QString::fromLatin1(nome)))
            EXPECT_TRUE(ouvidos.contains(esperado)) << nome << " " << esperado.toStdString();
        // A box is heard whole as it shows it, whatever part of its line the
        // reader asks for: a password as its marks.
        for (QLineEdit* caixa : f.findChildren<QLineEdit*>()) {
            if (!caixa->isVisibleTo(&f) || qobject_cast<QComboBox*>(caixa->parentWidget()) ||
                qobject_cast<QAbstractSpinBox*>(caixa->parentWidget()))
                continue;
            ++caixas;
            caixa->setText(caixa->inputMask().isEmpty() ? QStringLiteral("43200,00") : QStringLiteral("12/03/2024"));
            caixa->end(false);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(caixa);
            ASSERT_TRUE(a && a->textInterface()) << nome;
            QAccessibleTextInterface* t = a->textInterface();
            const QString mostrado = caixa->displayText();
            EXPECT_EQ(a->text(QAccessible::Value), mostrado) << nome;
            EXPECT_EQ(t->text(0, t->characterCount()), mostrado) << nome;
            int inicio = 0, fim = 0;
            for (int onde : {0, t->cursorPosition(), t->characterCount()})
                EXPECT_EQ(t->textAtOffset(onde, QAccessible::LineBoundary, &inicio, &fim), mostrado) << nome << " " << onde;
            EXPECT_EQ(a->state().passwordEdit, caixa->echoMode() != QLineEdit::Normal) << nome;
            if (caixa->echoMode() != QLineEdit::Normal) {
                EXPECT_FALSE(a->text(QAccessible::Value).contains(QLatin1Char('4'))) << nome;
            }
        }
        for (QComboBox* c : f.findChildren<QComboBox*>()) {
            if (c->isEditable() || !c->isVisibleTo(&f) || c->count() == 0)
                continue;
            ++listas;
            c->setCurrentIndex(c->count() - 1);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
            EXPECT_EQ(a->role(), QAccessible::ComboBox) << nome;
            EXPECT_EQ(a->text(QAccessible::Value), c->currentText()) << nome;
            ASSERT_TRUE(a->textInterface()) << nome;
            EXPECT_EQ(a->textInterface()->text(0, a->textInterface()->characterCount()), c->currentText()) << nome;
            EXPECT_NE(a->text(QAccessible::Name), c->currentText()) << nome;
        }
    });
    EXPECT_GT(listas, 10);
    EXPECT_GT(caixas, 30);
}

// From the reminders, Tab reaches the toolbar; the arrows go along it and
// Enter opens each button's window.
TEST_F(Janelas, EveryToolbarWindowOpensFromTheKeyboard)
{
    registrarJanelas();
    ModalHook hook;
    hook.on<frmSenha>([](frmSenha& f) { f.Unload(); });
    frmPrincipal& w = platform::Forms::get<frmPrincipal>();
    hook.shown.clear();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    // As the keyboard does: the release goes where the press sent the focus.
    auto tecla = [&w](Qt::Key k) {
        QTest::keyPress(w.focusWidget(), k);
        QTest::keyRelease(w.focusWidget(), k);
    };
    w.lstAnotacoes->setFocus();
    tecla(Qt::Key_Tab);
    std::vector<QString> esperadas;
    for (QAction* a : w.Toolbar1->actions()) {
        QWidget* botao = w.focusWidget();
        ASSERT_EQ(botao, w.Toolbar1->widgetForAction(a)) << a->toolTip().toStdString();
        // The key that brought the focus shows the tool tip, as the pointer
        // resting on the button would.
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), a->toolTip());
        if (a->data().toString() != QLatin1String("J")) {
            esperadas.push_back(a->property("janela").toString());
            tecla(esperadas.size() % 2 ? Qt::Key_Return : Qt::Key_Space);
            QApplication::setActiveWindow(&w);
        }
        tecla(Qt::Key_Right);
    }
    EXPECT_EQ(hook.shown, esperadas);
    EXPECT_EQ(esperadas.size(), 14u);
}
