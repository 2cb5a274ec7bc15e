// The ordering dialog and its hand-over to the query windows.
#include "OrdemFixture.h"

#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "queries/frmZOrdem.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using testsupport::ModalHook;
using testsupport::MsgRecorder;

namespace {

class ZOrdem : public OrdemFixture {
protected:
    // Picks the fields in order, as the user does: by a double-click, or
    // by the open-row key every other time.
    static void escolher(frmZOrdem& f, const QStringList& campos)
    {
        bool tecla = false;
        for (const QString& campo : campos) {
            f.lstListaClass->setCurrentItem(f.lstListaClass->findItems(campo, Qt::MatchExactly).value(0));
            if ((tecla = !tecla))
                f.lstListaClass_DblClick();
            else
                QTest::keyClick(f.lstListaClass, platform::kOpenRowKey);
        }
    }

    static QStringList escolhidos(const frmZOrdem& f)
    {
        QStringList out;
        for (int i = 0; i < f.lstFiltroClass->count(); ++i)
            out << f.lstFiltroClass->item(i)->text();
        return out;
    }
};

} // namespace

TEST_F(ZOrdem, ClauseFollowsTheChosenFieldsAndTheFirstFieldsDirection)
{
    const struct {
        QStringList campos;
        bool decrescente;
        QString clausula;
    } casos[] = {
        {{}, false, "Order By DataVen"},
        {{}, true, "Order By DataVen"},
        {{"Histórico"}, true, " Order By Referente Desc"},
        {{"Data de Vencimento", "Valor"}, true, " Order By DataVen Desc, Valor"},
        {{"Data de Lançamento", "Classificação da Conta", "Valor"}, false, " Order By DataLan, Despesa,Valor"},
    };
    for (const auto& caso : casos) {
        frmZOrdem f;
        EXPECT_EQ(f.windowTitle(), "Ordenar colunas");
        EXPECT_TRUE(f.optOrdem[1]->isChecked());
        escolher(f, caso.campos);
        f.optOrdem[caso.decrescente ? 2 : 1]->setChecked(true);
        EXPECT_EQ(f.Clausula(), caso.clausula) << caso.campos.join(',').toStdString();
    }
}

TEST_F(ZOrdem, AtMostThreeDistinctFieldsAndDeleteRemovesTheSelectedOne)
{
    MsgRecorder msgs;
    frmZOrdem f;
    escolher(f, {"Valor", "Valor"});
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, "Classificação já existente no filtro.");
    EXPECT_EQ(msgs.last().title, "Atenção,");
    EXPECT_EQ(msgs.last().icon(), platform::vbInformation);

    escolher(f, {"Histórico", "Data de Vencimento", "Data de Lançamento"});
    EXPECT_EQ(msgs.last().text, "Escolha no máximo três campos.");
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(escolhidos(f), (QStringList{"Valor", "Histórico", "Data de Vencimento"}));

    // Delete with nothing selected does nothing.
    f.lstFiltroClass->clearSelection();
    QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    EXPECT_EQ(f.lstFiltroClass->count(), 3);

    f.lstFiltroClass->setCurrentRow(1);
    QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    EXPECT_EQ(escolhidos(f), (QStringList{"Valor", "Data de Vencimento"}));
    EXPECT_EQ(f.lstFiltroClass->currentRow(), 1);
    escolher(f, {"Data de Lançamento"});
    EXPECT_EQ(f.Clausula(), " Order By Valor, DataVen,DataLan");

    while (f.lstFiltroClass->count() > 0)
        QTest::keyClick(f.lstFiltroClass, Qt::Key_Delete);
    EXPECT_EQ(f.lstFiltroClass->currentRow(), -1);
}

