#include "siblings/tolva/store_file.h"

#include <optional>
#include <string_view>

#include "siblings/tolva/key_rules.h"
#include "siblings/tolva/sqlite_db.h"
#include "siblings/tolva/text_codec.h"
#include "siblings/venit/venit.h"

namespace tolva {

namespace {

constexpr const char* kReadOperation = "tolva::CStoreFile::Read";

constexpr const char* kHasTable =
    "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'config'";
constexpr const char* kSelectAll = "SELECT key, type, value FROM config";

std::string_view ColumnText(sqlite3_stmt* row, int column) {
    const auto* text = sqlite3_column_text(row, column);
    if (text == nullptr) {
        return {};
    }
    return {reinterpret_cast<const char*>(text),
            static_cast<std::size_t>(sqlite3_column_bytes(row, column))};
}

// The row's value, or nothing when the row was not written by this store.
std::optional<Value> DecodeValue(sqlite3_stmt* row) {
    const auto type = ParseTypeName(ColumnText(row, 1));
    if (!type) {
        return std::nullopt;
    }
    if (*type == ValueType::Dword) {
        const sqlite3_int64 number = sqlite3_column_int64(row, 2);
        if (sqlite3_column_type(row, 2) != SQLITE_INTEGER || number < 0 ||
            number > static_cast<sqlite3_int64>(UINT32_MAX)) {
            return std::nullopt;
        }
        return Value::Dword(static_cast<std::uint32_t>(number));
    }
    const std::string_view text = ColumnText(row, 2);
    if (sqlite3_column_type(row, 2) != SQLITE_TEXT || !IsValidUtf8(text)) {
        return std::nullopt;
    }
    return Value{*type, std::string(text), 0};
}

// True, false, or nothing when the question could not be asked.
std::optional<bool> HasTable(CSqliteDb& db) {
    const SqliteStatement query = db.Prepare(kHasTable);
    if (!query) {
        return std::nullopt;
    }
    const int rc = sqlite3_step(query.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        return std::nullopt;
    }
    return rc == SQLITE_ROW;
}

[[nodiscard]] bool ReadRows(CSqliteDb& db, const std::string& path, ValueMap& values) {
    const SqliteStatement query = db.Prepare(kSelectAll);
    if (!query) {
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        const std::string_view key = ColumnText(query.get(), 0);
        auto value = DecodeValue(query.get());
        if (CheckKey(key) != KeyProblem::None || !value) {
            error("%s: %s: skipped an entry this store cannot read (key \"%s\")", kReadOperation,
                  path, key);
            continue;
        }
        values.emplace(std::string(key), std::move(*value));
    }
    return rc == SQLITE_DONE;
}

// The whole table; a database without it (a fresh, empty file) reads as empty.
[[nodiscard]] bool ReadTable(CSqliteDb& db, const std::string& path, ValueMap& values) {
    const auto hasTable = HasTable(db);
    return hasTable && (!*hasTable || ReadRows(db, path, values));
}

[[nodiscard]] bool ReadDatabase(CSqliteDb& db, const std::string& path, int flags,
                                ValueMap& values) {
    return db.Open(path, flags) && ReadTable(db, path, values);
}

}  // namespace

bool CStoreFile::Read(ValueMap& values) const {
    switch (Inspect(kReadOperation)) {
        case FileKind::Missing:
            values.clear();
            return true;
        case FileKind::Foreign:
        case FileKind::Unreadable:
            return false;
        case FileKind::Database:
            break;
    }
    CSqliteDb db;
    ValueMap loaded;
    if (ReadDatabase(db, m_path, SQLITE_OPEN_READONLY, loaded)) {
        values.swap(loaded);
        return true;
    }
    // A writer killed mid-save left a hot journal, which only a connection that may write can
    // roll back. Without this the store would stay unreadable, and so unsaveable, for good.
    if (db.ErrorCode() != SQLITE_READONLY_ROLLBACK) {
        error("%s: cannot read %s: %s", kReadOperation, m_path, db.ErrorMessage());
        return false;
    }
    return ReadAfterRollback(values);
}

bool CStoreFile::ReadAfterRollback(ValueMap& values) const {
    CSqliteDb db;
    ValueMap loaded;
    if (!ReadDatabase(db, m_path, SQLITE_OPEN_READWRITE, loaded)) {
        error("%s: cannot roll back the interrupted save in %s: %s", kReadOperation, m_path,
              db.ErrorMessage());
        return false;
    }
    error("%s: %s: rolled back a save that was interrupted", kReadOperation, m_path);
    values.swap(loaded);
    return true;
}

}  // namespace tolva
