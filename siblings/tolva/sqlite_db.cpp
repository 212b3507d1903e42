#include "siblings/tolva/sqlite_db.h"

namespace tolva {

namespace {

// Long enough to outlast another process's Save of a large store, short enough that a
// store held locked by a hung process does not stall the agent for long.
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

bool CSqliteDb::Open(const std::string& path, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    m_db.reset(raw);  // also on failure: SQLite hands out a handle that carries the message
    return rc == SQLITE_OK && sqlite3_busy_timeout(m_db.get(), kBusyTimeoutMs) == SQLITE_OK;
}

bool CSqliteDb::Exec(const char* sql) {
    return sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteStatement CSqliteDb::Prepare(const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    return SqliteStatement(raw);
}

std::string CSqliteDb::ErrorMessage() const {
    return m_db ? sqlite3_errmsg(m_db.get()) : sqlite3_errstr(SQLITE_NOMEM);
}

int CSqliteDb::ErrorCode() const {
    return m_db ? sqlite3_extended_errcode(m_db.get()) : SQLITE_NOMEM;
}

bool CSqliteDb::InTransaction() const {
    return m_db && sqlite3_get_autocommit(m_db.get()) == 0;
}

CSqliteTransaction::~CSqliteTransaction() {
    if (m_open) {
        static_cast<void>(m_db.Exec("ROLLBACK"));
    }
}

bool CSqliteTransaction::Begin() {
    m_open = m_db.Exec("BEGIN IMMEDIATE");
    return m_open;
}

bool CSqliteTransaction::Commit() {
    if (!m_db.Exec("COMMIT")) {
        return false;
    }
    m_open = false;
    return true;
}

}  // namespace tolva
