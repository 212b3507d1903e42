#include "siblings/tolva/store_file.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/file.h"
#include "siblings/tolva/key_rules.h"
#include "siblings/tolva/sqlite_db.h"
#include "siblings/tolva/text_codec.h"
#include "siblings/venit/venit.h"

namespace tolva {

namespace {

constexpr const char* kReadOperation = "tolva::CStoreFile::Read";
constexpr const char* kWriteOperation = "tolva::CStoreFile::Write";

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS config ("
    "key TEXT PRIMARY KEY NOT NULL, type TEXT NOT NULL, value NOT NULL)";
constexpr const char* kHasTable =
    "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'config'";
constexpr const char* kSelectAll = "SELECT key, type, value FROM config";
// A tree is its root plus every key between root + "/" and root + "0" ('0' follows '/').
constexpr const char* kDeleteTree =
    "DELETE FROM config WHERE key = ?1 OR (key >= ?1 || '/' AND key < ?1 || '0')";
constexpr const char* kUpsert = "INSERT OR REPLACE INTO config (key, type, value) VALUES (?, ?, ?)";
constexpr const char* kDurability = "PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL";

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

[[nodiscard]] bool BindText(sqlite3_stmt* statement, int index, std::string_view text) {
    return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                             SQLITE_STATIC) == SQLITE_OK;
}

[[nodiscard]] bool RunAndReset(sqlite3_stmt* statement) {
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    return sqlite3_reset(statement) == SQLITE_OK && done;
}

[[nodiscard]] bool RemoveTrees(CSqliteDb& db, const ChangeSet& changes) {
    const SqliteStatement remove = db.Prepare(kDeleteTree);
    if (!remove) {
        return false;
    }
    return std::ranges::all_of(changes.RemovedTrees(), [&remove](const std::string& root) {
        return BindText(remove.get(), 1, root) && RunAndReset(remove.get());
    });
}

[[nodiscard]] bool BindValue(sqlite3_stmt* statement, const Value& value) {
    if (!BindText(statement, 2, TypeName(value.type))) {
        return false;
    }
    if (value.type == ValueType::Dword) {
        return sqlite3_bind_int64(statement, 3, value.number) == SQLITE_OK;
    }
    return BindText(statement, 3, value.text);
}

[[nodiscard]] bool PutKeys(CSqliteDb& db, const ChangeSet& changes) {
    const SqliteStatement upsert = db.Prepare(kUpsert);
    if (!upsert) {
        return false;
    }
    return std::ranges::all_of(changes.Puts(), [&upsert](const auto& entry) {
        return BindText(upsert.get(), 1, entry.first) && BindValue(upsert.get(), entry.second) &&
               RunAndReset(upsert.get());
    });
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
    if (!db.Open(m_path, SQLITE_OPEN_READONLY) || !ReadTable(db, m_path, loaded)) {
        error("%s: cannot read %s: %s", kReadOperation, m_path, db.ErrorMessage());
        return false;
    }
    values.swap(loaded);
    return true;
}

bool CStoreFile::Write(const ChangeSet& changes) const {
    const FileKind kind = Inspect(kWriteOperation);
    if (kind == FileKind::Foreign || kind == FileKind::Unreadable || !CreateFileAndFolder()) {
        return false;
    }
    CSqliteDb db;
    CSqliteTransaction transaction(db);
    if (!db.Open(m_path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) || !db.Exec(kDurability) ||
        !transaction.Begin() || !db.Exec(kCreateTable) || !RemoveTrees(db, changes) ||
        !PutKeys(db, changes) || !transaction.Commit()) {
        error("%s: cannot write %s: %s", kWriteOperation, m_path, db.ErrorMessage());
        return false;
    }
    return true;
}

bool CStoreFile::CreateFileAndFolder() const {
    const auto separator = m_path.find_last_of("/\\");
    if (separator != std::string::npos && separator != 0) {
        const auto folder = Utf8ToUtf16(std::string_view(m_path).substr(0, separator));
        if (!folder || !hvx::os::CreateDirectoryTree(folder->c_str())) {
            error("%s: cannot create the folder of %s", kWriteOperation, m_path);
            return false;
        }
    }
    // The store may hold an install token and proxy credentials: a new file is made readable by
    // its user only before SQLite, which would use the default mode, creates it (its journal
    // takes the same mode).
    const auto file = Utf8ToUtf16(m_path);
    if (!file || !hvx::os::CreatePrivateFile(file->c_str())) {
        error("%s: cannot create %s", kWriteOperation, m_path);
        return false;
    }
    return true;
}

}  // namespace tolva
