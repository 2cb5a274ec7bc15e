// The bulk change of unclassified exits.
#include "Janelas.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmAlterarNaoClass.h"
#include "queries/frmConsHistorico.h"
#include "queries/frmZOrdem.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

class AlterarNaoClass : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        // The editor's refreshes, registered as at start-up.
        registrarAtualizacoes();
        frmAlterarNaoClass::ClausulaOrdem.clear();
        frmAlterarNaoClass::SomaValores = 0;
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
        naoClass = codigo("Saída Não Classificada");
        mercado = codigo("Supermercado");
    }

    static std::int64_t codigo(const char* nome)
    {
        return data::findClassificacaoByName(ConexaoBanco, QString::fromUtf8(nome))->codigo;
    }

    static std::int64_t lancar(const QString& referente, data::Centavos valor, const QDate& ven, std::int64_t despesa,
                               const QString& filtro = QStringLiteral("A"))
    {
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = QDate(2024, 1, 2);
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor <= 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QString::number(despesa);
        l.filtro = filtro;
        l.conta = QStringLiteral("Outras Saídas");
        return data::addLancamento(ConexaoBanco, l);
    }

    static frmAlterarNaoClass& janela() { return platform::Forms::get<frmAlterarNaoClass>(); }

    static QStringList coluna(int col)
    {
        QStringList out;
        for (int r = 1; r < janela().flxConsulta->Rows(); ++r)
            out << janela().flxConsulta->TextMatrix(r, col);
        return out;
    }

    // Three unclassified exits in two months, an unclassified entry of the
    // other side carrying the same code, and a classified exit.
    void lancarExemplos()
    {
        a = lancar(QStringLiteral("pix loja"), -1000, {2024, 2, 10}, naoClass);
        b = lancar(QStringLiteral("pix posto previsão"), -2000, {2024, 3, 5}, naoClass, QStringLiteral("B"));
        c = lancar(QStringLiteral("pix feira"), -3000, {2024, 3, 20}, naoClass);
        entrada = lancar(QStringLiteral("pix recebido"), 4000, {2024, 3, 6}, naoClass);
        classificada = lancar(QStringLiteral("pix mercado"), -500, {2024, 3, 7}, mercado);
    }

    static void escolherDestino(const QString& nome)
    {
        janela().txtDespesaPara->setCurrentText(nome);
    }

    std::int64_t naoClass = 0;
    std::int64_t mercado = 0;
    std::int64_t a = 0, b = 0, c = 0, entrada = 0, classificada = 0;
};

} // namespace

TEST_F(AlterarNaoClass, LoadFindsTheCatchAllAndListsTheOutgoingTargets)
{
    frmAlterarNaoClass& f = janela();
    EXPECT_EQ(f.windowTitle(), "Alterar saidas em Massa - Banco ativo: ''C:\\Casa''");
    EXPECT_EQ(NomeConsultaAtiva, frmAlterarNaoClass::kNomeConsulta);
    EXPECT_EQ(f.lblCodNaoClass->text(), QString::number(naoClass));
    EXPECT_TRUE(f.optConsulta[1]->isChecked());
    EXPECT_EQ(f.txtFiltro->count(), 27);
    EXPECT_EQ(f.txtDespesaPara->currentIndex(), -1);
    EXPECT_EQ(f.txtConta->text(), "");
    EXPECT_GE(f.txtDespesaPara->findText(QStringLiteral("Saída Não Classificada")), 0);
    EXPECT_LT(f.txtDespesaPara->findText(QStringLiteral("Salário")), 0);
    EXPECT_EQ(f.txtDespesaPara->count(), f.txtCodDespesaPara->count());
    EXPECT_FALSE(f.cmdAlterarMassa->isEnabled());
    EXPECT_FALSE(f.cmdOrdem->isEnabled());
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_EQ(f.flxConsulta->TextMatrix(0, 3), "Classificação");

    // Choosing a target selects its code and shows its group.
    escolherDestino(QStringLiteral("Combustível"));
    EXPECT_EQ(f.txtCodDespesaPara->currentText(), QString::number(codigo("Combustível")));
    EXPECT_EQ(f.txtConta->text(), "Transporte");
}

