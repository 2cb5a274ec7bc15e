#pragma once
// The state of the open account, shared by every window for the whole run,
// and the one procedure that opens the account file.
#include "data/Database.h"

#include <QString>

extern data::Connection ConexaoBanco;
extern QString CaminhoBanco;       // "C:\Banco\Casa.mdb": drive, "\Banco\", name, ".mdb"
extern QString NomeBanco;          // "Casa"
extern QString DriveBanco;         // "C:"
extern bool SenhaAceita;
extern QString SituacaoSenha;      // "Inicio", the stored password, "OK" or ""
extern QString NomeConsultaAtiva;  // the window loaded last among those that open the editor
extern bool IncluirLancamento;     // the entry editor adds (true) or changes (false)

namespace data {
// The database password every account file is encrypted with.
inline constexpr char kSenhaBancoDados[] = "livro406172";
} // namespace data

// Opens ConexaoBanco on CaminhoBanco: first as an encrypted account file,
// then once more as an unencrypted one. When both fail the error of the
// second attempt, naming the file, reaches the caller.
void AbrirConexao();

// Opens a connection on a local path with the same two attempts.
void abrirArquivoConta(data::Connection& connection, const QString& localPath);

namespace data {
// Throws DbError unless the open file holds every table the program reads,
// with the columns it reads: a database that is not a whole account is
// refused at login, not at the first window that reads what it lacks.
void conferirTabelasDaConta(Connection& db);
} // namespace data

// The caption of a window that works on the active account.
QString CaptionAtivo(const QString& title);

// The local path of the active account file.
QString caminhoLocalBanco();
