// Notes and reminders as the user meets them from the main window: the
// toolbar's "I" and "K", the reminder list and its double-click.
#include "AppFixture.h"

#include "Janelas.h"
#include "app/frmAnotacao.h"
#include "app/frmPlanCalend.h"
#include "data/Anotacoes.h"
#include "entries/frmClassificacao.h"

#include <QAction>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

using namespace testsupport;

namespace {
QStringList titulos(const QListWidget* lista)
{
    QStringList out;
    for (int i = 0; i < lista->count(); ++i)
        out << lista->item(i)->text();
    return out;
}
} // namespace

class LembretesPrincipalTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        createAccount(QStringLiteral("Casa"));
        registrarJanelas();
        hook.on<frmAnotacao>([this](frmAnotacao& f) { noEditor(f); });
    }

    // What the test does in the notes editor each time it is shown.
    std::function<void(frmAnotacao&)> noEditor = [](frmAnotacao& f) { f.Unload(); };
};

TEST_F(LembretesPrincipalTest, NoteDueInThreeDaysWithFiveOfWarningIsListedOpenedAndInTheCalendar)
{
    frmPrincipal& p = iniciar();
    ASSERT_TRUE(SenhaAceita);
    EXPECT_EQ(p.lstAnotacoes->count(), 0);

    // "I": a new note, reminding on 18/03/2024 with five days of warning.
    noEditor = [](frmAnotacao& f) {
        f.txtTitulo->setText(QStringLiteral("Pagar o condomínio"));
        f.txtTexto->setPlainText(QStringLiteral("Boleto no e-mail"));
        f.chkLembrar->setChecked(true);
        f.txtDataLemb->setText(QStringLiteral("18/03/2024"));
        f.txtQtdeDias->setText(QStringLiteral("5"));
        f.cmdGravar_Click();
        f.Unload();
    };
    p.Toolbar1_ButtonClick(QStringLiteral("I"));
    EXPECT_EQ(titulos(p.lstAnotacoes), QStringList{QStringLiteral("Pagar o condomínio")});

    // A double-click on the reminder opens that very note.
    QString titulo, modo;
    noEditor = [&](frmAnotacao& f) {
        titulo = f.txtTitulo->text();
        modo = f.fraAnota->title();
        f.Unload();
    };
    p.lstAnotacoes->setCurrentRow(0);
    p.lstAnotacoes_DblClick();
    EXPECT_EQ(titulo, QStringLiteral("Pagar o condomínio"));
    EXPECT_EQ(modo, QStringLiteral("Altera"));

    // "K": the yearly calendar lists it under March.
    QStringList marco;
    hook.on<frmPlanCalend>([&](frmPlanCalend& f) {
        for (int i = 0; i < f.txtMes[3]->count(); ++i)
            marco << f.txtMes[3]->item(i)->text();
        f.Unload();
    });
    p.Toolbar1_ButtonClick(QStringLiteral("K"));
    EXPECT_EQ(marco, QStringList{QStringLiteral("18 (seg) - Pagar o condomínio")});
    EXPECT_TRUE(msgs.calls.empty());
}

TEST_F(LembretesPrincipalTest, ClosingTheEditorRefreshesTheReminderList)
{
    frmPrincipal& p = iniciar();
    ASSERT_TRUE(SenhaAceita);
    data::Anotacao a;
    a.titulo = QStringLiteral("Vence hoje");
    a.texto = QStringLiteral("x");
    a.dataLemb = today;
    a.lembrar = QStringLiteral("S");
    a.qtdeDias = 0;
    a.lembrarSempre = QStringLiteral("N");
    a.dataAlter = today;
    const auto codigo = data::addAnotacao(ConexaoBanco, a);
    p.VerificaAnot();
    ASSERT_EQ(p.lstAnotacoes->count(), 1);

    // Switching the reminder off in the editor takes it off the list.
    noEditor = [&](frmAnotacao& f) {
        f.txtCodigo->setText(QString::number(codigo));
        f.chkLembrar->setChecked(false);
        f.cmdGravar_Click();
        f.Unload();
    };
    p.Toolbar1_ButtonClick(QStringLiteral("I"));
    EXPECT_EQ(p.lstAnotacoes->count(), 0);
}

TEST_F(LembretesPrincipalTest, TwoRemindersOfOneTitleEachOpenTheirOwnNote)
{
    frmPrincipal& p = iniciar();
    ASSERT_TRUE(SenhaAceita);
    std::vector<std::int64_t> codigos;
    for (const char* texto : {"primeiro", "segundo"}) {
        data::Anotacao a;
        a.titulo = QStringLiteral("Remédio");
        a.texto = QString::fromLatin1(texto);
        a.dataLemb = today.addDays(1);
        a.lembrar = QStringLiteral("S");
        a.qtdeDias = 2;
        a.lembrarSempre = QStringLiteral("N");
        a.dataAlter = today;
        codigos.push_back(data::addAnotacao(ConexaoBanco, a));
    }
    p.VerificaAnot();
    ASSERT_EQ(p.lstAnotacoes->count(), 2);
    for (int linha = 0; linha < 2; ++linha) {
        std::int64_t aberto = 0;
        noEditor = [&](frmAnotacao& f) {
            aberto = f.txtCodigo->text().toLongLong();
            f.Unload();
        };
        p.lstAnotacoes->setCurrentRow(linha);
        p.lstAnotacoes_DblClick();
        EXPECT_EQ(aberto, codigos[size_t(linha)]) << linha;
    }
}

TEST_F(LembretesPrincipalTest, ToolbarKeysAndMenuItemOpenTheirWindows)
{
    frmPrincipal& p = iniciar();
    ASSERT_TRUE(SenhaAceita);
    ASSERT_TRUE(p.mnuClassificacao->isEnabled());
    p.mnuClassificacao->trigger();
    for (const char* key : {"A", "I", "K"})
        p.Toolbar1_ButtonClick(QString::fromLatin1(key));
    const std::vector<QString> esperadas = {QStringLiteral("frmSenha"), QStringLiteral("frmClassificacao"),
                                            QStringLiteral("frmClassificacao"), QStringLiteral("frmAnotacao"),
                                            QStringLiteral("frmPlanCalend")};
    EXPECT_EQ(hook.shown, esperadas);
}
