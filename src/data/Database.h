#pragma once
// A thin layer over the encrypted SQLite connection: open and key, run
// statements with bound parameters, transactions. Every failure is thrown
// as DbError carrying the engine's message and its cause.
#include "platform/PrivateFile.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QVariant>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// Why the file refused an operation: each cause tells the user something
// different to do. A new cause is its value here and its message in
// DbError::userMessage (the compiler asks for it there and in
// DbError::aboutTheTotal) and, when the system can report it, its errno in
// causeOfSystemError.
enum class DbCause {
    Other,        // any other failure of the engine
    Busy,         // another program holds the file longer than the wait
    Full,         // no room left on the disk (or the file's size limit)
    ReadOnly,     // the file or its folder cannot be written
    Moved,        // the file was moved, replaced or deleted while open
    Overflow,     // a sum of amounts beyond what the centavos hold
    StoredPastLimit,  // the amounts already stored total more than the centavos hold
    Damaged,      // a page of the file cannot be read as the engine wrote it
};

// The cause of a system call's failure, by its errno: the one map of the
// program's, for the engine's failures and its own file operations alike.
DbCause causeOfSystemError(int error);

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, DbCause cause = DbCause::Other);
    // The engine's own text.
    QString message() const { return QString::fromUtf8(what()); }
    DbCause cause() const { return cause_; }
    // What the user is told, in Portuguese: what happened and what to do.
    QString userMessage() const;
    // Whether the refusal is of the ledger's total of amounts (a sum that
    // does not fit), not of the file: the window that asked stays.
    bool aboutTheTotal() const;

private:
    DbCause cause_;
};

// The message of a sum that does not fit, whatever computed it.
inline const QString kSomaForaDoLimite = QStringLiteral("Soma de valores fora do limite.");

// The cipher settings of the account files, every one written down so that
// a later library version (whose defaults differ) still opens today's files:
// AES-256 in CBC mode, a page HMAC with SHA-1, PBKDF2-HMAC-SHA1.
// Files keyed with the login password have 4096-byte pages (a pass over the
// ledger decrypts a quarter as many pages as with 1024) and 256 000
// iterations, about 0.13 s a try here: each guess at the password costs as
// much. Earlier versions keyed every file with one fixed key, 64 000
// iterations, 4096- or 1024-byte pages.
struct CipherSettings {
    static constexpr int pageSize = 4096;
    static constexpr int kdfIterations = 256000;
    static constexpr int legacyPageSize = 1024;
    static constexpr int legacyKdfIterations = 64000;
};

// The iterations a file keyed with its password is made and opened with:
// CipherSettings::kdfIterations. Only the test support lowers it, for the
// fixtures that do not test the keying (a key derivation at each account
// made and each login was most of their time); no option, file or
// environment variable of the program reaches it.
int passwordKdfIterations();
void setPasswordKdfIterationsForTests(int iterations);

// How a file is keyed; an empty key reads and writes it unencrypted.
struct Keying {
    Keying(QByteArray k = QByteArray(), int page = CipherSettings::pageSize,
           int iterations = passwordKdfIterations())
        : key(std::move(k)), pageSize(page), kdfIterations(iterations)
    {
    }
    QByteArray key;
    int pageSize;
    int kdfIterations;

