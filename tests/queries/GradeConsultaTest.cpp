// The grid behaviours every query window shares, on a bare grid.
#include "data/Collation.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/formats.h"
#include "queries/GradeConsulta.h"
#include "support/Fixtures.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using namespace queries;
using testsupport::MsgRecorder;

namespace {

data::LinhaConsulta linha(std::int64_t numLan, const char* dataVen, const char* referente, data::Centavos valor,
                    const char* despesa = "1")
{
    data::LinhaConsulta l;
    l.numLan = numLan;
    l.dataVen = data::textoData(QString::fromLatin1(dataVen));
    l.dataLan = l.dataVen;
    l.vencimento = QString::fromLatin1(dataVen).remove(u'-').toInt();
    l.referente = QString::fromUtf8(referente);
    l.valor = valor;
    l.despesa = QString::fromLatin1(despesa);
    l.filtro = QStringLiteral("A");
    return l;
}

// A grid with its two labels, as a window holds them.
struct Tela {
    explicit Tela(Comportamento c, std::function<void()> consultar = {})
    {
        auto* layout = new QVBoxLayout(&janela);
        grid = new platform::FlexGrid(&janela);
        txtLanc = new QLabel(&janela);
        txtSaldo2 = new QLabel(&janela);
        layout->addWidget(grid);
        layout->addWidget(txtLanc);
        layout->addWidget(txtSaldo2);
        grade = new GradeConsulta(*grid, txtLanc, txtSaldo2, c,
                                  [this, consultar] {
                                      ++consultas;
                                      if (consultar)
                                          consultar();
                                  },
                                  &soma, &janela);
        grade->setNomes({{1, QStringLiteral("Supermercado")}, {2, QStringLiteral("Padaria")}});
    }

    void tecla(Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier)
    {
        QKeyEvent e(QEvent::KeyPress, key, mod);
        grade->teclaPressionada(&e);
    }

    QWidget janela;
    platform::FlexGrid* grid;
    QLabel* txtLanc;
    QLabel* txtSaldo2;
    GradeConsulta* grade;
    data::Centavos soma = 0;
    int consultas = 0;
};

Comportamento comportamentoC()
{
    Comportamento c;
    c.layout = LayoutGrade::C;
    c.teclaDelete = true;
    c.mais = TeclaMais::SomaValor;
    c.teclaInsert = true;
    c.teclaSoma = Qt::Key_F12;
    c.previsaoAzul = true;
    return c;
}

} // namespace

TEST(GradeConsulta, HeadersOfTheThreeLayouts)
{
    const struct {
        LayoutGrade layout;
        QStringList titulos;
    } casos[] = {
        {LayoutGrade::A, {"Núm. Lanc.", "Lançamento", "Vencimento", "Referente", "Valor"}},
        {LayoutGrade::B, {"Núm.Lanc.", "Vencimento", "Filtro", "Classificação", "Referente", "Valor"}},
        {LayoutGrade::C, {"Núm. Lanc.", "Vencimento", "Classificação", "Referente", "Valor"}},
    };
    for (const auto& caso : casos) {
        Comportamento c;
        c.layout = caso.layout;
        Tela t(c);
        t.grade->limpar();
        ASSERT_EQ(t.grid->Cols(), caso.titulos.size());
        for (int col = 0; col < t.grid->Cols(); ++col)
            EXPECT_EQ(t.grid->TextMatrix(0, col).trimmed(), caso.titulos[col]);
        // The largest amount an entry holds is shown whole, sign included.
        EXPECT_GT(t.grid->ColWidth(colunasDe(caso.layout).valor),
                  t.grid->fontMetrics().horizontalAdvance(QStringLiteral("-9.999.999.999.999,99")));
    }
    EXPECT_TRUE(cabecalhoDe(LayoutGrade::C).contains(QStringLiteral("|Referente") + QString(82, u' ') + u'|'));
}

