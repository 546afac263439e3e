// CWnd's core: the handle maps, attaching and subclassing, creation through the
// create hook, the class library's window procedure and message dispatch.
#include "platform/afx/wnd.h"

#include <array>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/msgmap_index.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd_maps.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace zyn::afx::detail {

WindowMaps::~WindowMaps() { ClearTemporaries(); }

void WindowMaps::AddPermanent(HWND h, CWnd* pWnd)
{
    m_permanent[h] = pWnd;
    RecentFor(h) = Recent{h, pWnd};
}

void WindowMaps::RemovePermanent(HWND h, const CWnd* pWnd)
{
    const auto it = m_permanent.find(h);
    if (it != m_permanent.end() && it->second == pWnd)
        m_permanent.erase(it);
    if (Recent& recent = RecentFor(h); recent.handle == h)
        recent = Recent{};
}

CWnd* WindowMaps::FindTemporary(HWND h) const
{
    const auto it = m_temporary.find(h);
    return it == m_temporary.end() ? nullptr : it->second.get();
}

CWnd* WindowMaps::AddTemporary(HWND h, std::unique_ptr<CWnd> pWnd)
{
    CWnd* p = pWnd.get();
    m_temporary[h] = std::move(pWnd);
    return p;
}

void WindowMaps::ClearTemporaries()
{
    // Move them out first: a destructor must not see the map half cleared.
    auto old = std::move(m_temporary);
    m_temporary.clear();
    for (auto& entry : old)
        entry.second->m_hWnd = nullptr; // a temporary never owns its window
    old.clear();
}

namespace {

// What every message the class library's procedure handles needs from the thread: its
// state (the current message) and its window maps. Both live in thread-local objects
// reached through the general TLS call; this slot caches their addresses in the static
// TLS block, so a dispatch reaches them with one load from the thread pointer. (The
// library is loaded with the program, and the slot takes 16 bytes of the space the C
// library keeps for libraries loaded later.)
struct DispatchSlot {
    AFX_THREAD_STATE* state = nullptr;
    WindowMaps* maps = nullptr;
};
thread_local DispatchSlot t_dispatch __attribute__((tls_model("initial-exec")));

WindowMaps& MapsOfThisThread()
{
    thread_local WindowMaps maps;
    return maps;
}

[[gnu::noinline]] DispatchSlot& FillDispatchSlot()
{
    t_dispatch.state = AfxGetThreadState();
    t_dispatch.maps = &MapsOfThisThread();
    return t_dispatch;
}

inline DispatchSlot& ThisThreadDispatch()
{
    DispatchSlot& slot = t_dispatch;
    if (!slot.maps) [[unlikely]]
        return FillDispatchSlot();
    return slot;
}

} // namespace

WindowMaps& ThreadWindowMaps() { return *ThisThreadDispatch().maps; }

namespace {
struct SuperProcs {
    std::mutex mutex;
    std::unordered_map<HWND, WNDPROC> procs;
};
SuperProcs& Supers()
{
    // Never destroyed: windows may still be destroyed while the process exits.
    static SuperProcs* supers = new SuperProcs;
    return *supers;
}
} // namespace

void RememberSuperProc(HWND h, WNDPROC proc)
{
    SuperProcs& s = Supers();
    std::lock_guard lock(s.mutex);
    s.procs[h] = proc;
}

WNDPROC RememberedSuperProc(HWND h)
{
    SuperProcs& s = Supers();
    std::lock_guard lock(s.mutex);
    const auto it = s.procs.find(h);
    return it == s.procs.end() ? nullptr : it->second;
}

void ForgetSuperProc(HWND h)
{
    SuperProcs& s = Supers();
    std::lock_guard lock(s.mutex);
    s.procs.erase(h);
}

} // namespace zyn::afx::detail

using zyn::afx::detail::ThreadWindowMaps;

namespace {

// A handle value below 0x10000 is one of the special values (HWND_TOP...), never a window.
bool IsSpecialHandle(HWND h) { return reinterpret_cast<uintptr_t>(h) < 0x10000; }

// A command's update state, asked for before the command runs: a command whose update
// handler disables it is not run.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    BOOL m_bEnabled = TRUE;
};

