// The shortcut bar's in-place editor on the window system: typed text, Enter, Escape and
// the loss of focus ending an edit; clicks and moves outside it reaching the window under
// them; centred automatic sizing inside the maximum rectangle; the background brush kept
// between edits; and the refusals of invalid records.
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_ui_support.h"
#include "toolkit/docking/shb_edit.h"

namespace shbtest {
namespace {

using zyn::user::InjectKey;
using zyn::user::InjectKeyPress;
using zyn::user::InjectMouseButton;
using zyn::user::InjectMouseMove;
using zyn::user::InjectText;
using zyn::user::MouseButton;

std::string Narrow(const std::wstring& w)
{
    std::string s;
    for (wchar_t c : w)
        s.push_back(c == L'\r' ? '|' : c == L'\n' ? '/' : static_cast<char>(c));
    return s;
}

std::wstring TextOf(HWND h)
{
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return buf;
}

// A window's rectangle in the parent's client coordinates (the parent is at the origin).
CRect RectOf(HWND h)
{
    CRect r;
    GetWindowRect(h, &r);
    return r;
}

std::pair<int, int> Sel(HWND e)
{
    DWORD a = 0, b = 0;
    SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {static_cast<int>(a), static_cast<int>(b)};
}

class EditTest : public ShbUiTest {
protected:
    void SetUp() override
    {
        ShbUiTest::SetUp();
        parent.answer = [this](UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
            if (msg != WM_NOTIFY)
                return false;
            auto* nm = reinterpret_cast<NMSHBEDIT*>(lp);
            if (nm->hdr.code != SHBEN_FINISHEDIT)
                return false;
            // The parent reads the text while the edit still holds it.
            Trace().push_back("finish " + std::to_string(nm->bOK) + " '" + Narrow(TextOf(nm->hdr.hwndFrom)) +
                "' id " + std::to_string(nm->hdr.idFrom) + (IsWindowVisible(nm->hdr.hwndFrom) ? " shown" : " hidden"));
            if (onFinish)
                onFinish(*nm);
            r = 0;
            return true;
        };
        edit = std::make_unique<COXSHBEdit>();
        ASSERT_TRUE(edit->Create(WS_BORDER, CRect(0, 0, 0, 0), &parent, SHB_IDCEDIT));
    }
    void TearDown() override
    {
        onFinish = nullptr;
        edit.reset(); // destroys the window, the brush and the font
        ShbUiTest::TearDown();
    }
    // A record with text, rectangle, style and the whole text selected (as the bar passes).
    static SHBE_DISPLAY Record(const wchar_t* text, DWORD style, CRect rect = CRect(20, 20, 120, 40))
    {
        SHBE_DISPLAY d;
        d.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_STYLE | SHBEIF_SELRANGE;
        d.lpText = text;
        d.rectDisplay = rect;
        d.dwStyle = style;
        d.nSelStart = 0;
        d.nSelEnd = -1;
        return d;
    }
    HWND Hwnd() const { return edit->m_hWnd; }