TEST_F(ZOrdem, OkHandsTheClauseToTheActiveQueryAndRunsIt)
{
    MsgRecorder msgs;
    lancar(QStringLiteral("luz a"), -5000, {2024, 3, 1});
    lancar(QStringLiteral("luz b"), -5000, {2024, 2, 1});
    lancar(QStringLiteral("luz c"), 9000, {2024, 3, 15});

    // The description-text query is not loaded: OK loads it invisibly.
    NomeConsultaAtiva = QStringLiteral("Consulta por Histórico");
    {
        frmZOrdem& f = platform::Forms::get<frmZOrdem>();
        escolher(f, {"Valor", "Data de Vencimento"});
        f.optOrdem[2]->setChecked(true);
        f.cmdOK->click();
    }
    ASSERT_TRUE(platform::Forms::isLoaded<frmConsHistorico>());
    EXPECT_FALSE(platform::Forms::isLoaded<frmZOrdem>());
    frmConsHistorico& h = platform::Forms::get<frmConsHistorico>();
    EXPECT_FALSE(h.isVisible());
    EXPECT_EQ(frmConsHistorico::ClausulaOrdem, " Order By Valor Desc, DataVen");
    EXPECT_EQ(coluna(*h.flxConsulta, 4), (QStringList{"luz c", "luz b", "luz a"}));
    EXPECT_EQ(frmConsEstr::ClausulaOrdem, "");

    // Any other name: the dialog only closes.
    NomeConsultaAtiva = QStringLiteral("Consulta por Vencimento");
    {
        frmZOrdem& f = platform::Forms::get<frmZOrdem>();
        escolher(f, {"Histórico"});
        f.cmdOK->click();
    }
    EXPECT_FALSE(platform::Forms::isLoaded<frmZOrdem>());
    EXPECT_EQ(frmConsHistorico::ClausulaOrdem, " Order By Valor Desc, DataVen");
    EXPECT_FALSE(platform::Forms::isLoaded<frmConsEstr>());
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(ZOrdem, OrderButtonOfTheStructuredQueryReordersItsList)
{
    MsgRecorder msgs;
    // Descriptions in dictionary order, not in the order of their bytes.
    lancar(QStringLiteral("água"), -3000, {2024, 3, 2});
    lancar(QStringLiteral("zebra"), -1000, {2024, 3, 1});
    lancar(QStringLiteral("Banana"), -2000, {2024, 3, 3});
    frmConsEstr& f = platform::Forms::get<frmConsEstr>();
    f.txtDataVen1->setText(QStringLiteral("01/03/2024"));
    f.txtDataVen2->setText(QStringLiteral("31/03/2024"));
    f.cmdConsulta->click();
    ASSERT_TRUE(f.cmdOrdem->isEnabled());
    {
        ModalHook hook;
        hook.on<frmZOrdem>([&](frmZOrdem& d) {
            escolher(d, {"Histórico"});
            d.optOrdem[2]->setChecked(true);
            d.cmdOK->click();
        });
        f.cmdOrdem->click();
        ASSERT_EQ(hook.shown.size(), 1u);
        EXPECT_EQ(hook.shown[0], "frmZOrdem");
    }
    EXPECT_EQ(coluna(*f.flxConsulta, 3), (QStringList{"zebra", "Banana", "água"}));

    // Closing the dialog by its close box hands nothing over.
    frmConsEstr::ClausulaOrdem = QStringLiteral(" Order By Valor");
    {
        ModalHook hook;
        hook.on<frmZOrdem>([](frmZOrdem& d) {
            escolher(d, {"Histórico"});
            d.close();
        });
        f.cmdOrdem->click();
    }
    EXPECT_EQ(frmConsEstr::ClausulaOrdem, " Order By Valor");
    EXPECT_EQ(coluna(*f.flxConsulta, 3), (QStringList{"zebra", "Banana", "água"}));

    // The chosen order outlives the window.
    fechar<frmConsEstr>();
    frmConsEstr& g = platform::Forms::get<frmConsEstr>();
    g.txtDataVen1->setText(QStringLiteral("01/03/2024"));
    g.txtDataVen2->setText(QStringLiteral("31/03/2024"));
    g.cmdConsulta->click();
    EXPECT_EQ(coluna(*g.flxConsulta, 3), (QStringList{"água", "Banana", "zebra"}));
}

TEST_F(ZOrdem, EscapeIsNoKeyOfTheDialogAndTheCloseBoxHandsNothingOver)
{
    MsgRecorder msgs;
    NomeConsultaAtiva = QStringLiteral("Consulta por Histórico");
    frmZOrdem& f = platform::Forms::get<frmZOrdem>();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    escolher(f, {"Valor"});

    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_TRUE(platform::Forms::isLoaded<frmZOrdem>());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(escolhidos(f), (QStringList{"Valor"}));

    f.close();
    EXPECT_FALSE(platform::Forms::isLoaded<frmZOrdem>());
    EXPECT_EQ(frmConsHistorico::ClausulaOrdem, "");
    EXPECT_FALSE(platform::Forms::isLoaded<frmConsHistorico>());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
