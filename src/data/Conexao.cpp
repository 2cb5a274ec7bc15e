#include "data/Conexao.h"

#include "data/Senha.h"
#include "platform/PrivateFile.h"
#include "platform/Drives.h"
#include "platform/Form.h"

#include <QFile>

#include <vector>

data::Connection ConexaoBanco;
QString CaminhoBanco;
QString NomeBanco;
QString DriveBanco;
bool SenhaAceita = false;
QString SituacaoSenha;
QString NomeConsultaAtiva;
bool IncluirLancamento = false;
QByteArray ChaveBanco;

data::FormaConta openAccountFile(data::Connection& connection, const QString& localPath, const QByteArray& senha)
{
    using data::CipherSettings;
    using data::FormaConta;
    using data::Keying;
    auto naoEConta = [&](const QString& why) {
        return data::DbError(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(localPath, why));
    };
    QFile arquivo(localPath);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw naoEConta(arquivo.errorString());
    const qint64 tamanho = arquivo.size();
    const QByteArray inicio = arquivo.read(16);
    arquivo.close();
    // An unencrypted file starts with the format's name; an encrypted one
    // with its random salt.
    if (inicio == QByteArray("SQLite format 3", 16)) {
        connection.open(localPath, Keying());
        return FormaConta::SemCifra;
    }
    if (tamanho == 0 || tamanho % CipherSettings::legacyPageSize != 0)
        throw naoEConta(QStringLiteral("não é um arquivo de conta."));

    struct Tentativa {
        Keying keying;
        FormaConta forma;
    };
    const QByteArray antiga(data::kSenhaBancoDados);
    const bool paginas4096 = tamanho % CipherSettings::pageSize == 0;
    std::vector<Tentativa> tentativas;
    if (paginas4096 && !senha.isEmpty())
        tentativas.push_back({Keying(senha), FormaConta::Senha});
    if (paginas4096)
        tentativas.push_back(
            {Keying(antiga, CipherSettings::pageSize, CipherSettings::legacyKdfIterations), FormaConta::ChaveAntiga});
    tentativas.push_back(
        {Keying(antiga, CipherSettings::legacyPageSize, CipherSettings::legacyKdfIterations), FormaConta::ChaveAntiga});
    for (const Tentativa& t : tentativas) {
        try {
            connection.open(localPath, t.keying);
            return t.forma;
        } catch (const data::DbError&) {
            // The next keying, on a fresh connection.
        }
    }
    throw data::SenhaRecusada(QStringLiteral("A senha não abre o arquivo \"%1\".").arg(localPath));
}

void data::checkAccountTables(Connection& db)
{
    static const char* const consultas[] = {
        "SELECT NumLan, DataVen, Referente, Valor, DataLan, Tipo, Despesa, Filtro, Conta FROM Lancamentos",
        "SELECT Codigo, Despesa, Tipo, PreClass, Conta FROM Despesas",
        "SELECT Codigo, Titulo, Texto, DataAlter, DataLemb, Lembrar, QtdeDias, LembrarSempre FROM Anotacoes",
        "SELECT Senha, UltimoAcesso, Backup FROM Senha",
        "SELECT ID, Data, Referente, Despesa, Ocorre, Valor, \"Total Ano\" FROM Orcamento",
        "SELECT Despesa, Valor FROM PrevistoRealizado",
    };
    // Preparing a statement resolves its tables and columns; nothing is read.
    for (const char* sql : consultas)
        Statement(db, QString::fromLatin1(sql) + QStringLiteral(" LIMIT 0"));
}

data::FormaConta AbrirConexao()
{
    // Our own earlier hold on the file would count as another copy's.
    ConexaoBanco.close();
    const QString path = caminhoLocalBanco();
    platform::FileLock trava;
    switch (trava.lock(path)) {
    case platform::FileLock::Result::Locked: break;
    case platform::FileLock::Result::InUse:
        throw data::ContaEmUso(QStringLiteral("O arquivo \"%1\" está aberto em outra janela.").arg(path));
    case platform::FileLock::Result::Error:
        throw data::DbError(QStringLiteral("Não foi possível abrir o arquivo \"%1\".").arg(path));
    }
    const data::FormaConta forma = openAccountFile(ConexaoBanco, path, ChaveBanco);
    ConexaoBanco.hold(std::move(trava));
    return forma;
}

void data::rewriteAccount(Connection& db, const QString& localPath, const QString& senha,
                         const std::function<void(PassoRegravar)>& passo)
{
    const Keying chave(senha.toUtf8());
    const QString temp = localPath + QStringLiteral(".novo");
    auto falhou = [&](const QString& why) {
        return DbError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(temp, why));
    };
    // What a run that ended midway left here is of no use, and no other
    // copy writes it: this one holds the account.
    for (const QString& resto : {temp, temp + QStringLiteral("-journal")})
        QFile::remove(resto);
    platform::FileLock trava;
    const int fd = platform::createPrivateFile(temp);
    if (fd < 0 || trava.adopt(fd) != platform::FileLock::Result::Locked)
        throw falhou(QStringLiteral("não foi possível criá-lo."));
    auto avisar = [&](PassoRegravar p) {
        if (passo)
            passo(p);
    };
    try {
        avisar(PassoRegravar::Criada);
        db.exportTo(temp, chave);
        avisar(PassoRegravar::Exportada);
        {
            // Opening it proves the new key before it replaces anything.
            Connection nova;
            nova.open(temp, chave);
            updateSenha(nova, senha);
        }
        avisar(PassoRegravar::SenhaGravada);
        if (!platform::syncFile(trava.fd()))
            throw falhou(QStringLiteral("a gravação no disco falhou."));
        avisar(PassoRegravar::Sincronizada);
        if (!platform::replaceFile(temp, localPath))
            throw falhou(QStringLiteral("não foi possível pô-lo no lugar da conta."));
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    // From here the new file is the account; the connection follows it,
    // and the hold moves with it (this copy has held both files all along).
    bool reaberta = false;
    try {
        avisar(PassoRegravar::Renomeada);
        db.open(localPath, chave);
        db.hold(std::move(trava));
        reaberta = true;
        avisar(PassoRegravar::Reaberta);
    } catch (const DbError&) {
        if (!reaberta) {
            db.open(localPath, chave);
            db.hold(std::move(trava));
        }
    }
}

void changeAccountPassword(const QString& nova)
{
    data::rewriteAccount(ConexaoBanco, caminhoLocalBanco(), nova);
    ChaveBanco = nova.toUtf8();
}

QString CaptionAtivo(const QString& title)
{
    return platform::bancoAtivoCaption(title, DriveBanco, NomeBanco);
}

QString caminhoLocalBanco() { return platform::Drives::toLocal(CaminhoBanco); }