    std::unique_ptr<COXSHBEdit> edit;
    std::function<void(const NMSHBEDIT&)> onFinish;
};

TEST_F(EditTest, EnterAcceptsEscapeCancelsAndEnterNeverBreaksALine)
{
    constexpr DWORD kSingle = WS_BORDER | ES_AUTOHSCROLL;
    constexpr DWORD kMulti = WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | ES_CENTER;
    struct Row {
        const char* name;
        DWORD style;
        bool ctrl;
        int key;
        const char* expected;
    };
    const Row rows[] = {
        {"single-line Enter", kSingle, false, VK_RETURN, "finish 1 'New' id 65535 shown"},
        {"multi-line Enter", kMulti, false, VK_RETURN, "finish 1 'New' id 65535 shown"},
        {"multi-line Ctrl+Enter", kMulti, true, VK_RETURN, "finish 1 'New' id 65535 shown"},
        {"single-line Escape", kSingle, false, VK_ESCAPE, "finish 0 'New' id 65535 shown"},
        {"multi-line Escape", kMulti, false, VK_ESCAPE, "finish 0 'New' id 65535 shown"},
    };
    for (const Row& r : rows) {
        Trace().clear();
        SHBE_DISPLAY d = Record(L"Old", r.style);
        ASSERT_TRUE(edit->StartEdit(&d)) << r.name;
        Pump();
        EXPECT_TRUE(edit->IsEditing()) << r.name;
        EXPECT_TRUE(IsWindowVisible(Hwnd())) << r.name;
        EXPECT_EQ(GetFocus(), Hwnd()) << r.name;
        EXPECT_EQ(GetCapture(), Hwnd()) << r.name;
        EXPECT_EQ(Sel(Hwnd()), std::make_pair(0, 3)) << r.name;
        EXPECT_EQ(GetWindowLongPtrW(Hwnd(), GWL_STYLE), static_cast<LONG_PTR>(r.style | WS_CHILD | WS_VISIBLE))
            << r.name;
        InjectText(L"New"); // replaces the selected text
        Pump();
        EXPECT_TRUE(Trace().empty()) << r.name;
        if (r.ctrl)
            InjectKey(VK_CONTROL, true);
        InjectKeyPress(r.key);
        if (r.ctrl)
            InjectKey(VK_CONTROL, false);
        Pump();
        EXPECT_EQ(Trace(), std::vector<std::string>{r.expected}) << r.name;
        EXPECT_FALSE(edit->IsEditing()) << r.name;
        EXPECT_FALSE(IsWindowVisible(Hwnd())) << r.name;
        EXPECT_EQ(GetCapture(), nullptr) << r.name;
        EXPECT_EQ(TextOf(Hwnd()), L"New") << r.name << ": the key's character reached the edit";
    }
}

TEST_F(EditTest, CentredAutoSizeGrowsBothWaysInsideTheMaximumAndReturnsToTheMinimum)
{
    LOGFONT lf{};
    lf.lfHeight = -13;
    wcscpy(lf.lfFaceName, L"Tahoma");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    const CRect max(60, 50, 260, 150);   // 200 x 100
    const CRect min(150, 50, 170, 70);   // 20 x 20, centred in max
    SHBE_DISPLAY d;
    d.nMask = 0xFF;   // as the list control passes it
    d.lpText = L"";
    d.rectDisplay = min;
    d.rectMax = max;
    d.dwStyle = WS_BORDER | ES_CENTER | ES_MULTILINE | ES_AUTOVSCROLL;
    d.bAutoSize = TRUE;
    d.nSelStart = 0;
    d.nSelEnd = -1;
    d.pFont = &font;
    d.rectMin = min;
    ASSERT_TRUE(edit->StartEdit(&d));
    Pump();
    EXPECT_EQ(RectOf(Hwnd()), min);

    // The text's extent in the font, measured by the drawing layer; the edit adds its
    // one-pixel border on each side.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.m_hObject);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    auto extent = [&](const std::wstring& s) {
        SIZE sz{};
        GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz);
        return static_cast<int>(sz.cx);
    };
    std::wstring typed;
    CRect before = min;
    int grownTimes = 0;
    for (int i = 0; i < 40; ++i) {
        typed += L'w';
        InjectText(L"w");
        Pump();
        const CRect r = RectOf(Hwnd());
        const bool wraps = extent(typed) + 2 > max.Width();
        EXPECT_TRUE(max.left <= r.left && r.right <= max.right && max.top == r.top && r.bottom <= max.bottom)
            << "outside the maximum after " << typed.size() << " characters";
        if (!wraps) {
            EXPECT_EQ(r.Width(), std::max(extent(typed) + 2, min.Width())) << typed.size();
            EXPECT_EQ(r.Height(), std::max<int>(tm.tmHeight + 2, min.Height())) << typed.size();
            // Centred: the room left and right differ by the odd pixel at most, the left
            // having it.
            const int leftRoom = r.left - max.left, rightRoom = max.right - r.right;
            EXPECT_TRUE(leftRoom == rightRoom || leftRoom == rightRoom + 1)
                << typed.size() << ": " << leftRoom << " / " << rightRoom;
            if (r.Width() > before.Width()) {
                // Both edges moved outwards, by equal amounts give or take the odd pixel.
                EXPECT_LE(r.left, before.left) << typed.size();
                EXPECT_GE(r.right, before.right) << typed.size();
                EXPECT_LE(std::abs((before.left - r.left) - (r.right - before.right)), 1) << typed.size();
                ++grownTimes;
            }
        } else {
            // Broken within the word (DT_EDITCONTROL): as wide as the longest run of the
            // typed letters that fits inside the border.
            std::wstring line = typed;
            while (extent(line) + 2 > max.Width())
                line.pop_back();
            EXPECT_EQ(r.Width(), extent(line) + 2) << typed.size();
            EXPECT_GE(r.Height(), 2 * tm.tmHeight + 2) << typed.size() << ": wrapped onto a second line";
        }
        before = r;
    }
    EXPECT_GT(grownTimes, 3);
    EXPECT_TRUE(extent(typed) + 2 > max.Width()) << "the test should reach the wrapping width";
    SelectObject(dc, old);
    DeleteDC(dc);

