#include "support/Fixtures.h"

#include "app/Falhas.h"
#include "data/AccountFile.h"
#include "data/Despesas.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QGuiApplication>
#include <cstdio>
#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

Pinturas::Pinturas(QWidget* janela)
{
    janela->installEventFilter(this);
    QObject::connect(&repintar_, &QTimer::timeout, janela, [janela] { janela->update(); });
    repintar_.start(20);
}

bool Pinturas::eventFilter(QObject*, QEvent* e)
{
    n += e->type() == QEvent::Paint;
    return false;
}

Qt::CursorShape cursorAtual()
{
    return QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::ArrowCursor;
}

void permitirGatilhos(data::Connection& db)
{
    int ligado = 0;
    sqlite3_db_config(db.handle(), SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, &ligado);
    sqlite3_set_authorizer(db.handle(), nullptr, nullptr);
}

const QString kRecusaOcupado = QStringLiteral("O banco de dados está em uso por outro programa; nada foi gravado.\r"
                                              "Aguarde o outro programa terminar e tente novamente.");
const QString kRecusaSemEspaco = QStringLiteral("Não há espaço livre no disco do banco de dados; nada foi gravado.\r"
                                                "Libere espaço no disco e tente novamente.");
const QString kRecusaSomenteLeitura =
    QStringLiteral("O banco de dados está somente para leitura; nada pode ser gravado nele.\r"
                   "Ele pode ser consultado e o programa pode ser encerrado normalmente.");

MsgRecorder::MsgRecorder()
{
    platform::setMsgBoxHandler([this](const platform::MsgCall& call) {
        calls.push_back(call);
        if (!answers_.empty()) {
            const int a = answers_.front();
            answers_.erase(answers_.begin());
            return a;
        }
        return call.buttons() == platform::vbYesNo ? int(platform::vbYes) : int(platform::vbOK);
    });
    platform::setInputBoxHandler([this](const platform::InputCall& call) {
        inputs.push_back(call);
        if (!inputAnswers_.empty()) {
            const QString a = inputAnswers_.front();
            inputAnswers_.erase(inputAnswers_.begin());
            return a;
        }
        return QString();
    });
}

MsgRecorder::~MsgRecorder() { installTestDefaults(); }

void installTestDefaults()
{
    app::instalarAvisoDeFalhas();
    platform::setMsgBoxHandler([](const platform::MsgCall& call) {
        std::fprintf(stderr, "[caixa sem gravador] %s\n", call.text.toLocal8Bit().constData());
        return call.buttons() == platform::vbYesNo ? int(platform::vbYes) : int(platform::vbOK);
    });
    platform::setInputBoxHandler([](const platform::InputCall& call) {
        std::fprintf(stderr, "[entrada sem gravador] %s\n", call.prompt.toLocal8Bit().constData());
        return QString();
    });
    platform::setModalHook([](platform::Form& form) {
        std::fprintf(stderr, "[janela modal sem gancho] %s\n", form.metaObject()->className());
        form.Unload();
    });
}

ModalHook::ModalHook()
{
    platform::setModalHook([this](platform::Form& form) {
        shown.push_back(QString::fromUtf8(form.metaObject()->className()));
        for (auto& h : handlers_)
            if (h(form))
                return;
        form.Unload();
    });
}

ModalHook::~ModalHook()
{
    platform::setModalHook([](platform::Form& form) {
        std::fprintf(stderr, "[janela modal sem gancho] %s\n", form.metaObject()->className());
        form.Unload();
    });
}

void DrivesFixture::SetUp()
{
    // Accounts made and opened with the real count each cost a key
    // derivation; only the tests of the keying itself ask for it.
    data::setPasswordKdfIterationsForTests(kIteracoesDeTeste);
    ASSERT_TRUE(dir.isValid());
    oldDrives = qgetenv("VORSAL_DRIVES");
    qputenv("VORSAL_DRIVES", dir.path().toLocal8Bit());
    platform::setToday(today);
    ConexaoBanco.close();
    CaminhoBanco.clear();
    NomeBanco.clear();
    DriveBanco.clear();
    SenhaAceita = false;
    SituacaoSenha.clear();
    NomeConsultaAtiva.clear();
    IncluirLancamento = false;
}

void DrivesFixture::TearDown()
{
    tornarGravaveis();
    platform::Forms::clear();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ConexaoBanco.close();
    platform::setToday(QDate());
    if (oldDrives.isEmpty())
        qunsetenv("VORSAL_DRIVES");
    else
        qputenv("VORSAL_DRIVES", oldDrives);
}