zyn::afx::ToolTipHooks g_toolTipHooks;
void (*g_revokeDropTarget)(COleDropTarget*) = nullptr;

} // namespace

// ---- construction -----------------------------------------------------------------------------------------

const CWnd CWnd::wndTop(HWND_TOP, SpecialTag{});
const CWnd CWnd::wndBottom(HWND_BOTTOM, SpecialTag{});
const CWnd CWnd::wndTopMost(HWND_TOPMOST, SpecialTag{});
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST, SpecialTag{});

CWnd::CWnd() = default;

CWnd::CWnd(HWND hWnd, SpecialTag) : m_hWnd(hWnd) {}

CWnd::~CWnd()
{
    if (!m_hWnd || IsSpecialHandle(m_hWnd))
        return;
    // An object destroyed with its window still alive takes the window with it; only the
    // base CWnd handlers see its last messages now.
    if (FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_hWnd)
        Detach();
}

// ---- the maps ------------------------------------------------------------------------------------------------

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    return ThreadWindowMaps().FindPermanent(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto& maps = ThreadWindowMaps();
    if (CWnd* p = maps.FindPermanent(hWnd))
        return p;
    if (CWnd* p = maps.FindTemporary(hWnd))
        return p;
    if (IsSpecialHandle(hWnd) || !::IsWindow(hWnd)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    auto temp = std::make_unique<CWnd>();
    temp->m_hWnd = hWnd;
    return maps.AddTemporary(hWnd, std::move(temp));
}

void CWnd::DeleteTempMap() { ThreadWindowMaps().ClearTemporaries(); }

size_t zyn::afx::PermanentWindowCount() { return ThreadWindowMaps().PermanentCount(); }
size_t zyn::afx::TemporaryWindowCount() { return ThreadWindowMaps().TemporaryCount(); }

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd || !hWndNew || FromHandlePermanent(hWndNew)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (IsSpecialHandle(hWndNew) || !::IsWindow(hWndNew)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    m_hWnd = hWndNew;
    ThreadWindowMaps().AddPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hWnd = m_hWnd;
    if (hWnd) {
        ThreadWindowMaps().RemovePermanent(hWnd, this);
        m_hWnd = nullptr;
    }
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    // Let a derived class subclass first.
    PreSubclassWindow();
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    const auto oldWndProc =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (!oldWndProc) {
        const DWORD err = ::GetLastError();
        Detach();
        ::SetLastError(err ? err : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    WNDPROC super = oldWndProc;
    if (oldWndProc == &AfxWndProc) {
        // A window the class library subclassed before (its object detached since): chain
        // to the procedure it had then, never to ourselves.
        super = zyn::afx::detail::RememberedSuperProc(hWnd);
    } else {
        zyn::afx::detail::RememberSuperProc(hWnd, oldWndProc);
    }
    if (!*lplpfn)
        *lplpfn = super;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    const HWND hWndControl = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    if (!hWndControl) {
        ::SetLastError(1421); // ERROR_CONTROL_ID_NOT_FOUND
        return FALSE;
    }
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (*lplpfn) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*lplpfn));
        zyn::afx::detail::ForgetSuperProc(m_hWnd);
    }
    *lplpfn = nullptr;
    return Detach();
}

WNDPROC* CWnd::GetSuperWndProcAddr() { return &m_pfnSuper; }

// ---- the window procedure ------------------------------------------------------------------------------------------

namespace {

// The time and cursor position the window system gave the message being handled.
MSG& FillTimeAndPoint(MSG& msg)
{
    msg.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD pos = ::GetMessagePos();
    msg.pt = POINT{GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos))};
    return msg;
}

LRESULT ProcessException(CException* e, const MSG& msg)
{
    if (CWinThread* thread = AfxGetThread())
        return thread->ProcessWndProcException(e, &msg);
    return AfxInternalProcessWndProcException(e, &msg);
}