TEST(GradeConsulta, FillsCellsCountTotalAndColours)
{
    Tela t(comportamentoC());
    t.grade->preencher({linha(7, "2024-03-01", "Mercado", -123456), linha(12, "2024-03-02", "conta de luz previsão", -5000),
                        linha(1234567, "2024-03-03", "Salário", 500000, "99")});

    ASSERT_EQ(t.grid->Rows(), 4);
    EXPECT_EQ(t.grid->TextMatrix(1, 0), "000007");
    EXPECT_EQ(t.grid->TextMatrix(1, 1), "01/03/2024");
    EXPECT_EQ(t.grid->TextMatrix(1, 2), "Supermercado");
    EXPECT_EQ(t.grid->TextMatrix(1, 3), "Mercado");
    EXPECT_EQ(t.grid->TextMatrix(1, 4), "-1.234,56");
    EXPECT_EQ(t.grid->TextMatrix(3, 0), "1234567");
    // A code without a row in the plan shows an empty classification.
    EXPECT_EQ(t.grid->TextMatrix(3, 2), "");
    EXPECT_EQ(t.txtLanc->text(), "3 Lançamento(s)");
    EXPECT_EQ(t.txtSaldo2->text(), "3.715,44");
    EXPECT_TRUE(t.grid->isEnabled());

    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(t.grid->cellBackColor(1, col), QColor(255, 255, 255));
        EXPECT_EQ(t.grid->cellBackColor(2, col), QColor(225, 255, 255));
    }
    // Only the description of the forecast is blue, whatever its case.
    EXPECT_EQ(t.grid->cellForeColor(2, 3), QColor(0, 0, 255));
    EXPECT_EQ(t.grid->cellForeColor(2, 4), QColor(0, 0, 0));
    EXPECT_EQ(t.grid->cellForeColor(1, 3), QColor(0, 0, 0));
}

TEST(GradeConsulta, NothingFoundLeavesHeaderDisabledGridAndZeroes)
{
    Tela t(comportamentoC());
    t.grade->preencher({linha(1, "2024-03-01", "x", -100)});
    t.grade->preencher({});
    EXPECT_EQ(t.grid->Rows(), 1);
    EXPECT_FALSE(t.grid->isEnabled());
    EXPECT_EQ(t.txtLanc->text(), "0 Lançamento(s)");
    EXPECT_EQ(t.txtSaldo2->text(), "0,00");

    Comportamento estr;
    estr.layout = LayoutGrade::A;
    estr.contagemVaziaEmBranco = true;
    Tela e(estr);
    e.grade->preencher({});
    EXPECT_EQ(e.txtLanc->text(), "");
    e.grade->preencher({linha(1, "2024-03-01", "x", -100)});
    EXPECT_EQ(e.txtLanc->text(), "1 Lançamento(s)");
}

TEST(GradeConsulta, ScrollsToTheLastRowBeyondTwentySevenRows)
{
    Comportamento c;
    c.layout = LayoutGrade::A;
    c.rolarAcimaDe = 27;
    Tela t(c);
    t.janela.resize(600, 220);
    t.janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.janela));

    std::vector<data::LinhaConsulta> linhas;
    for (int i = 1; i <= 26; ++i)
        linhas.push_back(linha(i, "2024-03-01", "x", -100));
    t.grade->preencher(linhas);
    EXPECT_EQ(t.grid->Rows(), 27);
    EXPECT_EQ(t.grid->TopRow(), 1);

    linhas.push_back(linha(27, "2024-03-01", "x", -100));
    t.grade->preencher(linhas);
    EXPECT_EQ(t.grid->Rows(), 28);
    EXPECT_GT(t.grid->TopRow(), 1);

    Comportamento semRolar = comportamentoC();
    Tela v(semRolar);
    v.janela.resize(600, 220);
    v.janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v.janela));
    v.grade->preencher(linhas);
    EXPECT_EQ(v.grid->TopRow(), 1);
}

