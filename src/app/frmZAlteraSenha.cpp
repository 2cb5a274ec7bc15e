#include "app/frmZAlteraSenha.h"

#include "app/Backup.h"
#include "app/CampoSenha.h"
#include "app/Icones.h"
#include "app/Textos.h"
#include "data/Conexao.h"
#include "data/Senha.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLineEdit* caixaSenha(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setMaxLength(8);
    mascararSenha(box, QLatin1Char('*'));
    return box;
}

QToolButton* botaoOk(QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setIcon(iconeOk());
    b->setIconSize(QSize(24, 24));
    b->setToolTip(QStringLiteral("OK"));
    return b;
}

} // namespace

frmZAlteraSenha::frmZAlteraSenha(QWidget* parent) : Form(parent)
{
    setEnterAsTab(true);

    fraAtual = new QGroupBox(QStringLiteral("Senha Atual"), this);
    txtSenhaDig = caixaSenha(fraAtual);
    cmdOK = botaoOk(fraAtual);
    auto* atual = new QHBoxLayout(fraAtual);
    atual->addWidget(new QLabel(QStringLiteral("Insira a Senha atual:"), fraAtual));
    atual->addWidget(txtSenhaDig, 1);
    atual->addWidget(cmdOK);

    fraNova = new QGroupBox(QStringLiteral("Nova Senha"), this);
    txtNovaSenha[0] = caixaSenha(fraNova);
    txtNovaSenha[1] = caixaSenha(fraNova);
    cmdAltera = botaoOk(fraNova);
    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Insira a nova Senha:"), txtNovaSenha[0]);
    campos->addRow(QStringLiteral("Confirme a nova Senha:"), txtNovaSenha[1]);
    auto* nova = new QHBoxLayout(fraNova);
    nova->addLayout(campos, 1);
    nova->addWidget(cmdAltera, 0, Qt::AlignBottom);
    fraNova->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraAtual);
    layout->addWidget(fraNova);

    connect(cmdOK, &QToolButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdAltera, &QToolButton::clicked, this, [this] { cmdAltera_Click(); });
}

void frmZAlteraSenha::Form_Load()
{
    SenhaAtual = data::readSenha(ConexaoBanco).senha;
    setWindowTitle(CaptionAtivo(QStringLiteral("Alteração de Senha")));
}

void frmZAlteraSenha::cmdOK_Click()
{
    if (txtSenhaDig->text().isEmpty()) {
        platform::MsgBox(QStringLiteral("Digite a Senha atual para a alteração."), platform::vbInformation,
                         app::kAtencao);
        txtSenhaDig->setFocus();
        return;
    }
    if (txtSenhaDig->text() == SenhaAtual) {
        fraAtual->setEnabled(false);
        fraNova->setEnabled(true);
        txtSenhaDig->clear();
        txtNovaSenha[0]->setFocus();
        return;
    }
    platform::MsgBox(QStringLiteral("A Senha digitada não confere com a Senha atual!"), platform::vbCritical,
                     app::kAtencao);
    txtSenhaDig->setFocus();
}

void frmZAlteraSenha::cmdAltera_Click()
{
    const QString nova = txtNovaSenha[0]->text();
    auto recusar = [this](const QString& texto, int icone) {
        platform::MsgBox(texto, icone | platform::vbOKOnly, app::kAtencao);
        txtNovaSenha[0]->setFocus();
    };
    if (nova.size() < 4) {
        recusar(QStringLiteral("Digite uma Senha contendo de 4 a 8 caracteres."), platform::vbInformation);
        return;
    }
    if (nova != txtNovaSenha[1]->text()) {
        recusar(QStringLiteral("Senha de confirmação não confere com a nova Senha!"), platform::vbCritical);
        return;
    }
    if (nova == SenhaAtual) {
        recusar(QStringLiteral("Essa Senha não pode ser utilizada!"), platform::vbExclamation);
        return;
    }
    // The whole file is written again with the new key: long on a large
    // account.
    QString falha;
    QStringList presas;
    try {
        const platform::WaitCursor espera;
        // The whole file and each copy are written again: the step shows,
        // and the windows go on painting.
        QProgressDialog progresso(QStringLiteral("Preparando a alteração…"), QString(), 0, 0, this);
        progresso.setWindowTitle(QStringLiteral("Alteração de Senha"));
        progresso.setWindowModality(Qt::WindowModal);
        progresso.setCancelButton(nullptr);
        progresso.setMinimumDuration(0);
        progresso.show();
        presas = app::alterarSenha(nova, [&progresso](const QString& passo) {
            progresso.setLabelText(passo);
            progresso.setAccessibleDescription(passo);
            platform::waitPainting(std::chrono::milliseconds(0));
        });
    } catch (const data::DbError& e) {
        falha = e.userMessage();
    }
    if (!falha.isEmpty()) {
        recusar(QStringLiteral("A Senha não foi alterada.\r") + falha, platform::vbCritical);
        return;
    }
    if (!presas.isEmpty()) {
        // Success is not told while a name of the account still opens with
        // the former password.
        platform::MsgBox(QStringLiteral("A Senha da conta foi alterada, mas estas cópias de segurança continuam "
                                        "abrindo com a Senha anterior: ''") +
                             presas.join(QStringLiteral("'', ''")) +
                             QStringLiteral("''.\rQuem tiver uma delas abre a conta com a Senha anterior: apague-as, se não forem "
                                            "mais necessárias."),
                         platform::vbExclamation | platform::vbOKOnly, QStringLiteral("Senha Alterada"));
        Unload();
        return;
    }
    platform::MsgBox(QStringLiteral("Senha alterada com sucesso!"), platform::vbInformation,
                     QStringLiteral("Senha Alterada"));
    Unload();
}
