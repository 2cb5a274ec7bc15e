// The watch-list editor: the filtered plan, picking, saving, the value
// box's keys, the watch list and its Delete key, and the refresh of planned
// versus actual when it closes.
#include "PrevistoRealizadoFixture.h"
#include "budget/frmPreXReal.h"
#include "budget/frmPrevRel.h"
#include "platform/MsgBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using previstotest::PrevistoFixture;
using testsupport::ModalHook;

namespace {

class PrevRel : public PrevistoFixture {
protected:
    static frmPrevRel& janela() { return platform::Forms::get<frmPrevRel>(); }

    // Picks a classification by its row in the plan's grid.
    static void escolher(const QString& nome)
    {
        frmPrevRel& f = janela();
        for (int r = 1; r < f.flxDespesas->Rows(); ++r)
            if (f.flxDespesas->TextMatrix(r, 0) == nome) {
                f.flxDespesas->setRow(r);
                f.flxDespesas_DblClick();
                return;
            }
        ADD_FAILURE() << "not listed: " << nome.toStdString();
    }
};

} // namespace

TEST_F(PrevRel, FilterListsOutgoingClassificationsContainingTheText)
{
    frmPrevRel& f = janela();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Previsto e Realizado"));
    EXPECT_EQ(coluna(f.flxDespesas, 0),
              (QStringList{"Supermercado", "Farmácia", "Aluguel", "O'Brien Pet Shop", "100% Natural"}));
    EXPECT_EQ(coluna(f.flxDespesas, 1), (QStringList{"007", "008", "009", "030", "031"}));

    struct Caso {
        const char* filtro;
        QStringList nomes;
    };
    const Caso casos[] = {
        {"alug", {"Aluguel"}},  // "Aluguéis Recebidos" is incoming
        {"FARMÁ", {"Farmácia"}},
        {"O'B", {"O'Brien Pet Shop"}},
        {"%", {"100% Natural"}},
        {"_", {}},
        {"nada disso", {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.filtro);
        f.txtConsulta->setText(QString::fromUtf8(c.filtro));
        EXPECT_EQ(coluna(f.flxDespesas, 0), c.nomes);
        EXPECT_EQ(f.flxDespesas->TextMatrix(0, 0), QStringLiteral("Classificação"));
    }
}

TEST_F(PrevRel, PickingFillsTheLineAndRefusesAWatchedClassification)
{
    data::savePrevisto(ConexaoBanco, 8, 1000);
    frmPrevRel& f = janela();
    escolher(QStringLiteral("Aluguel"));
    EXPECT_EQ(f.lblDespesa->text(), QStringLiteral("Aluguel"));
    EXPECT_EQ(f.lblCodigo->text(), QStringLiteral("009"));

    escolher(QStringLiteral("Farmácia"));
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.last().text, QStringLiteral("Despesa já no Previsto/Realizado."));
    EXPECT_EQ(rec.last().title, QStringLiteral("Atenção,"));
    EXPECT_EQ(rec.last().icon(), platform::vbCritical);
    EXPECT_EQ(f.lblDespesa->text(), QStringLiteral("Aluguel"));
    EXPECT_EQ(f.lblCodigo->text(), QStringLiteral("009"));
}

TEST_F(PrevRel, SaveRefusesAMissingClassificationOrValue)
{
    ModalHook hook;
    hook.on<frmPrevRel>([this](frmPrevRel& f) {
        f.txtValor->setText(QStringLiteral("10"));
        f.cmdLancar_Click();
        EXPECT_EQ(rec.lastText(), QStringLiteral("Selecione a despesa."));

        escolher(QStringLiteral("Aluguel"));
        for (const char* valor : {"", ",", "99999999999999999999"}) {
            SCOPED_TRACE(valor);
            f.cmdLancar->setFocus();
            f.txtValor->setText(QString::fromUtf8(valor));
            f.cmdLancar_Click();
            EXPECT_EQ(rec.lastText(), QStringLiteral("Digite um valor para a Previsão."));
            EXPECT_EQ(rec.last().icon(), platform::vbCritical);
            EXPECT_TRUE(f.txtValor->hasFocus());
        }
        f.Unload();
    });
    platform::Forms::show<frmPrevRel>();
    EXPECT_TRUE(vigiadas().empty());
}

