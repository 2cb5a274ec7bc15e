// The entry fields as the posting window shows them: the typed code, the
// picker grid, the value box, the date boxes and the help panel.
#include "data/Despesas.h"
#include "LancarFixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

using testsupport::LancarFixture;

namespace {
QStringList itens(QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
} // namespace

class CamposLancamento : public LancarFixture {};

TEST_F(CamposLancamento, OpensOnSaidaWithSortedListAndNothingChosen)
{
    frmLancar& f = abrir();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Efetuar Lançamentos - Banco ativo: ''C:\\Casa''"));
    EXPECT_EQ(f.txtTipo->currentText(), QStringLiteral("Saída"));
    EXPECT_EQ(itens(f.txtDespesa),
              (QStringList{QString(), QStringLiteral("100% Natural"), QStringLiteral("Água"),
                           QStringLiteral("Combustível"), QStringLiteral("Conta de Luz"),
                           QStringLiteral("O'Brien Pet Shop"), QStringLiteral("Padaria"),
                           QStringLiteral("Supermercado")}));
    EXPECT_TRUE(f.txtDespesa->currentText().isEmpty());
    EXPECT_EQ(f.txtFiltro->count(), 26);
    EXPECT_EQ(f.txtFiltro->itemText(0), QStringLiteral("A"));
    EXPECT_TRUE(f.txtFiltro->currentText().isEmpty());
    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("__/__/____"));
    EXPECT_EQ(f.txtDataVen->Text(), QStringLiteral("__/__/____"));
    EXPECT_TRUE(f.txtCodDesp->isHidden());
    EXPECT_TRUE(f.txtConta->isHidden());
    EXPECT_TRUE(f.lblEnter->isHidden());
    EXPECT_EQ(f.txtReferente->maxLength(), 70);
    EXPECT_EQ(foco(), f.txtTipo);