TEST(GradeConsulta, MonthlySubtotalsGroupByYearAndMonth)
{
    Comportamento c;
    c.layout = LayoutGrade::A;
    c.subtotalNegativoVermelho = true;
    Tela t(c);
    // Three runs: January 2024, January 2025 (directly after), February 2025.
    t.grade->preencherComSubtotais({linha(1, "2024-01-10", "a", -1000), linha(2, "2024-01-20", "b", -500),
                                    linha(3, "2025-01-05", "c", 2000), linha(4, "2025-02-01", "d", -300)});

    ASSERT_EQ(t.grid->Rows(), 4 + 3 + 1);
    const struct {
        int row;
        QString numLan, referente, valor;
    } esperado[] = {
        {1, "000001", "a", "-10,00"}, {2, "000002", "b", "-5,00"}, {3, "", "Janeiro/24", "-15,00"},
        {4, "000003", "c", "20,00"},  {5, "", "Janeiro/25", "20,00"}, {6, "000004", "d", "-3,00"},
        {7, "", "Fevereiro/25", "-3,00"},
    };
    for (const auto& e : esperado) {
        EXPECT_EQ(t.grid->TextMatrix(e.row, 0), e.numLan) << e.row;
        EXPECT_EQ(t.grid->TextMatrix(e.row, 3), e.referente) << e.row;
        EXPECT_EQ(t.grid->TextMatrix(e.row, 4), e.valor) << e.row;
    }
    for (int col = 0; col < 5; ++col) {
        EXPECT_TRUE(t.grid->cellBold(3, col));
        EXPECT_EQ(t.grid->cellBackColor(3, col), QColor(225, 255, 255));
    }
    // Entry rows keep no background of their own.
    EXPECT_EQ(t.grid->cellBackColor(2, 0), QColor(255, 255, 255));
    EXPECT_FALSE(t.grid->cellBold(2, 0));
    // A negative month in red, but never the last month's.
    EXPECT_EQ(t.grid->cellForeColor(3, 4), QColor(255, 0, 0));
    EXPECT_EQ(t.grid->cellForeColor(5, 4), QColor(0, 0, 0));
    EXPECT_EQ(t.grid->cellForeColor(7, 4), QColor(0, 0, 0));
    EXPECT_EQ(t.txtSaldo2->text(), "2,00");
}

TEST(GradeConsulta, SubtotalsOfDecemberAndJanuaryCarryEachYear)
{
    Comportamento c;
    c.layout = LayoutGrade::B;
    Tela t(c);
    t.grade->preencherComSubtotais({linha(1, "2023-12-31", "a", -100), linha(2, "2024-01-01", "b", -200)});
    ASSERT_EQ(t.grid->Rows(), 5);
    EXPECT_EQ(t.grid->TextMatrix(2, 4), "Dezembro/23");
    EXPECT_EQ(t.grid->TextMatrix(4, 4), "Janeiro/24");
    // Without the red rule a negative subtotal keeps the default colour.
    EXPECT_EQ(t.grid->cellForeColor(2, 5), QColor(0, 0, 0));
    EXPECT_EQ(contarMeses({linha(1, "2023-12-31", "a", 0), linha(2, "2024-01-01", "b", 0)}), 2);
}

TEST(GradeConsulta, PlusAddsRowValuesAndSumKeyShowsAndResets)
{
    MsgRecorder msgs;
    Tela t(comportamentoC());
    t.grade->preencher({linha(1, "2024-03-01", "a", -5000), linha(2, "2024-03-02", "b", -3000)});
    for (int row : {1, 2}) {
        t.grid->setRow(row);
        t.tecla(Qt::Key_Plus, Qt::KeypadModifier);
    }
    // The "+" of the main keyboard is not the summing key.
    t.tecla(Qt::Key_Plus);
    t.tecla(Qt::Key_F12);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "80,00");
    EXPECT_EQ(msgs.last().title, "Total");
    EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
    t.tecla(Qt::Key_F12);
    EXPECT_EQ(msgs.last().text, "0,00");
}

TEST(GradeConsulta, InsertAddsTypedValueAndIgnoresWhatIsNotANumber)
{
    MsgRecorder msgs;
    Tela t(comportamentoC());
    t.soma = 1000;
    const struct {
        QString resposta;
        data::Centavos depois;
    } casos[] = {
        {"12,5", 2250}, {"", 2250}, {"abc", 2250}, {"1.000,25", 102275}, {"-2", 102075}, {",", 102075},
    };
    for (const auto& caso : casos) {
        msgs.answerInput(caso.resposta);
        t.tecla(Qt::Key_Insert);
        EXPECT_EQ(t.soma, caso.depois) << caso.resposta.toStdString();
    }
    ASSERT_FALSE(msgs.inputs.empty());
    EXPECT_EQ(msgs.inputs.back().prompt, "Digite o valor:");
    EXPECT_EQ(msgs.inputs.back().title, "Soma");
    EXPECT_TRUE(msgs.calls.empty());
}

