#pragma once
// Fixture of the toolbar tests: a host window that records every WM_NOTIFY and WM_COMMAND
// it gets from a toolbar (in order) and answers notifications through `Answer()`, helpers
// to build buttons and image lists, and scripted mouse input on client points. Besides
// the common-control checks it fails a case that leaves a toolbar state or image list.
#include <functional>
#include <vector>

#include "platform/comctl/toolbar.h"
#include "platform/gdi/imagelist.h"
#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {

// One message the host received.
struct TbEvent {
    UINT msg;            // WM_NOTIFY or WM_COMMAND
    UINT code;           // the notification code, or HIWORD(wParam) of a command
    int item;            // NMTOOLBAR's iItem, NMMOUSE's dwItemSpec, a command's ID
    DWORD stage;         // NM_CUSTOMDRAW: dwDrawStage
    DWORD_PTR spec;      // NM_CUSTOMDRAW: dwItemSpec
    UINT itemState;      // NM_CUSTOMDRAW: uItemState
    NMTBHOTITEM hot;     // TBN_HOTITEMCHANGE
    POINT pt;            // NMMOUSE's point and hit information
    DWORD_PTR hitInfo;
};

class ToolbarTest : public ComctlTest {
public:
    static constexpr const wchar_t* kTbHostClass = L"TbHost";
    static inline std::vector<TbEvent> events;
    static inline std::function<LRESULT(NMHDR*)> answer;
    static inline std::vector<HWND> parents;
    static std::vector<TbEvent>& Events() { return events; }
    static auto& Answer() { return answer; }

    // A visible top-level host at (100, 100), 600 x 200 (destroyed at the end of the case).
    static HWND MakeParent(int cx = 600, int cy = 200);
    // A toolbar child at (0, 0) of the parent, cx x cy, with CCS_NORESIZE |
    // CCS_NOPARENTALIGN | CCS_NODIVIDER added unless `exact`.
    static HWND MakeToolbar(HWND parent, DWORD style, int cx = 500, int cy = 60, bool exact = false, UINT id = 7);
    static TBBUTTON Btn(int command, int image = 0, BYTE style = BTNS_BUTTON, BYTE state = TBSTATE_ENABLED,
        INT_PTR text = -1);
    static TBBUTTON Sep(int width = 0, int command = 0);
    static void Add(HWND tb, const std::vector<TBBUTTON>& buttons);
    // An image list of `count` images of cx x cy, image i filled with colours[i % n].
    static HIMAGELIST MakeImages(int count, const std::vector<COLORREF>& colours, int cx = 16, int cy = 15);
    static RECT ItemRect(HWND tb, int index);
    static LRESULT Send(HWND tb, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(tb, msg, wp, lp); }
    // Mouse input at a client point of a window.
    static void MouseTo(HWND h, int x, int y);
    static void Press(HWND h, int x, int y);
    static void Release(HWND h, int x, int y);
    static void Click(HWND h, int x, int y);
    // The colour of a client pixel of a window as on the screen now.
    static COLORREF Pixel(HWND h, int x, int y);
    // The codes received, without NM_CUSTOMDRAW (paints come and go).
    static std::vector<UINT> Codes(UINT msg = WM_NOTIFY);
    static std::vector<TbEvent> Only(UINT code);

protected:
    void SetUp() override;
    void TearDown() override;

private:
    size_t m_lists = 0;
};

} // namespace zyn::test