// A dialog that did not place itself during WM_INITDIALOG is centred over its owner.
struct InitDialogCentre {
    RECT rectOld{};
    DWORD styleOld = 0;
    void Before(CWnd* pWnd)
    {
        ::GetWindowRect(pWnd->m_hWnd, &rectOld);
        styleOld = pWnd->GetStyle();
    }
    void After(CWnd* pWnd) const
    {
        if (!::IsWindow(pWnd->m_hWnd) || (pWnd->GetStyle() & (WS_VISIBLE | WS_CHILD)) || (styleOld & WS_VISIBLE))
            return;
        RECT rect{};
        ::GetWindowRect(pWnd->m_hWnd, &rect);
        if (!::EqualRect(&rect, &rectOld))
            return;
        const HWND owner = ::GetWindow(pWnd->m_hWnd, GW_OWNER);
        if (owner && ::IsWindowEnabled(owner))
            return;
        pWnd->CenterWindow();
    }
};

} // namespace

namespace {

// The messages OnWndMsg does more for than one look-up in the message map: a table of
// the messages up to the last of them, so that most messages take one comparison.
inline constexpr auto kRouted = [] {
    std::array<bool, WM_CTLCOLORSTATIC + 1> t{};
    for (const UINT m : {UINT{WM_COMMAND}, UINT{WM_NOTIFY}, UINT{WM_ACTIVATE}, UINT{WM_SETCURSOR}})
        t[m] = true;
    for (UINT m = WM_CTLCOLORMSGBOX; m <= WM_CTLCOLORSTATIC; ++m)
        t[m] = true;
    return t;
}();

inline bool NeedsRouting(UINT message) { return message < kRouted.size() && kRouted[message]; }

// The messages the window procedure's short path leaves to its full one: those OnWndMsg
// routes further, the two the procedure does more for (WM_INITDIALOG, WM_NCDESTROY) and
// the procedure's own query.
inline constexpr auto kNotDirect = [] {
    std::array<bool, WM_QUERYAFXWNDPROC + 1> t{};
    for (size_t m = 0; m < kRouted.size(); ++m)
        t[m] = kRouted[m];
    t[WM_INITDIALOG] = t[WM_NCDESTROY] = t[WM_QUERYAFXWNDPROC] = true;
    return t;
}();

// Runs a window-message entry's handler; its result goes to *pResult.
inline void RunEntry(CWnd* pWnd, const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM wParam, LPARAM lParam,
    LRESULT* pResult)
{
    const LRESULT lResult = entry->pfnWmThunk(pWnd, entry->pfn, message, wParam, lParam);
    if (pResult)
        *pResult = lResult;
}

// Apart, so that the handler's call beside it keeps nothing in saved registers.
[[gnu::noinline]] LRESULT CallDefault(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return pWnd->DefWindowProc(nMsg, wParam, lParam);
}

} // namespace

namespace zyn::afx::detail {

// The class library's window procedure's way to an object's handler.
struct WndDispatch {
    // WindowProc, done here for an object whose class overrides neither WindowProc nor
    // OnWndMsg (its index cached by an earlier message): a window message found in the map
    // goes to its handler, one that is not to DefWindowProc; messages OnWndMsg routes
    // further, and every other object, go through WindowProc.
    static LRESULT Dispatch(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (MayLookUp(pWnd) && !NeedsRouting(nMsg)) [[likely]]
            return LookUpAndRun(pWnd, nMsg, wParam, lParam);
        return pWnd->WindowProc(nMsg, wParam, lParam);
    }

    // Whether the procedure's short path serves the message: the object's dispatch is
    // plain, its cached index is its class's, and the message is not one the full path
    // does more for.
    static bool ServesShort(const CWnd* pWnd, UINT nMsg)
    {
        return MayLookUp(pWnd) && !(nMsg < kNotDirect.size() && kNotDirect[nMsg]);
    }

    static LRESULT LookUpAndRun(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (const AFX_MSGMAP_ENTRY* entry = pWnd->m_pDispatchIndex->FindWindowMessage(nMsg)) [[likely]] {
            // An ON_MESSAGE handler takes the parameters as they come: called here, not
            // through its thunk.
            if (entry->pfnWmThunk == &zyn::afx::wm::L_Message)
                return (pWnd->*zyn::afx::FromPmsg<zyn::afx::wm::P_l_wl>(entry->pfn))(wParam, lParam);
            return entry->pfnWmThunk(pWnd, entry->pfn, nMsg, wParam, lParam);
        }
        return CallDefault(pWnd, nMsg, wParam, lParam);
    }

