#pragma once
// The backup step on leaving the program: store the last use and, when the
// last copy is ten or more days old, copy the account file to
// "C:\Banco\<conta> Backup DD-MM-YYYY.mdb", keeping one copy per account.
#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

#include "data/Senha.h"

namespace app {

// The backup file's name for an account and a day.
QString nomeCopia(const QString& nomeBanco, const QDate& dia);

// The local folder that holds the copies: "C:\Banco\".
QString pastaCopias();

// Whether a file name is one of the account's copies ("<conta> Backup*.mdb",
// letter case aside). "Casa Nova Backup ..." is not a copy of "Casa", and
// neither is a file the login dialog lists as an account.
bool ehCopiaDe(const QString& nomeArquivo, const QString& nomeBanco);

// The account's copies in the copies folder, by name.
QStringList copiasDe(const QString& nomeBanco);

// Deletes every copy of the account except the file named manter.
void apagarCopiasAntigas(const QString& nomeBanco, const QString& manter);

// When the account's name no longer names the file the program holds (a
// sync tool renamed another file over it, or deleted it), writes what that
// file holds beside the account as "<conta> (conflito DD-MM-YYYY).mdb",
// keyed as it is, and returns its name as shown ("C:\Banco\..."); an
// empty text when the name still names it or nothing could be written.
QString guardarConflito(const QDate& hoje);

// What the user is told of a file guardarConflito wrote (empty for none).
QString avisoDeConflito(const QString& onde);

// The backup step on the active account (ConexaoBanco, CaminhoBanco,
// NomeBanco). Leaves the connection closed. Returns whether a copy was
// made. A last access the file refuses is named
// by its cause, and the copy is still made when due.
bool fazerBackup(const QDate& hoje);

// Changes the active account's password (changeAccountPassword) and
// its copies' with it, the account held all along. Each copy that opens
// with the former password, or under the older scheme (the former fixed
// key, no encryption), is first written again hidden beside itself, keyed
// with the new one and holding it; the room all of it takes is checked
// before anything is written. When any of them or the account cannot be,
// nothing changes (DbError, with its cause). Once the account has changed,
// each copy is replaced by its new one: a link's target and a file with
// other names are written over in place, so that every name follows; a
// plain copy that cannot be replaced is deleted. Returns the names of the
// copies that still open with the former password (none when all went
// well). `aviso` is told each step as the user reads it.
QStringList alterarSenha(const QString& nova, const std::function<void(const QString&)>& aviso = {});

// Finishes or undoes a password change that stopped midway (a crash, a
// kill): a copy's hidden rewrite keyed as the account is now is put in the
// copy's place, any other is removed, so that no copy and no hidden file
// opens with a password but the account's. Returns the copies it could not
// put in place.
QStringList concluirTrocaInterrompida();

// The critical message of a last access the file refused, with what else
// was or was not done and the cause.
void avisarUltimoAcessoNaoGravado(const data::DbError& e, const QString& depois);

} // namespace app
