#pragma once
// Internal: the maps from window handles to window objects, and the record of the
// procedures the class library replaced when it subclassed windows.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/base/wintypes.h"

class CWnd;

namespace zyn::afx::detail {

// One per thread: the objects attached on this thread (permanent) and the temporaries
// FromHandle made. The temporaries are owned here and detached before they are freed.
class WindowMaps {
public:
    WindowMaps() = default;
    WindowMaps(const WindowMaps&) = delete;
    WindowMaps& operator=(const WindowMaps&) = delete;
    ~WindowMaps();

    CWnd* FindPermanent(HWND h) const
    {
        if (CWnd* pWnd = FindRecent(h))
            return pWnd;
        return FindPermanentUncached(h);
    }
    // FindPermanent for a handle found lately; null otherwise (it may still be attached).
    CWnd* FindRecent(HWND h) const
    {
        const Recent& recent = RecentFor(h);
        return recent.handle == h && h ? recent.object : nullptr;
    }
    void AddPermanent(HWND h, CWnd* pWnd);
    void RemovePermanent(HWND h, const CWnd* pWnd);
    CWnd* FindTemporary(HWND h) const;
    CWnd* AddTemporary(HWND h, std::unique_ptr<CWnd> pWnd);
    void ClearTemporaries();
    size_t PermanentCount() const { return m_permanent.size(); }
    size_t TemporaryCount() const { return m_temporary.size(); }

private:
    // Handles found lately, by the low bits of the handle (its slot in the window table,
    // so windows alive together rarely share an entry): a message to a window seen
    // lately costs no hash-table look-up. Attaching and detaching update the entry.
    // Enough entries (4 KB) that a walk over a few hundred windows (the MDI children
    // behind a tab strip) finds each in its own.
    struct Recent {
        HWND handle = nullptr;
        CWnd* object = nullptr;
    };
    static constexpr size_t kRecent = 256;
    Recent& RecentFor(HWND h) const { return m_recent[reinterpret_cast<uintptr_t>(h) & (kRecent - 1)]; }
    // The hash-table look-up behind FindPermanent, kept out of the window procedure's
    // path (which a cached handle never leaves).
    [[gnu::noinline]] CWnd* FindPermanentUncached(HWND h) const
    {
        const auto it = m_permanent.find(h);
        if (it == m_permanent.end())
            return nullptr;
        RecentFor(h) = Recent{h, it->second};
        return it->second;
    }

    std::unordered_map<HWND, CWnd*> m_permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> m_temporary;
    mutable Recent m_recent[kRecent];
};

WindowMaps& ThreadWindowMaps();

// The procedure a window had before the class library put its own in place, kept until
// the window is destroyed or unsubclassed, so a window whose object detached still
// reaches its class's procedure and a later SubclassWindow chains to it.
void RememberSuperProc(HWND h, WNDPROC proc);
WNDPROC RememberedSuperProc(HWND h);
void ForgetSuperProc(HWND h);

} // namespace zyn::afx::detail
