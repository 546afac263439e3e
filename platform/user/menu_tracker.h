#pragma once
// The menu tracking loop: one object per TrackPopupMenu call or menu-bar session, alive
// for the length of the loop on the thread that tracks.
//
// State: a stack of levels. In a menu-bar session level 0 is the bar itself (its
// highlighted item is the hot one, or kSysEntry for the window's system menu); in a
// tracked popup level 0 is that popup. Every deeper level is an open popup with its view
// and "#32768" window, opened from the highlighted item of the level above. Each level
// remembers its highlighted item; WM_MENUSELECT reports every change.
//
// Flow: Run() sends the opening notifications, opens the first popup (or highlights the
// bar item), takes the capture and runs the modal loop. The loop hands each message to
// EndsBefore() before taking it (a click outside every popup ends the menu and stays
// queued) and then to OnMessage(), which routes mouse and keys (menu_tracker_input.cpp)
// to opening and closing levels, moving the highlight and choosing an item. Finish()
// sends the closing notifications, closes every popup and reports the choice.
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/menu_internal.h"
#include "platform/user/menu_popup.h"
#include "platform/user/user_types.h"

namespace zyn::user::detail {

enum class TrackMode { Popup, Bar };

struct TrackRequest {
    TrackMode mode = TrackMode::Popup;
    HWND owner = nullptr;
    UINT flags = 0;             // TPM_*
    HMENU menu = nullptr;       // Popup: the menu tracked
    POINT pt{};                 // Popup: the point; Bar: SC_MOUSEMENU's screen point
    std::optional<RECT> exclude;
    WPARAM barCommand = 0;      // Bar: SC_KEYMENU or SC_MOUSEMENU (| HTSYSMENU)
    wchar_t barChar = 0;        // Bar: SC_KEYMENU's character (0: Alt or F10 alone)
};

struct TrackResult {
    bool shown = false;         // the loop ran (false: nothing to show)
    bool chosen = false;
    UINT id = 0;
};

class MenuTracker {
public:
    static constexpr int kSysEntry = -2;
    static constexpr size_t kNoParent = static_cast<size_t>(-1);

    explicit MenuTracker(const TrackRequest& req);
    MenuTracker(const MenuTracker&) = delete;
    MenuTracker& operator=(const MenuTracker&) = delete;
    ~MenuTracker();

    TrackResult Run();
    // Ends the loop as a cancel (EndMenu, WM_CANCELMODE).
    void Cancel() { m_ended = true; }
    std::vector<HWND> Windows() const;
    // The open popup showing `menu`, if any.
    std::shared_ptr<PopupView> ViewOf(HMENU menu) const;
    HWND Owner() const { return m_owner; }
    // A nested tracking (TPM_RECURSE) takes the capture for its own time.
    void Suspend() { m_suspended = true; }
    void Resume();

private:
    struct Level {
        HMENU menu = nullptr;
        bool bar = false;                  // the menu bar (level 0 of a bar session)
        bool sys = false;                  // the window's system menu
        std::shared_ptr<PopupView> view;   // popup levels
        int selected = -1;
        bool openedLeft = false;
    };
    struct Hit {
        bool inside = false;  // on a popup window, the bar or the system-menu button
        size_t level = 0;
        int item = -1;        // -1: no item there
        int band = 0;         // -1 / +1: on a scroll band
        bool bar = false;
    };
    struct Choice {
        HMENU menu = nullptr;
        int pos = -1;
        UINT id = 0;
        bool sys = false;
    };

