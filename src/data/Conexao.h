#pragma once
// The state of the open account, shared by every window for the whole run,
// and the one procedure that opens the account file.
#include "data/Database.h"

#include <QString>

#include <functional>

extern data::Connection ConexaoBanco;
extern QString CaminhoBanco;       // "C:\Banco\Casa.mdb": drive, "\Banco\", name, ".mdb"
extern QString NomeBanco;          // "Casa"
extern QString DriveBanco;         // "C:"
extern bool SenhaAceita;
extern QString SituacaoSenha;      // "Inicio", the stored password, "OK" or ""
extern QString NomeConsultaAtiva;  // the window loaded last among those that open the editor
extern bool IncluirLancamento;     // the entry editor adds (true) or changes (false)
extern QByteArray ChaveBanco;      // the login password's UTF-8: the key of the account file

namespace data {
// The fixed key every account file of earlier versions was encrypted with.
inline constexpr char kSenhaBancoDados[] = "livro406172";

// How an account file was found keyed when it opened.
enum class FormaConta { Senha, ChaveAntiga, SemCifra };

// The file has whole pages, but the password opens it in no way.
class SenhaRecusada : public DbError {
public:
    using DbError::DbError;
};

// Another copy of the program has the account open.
class ContaEmUso : public DbError {
public:
    using DbError::DbError;
};

// The file's schema holds what the program never writes (a trigger, a
// view, a table or index of its own, a table of a module, a definition
// changed): it could act on the data by itself or refuse the program's
// writes. The message names each object.
class EsquemaAlheio : public DbError {
public:
    using DbError::DbError;
};
} // namespace data

// Opens an account file with its password: keyed with it, or as a file of
// an earlier version (the former fixed key, 4096- or 1024-byte pages, or
// no encryption), which the caller converts once the password matches.
// Throws SenhaRecusada when the password opens nothing, and DbError,
// naming the file, when it is plainly no account file (empty, no whole
// number of pages, unreadable).
data::FormaConta openAccountFile(data::Connection& connection, const QString& localPath, const QByteArray& senha);

// Opens ConexaoBanco on CaminhoBanco with ChaveBanco, holding the account
// against other copies of the program until the connection closes
// (ContaEmUso when one holds it).
data::FormaConta AbrirConexao();

// Closes the active account: ConexaoBanco, its hold on the file and the
// texts its listings kept, so the caller has unloaded every window that
// keeps listed rows.
void closeAccount();

namespace data {
// The steps of rewriteAccount, where a test injects a fault. A file keyed
// as the password keys it goes Travada, SenhaGravada, Recifrada; a file of
// an earlier format Travada, Criada, Exportada, SenhaGravada, Sincronizada,
// Renomeada, Reaberta.
enum class PassoRegravar { Travada, Criada, Exportada, SenhaGravada, Sincronizada, Renomeada, Reaberta, Recifrada };

// Keys the open account with senha, its Senha record holding senha, under
// the file's write lock from the first page read to the last written
// (waiting for another program's write as every write does): a file keyed
// as a password keys it is encrypted again in place, in one transaction;
// a file of an earlier format is written whole beside it (beside a link's
// target), synced and renamed over it. A crash at any moment leaves the
// file as it was or the new one. The connection then works on the new
// file and holds it as before. Throws DbError, with its cause, when nothing
// changed (the file as it was, the connection on it).
void rewriteAccount(Connection& db, const QString& localPath, const QString& senha,
                   const std::function<void(PassoRegravar)>& passo = {});

// The room on the disk rewriteAccount takes for the file open on `db`.
qint64 rewriteRoom(const Connection& db, const QString& localPath);
} // namespace data

// Changes the active account's password: the file is keyed with the new
// one, and ChaveBanco follows. Throws DbError when nothing changed.
void changeAccountPassword(const QString& nova);

namespace data {
// Throws EsquemaAlheio unless every object of the open file's schema is
// one the program writes, with the program's definition (compared as
// text, before anything of it is used), and DbError when a table is
// missing: a database that is not a whole account is refused at login,
// not at the first window that reads what it lacks.
void checkAccountTables(Connection& db);
} // namespace data

// The caption of a window that works on the active account.
QString CaptionAtivo(const QString& title);

// The local path of the active account file.
QString caminhoLocalBanco();
