#include "tests/comctl/listview_test_support.h"

#include <algorithm>

#include "platform/gdi/sysmetrics.h"

namespace zyn::test {

namespace {

void Record(HWND, NMHDR* hdr)
{
    Event e;
    e.msg = WM_NOTIFY;
    e.code = hdr->code;
    e.from = hdr->hwndFrom;
    wchar_t cls[32] = L"";
    GetClassNameW(hdr->hwndFrom, cls, 32);
    const bool header = std::wstring(cls) == WC_HEADERW;
    if (hdr->code == NM_CUSTOMDRAW) {
        auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(hdr);
        e.stage = cd->dwDrawStage;
        e.item = static_cast<int>(cd->dwItemSpec);
        e.itemState = cd->uItemState;
        e.rc = cd->rc;
        if (!header)
            e.subItem = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr)->iSubItem;
    } else if (header) {
        auto* nm = reinterpret_cast<NMHEADERW*>(hdr);
        if (hdr->code != HDN_GETDISPINFOW) {
            e.item = nm->iItem;
            if (nm->pitem && (nm->pitem->mask & HDI_WIDTH))
                e.width = nm->pitem->cxy;
        }
    } else if (hdr->code == LVN_KEYDOWN) {
        e.vkey = reinterpret_cast<NMLVKEYDOWN*>(hdr)->wVKey;
    } else if (hdr->code == LVN_GETDISPINFOW || hdr->code == LVN_BEGINLABELEDITW || hdr->code == LVN_ENDLABELEDITW) {
        auto* di = reinterpret_cast<NMLVDISPINFOW*>(hdr);
        e.item = di->item.iItem;
        e.subItem = di->item.iSubItem;
        e.changed = di->item.mask;
        e.lParam = di->item.lParam;
    } else if (hdr->code == LVN_GETINFOTIPW) {
        auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(hdr);
        e.item = tip->iItem;
    } else if (hdr->code == NM_CLICK || hdr->code == NM_DBLCLK || hdr->code == NM_RCLICK ||
               hdr->code == NM_RDBLCLK || hdr->code == LVN_ITEMACTIVATE) {
        auto* nm = reinterpret_cast<NMITEMACTIVATE*>(hdr);
        e.item = nm->iItem;
        e.subItem = nm->iSubItem;
        e.pt = nm->ptAction;
        e.lParam = nm->lParam;
        e.changed = nm->uKeyFlags;
    } else if (hdr->code == LVN_ODCACHEHINT) {
        auto* hint = reinterpret_cast<NMLVCACHEHINT*>(hdr);
        e.item = hint->iFrom;
        e.subItem = hint->iTo;
    } else if (hdr->code == LVN_ODFINDITEMW) {
        e.item = reinterpret_cast<NMLVFINDITEMW*>(hdr)->iStart;
    } else if (hdr->code == LVN_ITEMCHANGING || hdr->code == LVN_ITEMCHANGED || hdr->code == LVN_INSERTITEM ||
               hdr->code == LVN_DELETEITEM || hdr->code == LVN_DELETEALLITEMS || hdr->code == LVN_COLUMNCLICK ||
               hdr->code == LVN_BEGINDRAG || hdr->code == LVN_BEGINRDRAG || hdr->code == LVN_HOTTRACK) {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
        e.item = nm->iItem;
        e.subItem = nm->iSubItem;
        e.newState = nm->uNewState;
        e.oldState = nm->uOldState;
        e.changed = nm->uChanged;
        e.pt = nm->ptAction;
        e.lParam = nm->lParam;
    }
    ListViewTest::events.push_back(e);
}

LRESULT ListHostProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    switch (m) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        Record(h, hdr);
        return ListViewTest::onNotify ? ListViewTest::onNotify(hdr) : 0;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        Event e;
        e.msg = WM_DRAWITEM;
        e.from = dis->hwndItem;
        e.item = static_cast<int>(dis->itemID);
        e.itemState = dis->itemState;
        e.rc = dis->rcItem;
        e.lParam = static_cast<LPARAM>(dis->itemData);
        e.code = dis->CtlType;
        ListViewTest::events.push_back(e);
        if (ListViewTest::onDrawItem)
            ListViewTest::onDrawItem(dis);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        Event e;
        e.msg = WM_MEASUREITEM;
        e.code = mis->CtlType;
        e.item = static_cast<int>(mis->itemHeight);
        ListViewTest::events.push_back(e);
        if (ListViewTest::onMeasureItem)
            ListViewTest::onMeasureItem(mis);
        return TRUE;
    }
    case WM_CONTEXTMENU: {
        Event e;
        e.msg = WM_CONTEXTMENU;
        e.from = reinterpret_cast<HWND>(wp);
        e.pt = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ListViewTest::events.push_back(e);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        FillRect(dc, &rc, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
        EndPaint(h, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(h, m, wp, lp);
    }
}

} // namespace

