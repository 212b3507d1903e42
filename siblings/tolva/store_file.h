// The store's SQLite file: one table of (key, type, value).
//
// The file is written only by Write, in one IMMEDIATE transaction with a rollback journal
// (journal_mode=DELETE) and synchronous=FULL: a writer killed at any moment leaves the old or
// the new content, and the next reader rolls a left-over journal back. DELETE rather than
// WAL because WAL cannot be read from a read-only folder (it needs its -shm file) and a
// configuration store is written rarely, so WAL's concurrent readers buy nothing.
//
// A file that does not start with SQLite's header is someone else's: it is neither read nor
// written, and SQLite never opens it (so no journal of ours can be played into it).
#pragma once

#include <cstdint>
#include <string>

#include "siblings/tolva/change_set.h"

namespace tolva {

class CStoreFile {
public:
    explicit CStoreFile(std::string path) : m_path(std::move(path)) {}

    // Replaces `values` with the file's content; a missing file reads as empty. False (with
    // an error record naming the file) when the file is not a store or cannot be read, and
    // then `values` is untouched.
    [[nodiscard]] bool Read(ValueMap& values) const;

    // Removes the change set's trees, then writes its keys, in one transaction; creates the
    // folder and the file when they are missing. False with an error record otherwise.
    [[nodiscard]] bool Write(const ChangeSet& changes) const;

private:
    enum class FileKind : std::uint8_t { Missing, Database, Foreign, Unreadable };

    [[nodiscard]] FileKind Inspect(const char* operation) const;
    [[nodiscard]] bool CreateFileAndFolder() const;

    std::string m_path;
};

}  // namespace tolva
