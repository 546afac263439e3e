#pragma once
// Internal: the maps from handles to the C++ objects that wrap them.
//
// Permanent map (process-wide, locked): objects that own their handle (created through
// a Create* member or Attach). Several objects may hold the same handle (stock objects
// attached twice); the newest of the requested class answers.
//
// Temporary map (one per thread): wrappers that FromHandle makes for handles no
// permanent object holds. They never own their handle: freeing them (at idle through
// DeleteTempGdiObjects, or at thread exit) first clears the handle, so the wrapped
// object lives on.
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/base/object.h"

namespace zyn::afx::detail {

// A process-wide object that is never destroyed, so C++ objects with static storage
// may still reach it while they are destroyed at exit.
template <class T>
class Immortal {
public:
    Immortal() { ::new (static_cast<void*>(m_buf)) T(); }
    Immortal(const Immortal&) = delete;
    Immortal& operator=(const Immortal&) = delete;
    T& get() { return *std::launder(reinterpret_cast<T*>(m_buf)); }

private:
    alignas(T) unsigned char m_buf[sizeof(T)];
};

template <class T>
class PermanentMap {
public:
    void Add(const void* h, T* obj)
    {
        std::lock_guard lock(m_mutex);
        m_map[h].push_back(obj);
    }
    void Remove(const void* h, T* obj)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_map.find(h);
        if (it == m_map.end())
            return;
        auto& v = it->second;
        for (auto i = v.begin(); i != v.end(); ++i) {
            if (*i == obj) {
                v.erase(i);
                break;
            }
        }
        if (v.empty())
            m_map.erase(it);
    }
    // The newest object holding h that is of pClass or derived from it.
    T* Find(const void* h, const CRuntimeClass* pClass) const
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_map.find(h);
        if (it == m_map.end())
            return nullptr;
        for (auto i = it->second.rbegin(); i != it->second.rend(); ++i) {
            if ((*i)->IsKindOf(pClass))
                return *i;
        }
        return nullptr;
    }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<const void*, std::vector<T*>> m_map;
};

// `Forget` clears the wrapper's handle(s) before the wrapper is destroyed.
template <class T, void (*Forget)(T&)>
class TempMap {
public:
    TempMap() = default;
    TempMap(const TempMap&) = delete;
    TempMap& operator=(const TempMap&) = delete;
    ~TempMap() { Clear(); }

    T* Find(const void* h) const
    {
        const auto it = m_map.find(h);
        return it == m_map.end() ? nullptr : it->second.get();
    }
    T* Add(const void* h, std::unique_ptr<T> obj)
    {
        T* p = obj.get();
        m_map[h] = std::move(obj);
        return p;
    }
    void Clear()
    {
        // Move the wrappers out first: a wrapper's destructor must not see the map
        // half-cleared.
        auto old = std::move(m_map);
        m_map.clear();
        for (auto& entry : old)
            Forget(*entry.second);
        old.clear();
    }
    size_t Size() const { return m_map.size(); }

private:
    std::unordered_map<const void*, std::unique_ptr<T>> m_map;
};

} // namespace zyn::afx::detail