    static bool MayLookUp(const CWnd* pWnd) { return VtableOf(pWnd) == pWnd->m_pDispatchVtable; }

    // The object's virtual table: the same one means the same dynamic type, and one load
    // tells it.
    static const void* VtableOf(const CWnd* pWnd)
    {
        const void* vtable;
        std::memcpy(&vtable, static_cast<const void*>(pWnd), sizeof vtable);
        return vtable;
    }

    // Whether an object's class overrides neither WindowProc nor OnWndMsg: its virtual
    // functions resolve to those of a plain CWnd.
    static bool DispatchesAsCWnd(CWnd* pWnd)
    {
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
        using WindowProcFn = LRESULT (*)(CWnd*, UINT, WPARAM, LPARAM);
        using OnWndMsgFn = BOOL (*)(CWnd*, UINT, WPARAM, LPARAM, LRESULT*);
        CWnd& plain = const_cast<CWnd&>(CWnd::wndTop);
        return reinterpret_cast<WindowProcFn>(pWnd->*(&CWnd::WindowProc)) ==
            reinterpret_cast<WindowProcFn>(plain.*(&CWnd::WindowProc)) &&
            reinterpret_cast<OnWndMsgFn>(pWnd->*(&CWnd::OnWndMsg)) ==
            reinterpret_cast<OnWndMsgFn>(plain.*(&CWnd::OnWndMsg));
#pragma GCC diagnostic pop
#else
        (void)pWnd;
        return false;
#endif
    }
};

} // namespace zyn::afx::detail

namespace {

// Runs dispatch() as the thread's current message (hWnd, nMsg, wParam, lParam); `state` is
// the one in the thread's dispatch slot.
template <class Dispatch>
inline LRESULT AsCurrentMessage(AFX_THREAD_STATE* state, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam,
    Dispatch dispatch)
{
    // The message's record, and the one it nests in, put back afterwards. The time and the
    // cursor position are filled in when asked for (GetCurrentMessage) or reported (an
    // exception), not for every message. The outer record and the state are read back
    // from memory after the handler rather than kept in registers across it: fewer
    // registers to save on the way to every handler.
    struct {
        MSG msg;
        MSG* outer;
    } record;
    record.msg.hwnd = hWnd;
    record.msg.message = nMsg;
    record.msg.wParam = wParam;
    record.msg.lParam = lParam;
    record.outer = state->m_pLastSentMsg;
    state->m_pLastSentMsg = &record.msg;
    LRESULT lResult = 0;
    try {
        lResult = dispatch();
    } catch (CException* e) {
        lResult = ProcessException(e, FillTimeAndPoint(record.msg));
        e->Delete();
    }
    zyn::afx::detail::t_dispatch.state->m_pLastSentMsg = record.outer;
    return lResult;
}

// AfxCallWndProc with the thread's state at hand; the window procedure's common case
// (`initDialog` false) without the WM_INITDIALOG centring, so that it stays small.
template <bool initDialog>
inline LRESULT CallWndProcOf(AFX_THREAD_STATE* state, CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return AsCurrentMessage(state, hWnd, nMsg, wParam, lParam, [=] {
        using zyn::afx::detail::WndDispatch;
        if (initDialog && nMsg == WM_INITDIALOG) {
            InitDialogCentre centre;
            centre.Before(pWnd);
            const LRESULT lResult = WndDispatch::Dispatch(pWnd, nMsg, wParam, lParam);
            if (pWnd->CheckAutoCenter())
                centre.After(pWnd);
            return lResult;
        }
        return WndDispatch::Dispatch(pWnd, nMsg, wParam, lParam);
    });
}

[[gnu::noinline]] LRESULT CallWithoutObject(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // No object (detached, or a window of another thread's object): the procedure the
    // window had before the class library's.
    const WNDPROC super = zyn::afx::detail::RememberedSuperProc(hWnd);
    const LRESULT r = super ? ::CallWindowProcW(super, hWnd, nMsg, wParam, lParam)
                            : ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY)
        zyn::afx::detail::ForgetSuperProc(hWnd);
    return r;
}

