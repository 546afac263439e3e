#include "tests/comctl/toolbar_test_support.h"

#include "platform/user/driver.h"

namespace zyn::test {

namespace {

LRESULT TbHostProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        TbEvent e{};
        e.msg = m;
        e.code = hdr->code;
        e.item = -1;
        switch (hdr->code) {
        case TBN_BEGINDRAG:
        case TBN_ENDDRAG:
        case TBN_QUERYINSERT:
        case TBN_QUERYDELETE:
        case TBN_DROPDOWN:
        case TBN_GETBUTTONINFOW:
        case TBN_DELETINGBUTTON:
            e.item = reinterpret_cast<NMTOOLBARW*>(hdr)->iItem;
            break;
        case NM_CLICK:
        case NM_LDOWN:
        case NM_RCLICK:
        case NM_DBLCLK:
            e.item = static_cast<int>(reinterpret_cast<NMMOUSE*>(hdr)->dwItemSpec);
            e.pt = reinterpret_cast<NMMOUSE*>(hdr)->pt;
            e.hitInfo = static_cast<DWORD_PTR>(reinterpret_cast<NMMOUSE*>(hdr)->dwHitInfo);
            break;
        case NM_CUSTOMDRAW: {
            auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(hdr);
            e.stage = cd->dwDrawStage;
            e.spec = cd->dwItemSpec;
            e.itemState = cd->uItemState;
            break;
        }
        case TBN_HOTITEMCHANGE:
            e.hot = *reinterpret_cast<NMTBHOTITEM*>(hdr);
            break;
        default:
            break;
        }
        ToolbarTest::Events().push_back(e);
        if (ToolbarTest::Answer())
            return ToolbarTest::Answer()(hdr);
        return 0;
    }
    if (m == WM_COMMAND) {
        ToolbarTest::Events().push_back(TbEvent{m, HIWORD(static_cast<DWORD>(wp)), LOWORD(static_cast<DWORD>(wp)), 0,
            0, 0, {}, {}, 0});
        return 0;
    }
    if (m == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(h, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
        return 1;
    }
    return DefWindowProcW(h, m, wp, lp);
}

} // namespace

void ToolbarTest::SetUp()
{
    ComctlTest::SetUp();
    Events().clear();
    Answer() = nullptr;
    parents.clear();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TbHostProc;
    wc.lpszClassName = kTbHostClass;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    m_lists = gdi::LiveImageListCount();
}

void ToolbarTest::TearDown()
{
    Answer() = nullptr;
    user::InjectKey(VK_SHIFT, false);
    user::InjectKey(VK_MENU, false);
    Pump();
    for (HWND h : parents)
        if (IsWindow(h))
            DestroyWindow(h);
    parents.clear();
    Pump();
    ComctlTest::TearDown();
    EXPECT_EQ(comctl::LiveToolbarCount(), 0u) << "toolbar states leaked";
    EXPECT_EQ(gdi::LiveImageListCount(), m_lists) << "image lists leaked";
}

HWND ToolbarTest::MakeParent(int cx, int cy)
{
    HWND h = CreateWindowExW(0, kTbHostClass, L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, cx, cy,
        nullptr, nullptr, nullptr, nullptr);
    parents.push_back(h);
    return h;
}

HWND ToolbarTest::MakeToolbar(HWND parent, DWORD style, int cx, int cy, bool exact, UINT id)
{
    if (!exact)
        style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    HWND tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | style, 0, 0, cx, cy, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    if (tb)
        SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return tb;
}

TBBUTTON ToolbarTest::Btn(int command, int image, BYTE style, BYTE state, INT_PTR text)
{
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = state;
    b.fsStyle = style;
    b.dwData = static_cast<DWORD_PTR>(command) * 10;
    b.iString = text;
    return b;
}

TBBUTTON ToolbarTest::Sep(int width, int command)
{
    TBBUTTON b{};
    b.iBitmap = width;
    b.idCommand = command;
    b.fsStyle = BTNS_SEP;
    b.iString = -1;
    return b;
}

void ToolbarTest::Add(HWND tb, const std::vector<TBBUTTON>& buttons)
{
    ASSERT_TRUE(SendMessageW(tb, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())));
}

HIMAGELIST ToolbarTest::MakeImages(int count, const std::vector<COLORREF>& colours, int cx, int cy)
{
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, count, 4);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, cx * count, cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    for (int i = 0; i < count; ++i) {
        RECT r{i * cx, 0, (i + 1) * cx, cy};
        HBRUSH b = CreateSolidBrush(colours[static_cast<size_t>(i) % colours.size()]);
        FillRect(mem, &r, b);
        DeleteObject(b);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    ImageList_Add(list, bmp, nullptr);
    DeleteObject(bmp);
    return list;
}

RECT ToolbarTest::ItemRect(HWND tb, int index)
{
    RECT r{};
    SendMessageW(tb, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

void ToolbarTest::MouseTo(HWND h, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(h, &p);
    user::InjectMouseMove(p.x, p.y);
    Pump();
}

void ToolbarTest::Press(HWND h, int x, int y)
{
    MouseTo(h, x, y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
}

void ToolbarTest::Release(HWND h, int x, int y)
{
    MouseTo(h, x, y);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
}

void ToolbarTest::Click(HWND h, int x, int y)
{
    Press(h, x, y);
    Release(h, x, y);
}

COLORREF ToolbarTest::Pixel(HWND h, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(h, &p);
    return ScreenPixel(p.x, p.y);
}

std::vector<UINT> ToolbarTest::Codes(UINT msg)
{
    std::vector<UINT> out;
    for (const TbEvent& e : Events())
        if (e.msg == msg && !(msg == WM_NOTIFY && e.code == NM_CUSTOMDRAW))
            out.push_back(e.code);
    return out;
}

std::vector<TbEvent> ToolbarTest::Only(UINT code)
{
    std::vector<TbEvent> out;
    for (const TbEvent& e : Events())
        if (e.msg == WM_NOTIFY && e.code == code)
            out.push_back(e);
    return out;
}

} // namespace zyn::test
