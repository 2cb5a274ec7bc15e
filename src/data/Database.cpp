#include "data/Database.h"

#include "data/Aggregates.h"
#include "data/Collation.h"
#include "data/Like.h"
#include "platform/Application.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sqlcipher/sqlite3.h>

namespace data {

DbError::DbError(const QString& message, DbCause cause) : std::runtime_error(message.toStdString()), cause_(cause) {}

QString DbError::userMessage() const
{
    switch (cause_) {
    case DbCause::Busy:
        return QStringLiteral("O banco de dados está em uso por outro programa; nada foi gravado.\r"
                              "Aguarde o outro programa terminar e tente novamente.");
    case DbCause::Full:
        return QStringLiteral("Não há espaço livre no disco do banco de dados; nada foi gravado.\r"
                              "Libere espaço no disco e tente novamente.");
    case DbCause::ReadOnly:
        return QStringLiteral("O banco de dados está somente para leitura; nada pode ser gravado nele.\r"
                              "Ele pode ser consultado e o programa pode ser encerrado normalmente.");
    case DbCause::Moved:
        return QStringLiteral("O arquivo do banco de dados foi movido, substituído ou apagado enquanto estava "
                              "aberto; nada foi gravado.\rSaia do programa e entre novamente.");
    case DbCause::Damaged:
        return QStringLiteral("O arquivo do banco de dados está danificado: uma parte dele não pode ser lida; "
                              "nada foi gravado.\rAbra uma cópia de segurança da conta.");
    case DbCause::Overflow: return kSomaForaDoLimite;
    case DbCause::StoredPastLimit:
        return QStringLiteral("Os valores já gravados na conta somam mais do que o limite que ela pode guardar "
                              "(gravados por outro programa); nada foi gravado.");
    case DbCause::Other: break;
    }
    return QStringLiteral("O banco de dados não concluiu a operação; nada foi gravado.\r") + message();
}

DbCause causeOfSystemError(int error)
{
    switch (error) {
    case EPERM:
    case EACCES:
    case EROFS: return DbCause::ReadOnly;
    case ENOSPC:
    case EDQUOT: return DbCause::Full;
    case ENOENT: return DbCause::Moved;
    default: return DbCause::Other;
    }
}

bool DbError::aboutTheTotal() const
{
    switch (cause_) {
    case DbCause::Overflow:
    case DbCause::StoredPastLimit: return true;
    case DbCause::Other:
    case DbCause::Damaged:
    case DbCause::Busy:
    case DbCause::Full:
    case DbCause::ReadOnly:
    case DbCause::Moved: return false;
    }
    return false;
}

namespace {
QString errorOf(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("sem conexão");
}

// The cause of the connection's last failure, from the engine's extended
// code (a deleted or replaced file shows as a moved one when written).
DbCause causeOf(sqlite3* db)
{
    if (!db)
        return DbCause::Other;
    const int rc = sqlite3_extended_errcode(db);
    if (rc == SQLITE_READONLY_DBMOVED || (rc & 0xff) == SQLITE_NOTADB)
        return DbCause::Moved;
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return DbCause::Busy;
    case SQLITE_FULL: return DbCause::Full;
    case SQLITE_CORRUPT: return DbCause::Damaged;
    case SQLITE_READONLY: return DbCause::ReadOnly;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        // The engine reports a write the system refused as an I/O error;
        // the system's own reason tells what the user can do.
        if (const DbCause c = causeOfSystemError(sqlite3_system_errno(db)); c != DbCause::Other)
            return c;
        break;
    default: break;
    }
    const QString text = errorOf(db);
    if (text == kSomaForaDoLimite || text == QLatin1String("integer overflow"))
        return DbCause::Overflow;
    return DbCause::Other;
}

[[noreturn]] void throwFrom(sqlite3* db, const QString& suffix = QString())
{
    throw DbError(errorOf(db) + suffix, causeOf(db));
}

// Runs SQL text of our own; the engine's message, empty when it ran.
QString execMessage(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) == SQLITE_OK)
        return QString();
    QString why = QString::fromUtf8(err ? err : "");
    sqlite3_free(err);
    return why.isEmpty() ? errorOf(db) : why;
}

