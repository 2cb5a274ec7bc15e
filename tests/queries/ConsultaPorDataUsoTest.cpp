// A user at the query by date: lists a period, changes an entry in the
// editor and sees the list refreshed, deletes one, sums two values.
#include "Janelas.h"
#include "app/frmPrincipal.h"
#include "data/Conexao.h"
#include "data/Despesas.h"
#include "data/Lancamentos.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmConsVen.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class ConsultaPorDataUso : public testsupport::DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        frmConsVen::SomaValores = 0;
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    std::int64_t lancar(const QString& classificacao, const QString& referente, data::Centavos valor,
                        const QDate& ven)
    {
        const auto d = data::findClassificacaoByName(ConexaoBanco, classificacao);
        data::Lancamento l;
        l.dataVen = ven;
        l.dataLan = ven.addDays(-2);
        l.referente = referente;
        l.valor = valor;
        l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
        l.despesa = QString::number(d->codigo);
        l.filtro = QStringLiteral("C");
        l.conta = d->conta;
        return data::addLancamento(ConexaoBanco, l);
    }
};

QPoint centroDaCelula(platform::FlexGrid& g, int row, int col)
{
    return g.visualRect(g.model()->index(row - 1, col)).center();
}

QStringList coluna(platform::FlexGrid& g, int col)
{
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r)
        out << g.TextMatrix(r, col);
    return out;
}

} // namespace

TEST_F(ConsultaPorDataUso, ListChangeDeleteAndSum)
{
    registrarJanelas();
    ASSERT_TRUE(frmPrincipal::janelaRegistrada(QStringLiteral("frmConsVen")));

    const auto luz = lancar(QStringLiteral("Energia Elétrica"), QStringLiteral("Conta de luz"), -18990, {2024, 3, 8});
    lancar(QStringLiteral("Supermercado"), QStringLiteral("Compras do mês"), -45210, {2024, 3, 12});
    lancar(QStringLiteral("Padaria"), QStringLiteral("Pão"), -1500, {2024, 3, 20});
    lancar(QStringLiteral("Salário"), QStringLiteral("Salário de março"), 500000, {2024, 3, 5});
    lancar(QStringLiteral("Padaria"), QStringLiteral("Fora do período"), -900, {2024, 4, 2});

    testsupport::MsgRecorder msgs;
    testsupport::ModalHook hook;
    QStringList depoisDaAlteracao, depoisDaExclusao;
    QString totalDepoisDaAlteracao;

    hook.on<frmZalteracao>([&](frmZalteracao& f) {
        EXPECT_EQ(f.txtReferente->text(), "Conta de luz");
        EXPECT_EQ(f.txtValor->text(), "189,9");
        EXPECT_EQ(f.txtDespesa->currentText(), "Energia Elétrica");
        f.txtValor->setFocus();
        f.txtValor->selectAll();
        QTest::keyClicks(f.txtValor, QStringLiteral("201,35"));
        QTest::mouseClick(f.cmdGravaLan, Qt::LeftButton);
    });

    hook.on<frmConsVen>([&](frmConsVen& f) {
        // The period, by due date, outgoing entries.
        f.txtData1->setFocus();
        QTest::keyClicks(f.txtData1, QStringLiteral("01032024"));
        QTest::keyClicks(f.txtData2, QStringLiteral("31032024"));
        QTest::mouseClick(f.cmdConsulta, Qt::LeftButton);
        platform::FlexGrid& g = *f.flxConsulta;
        EXPECT_EQ(coluna(g, 3), (QStringList{"Conta de luz", "Compras do mês", "Pão"}));
        EXPECT_EQ(f.txtLanc->text(), "3 Lançamento(s)");
        EXPECT_EQ(f.txtSaldo2->text(), "-657,00");

        // Double-click the electricity bill, change its value, save.
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, centroDaCelula(g, 1, 3));
        depoisDaAlteracao = coluna(g, 4);
        totalDepoisDaAlteracao = f.txtSaldo2->text();

        // Delete the bread with the Delete key, answering Yes.
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, centroDaCelula(g, 3, 3));
        msgs.answer(platform::vbYes);
        QTest::keyClick(&g, Qt::Key_Delete);
        depoisDaExclusao = coluna(g, 3);

        // Sum the two remaining values with keypad "+" and show with F12.
        for (int row : {1, 2}) {
            QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, centroDaCelula(g, row, 4));
            QTest::keyClick(&g, Qt::Key_Plus, Qt::KeypadModifier);
        }
        QTest::keyClick(&g, Qt::Key_F12);
        f.Unload();
    });

    platform::Forms::show<frmConsVen>();

    EXPECT_EQ(depoisDaAlteracao, (QStringList{"-201,35", "-452,10", "-15,00"}));
    EXPECT_EQ(totalDepoisDaAlteracao, "-668,45");
    EXPECT_EQ(data::findLancamento(ConexaoBanco, luz)->valor, -20135);

    EXPECT_EQ(depoisDaExclusao, (QStringList{"Conta de luz", "Compras do mês"}));
    ASSERT_GE(msgs.calls.size(), 2u);
    EXPECT_EQ(msgs.calls[msgs.calls.size() - 2].text,
              QStringLiteral("Deseja realmente excluir o registro?") + QChar(13) + QStringLiteral("-15,00 - Pão"));
    EXPECT_EQ(msgs.last().text, "653,45");
    EXPECT_EQ(msgs.last().title, "Total");
    EXPECT_EQ(hook.shown, (std::vector<QString>{"frmConsVen", "frmZalteracao"}));
}