TEST_F(AlterarNaoClass, ListsOnlyOutgoingEntriesOfTheCatchAll)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    EXPECT_EQ(coluna(4), (QStringList{"pix loja", "pix posto previsão", "pix feira"}));
    EXPECT_EQ(coluna(3), (QStringList(3, QStringLiteral("Saída Não Classificada"))));
    EXPECT_EQ(coluna(2), (QStringList{"A", "B", "A"}));
    EXPECT_EQ(f.flxConsulta->cellForeColor(2, 4), QColor(0, 0, 255));
    EXPECT_EQ(f.txtLanc->text(), "3 Lançamento(s)");
    EXPECT_EQ(f.txtSaldo2->text(), "-60,00");
    EXPECT_TRUE(f.cmdAlterarMassa->isEnabled());
    EXPECT_TRUE(f.cmdOrdem->isEnabled());

    // The description, the letter and the period narrow it further.
    f.optConsulta[0]->setChecked(true);
    f.txtConsulta->setText(QStringLiteral("PIX F"));
    f.cmdConsulta->click();
    EXPECT_EQ(coluna(4), QStringList{"pix feira"});
    f.optConsulta[1]->setChecked(true);
    f.txtConsulta->setText(QStringLiteral("pix"));
    f.txtFiltro->setCurrentText(QStringLiteral("B"));
    f.cmdConsulta->click();
    EXPECT_EQ(coluna(4), QStringList{"pix posto previsão"});
    f.txtFiltro->setCurrentIndex(0);
    f.txtDataVen1->setText(QStringLiteral("01/03/2024"));
    f.txtDataVen2->setText(QStringLiteral("31/03/2024"));
    f.cmdConsulta->click();
    EXPECT_EQ(coluna(4), (QStringList{"pix posto previsão", "pix feira"}));

    // Nothing found: a zero count, the grid and the change disabled; the
    // order button stays enabled.
    f.txtConsulta->setText(QStringLiteral("nada disso"));
    f.cmdConsulta->click();
    EXPECT_EQ(f.txtLanc->text(), "0 Lançamento(s)");
    EXPECT_FALSE(f.flxConsulta->isEnabled());
    EXPECT_FALSE(f.cmdAlterarMassa->isEnabled());
    EXPECT_TRUE(f.cmdOrdem->isEnabled());
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(AlterarNaoClass, InvalidDatesStopTheQuery)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.txtDataVen1->setText(QStringLiteral("12/0_/____"));
    f.cmdConsulta->click();
    EXPECT_EQ(msgs.last().text, "Data inicial inválida.");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    f.txtDataVen1->setText(QString());
    f.txtDataVen2->setText(QStringLiteral("31/02/2024"));
    f.cmdConsulta->click();
    EXPECT_EQ(msgs.last().text, "Data final inválida.");
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
}