// What a file's schema could run by itself is refused: a statement of a
// trigger or a view (the engine names the one it runs from), and a new
// trigger or view, which the program never makes.
int refuseSchemaCode(void*, int action, const char*, const char*, const char*, const char* fromTriggerOrView)
{
    if (fromTriggerOrView)
        return SQLITE_DENY;
    switch (action) {
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_TEMP_TRIGGER:
    case SQLITE_CREATE_VIEW:
    case SQLITE_CREATE_TEMP_VIEW: return SQLITE_DENY;
    default: return SQLITE_OK;
    }
}

// A wrong key or a file that is no database shows only at the first read.
constexpr const char* kProbe = "SELECT count(*) FROM sqlite_master;";
} // namespace

Connection::~Connection() { close(); }

namespace {
// The cipher settings as pragmas on a schema ("main" or an attached one).
// Pragmas an older library does not know are ignored; those it knows keep
// their meaning in the later ones.
QByteArray cipherPragmas(const char* schema, const Keying& keying)
{
    const QByteArray p = "PRAGMA " + QByteArray(schema) + '.';
    return p + "cipher_page_size = " + QByteArray::number(keying.pageSize) + ';' + p +
           "kdf_iter = " + QByteArray::number(keying.kdfIterations) + ';' + p + "cipher_use_hmac = ON;" + p +
           "cipher_hmac_algorithm = HMAC_SHA1;" + p + "cipher_kdf_algorithm = PBKDF2_HMAC_SHA1;";
}

// Keys the connection; the engine's message, empty when the key read the
// file.
QString keyWith(sqlite3* db, const Keying& keying)
{
    if (sqlite3_key(db, keying.key.constData(), keying.key.size()) != SQLITE_OK)
        return errorOf(db);
    return execMessage(db, (cipherPragmas("main", keying) + kProbe).constData());
}

} // namespace

void Connection::open(const QString& localPath, const Keying& keying, bool create)
{
    close();
    sqlite3* db = nullptr;
    // One thread uses a connection: no lock around every call into the
    // engine, which a long read makes millions of.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    const QByteArray path = localPath.toUtf8();
    int rc = sqlite3_open_v2(path.constData(), &db, flags, nullptr);
    auto failWith = [&](const QString& why) {
        const DbCause cause = causeOf(db);
        sqlite3_close(db);
        endWait();
        throw DbError(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(localPath, why), cause);
    };
    if (rc != SQLITE_OK)
        failWith(errorOf(db));
    // Before anything is read: a file made elsewhere may carry triggers
    // (and foreign-key actions) that would change the data on the
    // program's own writes. None fires on this connection.
    int desligado = 0;
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &desligado);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_FKEY, 0, &desligado);
    sqlite3_set_authorizer(db, &refuseSchemaCode, nullptr);
    // Before the key is proved: the proving read waits for another program
    // as every read does, instead of taking a locked file for a wrong key.
    sqlite3_busy_handler(db, &Connection::waitWhileBusy, this);
    if (!keying.key.isEmpty()) {
        if (const QString why = keyWith(db, keying); !why.isEmpty())
            failWith(why);
    } else if (const QString why = execMessage(db, kProbe); !why.isEmpty()) {
        failWith(why);
    }
    endWait();
    // Decrypted pages stay cached: queries over a large ledger read the same
    // pages again and again.
    sqlite3_exec(db, "PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY;", nullptr, nullptr, nullptr);
    registerLike(db);
    registerCollation(db);
    registerSaltos(db);
    registerSoma(db);
    sqlite3_update_hook(db, &Connection::rowChanged, this);
    sqlite3_rollback_hook(db, &Connection::rolledBack, this);
    db_ = db;
    path_ = localPath;
    keying_ = keying;
}