TEST(GradeConsulta, MarkingTogglesCellsAndSumCountsMarkedValuesOnly)
{
    MsgRecorder msgs;
    Comportamento c;
    c.layout = LayoutGrade::B;
    c.mais = TeclaMais::Marca;
    c.teclaInsert = true;
    c.teclaSoma = Qt::Key_F12;
    Tela t(c);
    t.grade->preencher({linha(1, "2024-03-01", "a", -1000), linha(2, "2024-03-02", "b", 400),
                        linha(3, "2024-03-03", "c", -7000)});
    auto marcar = [&](int row, int col) {
        t.grid->setRow(row);
        t.grid->setCol(col);
        t.tecla(Qt::Key_Plus, Qt::KeypadModifier);
    };
    marcar(1, 5);
    EXPECT_EQ(t.grid->cellForeColor(1, 5), QColor(255, 0, 0));
    EXPECT_TRUE(t.grid->cellBold(1, 5));
    marcar(2, 5);
    marcar(3, 4);  // a description: does not count
    marcar(3, 5);
    marcar(3, 5);  // unmarked again
    EXPECT_EQ(t.grid->cellForeColor(3, 5), QColor(0, 0, 0));
    EXPECT_FALSE(t.grid->cellBold(3, 5));

    t.tecla(Qt::Key_F12);
    // -(-10) - 4 = 6
    EXPECT_EQ(msgs.last().text, "6,00");
    EXPECT_EQ(t.grid->Row(), 3);
    EXPECT_EQ(t.grid->Col(), 5);
    EXPECT_EQ(t.soma, 0);
}

TEST(GradeConsulta, MarkedSumIsExactCentavosAndCountsAMarkedSubtotalRow)
{
    MsgRecorder msgs;
    Comportamento c;
    c.layout = LayoutGrade::B;
    c.mais = TeclaMais::Marca;
    c.teclaSoma = Qt::Key_F12;
    Tela t(c);
    const int colValor = colunasDe(LayoutGrade::B).valor;
    auto marcar = [&](int row) {
        t.grid->setRow(row);
        t.grid->setCol(colValor);
        t.tecla(Qt::Key_Plus, Qt::KeypadModifier);
    };

    // 0,10 + 0,20 + ... + 200,00 over two thousand marked rows.
    std::vector<data::LinhaConsulta> muitas;
    for (int i = 1; i <= 2000; ++i)
        muitas.push_back(linha(i, "2024-03-01", "a", -10 * i));
    t.grade->preencher(muitas);
    for (int row = 1; row <= 2000; ++row)
        marcar(row);
    t.tecla(Qt::Key_F12);
    EXPECT_EQ(msgs.last().text, "200.100,00");

    // A month's subtotal marked with three entries of the next month: summed
    // as double the largest amounts lose the last centavo (",95").
    std::vector<data::LinhaConsulta> linhas;
    for (int i = 1; i <= 9; ++i)
        linhas.push_back(linha(i, "2024-03-01", "grande", -999'999'999'999'999));
    for (int i = 10; i <= 12; ++i)
        linhas.push_back(linha(i, "2024-04-01", "pequeno", -1));
    t.grade->preencherComSubtotais(linhas);
    const int subtotalMarco = 10;
    EXPECT_EQ(t.grade->numLanDaLinha(subtotalMarco), 0);
    EXPECT_EQ(t.grade->valorDaLinha(subtotalMarco), -8'999'999'999'999'991);
    EXPECT_EQ(t.grade->numLanDaLinha(subtotalMarco + 1), 10);
    for (int row : {subtotalMarco, 11, 12, 13})
        marcar(row);
    EXPECT_TRUE(t.grade->marcada(subtotalMarco, colValor));
    t.tecla(Qt::Key_F12);
    EXPECT_EQ(msgs.last().text, "89.999.999.999.999,94");
}

TEST(GradeConsulta, RightButtonShowsTheWeekdayOfTheDueDate)
{
    MsgRecorder msgs;
    const struct {
        LayoutGrade layout;
        int coluna;
    } casos[] = {{LayoutGrade::A, 2}, {LayoutGrade::B, 1}, {LayoutGrade::C, 1}};
    for (const auto& caso : casos) {
        Comportamento c;
        c.layout = caso.layout;
        c.diaDaSemana = true;
        Tela t(c);
        t.grade->preencher({linha(1, "2024-03-15", "a", -100)});
        t.grid->setRow(1);
        t.grade->mostrarDiaSemana();
        EXPECT_EQ(t.grid->TextMatrix(1, caso.coluna), "15/03/2024");
        EXPECT_EQ(msgs.last().text, QStringLiteral("15/03/2024") + QChar(13) + QStringLiteral("sexta-feira"));
        EXPECT_EQ(msgs.last().title, "Dia da Semana");
        EXPECT_EQ(msgs.last().icon(), platform::vbInformation);
    }
}

class GradeConsultaBanco : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& ven = {2024, 3, 10})
    {
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven;
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QStringLiteral("1");
        l.filtro = QStringLiteral("A");
        l.conta = QStringLiteral("Alimentação");
        return data::addLancamento(ConexaoBanco, l);
    }

    data::LinhaConsulta linhaDe(std::int64_t numLan)
    {
        const auto l = data::findLancamento(ConexaoBanco, numLan);
        data::LinhaConsulta r;
        r.numLan = numLan;
        r.dataVen = platform::fmtDate(l->dataVen);
        r.referente = l->referente;
        r.valor = l->valor;
        r.despesa = l->despesa;
        return r;
    }

    std::int64_t contar()
    {
        return data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toLongLong();
    }
};

