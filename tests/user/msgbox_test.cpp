// MessageBox as a dialog: laid out from the message font by the documented geometry,
// answered by the script without being shown, and by scripted keys and clicks.
#include <map>

#include "platform/base/lasterror.h"
#include "platform/user/msgbox_layout.h"
#include "tests/user/dialog_test_support.h"

namespace zyn::test {
namespace {

// The box as it was just before it went away.
struct Seen {
    std::wstring caption;
    RECT window{}, client{};
    std::map<int, RECT> items;   // client coordinates
    std::map<int, DWORD> styles;
    std::wstring face;
};
std::vector<Seen> g_seen;

LRESULT CaptureHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_DESTROYWND) {
        const HWND h = reinterpret_cast<HWND>(wp);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (std::wstring_view(cls) == L"#32770") {
            Seen s;
            wchar_t text[64] = {};
            GetWindowTextW(h, text, 64);
            s.caption = text;
            GetWindowRect(h, &s.window);
            GetClientRect(h, &s.client);
            for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                s.items[GetDlgCtrlID(c)] = DialogTest::ClientRectIn(c, h);
                s.styles[GetDlgCtrlID(c)] = static_cast<DWORD>(GetWindowLongPtrW(c, GWL_STYLE));
            }
            LOGFONTW lf{};
            GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
            s.face = lf.lfFaceName;
            g_seen.push_back(s);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

class MsgBoxTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        g_seen.clear();
        hook = SetWindowsHookExW(WH_CBT, CaptureHook, nullptr, GetCurrentThreadId());
        owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
        ownerChild = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, owner);
        SetFocus(ownerChild);
        rec().Clear();
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        UnhookWindowsHookEx(hook);
        DialogTest::TearDown();
    }
    HHOOK hook = nullptr;
    HWND owner = nullptr, ownerChild = nullptr;
};

LOGFONTW MessageLogFont()
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    return ncm.lfMessageFont;
}

SIZE TextSize(HFONT f, const wchar_t* text, int wrap, UINT flags)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f);
    RECT r{0, 0, wrap, 0};
    DrawTextW(dc, text, -1, &r, flags | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{r.right, r.bottom};
}

