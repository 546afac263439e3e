#pragma once
// PtrMap: an ordered map from a key to objects it owns. Clearing or destroying the map
// deletes the objects; Remove hands one back to the caller's ownership.
//
// The map cannot be copied: two maps owning the same objects would delete each of them
// twice. Code that wants a second view of the objects takes Pointers(), which owns
// nothing.
#include <map>
#include <memory>
#include <utility>
#include <vector>

template <class Key, class T, class Compare = std::less<Key>>
class PtrMap {
public:
    using map_type = std::map<Key, std::unique_ptr<T>, Compare>;
    using const_iterator = typename map_type::const_iterator;

    PtrMap() = default;
    PtrMap(const PtrMap&) = delete;
    PtrMap& operator=(const PtrMap&) = delete;
    PtrMap(PtrMap&&) noexcept = default;
    PtrMap& operator=(PtrMap&&) noexcept = default;
    ~PtrMap() = default;

    // Stores the object under the key and owns it; an object already there is deleted.
    // Returns the stored object (null when given null: nothing is stored then).
    T* Set(const Key& key, std::unique_ptr<T> object)
    {
        if (!object)
            return nullptr;
        T* raw = object.get();
        m_map[key] = std::move(object);
        return raw;
    }
    // The object under the key, or null.
    T* Lookup(const Key& key) const
    {
        const auto it = m_map.find(key);
        return it == m_map.end() ? nullptr : it->second.get();
    }
    bool Contains(const Key& key) const { return m_map.count(key) != 0; }
    // Takes the object out; the caller owns it. Null when the key is absent.
    std::unique_ptr<T> Remove(const Key& key)
    {
        const auto it = m_map.find(key);
        if (it == m_map.end())
            return nullptr;
        std::unique_ptr<T> object = std::move(it->second);
        m_map.erase(it);
        return object;
    }
    // Deletes every object.
    void Clear() { m_map.clear(); }
    size_t Size() const { return m_map.size(); }
    bool IsEmpty() const { return m_map.empty(); }
    // In key order.
    const_iterator begin() const { return m_map.begin(); }
    const_iterator end() const { return m_map.end(); }
    // The objects in key order, owned by the map.
    std::vector<T*> Pointers() const
    {
        std::vector<T*> out;
        out.reserve(m_map.size());
        for (const auto& entry : m_map)
            out.push_back(entry.second.get());
        return out;
    }

private:
    map_type m_map;
};