    // ---- notifications and structure (menu_tracker.cpp) ----
    bool Notify() const;
    LRESULT Send(UINT msg, WPARAM wp, LPARAM lp);
    bool StartPopup(std::shared_ptr<PopupView> made);
    bool PrepareBar();
    bool StartBar();
    void LoopUntilEnded();
    TrackResult Finish();
    bool OpenFrom(size_t parent, int item, bool selectFirst);
    // The hidden "#32768" window of a popup about to open, owned by the owner; null when
    // it could not be made.
    std::shared_ptr<PopupView> MakePopupWindow(HMENU menu, bool sys);
    // Lays the popup out, places and shows it (in `made`, a window made beforehand, or in
    // a new one); false when there is nothing to show.
    bool ShowLevel(HMENU menu, bool sys, size_t parent, int item, bool selectFirst,
        std::shared_ptr<PopupView> made = nullptr);
    void DropPopupWindow(const std::shared_ptr<PopupView>& view);
    // The window WM_ENTERIDLE names: the innermost open popup, else the owner (a bar alone).
    HWND IdleWindow() const;
    void CloseFrom(size_t level);
    void Select(size_t level, int item, bool mouse);
    void Announce(size_t level, bool mouse);
    void Execute(size_t level, int item);
    void RedrawItem(size_t level, int item);
    void RedrawBar();
    void SetBarHilite(int item, bool on);
    std::optional<MenuItemData> Item(size_t level, int item) const;
    int ItemCount(size_t level) const;
    bool Selectable(size_t level, int item) const;
    int NextSelectable(size_t level, int from, int dir) const;
    bool OpensPopup(size_t level, int item) const;
    std::vector<int> BarEntries() const;
    RECT EntryScreenRect(int entry) const;
    size_t FirstPopupLevel() const { return m_mode == TrackMode::Bar ? 1 : 0; }
    size_t Deepest() const { return m_levels.size() - 1; }
    void EnsureVisible(size_t level, int item);
    void ScrollBy(size_t level, int steps);
    void KillTimers(size_t level);

    // ---- input (menu_tracker_input.cpp) ----
public:
    bool EndsBefore(const MSG& m);
    bool OnMessage(MSG& m);
    void OnTimer(HWND hwnd, UINT_PTR id);

private:
    Hit HitTest(POINT screen) const;
    void OnMouseMove(POINT pt);
    void OnButtonDown(POINT pt, bool accepted);
    void OnButtonUp(POINT pt, bool accepted);
    void OnWheel(POINT pt, int delta);
    void OnKeyDown(MSG& m);
    void OnChar(wchar_t ch);
    void MoveOnBar(int dir, bool open);
    void MenuChar(wchar_t ch, size_t level);
    void Choose(size_t level, int item, bool selectFirst);

    HWND m_owner = nullptr;
    UINT m_flags = 0;
    TrackMode m_mode = TrackMode::Popup;
    TrackRequest m_req;
    HMENU m_barMenu = nullptr;
    HMENU m_sysMenu = nullptr;
    std::vector<Level> m_levels;
    bool m_ended = false;
    bool m_suspended = false;
    std::optional<Choice> m_choice;
    HWND m_capture = nullptr;
    bool m_buttonDown = false;       // an accepted button went down in the menu and is still down
    bool m_mouseEngaged = false;     // the mouse has picked an item: a release can choose
    // A message since the last WM_ENTERIDLE; opening the menu (and painting it) counts.
    bool m_processed = true;
    // The item whose submenu opens when the hover timer fires.
    size_t m_hoverLevel = 0;
    int m_hoverItem = -1;
    int m_scrollDir = 0;
    size_t m_scrollLevel = 0;
    int m_startEntry = -1;           // the bar entry a menu-bar session starts on
    bool m_started = false;          // the thread state is ours until Finish
    HMENU m_prevTracked = nullptr;
    HWND m_prevTrackedWnd = nullptr;
    DWORD m_prevMode = 0;
};

// Runs one tracking on the calling thread (nested ones only under TPM_RECURSE).
TrackResult RunMenuTracking(const TrackRequest& req);
// The innermost tracking of this thread, or null.
MenuTracker* CurrentMenuTracker();
// The open popup of this thread showing `menu`, for `hwnd` its owner, its window or null.
std::shared_ptr<PopupView> FindOpenPopupView(HWND hwnd, HMENU menu);
// The menu-bar session of WM_SYSCOMMAND SC_KEYMENU / SC_MOUSEMENU (the menu-bar hook).
void TrackMenuBar(HWND hwnd, WPARAM command, LPARAM lParam);

// Timer IDs on popup windows.
inline constexpr UINT_PTR kOpenSubmenuTimer = 1;
inline constexpr UINT_PTR kScrollTimer = 2;
inline constexpr UINT kScrollInterval = 100;

} // namespace zyn::user::detail
