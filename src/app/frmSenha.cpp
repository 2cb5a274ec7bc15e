#include "app/frmSenha.h"

#include "app/Backup.h"
#include "app/CampoSenha.h"
#include "app/Textos.h"
#include "app/frmPrincipal.h"
#include "data/AccountFile.h"
#include "data/Conexao.h"
#include "data/Senha.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Drives.h"
#include "platform/MsgBox.h"
#include "platform/formats.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextStream>
#include <QVBoxLayout>

frmSenha::frmSenha(QWidget* parent) : Form(parent)
{
    setWindowTitle(QStringLiteral("Vo$sal - Entrada"));

    txtFiltro = new QComboBox(this);
    txtFiltro->setEditable(false);
    for (char c = 'A'; c <= 'Z'; ++c)
        txtFiltro->addItem(QString(QLatin1Char(c)));
    lstBancos = new QListWidget(this);
    lstBancos->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBancos->setMinimumHeight(140);
    // The password box takes the keys while the list keeps the account.
    platform::focusedOnlyWithKeyboard(*lstBancos);
    txtSenha = new QLineEdit(this);
    mascararSenha(txtSenha, QLatin1Char('$'));
    // The keyboard never rests on the list: a click on it or Tab towards it
    // leaves the keys in the password box, so that no character typed is
    // ever heard as a key pressed on a list. The arrows in the box choose
    // the account.
    lstBancos->setFocusProxy(txtSenha);

    auto* layout = new QVBoxLayout(this);
    auto* drive = new QHBoxLayout;
    drive->addWidget(new QLabel(QStringLiteral("Abrir pasta \"Banco\" no Drive:"), this));
    drive->addWidget(txtFiltro);
    drive->addStretch(1);
    layout->addLayout(drive);
    layout->addWidget(new QLabel(QStringLiteral("Bancos encontrados:"), this));
    layout->addWidget(lstBancos, 1);
    layout->addWidget(new QLabel(QStringLiteral("Digite a senha:"), this));
    layout->addWidget(txtSenha);
    resize(360, 320);

    connect(txtFiltro, &QComboBox::currentIndexChanged, this, [this] { txtFiltro_Click(); });
    connect(lstBancos, &QListWidget::currentRowChanged, this, [this] { lstBancos_Click(); });
    lstBancos->installEventFilter(this);
    txtSenha->installEventFilter(this);
}

// ------------------------------------------------------------- loading

QString frmSenha::driveInicial()
{
    QFile arquivo(platform::Drives::toLocal(QStringLiteral("C:\\Banco\\Drive.txt")));
    QString linha;
    if (arquivo.open(QIODevice::ReadOnly | QIODevice::Text))
        linha = QTextStream(&arquivo).readLine().trimmed().toUpper();
    // Only a letter the drive list holds can be chosen; anything else counts
    // as an empty line.
    if (linha.size() != 1 || linha[0] < QLatin1Char('A') || linha[0] > QLatin1Char('Z'))
        return QStringLiteral("C");
    return linha;
}

void frmSenha::Form_Load()
{
    DriveBanco = driveInicial();
    SenhaAceita = false;
    // Choosing the drive lists its accounts and selects the first; the
    // list is then searched once more, so an empty drive is reported twice.
    // The second report also says how an account is made, since the program
    // itself never makes one.
    escolherDrive(DriveBanco);
    comoCriarConta_ = true;
    BuscaBancos();
    comoCriarConta_ = false;
    if (lstBancos->count() > 0)
        selecionarConta(0);
    if (platform::Forms::isLoaded<frmPrincipal>()) {
        DiaCalendario* d1 = platform::Forms::get<frmPrincipal>().D[0];
        QFont f = d1->font();
        f.setBold(true);
        d1->setFont(f);
    }
}

void frmSenha::Form_Activate() { txtSenha->setFocus(); }

// ------------------------------------------------------------- the drive

// Selecting from the program runs the choice as a click does, even when the
// letter is already the one shown.
void frmSenha::escolherDrive(const QString& letra)
{
    const int indice = txtFiltro->findText(letra);
    if (indice < 0)
        return;
    if (txtFiltro->currentIndex() == indice)
        txtFiltro_Click();
    else
        txtFiltro->setCurrentIndex(indice);
}

void frmSenha::txtFiltro_Click()
{
    DriveBanco = txtFiltro->currentText() + QLatin1Char(':');
    BuscaBancos();
    if (lstBancos->count() > 0)
        selecionarConta(0);
}

QString frmSenha::nomeDaConta(const QString& nomeArquivo)
{
    if (!nomeArquivo.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive))
        return QString();
    if (data::nomeDeCopia(nomeArquivo))
        return QString();
    // The extension goes whatever its case, so "CASA.MDB" is the account
    // "CASA".
    QString nome = nomeArquivo.chopped(4);
    nome.remove(QStringLiteral(".mdb"));
    return nome;
}

