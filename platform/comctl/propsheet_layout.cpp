// The property sheet's geometry: the page size from the pages' templates, the tab control
// around it, the row of buttons and the sheet's own size and place (rules in prsht.h).
#include <algorithm>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/tchar.h"
#include "platform/comctl/propsheet_state.h"
#include "platform/comctl/tabctrl.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/msgbox.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

// Dialog units of the sheet's font to pixels.
struct Units {
    int bx = 8, by = 16;
    int X(int v) const { return MulDiv(v, bx, 4); }
    int Y(int v) const { return MulDiv(v, by, 8); }
};

Units UnitsOf(HWND sheet)
{
    RECT r{0, 0, 4, 8};
    Units u;
    if (MapDialogRect(sheet, &r)) {
        u.bx = r.right;
        u.by = r.bottom;
    }
    return u;
}

void Place(HWND h, int x, int y, int cx, int cy)
{
    if (h)
        SetWindowPos(h, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Item(const SheetState& st, int id)
{
    const DWORD saved = GetLastError();
    const HWND h = GetDlgItem(st.self, id);
    SetLastError(saved);
    return h;
}

// The tab control's size around a page of `page`, with its rows counted at its width.
SIZE TabSizeAround(HWND tab, SIZE page)
{
    RECT r{0, 0, page.cx, page.cy};
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    const int width = r.right - r.left;
    // The rows depend on the width: size it first, then ask again.
    RECT now{};
    GetWindowRect(tab, &now);
    SetWindowPos(tab, nullptr, 0, 0, width, std::max<int>(now.bottom - now.top, 1),
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    r = RECT{0, 0, page.cx, page.cy};
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return SIZE{width, r.bottom - r.top};
}

// The buttons of the row from left to right; a null entry between them is a gap, and
// buttons without a gap stand side by side (Back and Next).
std::vector<HWND> ButtonRow(const SheetState& st)
{
    std::vector<HWND> row;
    auto add = [&](int id) {
        if (HWND h = Item(st, id))
            row.push_back(h);
    };
    auto gap = [&] {
        if (!row.empty() && row.back())
            row.push_back(nullptr);
    };
    if (st.wizard) {
        add(IDC_PS_WIZBACK);
        add(IDC_PS_WIZNEXT);
        if (st.flags & PSH_WIZARDHASFINISH) {
            gap();
            add(IDC_PS_WIZFINISH);
        }
    } else {
        add(IDOK);
    }
    gap();
    add(IDCANCEL);
    if (!st.wizard) {
        gap();
        add(IDC_PS_APPLYNOW);
    }
    gap();
    add(IDHELP);
    if (!row.empty() && !row.back())
        row.pop_back();
    return row;
}

void CentreTopLevel(const SheetState& st)
{
    RECT wr{};
    GetWindowRect(st.self, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT over = work;
    const HWND owner = GetWindow(st.self, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &over);
    int x = over.left + ((over.right - over.left) - w) / 2;
    int y = over.top + ((over.bottom - over.top) - h) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    SetWindowPos(st.self, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The width the row of buttons needs.
int RowWidth(const std::vector<HWND>& row, const Units& u)
{
    int w = 0;
    for (HWND h : row)
        w += h ? u.X(50) : u.X(4);
    return w;
}

} // namespace

void LayoutSheet(SheetState& st)
{
    const Units u = UnitsOf(st.self);
    SIZE page{0, 0};
    for (int i = 0; i < st.Count(); ++i) {
        if (auto p = st.Page(i)) {
            page.cx = std::max<LONG>(page.cx, u.X(p->cx));
            page.cy = std::max<LONG>(page.cy, u.Y(p->cy));
        }
    }
    st.pageSize = page;
    const int mx = st.child ? 0 : u.X(7), my = st.child ? 0 : u.Y(7);
    const std::vector<HWND> row = st.child ? std::vector<HWND>{} : ButtonRow(st);
    const int rowWidth = RowWidth(row, u);
    int right, bottom;
    if (st.wizard || !st.tab) {
        if (st.tab)
            ShowWindow(st.tab, SW_HIDE);
        // A button row wider than the page widens the page's place.
        const int w = std::max<int>(page.cx, rowWidth);
        st.pageRect = RECT{mx, my, mx + w, my + page.cy};
        right = mx + w;
        bottom = my + page.cy;
    } else {
        SIZE tab = TabSizeAround(st.tab, page);
        if (tab.cx < rowWidth) {
            // The buttons need more room than the pages: the tab control widens with the
            // sheet (its rows counted again at that width).
            SetWindowPos(st.tab, nullptr, 0, 0, rowWidth, tab.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RECT d{0, 0, rowWidth, tab.cy};
            SendMessageW(st.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
            RECT back{0, 0, d.right - d.left, page.cy};
            SendMessageW(st.tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&back));
            tab = SIZE{rowWidth, back.bottom - back.top};
        }
        Place(st.tab, mx, my, tab.cx, tab.cy);
        RECT d{0, 0, tab.cx, tab.cy};
        SendMessageW(st.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
        OffsetRect(&d, mx, my);
        st.pageRect = d;
        right = mx + tab.cx;
        bottom = my + tab.cy;
    }

    int clientW = right, clientH = bottom;
    if (!st.child) {
        const int bw = u.X(50), bh = u.Y(14), gap = u.X(4);
        const int top = bottom + u.Y(7);
        int x = right;
        for (auto it = row.rbegin(); it != row.rend(); ++it) {
            if (!*it) {
                x -= gap;
                continue;
            }
            x -= bw;
            Place(*it, x, top, bw, bh);
        }
        // Finish shares Next's place unless it has a slot of its own.
        if (st.wizard && !(st.flags & PSH_WIZARDHASFINISH)) {
            RECT next{};
            if (HWND n = Item(st, IDC_PS_WIZNEXT); n && GetWindowRect(n, &next)) {
                MapWindowPoints(nullptr, st.self, reinterpret_cast<POINT*>(&next), 2);
                Place(Item(st, IDC_PS_WIZFINISH), next.left, next.top, bw, bh);
            }
        }
        clientW = right + mx;
        clientH = row.empty() ? bottom + my : top + bh + my;
    }

    RECT w{0, 0, clientW, clientH};
    AdjustWindowRectEx(&w, static_cast<DWORD>(GetWindowLongPtrW(st.self, GWL_STYLE)), FALSE,
        static_cast<DWORD>(GetWindowLongPtrW(st.self, GWL_EXSTYLE)));
    SetWindowPos(st.self, nullptr, 0, 0, w.right - w.left, w.bottom - w.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!st.child)
        CentreTopLevel(st);
}

RECT CurrentPageRect(const SheetState& st)
{
    if (st.wizard || !st.tab || !IsWindow(st.tab))
        return st.pageRect;
    RECT r{};
    GetWindowRect(st.tab, &r);
    MapWindowPoints(nullptr, st.self, reinterpret_cast<POINT*>(&r), 2);
    SendMessageW(st.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

} // namespace zyn::comctl::detail