    // Emptied: back to the minimum rectangle.
    SendMessageW(Hwnd(), EM_SETSEL, 0, -1);
    InjectKeyPress(VK_BACK);
    Pump();
    EXPECT_EQ(TextOf(Hwnd()), L"");
    EXPECT_EQ(RectOf(Hwnd()), min);
    // The formatting rectangle follows the client area.
    RECT fmt{}, client{};
    SendMessageW(Hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
    GetClientRect(Hwnd(), &client);
    EXPECT_EQ(CRect(fmt), CRect(client));
    edit->FinishEdit(TRUE);
}

TEST_F(EditTest, AGrowingSingleLineEditShowsItsWholeTextFromTheStart)
{
    // The list's small-icon view: one line, growing to the right from the text's left edge.
    const CRect max(40, 100, 390, 120);
    const CRect min(40, 100, 60, 120);
    SHBE_DISPLAY d;
    d.nMask = 0xFF & ~SHBEIF_FONT;
    d.lpText = L"";
    d.rectDisplay = min;
    d.rectMax = max;
    d.dwStyle = WS_BORDER | ES_AUTOHSCROLL;
    d.bAutoSize = TRUE;
    d.nSelStart = 0;
    d.nSelEnd = -1;
    d.rectMin = min;
    ASSERT_TRUE(edit->StartEdit(&d));
    Pump();
    CRect before = min;
    for (int i = 1; i <= 20; ++i) {
        InjectText(L"m");
        Pump();
        const CRect r = RectOf(Hwnd());
        EXPECT_EQ(r.left, max.left) << i;
        EXPECT_GE(r.Width(), before.Width()) << i;
        if (r.Width() < max.Width()) {
            // Everything fits: nothing is scrolled out on the left, but for the one pixel
            // that the caret after the last character needs beyond the measured text.
            EXPECT_EQ(SendMessageW(Hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << i << " characters";
            const LRESULT pos = SendMessageW(Hwnd(), EM_POSFROMCHAR, 0, 0);
            EXPECT_GE(static_cast<short>(LOWORD(pos)), -1) << i << " characters";
            EXPECT_LE(static_cast<short>(LOWORD(pos)), 0) << i << " characters";
        }
        before = r;
    }
    EXPECT_GT(before.Width(), min.Width());
    edit->FinishEdit(TRUE);

    // Started with text, the edit has at once the size that typing gives that text (a
    // font gives the edit default margins, which its formatting rectangle then drops).
    LOGFONT lf{};
    lf.lfHeight = -13;
    wcscpy(lf.lfFaceName, L"Tahoma");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    SHBE_DISPLAY withText = d;
    withText.lpText = L"mmmm";
    withText.nMask |= SHBEIF_FONT;
    withText.pFont = &font;
    ASSERT_TRUE(edit->StartEdit(&withText));
    Pump();
    const CRect started = RectOf(Hwnd());
    SendMessageW(Hwnd(), EM_SETSEL, 4, 4);
    InjectText(L"m");
    InjectKeyPress(VK_BACK);
    Pump();
    EXPECT_EQ(TextOf(Hwnd()), L"mmmm");
    EXPECT_EQ(RectOf(Hwnd()), started);
    EXPECT_GT(started.Width(), min.Width());
    edit->FinishEdit(TRUE);
}

// A window elsewhere on the screen that records the mouse messages it is handed.
class CTarget : public CTraceWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const bool mouse = message == WM_NCMOUSEMOVE || message == WM_NCLBUTTONDOWN || message == WM_MOUSEMOVE ||
            message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_NCRBUTTONDOWN;
        if (mouse) {
            Trace().push_back(name + " " + std::to_string(message) + " hit " + std::to_string(wParam) +
                " at " + std::to_string(GET_X_LPARAM(lParam)) + "," + std::to_string(GET_Y_LPARAM(lParam)));
            return 0; // no move loop, no activation: only the delivery is of interest
        }
        if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == m_hWnd)
            Trace().push_back(name + " setcursor " + std::to_string(static_cast<short>(LOWORD(lParam))) + "/" +
                std::to_string(HIWORD(lParam)));
        return CTraceWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(EditTest, AClickOutsideEndsTheEditThenReachesTheWindowUnderIt)
{
    CTarget other;
    other.name = "other";
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300,
        200, nullptr, nullptr));
    CRect otherClient;
    other.GetClientRect(&otherClient);
    other.ClientToScreen(&otherClient);
    const int captionY = 100 + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    struct Row {
        const char* name;
        MouseButton button;
        POINT screen;
        std::vector<std::string> expected;
    };
    const std::string ncDown = std::to_string(WM_NCLBUTTONDOWN), down = std::to_string(WM_LBUTTONDOWN);
    const std::string ncRDown = std::to_string(WM_NCRBUTTONDOWN);
    const int cx = otherClient.left + 30, cy = otherClient.top + 40;
    const Row rows[] = {
        {"left click on the caption", MouseButton::Left, {600, captionY},
            {"finish 1 'Old' id 65535 shown", "other " + ncDown + " hit 2 at 600," + std::to_string(captionY),
                "other setcursor 2/" + ncDown}},
        {"right click on the caption", MouseButton::Right, {650, captionY},
            {"finish 1 'Old' id 65535 shown", "other " + ncRDown + " hit 2 at 650," + std::to_string(captionY),
                "other setcursor 2/" + ncRDown}},
        {"left click in the client area", MouseButton::Left, {cx, cy},
            {"finish 1 'Old' id 65535 shown", "other " + down + " hit 1 at 30,40", "other setcursor 1/" + down}},
    };
    for (const Row& r : rows) {
        SHBE_DISPLAY d = Record(L"Old", WS_BORDER | ES_AUTOHSCROLL);
        ASSERT_TRUE(edit->StartEdit(&d)) << r.name;
        Pump();
        Trace().clear();
        InjectMouseMove(r.screen.x, r.screen.y);
        Pump();
        // The move only reaches the window; the edit goes on.
        ASSERT_EQ(Trace().size(), 2u) << r.name;
        EXPECT_TRUE(edit->IsEditing()) << r.name;
        EXPECT_EQ(GetCapture(), Hwnd()) << r.name;
        Trace().clear();
        InjectMouseButton(r.button, true);
        Pump();
        EXPECT_EQ(Trace(), r.expected) << r.name;
        EXPECT_FALSE(edit->IsEditing()) << r.name;
        EXPECT_FALSE(IsWindowVisible(Hwnd())) << r.name;
        EXPECT_NE(GetCapture(), Hwnd()) << r.name;
        InjectMouseButton(r.button, false);
        Pump();
    }
    // A move over the caption is handed on as the non-client move, with the cursor.
    SHBE_DISPLAY d = Record(L"Old", WS_BORDER | ES_AUTOHSCROLL);
    ASSERT_TRUE(edit->StartEdit(&d));
    Pump();
    Trace().clear();
    InjectMouseMove(610, captionY);
    Pump();
    const std::string ncMove = std::to_string(WM_NCMOUSEMOVE);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"other " + ncMove + " hit 2 at 610," + std::to_string(captionY),
                           "other setcursor 2/" + ncMove}));
    edit->FinishEdit(FALSE);
    other.DestroyWindow();
}