void ListViewTest::SetUp()
{
    ComctlTest::SetUp();
    events.clear();
    onNotify = nullptr;
    onDrawItem = nullptr;
    onMeasureItem = nullptr;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ListHostProc;
    wc.lpszClassName = kListHost;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    m_imageLists = gdi::LiveImageListCount();
}

void ListViewTest::TearDown()
{
    onNotify = nullptr;
    onDrawItem = nullptr;
    onMeasureItem = nullptr;
    if (m_host && IsWindow(m_host))
        DestroyWindow(m_host);
    m_host = nullptr;
    Pump();
    EXPECT_EQ(comctl::LiveListViewCount(), 0u) << "list views leaked";
    EXPECT_EQ(comctl::LiveHeaderCount(), 0u) << "headers leaked";
    EXPECT_EQ(gdi::LiveImageListCount(), m_imageLists) << "image lists leaked";
    ComctlTest::TearDown();
}

HWND ListViewTest::MakeControl(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy)
{
    MakeList(0, 1, 1); // the host, with a list the case ignores
    HWND hwnd = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, m_host,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(8)), nullptr, nullptr);
    Pump();
    events.clear();
    return hwnd;
}

HWND ListViewTest::MakeList(DWORD style, int cx, int cy, DWORD exStyle)
{
    if (!m_host) {
        m_host = CreateWindowExW(0, kListHost, L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr,
            nullptr, nullptr, nullptr);
    }
    HWND list = CreateWindowExW(exStyle, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, cx, cy, m_host,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(7)), nullptr, nullptr);
    Pump();
    events.clear();
    return list;
}

void ListViewTest::AddItems(HWND list, const std::vector<std::wstring>& texts)
{
    for (const std::wstring& t : texts) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<LPWSTR>(t.c_str());
        item.lParam = 100 + item.iItem;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void ListViewTest::AddColumn(HWND list, int index, const wchar_t* text, int width, int fmt)
{
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.pszText = const_cast<LPWSTR>(text);
    c.cx = width;
    c.fmt = fmt;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
}

std::wstring ListViewTest::TextOf(HWND list, int item, int subItem)
{
    wchar_t buffer[256] = L"";
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = buffer;
    lv.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    return buffer;
}

std::vector<std::wstring> ListViewTest::Texts(HWND list)
{
    std::vector<std::wstring> out;
    const int n = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        out.push_back(TextOf(list, i));
    return out;
}

UINT ListViewTest::StateOf(HWND list, int item, UINT mask)
{
    return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

RECT ListViewTest::ItemRectOf(HWND list, int item, int code)
{
    RECT rc{code, 0, 0, 0};
    if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc)))
        return RECT{-1, -1, -1, -1};
    return rc;
}

RECT ListViewTest::SubItemRectOf(HWND list, int item, int subItem, int code)
{
    RECT rc{code, subItem, 0, 0};
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc)))
        return RECT{-1, -1, -1, -1};
    return rc;
}

void ListViewTest::ClickAt(HWND hwnd, int x, int y, std::vector<int> keys, bool right)
{
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    for (int k : keys)
        user::InjectKey(k, true);
    user::InjectClick(p.x, p.y, right ? user::MouseButton::Right : user::MouseButton::Left);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        user::InjectKey(*it, false);
    Pump();
    // Clicks further apart than the double-click time stay single clicks.
    base::Clock::Advance(GetDoubleClickTime() + 1);
    Pump();
}

void ListViewTest::DoubleClickAt(HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    user::InjectClick(p.x, p.y);
    user::InjectClick(p.x, p.y);
    Pump();
}

void ListViewTest::Press(int vk, std::vector<int> keys)
{
    for (int k : keys)
        user::InjectKey(k, true);
    user::InjectKeyPress(vk);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        user::InjectKey(*it, false);
    Pump();
}

std::vector<Event> ListViewTest::Only(std::initializer_list<UINT> codes)
{
    std::vector<Event> out;
    for (const Event& e : events) {
        const UINT key = e.msg == WM_NOTIFY ? e.code : e.msg;
        if (std::find(codes.begin(), codes.end(), key) != codes.end())
            out.push_back(e);
    }
    return out;
}

std::vector<UINT> ListViewTest::Codes()
{
    std::vector<UINT> out;
    for (const Event& e : events)
        out.push_back(e.msg == WM_NOTIFY ? e.code : e.msg);
    return out;
}

int ListViewTest::IconTitleLineHeight()
{
    LOGFONTW lf{};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return tm.tmHeight;
}

int ListViewTest::IconTitleTextWidth(const std::wstring& text)
{
    LOGFONTW lf{};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size.cx;
}

HIMAGELIST ListViewTest::MakeImages(int cx, int cy, int count, COLORREF colour)
{
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR24, count, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, cx * count, cy);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rc{0, 0, cx * count, cy};
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ImageList_Add(list, bmp, nullptr);
    DeleteObject(bmp);
    return list;
}

} // namespace zyn::test