void Connection::rowChanged(void* self, int, const char* db, const char* table, long long)
{
    auto* c = static_cast<Connection*>(self);
    ++c->rowsTold_;
    if (std::strcmp(table, "Lancamentos") == 0 && std::strcmp(db, "main") == 0)
        ++c->ledgerRows_;
}

void Connection::rolledBack(void* self) { ++static_cast<Connection*>(self)->rollbacks_; }

std::int64_t Connection::rowsChangedUntold() const
{
    return db_ ? std::int64_t(sqlite3_total_changes(db_)) - rowsTold_ : 0;
}

namespace {
int& kdfIterationsSetting()
{
    static int iterations = CipherSettings::kdfIterations;
    return iterations;
}

std::chrono::milliseconds& busyWaitSetting()
{
    static std::chrono::milliseconds wait = Connection::kDefaultBusyWait;
    return wait;
}
} // namespace

int passwordKdfIterations() { return kdfIterationsSetting(); }
void setPasswordKdfIterationsForTests(int iterations) { kdfIterationsSetting() = iterations; }

void Connection::setBusyWait(std::chrono::milliseconds wait) { busyWaitSetting() = wait; }
std::chrono::milliseconds Connection::busyWait() { return busyWaitSetting(); }

int Connection::waitWhileBusy(void* self, int attempt)
{
    auto* c = static_cast<Connection*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0 || !c->waiting_) {
        c->waitStart_ = now;
        if (!c->waiting_) {
            c->waiting_ = true;
            platform::showWaitCursor(true);
        }
    }
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(now - c->waitStart_);
    if (spent >= busyWait())
        return 0;
    // Short steps at first, so a lock about to end costs little.
    const std::chrono::milliseconds step{attempt < 10 ? 2 : 25};
    platform::waitPainting(std::min(step, busyWait() - spent));
    return 1;
}

void Connection::endWait()
{
    if (waiting_) {
        waiting_ = false;
        platform::showWaitCursor(false);
    }
}

void Connection::close()
{
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    ledgerRows_ = rowsTold_ = rollbacks_ = 0;
    keptTotal_ = KeptTotal();
    trava_.release();
}

void Connection::exportTo(const QString& localPath, const Keying& keying)
{
    if (!db_)
        throw DbError(QStringLiteral("Conexão fechada."));
    // A NULL key would give the new file the main database's key; an empty
    // text leaves it unencrypted.
    QString key = QString::fromUtf8(keying.key);
    if (key.isNull())
        key = QString(QLatin1String(""));
    Statement(*this, QStringLiteral("ATTACH DATABASE ? AS novo KEY ?"), localPath, key).exec();
    const QByteArray settings = keying.key.isEmpty() ? QByteArray() : cipherPragmas("novo", keying);
    QString why;
    platform::runPainting([&] { why = execMessage(db_, (settings + "SELECT sqlcipher_export('novo');").constData()); });
    waiting_ = false;
    // The export's own cause, before the detach's outcome replaces it.
    DbCause cause = why.isEmpty() ? DbCause::Other : causeOf(db_);
    const QString detach = execMessage(db_, "DETACH DATABASE novo;");
    if (why.isEmpty())
        cause = causeOf(db_);
    if (why.isEmpty())
        why = detach;
    if (!why.isEmpty())
        throw DbError(why, cause);
}

void Connection::rekey(const QByteArray& key)
{
    if (!db_)
        throw DbError(QStringLiteral("Conexão fechada."));
    // Every page read and written again: long on a large file, and the
    // windows go on painting meanwhile.
    platform::runPainting([&] { sqlite3_rekey_v2(db_, "main", key.constData(), int(key.size())); });
    // A wait for another program on that thread showed no cursor.
    waiting_ = false;
    keying_.key = key;
}

bool Connection::holdsWriteLock() const
{
    int lock = SQLITE_LOCK_NONE;
    return db_ && sqlite3_file_control(db_, "main", SQLITE_FCNTL_LOCKSTATE, &lock) == SQLITE_OK &&
           lock >= SQLITE_LOCK_RESERVED;
}

