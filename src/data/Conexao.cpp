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

void data::conferirTabelasDaConta(Connection& db)
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

void AbrirConexao() { abrirArquivoConta(ConexaoBanco, caminhoLocalBanco()); }

QString CaptionAtivo(const QString& title)
{
    return platform::bancoAtivoCaption(title, DriveBanco, NomeBanco);
}

QString caminhoLocalBanco() { return platform::Drives::toLocal(CaminhoBanco); }
