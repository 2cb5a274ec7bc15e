// Correcting one statement line in the frame "Alterações".
#include "IntegracaoFixture.h"

#include <QGroupBox>

using testsupport::MsgRecorder;

namespace {

class LinhaAlteracao : public IntegracaoFixture {
protected:
    void SetUp() override
    {
        IntegracaoFixture::SetUp();
        lerItau({QStringLiteral("10/03/2024;LOJA DE ROUPAS;-1.234,50"), QStringLiteral("11/03/2024;SALARIO MARCO;3.000,00"),
                 QStringLiteral("12/03/2024;CINEMA CENTRO;-45,00")});
    }

    static QColor corDoValor() { return janela().txtValorLan->palette().color(QPalette::Text); }
};

} // namespace

TEST_F(LinhaAlteracao, AnOutgoingLineLoadsWithoutSignInRedAndWritesBackNegative)
{
    frmIntegracao& f = janela();
    ASSERT_EQ(f.flxExtrato->TextMatrix(1, 3), "Importado do Extrato");
    classificar(1, QStringLiteral("Vestuário"));
    carregar(1);
    EXPECT_TRUE(f.fraAltera->isEnabled());
    EXPECT_EQ(f.LinhaAlterada, 1);
    EXPECT_EQ(f.txtHistorico->text(), "LOJA DE ROUPAS");
    EXPECT_EQ(f.txtValorLan->text(), "1.234,50");
    EXPECT_EQ(corDoValor(), QColor(255, 0, 0));
    EXPECT_EQ(f.txtVencimento->Text(), "10/03/2024");
    EXPECT_EQ(f.txtDataLanc->Text(), "10/03/2024");
    EXPECT_EQ(f.txtTipos->currentText(), "Saída");
    EXPECT_EQ(f.txtDespesas->currentText(), "Vestuário");
    EXPECT_EQ(f.txtCodDesps->currentText(), QString::number(codigo(QStringLiteral("Vestuário"))));
    EXPECT_EQ(f.txtConta->text(), "Gastos Pessoais");

    f.txtVencimento->setText(QStringLiteral("09/03/2024"));
    f.cmdAltera_Click();
    EXPECT_EQ(linhaDoExtrato(1),
              (QStringList{"09/03/2024", "LOJA DE ROUPAS", "-1.234,50", "Vestuário", "A", "Gastos Pessoais"}));
    // The frame is reset and disabled, ready for the next line.
    EXPECT_FALSE(f.fraAltera->isEnabled());
    EXPECT_EQ(f.txtVencimento->Text(), "__/__/____");
    EXPECT_EQ(f.txtHistorico->text(), "");
    EXPECT_EQ(f.txtValorLan->text(), "");
    EXPECT_EQ(f.txtTipos->currentText(), "Saída");
    EXPECT_EQ(f.txtDespesas->currentIndex(), 0);
    EXPECT_EQ(f.txtCodDesps->currentIndex(), 0);
    EXPECT_EQ(f.txtConta->text(), "");
}

TEST_F(LinhaAlteracao, SwitchingToEntradaOffersIncomingClassificationsAndWritesPositive)
{
    frmIntegracao& f = janela();
    carregar(1);
    f.txtTipos->setCurrentText(QStringLiteral("Entrada"));
    EXPECT_EQ(f.txtDespesas->currentText(), "");
    EXPECT_EQ(f.txtDespesas->itemText(0), "");
    EXPECT_GE(f.txtDespesas->findText(QStringLiteral("Salário")), 1);
    EXPECT_LT(f.txtDespesas->findText(QStringLiteral("Supermercado")), 0);
    EXPECT_EQ(f.txtDespesas->count(), f.txtCodDesps->count());

    // Choosing by code moves the name, and the name shows its group.
    const int i = f.txtDespesas->findText(QStringLiteral("Rendimentos"));
    f.txtCodDesps->setCurrentIndex(i);
    EXPECT_EQ(f.txtDespesas->currentText(), "Rendimentos");
    EXPECT_EQ(f.txtConta->text(), "Patrimoniais");
    f.cmdAltera_Click();
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 2), "1.234,50");
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 3), "Rendimentos");
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 5), "Patrimoniais");
}

TEST_F(LinhaAlteracao, WithoutAClassificationNothingIsWritten)
{
    frmIntegracao& f = janela();
    // "Salário" is incoming: on an outgoing line it is not offered.
    mudarLinha(3, [](importacao::LinhaExtrato& l) { l.classificacao = QStringLiteral("Salário"); });
    for (int row : {1, 3}) {
        carregar(row);
        EXPECT_EQ(f.txtDespesas->currentIndex(), 0) << row;
        MsgRecorder msgs;
        f.cmdAltera_Click();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, "Lançamento não classificado!");
        EXPECT_EQ(msgs.last().icon(), platform::vbExclamation);
        EXPECT_EQ(msgs.last().title, "Atenção,");
        EXPECT_TRUE(f.fraAltera->isEnabled());
    }
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 3), "Importado do Extrato");
    EXPECT_EQ(f.flxExtrato->TextMatrix(3, 3), "Salário");
}

