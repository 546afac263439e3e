#pragma once
// The property sheet's state and the pieces its files share (internal to platform/comctl).
//
// A page handle (HPROPSHEETPAGE) is a slot of a handle table holding a PropPage: the
// caller's PROPSHEETPAGE copied with the strings it names, the page's template read and
// checked once (its size in dialog units, its caption, the bytes a page window is made
// from), the page's window once made, and the sheet that holds it. A sheet's state lives
// in a table keyed by the sheet's window from its WM_INITDIALOG to its WM_DESTROY, and is
// held by a shared pointer for the length of each message, so a page that destroys the
// sheet while it handles a notification leaves the handler a valid object; handlers check
// IsWindow after every notification before they go on.
//
// The files: propsheet_page.cpp (handles, templates, making page windows),
// propsheet_layout.cpp (the sheet's template and the geometry), propsheet_nav.cpp (changing
// pages, applying, the buttons and keys), propsheet_sheet.cpp (PropertySheet, the dialog
// procedure and the PSM_ messages).
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/comctl/prsht.h"

namespace zyn::comctl::detail {

struct PropPage {
    std::vector<uint8_t> psp;     // the caller's structure, dwSize bytes (at least ours)
    std::wstring title;           // PSP_USETITLE's text (a copy, or the string loaded from its ID)
    std::wstring templateName;    // a named template (pszTemplate points into it)
    std::vector<uint8_t> tmpl;    // the template as a page window is made from it
    short cx = 0, cy = 0;         // its size in dialog units
    std::wstring caption;         // its caption (the tab text without PSP_USETITLE)
    WORD templateId = 0;          // its resource ID (0: named or in memory)
    HWND hwnd = nullptr;          // the page's window once made
    HWND sheet = nullptr;         // the sheet that owns the handle
    bool changed = false;         // PSM_CHANGED without PSM_UNCHANGED since the last apply
    bool creating = false;        // its window is being made

    PROPSHEETPAGEW& Psp() { return *reinterpret_cast<PROPSHEETPAGEW*>(psp.data()); }
    const PROPSHEETPAGEW& Psp() const { return *reinterpret_cast<const PROPSHEETPAGEW*>(psp.data()); }
    std::wstring TabText() const { return (Psp().dwFlags & PSP_USETITLE) ? title : caption; }
};

// ---- handles (propsheet_page.cpp) -----------------------------------------------------------------------------
std::shared_ptr<PropPage> PageOf(HPROPSHEETPAGE h);
// Makes the page's window (PSPCB_CREATE first): a hidden child of `sheet` at `rc`, above
// the tab control. False when the callback refused it or the dialog could not be made.
bool CreatePageWindow(PropPage& page, HWND sheet, const RECT& rc);
// The page whose window this thread is making (null when none).
PropPage* PageBeingCreated();
// Destroys the page's window (when made) and frees the handle (PSPCB_RELEASE).
void ReleasePage(HPROPSHEETPAGE h);

// ---- the sheet ------------------------------------------------------------------------------------------------
struct SheetState {
    HWND self = nullptr;
    HWND tab = nullptr;
    DWORD flags = 0;              // PSH_*
    HINSTANCE hInstance = nullptr;
    PFNPROPSHEETCALLBACK callback = nullptr;
    bool child = false;           // WS_CHILD: no buttons, no margins
    bool wizard = false;
    std::vector<HPROPSHEETPAGE> pages;
    int startPage = 0;
    int current = -1;
    bool ended = false;           // OK or Cancel closed it (modeless callers then destroy it)
    bool saved = false;           // a full apply succeeded
    INT_PTR restart = 0;          // ID_PSRESTARTWINDOWS / ID_PSREBOOTSYSTEM
    bool cancelToClose = false;
    DWORD wizButtons = PSWIZB_BACK | PSWIZB_NEXT;
    std::wstring caption;
    RECT pageRect{};              // where pages go, sheet client coordinates
    SIZE pageSize{};              // the largest page template, in pixels

    int Count() const { return static_cast<int>(pages.size()); }
    std::shared_ptr<PropPage> Page(int i) const
    {
        return i >= 0 && i < Count() ? PageOf(pages[static_cast<size_t>(i)]) : nullptr;
    }
    int IndexOfWindow(HWND h) const;
    int IndexOfHandle(HPROPSHEETPAGE h) const;
    // PropertySheet's result as it stands.
    INT_PTR Result() const { return saved ? (restart ? restart : 1) : 0; }
};

std::shared_ptr<SheetState> SheetOf(HWND sheet);
void SetSheet(HWND sheet, std::shared_ptr<SheetState> st);
void ForgetSheet(HWND sheet);

// ---- layout (propsheet_layout.cpp) ------------------------------------------------------------------------------
// Lays out the tab control, the buttons and the sheet from the pages' sizes and sets
// st.pageRect (see prsht.h).
void LayoutSheet(SheetState& st);
// Where a page goes now: the tab control's display area (it may have been resized since
// the layout), or the wizard's page rectangle.
RECT CurrentPageRect(const SheetState& st);

// ---- pages, buttons and keys (propsheet_nav.cpp) ---------------------------------------------------------------
// Sends a PSN_ code to a page's window; its answer.
LRESULT NotifyPage(const SheetState& st, HWND page, UINT code, LPARAM lParam = 0);
// Changes the active page to `index` (see prsht.h). `sendKill`: the active page is asked
// first. `dir`: where a wizard goes on when a page refuses (+1, -1). TRUE when `index`
// (or, in a wizard, a page after it) became active.
bool SetActivePage(SheetState& st, int index, bool sendKill, int dir = 1);
// The first page to activate when the sheet starts.
void ActivateStartPage(SheetState& st);
// OK (ok) or Apply Now: TRUE when every page applied.
bool ApplyAll(SheetState& st, bool ok);
// The sheet's commands (buttons); true when handled.
bool OnSheetCommand(SheetState& st, int id);
// The sheet's keys and the dialog manager's (PSM_ISDIALOGMESSAGE).
BOOL SheetDialogMessage(SheetState& st, MSG& msg, bool callFilter);
// Enables Apply Now, Help and the wizard buttons as the state says.
void UpdateButtons(SheetState& st);
// Ends the sheet (OK, Cancel, Finish).
void EndSheet(SheetState& st);

} // namespace zyn::comctl::detail