TEST_F(EditTest, AClickInsideMovesTheCaretAndKeepsTheEdit)
{
    SHBE_DISPLAY d = Record(L"abcdef", WS_BORDER | ES_AUTOHSCROLL, CRect(20, 20, 220, 40));
    ASSERT_TRUE(edit->StartEdit(&d));
    Pump();
    InjectMouseMove(215, 30); // right of the text
    InjectMouseButton(MouseButton::Left, true);
    Pump();
    EXPECT_EQ(Sel(Hwnd()), std::make_pair(6, 6));
    EXPECT_EQ(GetCapture(), Hwnd());
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    EXPECT_TRUE(edit->IsEditing());
    EXPECT_EQ(GetCapture(), Hwnd()) << "the editor takes the capture back after the release";
    EXPECT_TRUE(Trace().empty());
    edit->FinishEdit(TRUE);
}

TEST_F(EditTest, TheEditorKeepsTheCaptureAndLosingTheFocusAcceptsTheEdit)
{
    SHBE_DISPLAY d = Record(L"Old", WS_BORDER | ES_AUTOHSCROLL);
    ASSERT_TRUE(edit->StartEdit(&d));
    Pump();
    // Whoever takes the capture while the edit runs, the editor takes it back, so that it
    // sees the click that ends the edit.
    HWND other = CreateWindowExW(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 300, 200, 50, 50,
        parent.m_hWnd, nullptr, nullptr, nullptr);
    SetCapture(other);
    EXPECT_EQ(GetCapture(), Hwnd());
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), Hwnd());
    EXPECT_TRUE(Trace().empty());
    SetFocus(parent.m_hWnd);
    Pump();
    EXPECT_EQ(Trace(), std::vector<std::string>{"finish 1 'Old' id 65535 shown"});
    EXPECT_FALSE(edit->IsEditing());
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(other);
}

