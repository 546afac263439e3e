#pragma once
// The saved shadow pixels of the popup windows a tracked bitmap menu shows. The menu
// skin's popup window procedure puts a record at the head of the list when a popup
// window is created, records the shadow colours into it at the popup's first non-client
// paint, replays them at later ones (so a repaint never darkens an already darkened
// screen again) and takes the record out when the window is destroyed. Look-ups run
// from the head, so the newest popup of a window handle wins.
//
// The stack owns its records: a popup whose WM_DESTROY the skin never saw (the menu was
// switched to another skin while it was open) is freed with the stack.
#include <list>
#include <memory>

#include "platform/base/coll_array.h"
#include "platform/base/wintypes.h"

struct OXPOPUPWND {
    HWND hWnd = nullptr;
    // The shadow colours in the order they were painted; empty until recorded.
    CArray<COLORREF, COLORREF> arrPixels;

    OXPOPUPWND() { arrPixels.SetSize(0, 1024); }
};

class COXPopupWndStack {
public:
    COXPopupWndStack() = default;
    COXPopupWndStack(const COXPopupWndStack&) = delete;
    COXPopupWndStack& operator=(const COXPopupWndStack&) = delete;

    // A new empty record for the window, at the head.
    OXPOPUPWND* AddHead(HWND hWnd)
    {
        auto record = std::make_unique<OXPOPUPWND>();
        record->hWnd = hWnd;
        m_records.push_front(std::move(record));
        return m_records.front().get();
    }
    // The newest record of the window, or null.
    OXPOPUPWND* Find(HWND hWnd) const
    {
        for (const auto& record : m_records)
            if (record->hWnd == hWnd)
                return record.get();
        return nullptr;
    }
    // Frees the newest record of the window; false when there was none.
    bool Remove(HWND hWnd)
    {
        for (auto it = m_records.begin(); it != m_records.end(); ++it)
            if ((*it)->hWnd == hWnd) {
                m_records.erase(it);
                return true;
            }
        return false;
    }
    OXPOPUPWND* GetHead() const { return m_records.empty() ? nullptr : m_records.front().get(); }
    bool IsEmpty() const { return m_records.empty(); }
    size_t GetCount() const { return m_records.size(); }
    void RemoveAll() { m_records.clear(); }

private:
    std::list<std::unique_ptr<OXPOPUPWND>> m_records;
};
