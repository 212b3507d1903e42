#include "siblings/tolva/change_set.h"

#include <algorithm>

#include "siblings/tolva/key_rules.h"

namespace tolva {

void ChangeSet::RecordPut(const std::string& key, const Value& value) {
    m_puts[key] = value;
}

void ChangeSet::RecordRemoveTree(const std::string& root) {
    EraseTree(m_puts, root);
    m_removedTrees.insert(root);
}

void ChangeSet::Forget(const std::string& key) {
    m_puts.erase(key);
}

void ChangeSet::ForgetTree(const std::string& root) {
    EraseTree(m_puts, root);
}

bool ChangeSet::RemovesKey(const std::string& key) const {
    return std::any_of(m_removedTrees.begin(), m_removedTrees.end(),
                       [&key](const std::string& root) { return IsInTree(key, root); });
}

void ChangeSet::ApplyTo(ValueMap& values) const {
    for (const auto& root : m_removedTrees) {
        EraseTree(values, root);
    }
    for (const auto& [key, value] : m_puts) {
        values[key] = value;
    }
}

void ChangeSet::Clear() {
    m_removedTrees.clear();
    m_puts.clear();
}

std::size_t EraseTree(ValueMap& values, const std::string& root) {
    std::size_t removed = 0;
    // Keys that merely share the prefix ("config/a-b", "config/ab") sort among the tree's
    // keys, so each candidate is tested rather than erasing a range.
    for (auto it = values.lower_bound(root); it != values.end() && it->first.starts_with(root);) {
        if (IsInTree(it->first, root)) {
            it = values.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    return removed;
}

}  // namespace tolva