    // Keyed the same way (page size and key derivation), whatever the key.
    bool sameScheme(const Keying& other) const
    {
        return pageSize == other.pageSize && kdfIterations == other.kdfIterations;
    }
};

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file with one keying; the key is proved by a read,
    // so a wrong key fails here and not at the first query. That read waits
    // for another program that holds the file, as every read does, and a
    // file still held after the wait fails with DbCause::Busy.
    void open(const QString& localPath, const Keying& keying, bool create = false);
    // Keeps a lock on the open file until close(), which releases it only
    // after the engine has let go of the file.
    void hold(platform::FileLock trava) { trava_ = std::move(trava); }
    // Gives the lock back to the caller, to be held again after the
    // connection is opened anew.
    platform::FileLock takeHold() { return std::move(trava_); }
    // The descriptor of the lock held on the open file; -1 for none.
    int heldFd() const { return trava_.fd(); }
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const QString& path() const { return path_; }
    const Keying& keying() const { return keying_; }

    // Runs SQL without parameters (schema, pragmas).
    void exec(const QString& sql);
    std::int64_t lastInsertId() const;
    int changes() const;

    // Writes the whole open database into the empty file at localPath,
    // keyed as given.
    void exportTo(const QString& localPath, const Keying& keying);

    // Encrypts every page of the open file again with key (page size and
    // iterations unchanged), inside the write transaction the caller holds,
    // and commits that transaction with it: what the transaction wrote and
    // the new key reach the file together, or neither does. The engine does
    // not tell whether it committed: a write lock still held means it did
    // not (roll back); otherwise the file, opened again, tells which key it
    // has. Either way the connection must be opened again.
    void rekey(const QByteArray& key);
    // Whether the connection holds the file's write lock (a write
    // transaction the engine has not ended).
    bool holdsWriteLock() const;

    sqlite3* handle() const { return db_; }

    // How long an operation waits for another program that holds the file
    // before it is refused as busy: a few times the longest lock the program
    // itself holds (a budget year posted, a long statement imported).
    static constexpr std::chrono::milliseconds kDefaultBusyWait{10000};
    static void setBusyWait(std::chrono::milliseconds wait);
    static std::chrono::milliseconds busyWait();

    // Called after each engine call that may have waited: takes the wait
    // cursor away again.
    void endWait();

    // What this connection has changed since it opened, as the engine tells
    // it: rows of the ledger (main.Lancamentos) changed one by one; rows of
    // any table changed without being told one by one (a table emptied in
    // one step); transactions rolled back.
    std::int64_t ledgerRowsChanged() const { return ledgerRows_; }
    std::int64_t rowsChangedUntold() const;
    std::int64_t rollbacks() const { return rollbacks_; }

    // The ledger's total of absolute amounts as last known on this
    // connection, with the counts above and the file's data version at that
    // moment (data::totalFitsWith keeps it); forgotten when the connection
    // opens or closes.
    struct KeptTotal {
        bool known = false;
        std::int64_t total = 0;
        std::int64_t dataVersion = 0;
        std::int64_t ledgerRows = 0;
        std::int64_t untold = 0;
        std::int64_t rollbacks = 0;
    };
    KeptTotal& keptTotal() { return keptTotal_; }

private:
    static int waitWhileBusy(void* self, int attempt);
    static void rowChanged(void* self, int op, const char* db, const char* table, long long rowid);
    static void rolledBack(void* self);
    std::int64_t ledgerRows_ = 0;
    std::int64_t rowsTold_ = 0;
    std::int64_t rollbacks_ = 0;
    KeptTotal keptTotal_;
    sqlite3* db_ = nullptr;
    QString path_;
    Keying keying_;
    platform::FileLock trava_;
    std::chrono::steady_clock::time_point waitStart_;
    bool waiting_ = false;
};

// The days a stored date can hold: years 0001 to 9999.
inline bool inSqlDateRange(const QDate& date)
{
    return date.isValid() && date.year() >= 1 && date.year() <= 9999;
}

// A null QDate binds NULL; a date binds "YYYY-MM-DD". A date outside
// inSqlDateRange throws DbError: its text could not be read back.
QString toSqlDate(const QDate& date);
QDate fromSqlDate(const QString& text);

class Statement {
public:
    Statement(Connection& db, const QString& sql);
    template <class... Args>
    Statement(Connection& db, const QString& sql, const Args&... args) : Statement(db, sql)
    {
        int i = 1;
        (bind(i++, args), ...);
    }
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1.
    void bind(int index, const QString& value);
    void bind(int index, const char* value) { bind(index, QString::fromUtf8(value)); }
    void bind(int index, std::int64_t value);
    void bind(int index, int value) { bind(index, std::int64_t(value)); }
    void bind(int index, long long value) { bind(index, std::int64_t(value)); }
    void bind(int index, double value);
    void bind(int index, const QDate& value);
    void bind(int index, std::nullptr_t);
    void bind(int index, const QVariant& value);

    // Steps to the next row; false when there is none.
    bool next();
    // Runs to completion (INSERT, UPDATE, DELETE).
    void exec();
    void reset();

    int columnCount() const;
    QString columnName(int col) const;
    bool isNull(int col) const;
    QString text(int col) const;
    // The column's UTF-8 bytes, valid until the next step; for readers of
    // many rows that decode or share texts themselves.
    QByteArrayView bytes(int col) const;
    std::int64_t integer(int col) const;
    double real(int col) const;
    QDate date(int col) const;
    QVariant value(int col) const;

private:
    [[noreturn]] void fail(int rc) const;
    Connection& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Commits when told to; rolls back when it goes out of scope uncommitted,
// so an error in the middle leaves nothing half-written.
class Transaction {
public:
    explicit Transaction(Connection& db);
    ~Transaction();
    void commit();

private:
    Connection& db_;
    bool done_ = false;
};

// One value of the first row of a query (null QVariant when there is none).
template <class... Args>
QVariant scalar(Connection& db, const QString& sql, const Args&... args)
{
    Statement s(db, sql, args...);
    return s.next() ? s.value(0) : QVariant();
}

// The file's data version: it differs between two calls on one connection
// when another connection or program committed a change in between.
inline std::int64_t dataVersion(Connection& db)
{
    return scalar(db, QStringLiteral("PRAGMA data_version")).toLongLong();
}

} // namespace data