TEST_F(LinhaAlteracao, TheOrdemLetterCarriesOverToTheNextLine)
{
    frmIntegracao& f = janela();
    classificar(1, QStringLiteral("Vestuário"));
    classificar(3, QStringLiteral("Cinema e Passeios"));
    carregar(1);
    f.txtFiltro->setCurrentText(QStringLiteral("C"));
    f.cmdAltera_Click();
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 4), "C");
    carregar(3);
    EXPECT_EQ(f.txtFiltro->currentText(), "C");
    f.cmdAltera_Click();
    EXPECT_EQ(f.flxExtrato->TextMatrix(3, 4), "C");
}

TEST_F(LinhaAlteracao, AnIncomingLineLoadsInBlack)
{
    carregar(2);
    EXPECT_EQ(janela().txtTipos->currentText(), "Entrada");
    EXPECT_EQ(corDoValor(), QColor(0, 0, 0));
    EXPECT_EQ(janela().txtValorLan->text(), "3.000,00");
}

TEST_F(LinhaAlteracao, TheValueBoxTakesDigitsAndOneComma)
{
    frmIntegracao& f = janela();
    carregar(1);
    f.show();
    f.txtValorLan->clear();
    f.txtValorLan->setFocus();
    QTest::keyClicks(f.txtValorLan, QStringLiteral("-a1.2,3,4x"));
    EXPECT_EQ(f.txtValorLan->text(), "1,23");
    f.txtValorLan->clear();
    QTest::keyClick(f.txtValorLan, Qt::Key_Period);
    EXPECT_EQ(f.txtValorLan->text(), ",");
    EXPECT_FALSE(f.txtValorLan_KeyPress(QStringLiteral("-")));
    EXPECT_TRUE(f.txtValorLan_KeyPress(QStringLiteral("7")));
}

TEST_F(LinhaAlteracao, EnterInTheValueBoxMovesTheFocusOneFieldOn)
{
    frmIntegracao& f = janela();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    carregar(1);
    f.txtValorLan->setFocus();
    ASSERT_TRUE(f.txtValorLan->hasFocus());
    QTest::keyClick(f.txtValorLan, Qt::Key_Return);
    EXPECT_EQ(f.txtValorLan->text(), "1.234,50");
    EXPECT_EQ(f.focusWidget(), f.txtTipos);
}

TEST_F(LinhaAlteracao, AnUnreadableDateOrValueIsRefusedAtAlterar)
{
    frmIntegracao& f = janela();
    classificar(1, QStringLiteral("Vestuário"));
    const struct {
        QString data, valor, mensagem;
    } casos[] = {
        {"", "10,00", "Data de vencimento inválida."},
        {"31/02/2024", "10,00", "Data de vencimento inválida."},
        {"10/03/2024", "", "Conteúdo inválido do campo ''Valor''."},
        {"10/03/2024", ",", "Conteúdo inválido do campo ''Valor''."},
    };
    for (const auto& caso : casos) {
        carregar(1);
        f.txtVencimento->setText(caso.data);
        f.txtValorLan->setText(caso.valor);
        MsgRecorder msgs;
        f.cmdAltera_Click();
        ASSERT_EQ(msgs.calls.size(), 1u);
        EXPECT_EQ(msgs.last().text, caso.mensagem);
        EXPECT_EQ(linhaDoExtrato(1).mid(0, 4),
                  (QStringList{"10/03/2024", "LOJA DE ROUPAS", "-1.234,50", "Vestuário"}));
    }
}

TEST_F(LinhaAlteracao, AnEmptyRowLoadsNothing)
{
    frmIntegracao& f = janela();
    f.flxExtrato->setRows(5);
    carregar(4);
    EXPECT_FALSE(f.fraAltera->isEnabled());
    EXPECT_EQ(f.txtHistorico->text(), "");
}

TEST_F(LinhaAlteracao, ReadingAnotherStatementDropsTheLoadedLine)
{
    frmIntegracao& f = janela();
    classificar(1, QStringLiteral("Vestuário"));
    carregar(1);
    lerItau({QStringLiteral("20/03/2024;FARMACIA;-10,00")}, QStringLiteral("outro.txt"));
    EXPECT_FALSE(f.fraAltera->isEnabled());
    EXPECT_EQ(f.txtHistorico->text(), "");
    EXPECT_EQ(f.flxExtrato->TextMatrix(1, 1), "FARMACIA");
}
