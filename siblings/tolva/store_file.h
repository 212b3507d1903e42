// The store's SQLite file: one table of (key, type, value).
//
// The file is written only by Write, in one IMMEDIATE transaction with a rollback journal
// (journal_mode=DELETE) and synchronous=FULL: a writer killed at any moment leaves the old or
// the new content, and the next reader rolls a left-over journal back. DELETE rather than
// WAL because WAL cannot be read from a read-only folder (it needs its -shm file) and a
// configuration store is written rarely, so WAL's concurrent readers buy nothing.
//
// A read-only connection cannot roll a left-over journal back: Read then reads again through a
// read-write one, so the first load after a killed writer heals the file by itself.
//
// A file that does not start with SQLite's header is someone else's: it is neither read nor
// written, and SQLite never opens it (so no journal of ours can be played into it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "siblings/tolva/change_set.h"

namespace tolva {

// What became of a change set.
struct WriteResult {
    bool committed = false;
    // Keys whose value SQLite refused (too big for it, or against a rule of the table): no retry
    // can write them, so they were left out of the transaction, each with an error record.
    std::vector<std::string> refused;
};

class CStoreFile {
public:
    explicit CStoreFile(std::string path) : m_path(std::move(path)) {}

    // Replaces `values` with the file's content; a missing file reads as empty. False (with
    // an error record naming the file) when the file is not a store or cannot be read, and
    // then `values` is untouched.
    [[nodiscard]] bool Read(ValueMap& values) const;

    // Removes the change set's trees, then writes its keys, in one transaction; creates the
    // folder and the file when they are missing. Not committed (with an error record) when the
    // file cannot be written; a key SQLite refuses does not stop the others.
    [[nodiscard]] WriteResult Write(const ChangeSet& changes) const;

private:
    enum class FileKind : std::uint8_t { Missing, Database, Foreign, Unreadable };

    [[nodiscard]] FileKind Inspect(const char* operation) const;
    [[nodiscard]] bool ReadAfterRollback(ValueMap& values) const;
    [[nodiscard]] bool CreateFileAndFolder() const;

    std::string m_path;
};

}  // namespace tolva