TEST_F(AlterarNaoClass, BulkChangeMovesEveryListedEntryAndNothingElse)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    escolherDestino(QStringLiteral("Combustível"));

    // No: nothing changes, the query runs again all the same.
    const auto d = lancar(QStringLiteral("pix novo"), -700, {2024, 4, 1}, naoClass);
    msgs.answer(platform::vbNo);
    f.cmdAlterarMassa->click();
    EXPECT_EQ(msgs.last().text, "Todos os lançamentos desta consulta serão Alterados!\rDeseja Continuar?");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(msgs.last().icon(), platform::vbQuestion);
    EXPECT_TRUE(msgs.last().defaultSecond());
    EXPECT_EQ(coluna(4), (QStringList{"pix loja", "pix posto previsão", "pix feira", "pix novo"}));

    msgs.answer(platform::vbYes);
    f.cmdAlterarMassa->click();
    const QString combustivel = QString::number(codigo("Combustível"));
    for (const auto n : {a, b, c, d}) {
        const auto l = data::findLancamento(ConexaoBanco, n);
        EXPECT_EQ(l->despesa, combustivel);
        EXPECT_EQ(l->conta, "Transporte");
        EXPECT_EQ(l->tipo, data::kTipoSaida);
    }
    const auto pb = data::findLancamento(ConexaoBanco, b);
    EXPECT_EQ(pb->valor, -2000);
    EXPECT_EQ(pb->filtro, "B");
    EXPECT_EQ(pb->referente, "pix posto previsão");
    EXPECT_EQ(pb->dataVen, QDate(2024, 3, 5));
    EXPECT_EQ(pb->dataLan, QDate(2024, 1, 2));
    // The incoming entry with the catch-all code and the classified exit stay.
    EXPECT_EQ(data::findLancamento(ConexaoBanco, entrada)->despesa, QString::number(naoClass));
    EXPECT_EQ(data::findLancamento(ConexaoBanco, classificada)->despesa, QString::number(mercado));
    // The changed entries left the list.
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_EQ(f.txtLanc->text(), "0 Lançamento(s)");
    EXPECT_FALSE(f.cmdAlterarMassa->isEnabled());
}

TEST_F(AlterarNaoClass, BulkChangeWithoutATargetIsRefused)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    f.cmdAlterarMassa->click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Escolha a classificação para a qual os lançamentos serão alterados.");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(data::findLancamento(ConexaoBanco, a)->despesa, QString::number(naoClass));
    EXPECT_EQ(f.flxConsulta->Rows(), 4);
}

TEST_F(AlterarNaoClass, CatchAllAsTargetKeepsTheEntriesListed)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    escolherDestino(QStringLiteral("Saída Não Classificada"));
    EXPECT_EQ(f.txtConta->text(), "Outras Saídas");
    msgs.answer(platform::vbYes);
    f.cmdAlterarMassa->click();
    EXPECT_EQ(coluna(4), (QStringList{"pix loja", "pix posto previsão", "pix feira"}));
    EXPECT_TRUE(f.cmdAlterarMassa->isEnabled());
}

TEST_F(AlterarNaoClass, BulkChangeIsAllOrNothing)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    escolherDestino(QStringLiteral("Combustível"));
    // The file refuses the change of the last listed entry.
    testsupport::permitirGatilhos(ConexaoBanco);
    ConexaoBanco.exec(QStringLiteral("CREATE TEMP TRIGGER recusa BEFORE UPDATE ON Lancamentos WHEN OLD.NumLan = ") +
                      QString::number(c) + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'recusada'); END"));
    msgs.answer(platform::vbYes);
    EXPECT_THROW(f.cmdAlterarMassa_Click(), data::DbError);
    for (const auto n : {a, b, c})
        EXPECT_EQ(data::findLancamento(ConexaoBanco, n)->despesa, QString::number(naoClass));
}

TEST_F(AlterarNaoClass, SubtotalViewThenBulkChangeSkipsTheSubtotalRows)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    f.cmdSubTotal->click();
    EXPECT_EQ(coluna(4),
              (QStringList{"pix loja", "Fevereiro/24", "pix posto previsão", "pix feira", "Março/24"}));
    EXPECT_EQ(f.flxConsulta->TextMatrix(5, 5), "-50,00");
    EXPECT_TRUE(f.flxConsulta->cellBold(5, 0));
    // The count stays as the last query wrote it.
    EXPECT_EQ(f.txtLanc->text(), "3 Lançamento(s)");
    EXPECT_EQ(f.txtSaldo2->text(), "-60,00");
    double meses = 0;
    f.ContaSaldo(meses);
    EXPECT_EQ(meses, 2);

    escolherDestino(QStringLiteral("Padaria"));
    msgs.answer(platform::vbYes);
    f.cmdAlterarMassa->click();
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos WHERE Despesa = ?"),
                           QString::number(codigo("Padaria")))
                  .toInt(),
              3);
    EXPECT_EQ(f.flxConsulta->Rows(), 1);

    // Nothing to subtotal: the grid empties and the labels stay.
    f.cmdSubTotal->click();
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_FALSE(f.flxConsulta->isEnabled());
    EXPECT_EQ(f.txtLanc->text(), "0 Lançamento(s)");
}