TEST_F(EditTest, ABackgroundColourStaysInTheBrushWhileTheTextBackgroundFallsBack)
{
    auto colours = [&](COLORREF presetText) {
        HDC dc = CreateCompatibleDC(nullptr);
        SetTextColor(dc, presetText);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Hwnd())));
        LOGBRUSH lb{};
        GetObjectW(brush, sizeof lb, &lb);
        const std::vector<COLORREF> out{lb.lbColor, GetBkColor(dc), GetTextColor(dc)};
        DeleteDC(dc);
        return out;
    };
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 128, 0);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(colours(green), (std::vector<COLORREF>{window, window, green})) << "before any record";

    SHBE_DISPLAY first = Record(L"One", WS_BORDER | ES_AUTOHSCROLL);
    first.nMask |= SHBEIF_CLRBACK | SHBEIF_CLRTEXT;
    first.clrBack = red;
    first.clrText = blue;
    ASSERT_TRUE(edit->StartEdit(&first));
    Pump();
    EXPECT_EQ(colours(green), (std::vector<COLORREF>{red, red, blue}));
    // The painted background is the brush's.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 117, 37), red);
    ReleaseDC(nullptr, screen);
    edit->FinishEdit(TRUE);

    SHBE_DISPLAY second = Record(L"Two", WS_BORDER | ES_AUTOHSCROLL);
    ASSERT_TRUE(edit->StartEdit(&second));
    Pump();
    EXPECT_EQ(colours(green), (std::vector<COLORREF>{red, window, green})) << "the brush stays, the colours fall back";
    screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 117, 37), red);
    // The one-pixel border is outside the filled client area.
    EXPECT_EQ(GetPixel(screen, 20, 20), GetSysColor(COLOR_WINDOWFRAME));
    ReleaseDC(nullptr, screen);
    edit->FinishEdit(TRUE);
}

