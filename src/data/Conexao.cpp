#include "data/Conexao.h"

#include "platform/Drives.h"
#include "platform/Form.h"

data::Connection ConexaoBanco;
QString CaminhoBanco;
QString NomeBanco;
QString DriveBanco;
bool SenhaAceita = false;
QString SituacaoSenha;
QString NomeConsultaAtiva;
bool IncluirLancamento = false;

void abrirArquivoConta(data::Connection& connection, const QString& localPath)
{
    try {
        connection.open(localPath, QByteArray(data::kSenhaBancoDados));
        return;
    } catch (const data::DbError&) {
        // An account file kept without encryption is still an account file.
    }
    connection.open(localPath, QByteArray());
}

void AbrirConexao() { abrirArquivoConta(ConexaoBanco, caminhoLocalBanco()); }

QString CaptionAtivo(const QString& title)
{
    return platform::bancoAtivoCaption(title, DriveBanco, NomeBanco);
}

QString caminhoLocalBanco() { return platform::Drives::toLocal(CaminhoBanco); }
