#pragma once
// Fixture of the list-view and header tests: a host window that records every
// notification, WM_DRAWITEM, WM_MEASUREITEM and WM_CONTEXTMENU it gets (in order) and lets
// a case answer them, helpers for clicks and keys on the virtual clock, the line height of
// the control's default font measured independently of the control, and checks that no
// list view, header or image list is left behind.
#include <functional>
#include <string>
#include <vector>

#include "platform/comctl/commctrl.h"
#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {

// One message the host received from a control.
struct Event {
    UINT msg = 0;           // WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CONTEXTMENU
    UINT code = 0;          // the notification code
    HWND from = nullptr;
    int item = -1;          // iItem (NMLISTVIEW, NMITEMACTIVATE, NMHEADER), itemID, dwItemSpec
    int subItem = 0;
    UINT newState = 0, oldState = 0, changed = 0;
    POINT pt{};
    LPARAM lParam = 0;
    int width = -1;         // NMHEADER: pitem->cxy when pitem carries HDI_WIDTH
    DWORD stage = 0;        // NM_CUSTOMDRAW
    UINT itemState = 0;     // WM_DRAWITEM / custom draw
    RECT rc{};              // WM_DRAWITEM's rcItem / custom draw rc
    WORD vkey = 0;          // LVN_KEYDOWN
};

class ListViewTest : public ComctlTest {
public:
    static constexpr const wchar_t* kListHost = L"ListHost";
    static inline std::vector<Event> events;
    // Answers a notification (the default answer is 0).
    static inline std::function<LRESULT(NMHDR*)> onNotify;
    static inline std::function<void(DRAWITEMSTRUCT*)> onDrawItem;
    static inline std::function<void(MEASUREITEMSTRUCT*)> onMeasureItem;

protected:
    void SetUp() override;
    void TearDown() override;

    // A visible top-level host at (0,0) 640 x 480 with a list view child at (10,10).
    HWND MakeList(DWORD style, int cx = 300, int cy = 200, DWORD exStyle = 0);
    // Any child control of the host (ID 8).
    HWND MakeControl(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy);
    HWND Host() const { return m_host; }
    // Appends items with these texts (lParam = 100 + index).
    static void AddItems(HWND list, const std::vector<std::wstring>& texts);
    static void AddColumn(HWND list, int index, const wchar_t* text, int width, int fmt = LVCFMT_LEFT);
    static std::wstring TextOf(HWND list, int item, int subItem = 0);
    static std::vector<std::wstring> Texts(HWND list);
    static UINT StateOf(HWND list, int item, UINT mask = 0xFFFF);
    static RECT ItemRectOf(HWND list, int item, int code);
    static RECT SubItemRectOf(HWND list, int item, int subItem, int code);
    // A click at a client point of a window (keys held: VK_CONTROL / VK_SHIFT), pumped.
    static void ClickAt(HWND hwnd, int x, int y, std::vector<int> keys = {}, bool right = false);
    static void DoubleClickAt(HWND hwnd, int x, int y);
    static void Press(int vk, std::vector<int> keys = {});
    // Events of one message kind / notification codes only.
    static std::vector<Event> Only(std::initializer_list<UINT> codes);
    static std::vector<UINT> Codes();
    // The line height of the system icon-title font, which the list view uses by default.
    static int IconTitleLineHeight();
    static int IconTitleTextWidth(const std::wstring& text);
    // A masked image list of `count` solid images cx x cy (each filled with a colour).
    static HIMAGELIST MakeImages(int cx, int cy, int count, COLORREF colour = RGB(0, 128, 0));

private:
    HWND m_host = nullptr;
    size_t m_imageLists = 0;
};

} // namespace zyn::test