TEST_F(EditTest, FinishEditWithoutAnEditSendsAndChangesNothing)
{
    const CRect before = RectOf(Hwnd());
    edit->FinishEdit(TRUE);
    edit->FinishEdit(FALSE);
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(RectOf(Hwnd()), before);
    // Ended once: a second end says nothing more.
    SHBE_DISPLAY d = Record(L"Once", WS_BORDER | ES_AUTOHSCROLL);
    ASSERT_TRUE(edit->StartEdit(&d));
    edit->FinishEdit(TRUE);
    edit->FinishEdit(TRUE);
    EXPECT_EQ(Trace(), std::vector<std::string>{"finish 1 'Once' id 65535 shown"});
    // An editor without a window.
    COXSHBEdit bare;
    bare.FinishEdit(TRUE);
    SHBE_DISPLAY again = Record(L"x", WS_BORDER);
    EXPECT_FALSE(bare.StartEdit(&again));
    EXPECT_EQ(bare.GetDisplayInfo(), nullptr);
    EXPECT_EQ(Trace().size(), 1u);
}

TEST_F(EditTest, SelectionsMayEndAtTheTextLength)
{
    struct Row {
        int start, end;
        bool accepted;
        std::pair<int, int> selection;
    };
    // "abc" has 3 characters.
    const Row rows[] = {
        {0, -1, true, {0, 3}}, {-1, 2, true, {0, 0}}, {0, 3, true, {0, 3}}, {3, 3, true, {3, 3}}, {1, 2, true, {1, 2}},
        {2, -1, true, {2, 3}}, {0, 4, false, {}}, {4, 4, false, {}}, {2, 5, false, {}},
    };
    for (const Row& r : rows) {
        Trace().clear();
        SHBE_DISPLAY d = Record(L"abc", WS_BORDER | ES_AUTOHSCROLL);
        d.nSelStart = r.start;
        d.nSelEnd = r.end;
        const HWND before = Hwnd();
        EXPECT_EQ(edit->StartEdit(&d) != FALSE, r.accepted) << r.start << "," << r.end;
        if (r.accepted) {
            EXPECT_EQ(Sel(Hwnd()), r.selection) << r.start << "," << r.end;
            edit->FinishEdit(TRUE);
        } else {
            EXPECT_EQ(Hwnd(), before) << "a refused record re-creates nothing";
            EXPECT_FALSE(IsWindowVisible(Hwnd()));
        }
    }
    // Without the text bit the length is the edit's current text's ("abc" from the last
    // accepted edit).
    SHBE_DISPLAY d = Record(nullptr, WS_BORDER | ES_AUTOHSCROLL);
    d.nMask &= ~SHBEIF_TEXT;
    d.nSelStart = d.nSelEnd = 3;
    EXPECT_TRUE(edit->StartEdit(&d));
    EXPECT_EQ(TextOf(Hwnd()), L"abc");
    edit->FinishEdit(TRUE);
}