QString frmSenha::comoCriarConta(const QString& letra)
{
    const QString pasta = QDir(platform::Drives::folder(letra)).filePath(QStringLiteral("Banco"));
    return QStringLiteral("Para criar uma conta, digite num terminal:\n\n"
                          "    vorsal-nova-conta %1 Casa\n\n"
                          "(%1 é o drive e Casa, o nome da conta; a senha é pedida duas vezes). "
                          "O arquivo da conta será %1:\\Banco\\Casa.mdb, na pasta %2. "
                          "Depois abra a Vo$sal outra vez.")
        .arg(letra, QDir::toNativeSeparators(pasta));
}

void frmSenha::BuscaBancos()
{
    lstBancos->clear();
    const QDir pasta(platform::Drives::toLocal(txtFiltro->currentText() + QStringLiteral(":\\Banco")));
    QStringList arquivos;
    if (pasta.exists())
        for (const QString& nome : pasta.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
            if (nome.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive))
                arquivos.append(nome);
    if (arquivos.isEmpty()) {
        QString texto = QStringLiteral("Nenhum Banco de Dados encontrado neste Drive!");
        if (comoCriarConta_)
            texto += QStringLiteral("\n\n") + comoCriarConta(txtFiltro->currentText());
        platform::MsgBox(texto, platform::vbExclamation | platform::vbOKOnly, app::kAtencao);
        return;
    }
    const bool bloqueado = lstBancos->blockSignals(true);
    for (const QString& arquivo : arquivos) {
        const QString nome = nomeDaConta(arquivo);
        if (nome.isEmpty())
            continue;
        auto* item = new QListWidgetItem(nome);
        item->setData(Qt::UserRole, arquivo);
        lstBancos->addItem(item);
    }
    lstBancos->setCurrentRow(-1);
    lstBancos->blockSignals(bloqueado);
}

// ------------------------------------------------------------- the account

void frmSenha::selecionarConta(int linha)
{
    if (lstBancos->currentRow() == linha)
        lstBancos_Click();
    else
        lstBancos->setCurrentRow(linha);
}

void frmSenha::lstBancos_Click()
{
    if (QListWidgetItem* item = lstBancos->currentItem())
        NomeBanco = item->text();
}

bool frmSenha::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape)
            return Form::eventFilter(watched, event);
        // Tab and Shift+Tab (Shift pressed alone included) go round the
        // drive, the list and the password; any other key goes on to the
        // password box, a typed character with it, so that it is neither
        // lost nor taken as a search of the list.
        const int k = key->key();
        const bool percorre = k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Shift ||
                              k == Qt::Key_Control || k == Qt::Key_Alt || k == Qt::Key_Meta ||
                              k == Qt::Key_AltGr || k == Qt::Key_CapsLock;
        if (watched == lstBancos && !percorre) {
            txtSenha->setFocus();
            if (key->text().isEmpty() || !key->text().front().isPrint())
                return false;
            QKeyEvent copia(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                            ushort(key->count()));
            QCoreApplication::sendEvent(txtSenha, &copia);
            return true;
        }
        if (watched == txtSenha) {
            if (k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_Return || k == Qt::Key_Enter) {
                txtSenha_KeyDown(k);
                return true;
            }
        }
    }
    return Form::eventFilter(watched, event);
}

// ------------------------------------------------------------- the password

void frmSenha::txtSenha_KeyDown(int key)
{
    const int total = lstBancos->count();
    if (total == 0)
        return;
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_Up:
        txtSenha->clear();
        if (key == Qt::Key_Down)
            selecionarConta(lstBancos->currentRow() + 1 >= total ? 0 : lstBancos->currentRow() + 1);
        else
            selecionarConta(lstBancos->currentRow() <= 0 ? total - 1 : lstBancos->currentRow() - 1);
        // The keys stay in the password box: the account chosen is told to
        // a screen reader there.
        platform::announce(*this, NomeBanco);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Login();
        break;
    default:
        break;
    }
}

