// The store as a C++ class: an in-memory copy of the file, the changes this process made,
// and the file itself. Thread-safe: one mutex guards everything, held also during Load and
// Save, so a Save that waits on another process's lock (a few seconds at most) holds readers
// back for that long.
//
// Every change is either saved (persist: the next Save writes it) or local (only this copy
// ever sees it). Load re-reads the file and lays both kinds of change on top again, so a
// reload never loses what this process changed and has not saved.
//
// Keys are taken as given: callers check them with CheckKey (key_rules.h) first.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "siblings/tolva/change_set.h"
#include "siblings/tolva/value.h"

namespace tolva {

enum class Persist : std::uint8_t { Local, Saved };

using Entry = std::pair<std::string, Value>;

class CStore {
public:
    explicit CStore(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    // Reads the file again (a missing file is empty). False, with an error record, when the
    // path is unusable or the file is not a store; the copy is then unchanged.
    [[nodiscard]] bool Load();
    // Writes the saved changes in one transaction and forgets them. True when there was
    // nothing to write. When the file cannot be written (logged) they stay, so a later Save can
    // retry. A change SQLite refuses is dropped with an error record and the others are written;
    // Save is then false, and this copy shows the refused value until the next Load.
    [[nodiscard]] bool Save();

    std::optional<Value> Find(std::string_view key) const;
    // Every entry whose key begins with `prefix` (plain text comparison), in key order.
    std::vector<Entry> List(std::string_view prefix) const;

    void Put(const std::string& key, const Value& value, Persist persist);
    // Reads and changes one key under the lock. `change` sees the current value (null when
    // there is none) and returns the new value, or nothing to leave the key alone.
    // True when the key was changed.
    using Change = std::function<std::optional<Value>(const Value* current)>;
    bool Update(const std::string& key, Persist persist, const Change& change);
    // Removes the key and every key below it; the number of keys removed from the copy.
    // A saved removal reaches the file even when the copy held none of them.
    std::size_t RemoveTree(const std::string& root, Persist persist);

private:
    void PutLocked(const std::string& key, const Value& value, Persist persist);

    mutable std::mutex m_mutex;
    const std::string m_path;
    ValueMap m_values;
    ChangeSet m_toSave;
    ChangeSet m_localOnly;
};

}  // namespace tolva