TEST_F(PrevRel, SaveWatchesTheCodeClearsTheLineAndListsIt)
{
    frmPrevRel& f = janela();
    EXPECT_FALSE(f.flxLancamentos->isEnabled());
    EXPECT_EQ(f.flxLancamentos->Rows(), 1);
    escolher(QStringLiteral("Aluguel"));
    f.txtValor->setText(QStringLiteral("1.250,75"));
    f.cmdLancar_Click();
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_EQ(vigiadas(), (std::map<std::int64_t, data::Centavos>{{9, 125075}}));
    EXPECT_EQ(f.lblDespesa->text(), QString());
    EXPECT_EQ(f.lblCodigo->text(), QString());
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("0"));
    EXPECT_TRUE(f.flxLancamentos->isEnabled());
    EXPECT_EQ(linha(f.flxLancamentos, 1), (QStringList{"9", "Aluguel", "1.250,75"}));
    EXPECT_EQ(f.flxLancamentos->cellBackColor(1, 1), QColor(243, 243, 243));

    f.cmdLancar_Click();
    EXPECT_EQ(rec.lastText(), QStringLiteral("Selecione a despesa."));
}

TEST_F(PrevRel, SavingAPresetLineOverwritesItsRow)
{
    data::savePrevisto(ConexaoBanco, 7, 10000);
    frmPrevRel& f = janela();
    f.lblCodigo->setText(QStringLiteral("007"));
    f.lblDespesa->setText(QStringLiteral("Supermercado"));
    f.txtValor->setText(QStringLiteral("1.100,00"));
    f.cmdLancar_Click();
    EXPECT_EQ(linhasDoCodigo(7), 1);
    EXPECT_EQ(vigiadas()[7], 110000);
    EXPECT_EQ(coluna(f.flxLancamentos, 2), QStringList{"1.100,00"});
}

TEST_F(PrevRel, ValueBoxKeepsOneDecimalCommaAndDigitsOnly)
{
    frmPrevRel& f = janela();
    struct Caso {
        const char* teclas;
        const char* texto;
    };
    const Caso casos[] = {
        {"1.5", "1,5"}, {"1,5,2", "1,52"}, {"1.5.", "1,5"}, {"a1b2*=", "12"}, {".", ","}, {"12ç", "12"},
        {"0,125", "0,12"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.teclas);
        f.txtValor->clear();
        digitar(f.txtValor, QString::fromUtf8(c.teclas));
        EXPECT_EQ(f.txtValor->text(), QString::fromUtf8(c.texto));
    }
    // Typing over the whole selected text starts afresh.
    f.txtValor->setText(QStringLiteral("150,00"));
    f.txtValor->selectAll();
    digitar(f.txtValor, QStringLiteral(",5"));
    EXPECT_EQ(f.txtValor->text(), QStringLiteral(",5"));
}

TEST_F(PrevRel, DeleteKeyRemovesTheWatchedLineAfterConfirmation)
{
    data::savePrevisto(ConexaoBanco, 9, 90000);
    frmPrevRel& f = janela();
    f.flxLancamentos->setRow(1);
    rec.answer(platform::vbNo);
    tecla(f.flxLancamentos, Qt::Key_Delete);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Deseja realmente excluir o registro?") + QChar(13) +
                                  QStringLiteral("Aluguel R$ 900,00"));
    EXPECT_EQ(vigiadas().size(), 1u);

    rec.answer(platform::vbYes);
    tecla(f.flxLancamentos, Qt::Key_Delete);
    EXPECT_TRUE(vigiadas().empty());
    EXPECT_EQ(f.flxLancamentos->Rows(), 1);
    EXPECT_FALSE(f.flxLancamentos->isEnabled());
}

TEST_F(PrevRel, ClosingMakesPlannedVersusActualRecompute)
{
    frmPreXReal& comparacao = platform::Forms::get<frmPreXReal>();
    EXPECT_EQ(comparacao.flxConsulta->Rows(), 1);
    ModalHook hook;
    int aberturas = 0;
    hook.on<frmPrevRel>([&](frmPrevRel& f) {
        if (++aberturas == 1) {
            escolher(QStringLiteral("Farmácia"));
            f.txtValor->setText(QStringLiteral("40"));
            f.cmdLancar_Click();
            QTest::keyClick(&f, Qt::Key_Escape);
        } else {
            f.Unload();
        }
    });
    comparacao.cmdLancarPrev_Click();
    EXPECT_FALSE(platform::Forms::isLoaded<frmPrevRel>());
    EXPECT_EQ(linha(comparacao.flxConsulta, 1), (QStringList{"008", "Farmácia", "40,00", "0,00", "0,00", "0,00"}));

    // Closed without a change, it recomputes too: an entry posted meanwhile
    // shows up.
    lancar(QDate(2024, 3, 9), -1000, 8);
    comparacao.cmdLancarPrev_Click();
    EXPECT_EQ(aberturas, 2);
    EXPECT_EQ(comparacao.flxConsulta->TextMatrix(1, 3), QStringLiteral("10,00"));
    EXPECT_TRUE(rec.calls.empty());
}