TEST_F(EditTest, InvalidRecordsAreRefusedAndChangeNothing)
{
    const CRect max(10, 10, 200, 100);
    struct Row {
        const char* name;
        std::function<void(SHBE_DISPLAY&)> spoil;
    };
    const Row rows[] = {
        {"a bit above 0x200", [](SHBE_DISPLAY& d) { d.nMask |= 0x400; }},
        {"auto-size without a maximum", [](SHBE_DISPLAY& d) {
             d.nMask |= SHBEIF_AUTOSIZE;
             d.bAutoSize = TRUE;
         }},
        {"empty display rectangle", [](SHBE_DISPLAY& d) { d.rectDisplay = CRect(50, 20, 50, 40); }},
        {"display rectangle outside the maximum", [&](SHBE_DISPLAY& d) {
             d.nMask |= SHBEIF_RECTMAX;
             d.rectMax = max;
             d.rectDisplay = CRect(150, 20, 250, 40);
         }},
        {"minimum outside the maximum", [&](SHBE_DISPLAY& d) {
             d.nMask |= SHBEIF_RECTMAX | SHBEIF_RECTMIN;
             d.rectMax = max;
             d.rectMin = CRect(5, 20, 40, 40);
         }},
        {"empty minimum", [](SHBE_DISPLAY& d) {
             d.nMask |= SHBEIF_RECTMIN;
             d.rectMin = CRect(30, 30, 30, 35);
         }},
        {"no display rectangle while the edit has no size", [](SHBE_DISPLAY& d) { d.nMask &= ~SHBEIF_RECTDISPLAY; }},
    };
    for (const Row& r : rows) {
        SHBE_DISPLAY d = Record(L"abc", WS_BORDER | ES_AUTOHSCROLL);
        r.spoil(d);
        const HWND before = Hwnd();
        EXPECT_FALSE(edit->StartEdit(&d)) << r.name;
        EXPECT_EQ(Hwnd(), before) << r.name;
        EXPECT_EQ(edit->GetDisplayInfo(), nullptr) << r.name;
        EXPECT_FALSE(edit->IsEditing()) << r.name;
    }
    // The same records unspoilt are taken.
    SHBE_DISPLAY d = Record(L"abc", WS_BORDER | ES_AUTOHSCROLL);
    d.nMask |= SHBEIF_RECTMAX | SHBEIF_RECTMIN;
    d.rectMax = max;
    d.rectMin = CRect(20, 20, 40, 40);
    EXPECT_TRUE(edit->StartEdit(&d));
    edit->FinishEdit(FALSE);
    EXPECT_TRUE(Trace().size() == 1);
}

TEST_F(EditTest, WithoutARecordTheEditStaysWhereItIsWithItsTextAndStyle)
{
    SHBE_DISPLAY d = Record(L"Kept", WS_BORDER | ES_AUTOHSCROLL | ES_RIGHT, CRect(30, 40, 130, 62));
    d.nMask |= SHBEIF_RECTMIN;
    d.rectMin = CRect(25, 45, 60, 70); // widens the rectangle to (25, 40, 130, 70)
    ASSERT_TRUE(edit->StartEdit(&d));
    EXPECT_EQ(RectOf(Hwnd()), CRect(25, 40, 130, 70));
    edit->FinishEdit(TRUE);
    ASSERT_NE(edit->GetDisplayInfo(), nullptr);
    EXPECT_EQ(edit->GetDisplayInfo()->lpText, nullptr) << "the caller's text is not kept";

    ASSERT_TRUE(edit->StartEdit(nullptr));
    Pump();
    EXPECT_EQ(RectOf(Hwnd()), CRect(25, 40, 130, 70));
    EXPECT_EQ(TextOf(Hwnd()), L"Kept");
    EXPECT_EQ(GetWindowLongPtrW(Hwnd(), GWL_STYLE) & (ES_RIGHT | ES_AUTOHSCROLL | WS_BORDER),
        static_cast<LONG_PTR>(ES_RIGHT | ES_AUTOHSCROLL | WS_BORDER));
    EXPECT_EQ(edit->GetDisplayInfo(), nullptr) << "the record is forgotten";
    EXPECT_TRUE(edit->IsEditing());
    edit->FinishEdit(TRUE);
}