[[gnu::noinline]] void AfterNcDestroy(zyn::afx::detail::WindowMaps& maps, HWND hWnd)
{
    zyn::afx::detail::ForgetSuperProc(hWnd);
    // A handler that did not pass WM_NCDESTROY on leaves its object attached to a dead
    // window: detach it. (An object deleted by its handlers has left the map already.)
    if (CWnd* still = maps.FindPermanent(hWnd))
        still->Detach();
}

// The window procedure for WM_INITDIALOG (centring the dialog) and WM_NCDESTROY (the
// object let go of afterwards).
[[gnu::noinline]] LRESULT CallWndProcRare(zyn::afx::detail::DispatchSlot& thread, CWnd* pWnd, HWND hWnd, UINT nMsg,
    WPARAM wParam, LPARAM lParam)
{
    const LRESULT r = CallWndProcOf<true>(thread.state, pWnd, hWnd, nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY)
        AfterNcDestroy(*thread.maps, hWnd);
    return r;
}

} // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return CallWndProcOf<true>(zyn::afx::detail::ThisThreadDispatch().state, pWnd, hWnd, nMsg, wParam, lParam);
}

namespace {

[[gnu::noinline]] LRESULT AfxWndProcFull(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // The class library's procedure answers this query so code can tell its windows.
    if (nMsg == WM_QUERYAFXWNDPROC) [[unlikely]]
        return 1;
    auto& thread = zyn::afx::detail::ThisThreadDispatch();
    CWnd* pWnd = hWnd ? thread.maps->FindPermanent(hWnd) : nullptr;
    if (!pWnd || pWnd->m_hWnd != hWnd) [[unlikely]]
        return CallWithoutObject(hWnd, nMsg, wParam, lParam);
    if (nMsg == WM_INITDIALOG || nMsg == WM_NCDESTROY) [[unlikely]]
        return CallWndProcRare(thread, pWnd, hWnd, nMsg, wParam, lParam);
    return CallWndProcOf<false>(thread.state, pWnd, hWnd, nMsg, wParam, lParam);
}

// The short path's call of the handler (or of DefWindowProc when the map has no entry),
// apart so that the checks before it save no registers.
[[gnu::noinline]] LRESULT RunShort(AFX_THREAD_STATE* state, CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return AsCurrentMessage(state, pWnd->m_hWnd, nMsg, wParam, lParam,
        [=] { return zyn::afx::detail::WndDispatch::LookUpAndRun(pWnd, nMsg, wParam, lParam); });
}

} // namespace

LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // The common case, a window of this thread seen lately whose object lets the procedure
    // look in its map, goes from here to its handler; every other takes the full path.
    using zyn::afx::detail::WndDispatch;
    const zyn::afx::detail::DispatchSlot& thread = zyn::afx::detail::t_dispatch;
    CWnd* const pWnd = thread.maps ? thread.maps->FindRecent(hWnd) : nullptr;
    if (pWnd && pWnd->m_hWnd == hWnd && WndDispatch::ServesShort(pWnd, nMsg)) [[likely]]
        return RunShort(thread.state, pWnd, nMsg, wParam, lParam);
    return AfxWndProcFull(hWnd, nMsg, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() { return &AfxWndProc; }

void AfxSetWindowText(HWND hWnd, LPCTSTR lpszNew)
{
    const std::wstring_view text = lpszNew ? std::wstring_view(lpszNew) : std::wstring_view();
    const int length = ::GetWindowTextLengthW(hWnd);
    if (length == static_cast<int>(text.size())) {
        std::wstring current(static_cast<size_t>(length) + 1, L'\0');
        current.resize(static_cast<size_t>(::GetWindowTextW(hWnd, current.data(), length + 1)));
        if (current == text)
            return;
    }
    ::SetWindowTextW(hWnd, lpszNew ? lpszNew : L"");
}

// ---- creation ----------------------------------------------------------------------------------------------------------

struct WndCreateHook {
    static LRESULT Filter(int code, WPARAM wParam, LPARAM lParam)
    {
        AFX_THREAD_STATE* state = AfxGetThreadState();
        const HHOOK hook = state->m_hHookOldCbtFilter;
        if (code != HCBT_CREATEWND || !state->m_pWndInit)
            return ::CallNextHookEx(hook, code, wParam, lParam);
        const HWND hWnd = reinterpret_cast<HWND>(wParam);
        CWnd* pWndInit = state->m_pWndInit;
        try {
            if (!pWndInit->Attach(hWnd)) {
                state->m_pWndInit = nullptr;
                return 1; // refuse the creation: the object cannot take this window
            }
            // Let a derived class subclass first (it can tell a creation from the subclassing
            // of an existing window: m_pWndInit is still set), then put the class library's
            // procedure in.
            pWndInit->PreSubclassWindow();
            const auto oldWndProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
            if (oldWndProc && oldWndProc != &AfxWndProc) {
                *pWndInit->GetSuperWndProcAddr() = oldWndProc;
                zyn::afx::detail::RememberSuperProc(hWnd, oldWndProc);
            }
            state->m_pWndInit = nullptr;
        } catch (CException* e) {
            state->m_pWndInit = nullptr;
            MSG msg{hWnd, WM_NCCREATE, 0, 0, 0, POINT{0, 0}};
            ProcessException(e, msg);
            e->Delete();
            pWndInit->Detach();
            return 1;
        }
        return ::CallNextHookEx(hook, code, wParam, lParam);
    }
};

void AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pWndInit == pWnd)
        return;
    if (!state->m_hHookOldCbtFilter) {
        state->m_hHookOldCbtFilter = ::SetWindowsHookExW(WH_CBT, &WndCreateHook::Filter, nullptr, ::GetCurrentThreadId());
        if (!state->m_hHookOldCbtFilter)
            AfxThrowResourceException();
    }
    state->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_hHookOldCbtFilter) {
        ::UnhookWindowsHookEx(state->m_hHookOldCbtFilter);
        state->m_hHookOldCbtFilter = nullptr;
    }
    if (state->m_pWndInit) {
        state->m_pWndInit = nullptr;
        return FALSE; // the hook never saw the window
    }
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
    UINT nID, CCreateContext* pContext)
{
    if (dwStyle & WS_POPUP) {
        // Create makes child windows; pop-ups go through CreateEx.
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, zyn::afx::SafeHwndOf(pParentWnd),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, zyn::afx::SafeHwndOf(pParentWnd),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd) {
        // One window per object: destroy or detach the current one first.
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    const HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
        cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    const DWORD err = ::GetLastError();
    if (!AfxUnhookWindowCreate())
        PostNcDestroy(); // the window never existed: clean up as its destruction would
    if (!hWnd) {
        ::SetLastError(err);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) {
        AfxDeferRegisterClass(AFX_WND_REG);
        cs.lpszClass = _afxWnd;
    }
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    const HWND hWndOrig = m_hWnd;
    const bool permanent = FromHandlePermanent(hWndOrig) == this;
    const BOOL bResult = ::DestroyWindow(hWndOrig);
    // A permanent object may have been deleted by its PostNcDestroy: do not touch it.
    if (!permanent)
        Detach();
    return bResult;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == adjustBorder)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

// ---- dispatch ------------------------------------------------------------------------------------------------------------------

const MSG* CWnd::GetCurrentMessage()
{
    return &FillTimeAndPoint(zyn::afx::detail::ThisThreadDispatch().state->LastSentMsg());
}

LRESULT CWnd::Default()
{
    const MSG& msg = zyn::afx::detail::ThisThreadDispatch().state->LastSentMsg();
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    if (const WNDPROC proc = *GetSuperWndProcAddr())
        return ::CallWindowProcW(proc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

namespace {

// WM_ACTIVATETOPLEVEL to the top-level parent when activation moves between top-level
// windows (frames use it to activate their views).
void HandleActivate(CWnd* pWnd, WPARAM nState, HWND hWndOther)
{
    if (pWnd->GetStyle() & WS_CHILD)
        return;
    CWnd* pTopLevel = pWnd->GetTopLevelParent();
    if (!pTopLevel)
        return;
    CWnd* pOther = hWndOther && ::IsWindow(hWndOther) ? CWnd::FromHandle(hWndOther) : nullptr;
    if (pOther && pTopLevel == pOther->GetTopLevelParent())
        return;
    HWND hWnd2[2] = {pWnd->m_hWnd, pOther ? pOther->m_hWnd : nullptr};
    pTopLevel->SendMessage(WM_ACTIVATETOPLEVEL, nState, reinterpret_cast<LPARAM>(&hWnd2[0]));
}

// A click on a window disabled by a modal one brings the modal one forward.
BOOL HandleSetCursor(CWnd* pWnd, int nHitTest, UINT nMsg)
{
    if (nHitTest != HTERROR || (nMsg != WM_LBUTTONDOWN && nMsg != WM_MBUTTONDOWN && nMsg != WM_RBUTTONDOWN))
        return FALSE;
    CWnd* pLastActive = pWnd->GetTopLevelParent();
    if (pLastActive)
        pLastActive = pLastActive->GetLastActivePopup();
    if (pLastActive && pLastActive != CWnd::GetForegroundWindow() && pLastActive->IsWindowEnabled()) {
        pLastActive->SetForegroundWindow();
        return TRUE;
    }
    return FALSE;
}

} // namespace

namespace {

// OnWndMsg for the messages NeedsRouting names.
[[gnu::noinline]] BOOL RouteWndMsg(CWnd* pWnd, const AFX_MSGMAP* pMap, UINT message, WPARAM wParam, LPARAM lParam,
    LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!pWnd->OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
    } else if (message == WM_NOTIFY) {
        const auto* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        if (!pNMHDR || !pNMHDR->hwndFrom || !pWnd->OnNotify(wParam, lParam, &lResult))
            return FALSE;
    } else {
        if (message == WM_ACTIVATE)
            HandleActivate(pWnd, wParam, reinterpret_cast<HWND>(lParam));
        if (message == WM_SETCURSOR &&
            HandleSetCursor(pWnd, static_cast<short>(LOWORD(static_cast<uintptr_t>(lParam))),
                HIWORD(static_cast<uintptr_t>(lParam)))) {
            lResult = 1;
        } else {
            if (const AFX_MSGMAP_ENTRY* entry = zyn::afx::FindWindowMessageEntry(pMap, message)) {
                RunEntry(pWnd, entry, message, wParam, lParam, pResult);
                return TRUE;
            }
            if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC)
                return FALSE;
            // The WM_CTLCOLOR* messages share one handler.
            const AFX_MSGMAP_ENTRY* entry = zyn::afx::FindWindowMessageEntry(pMap, WM_CTLCOLOR);
            if (!entry)
                return FALSE;
            AFX_CTLCOLOR ctl{reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                message - WM_CTLCOLORMSGBOX};
            RunEntry(pWnd, entry, WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
            return TRUE;
        }
    }
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

} // namespace

const AFX_MSGMAP_ENTRY* CWnd::FindDispatchEntry(UINT message, const std::type_info* type)
{
    const AFX_MSGMAP* map = GetMessageMap();
    if (map && map->pCache)
        if (const zyn::afx::MsgMapIndex* index = zyn::afx::IndexOf(map)) {
            m_pDispatchType = type;
            m_pDispatchIndex = index;
            using zyn::afx::detail::WndDispatch;
            m_pDispatchVtable = WndDispatch::DispatchesAsCWnd(this) && !index->HasUnresolved()
                ? WndDispatch::VtableOf(this)
                : nullptr;
        }
    return zyn::afx::FindWindowMessageEntry(map, message);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Most messages take one look-up in the map and their handler.
    if (NeedsRouting(message)) [[unlikely]]
        return RouteWndMsg(this, GetMessageMap(), message, wParam, lParam, pResult);
    // The index of the object's class, as the object last found it while its type was the
    // same (a registered message unknown when the index was built is looked up afresh).
    const std::type_info* type = &typeid(*this);
    const AFX_MSGMAP_ENTRY* entry;
    if (type == m_pDispatchType && (message < 0xC000 || !m_pDispatchIndex->HasUnresolved())) [[likely]]
        entry = m_pDispatchIndex->FindWindowMessage(message);
    else
        entry = FindDispatchEntry(message, type);
    if (!entry)
        return FALSE;
    RunEntry(this, entry, message, wParam, lParam, pResult);
    return TRUE;
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const auto hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // A menu item or accelerator.
        if (nID == 0)
            return FALSE;
        // A command disabled since the menu was shown is not run.
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE; // notifications locked out (the window is being set up)
        // The control's own object may handle its notification.
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    const HWND hWndCtrl = pNMHDR->hwndFrom;
    const UINT nID = static_cast<WORD>(::GetDlgCtrlID(hWndCtrl));
    const int nCode = static_cast<int>(pNMHDR->code);
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE; // the control took it
    AFX_NOTIFY notify{pResult, pNMHDR};
    return OnCmdMsg(nID, MAKELONG(static_cast<WORD>(nCode), WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (!pWnd)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->LastSentMsg();
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT local = 0;
    if (!pResult)
        pResult = &local;
    switch (uMsg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        // Through the message map as WM_REFLECT_BASE + the message.
        return CWnd::OnWndMsg(WM_REFLECT_BASE + uMsg, wParam, lParam, pResult);
    case WM_COMMAND: {
        const WORD nCode = HIWORD(wParam);
        if (CWnd::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (!pNMHDR)
            return FALSE;
        AFX_NOTIFY notify{pResult, pNMHDR};
        return CWnd::OnCmdMsg(0, MAKELONG(static_cast<WORD>(pNMHDR->code), WM_REFLECT_BASE + WM_NOTIFY), &notify,
            nullptr);
    }
    default:
        if (uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl{m_hWnd, reinterpret_cast<HDC>(wParam), uMsg - WM_CTLCOLORMSGBOX};
            *pResult = 0;
            const BOOL bResult =
                CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
            // A null brush means the control leaves the colours to its parent.
            return bResult && *pResult != 0;
        }
        return FALSE;
    }
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    if ((m_nFlags & WF_TOOLTIPS) && g_toolTipHooks.filterMessage)
        g_toolTipHooks.filterMessage(pMsg, this);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        }
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::IsFrameWnd() const { return FALSE; }

BOOL CWnd::CheckAutoCenter() { return TRUE; }

void CWnd::OnNcDestroy()
{
    if (CWinThread* thread = AfxGetThread()) {
        if (thread->m_pMainWnd == this) {
            // The main window is gone: the thread's loop ends.
            ::PostQuitMessage(0);
            thread->m_pMainWnd = nullptr;
        }
        if (thread->m_pActiveWnd == this)
            thread->m_pActiveWnd = nullptr;
    }
    if (m_pDropTarget) {
        if (g_revokeDropTarget)
            g_revokeDropTarget(m_pDropTarget);
        m_pDropTarget = nullptr;
    }
    if ((m_nFlags & WF_TOOLTIPS) && g_toolTipHooks.cancel)
        g_toolTipHooks.cancel(FALSE);
    // The default processing, then the previous procedure back, then detach.
    const auto procBefore = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
    Default();
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == procBefore) {
        if (const WNDPROC super = *GetSuperWndProcAddr())
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    }
    zyn::afx::detail::ForgetSuperProc(m_hWnd);
    Detach();
    PostNcDestroy();
}

// ---- hooks for the layers above ---------------------------------------------------------------------------------------

void zyn::afx::SetToolTipHooks(const ToolTipHooks& hooks) { g_toolTipHooks = hooks; }
const zyn::afx::ToolTipHooks& zyn::afx::GetToolTipHooks() { return g_toolTipHooks; }
void zyn::afx::SetDropTargetRevoker(void (*revoke)(COleDropTarget*)) { g_revokeDropTarget = revoke; }