TEST_F(GradeConsultaBanco, DeleteKeyAsksWithNegativeValueInBrazilianFormat)
{
    MsgRecorder msgs;
    const auto a = lancar(QStringLiteral("Aluguel de março"), -123456);
    const auto b = lancar(QStringLiteral("Salário"), 500000);
    Tela t(comportamentoC());
    t.grade->preencher({linhaDe(a), linhaDe(b)});
    t.grid->setRow(1);

    msgs.answer(platform::vbNo);
    t.tecla(Qt::Key_Delete);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Deseja realmente excluir o registro?") + QChar(13) +
                                    QStringLiteral("-1.234,56 - Aluguel de março"));
    EXPECT_EQ(msgs.last().title, "Confirmação");
    EXPECT_EQ(msgs.last().buttons(), platform::vbYesNo);
    EXPECT_EQ(msgs.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(contar(), 2);
    EXPECT_EQ(t.consultas, 0);

    msgs.answer(platform::vbYes);
    t.tecla(Qt::Key_Delete);
    EXPECT_FALSE(data::findLancamento(ConexaoBanco, a));
    EXPECT_TRUE(data::findLancamento(ConexaoBanco, b));
    EXPECT_EQ(t.consultas, 1);
}

TEST_F(GradeConsultaBanco, RowsWithoutEntryNumberAreIgnored)
{
    MsgRecorder msgs;
    const auto a = lancar(QStringLiteral("a"), -100);
    Comportamento c = comportamentoC();
    c.layout = LayoutGrade::A;
    Tela t(c);
    auto l = linhaDe(a);
    l.vencimento = 20240310;
    t.grade->preencherComSubtotais({l});
    t.grid->setRow(2);  // the subtotal row
    t.tecla(Qt::Key_Delete);
    t.grade->abrirLancamento();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(contar(), 1);
    EXPECT_FALSE(platform::Forms::isLoaded<frmZalteracao>());
}