TEST_F(AlterarNaoClass, WithoutACatchAllNothingIsListed)
{
    MsgRecorder msgs;
    lancarExemplos();
    ConexaoBanco.exec(QStringLiteral("UPDATE Despesas SET Despesa = replace(Despesa, 'Não', 'Sem')"));
    frmAlterarNaoClass& f = janela();
    EXPECT_EQ(f.lblCodNaoClass->text(), "");
    f.cmdConsulta->click();
    EXPECT_EQ(f.flxConsulta->Rows(), 1);
    EXPECT_FALSE(f.cmdAlterarMassa->isEnabled());
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(AlterarNaoClass, OrderChosenInTheDialogComesBackToThisWindow)
{
    MsgRecorder msgs;
    ModalHook hook;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    bool confirmar = true;
    hook.on<frmZOrdem>([&confirmar](frmZOrdem& o) {
        o.lstListaClass->setCurrentRow(4);  // "Valor"
        o.lstListaClass_DblClick();
        if (confirmar)
            o.cmdOK->click();
        else
            o.Unload();
    });
    f.cmdOrdem->click();
    EXPECT_EQ(frmAlterarNaoClass::ClausulaOrdem, " Order By Valor");
    EXPECT_EQ(coluna(4), (QStringList{"pix feira", "pix posto previsão", "pix loja"}));
    EXPECT_EQ(frmConsHistorico::ClausulaOrdem, "");
    EXPECT_FALSE(platform::Forms::isLoaded<frmConsHistorico>());

    // Closing the dialog without OK changes nothing.
    confirmar = false;
    frmAlterarNaoClass::ClausulaOrdem.clear();
    f.cmdConsulta->click();
    f.cmdOrdem->click();
    EXPECT_EQ(frmAlterarNaoClass::ClausulaOrdem, " order by DataVen, Referente");
    EXPECT_EQ(coluna(4), (QStringList{"pix loja", "pix posto previsão", "pix feira"}));
}

TEST_F(AlterarNaoClass, EditorSaveRefreshesThisWindowOnly)
{
    MsgRecorder msgs;
    lancarExemplos();
    janela().cmdConsulta->click();
    auto l = *data::findLancamento(ConexaoBanco, a);
    l.despesa = QString::number(mercado);
    data::updateLancamento(ConexaoBanco, l);
    frmZalteracao::AtualizarConsulta(NomeConsultaAtiva);
    EXPECT_EQ(coluna(4), (QStringList{"pix posto previsão", "pix feira"}));
    EXPECT_FALSE(platform::Forms::isLoaded<frmConsHistorico>());
}

TEST_F(AlterarNaoClass, MarkedValuesAddUpOnF12)
{
    MsgRecorder msgs;
    lancarExemplos();
    frmAlterarNaoClass& f = janela();
    f.cmdConsulta->click();
    f.flxConsulta->setRow(1);
    f.flxConsulta->setCol(5);
    QTest::keyClick(f.flxConsulta, Qt::Key_Plus, Qt::KeypadModifier);
    f.flxConsulta->setRow(3);
    f.flxConsulta->setCol(5);
    QTest::keyClick(f.flxConsulta, Qt::Key_Plus, Qt::KeypadModifier);
    f.flxConsulta->setCol(4);
    QTest::keyClick(f.flxConsulta, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(f.flxConsulta, Qt::Key_F12);
    EXPECT_EQ(msgs.last().text, "40,00");
    EXPECT_EQ(msgs.last().title, "Total");
}
