// CStoreFile::Write: one transaction per change set; a key SQLite refuses is left out of it.
#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/file.h"
#include "siblings/tolva/sqlite_db.h"
#include "siblings/tolva/store_file.h"
#include "siblings/tolva/text_codec.h"
#include "siblings/venit/venit.h"

namespace tolva {

namespace {

constexpr const char* kWriteOperation = "tolva::CStoreFile::Write";

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS config ("
    "key TEXT PRIMARY KEY NOT NULL, type TEXT NOT NULL, value NOT NULL)";
// A tree is its root plus every key between root + "/" and root + "0" ('0' follows '/').
constexpr const char* kDeleteTree =
    "DELETE FROM config WHERE key = ?1 OR (key >= ?1 || '/' AND key < ?1 || '0')";
constexpr const char* kUpsert = "INSERT OR REPLACE INTO config (key, type, value) VALUES (?, ?, ?)";
constexpr const char* kDurability = "PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL";

// A key and SQLite's reason for refusing its value.
using Refusal = std::pair<std::string, std::string>;

int BindText(sqlite3_stmt* statement, int index, std::string_view text) {
    return sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_STATIC,
                               SQLITE_UTF8);
}

int BindValue(sqlite3_stmt* statement, const Value& value) {
    const int rc = BindText(statement, 2, TypeName(value.type));
    if (rc != SQLITE_OK) {
        return rc;
    }
    if (value.type == ValueType::Dword) {
        return sqlite3_bind_int64(statement, 3, value.number);
    }
    return BindText(statement, 3, value.text);
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
        return BindText(remove.get(), 1, root) == SQLITE_OK && RunAndReset(remove.get());
    });
}

// Answers that no retry changes: the value is longer than SQLite takes, or breaks a rule of the
// table. SQLite then undoes the one statement and the transaction goes on.
bool IsRefusal(int rc) {
    constexpr int kPrimaryCode = 0xFF;
    const int primary = rc & kPrimaryCode;
    return primary == SQLITE_TOOBIG || primary == SQLITE_CONSTRAINT || primary == SQLITE_MISMATCH;
}

enum class PutResult : std::uint8_t { Written, Refused, Failed };

// Writes one key; on failure `reason` holds SQLite's message.
PutResult PutKey(CSqliteDb& db, sqlite3_stmt* upsert, const ValueMap::value_type& entry,
                 std::string& reason) {
    int rc = BindText(upsert, 1, entry.first);
    if (rc == SQLITE_OK) {
        rc = BindValue(upsert, entry.second);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(upsert);
    }
    if (rc != SQLITE_DONE) {
        reason = db.ErrorMessage();
    }
    // The step's answer is the one that counts; reset only repeats a failure.
    static_cast<void>(sqlite3_reset(upsert));
    if (rc == SQLITE_DONE) {
        return PutResult::Written;
    }
    return IsRefusal(rc) && db.InTransaction() ? PutResult::Refused : PutResult::Failed;
}

[[nodiscard]] bool PutKeys(CSqliteDb& db, const ChangeSet& changes, std::vector<Refusal>& refused) {
    const SqliteStatement upsert = db.Prepare(kUpsert);
    if (!upsert) {
        return false;
    }
    std::string reason;
    for (const auto& entry : changes.Puts()) {
        switch (PutKey(db, upsert.get(), entry, reason)) {
            case PutResult::Written:
                break;
            case PutResult::Refused:
                refused.emplace_back(entry.first, reason);
                break;
            case PutResult::Failed:
                return false;
        }
    }
    return true;
}

}  // namespace

WriteResult CStoreFile::Write(const ChangeSet& changes) const {
    const FileKind kind = Inspect(kWriteOperation);
    if (kind == FileKind::Foreign || kind == FileKind::Unreadable || !CreateFileAndFolder()) {
        return {};
    }
    CSqliteDb db;
    CSqliteTransaction transaction(db);
    std::vector<Refusal> refused;
    if (!db.Open(m_path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) || !db.Exec(kDurability) ||
        !transaction.Begin() || !db.Exec(kCreateTable) || !RemoveTrees(db, changes) ||
        !PutKeys(db, changes, refused) || !transaction.Commit()) {
        error("%s: cannot write %s: %s", kWriteOperation, m_path, db.ErrorMessage());
        return {};
    }
    WriteResult result{true, {}};
    for (auto& [key, reason] : refused) {
        error("%s: %s: the value of %s was refused (%s); the change is dropped", kWriteOperation,
              m_path, key, reason);
        result.refused.push_back(std::move(key));
    }
    return result;
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