TEST_F(GradeConsultaBanco, DeleteAllRemovesListedEntriesAndAlwaysRequeries)
{
    MsgRecorder msgs;
    const auto a = lancar(QStringLiteral("a"), -100);
    const auto b = lancar(QStringLiteral("b"), -200);
    const auto fora = lancar(QStringLiteral("fora da lista"), -300);
    Tela t(comportamentoC());
    t.grade->preencher({linhaDe(a), linhaDe(b)});

    msgs.answer(platform::vbNo);
    t.grade->apagarTodos();
    EXPECT_EQ(msgs.last().text, QStringLiteral("Todos os lançamentos desta consulta serão excluidos!") + QChar(13) +
                                    QStringLiteral("Deseja Continuar?"));
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(msgs.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(contar(), 3);
    EXPECT_EQ(t.consultas, 1);

    // An entry deleted meanwhile is skipped.
    data::deleteLancamento(ConexaoBanco, b);
    msgs.answer(platform::vbYes);
    t.grade->apagarTodos();
    EXPECT_EQ(t.consultas, 2);
    EXPECT_EQ(contar(), 1);
    EXPECT_TRUE(data::findLancamento(ConexaoBanco, fora));
}

TEST_F(GradeConsultaBanco, DoubleClickOpensTheEditorOnTheRowsEntry)
{
    testsupport::ModalHook hook;
    MsgRecorder msgs;
    const auto a = lancar(QStringLiteral("Padaria do bairro"), -1250);
    Tela t(comportamentoC());
    t.grade->preencher({linhaDe(a)});
    t.grid->setRow(1);
    IncluirLancamento = true;
    QString numero, referente;
    hook.on<frmZalteracao>([&](frmZalteracao& f) {
        numero = f.txtNumLan->text();
        referente = f.txtReferente->text();
        f.Unload();
    });
    t.grade->abrirLancamento();
    EXPECT_EQ(numero, QString::number(a));
    EXPECT_EQ(referente, "Padaria do bairro");
    EXPECT_FALSE(IncluirLancamento);
}

TEST(GradeConsulta, OrderClauseFallsBackToTheDefault)
{
    const struct {
        QString antes, usada, depois;
    } casos[] = {
        {"", " order by DataVen, Referente", " order by DataVen, Referente"},
        {" order by Valor desc, Referente", " order by Valor desc, Referente", " order by Valor desc, Referente"},
        {" order by Valor; DELETE FROM Lancamentos", " order by DataVen, Referente",
         " order by Valor; DELETE FROM Lancamentos"},
    };
    for (const auto& caso : casos) {
        QString clausula = caso.antes;
        EXPECT_EQ(data::ordemDaConsulta(clausula), caso.usada);
        EXPECT_EQ(clausula, caso.depois);
    }
}

TEST_F(GradeConsultaBanco, SortingHereMatchesTheDatabasesOrder)
{
    // A missing description (NULL) and an empty one are two descriptions.
    const QStringList referentes = {"Água", "agua", "Zebra", "zebra", "Ônibus", "ônibus", "", "Previsão", "b", "B",
                                    QString()};
    {
        data::Transaction t(ConexaoBanco);
        // Enough scattered rows that the period reads scan the table.
        for (int i = 0; i < 1500; ++i)
            lancar(referentes[(i * 3) % referentes.size()], -(i % 13) * 100, QDate(2024, 1, 1).addDays(i % 7));
        // The register's tie-break by classification meets the same two.
        ConexaoBanco.exec(QStringLiteral("UPDATE Lancamentos SET Despesa = CASE NumLan % 3 WHEN 0 THEN NULL"
                                         " WHEN 1 THEN '' ELSE Despesa END"));
        t.commit();
    }
    ASSERT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos WHERE Referente IS NULL"))
                  .toLongLong(),
              1500 / referentes.size());
    data::Statement ordenado(ConexaoBanco, QStringLiteral("SELECT ") + data::kColunasConsulta +
                                               QStringLiteral(" FROM Lancamentos ORDER BY DataVen, Referente") +
                                               data::kCollate + QStringLiteral(", NumLan"));
    const auto esperado = data::lerLinhas(ordenado);
    data::Statement solto(ConexaoBanco, QStringLiteral("SELECT ") + data::kColunasConsulta +
                                            QStringLiteral(" FROM Lancamentos ORDER BY NumLan DESC"));
    auto linhas = data::lerLinhas(solto);
    // Equal descriptions made apart from the read are ranked alike.
    for (size_t i = 0; i < linhas.size(); i += 2)
        if (!linhas[i].referente.isNull())
            linhas[i].referente = QString(linhas[i].referente.texto().constData(), linhas[i].referente.texto().size());
    data::ordenarPorVencimento(linhas);
    data::Selecao periodo;
    periodo.vencimentoEntre({2024, 1, 1}, {2024, 1, 7});
    QString ordem;
    const std::vector<std::vector<data::LinhaConsulta>> lidas = {
        linhas, data::lerPeriodo(ConexaoBanco, QStringLiteral("DataVen"), {2024, 1, 1}, {2024, 1, 7}, QString()),
        data::lerSelecao(ConexaoBanco, periodo, data::ordemComDesempate(ordem))};
    for (size_t k = 0; k < lidas.size(); ++k) {
        ASSERT_EQ(lidas[k].size(), esperado.size()) << k;
        for (size_t i = 0; i < esperado.size(); ++i)
            ASSERT_EQ(lidas[k][i].numLan, esperado[i].numLan) << k << " " << i;
    }
    data::Statement porDespesa(ConexaoBanco, QStringLiteral("SELECT ") + data::kColunasConsulta +
                                                 QStringLiteral(" FROM Lancamentos ORDER BY DataVen, Referente") +
                                                 data::kCollate + QStringLiteral(", Despesa, NumLan"));
    const auto esperadoPorDespesa = data::lerLinhas(porDespesa);
    const auto registro = data::lerPeriodo(ConexaoBanco, QStringLiteral("DataVen"), {2024, 1, 1}, {2024, 1, 7}, QString(), true);
    ASSERT_EQ(registro.size(), esperadoPorDespesa.size());
    for (size_t i = 0; i < registro.size(); ++i)
        ASSERT_EQ(registro[i].numLan, esperadoPorDespesa[i].numLan) << i;
}

