#pragma once
// Internal: the per-class message-map index and the lookup on the dispatch path.
//
// The index holds every entry of a class and its bases, grouped by (message, code) in
// an open-addressed table; a lookup is one hash probe and a scan of the group for the
// ID range (none for a window message: the slot keeps the entry for ID 0). It is built at the first lookup through the class and published through
// the map's cache, so the window procedure's lookup of a window message is a load, a
// multiply and a compare, inlined where it is used.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/afx/msgmap.h"

namespace zyn::afx {

// Every entry of a class and its bases, grouped by (message, code) in chain order (the
// class's own entries first, each map in table order), so the first entry of a group
// whose ID range holds the ID is the one a walk of the maps would find.
class MsgMapIndex {
public:
    explicit MsgMapIndex(const AFX_MSGMAP* pMap);

    // The entry a window message (code and ID 0) goes to: the probe alone, the group's
    // entry for ID 0 being kept in its slot.
    const AFX_MSGMAP_ENTRY* FindWindowMessage(UINT nMessage) const
    {
        const uint64_t key = Key(nMessage, 0);
        for (size_t s = Hash(key) & m_mask;; s = (s + 1) & m_mask) {
            const Slot& slot = m_slots[s];
            if (slot.key == key && slot.count != 0)
                return slot.idZero;
            if (slot.count == 0)
                return nullptr;
        }
    }

    const AFX_MSGMAP_ENTRY* Find(UINT nMessage, UINT nCode, UINT nID) const
    {
        const uint64_t key = Key(nMessage, nCode);
        for (size_t s = Hash(key) & m_mask;; s = (s + 1) & m_mask) {
            const Slot& slot = m_slots[s];
            if (slot.count == 0)
                return nullptr;
            if (slot.key != key)
                continue;
            const Item* it = m_items.data() + slot.first;
            const Item* end = it + slot.count;
            for (; it != end; ++it)
                if (nID >= it->nID && nID <= it->nLastID)
                    return it->entry;
            return nullptr;
        }
    }

    // A registered-message variable was still 0 when the index was built.
    bool HasUnresolved() const { return m_unresolved; }
    size_t Size() const { return m_items.size(); }

private:
    struct Item {
        UINT nID;
        UINT nLastID;
        const AFX_MSGMAP_ENTRY* entry;
    };
    struct Slot {
        uint64_t key = 0;
        uint32_t first = 0;
        uint32_t count = 0;   // 0: empty
        const AFX_MSGMAP_ENTRY* idZero = nullptr; // the group's first entry whose range holds ID 0
    };

    static uint64_t Key(UINT message, UINT code) { return (static_cast<uint64_t>(message) << 32) | code; }
    static size_t Hash(uint64_t key)
    {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32);
    }

    std::vector<Slot> m_slots;
    std::vector<Item> m_items;
    size_t m_mask = 0;
    bool m_unresolved = false;
};

// The index of a map, built at first use; null for a map without a cache.
const MsgMapIndex* IndexOf(const AFX_MSGMAP* pMap);

// FindMessageEntry for a window message (code and ID 0), with the common case inline:
// the index is built and the message is not a registered one whose variable was unset
// when it was built.
inline const AFX_MSGMAP_ENTRY* FindWindowMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage)
{
    if (pMap && pMap->pCache) [[likely]] {
        const MsgMapIndex* index = pMap->pCache->index.load(std::memory_order_acquire);
        if (index && (nMessage < 0xC000 || !index->HasUnresolved())) [[likely]]
            return index->FindWindowMessage(nMessage);
    }
    return FindMessageEntry(pMap, nMessage, 0, 0);
}

} // namespace zyn::afx
