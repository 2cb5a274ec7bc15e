#include "data/Conexao.h"
#include "data/Despesas.h"
#include "entries/frmClassificacao.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace testsupport;

class ClassificacaoTest : public DrivesFixture {
protected:
    void SetUp() override
    {
        DrivesFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
        login(QStringLiteral("Casa"));
    }

    frmClassificacao& janela()
    {
        auto& f = platform::Forms::get<frmClassificacao>();
        f.show();
        f.activateWindow();
        QApplication::setActiveWindow(&f);
        return f;
    }

    static int linhaDe(const frmClassificacao& f, const QString& nome)
    {
        for (int r = 1; r < f.flxDespesas->Rows(); ++r)
            if (f.flxDespesas->TextMatrix(r, 1) == nome)
                return r;
        return -1;
    }

    static void abrirParaAlterar(frmClassificacao& f, const QString& nome)
    {
        const int r = linhaDe(f, nome);
        ASSERT_GT(r, 0) << nome.toStdString();
        f.flxDespesas->setRow(r);
        f.flxDespesas_DblClick();
    }

    static QStringList filhos(const QTreeWidgetItem* no)
    {
        QStringList out;
        for (int i = 0; no && i < no->childCount(); ++i)
            out << no->child(i)->text(0);
        return out;
    }

    static QStringList chavesDosFilhos(const QTreeWidgetItem* no)
    {
        QStringList out;
        for (int i = 0; no && i < no->childCount(); ++i)
            out << frmClassificacao::chaveDoNo(no->child(i));
        return out;
    }

    std::int64_t codigoDe(const QString& nome)
    {
        const auto d = data::findClassificacaoByName(ConexaoBanco, nome);
        return d ? d->codigo : 0;
    }