    // The grid: the side's classifications in table order, alternating rows.
    EXPECT_EQ(f.flxDespesas->TextMatrix(0, 0), QStringLiteral("Classificação"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(0, 1), QStringLiteral("Número"));
    ASSERT_EQ(f.flxDespesas->Rows(), 8);
    EXPECT_EQ(f.flxDespesas->TextMatrix(1, 0), QStringLiteral("Padaria"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(1, 1), QStringLiteral("001"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(4, 1), QStringLiteral("012"));
    EXPECT_EQ(f.flxDespesas->cellBackColor(1, 0), QColor(255, 255, 255));
    EXPECT_EQ(f.flxDespesas->cellBackColor(2, 1), QColor(225, 255, 255));
}

TEST_F(CamposLancamento, TypedCodeSelectsTheClassificationOfTheSide)
{
    // '\b' stands for Backspace; every case ends with Enter. Before it, the
    // label shows the code that will be looked up, in digits a reader can
    // see: a collected Backspace ends it and shows no glyph.
    const struct {
        const char* teclas;
        const char* rotulo;
        const char* escolhida;
    } casos[] = {
        {"12", "12", "Combustível"},
        {"13", "13", "Conta de Luz"},
        {"12\b3", "12", "Combustível"},  // Backspace is collected, reading stops there
        {"1", "1", ""},                  // a typed 1 selects nothing
        {"0", "0", ""},
        {"99", "99", ""},                // no such code: nothing, no message
        {"3", "3", "Supermercado"},
        {"\b5", "", ""},
    };
    frmLancar& f = abrir();
    for (const auto& c : casos) {
        f.escolherClassificacao(QString());
        f.txtDespesa->setFocus();
        for (const char* k = c.teclas; *k; ++k) {
            if (*k == '\b')
                tecla(Qt::Key_Backspace);
            else
                digitar(QString(QLatin1Char(*k)));
        }
        EXPECT_EQ(f.txtNumConta->text(), QString::fromUtf8(c.rotulo)) << c.teclas;
        tecla(Qt::Key_Return);
        EXPECT_EQ(f.txtDespesa->currentText(), QString::fromUtf8(c.escolhida)) << c.teclas;
        EXPECT_EQ(foco(), f.txtFiltro) << c.teclas;
        EXPECT_TRUE(f.txtNumConta->text().isEmpty()) << c.teclas;
    }
    EXPECT_TRUE(msgs.calls.empty());
    f.escolherClassificacao(QStringLiteral("Combustível"));
    EXPECT_EQ(f.txtCodDesp->text(), QStringLiteral("12"));
    EXPECT_EQ(f.txtConta->text(), QStringLiteral("Transporte"));
}

TEST_F(CamposLancamento, TypedDigitsShowAboveTheBox)
{
    frmLancar& f = abrir();
    f.txtDespesa->setFocus();
    digitar(QStringLiteral("12"));
    EXPECT_EQ(f.txtNumConta->text(), QStringLiteral("12"));
    EXPECT_TRUE(f.txtDespesa->currentText().isEmpty());  // digits do not jump the list
}

TEST_F(CamposLancamento, TypedCodeOfTheOtherSideIsRefusedAndKeepsTheFocus)
{
    frmLancar& f = abrir();
    f.escolherClassificacao(QStringLiteral("Supermercado"));
    f.txtDespesa->setFocus();
    digitar(QStringLiteral("20"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("A Classificação ''Salário'' não do tipo saída!"));
    EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
    EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
    EXPECT_EQ(foco(), f.txtDespesa);
    EXPECT_EQ(f.txtDespesa->currentText(), QStringLiteral("Supermercado"));
    EXPECT_EQ(f.txtCodDesp->text(), QStringLiteral("3"));

    f.txtTipo->setCurrentIndex(1);
    f.txtDespesa->setFocus();
    digitar(QStringLiteral("12"));
    tecla(Qt::Key_Tab);
    EXPECT_EQ(msgs.lastText(), QStringLiteral("A Classificação ''Combustível'' não do tipo entrada!"));
    EXPECT_EQ(foco(), f.txtDespesa);
}

TEST_F(CamposLancamento, ChangingTheSideEmptiesTheChoiceAndRefillsListAndGrid)
{
    frmLancar& f = abrir();
    f.txtConsulta->setText(QStringLiteral("a"));
    f.escolherClassificacao(QStringLiteral("Água"));
    f.txtTipo->setCurrentIndex(1);
    EXPECT_TRUE(f.txtDespesa->currentText().isEmpty());
    EXPECT_EQ(itens(f.txtDespesa), (QStringList{QString(), QStringLiteral("Aluguel Recebido"), QStringLiteral("Salário")}));
    EXPECT_EQ(f.txtConsulta->text(), QStringLiteral("a"));
    ASSERT_EQ(f.flxDespesas->Rows(), 3);
    EXPECT_EQ(f.flxDespesas->TextMatrix(1, 0), QStringLiteral("Salário"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(2, 0), QStringLiteral("Aluguel Recebido"));
}

TEST_F(CamposLancamento, FilterWithOneRowShowsEnterAndEnterTakesItIntoThePostingDate)
{
    frmLancar& f = abrir();
    f.txtConsulta->setFocus();
    digitar(QStringLiteral("comb"));
    ASSERT_EQ(f.flxDespesas->Rows(), 2);
    EXPECT_FALSE(f.lblEnter->isHidden());
    tecla(Qt::Key_Return);
    EXPECT_EQ(f.txtDespesa->currentText(), QStringLiteral("Combustível"));
    EXPECT_EQ(f.txtCodDesp->text(), QStringLiteral("12"));
    EXPECT_EQ(foco(), f.txtDataLan);

    f.txtConsulta->setText(QStringLiteral("zzz"));
    EXPECT_EQ(f.flxDespesas->Rows(), 1);
    EXPECT_TRUE(f.lblEnter->isHidden());
    f.txtConsulta->setText(QStringLiteral("o"));
    EXPECT_TRUE(f.lblEnter->isHidden());
}

TEST_F(CamposLancamento, DoubleClickTakesTheRowAndLeavesTheFocusInOrdem)
{
    frmLancar& f = abrir();
    f.txtConsulta->setText(QStringLiteral("luz"));
    ASSERT_EQ(f.flxDespesas->Rows(), 2);
    const QRect celula = f.flxDespesas->visualRect(f.flxDespesas->model()->index(1, 0));
    QTest::mouseDClick(f.flxDespesas->viewport(), Qt::LeftButton, Qt::NoModifier, celula.center());
    EXPECT_EQ(f.txtDespesa->currentText(), QStringLiteral("Conta de Luz"));
    EXPECT_EQ(f.txtConta->text(), QStringLiteral("Moradia"));
    EXPECT_EQ(foco(), f.txtFiltro);
}

TEST_F(CamposLancamento, FilterAndNamesWithQuotesOrPatternCharactersAreTakenLiterally)
{
    frmLancar& f = abrir();
    f.txtConsulta->setText(QStringLiteral("O'Bri"));
    ASSERT_EQ(f.flxDespesas->Rows(), 2);
    EXPECT_EQ(f.flxDespesas->TextMatrix(1, 0), QStringLiteral("O'Brien Pet Shop"));
    f.txtConsulta->setText(QStringLiteral("%"));
    ASSERT_EQ(f.flxDespesas->Rows(), 2);
    EXPECT_EQ(f.flxDespesas->TextMatrix(1, 0), QStringLiteral("100% Natural"));
    f.txtConsulta->setText(QStringLiteral("'; DROP TABLE Despesas; --"));
    EXPECT_EQ(f.flxDespesas->Rows(), 1);

    f.escolherClassificacao(QStringLiteral("O'Brien Pet Shop"));
    EXPECT_EQ(f.txtCodDesp->text(), QStringLiteral("30"));
    f.escolherClassificacao(QStringLiteral("100% Natural"));
    EXPECT_EQ(f.txtCodDesp->text(), QStringLiteral("31"));
}

TEST_F(CamposLancamento, LookupByNameComparesTheWholeNameInAnyCase)
{
    EXPECT_EQ(data::findClassificacaoByName(ConexaoBanco, QStringLiteral("COMBUSTÍVEL"))->codigo, 12);
    EXPECT_FALSE(data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Combust")));
    EXPECT_FALSE(data::findClassificacaoByName(ConexaoBanco, QStringLiteral("100_ Natural")));
}

TEST_F(CamposLancamento, BlankChoiceLooksNothingUpAndTheWindowGoesOn)
{
    frmLancar& f = abrir();
    f.escolherClassificacao(QStringLiteral("Padaria"));
    f.txtDespesa->setCurrentIndex(0);
    EXPECT_TRUE(f.txtDespesa->currentText().isEmpty());
    EXPECT_TRUE(f.txtCodDesp->text().isEmpty());
    EXPECT_TRUE(msgs.calls.empty());
    f.txtDespesa->setCurrentIndex(f.txtDespesa->findText(QStringLiteral("Água")));
    EXPECT_EQ(f.txtCodDesp->text(), QStringLiteral("7"));
}

TEST_F(CamposLancamento, GridPickOfTheOtherSideIsRefused)
{
    frmLancar& f = abrir();
    f.escolherClassificacao(QStringLiteral("Padaria"));
    f.flxDespesas->setTextMatrix(1, 0, QStringLiteral("Salário"));
    f.flxDespesas->setRow(1);
    f.flxDespesas_DblClick();
    EXPECT_EQ(msgs.lastText(), QStringLiteral("A Classificação ''Salário'' não é do tipo ''Saída''"));
    EXPECT_EQ(f.txtDespesa->currentText(), QStringLiteral("Padaria"));
    EXPECT_EQ(foco(), f.txtDespesa);
}

TEST_F(CamposLancamento, ValueBoxKeyFilterAndProduct)
{
    const struct {
        const char* teclas;
        const char* texto;
        bool invalido;
    } casos[] = {
        {"12*45=", "540", false},
        {"1,5*3=", "4,5", false},
        {"0,1*3=", "0,3", false},
        {"1,333*3=", "3,99", false},   // a third decimal is dropped
        {"0,125", "0,12", false},
        {"9999999999999*10=", "9999999999999*10", true},
        {"*=", "*", true},
        {"*3=", "*3", true},
        {"2**3=", "2**3", true},
        {",*3=", ",*3", true},
        {"1,5*2,", "1,5*2", false},  // a second comma is dropped, even after "*"
        {"..", ",", false},          // "." becomes ",", the second is dropped
        {"1.5", "1,5", false},
        {"-5a+b", "5", false},       // no sign, no letter
        {"12=", "12", false},        // "=" without "*" does nothing
    };
    frmLancar& f = abrir();
    for (const auto& c : casos) {
        msgs.clear();
        f.txtValor->clear();
        f.txtValor->setFocus();
        digitar(QString::fromLatin1(c.teclas));
        EXPECT_EQ(f.txtValor->text(), QString::fromLatin1(c.texto)) << c.teclas;
        if (c.invalido) {
            ASSERT_EQ(msgs.calls.size(), 1u) << c.teclas;
            EXPECT_EQ(msgs.last().text, QStringLiteral("Conteúdo inválido do campo ''Valor''."));
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
            EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        } else {
            EXPECT_TRUE(msgs.calls.empty()) << c.teclas;
        }
    }
}

TEST_F(CamposLancamento, ValueBoxPastesOnlyAmountsAndKeepsMovingKeys)
{
    frmLancar& f = abrir();
    f.txtValor->setFocus();
    digitar(QStringLiteral("45"));
    QGuiApplication::clipboard()->setText(QStringLiteral("-99abc"));
    tecla(Qt::Key_V, Qt::ControlModifier);
    tecla(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("45"));
    tecla(Qt::Key_Home);
    digitar(QStringLiteral("1"));
    tecla(Qt::Key_End);
    tecla(Qt::Key_Backspace);
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("14"));

    // The right mouse button offers the value boxes' menu, whose paste takes
    // an amount as the program writes it.
    f.txtValor->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("1.000,50"));
    bool menuAberto = false;
    QTimer::singleShot(0, [&menuAberto] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        menuAberto = menu != nullptr;
        if (!menu)
            return;
        for (QAction* a : menu->actions())
            if (a->text().section(QLatin1Char('\t'), 0, 0) == QCoreApplication::translate("QLineEdit", "&Paste"))
                a->trigger();
        menu->close();
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), f.txtValor->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(f.txtValor, &menu);
    EXPECT_TRUE(menuAberto);
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("1000,50"));
}

TEST_F(CamposLancamento, F2WritesTodayAndMovesOn)
{
    frmLancar& f = abrir();
    f.txtDataLan->setFocus();
    tecla(Qt::Key_F2);
    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("15/03/2024"));
    EXPECT_EQ(foco(), f.txtDataVen);
    tecla(Qt::Key_F2);
    EXPECT_EQ(f.txtDataVen->Text(), QStringLiteral("15/03/2024"));
    EXPECT_EQ(foco(), f.txtReferente);
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(CamposLancamento, LeavingTheDueDateWarnsFromThirtyDaysOn)
{
    const struct {
        QDate vencimento;
        const char* mensagem;
    } casos[] = {
        {QDate(2024, 2, 15), "Data de vencimento MENOR que data atual em: 29 dias!"},
        {QDate(2024, 2, 14), "Data de vencimento MENOR que data atual em: 30 dias!"},
        {QDate(2023, 3, 15), "Data de vencimento MENOR que data atual em: 366 dias!"},
    };
    frmLancar& f = abrir();
    for (const auto& c : casos) {
        msgs.clear();
        f.txtDataVen->setFocus();
        f.txtDataVen->setText(c.vencimento.toString(QStringLiteral("dd/MM/yyyy")));
        tecla(Qt::Key_Return);
        EXPECT_EQ(foco(), f.txtReferente);
        if (c.vencimento.daysTo(today) < 30) {
            EXPECT_TRUE(msgs.calls.empty());
        } else {
            ASSERT_EQ(msgs.calls.size(), 1u);
            EXPECT_EQ(msgs.last().text, QString::fromUtf8(c.mensagem));
            EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        }
    }
    // Empty, unfinished, today and future dates say nothing.
    for (const QString& texto : {QStringLiteral(""), QStringLiteral("12/0"), QStringLiteral("15/03/2024"),
                                 QStringLiteral("01/01/2030"), QStringLiteral("31/02/2024")}) {
        msgs.clear();
        f.txtDataVen->setFocus();
        f.txtDataVen->setText(texto);
        tecla(Qt::Key_Tab);
        EXPECT_TRUE(msgs.calls.empty()) << texto.toStdString();
    }
}

TEST_F(CamposLancamento, HelpPanelExplainsTheFocusedField)
{
    frmLancar& f = abrir();
    f.txtDespesa->setFocus();
    f.txtTipo->setFocus();
    EXPECT_EQ(f.txtDescricao->text(), QStringLiteral("Tipo do Lançamento:"));
    EXPECT_EQ(f.txtDescricao2->text(),
              QStringLiteral("Escolha uma das opções: ''Entrada'' ou  ''Saída'' para lançar débito ou crédito de valores."));
    EXPECT_TRUE(f.txtDica->text().isEmpty());

    const struct {
        QWidget* campo;
        const char* nome;
        const char* comecoDaDica;
    } casos[] = {
        {f.txtDespesa, "Classificação de Lançamentos:", "Pode ser digitado o número da classificação"},
        {f.txtFiltro, "Ordem:", "Um exemplo para o uso do campo Ordem"},
        {f.txtDataLan, "Data de Lançamento:", "Use a tecla de função F2"},
        {f.txtDataVen, "Vencimento:", "Use a tecla de função F2"},
        {f.txtReferente, "Referente / Histórico:", "É importante que este campo"},
        {f.txtValor, "Valor:", "Quando for fazer lançamento em parcelas"},
    };
    for (const auto& c : casos) {
        c.campo->setFocus();
        EXPECT_EQ(f.txtDescricao->text(), QString::fromUtf8(c.nome));
        EXPECT_TRUE(f.txtDica->text().startsWith(QString::fromUtf8(c.comecoDaDica))) << c.nome;
    }
    f.txtReferente->setFocus();
    EXPECT_EQ(f.txtDica->text().count(QLatin1Char('\n')), 2);  // three paragraphs
    f.txtValor->setFocus();
    EXPECT_TRUE(f.txtDica->text().endsWith(QStringLiteral("Exemplo: 12*45=    o resultado aparecerá automaticamente: 540.")));
}

TEST_F(CamposLancamento, DescriptionValueAndDatesSelectTheirTextOnFocus)
{
    frmLancar& f = abrir();
    f.txtReferente->setText(QStringLiteral("Padaria"));
    f.txtValor->setText(QStringLiteral("12,50"));
    f.txtDataVen->setText(QStringLiteral("20/03/2024"));
    for (QLineEdit* box : {static_cast<QLineEdit*>(f.txtReferente), f.txtValor, static_cast<QLineEdit*>(f.txtDataVen)}) {
        f.txtTipo->setFocus();
        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        EXPECT_EQ(box->selectedText(), box->text()) << box->objectName().toStdString();
    }
}

namespace {
// The fields as a window without the posting aids holds them.
class JanelaSemAuxilios : public platform::Form, public entries::CamposLancamento {
public:
    JanelaSemAuxilios() : CamposLancamento(this, entries::OpcoesCampos::editor())
    {
        setEnterAsTab(true);
        auto* l = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(txtTipo), static_cast<QWidget*>(txtDespesa),
                           static_cast<QWidget*>(txtFiltro), static_cast<QWidget*>(txtDataLan),
                           static_cast<QWidget*>(txtDataVen), static_cast<QWidget*>(txtReferente),
                           static_cast<QWidget*>(txtValor)})
            l->addWidget(w);
    }
};
} // namespace

TEST_F(CamposLancamento, WithoutTheAidsTheListKeepsTableOrderAndTheLetterMayBeBlank)
{
    JanelaSemAuxilios f;
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(f.txtNumConta, nullptr);
    EXPECT_EQ(f.flxDespesas, nullptr);
    EXPECT_EQ(f.txtDica, nullptr);
    EXPECT_EQ(f.txtFiltro->count(), 27);
    EXPECT_TRUE(f.txtFiltro->itemText(0).isEmpty());

    f.txtTipo->setCurrentIndex(0);
    EXPECT_EQ(itens(f.txtDespesa),
              (QStringList{QString(), QStringLiteral("Padaria"), QStringLiteral("Supermercado"), QStringLiteral("Água"),
                           QStringLiteral("Combustível"), QStringLiteral("Conta de Luz"),
                           QStringLiteral("O'Brien Pet Shop"), QStringLiteral("100% Natural")}));

    // F2 in the posting date passes a Tab on; in the due date it goes to the
    // description. The value box filters as in the posting window.
    f.txtDataLan->setFocus();
    tecla(Qt::Key_F2);
    EXPECT_EQ(f.txtDataLan->Text(), QStringLiteral("15/03/2024"));
    EXPECT_EQ(foco(), f.txtDataVen);
    tecla(Qt::Key_F2);
    EXPECT_EQ(foco(), f.txtReferente);
    f.txtValor->setFocus();
    digitar(QStringLiteral("-1.5*3="));
    EXPECT_EQ(f.txtValor->text(), QStringLiteral("4,5"));
}
