#include "tests/comctl/tab_updown_support.h"

#include "platform/gdi/imagelist.h"

namespace zyn::test {

namespace {

constexpr const wchar_t* kParentClass = L"TabUpDownParent";

LRESULT ParentProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        TabHeard e;
        e.msg = m;
        e.code = hdr->code;
        e.from = hdr->hwndFrom;
        e.sel = static_cast<int>(SendMessageW(hdr->hwndFrom, TCM_GETCURSEL, 0, 0));
        if (hdr->code == UDN_DELTAPOS) {
            const auto* nm = reinterpret_cast<const NMUPDOWN*>(lp);
            e.pos = nm->iPos;
            e.delta = nm->iDelta;
        }
        if (hdr->code == TCN_KEYDOWN)
            e.key = reinterpret_cast<const NMTCKEYDOWN*>(lp)->wVKey;
        TabUpDownTest::heard.push_back(e);
        if (TabUpDownTest::onHeard)
            TabUpDownTest::onHeard(e);
        if (hdr->code == TCN_SELCHANGING)
            return TabUpDownTest::vetoSelChanging ? TRUE : FALSE;
        if (hdr->code == UDN_DELTAPOS)
            return TabUpDownTest::vetoDeltaPos ? TRUE : FALSE;
        return 0;
    }
    if (m == WM_VSCROLL || m == WM_HSCROLL) {
        TabHeard e;
        e.msg = m;
        e.code = LOWORD(static_cast<DWORD>(wp));
        e.pos = static_cast<SHORT>(HIWORD(static_cast<DWORD>(wp)));
        e.from = reinterpret_cast<HWND>(lp);
        TabUpDownTest::heard.push_back(e);
        if (TabUpDownTest::onHeard)
            TabUpDownTest::onHeard(e);
        return 0;
    }
    if (m == WM_DRAWITEM) {
        TabHeard e;
        e.msg = m;
        e.draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        e.from = e.draw.hwndItem;
        TabUpDownTest::heard.push_back(e);
        if (TabUpDownTest::onHeard)
            TabUpDownTest::onHeard(e);
        return TRUE;
    }
    return DefWindowProcW(h, m, wp, lp);
}

} // namespace

void TabUpDownTest::SetUp()
{
    ComctlTest::SetUp();
    heard.clear();
    vetoSelChanging = vetoDeltaPos = false;
    onHeard = nullptr;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ParentProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    wc.lpszClassName = kParentClass;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    parent = CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr,
        nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    Pump();
}

void TabUpDownTest::TearDown()
{
    onHeard = nullptr;
    if (parent && IsWindow(parent))
        DestroyWindow(parent);
    EXPECT_EQ(gdi::LiveImageListCount(), 0u) << "image lists leaked";
    ComctlTest::TearDown();
}

HWND TabUpDownTest::MakeTab(DWORD style, int x, int y, int cx, int cy, UINT id)
{
    HWND tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(tab, nullptr);
    return tab;
}

int TabUpDownTest::Insert(HWND tab, int index, const std::wstring& text, int image)
{
    TCITEMW item{};
    item.mask = TCIF_TEXT | (image >= 0 ? TCIF_IMAGE : 0u);
    item.pszText = const_cast<LPWSTR>(text.c_str());
    item.iImage = image;
    return static_cast<int>(SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

RECT TabUpDownTest::ItemRect(HWND tab, int index)
{
    RECT r{-1, -1, -1, -1};
    EXPECT_TRUE(SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
        << "item " << index;
    return r;
}

int TabUpDownTest::HitTest(HWND tab, POINT pt, UINT* flags)
{
    TCHITTESTINFO info{pt, 0};
    const int i = static_cast<int>(SendMessageW(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return i;
}

POINT TabUpDownTest::ScreenOf(HWND h, POINT client)
{
    ClientToScreen(h, &client);
    return client;
}

void TabUpDownTest::ClickAt(HWND h, POINT client, user::MouseButton b)
{
    const POINT p = ScreenOf(h, client);
    user::InjectClick(p.x, p.y, b);
    Pump();
}

std::vector<UINT> TabUpDownTest::NotifyCodes()
{
    std::vector<UINT> out;
    for (const TabHeard& e : heard) {
        if (e.msg == WM_NOTIFY)
            out.push_back(e.code);
    }
    return out;
}

size_t TabUpDownTest::CountHeard(UINT msg, UINT code)
{
    size_t n = 0;
    for (const TabHeard& e : heard)
        n += (e.msg == msg && e.code == code) ? 1 : 0;
    return n;
}

int TabUpDownTest::FontHeight()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

int TabUpDownTest::TextWidth(const std::wstring& shown)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

} // namespace zyn::test
