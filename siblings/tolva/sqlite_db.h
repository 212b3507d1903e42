// Owners for SQLite's connection and statement handles, and a transaction that rolls back
// unless it is committed.
#pragma once

#include <memory>
#include <string>

#include <sqlite3.h>

namespace tolva {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

class CSqliteDb {
public:
    // Opens the file (flags of sqlite3_open_v2) with a busy time-out, so that a store another
    // process is writing is waited for rather than reported as locked.
    [[nodiscard]] bool Open(const std::string& path, int flags);
    [[nodiscard]] bool Exec(const char* sql);
    // Null on failure (ErrorMessage says why).
    [[nodiscard]] SqliteStatement Prepare(const char* sql);
    std::string ErrorMessage() const;
    // SQLite's extended result code of the last failure on this connection.
    int ErrorCode() const;
    // False when SQLite ended the open transaction by itself after a failed statement.
    bool InTransaction() const;

private:
    struct Closer {
        void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
    };
    std::unique_ptr<sqlite3, Closer> m_db;
};

class CSqliteTransaction {
public:
    explicit CSqliteTransaction(CSqliteDb& db) : m_db(db) {}
    ~CSqliteTransaction();
    CSqliteTransaction(const CSqliteTransaction&) = delete;
    CSqliteTransaction& operator=(const CSqliteTransaction&) = delete;
    CSqliteTransaction(CSqliteTransaction&&) = delete;
    CSqliteTransaction& operator=(CSqliteTransaction&&) = delete;

    // Takes the write lock at once (BEGIN IMMEDIATE), so two writers queue on the busy
    // time-out instead of one failing half-way with a lock upgrade conflict.
    [[nodiscard]] bool Begin();
    [[nodiscard]] bool Commit();

private:
    CSqliteDb& m_db;
    bool m_open = false;
};

}  // namespace tolva
