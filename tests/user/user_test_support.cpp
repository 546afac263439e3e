#include "tests/user/user_test_support.h"

namespace zyn::test {

const wchar_t* UserTest::kRecClass = L"Rec";
const wchar_t* UserTest::kSolidClass = L"Solid";

Recorder& Recorder::Get()
{
    static Recorder r;
    return r;
}

std::vector<UINT> Recorder::For(HWND h, const std::vector<UINT>& only) const
{
    std::vector<UINT> out;
    for (auto& r : m_log)
        if (r.hwnd == h && (only.empty() || std::find(only.begin(), only.end(), r.msg) != only.end()))
            out.push_back(r.msg);
    return out;
}

std::vector<UINT> Recorder::All(const std::vector<UINT>& only) const
{
    std::vector<UINT> out;
    for (auto& r : m_log)
        if (only.empty() || std::find(only.begin(), only.end(), r.msg) != only.end())
            out.push_back(r.msg);
    return out;
}

LRESULT RecordProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    Recorder& r = Recorder::Get();
    r.Record(h, m, wp, lp);
    LRESULT res = 0;
    if (r.Handle(h, m, wp, lp, res))
        return res;
    return DefWindowProcW(h, m, wp, lp);
}

int IndexOf(const std::vector<UINT>& seq, UINT msg, size_t from)
{
    for (size_t i = from; i < seq.size(); ++i)
        if (seq[i] == msg)
            return static_cast<int>(i);
    return -1;
}

namespace {

LRESULT SolidProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    Recorder::Get().Record(h, m, wp, lp);
    LRESULT res = 0;
    if (Recorder::Get().Handle(h, m, wp, lp, res))
        return res;
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        // The colour rides in GWLP_USERDATA.
        HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(h, GWLP_USERDATA)));
        RECT rc;
        GetClientRect(h, &rc);
        FillRect(dc, &rc, b);
        DeleteObject(b);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, m, wp, lp);
}

} // namespace

void UserTest::SetUp()
{
    user::ResetWindowSystemForTests();
    gdi::ResetDesktop(1280, 1024);
    gdi::ResetSystemColors();
    gdi::ResetSystemMetrics();
    gdi::ResetSystemParameters();
    Recorder::Get().Reset();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordProc;
    wc.lpszClassName = kRecClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    wc.style = CS_DBLCLKS;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    wc.lpfnWndProc = SolidProc;
    wc.lpszClassName = kSolidClass;
    wc.style = 0;
    wc.hbrBackground = nullptr;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    m_objects = gdi::LiveObjectCount();
    m_dcs = gdi::LiveDcCount();
    m_hooks = user::LiveHookCount();
}

void UserTest::TearDown()
{
    // Windows still alive at the end of a case are destroyed by the case or leak.
    EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(user::LiveHookCount(), m_hooks) << "hooks leaked";
    user::ResetWindowSystemForTests();
    EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    Recorder::Get().Reset();
}

HWND UserTest::Make(DWORD style, int x, int y, int cx, int cy, HWND parent, DWORD exStyle, UINT_PTR id,
    const wchar_t* text)
{
    return CreateWindowExW(exStyle, kRecClass, text, style, x, y, cx, cy, parent,
        reinterpret_cast<HMENU>(id), nullptr, nullptr);
}

void UserTest::Pump()
{
    MSG m;
    for (int guard = 0; guard < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

COLORREF UserTest::Pixel(int x, int y)
{
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

} // namespace zyn::test