void frmSenha::Login()
{
    QListWidgetItem* item = lstBancos->currentItem();
    if (!item)
        return;
    CaminhoBanco = DriveBanco + QStringLiteral("\\Banco\\") + item->data(Qt::UserRole).toString();

    const QString digitada = txtSenha->text();
    ChaveBanco = digitada.toUtf8();
    data::FormaConta forma = data::FormaConta::Senha;
    data::SenhaRecord registro;
    try {
        forma = AbrirConexao();
        data::checkAccountTables(ConexaoBanco);
        registro = data::readSenha(ConexaoBanco);
    } catch (const data::ContaEmUso&) {
        recusarArquivo(QStringLiteral("O banco de dados ''") + CaminhoBanco +
                       QStringLiteral("'' está aberto em outra janela da Vo$sal."));
        return;
    } catch (const data::SenhaRecusada&) {
        senhaInvalida();
        return;
    } catch (const data::EsquemaAlheio& e) {
        recusarArquivo(QStringLiteral("O banco de dados ''") + CaminhoBanco + QStringLiteral("'' não foi aberto: ") +
                       e.message());
        return;
    } catch (const data::DbError& e) {
        // Another program holding the file past the wait is told as such;
        // the password was not tried.
        if (e.cause() == data::DbCause::Damaged)
            recusarArquivo(QStringLiteral("O banco de dados ''") + CaminhoBanco +
                           QStringLiteral("'' está danificado e não foi aberto: uma parte dele não pode ser lida. "
                                          "Abra uma cópia de segurança da conta."));
        else
            recusarArquivo(e.cause() == data::DbCause::Busy ? e.userMessage() : arquivoIlegivel(CaminhoBanco));
        return;
    }
    if (!registro.found || registro.senha.isEmpty()) {
        recusarArquivo(QStringLiteral("O banco de dados ''") + CaminhoBanco +
                       QStringLiteral("'' não possui senha cadastrada e não pode ser aberto."));
        return;
    }
    SituacaoSenha = registro.senha;

    if (digitada != SituacaoSenha) {
        senhaInvalida();
        return;
    }
    if (forma != data::FormaConta::Senha) {
        // A file of an earlier version is keyed with its password from now
        // on. When that cannot be done it stays as it was and is still
        // used; the next login tries again.
        const platform::WaitCursor espera;
        try {
            data::rewriteAccount(ConexaoBanco, caminhoLocalBanco(), digitada);
        } catch (const data::DbError&) {
        }
    }
    // A password change cut short is finished (or undone) for the copies
    // before anything else: none may keep opening with another password.
    try {
        app::concluirTrocaInterrompida();
    } catch (const data::DbError&) {
    }
    SenhaAceita = true;
    SituacaoSenha = QStringLiteral("OK");
    if (platform::Forms::isLoaded<frmPrincipal>())
        platform::Forms::get<frmPrincipal>().VerificaAnot();
    Unload();
}

void frmSenha::senhaInvalida()
{
    ChaveBanco.clear();
    txtSenha->clear();
    SenhaAceita = false;
    txtSenha->setFocus();
    ConexaoBanco.close();
    platform::MsgBox(QStringLiteral("Senha inválida!"), platform::vbCritical | platform::vbOKOnly,
                     app::kAtencao);
}

QString frmSenha::arquivoIlegivel(const QString& caminho)
{
    return QStringLiteral("Não foi possível abrir o banco de dados ''") + caminho + QStringLiteral("''.");
}

// A file that cannot be logged into is named; the dialog stays for another
// choice.
void frmSenha::recusarArquivo(const QString& mensagem)
{
    ConexaoBanco.close();
    ChaveBanco.clear();
    txtSenha->clear();
    SenhaAceita = false;
    txtSenha->setFocus();
    platform::MsgBox(mensagem, platform::vbCritical | platform::vbOKOnly, app::kAtencao);
}

// ------------------------------------------------------------- leaving

void frmSenha::escapePressed()
{
    SenhaAceita = false;
    SituacaoSenha.clear();
    Unload();
}

void frmSenha::Form_Unload(bool& cancel)
{
    if (!SenhaAceita) {
        frmPrincipal::encerrarPrograma();
        return;
    }
    if (!platform::Forms::isLoaded<frmPrincipal>())
        return;
    data::SenhaRecord registro;
    try {
        registro = data::readSenha(ConexaoBanco);
    } catch (const data::DbError&) {
        // The file changed since the login read it: another choice.
        cancel = true;
        recusarArquivo(arquivoIlegivel(CaminhoBanco));
        return;
    }
    frmPrincipal& principal = platform::Forms::get<frmPrincipal>();
    principal.lblUltimoAcesso->setText(QStringLiteral("Último acesso em: ") + platform::fmtDate(registro.ultimoAcesso) +
                                       QStringLiteral(" - ") +
                                       platform::formatDate(registro.ultimoAcesso, QStringLiteral("dddd")));
    principal.lblBancoAtivo->setText(QStringLiteral("Nome do banco ativo: ''") + DriveBanco + QLatin1Char('\\') +
                                     NomeBanco + QStringLiteral("''"));
    // The account's name may widen the window past the screen's edge.
    platform::fitOnScreen(principal);
}
