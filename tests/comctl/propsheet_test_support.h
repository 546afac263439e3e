#pragma once
// Fixture of the property-sheet tests: scripted mode on the virtual clock, pages whose
// dialog procedure records what they are told ("One:init", "Two:setactive"...) and answers
// PSN_ codes as a case scripts them, measures of the sheet's font taken with the drawing
// layer alone (so expected geometry is worked out independently of the sheet), and a
// check that no page handle is left behind besides the common-control fixture's checks.
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/comctl/prsht.h"
#include "platform/user/modal.h"
#include "tests/comctl/comctl_test_support.h"
#include "tests/comctl/propsheet_test_ids.h"

namespace zyn::test {

class PropSheetTest : public ComctlTest {
public:
    // What the pages were told, in order: "<page>:<event>" (init, setactive, killactive,
    // apply, apply-ok, reset, help, querycancel, wizback, wiznext, wizfinish, destroy).
    static inline std::vector<std::wstring> log;
    // The answer a page gives to a code (0 when not listed).
    static inline std::map<std::pair<std::wstring, UINT>, LRESULT> answers;
    // Called after a page logged a notification (may act on the sheet).
    static inline std::function<void(HWND page, const std::wstring& name, UINT code)> onNotify;
    // Called when a page logged its WM_INITDIALOG.
    static inline std::function<void(HWND page, const std::wstring& name)> onInit;

    static INT_PTR PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static std::wstring NameOf(HWND page);
    static HWND Current(HWND sheet)
    {
        return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static HWND Tab(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0)); }

protected:
    void SetUp() override;
    void TearDown() override;

    // A page of the test resources named `name` (a literal: it is the page's lParam).
    static PROPSHEETPAGEW Page(WORD id, const wchar_t* name, DWORD flags = 0);
    // A header over `pages` (PSH_PROPSHEETPAGE is added).
    static PROPSHEETHEADERW Header(std::vector<PROPSHEETPAGEW>& pages, DWORD flags = 0, HWND parent = nullptr);
    // A modeless sheet of the pages One, Two and Three (and more when given).
    HWND MakeModeless(DWORD flags = 0, std::vector<PROPSHEETPAGEW> pages = {});

    // Runs the queue, each message offered to the sheet's PSM_ISDIALOGMESSAGE first (a
    // modeless sheet's loop), or to the dialog manager of `dialog` (the parent of a child
    // sheet).
    static void PumpSheet(HWND sheet);
    static void PumpDialog(HWND dialog);
    // Key presses with modifiers, each followed by a pump through the sheet.
    static void Key(HWND sheet, int vk, bool ctrl = false, bool shift = false);
    // A click at the centre of a window, or of a client rectangle of it.
    static void ClickOn(HWND hwnd);
    static void ClickTab(HWND sheet, int index);

    static HWND Item(HWND dlg, int id);
    static int FocusId();
    // A window's rectangle in another window's client coordinates.
    static RECT RectIn(HWND child, HWND parent);
    static std::vector<std::wstring> TakeLog();

    // The dialog base units of 8 point "MS Shell Dlg", measured with GDI: x from the 52
    // Latin letters, y the text height.
    static SIZE ShellDlgUnits();
};

// A classic in-memory template of a page without controls.
std::vector<uint16_t> SimplePageTemplate(short cx, short cy, const std::wstring& caption);

} // namespace zyn::test