TEST_F(EditTest, AnEditStartedFromTheEndOfEditHandlerStaysShown)
{
    SHBE_DISPLAY first = Record(L"First", WS_BORDER | ES_AUTOHSCROLL);
    SHBE_DISPLAY second = Record(L"Second", WS_BORDER | ES_AUTOHSCROLL, CRect(20, 60, 120, 80));
    bool started = false;
    onFinish = [&](const NMSHBEDIT&) {
        if (!started) {
            started = true;
            EXPECT_TRUE(edit->StartEdit(&second));
        }
    };
    ASSERT_TRUE(edit->StartEdit(&first));
    Pump();
    InjectKeyPress(VK_RETURN);
    Pump();
    EXPECT_TRUE(started);
    EXPECT_TRUE(edit->IsEditing());
    EXPECT_TRUE(IsWindowVisible(Hwnd()));
    EXPECT_EQ(TextOf(Hwnd()), L"Second");
    EXPECT_EQ(GetCapture(), Hwnd());
    onFinish = nullptr;
    edit->FinishEdit(FALSE);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"finish 1 'First' id 65535 shown", "finish 0 'Second' id 65535 shown"}));
}

TEST_F(EditTest, StartingAnEditWhileOneRunsAcceptsTheRunningOneFirst)
{
    SHBE_DISPLAY first = Record(L"First", WS_BORDER | ES_AUTOHSCROLL);
    SHBE_DISPLAY second = Record(L"Second", WS_BORDER | ES_AUTOHSCROLL, CRect(20, 60, 120, 80));
    ASSERT_TRUE(edit->StartEdit(&first));
    Pump();
    ASSERT_TRUE(edit->StartEdit(&second));
    Pump();
    EXPECT_EQ(Trace(), std::vector<std::string>{"finish 1 'First' id 65535 shown"});
    EXPECT_TRUE(edit->IsEditing());
    EXPECT_EQ(TextOf(Hwnd()), L"Second");
    EXPECT_EQ(RectOf(Hwnd()), CRect(20, 60, 120, 80));
    EXPECT_EQ(GetCapture(), Hwnd());
    edit->FinishEdit(TRUE);
    EXPECT_EQ(Trace().size(), 2u);
}

TEST_F(EditTest, TheFontOfARecordIsCopiedAndKeptUntilARecordNamesAnother)
{
    LOGFONT lf{};
    lf.lfHeight = -20;
    wcscpy(lf.lfFaceName, L"Tahoma");
    auto font = std::make_unique<CFont>();
    ASSERT_TRUE(font->CreateFontIndirect(&lf));
    SHBE_DISPLAY d = Record(L"Big", WS_BORDER | ES_AUTOHSCROLL, CRect(20, 20, 200, 50));
    d.nMask |= SHBEIF_FONT;
    d.pFont = font.get();
    ASSERT_TRUE(edit->StartEdit(&d));
    font.reset(); // the caller's font may go: the editor made its own
    auto heightOf = [&] {
        LOGFONT got{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0)), sizeof got, &got);
        return got.lfHeight;
    };
    EXPECT_EQ(heightOf(), -20);
    edit->FinishEdit(TRUE);
    SHBE_DISPLAY plain = Record(L"Same", WS_BORDER | ES_AUTOHSCROLL, CRect(20, 20, 200, 50));
    ASSERT_TRUE(edit->StartEdit(&plain));
    EXPECT_EQ(heightOf(), -20) << "kept for a record without the font bit";
    edit->FinishEdit(TRUE);
    plain.nMask |= SHBEIF_FONT;
    plain.pFont = nullptr;
    ASSERT_TRUE(edit->StartEdit(&plain));
    EXPECT_EQ(SendMessageW(Hwnd(), WM_GETFONT, 0, 0), 0) << "a null font removes it";
    edit->FinishEdit(TRUE);
}

} // namespace
} // namespace shbtest