void DrivesFixture::tornarGravaveis()
{
    for (const QString& path : somenteLeitura_) {
        QProcess p;
        p.start(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
        p.waitForFinished();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    somenteLeitura_.clear();
}

bool DrivesFixture::tornarSomenteLeitura(const QString& path)
{
    somenteLeitura_.append(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    if (QFile(path).open(QIODevice::ReadWrite)) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral("chattr"), {QStringLiteral("+i"), path});
        p.waitForFinished();
    }
    return !QFile(path).open(QIODevice::ReadWrite);
}

bool DrivesFixture::imutavelFunciona()
{
    if (::geteuid() != 0)
        return false;
    const QString prova = QDir(bancoFolder()).filePath(QStringLiteral("imutavel.prova"));
    QFile f(prova);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.close();
    const bool vale = tornarSomenteLeitura(prova);
    QProcess p;
    p.start(QStringLiteral("chattr"), {QStringLiteral("-i"), prova});
    p.waitForFinished();
    somenteLeitura_.removeAll(prova);
    QFile::setPermissions(prova, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(prova);
    return vale;
}

QString DrivesFixture::bancoFolder(const QString& letter) const
{
    const QString path = QDir(dir.path()).filePath(letter.left(1).toUpper() + QStringLiteral("/Banco"));
    QDir().mkpath(path);
    return path;
}

QString DrivesFixture::createAccount(const QString& nome, const QString& senha, const QString& letter)
{
    const QString path = QDir(bancoFolder(letter)).filePath(nome + QStringLiteral(".mdb"));
    data::createAccountFile(path, senha, today);
    senhas[path] = senha;
    return path;
}

void DrivesFixture::regravarComo(const QString& path, const data::Keying& keying)
{
    const QString temp = path + QStringLiteral(".antiga");
    {
        data::Connection db;
        db.open(path, data::Keying(senhas.value(path, QStringLiteral("1234")).toUtf8()));
        QFile(temp).open(QIODevice::WriteOnly);  // the connection may not create files
        db.exportTo(temp, keying);
    }
    QFile::remove(path);
    ASSERT_TRUE(QFile::rename(temp, path));
}

int DrivesFixture::modoDe(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

void DrivesFixture::login(const QString& nome, const QString& letter)
{
    DriveBanco = letter.left(1).toUpper() + QLatin1Char(':');
    NomeBanco = nome;
    CaminhoBanco = DriveBanco + QStringLiteral("\\Banco\\") + nome + QStringLiteral(".mdb");
    ConexaoBanco.close();
    ChaveBanco = senhas.value(QDir(bancoFolder(letter)).filePath(nome + QStringLiteral(".mdb")),
                              QStringLiteral("1234"))
                     .toUtf8();
    AbrirConexao();
    SenhaAceita = true;
    SituacaoSenha = QStringLiteral("OK");
}

void LoggedInFixture::SetUp()
{
    DrivesFixture::SetUp();
    createAccount(QStringLiteral("Casa"));
    login(QStringLiteral("Casa"));
}

void LoggedInFixture::limparPlano() { ConexaoBanco.exec(QStringLiteral("DELETE FROM Despesas")); }

void LoggedInFixture::classe(int codigo, const char* nome, const char* tipo, const char* conta)
{
    data::Statement(ConexaoBanco,
                    QStringLiteral("INSERT INTO Despesas (Codigo, Despesa, Tipo, PreClass, Conta) VALUES (?, ?, ?, '', ?)"),
                    codigo, QString::fromUtf8(nome), QString::fromUtf8(tipo), QString::fromUtf8(conta))
        .exec();
}

std::int64_t LoggedInFixture::codigo(const QString& nome)
{
    return data::findClassificacaoByName(ConexaoBanco, nome)->codigo;
}

data::Lancamento LoggedInFixture::novoLancamento(const QDate& ven, const QString& referente, data::Centavos valor,
                                                 const QString& despesa, const QString& conta)
{
    data::Lancamento l;
    l.dataVen = ven;
    l.dataLan = ven;
    l.referente = referente;
    l.valor = valor;
    l.tipo = valor < 0 ? data::kTipoSaida : data::kTipoEntrada;
    l.despesa = despesa;
    l.filtro = QStringLiteral("A");
    l.conta = conta;
    return l;
}

std::int64_t LoggedInFixture::gravar(const data::Lancamento& l) { return data::addLancamento(ConexaoBanco, l); }

std::vector<data::Lancamento> LoggedInFixture::lancamentos()
{
    std::vector<data::Lancamento> out;
    data::Statement s(ConexaoBanco, QStringLiteral("SELECT ") + data::kLancamentoColumns +
                                        QStringLiteral(" FROM Lancamentos ORDER BY NumLan"));
    while (s.next())
        out.push_back(data::readLancamento(s));
    return out;
}

qint64 LoggedInFixture::contar(const QString& tabela)
{
    return data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM ") + tabela).toLongLong();
}

QStringList LoggedInFixture::coluna(const platform::FlexGrid& grade, int col)
{
    QStringList out;
    for (int r = 1; r < grade.Rows(); ++r)
        out << grade.TextMatrix(r, col);
    return out;
}

QStringList LoggedInFixture::linha(const platform::FlexGrid& grade, int row)
{
    QStringList out;
    for (int c = 0; c < grade.Cols(); ++c)
        out << grade.TextMatrix(row, c);
    return out;
}

} // namespace testsupport
