#include "tests/comctl/smallctl_support.h"

#include <algorithm>

#include "platform/user/input.h"
#include "platform/user/winpos.h"

namespace zyn::test {
namespace {

LRESULT ParentProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    switch (m) {
    case WM_NOTIFYFORMAT:
        SmallCtlTest::family.push_back(Heard{m, static_cast<UINT>(lp), 0, reinterpret_cast<HWND>(wp)});
        return DefWindowProcW(h, m, wp, lp);
    case WM_PARENTNOTIFY:
        SmallCtlTest::family.push_back(Heard{m, LOWORD(static_cast<DWORD>(wp)), 0,
            LOWORD(static_cast<DWORD>(wp)) == WM_CREATE || LOWORD(static_cast<DWORD>(wp)) == WM_DESTROY
                ? reinterpret_cast<HWND>(lp)
                : nullptr});
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        SmallCtlTest::heard.push_back(
            Heard{m, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)), reinterpret_cast<HWND>(lp)});
        if (SmallCtlTest::onScroll)
            SmallCtlTest::onScroll(m, wp, lp);
        return 0;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->code == NM_CUSTOMDRAW) {
            const auto& cd = *reinterpret_cast<const NMCUSTOMDRAW*>(lp);
            SmallCtlTest::drawStages.push_back(cd);
            return SmallCtlTest::onCustomDraw ? SmallCtlTest::onCustomDraw(cd) : CDRF_DODEFAULT;
        }
        int item = 0;
        if (hdr->code == NM_CLICK || hdr->code == NM_DBLCLK || hdr->code == NM_RCLICK || hdr->code == NM_RDBLCLK)
            item = static_cast<int>(reinterpret_cast<const NMMOUSE*>(lp)->dwItemSpec);
        SmallCtlTest::heard.push_back(Heard{m, hdr->code, item, hdr->hwndFrom});
        return 0;
    }
    case WM_DRAWITEM: {
        const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        SmallCtlTest::drawItems.push_back(dis);
        SmallCtlTest::heard.push_back(Heard{m, dis.itemID, 0, dis.hwndItem});
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        // A colour no control part uses, so the background is told apart from the face.
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    case WM_SIZE:
        if (SmallCtlTest::sizeTarget && IsWindow(SmallCtlTest::sizeTarget))
            SendMessageW(SmallCtlTest::sizeTarget, WM_SIZE, wp, lp);
        return 0;
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(h, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
        return 1;
    }
    default:
        return DefWindowProcW(h, m, wp, lp);
    }
}

} // namespace

void SmallCtlTest::SetUp()
{
    ComctlTest::SetUp();
    Clear();
    onCustomDraw = nullptr;
    onScroll = nullptr;
    sizeTarget = nullptr;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ParentProc;
    wc.lpszClassName = kParentClass;
    ASSERT_NE(RegisterClassExW(&wc), 0);
}

void SmallCtlTest::TearDown()
{
    onCustomDraw = nullptr;
    onScroll = nullptr;
    sizeTarget = nullptr;
    ComctlTest::TearDown();
}

HWND SmallCtlTest::MakeParent(int x, int y, int cx, int cy, DWORD style)
{
    return CreateWindowExW(0, kParentClass, L"", style, x, y, cx, cy, nullptr, nullptr, nullptr, nullptr);
}

HWND SmallCtlTest::MakeControl(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy, HWND parent, UINT id,
    const wchar_t* text)
{
    return CreateWindowExW(0, cls, text, style, x, y, cx, cy, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

std::vector<Heard> SmallCtlTest::Scrolls()
{
    std::vector<Heard> out;
    std::copy_if(heard.begin(), heard.end(), std::back_inserter(out),
        [](const Heard& h) { return h.msg == WM_HSCROLL || h.msg == WM_VSCROLL; });
    return out;
}

std::vector<UINT> SmallCtlTest::NotifyCodes()
{
    std::vector<UINT> out;
    for (const Heard& h : heard) {
        if (h.msg == WM_NOTIFY)
            out.push_back(h.code);
    }
    return out;
}

void SmallCtlTest::Clear()
{
    heard.clear();
    family.clear();
    drawStages.clear();
    drawItems.clear();
}

POINT SmallCtlTest::ScreenOf(HWND h, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(h, &p);
    return p;
}

void SmallCtlTest::Press(HWND h, int x, int y)
{
    const POINT p = ScreenOf(h, x, y);
    user::InjectMouseMove(p.x, p.y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
}

void SmallCtlTest::MoveIn(HWND h, int x, int y)
{
    const POINT p = ScreenOf(h, x, y);
    user::InjectMouseMove(p.x, p.y);
    Pump();
}

void SmallCtlTest::Release()
{
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
}

COLORREF SmallCtlTest::At(HWND h, int x, int y)
{
    const POINT p = ScreenOf(h, x, y);
    return ScreenPixel(p.x, p.y);
}

RECT SmallCtlTest::ClientRectIn(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void SmallCtlTest::Focus(HWND parent, HWND ctl)
{
    SetForegroundWindow(parent);
    SetActiveWindow(parent);
    SetFocus(ctl);
    Pump();
}

void SmallCtlTest::Key(int vk)
{
    user::InjectKeyPress(vk);
    Pump();
}

} // namespace zyn::test
