#pragma once
// The window record, the class record and the tree, shared by the window system's files.
//
// Locking: one recursive lock (LockUser) guards every window's fields, the tree, the class
// lists and the process-wide input state (foreground, capture, cursor). It is never held
// while a window procedure, a hook or a timer procedure runs, nor while a thread waits on
// its queue; queue locks (ThreadQueue::m) are taken after it, never before.
//
// Coordinates: rcWindow and rcClient are screen coordinates; the update region is kept
// in window coordinates (origin at rcWindow's top-left), so it moves with the window.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/handle_table.h"
#include "platform/base/wintypes.h"
#include "platform/gdi/region.h"
#include "platform/user/user_hooks.h"
#include "platform/user/user_types.h"

namespace zyn::user {

using gdi::Region;

std::recursive_mutex& UserMutex();
inline std::unique_lock<std::recursive_mutex> LockUser() { return std::unique_lock<std::recursive_mutex>(UserMutex()); }

struct WndClass {
    std::wstring name;
    ATOM atom = 0;
    HINSTANCE module = nullptr;
    bool system = false;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HICON icon = nullptr;
    HICON iconSm = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::wstring menuName;         // a string menu name
    uintptr_t menuId = 0;          // or an integer resource ID
    std::vector<BYTE> extraBytes;  // cbClsExtra
    int windows = 0;               // live windows of the class
    bool unregistered = false;
};

// Per-window state of a standard control or dialog (platform/user/control_common.h). The
// window owns it: it is freed with the window, even when a test reset frees windows
// without messages, so state holding GDI objects cannot leak.
struct ControlState;

struct WndProp {
    std::wstring name; // empty for an atom
    ATOM atom = 0;
    HANDLE data = nullptr;
};

struct Window {
    HWND hwnd = nullptr;
    DWORD thread = 0;
    std::shared_ptr<WndClass> cls;
    // Written under LockUser; atomic so a message sent on the window's own thread reads it
    // under the handle table's lock alone.
    std::atomic<WNDPROC> proc{nullptr};
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;               // child windows
    HMENU menu = nullptr;          // top-level windows
    HMENU sysMenu = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::wstring text;
    Window* parent = nullptr;      // null only for the roots (desktop, message root)
    HWND owner = nullptr;          // set through SetOwner
    std::vector<HWND> owned;       // the windows whose owner this is, in no order
    std::vector<std::shared_ptr<Window>> children; // z-order, topmost first
    RECT rcWindow{};
    RECT rcClient{};
    std::vector<BYTE> extra;
    std::vector<WndProp> props;
    std::shared_ptr<ControlState> controlState;

    // painting
    Region update;                 // window coordinates
    bool eraseNeeded = false;      // WM_ERASEBKGND still owed for the update region
    bool ncPaintNeeded = false;    // WM_NCPAINT still owed
    bool internalPaint = false;
    bool redrawOff = false;        // WM_SETREDRAW FALSE
    bool inPaint = false;          // between BeginPaint and EndPaint

    // placement and state
    RECT rcNormal{};               // restored rectangle, parent client coordinates
    POINT ptMin{-1, -1};
    POINT ptMax{-1, -1};
    bool restoreToMaximized = false;
    bool ncActive = false;         // caption drawn active
    ScrollBarState scroll[2];      // SB_HORZ, SB_VERT
    ScrollPart scrollPressed[2] = {ScrollPart::None, ScrollPart::None};
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    HDC ownDc = nullptr;           // CS_OWNDC
    struct DcOut {
        HDC dc;
        HRGN rgn;                  // the region GetDCEx took ownership of, freed with the DC
    };
    std::vector<DcOut> dcs;        // DCs handed out by GetDC/GetDCEx and not released
    uint64_t dcsHandedOut = 0;     // every DC GetDCEx gave for this window, counted
    int hotCaptionButton = 0;      // HT code of a pressed caption button being tracked

