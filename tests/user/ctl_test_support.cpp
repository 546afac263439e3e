#include "tests/user/ctl_test_support.h"

#include <map>

#include "platform/base/clock.h"
#include "platform/user/caret_internal.h"
#include "platform/user/queue_internal.h"

namespace zyn::test {
namespace {

std::string CodeName(const std::wstring& cls, WORD code)
{
    static const std::map<WORD, const char*> en = {{EN_SETFOCUS, "EN_SETFOCUS"}, {EN_KILLFOCUS, "EN_KILLFOCUS"},
        {EN_CHANGE, "EN_CHANGE"}, {EN_UPDATE, "EN_UPDATE"}, {EN_ERRSPACE, "EN_ERRSPACE"}, {EN_MAXTEXT, "EN_MAXTEXT"},
        {EN_HSCROLL, "EN_HSCROLL"}, {EN_VSCROLL, "EN_VSCROLL"}};
    static const std::map<WORD, const char*> lbn = {{LBN_SELCHANGE, "LBN_SELCHANGE"}, {LBN_DBLCLK, "LBN_DBLCLK"},
        {LBN_SELCANCEL, "LBN_SELCANCEL"}, {LBN_SETFOCUS, "LBN_SETFOCUS"}, {LBN_KILLFOCUS, "LBN_KILLFOCUS"},
        {LBN_ERRSPACE, "LBN_ERRSPACE"}};
    static const std::map<WORD, const char*> cbn = {{CBN_SELCHANGE, "CBN_SELCHANGE"}, {CBN_DBLCLK, "CBN_DBLCLK"},
        {CBN_SETFOCUS, "CBN_SETFOCUS"}, {CBN_KILLFOCUS, "CBN_KILLFOCUS"}, {CBN_EDITCHANGE, "CBN_EDITCHANGE"},
        {CBN_EDITUPDATE, "CBN_EDITUPDATE"}, {CBN_DROPDOWN, "CBN_DROPDOWN"}, {CBN_CLOSEUP, "CBN_CLOSEUP"},
        {CBN_SELENDOK, "CBN_SELENDOK"}, {CBN_SELENDCANCEL, "CBN_SELENDCANCEL"}, {CBN_ERRSPACE, "CBN_ERRSPACE"}};
    const std::map<WORD, const char*>* table = nullptr;
    if (cls == L"Edit")
        table = &en;
    else if (cls == L"ListBox")
        table = &lbn;
    else if (cls == L"ComboBox")
        table = &cbn;
    if (table) {
        auto it = table->find(code);
        if (it != table->end())
            return it->second;
    }
    return "code " + std::to_string(code);
}

} // namespace

void CtlTest::SetUp()
{
    UserTest::SetUp();
    zyn::base::Clock::UseVirtual(1000000);
    user::SetScriptedMode(true);
    parent = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 400, 300);
    ASSERT_NE(parent, nullptr);
    Pump();
}

void CtlTest::TearDown()
{
    if (IsWindow(parent))
        DestroyWindow(parent);
    POINT pt{};
    EXPECT_FALSE(GetCaretPos(&pt)) << "a caret was left";
    EXPECT_EQ(user::NextTimerDue(user::MyQueue()), zyn::base::Clock::kNever) << "a timer was left";
    UserTest::TearDown();
}

HWND CtlTest::Ctl(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy, UINT id, const wchar_t* text,
    DWORD exStyle)
{
    HWND h = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(h, nullptr) << "creating a control";
    return h;
}

std::vector<std::string> CtlTest::Notes(bool withId) const
{
    std::vector<std::string> out;
    for (const auto& r : Recorder::Get().Log()) {
        if (r.msg != WM_COMMAND || r.hwnd != parent || !r.lp)
            continue;
        wchar_t cls[64] = {};
        GetClassNameW(reinterpret_cast<HWND>(r.lp), cls, 64);
        std::string s = CodeName(cls, HIWORD(r.wp));
        if (withId)
            s += " " + std::to_string(LOWORD(r.wp));
        out.push_back(s);
    }
    return out;
}

std::vector<int> CtlTest::ScrollCodes() const
{
    std::vector<int> out;
    for (const auto& r : Recorder::Get().Log())
        if ((r.msg == WM_HSCROLL || r.msg == WM_VSCROLL) && r.hwnd == parent)
            out.push_back(LOWORD(r.wp));
    return out;
}

std::wstring CtlTest::Text(HWND h)
{
    const int n = GetWindowTextLengthW(h);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(got, 0)));
    return s;
}

void CtlTest::Click(HWND h, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(h, &p);
    user::InjectClick(p.x, p.y);
}

void CtlTest::Press(HWND h, int x, int y)
{
    MoveTo(h, x, y);
    user::InjectMouseButton(user::MouseButton::Left, true);
}

void CtlTest::MoveTo(HWND h, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(h, &p);
    user::InjectMouseMove(p.x, p.y);
}

void CtlTest::Release() { user::InjectMouseButton(user::MouseButton::Left, false); }

void CtlTest::Key(int vk) { user::InjectKeyPress(vk); }

void CtlTest::Chord(std::initializer_list<int> mods, int vk)
{
    for (int m : mods)
        user::InjectKey(m, true);
    user::InjectKeyPress(vk);
    for (auto it = std::rbegin(mods); it != std::rend(mods); ++it)
        user::InjectKey(*it, false);
}

void CtlTest::Type(const std::wstring& text) { user::InjectText(text); }

void CtlTest::Settle()
{
    Pump();
    user::PaintPendingWindows();
}

COLORREF CtlTest::ClientPixel(HWND h, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(h, &p);
    return Pixel(p.x, p.y);
}

RECT CtlTest::BoxOfColor(HWND h, const RECT& area, COLORREF c)
{
    RECT box{0, 0, 0, 0};
    bool any = false;
    HDC dc = GetDC(nullptr);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            POINT p{x, y};
            ClientToScreen(h, &p);
            if (GetPixel(dc, p.x, p.y) != c)
                continue;
            if (!any) {
                box = RECT{x, y, x + 1, y + 1};
                any = true;
            } else {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    ReleaseDC(nullptr, dc);
    return box;
}

TEXTMETRICW CtlTest::Metrics(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm;
}

} // namespace zyn::test