TEST_F(MsgBoxTest, LaidOutFromTheMessageFontByTheDocumentedGeometry)
{
    struct Row {
        const char* name;
        UINT type;
        const wchar_t* text;
        std::vector<int> buttons;
        int def;
        bool icon;
    };
    const Row rows[] = {
        {"OK only", MB_OK, L"Done.", {IDOK}, IDOK, false},
        {"question, second default", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, L"Save changes?\nThey are kept.",
            {IDYES, IDNO, IDCANCEL}, IDNO, true},
        {"long text wraps, with help", MB_ABORTRETRYIGNORE | MB_ICONHAND | MB_HELP | MB_DEFBUTTON3,
            L"The recording server did not answer in time and the operation could not be completed; try again later "
            L"or ask the administrator to look at the server's log for what went wrong there.",
            {IDABORT, IDRETRY, IDIGNORE, IDHELP}, IDIGNORE, true},
    };
    const LOGFONTW lf = MessageLogFont();
    HFONT font = CreateFontIndirectW(&lf);
    const SIZE bu = HandBaseUnits(font);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int mx = Scale(7, bu.cx, 4), my = Scale(7, bu.cy, 8);
    for (const Row& row : rows) {
        user::AnswerScript::Push(user::AnswerKind::MessageBox, row.def);
        g_seen.clear();
        EXPECT_EQ(MessageBoxW(owner, row.text, L"Box", row.type), row.def);
        ASSERT_EQ(g_seen.size(), 1u) << row.name;
        const Seen& s = g_seen[0];
        EXPECT_EQ(s.caption, L"Box");
        EXPECT_EQ(s.face, lf.lfFaceName) << row.name;
        // The text, wrapped at half the work area.
        const SIZE t = TextSize(font, row.text, (work.right - work.left) / 2, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        const int icon = GetSystemMetrics(SM_CXICON);
        const int textLeft = row.icon ? mx + icon + mx : mx;
        const int textTop = row.icon && t.cy < icon ? my + (icon - t.cy) / 2 : my;
        EXPECT_EQ(s.items.at(0xFFFF), (RECT{textLeft, textTop, textLeft + t.cx, textTop + t.cy})) << row.name;
        if (row.icon)
            EXPECT_EQ(s.items.at(20), (RECT{mx, my, mx + icon, my + icon})) << row.name;
        else
            EXPECT_EQ(s.items.count(20), 0u) << row.name;
        // Buttons: one size, centred, in order.
        int bw = Scale(50, bu.cx, 4);
        for (int id : row.buttons) {
            const wchar_t* label = id == IDOK ? L"OK" : id == IDCANCEL ? L"Cancel" : id == IDHELP ? L"Help"
                : id == IDYES ? L"&Yes" : id == IDNO ? L"&No" : id == IDABORT ? L"&Abort" : id == IDRETRY ? L"&Retry"
                : L"&Ignore";
            bw = std::max<int>(bw, TextSize(font, label, 0, DT_SINGLELINE).cx + Scale(8, bu.cx, 4));
        }
        const int n = static_cast<int>(row.buttons.size());
        const int gap = Scale(4, bu.cx, 4), rowW = n * bw + (n - 1) * gap;
        const int width = std::max<int>(textLeft + t.cx + mx, rowW + 2 * mx);
        const int top = my + std::max<int>(t.cy, row.icon ? icon : 0) + my;
        const int bh = Scale(14, bu.cy, 8);
        for (int i = 0; i < n; ++i) {
            const int x = (width - rowW) / 2 + i * (bw + gap);
            EXPECT_EQ(s.items.at(row.buttons[static_cast<size_t>(i)]), (RECT{x, top, x + bw, top + bh}))
                << row.name << " button " << i;
            EXPECT_EQ((s.styles.at(row.buttons[static_cast<size_t>(i)]) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
                row.buttons[static_cast<size_t>(i)] == row.def)
                << row.name << " button " << i;
        }
        EXPECT_EQ(s.client.right, width) << row.name;
        EXPECT_EQ(s.client.bottom, top + bh + my) << row.name;
        // Centred in the work area.
        const int w = s.window.right - s.window.left, h = s.window.bottom - s.window.top;
        EXPECT_EQ(s.window.left, work.left + (work.right - work.left - w) / 2) << row.name;
        EXPECT_EQ(s.window.top, work.top + (work.bottom - work.top - h) / 2) << row.name;
    }
    DeleteObject(font);
}

TEST_F(MsgBoxTest, AScriptedAnswerLeavesTheOwnerAsItWas)
{
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    EXPECT_EQ(MessageBoxW(ownerChild, L"Sure?", L"Ask", MB_YESNO), IDNO);
    EXPECT_EQ(GetFocus(), ownerChild);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_TRUE(rec().For(owner, {WM_ENABLE, WM_ACTIVATE, WM_NCACTIVATE}).empty());
    const auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].scripted);
    EXPECT_EQ(shown[0].owner, ownerChild);
    EXPECT_EQ(g_seen.size(), 1u) << "laid out, then gone";
    // A stale owner is refused before anything is made.
    HWND gone = Make(WS_POPUP, 0, 0, 5, 5);
    DestroyWindow(gone);
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(gone, L"x", L"y", MB_OK), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(MsgBoxTest, AnsweredByScriptedKeysAndClicks)
{
    struct Row {
        const char* name;
        UINT type;
        std::function<void()> input;
        int result;
        bool byInput;
    };
    auto keys = [](std::vector<int> vks, bool alt = false) {
        return [vks, alt] {
            for (int vk : vks) {
                if (alt)
                    user::InjectKey(VK_MENU, true);
                user::InjectKeyPress(vk);
                if (alt)
                    user::InjectKey(VK_MENU, false);
            }
        };
    };
    const Row rows[] = {
        {"Enter: the first button", MB_YESNO, keys({VK_RETURN}), IDYES, true},
        {"Enter: the default", MB_YESNO | MB_DEFBUTTON2, keys({VK_RETURN}), IDNO, true},
        {"n without Alt", MB_YESNO, keys({'N'}), IDNO, true},
        {"Alt+N", MB_YESNO, keys({'N'}, true), IDNO, true},
        {"Tab then Enter", MB_YESNOCANCEL, keys({VK_TAB, VK_RETURN}), IDNO, true},
        {"arrow then Space", MB_RETRYCANCEL, keys({VK_RIGHT, VK_SPACE}), IDCANCEL, true},
        {"Escape with Cancel", MB_OKCANCEL, keys({VK_ESCAPE}), IDCANCEL, true},
        {"Escape on OK alone", MB_OK, keys({VK_ESCAPE}), IDOK, true},
        {"Escape without Cancel is ignored: the default", MB_YESNO | MB_DEFBUTTON2, keys({VK_ESCAPE}), IDNO, false},
        {"no input: the default", MB_OKCANCEL, [] {}, IDOK, false},
        {"a click on No", MB_YESNOCANCEL, [] {
             user::QueueIdleAction([] {
                 RECT r;
                 GetWindowRect(GetDlgItem(GetActiveWindow(), IDNO), &r);
                 user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
             });
         }, IDNO, true},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Clear();
        SetFocus(ownerChild);
        bool ownerEnabled = true, boxActive = false;
        // The user looks at the box, then types.
        user::QueueIdleAction([&] {
            ownerEnabled = IsWindowEnabled(owner) != FALSE;
            boxActive = GetWindow(GetActiveWindow(), GW_OWNER) == owner && IsWindowVisible(GetActiveWindow());
            row.input();
        });
        EXPECT_EQ(MessageBoxW(ownerChild, L"Question", L"Ask", row.type), row.result) << row.name;
        Pump(); // the last key's release reaches the owner
        EXPECT_FALSE(ownerEnabled) << row.name;
        EXPECT_TRUE(boxActive) << row.name;
        EXPECT_TRUE(IsWindowEnabled(owner)) << row.name;
        EXPECT_EQ(GetActiveWindow(), owner) << row.name;
        const auto shown = user::AnswerScript::Shown();
        ASSERT_EQ(shown.size(), 1u) << row.name;
        EXPECT_EQ(shown[0].result, row.result) << row.name;
        EXPECT_EQ(shown[0].scripted, row.byInput) << row.name;
        EXPECT_EQ(user::LiveWindowCount(), 2u) << row.name;
    }
}

TEST_F(MsgBoxTest, HelpTellsTheOwnerAndTaskModalBoxesDisableTheThread)
{
    // Help: WM_HELP to the owner, the box stays; then Escape ends an OK box.
    user::InjectKeyPress(VK_TAB);
    user::InjectKeyPress(VK_SPACE);
    user::InjectKeyPress(VK_ESCAPE);
    EXPECT_EQ(MessageBoxW(owner, L"Read the help", L"Help", MB_OK | MB_HELP), IDOK);
    EXPECT_EQ(rec().For(owner, {WM_HELP}).size(), 1u);
    // Task-modal without an owner: the thread's other windows are disabled meanwhile.
    bool disabled = false;
    user::QueueIdleAction([&] {
        disabled = !IsWindowEnabled(owner);
        user::InjectKeyPress(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(nullptr, L"Everyone waits", L"Task", MB_OK | MB_TASKMODAL), IDOK);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST(MessageBoxLayout, TheMarginsButtonsAndCentringFollowTheUnits)
{
    // Units 6 x 13: margins 11 and 11 (7 * 6 / 4 = 10.5 rounds up, 7 * 13 / 8 = 11.4 down);
    // buttons 23 high (14 * 13 / 8 = 22.75), 6 apart (4 * 6 / 4), and as wide as the widest
    // need: 75 (50 * 6 / 4), or a 100-pixel label + 12 (8 * 6 / 4) = 112.
    const user::MessageBoxMetrics m{6, 13, 32, 32, 800};
    const auto L = user::LayoutMessageBox(SIZE{200, 20}, {30, 100}, true, m);
    EXPECT_EQ(L.icon, (RECT{11, 11, 43, 43}));
    EXPECT_EQ(L.text, (RECT{54, 17, 254, 37})); // 11 + (32 - 20) / 2 down: centred on the icon
    EXPECT_EQ(L.client.cx, 265);                // 254 + 11 beats the row's 230 + 2 * 11
    ASSERT_EQ(L.buttons.size(), 2u);
    EXPECT_EQ(L.buttons[0], (RECT{17, 54, 129, 77})); // (265 - 230) / 2 in, 11 + 32 + 11 down
    EXPECT_EQ(L.buttons[1], (RECT{135, 54, 247, 77}));
    EXPECT_EQ(L.client.cy, 77 + 11);
    EXPECT_EQ(user::MessageTextWrapWidth(m), 400);
    // Without an icon or text taller than it, the text starts at the margin.
    const auto tall = user::LayoutMessageBox(SIZE{10, 50}, {10}, false, m);
    EXPECT_EQ(tall.text, (RECT{11, 11, 21, 61}));
    EXPECT_EQ(tall.client.cx, 75 + 22);
}

} // namespace
} // namespace zyn::test