    // Read without the lock by any thread (IsWindow), so atomic.
    std::atomic<bool> destroying{false};
    std::atomic<bool> dead{false}; // freed: every call fails
    bool created = false;          // WM_CREATE answered
    // WM_SIZE and WM_MOVE still owed: a window created hidden learns its geometry when it
    // is first shown (or when DefWindowProc reports a size change before that).
    bool sendSizeMove = false;
    // Hidden because its owner was minimised or ShowOwnedPopups(FALSE) hid it: only such
    // windows come back when the owner is restored or ShowOwnedPopups(TRUE) is called.
    bool hiddenByOwner = false;
    bool isDesktop = false;
    bool isMessageRoot = false;
    // Where this window last stood among its parent's children: checked before use, so a
    // stale value costs only the scan it would have saved (sibling walks stay linear).
    // 32 bits: it fits the padding after the flags, so the window grows by nothing.
    mutable std::atomic<uint32_t> indexHint{0};

    bool IsChild() const { return (style & 0x40000000u) != 0; }
    bool Visible() const { return (style & 0x10000000u) != 0; }
    int Width() const { return rcWindow.right - rcWindow.left; }
    int Height() const { return rcWindow.bottom - rcWindow.top; }
};

// Every Add and Remove is made with LockUser held (see PeekLockedWnd). Used only inside
// the window system, so called directly (not through the library's symbol table).
[[gnu::visibility("hidden")]] base::HandleTable<Window>& WindowTable();

// The window of a live handle, or null with ERROR_INVALID_WINDOW_HANDLE.
std::shared_ptr<Window> GetWnd(HWND h);
// Same, without touching the last error.
std::shared_ptr<Window> PeekWnd(HWND h);
// How many windows were freed so far (their handles went stale): a list of handles checked
// at one count holds no stale handle while the count stays.
uint64_t WindowsFreed();
// The window of a live handle for a caller that holds LockUser, without taking a
// reference or the table's lock: the table changes only under LockUser, so a window found
// in it cannot be freed before the lock is released. For the queries asked by the
// thousand (styles, text, class, tree walks). Null for stale, dead or foreign handles;
// GetLockedWnd also sets ERROR_INVALID_WINDOW_HANDLE.
[[gnu::visibility("hidden")]] Window* PeekLockedWnd(HWND h);
[[gnu::visibility("hidden")]] Window* GetLockedWnd(HWND h);
// The desktop window (created on first use) and the root of message-only windows.
std::shared_ptr<Window> DesktopWnd();
std::shared_ptr<Window> MessageRoot();
// Whether the window system has been used since the last reset.
bool WindowSystemTouched();
void TouchWindowSystem();

// ---- tree helpers (call with LockUser held) -------------------------------------------------------------
// True when `a` is `b` or one of its ancestors.
bool IsAncestorOf(const Window* a, const Window* b);
// The top-level ancestor (child of the desktop or message root), or the window itself.
Window* TopLevelOf(Window* w);
// Index of a window among its siblings.
size_t IndexInParent(const Window* w);
std::shared_ptr<Window> SharedOf(const Window* w);
void Unlink(Window* w);
// Links under `parent` after `after` (null: at the top; HWND_BOTTOM: at the bottom),
// respecting the topmost band for top-level windows.
void LinkWindow(const std::shared_ptr<Window>& w, Window* parent, HWND after);
// Gives a window a new owner (null: none), keeping both owners' lists of owned windows.
void SetOwner(Window& w, HWND owner);
// Shows or hides the effect of WS_VISIBLE up the chain.
bool IsReallyVisible(const Window* w);
// Every descendant, depth first, parents before children.
void CollectDescendants(Window* w, std::vector<std::shared_ptr<Window>>& out);
// Moves a window's rectangles and every descendant's by (dx, dy) in screen coordinates.
void OffsetTree(Window* w, int dx, int dy);
// The screen position of the origin of `parent`'s client area (0,0 for the roots).
POINT ClientOrigin(const Window* parent);

// The top-level window of a window (itself for top-level windows).
HWND TopLevelHandle(HWND hwnd);
// The cursor the frame shows over a hit-test code (null: none known).
HCURSOR SystemCursorForHitTest(int ht);
// Window under a screen point: visible, enabled children preferred; with `sendHitTest`
// windows of the calling thread answering HTTRANSPARENT are looked through.
HWND WindowFromPointImpl(POINT screen, bool sendHitTest, int* hitTest);

// Frees a thread's windows without messages (the thread ended) / every window (tests).
void DestroyThreadWindows(DWORD threadId);
void DestroyAllWindowsSilently();

// ---- messages -----------------------------------------------------------------------------------------------
// Calls the window's procedure on the calling thread (or sends across threads).
LRESULT SendMsg(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// Calls a procedure for a window on this thread with hooks and the current-message state.
// `sent`: the message was sent (the WH_CALLWNDPROC hooks see it), by another thread when
// `fromOtherThread`.
LRESULT CallProcFor(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wp, LPARAM lp, bool sent, bool fromOtherThread = false);

// ---- geometry (winpos.cpp) ---------------------------------------------------------------------------------
// The client rectangle the default frame leaves inside `window` (same coordinates).
RECT DefaultClientRect(const Window& w, const RECT& window);
// Frame thickness of a style across (cx) and down (cy), from the system metrics of its
// kind of frame (thick, dialog, border); the caption and menu not counted.
SIZE FrameSize(DWORD style, DWORD exStyle);
bool SetWindowPosImpl(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags);
// Puts a window being created with WS_MINIMIZE or WS_MAXIMIZE into that state while it is
// still hidden: HCBT_MINMAX, then one repositioning with SWP_STATECHANGED and
// SWP_NOACTIVATE (showing it is the creation's next step). False when the hook refused.
bool ApplyCreationMinMax(HWND hwnd, int cmd);
// The limits WM_GETMINMAXINFO offers a window before it answers: maximised, it fills its
// parent's client area (a child) or the work area (a top-level window) with its frame just
// outside; the tracking sizes come from the system metrics.
MINMAXINFO DefaultMinMaxInfo(HWND hwnd);
// Sends the WM_SIZE and WM_MOVE a window still owes from its creation.
void SendOwedSizeMove(HWND hwnd);

// ---- the non-client area (nonclient.cpp) -------------------------------------------------------------------
// DefWindowProc's answers.
LRESULT NcHitTest(HWND hwnd, POINT screen);
// Paints the frame into a window DC (whole window, window coordinates); `clipScreen`
// restricts it (null: all of it).
void NcPaint(HWND hwnd, const Region* clipScreen);
// Paints the frame into any DC whose origin is the window's top-left (WM_PRINT).
void NcDrawInto(HWND hwnd, HDC hdc);
// The rectangles of the parts of a window's frame, in window coordinates.
struct NcLayout {
    RECT window{};          // (0, 0, width, height)
    RECT client{};
    RECT caption{};         // empty when no caption
    RECT sysButton{}, minButton{}, maxButton{}, closeButton{}, helpButton{};
    RECT menuBar{};
    RECT hScroll{}, vScroll{}, sizeBox{};
    SIZE frame{};           // outer frame thickness across and down
    int edge = 0;           // client or static edge thickness
};
NcLayout ComputeNcLayout(HWND hwnd);
// Tracks a caption button pressed at `ht` until release; true when released over it.
bool TrackCaptionButton(HWND hwnd, int ht);
// The move/size loop of WM_SYSCOMMAND SC_MOVE / SC_SIZE.
void MoveSizeLoop(HWND hwnd, WPARAM command, POINT screenStart);

// ---- painting (paint.cpp) --------------------------------------------------------------------------------------
// Visible region of a window in screen coordinates (client area or whole window); with
// `bound`, only its part inside that rectangle (the same as intersecting afterwards, but
// windows clear of the rectangle are never looked at twice).
Region VisibleRegion(const Window* w, bool client, bool clipChildren, bool clipSiblings, const RECT* bound = nullptr);
// Adds (screen coordinates) to the update regions of the window and, where the flags say, its
// descendants; RDW_* semantics.
void InvalidateScreenRegion(Window* w, const Region& screenRgn, UINT flags);
// After a window moved, hid or showed: repaint what is exposed on the screen.
void InvalidateExposed(const Region& screenRgn, Window* except);
// Paints the desktop's background (COLOR_BACKGROUND) into a region of the screen.
void FillDesktop(const Region& screenRgn);
// Releases the DCs a dying window still has out.
void ReleaseWindowDcs(Window& w);
// Whether any window of the thread needs WM_PAINT; gives the first in z/tree order.
HWND FindPaintWindow(DWORD thread, HWND filter);
// Paints the window's frame now if it is owed (WM_NCPAINT), then erases if owed.
void SendNcPaintAndErase(HWND hwnd, bool erase);
// A window erased its background over `screenRgn` with a DC that does not leave out its
// children (no WS_CLIPCHILDREN): the descendants under it are owed that part again, frame
// and client, whether or not they had painted it already (a child may have painted before
// its parent's erase came round again).
void BackgroundErased(Window* w, const Region& screenRgn);
// WM_PRINTCLIENT's default: WM_PAINT with BeginPaint handing out `hdc` (no validation).
void PaintIntoDc(HWND hwnd, HDC hdc);

// Sends WM_NCPAINT / WM_ERASEBKGND now to those of `affected` that belong to the calling
// thread and still owe them (RDW_ERASENOW over the windows a positioning affected), in
// the tree's order.
void ErasePendingNow(const std::vector<HWND>& affected);
// Mark a window as owing WM_ERASEBKGND / WM_NCPAINT (LockUser held); set the flags through
// these only. While RecordOwed has named a list (a positioning being applied), each
// window marked is added to it: the windows the positioning affected.
void OweErase(Window& w);
void OweNcPaint(Window& w);
void RecordOwed(std::vector<HWND>* into);

// ---- input state (focus.cpp) ------------------------------------------------------------------------------------
// Called when a window is hidden or destroyed: moves capture, activation and focus off
// it. An active window is deactivated first, and the focus follows the activation into
// the window activated next (its WM_ACTIVATE sets it); what is left then goes to the
// parent of a child or to nobody.
void WindowGoingAway(HWND hwnd, bool destroying);
// Activates a top-level window of the calling thread (WM_NCACTIVATE, WM_ACTIVATE,
// WM_ACTIVATEAPP, focus). `raise`: bring it to the top of the z-order too.
bool ActivateWindowImpl(HWND hwnd, WORD how, bool raise);
// Activates the window that takes over from `going` (its owner, else the thread's topmost
// usable top-level window), without raising it; false when there is none.
bool ActivateNextWindow(HWND going);

// Queues a mouse move at the cursor where it is, for the window now under it (a window
// that came under the cursor or went from under it learns so without the mouse moving).
void SynthesizeMouseMove();

// Resets of the process-wide state of each part (tests).
void ResetInputState();
void ResetClipboard();
// Called as a window is destroyed: renders delayed clipboard formats it owns.
void ClipboardOwnerGoingAway(HWND hwnd);
void ResetModalState();

// Internal messages handled by the window system before the window procedure sees them.
inline constexpr UINT kInternalFirst = 0x03F0;
inline constexpr UINT kMsgActivateFromOtherThread = 0x03F0;
inline constexpr UINT kMsgDestroyFromOtherThread = 0x03F1;
inline constexpr UINT kMsgShowFromOtherThread = 0x03F2;
inline constexpr UINT kInternalLast = 0x03FF;

} // namespace zyn::user