void Connection::exec(const QString& sql)
{
    if (!db_)
        throw DbError(QStringLiteral("Conexão fechada."));
    const QString why = execMessage(db_, sql.toUtf8().constData());
    endWait();
    if (!why.isEmpty())
        throw DbError(why, causeOf(db_));
}

std::int64_t Connection::lastInsertId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }
int Connection::changes() const { return db_ ? sqlite3_changes(db_) : 0; }

QString toSqlDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    // Only a four-digit year reads back as a date (and sorts as one).
    if (!inSqlDateRange(date))
        throw DbError(QStringLiteral("Data fora do intervalo de 01/01/0001 a 31/12/9999."));
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate fromSqlDate(const QString& text)
{
    if (text.isEmpty())
        return QDate();
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

Statement::Statement(Connection& db, const QString& sql) : db_(db)
{
    if (!db.handle())
        throw DbError(QStringLiteral("Conexão fechada."));
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), utf8.size(), &stmt_, nullptr);
    db.endWait();
    if (rc != SQLITE_OK)
        throwFrom(db.handle(), QStringLiteral(" [") + sql + QLatin1Char(']'));
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::fail(int rc) const
{
    (void)rc;
    throwFrom(db_.handle());
}

void Statement::bind(int index, const QString& value)
{
    if (value.isNull()) {
        bind(index, nullptr);
        return;
    }
    const QByteArray utf8 = value.toUtf8();
    const int rc = sqlite3_bind_text(stmt_, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(rc);
}

void Statement::bind(int index, std::int64_t value)
{
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK)
        fail(rc);
}

void Statement::bind(int index, double value)
{
    const int rc = sqlite3_bind_double(stmt_, index, value);
    if (rc != SQLITE_OK)
        fail(rc);
}

void Statement::bind(int index, const QDate& value)
{
    if (!value.isValid())
        bind(index, nullptr);
    else
        bind(index, toSqlDate(value));
}

void Statement::bind(int index, std::nullptr_t)
{
    const int rc = sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK)
        fail(rc);
}

void Statement::bind(int index, const QVariant& value)
{
    if (value.isNull() || !value.isValid()) {
        bind(index, nullptr);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool: bind(index, std::int64_t(value.toLongLong())); break;
    case QMetaType::Double: bind(index, value.toDouble()); break;
    case QMetaType::QDate: bind(index, value.toDate()); break;
    default: bind(index, value.toString()); break;
    }
}

bool Statement::next()
{
    const int rc = sqlite3_step(stmt_);
    db_.endWait();
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(rc);
}

void Statement::exec()
{
    while (next()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

QString Statement::columnName(int col) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, col));
}

bool Statement::isNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }

QString Statement::text(int col) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    if (!p)
        return QString();
    return QString::fromUtf8(p, sqlite3_column_bytes(stmt_, col));
}

QByteArrayView Statement::bytes(int col) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? QByteArrayView(p, sqlite3_column_bytes(stmt_, col)) : QByteArrayView();
}

std::int64_t Statement::integer(int col) const { return sqlite3_column_int64(stmt_, col); }
double Statement::real(int col) const { return sqlite3_column_double(stmt_, col); }
QDate Statement::date(int col) const { return fromSqlDate(text(col)); }

QVariant Statement::value(int col) const
{
    switch (sqlite3_column_type(stmt_, col)) {
    case SQLITE_INTEGER: return QVariant(qint64(integer(col)));
    case SQLITE_FLOAT: return QVariant(real(col));
    case SQLITE_NULL: return QVariant();
    default: return QVariant(text(col));
    }
}

Transaction::Transaction(Connection& db) : db_(db) { db_.exec(QStringLiteral("BEGIN IMMEDIATE")); }

Transaction::~Transaction()
{
    if (!done_ && db_.isOpen()) {
        try {
            db_.exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    db_.exec(QStringLiteral("COMMIT"));
    done_ = true;
}

} // namespace data