TEST_F(GradeConsultaBanco, PeriodIncludesBothDaysAndKeepsTheCondition)
{
    lancar(QStringLiteral("antes"), -100, {2024, 2, 29});
    lancar(QStringLiteral("primeiro"), -100, {2024, 3, 1});
    lancar(QStringLiteral("entrada"), 100, {2024, 3, 10});
    lancar(QStringLiteral("último"), -100, {2024, 3, 31});
    lancar(QStringLiteral("depois"), -100, {2024, 4, 1});
    const auto linhas = data::lerPeriodo(ConexaoBanco, QStringLiteral("DataVen"), {2024, 3, 1}, {2024, 3, 31},
                                   QStringLiteral(" AND Valor < 0"));
    QStringList referentes;
    for (const auto& l : linhas)
        referentes << l.referente;
    EXPECT_EQ(referentes, (QStringList{"primeiro", "último"}));
}

TEST(GradeConsulta, PageKeysStepTheDateByMonthsAndLeaveInvalidDatesAlone)
{
    const struct {
        QString antes;
        Qt::Key key;
        QString depois;
    } casos[] = {
        {"31/01/2024", Qt::Key_PageUp, "29/02/2024"}, {"15/03/2024", Qt::Key_PageDown, "15/02/2024"},
        {"31/03/2024", Qt::Key_PageDown, "29/02/2024"}, {"15/12/2024", Qt::Key_PageUp, "15/01/2025"},
        {"", Qt::Key_PageUp, "__/__/____"},             {"12/0", Qt::Key_PageDown, "12/0_/____"},
        {"31/02/2024", Qt::Key_PageUp, "31/02/2024"},
        // The calendar's ends: a step past them leaves the date as it was.
        {"15/12/9999", Qt::Key_PageUp, "15/12/9999"},   {"15/01/0001", Qt::Key_PageDown, "15/01/0001"},
        {"15/11/9999", Qt::Key_PageUp, "15/12/9999"},   {"15/02/0001", Qt::Key_PageDown, "15/01/0001"},
    };
    for (const auto& caso : casos) {
        platform::MaskEdBox caixa;
        caixa.setText(caso.antes);
        EXPECT_TRUE(moverMes(caixa, caso.key));
        EXPECT_EQ(caixa.Text(), caso.depois) << caso.antes.toStdString();
    }
    platform::MaskEdBox caixa;
    caixa.setText(QStringLiteral("15/03/2024"));
    EXPECT_FALSE(moverMes(caixa, Qt::Key_F2));
    EXPECT_EQ(caixa.Text(), "15/03/2024");
}