    static void digitar(QWidget* w, const QString& texto)
    {
        for (QChar c : texto)
            QTest::sendKeyEvent(QTest::KeyAction::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    MsgRecorder msgs;
};

// ------------------------------------------------------------------ listing

TEST_F(ClassificacaoTest, OpensOnTheOutgoingSideInNameOrder)
{
    auto& f = janela();
    EXPECT_EQ(f.windowTitle(),
              QStringLiteral("Classificação de Lançamentos - Inclusão/Alteração - Banco ativo: ''C:\\Casa''"));
    EXPECT_EQ(f.txtCodDesp->currentText(), QStringLiteral("Saída"));
    EXPECT_EQ(f.txtTipo->text(), QStringLiteral("2"));
    EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Inclusão"));
    EXPECT_EQ(f.cmdAltAltera->text(), QStringLiteral("&Incluir"));
    // The focus order starts in the side list.
    EXPECT_TRUE(f.txtCodDesp->hasFocus());

    const auto saidas = data::classificacoes(ConexaoBanco, data::kDespesaSaida);
    ASSERT_EQ(f.flxDespesas->Rows(), int(saidas.size()) + 1);
    EXPECT_EQ(f.txtTotalDespesas->text(), QString::number(saidas.size()));
    EXPECT_EQ(f.flxDespesas->TextMatrix(0, 1), QStringLiteral("Classificação"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(0, 2), QStringLiteral("Pré-Classificação"));
    // Accents and case do not push a name to the end.
    EXPECT_EQ(f.flxDespesas->TextMatrix(1, 1), QStringLiteral("Água e Esgoto"));
    const int r = linhaDe(f, QStringLiteral("Supermercado"));
    ASSERT_GT(r, 0);
    EXPECT_EQ(f.flxDespesas->TextMatrix(r, 0), QStringLiteral("000001"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(r, 2), QStringLiteral("SUPERMERC"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(r, 3), QStringLiteral("Alimentação"));
    EXPECT_EQ(f.flxDespesas->TextMatrix(linhaDe(f, QStringLiteral("Restaurantes")), 2), QString());
    EXPECT_EQ(f.flxDespesas->cellBackColor(2, 0), QColor(225, 255, 255));
    EXPECT_EQ(f.flxDespesas->cellBackColor(3, 0), QColor(255, 255, 255));

    EXPECT_EQ(f.cbxContas->count(), 13);
    EXPECT_EQ(f.cbxContas->currentIndex(), -1);
    EXPECT_EQ(f.cbxContas->itemText(0), QStringLiteral("Alimentação"));
    EXPECT_EQ(f.cbxContas->itemText(12), QStringLiteral("Outras Saídas"));
}

TEST_F(ClassificacaoTest, IncomingSideListsItsOwnClassificationsAndThreeGroups)
{
    auto& f = janela();
    f.txtCodDesp->setCurrentText(QStringLiteral("Entrada"));
    EXPECT_EQ(f.txtTipo->text(), QStringLiteral("1"));
    const auto entradas = data::classificacoes(ConexaoBanco, data::kDespesaEntrada);
    EXPECT_EQ(f.flxDespesas->Rows(), int(entradas.size()) + 1);
    EXPECT_EQ(f.txtTotalDespesas->text(), QStringLiteral("08"));
    EXPECT_GT(linhaDe(f, QStringLiteral("Salário")), 0);
    EXPECT_LT(linhaDe(f, QStringLiteral("Supermercado")), 0);
    EXPECT_EQ(f.cbxContas->count(), 3);
    EXPECT_EQ(f.cbxContas->itemText(2), QStringLiteral("Outras Entradas"));
}

TEST_F(ClassificacaoTest, FilterListsNamesContainingTheTextWithoutRegardToCase)
{
    auto& f = janela();
    struct Caso {
        const char* filtro;
        QStringList nomes;
    } casos[] = {
        {"SEGURO", {QStringLiteral("Seguro do Carro"), QStringLiteral("Seguro Residencial")}},
        {"saída", {QStringLiteral("Saída Não Classificada")}},
        {"ÁGUA", {QStringLiteral("Água e Esgoto")}},
        {"%", {}},
        {"_", {}},
        {"'", {}},
        {"nenhuma", {}},
    };
    for (const Caso& c : casos) {
        f.txtConsulta->clear();
        digitar(f.txtConsulta, QString::fromUtf8(c.filtro));
        QStringList listados;
        for (int r = 1; r < f.flxDespesas->Rows(); ++r)
            listados << f.flxDespesas->TextMatrix(r, 1);
        EXPECT_EQ(listados, c.nomes) << c.filtro;
        EXPECT_EQ(f.txtTotalDespesas->text(), QStringLiteral("%1").arg(c.nomes.size(), 2, 10, QLatin1Char('0')))
            << c.filtro;
        // The tree always shows the whole plan.
        EXPECT_EQ(filhos(f.noPorChave(QStringLiteral("alimentação"))).size(), 3) << c.filtro;
    }
    // Nothing listed: a double-click finds no code and does nothing.
    f.flxDespesas_DblClick();
    EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Inclusão"));
    EXPECT_TRUE(msgs.calls.empty());
}

// ------------------------------------------------------------------- tree

TEST_F(ClassificacaoTest, TreeShowsBothSidesWithTheirGroupsInOrder)
{
    auto& f = janela();
    ASSERT_EQ(f.trwContas->topLevelItemCount(), 2);
    const QTreeWidgetItem* saidas = f.trwContas->topLevelItem(0);
    const QTreeWidgetItem* entradas = f.trwContas->topLevelItem(1);
    EXPECT_EQ(saidas->text(0), QStringLiteral("Classificação de SAÍDAS"));
    EXPECT_EQ(frmClassificacao::chaveDoNo(saidas), QStringLiteral("Saidas"));
    EXPECT_EQ(entradas->text(0), QStringLiteral("Classificação de ENTRADAS"));
    EXPECT_EQ(frmClassificacao::chaveDoNo(entradas), QStringLiteral("Entradas"));
    EXPECT_EQ(filhos(saidas), data::gruposDoLado(data::kDespesaSaida));
    EXPECT_EQ(chavesDosFilhos(saidas),
              (QStringList{QStringLiteral("alimentação"), QStringLiteral("transporte"), QStringLiteral("saude"),
                           QStringLiteral("moradia"), QStringLiteral("educacao"), QStringLiteral("bancos"),
                           QStringLiteral("comunicacao"), QStringLiteral("gastospessoais"), QStringLiteral("lazer"),
                           QStringLiteral("seguros"), QStringLiteral("impostos"), QStringLiteral("investimentos"),
                           QStringLiteral("outrassaidas")}));
    EXPECT_EQ(filhos(entradas), data::gruposDoLado(data::kDespesaEntrada));
    EXPECT_EQ(chavesDosFilhos(entradas),
              (QStringList{QStringLiteral("patrimoniais"), QStringLiteral("trabalho"), QStringLiteral("entradas")}));
    EXPECT_TRUE(saidas->isExpanded());
    EXPECT_TRUE(entradas->isExpanded());

    // Classifications under their group, in the table's order.
    EXPECT_EQ(filhos(f.noPorChave(QStringLiteral("alimentação"))),
              (QStringList{QStringLiteral("Supermercado"), QStringLiteral("Padaria"), QStringLiteral("Restaurantes")}));
    EXPECT_EQ(filhos(f.noPorChave(QStringLiteral("trabalho"))),
              (QStringList{QStringLiteral("Salário"), QStringLiteral("Adiantamento Salarial"),
                           QStringLiteral("Décimo Terceiro")}));
    EXPECT_TRUE(filhos(f.noPorChave(QStringLiteral("entradas"))).contains(QStringLiteral("Transferência Recebida")));
}

TEST_F(ClassificacaoTest, ClassificationNamedLikeAGroupKeyDoesNotTakeItsPlace)
{
    auto& f = janela();
    f.txtAltDesp->setText(QStringLiteral("bancos"));
    f.cbxContas->setCurrentText(QStringLiteral("Lazer"));
    f.cmdAltAltera_Click();
    f.txtAltDesp->setText(QStringLiteral("Saidas"));
    f.cbxContas->setCurrentText(QStringLiteral("Lazer"));
    f.cmdAltAltera_Click();
    ASSERT_TRUE(msgs.calls.empty());

    const QTreeWidgetItem* grupo = f.noPorChave(QStringLiteral("bancos"));
    ASSERT_NE(grupo, nullptr);
    EXPECT_EQ(grupo->text(0), QStringLiteral("Bancos / Financiamentos"));
    EXPECT_EQ(filhos(grupo).size(), 3);
    EXPECT_EQ(f.noPorChave(QStringLiteral("Saidas")), f.trwContas->topLevelItem(0));
    const QStringList lazer = filhos(f.noPorChave(QStringLiteral("lazer")));
    EXPECT_TRUE(lazer.contains(QStringLiteral("bancos")));
    EXPECT_TRUE(lazer.contains(QStringLiteral("Saidas")));

    // Every key in the tree is unique.
    QStringList chaves;
    std::function<void(const QTreeWidgetItem*)> juntar = [&](const QTreeWidgetItem* no) {
        chaves << frmClassificacao::chaveDoNo(no);
        for (int i = 0; i < no->childCount(); ++i)
            juntar(no->child(i));
    };
    for (int i = 0; i < f.trwContas->topLevelItemCount(); ++i)
        juntar(f.trwContas->topLevelItem(i));
    EXPECT_EQ(chaves.size(), QSet<QString>(chaves.begin(), chaves.end()).size());
}

TEST_F(ClassificacaoTest, ClassificationOutsideItsSidesGroupsIsListedButNotInTheTree)
{
    data::Despesa d;
    d.nome = QStringLiteral("Órfã");
    d.tipo = data::kDespesaSaida;
    d.conta = QStringLiteral("alimentação");  // not exactly a group name
    data::addClassificacao(ConexaoBanco, d);
    auto& f = janela();
    EXPECT_GT(linhaDe(f, QStringLiteral("Órfã")), 0);
    EXPECT_FALSE(filhos(f.noPorChave(QStringLiteral("alimentação"))).contains(QStringLiteral("Órfã")));
    EXPECT_FALSE(filhos(f.noPorChave(QStringLiteral("outrassaidas"))).contains(QStringLiteral("Órfã")));
}

// ------------------------------------------------------------------- adding

TEST_F(ClassificacaoTest, AddingStoresTheClassificationAndListsTheWholeSide)
{
    auto& f = janela();
    digitar(f.txtConsulta, QStringLiteral("farm"));
    f.txtAltDesp->setFocus();
    QTest::keyClicks(f.txtAltDesp, QStringLiteral("Pet Shop D"));
    digitar(f.txtAltDesp, QStringLiteral("'Ávila"));
    QTest::keyClick(f.txtAltDesp, Qt::Key_Return);
    EXPECT_TRUE(f.txtPreClass->hasFocus());
    QTest::keyClicks(f.txtPreClass, QStringLiteral("PETSHOP"));
    f.cbxContas->setCurrentText(QStringLiteral("Gastos Pessoais"));
    QTest::mouseClick(f.cmdAltAltera, Qt::LeftButton);

    EXPECT_TRUE(msgs.calls.empty());
    const auto d = data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Pet Shop D'Ávila"));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->tipo, QStringLiteral("2"));
    EXPECT_EQ(d->preClass, QStringLiteral("PETSHOP"));
    EXPECT_EQ(d->conta, QStringLiteral("Gastos Pessoais"));
    EXPECT_TRUE(f.txtAltDesp->text().isEmpty());
    EXPECT_TRUE(f.txtPreClass->text().isEmpty());
    EXPECT_EQ(f.cbxContas->currentIndex(), -1);
    // The filter box keeps its text while the grid lists the whole side.
    EXPECT_EQ(f.txtConsulta->text(), QStringLiteral("farm"));
    EXPECT_EQ(f.flxDespesas->Rows(), int(data::classificacoes(ConexaoBanco, data::kDespesaSaida).size()) + 1);
    EXPECT_GT(linhaDe(f, QStringLiteral("Pet Shop D'Ávila")), 0);
    EXPECT_TRUE(filhos(f.noPorChave(QStringLiteral("gastospessoais"))).contains(QStringLiteral("Pet Shop D'Ávila")));
}

TEST_F(ClassificacaoTest, AddingWithoutKeywordStoresEmptyText)
{
    auto& f = janela();
    f.txtCodDesp->setCurrentText(QStringLiteral("Entrada"));
    f.txtAltDesp->setText(QStringLiteral("Freelance"));
    f.cbxContas->setCurrentText(QStringLiteral("Trabalho"));
    f.cmdAltAltera_Click();
    const auto d = data::findClassificacaoByName(ConexaoBanco, QStringLiteral("Freelance"));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->tipo, QStringLiteral("1"));
    EXPECT_TRUE(d->preClass.isEmpty());
    EXPECT_FALSE(d->preClass.isNull());
}

TEST_F(ClassificacaoTest, AddingIsRefusedForTakenNamesEmptyNamesAndMissingGroup)
{
    struct Caso {
        const char* nome;
        const char* conta;  // "" for none chosen
        const char* mensagem;
        bool focoNoGrupo;
    } casos[] = {
        {"SUPERMERCADO", "Alimentação", "Já existe uma classificação com este nome.", false},
        {"salário", "Alimentação", "Já existe uma classificação com este nome.", false},
        {"FARMÁCIA", "Saúde", "Já existe uma classificação com este nome.", false},
        // Leading and trailing blanks would make a second "Padaria" in every list.
        {"Padaria ", "Alimentação", "Já existe uma classificação com este nome.", false},
        {"  salário", "Alimentação", "Já existe uma classificação com este nome.", false},
        {"", "Alimentação", "Falta digitar o campo ''Despesa", false},
        {"   ", "Alimentação", "Falta digitar o campo ''Despesa", false},
        {"Feira", "", "Falta escolher ''Conta''", true},
    };
    const auto antes = data::classificacoes(ConexaoBanco).size();
    auto& f = janela();
    for (const Caso& c : casos) {
        f.txtAltDesp->setText(QString::fromUtf8(c.nome));
        f.txtPreClass->setText(QStringLiteral("CHAVE"));
        if (*c.conta)
            f.cbxContas->setCurrentText(QString::fromUtf8(c.conta));
        else
            f.cbxContas->setCurrentIndex(-1);
        msgs.clear();
        f.cmdAltAltera_Click();
        ASSERT_EQ(msgs.calls.size(), 1u) << c.nome;
        EXPECT_EQ(msgs.last().text, QString::fromUtf8(c.mensagem)) << c.nome;
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        EXPECT_EQ(f.txtAltDesp->text(), QString::fromUtf8(c.nome));
        EXPECT_EQ(f.txtPreClass->text(), QStringLiteral("CHAVE"));
        EXPECT_TRUE(c.focoNoGrupo ? f.cbxContas->hasFocus() : f.txtAltDesp->hasFocus()) << c.nome;
    }
    EXPECT_EQ(data::classificacoes(ConexaoBanco).size(), antes);
}

TEST_F(ClassificacaoTest, NameCheckTakesPatternCharactersLiterally)
{
    auto& f = janela();
    // "Supermercad_" and "%" would match existing names as patterns.
    for (const char* nome : {"Supermercad_", "%", "Padaria%"}) {
        f.txtAltDesp->setText(QString::fromLatin1(nome));
        f.cbxContas->setCurrentText(QStringLiteral("Alimentação"));
        f.cmdAltAltera_Click();
        EXPECT_TRUE(msgs.calls.empty()) << nome;
        EXPECT_GT(codigoDe(QString::fromLatin1(nome)), 0) << nome;
    }
    // Now taken, each is refused once more.
    f.txtAltDesp->setText(QStringLiteral("supermercad_"));
    f.cbxContas->setCurrentText(QStringLiteral("Alimentação"));
    f.cmdAltAltera_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Já existe uma classificação com este nome."));
}

// ------------------------------------------------------------------ altering

TEST_F(ClassificacaoTest, DoubleClickOpensTheRowForAlteration)
{
    auto& f = janela();
    const int r = linhaDe(f, QStringLiteral("Farmácia"));
    ASSERT_GT(r, 0);
    const QModelIndex celula = f.flxDespesas->model()->index(r - 1, 1);
    f.flxDespesas->scrollTo(celula);
    QTest::mouseDClick(f.flxDespesas->viewport(), Qt::LeftButton, Qt::NoModifier,
                       f.flxDespesas->visualRect(celula).center());
    EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Altera"));
    EXPECT_EQ(f.cmdAltAltera->text(), QStringLiteral("&Alterar"));
    EXPECT_EQ(f.txtAltDesp->text(), QStringLiteral("Farmácia"));
    EXPECT_EQ(f.txtPreClass->text(), QStringLiteral("DROGARIA"));
    EXPECT_EQ(f.cbxContas->currentText(), QStringLiteral("Saúde"));
    EXPECT_EQ(f.txtCodigo->text(), QStringLiteral("%1").arg(codigoDe(QStringLiteral("Farmácia")), 6, 10, QLatin1Char('0')));
}

TEST_F(ClassificacaoTest, AlteringKeywordAndGroupKeepsNameCodeAndPostedEntries)
{
    const auto codigo = codigoDe(QStringLiteral("Padaria"));
    data::Statement(ConexaoBanco,
                    QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, DataLan, Tipo, Despesa, Filtro, Conta)"
                                   " VALUES (?, 'Pão', -1000, ?, '1', ?, 'A', 'Alimentação')"),
                    today, today, QString::number(codigo))
        .exec();
    auto& f = janela();
    abrirParaAlterar(f, QStringLiteral("Padaria"));
    f.txtPreClass->setText(QStringLiteral("PANIF"));
    f.cbxContas->setCurrentText(QStringLiteral("Gastos Pessoais"));
    f.cmdAltAltera_Click();

    EXPECT_TRUE(msgs.calls.empty());
    const auto d = data::findClassificacao(ConexaoBanco, codigo);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->nome, QStringLiteral("Padaria"));
    EXPECT_EQ(d->preClass, QStringLiteral("PANIF"));
    EXPECT_EQ(d->conta, QStringLiteral("Gastos Pessoais"));
    EXPECT_EQ(d->tipo, QStringLiteral("2"));
    EXPECT_EQ(data::scalar(ConexaoBanco, QStringLiteral("SELECT Conta FROM Lancamentos")).toString(),
              QStringLiteral("Alimentação"));
    EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Inclusão"));
    EXPECT_EQ(f.cmdAltAltera->text(), QStringLiteral("&Incluir"));
    EXPECT_TRUE(f.txtAltDesp->text().isEmpty());
    EXPECT_TRUE(filhos(f.noPorChave(QStringLiteral("gastospessoais"))).contains(QStringLiteral("Padaria")));
    EXPECT_FALSE(filhos(f.noPorChave(QStringLiteral("alimentação"))).contains(QStringLiteral("Padaria")));
}

TEST_F(ClassificacaoTest, RenamingChangesOnlyThatClassification)
{
    auto& f = janela();
    const auto codigo = codigoDe(QStringLiteral("Gás"));
    abrirParaAlterar(f, QStringLiteral("Gás"));
    f.txtAltDesp->setText(QStringLiteral("Gás de Cozinha"));
    f.cmdAltAltera_Click();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(codigoDe(QStringLiteral("Gás de Cozinha")), codigo);
    EXPECT_EQ(codigoDe(QStringLiteral("Gás")), 0);
    EXPECT_EQ(data::classificacoes(ConexaoBanco).size(), 43u);
}

TEST_F(ClassificacaoTest, AlteringIsRefusedForAnyNameAnotherClassificationBears)
{
    struct Caso {
        const char* lado;
        const char* abrir;
        const char* novoNome;
        const char* mensagem;
        const char* titulo;
    } casos[] = {
        {"Saída", "Padaria", "SALÁRIO", "Já existe um classificação com este nome nas ''Entradas''.", "Atenção"},
        {"Entrada", "Depósito", "supermercado", "Já existe um classificação com este nome nas ''Saídas''.", "Atenção"},
        {"Saída", "Padaria", "restaurantes", "Já existe uma classificação com este nome.", "Atenção,"},
        {"Saída", "Padaria", " Restaurantes ", "Já existe uma classificação com este nome.", "Atenção,"},
        {"Entrada", "Depósito", "Supermercado  ", "Já existe um classificação com este nome nas ''Saídas''.", "Atenção"},
        {"Entrada", "Depósito", "Salário", "Já existe uma classificação com este nome.", "Atenção,"},
        {"Saída", "Padaria", "", "Falta digitar o campo ''Despesa", "Atenção,"},
    };
    for (const Caso& c : casos) {
        auto& f = janela();
        f.txtCodDesp->setCurrentText(QString::fromUtf8(c.lado));
        abrirParaAlterar(f, QString::fromUtf8(c.abrir));
        f.txtAltDesp->setText(QString::fromUtf8(c.novoNome));
        msgs.clear();
        f.cmdAltAltera_Click();
        ASSERT_EQ(msgs.calls.size(), 1u) << c.novoNome;
        EXPECT_EQ(msgs.last().text, QString::fromUtf8(c.mensagem)) << c.novoNome;
        EXPECT_EQ(msgs.last().title, QString::fromUtf8(c.titulo)) << c.novoNome;
        EXPECT_EQ(msgs.last().icon(), platform::vbCritical);
        EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Altera"));
        EXPECT_EQ(f.txtAltDesp->text(), QString::fromUtf8(c.novoNome));
        EXPECT_TRUE(f.txtAltDesp->hasFocus());
        EXPECT_GT(codigoDe(QString::fromUtf8(c.abrir)), 0) << "unchanged";
    }
}

TEST_F(ClassificacaoTest, AlteringOnlyTheCaseOfItsOwnNameIsAccepted)
{
    auto& f = janela();
    const auto codigo = codigoDe(QStringLiteral("Juros"));
    abrirParaAlterar(f, QStringLiteral("Juros"));
    f.txtAltDesp->setText(QStringLiteral("JUROS"));
    f.cmdAltAltera_Click();
    EXPECT_TRUE(msgs.calls.empty());
    EXPECT_EQ(data::findClassificacao(ConexaoBanco, codigo)->nome, QStringLiteral("JUROS"));
}

TEST_F(ClassificacaoTest, AlteringAClassificationWithoutAValidGroupAsksForOne)
{
    data::Despesa d;
    d.nome = QStringLiteral("Sem grupo");
    d.tipo = data::kDespesaSaida;
    d.conta = QStringLiteral("Antiga");
    const auto codigo = data::addClassificacao(ConexaoBanco, d);
    auto& f = janela();
    abrirParaAlterar(f, QStringLiteral("Sem grupo"));
    EXPECT_EQ(f.cbxContas->currentIndex(), -1);
    f.cmdAltAltera_Click();
    ASSERT_EQ(msgs.calls.size(), 1u);
    EXPECT_EQ(msgs.last().text, QStringLiteral("Falta escolher ''Conta''"));
    EXPECT_EQ(data::findClassificacao(ConexaoBanco, codigo)->conta, QStringLiteral("Antiga"));
}

TEST_F(ClassificacaoTest, ReservedCodesCannotBeOpenedAndLeaveAnOpenAlterationAlone)
{
    auto& f = janela();
    abrirParaAlterar(f, QStringLiteral("Juros"));
    for (const auto& [lado, nome] : {std::pair{"Saída", "Transferência Enviada"},
                                     std::pair{"Entrada", "Transferência Recebida"}}) {
        if (f.txtCodDesp->currentText() != QString::fromUtf8(lado)) {
            f.txtCodDesp->setCurrentText(QString::fromUtf8(lado));
            abrirParaAlterar(f, QStringLiteral("Salário"));
        }
        const QString aberto = f.txtAltDesp->text();
        const QString codigoAberto = f.txtCodigo->text();
        msgs.clear();
        abrirParaAlterar(f, QString::fromUtf8(nome));
        ASSERT_EQ(msgs.calls.size(), 1u) << nome;
        EXPECT_EQ(msgs.last().text, QStringLiteral("Essa conta não pode ser alterada."));
        EXPECT_EQ(msgs.last().icon(), platform::vbExclamation);
        EXPECT_EQ(msgs.last().title, QStringLiteral("Atenção,"));
        EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Altera"));
        EXPECT_EQ(f.txtAltDesp->text(), aberto);
        EXPECT_EQ(f.txtCodigo->text(), codigoAberto);
    }
    EXPECT_EQ(codigoDe(QStringLiteral("Transferência Enviada")), 94);
    EXPECT_EQ(codigoDe(QStringLiteral("Transferência Recebida")), 95);
}

TEST_F(ClassificacaoTest, ChangingSideOrFilterAbandonsAnAlteration)
{
    auto& f = janela();
    abrirParaAlterar(f, QStringLiteral("Juros"));
    digitar(f.txtConsulta, QStringLiteral("j"));
    EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Inclusão"));
    EXPECT_TRUE(f.txtAltDesp->text().isEmpty());

    abrirParaAlterar(f, QStringLiteral("Juros"));
    f.txtCodDesp->setCurrentText(QStringLiteral("Entrada"));
    EXPECT_EQ(f.fraAltAltera->title(), QStringLiteral("Inclusão"));
    EXPECT_EQ(f.cmdAltAltera->text(), QStringLiteral("&Incluir"));
    EXPECT_TRUE(f.txtAltDesp->text().isEmpty());
    EXPECT_TRUE(f.txtPreClass->text().isEmpty());
}

TEST_F(ClassificacaoTest, EscapeClosesWithoutWriting)
{
    auto& f = janela();
    f.txtAltDesp->setText(QStringLiteral("Nova"));
    f.cbxContas->setCurrentText(QStringLiteral("Lazer"));
    f.txtAltDesp->setFocus();
    QTest::keyClick(f.txtAltDesp, Qt::Key_Escape);
    EXPECT_FALSE(platform::Forms::isLoaded<frmClassificacao>());
    EXPECT_EQ(codigoDe(QStringLiteral("Nova")), 0);
}

// ------------------------------------------------------------- the table

TEST_F(ClassificacaoTest, TableLookupsSharedByOtherWindows)
{
    EXPECT_EQ(data::classificacaoNaoClassificada(ConexaoBanco)->nome, data::kSaidaNaoClassificada);
    EXPECT_TRUE(data::findClassificacaoByName(ConexaoBanco, data::kEntradaNaoClassificada).has_value());
    EXPECT_EQ(data::gruposUsados(ConexaoBanco, data::kDespesaEntrada),
              (QStringList{QStringLiteral("Outras Entradas"), QStringLiteral("Patrimoniais"), QStringLiteral("Trabalho")}));
    EXPECT_TRUE(data::codigoReservado(94));
    EXPECT_TRUE(data::codigoReservado(95));
    EXPECT_FALSE(data::codigoReservado(96));
    const auto porCodigo = data::classificacoes(ConexaoBanco, QString(), data::OrdemDespesas::PorCodigo);
    ASSERT_FALSE(porCodigo.empty());
    EXPECT_EQ(porCodigo.front().nome, QStringLiteral("Supermercado"));
    EXPECT_EQ(porCodigo.back().codigo, 95);
    EXPECT_FALSE(data::outraComNome(ConexaoBanco, QStringLiteral("PADARIA"), codigoDe(QStringLiteral("Padaria"))));
    EXPECT_TRUE(data::outraComNome(ConexaoBanco, QStringLiteral("PADARIA")));
}
