// Changes made by this process that the file does not hold yet: removed trees and written
// keys. Applying a change set removes the trees first, then writes the keys; a key written
// after its tree was removed is therefore kept, and a tree removed after a key was written
// drops that key from the set.
#pragma once

#include <map>
#include <set>
#include <string>

#include "siblings/tolva/value.h"

namespace tolva {

using ValueMap = std::map<std::string, Value, std::less<>>;

class ChangeSet {
public:
    void RecordPut(const std::string& key, const Value& value);
    void RecordRemoveTree(const std::string& root);
    // Forgets written keys that a later change elsewhere supersedes.
    void Forget(const std::string& key);
    void ForgetTree(const std::string& root);
    // True when a removed tree holds the key.
    bool RemovesKey(const std::string& key) const;

    void ApplyTo(ValueMap& values) const;
    bool Empty() const { return m_removedTrees.empty() && m_puts.empty(); }
    void Clear();

    const std::set<std::string>& RemovedTrees() const { return m_removedTrees; }
    const ValueMap& Puts() const { return m_puts; }

private:
    std::set<std::string> m_removedTrees;
    ValueMap m_puts;
};

// Removes `root` and every key below it; the number of keys removed.
std::size_t EraseTree(ValueMap& values, const std::string& root);

}  // namespace tolva
