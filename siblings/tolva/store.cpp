#include "siblings/tolva/store.h"

#include "siblings/tolva/store_file.h"
#include "siblings/venit/venit.h"

namespace tolva {

bool CStore::Load() {
    const std::lock_guard lock(m_mutex);
    if (m_path.empty()) {
        error("tolva::CStore::Load: no store path (no user data folder is known)");
        return false;
    }
    ValueMap values;
    if (!CStoreFile(m_path).Read(values)) {
        return false;
    }
    m_toSave.ApplyTo(values);
    m_localOnly.ApplyTo(values);
    m_values.swap(values);
    return true;
}

bool CStore::Save() {
    const std::lock_guard lock(m_mutex);
    if (m_toSave.Empty()) {
        return true;
    }
    if (m_path.empty()) {
        return false;
    }
    const WriteResult written = CStoreFile(m_path).Write(m_toSave);
    if (!written.committed) {
        return false;
    }
    // A refused change can never be written: keeping it would fail every later Save.
    m_toSave.Clear();
    return written.refused.empty();
}

std::optional<Value> CStore::Find(std::string_view key) const {
    const std::lock_guard lock(m_mutex);
    const auto it = m_values.find(key);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::vector<Entry> CStore::List(std::string_view prefix) const {
    const std::lock_guard lock(m_mutex);
    std::vector<Entry> entries;
    for (auto it = m_values.lower_bound(prefix);
         it != m_values.end() && it->first.starts_with(prefix); ++it) {
        entries.emplace_back(it->first, it->second);
    }
    return entries;
}

void CStore::Put(const std::string& key, const Value& value, Persist persist) {
    const std::lock_guard lock(m_mutex);
    PutLocked(key, value, persist);
}

bool CStore::Update(const std::string& key, Persist persist, const Change& change) {
    const std::lock_guard lock(m_mutex);
    const auto it = m_values.find(key);
    const auto updated = change(it == m_values.end() ? nullptr : &it->second);
    if (!updated) {
        return false;
    }
    PutLocked(key, *updated, persist);
    return true;
}

std::size_t CStore::RemoveTree(const std::string& root, Persist persist) {
    const std::lock_guard lock(m_mutex);
    if (persist == Persist::Saved) {
        m_toSave.RecordRemoveTree(root);
        // A saved removal supersedes the local values below it.
        m_localOnly.ForgetTree(root);
    } else {
        m_localOnly.RecordRemoveTree(root);
    }
    return EraseTree(m_values, root);
}

void CStore::PutLocked(const std::string& key, const Value& value, Persist persist) {
    m_values[key] = value;
    if (persist == Persist::Local) {
        m_localOnly.RecordPut(key, value);
        return;
    }
    m_toSave.RecordPut(key, value);
    // The saved value supersedes a local one, unless a local removal covers the key: then
    // the local layer must carry the value too, or a reload would hide it again.
    if (m_localOnly.RemovesKey(key)) {
        m_localOnly.RecordPut(key, value);
    } else {
        m_localOnly.Forget(key);
    }
}

}  // namespace tolva
