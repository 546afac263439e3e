// The Edit control: typing and notifications, selection by keys and mouse, the clipboard
// and undo, limits, password and number styles, multi-line line functions, painting.
#include "platform/base/clock.h"
#include "platform/base/globalmem.h"
#include "tests/support/timing.h"
#include "tests/user/ctl_test_support.h"
#include "tests/user/dialog_test_support.h"

namespace zyn::test {
namespace {

using EditTest = CtlTest;

std::pair<int, int> Sel(HWND e)
{
    DWORD a = 0, b = 0;
    SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {static_cast<int>(a), static_cast<int>(b)};
}

POINT PosOf(HWND e, int i)
{
    const LRESULT r = SendMessageW(e, EM_POSFROMCHAR, static_cast<WPARAM>(i), 0);
    return POINT{static_cast<SHORT>(LOWORD(r)), static_cast<SHORT>(HIWORD(r))};
}

// Width of the first `n` characters in the system font, measured by the drawing layer.
int Extent(const std::wstring& text, int n, HFONT font = nullptr)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE sz{};
    GetTextExtentPoint32W(dc, text.c_str(), n, &sz);
    SelectObject(dc, old);
    DeleteDC(dc);
    return sz.cx;
}

std::wstring ClipboardText()
{
    std::wstring out;
    if (!OpenClipboard(nullptr))
        return out;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
        for (size_t i = 0; p && (p[i] || p[i + 1]); i += 2)
            out.push_back(static_cast<wchar_t>(p[i] | (p[i + 1] << 8)));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return out;
}

void SetClipboardText(const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
    auto* p = static_cast<uint8_t*>(GlobalLock(h));
    for (size_t i = 0; i <= text.size(); ++i) {
        const wchar_t c = i < text.size() ? text[i] : 0;
        p[2 * i] = static_cast<uint8_t>(c & 0xFF);
        p[2 * i + 1] = static_cast<uint8_t>((c >> 8) & 0xFF);
    }
    GlobalUnlock(h);
    SetClipboardData(CF_UNICODETEXT, h);
    CloseClipboard();
}

TEST_F(EditTest, TypingChangesTheTextWithUpdateBeforeAndChangeAfterTheRepaint)
{
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 200, 24);
    // At EN_UPDATE the new text is formatted but not shown yet; at EN_CHANGE it is shown.
    std::vector<std::string> seen;
    rec().SetHandler([&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
        if (m == WM_COMMAND && (HIWORD(wp) == EN_UPDATE || HIWORD(wp) == EN_CHANGE)) {
            RECT r;
            seen.push_back(std::string(HIWORD(wp) == EN_UPDATE ? "update" : "change") +
                (GetUpdateRect(e, &r, FALSE) ? " dirty" : " clean"));
        }
        return false;
    });
    SetFocus(e);
    Pump();
    ClearLog();
    Type(L"ab");
    Pump();
    EXPECT_EQ(Text(e), L"ab");
    EXPECT_EQ(Notes(true), (std::vector<std::string>{"EN_UPDATE 100", "EN_CHANGE 100", "EN_UPDATE 100", "EN_CHANGE 100"}));
    EXPECT_EQ(seen, (std::vector<std::string>{"update dirty", "change clean", "update dirty", "change clean"}));
    EXPECT_EQ(Sel(e), std::make_pair(2, 2));
    EXPECT_TRUE(SendMessageW(e, EM_GETMODIFY, 0, 0));
    // WM_SETTEXT: a single-line edit reports the change too, and the text is not "modified".
    ClearLog();
    SetWindowTextW(e, L"xyz");
    EXPECT_EQ(Notes(), (std::vector<std::string>{"EN_UPDATE", "EN_CHANGE"}));
    EXPECT_FALSE(SendMessageW(e, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(Sel(e), std::make_pair(0, 0));
    wchar_t buf[3];
    EXPECT_EQ(GetWindowTextW(e, buf, 3), 2); // cut to the buffer, terminated
    EXPECT_EQ(std::wstring(buf), L"xy");
    DestroyWindow(e);
}

TEST_F(EditTest, SetTextOfAMultiLineEditSendsNoUpdateAndNoChange)
{
    HWND e = Ctl(L"Edit", ES_MULTILINE, 10, 10, 200, 100);
    ClearLog();
    SetWindowTextW(e, L"a\r\nb");
    EXPECT_TRUE(Notes().empty());
    EXPECT_EQ(Text(e), L"a\r\nb");
    DestroyWindow(e);
}

// The margins a font gives (WM_SETFONT, EC_USEFONTINFO): half its average character width
// as dialog units measure it for a TrueType font (3 pixels for the 8-point dialog font),
// none for the system font; an edit too narrow for two characters between them keeps its
// own. The text starts at the left margin.
TEST_F(EditTest, TheFontGivesTheMargins)
{
    HFONT dialogFont = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg");
    const int half = HandBaseUnits(dialogFont).cx / 2;
    EXPECT_EQ(half, 3) << "the dialog font's base unit is 6 pixels";
    const struct {
        const char* name;
        HFONT font;
        int width;
        bool explicitFirst; // margins 7 and 9 set before EC_USEFONTINFO
        int expected;
    } rows[] = {
        {"system font: none", nullptr, 200, false, 0},
        {"dialog font", dialogFont, 200, false, half},
        {"EC_USEFONTINFO after explicit margins", dialogFont, 200, true, half},
        {"too narrow: kept", dialogFont, 12, false, 0},
    };
    for (const auto& r : rows) {
        HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, r.width, 24, 100, L"ab");
        if (r.font)
            SendMessageW(e, WM_SETFONT, reinterpret_cast<WPARAM>(r.font), FALSE);
        if (r.explicitFirst) {
            SendMessageW(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(7, 9));
            SendMessageW(e, EM_SETMARGINS, EC_USEFONTINFO, 0);
        }
        EXPECT_EQ(SendMessageW(e, EM_GETMARGINS, 0, 0), MAKELONG(r.expected, r.expected)) << r.name;
        if (r.width > 100) {
            EXPECT_EQ(PosOf(e, 0).x, r.expected) << r.name;
        }
        DestroyWindow(e);
    }
    DeleteObject(dialogFont);
}

struct KeyRow {
    const char* name;
    int caretStart;                      // caret placed here first (no selection)
    std::vector<std::pair<std::vector<int>, int>> keys; // modifiers, key
    std::pair<int, int> sel;             // EM_GETSEL afterwards
    int caret;                           // where the caret ends (the moving end)
};

TEST_F(EditTest, KeysMoveTheCaretAndShiftExtendsTheSelection)
{
    // "one two  three": words start at 0, 4 and 9.
    const KeyRow rows[] = {
        {"RightTwice", 0, {{{}, VK_RIGHT}, {{}, VK_RIGHT}}, {2, 2}, 2},
        {"LeftAtStartStays", 0, {{{}, VK_LEFT}}, {0, 0}, 0},
        {"EndThenHome", 5, {{{}, VK_END}, {{}, VK_HOME}}, {0, 0}, 0},
        {"ShiftEndSelectsToTheEnd", 4, {{{VK_SHIFT}, VK_END}}, {4, 14}, 14},
        {"ShiftLeftSelectsBackwards", 6, {{{VK_SHIFT}, VK_LEFT}, {{VK_SHIFT}, VK_LEFT}}, {4, 6}, 4},
        {"LeftCollapsesToTheSelectionStart", 6, {{{VK_SHIFT}, VK_RIGHT}, {{VK_SHIFT}, VK_RIGHT}, {{}, VK_LEFT}}, {6, 6}, 6},
        {"RightCollapsesToTheSelectionEnd", 6, {{{VK_SHIFT}, VK_LEFT}, {{}, VK_RIGHT}}, {6, 6}, 6},
        {"CtrlRightToNextWordStarts", 0, {{{VK_CONTROL}, VK_RIGHT}, {{VK_CONTROL}, VK_RIGHT}}, {9, 9}, 9},
        {"CtrlRightAtLastWordGoesToTheEnd", 10, {{{VK_CONTROL}, VK_RIGHT}}, {14, 14}, 14},
        {"CtrlLeftFromMidWord", 11, {{{VK_CONTROL}, VK_LEFT}}, {9, 9}, 9},
        {"CtrlLeftOverTheBlanks", 9, {{{VK_CONTROL}, VK_LEFT}}, {4, 4}, 4},
        {"CtrlShiftLeftSelectsAWord", 7, {{{VK_CONTROL, VK_SHIFT}, VK_LEFT}}, {4, 7}, 4},
        {"UpAndDownInOneLineMoveLikeLeftAndRight", 3, {{{}, VK_UP}, {{}, VK_DOWN}, {{}, VK_DOWN}}, {4, 4}, 4},
    };
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 300, 24, 100, L"one two  three");
    SetFocus(e);
    for (const auto& r : rows) {
        SendMessageW(e, EM_SETSEL, static_cast<WPARAM>(r.caretStart), r.caretStart);
        for (const auto& [mods, vk] : r.keys) {
            for (int m : mods)
                user::InjectKey(m, true);
            user::InjectKeyPress(vk);
            for (int m : mods)
                user::InjectKey(m, false);
        }
        Pump();
        EXPECT_EQ(Sel(e), r.sel) << r.name;
        POINT caret{};
        ASSERT_TRUE(GetCaretPos(&caret)) << r.name;
        RECT fmt{};
        SendMessageW(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
        EXPECT_EQ(caret.x, fmt.left + Extent(L"one two  three", r.caret)) << r.name;
    }
    DestroyWindow(e);
}

TEST_F(EditTest, MouseSetsTheCaretDragExtendsAndDoubleClickSelectsAWord)
{
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 300, 24, 100, L"alpha beta gamma");
    const int y = 5;
    // Press between characters 2 and 3 ("al|pha"): the caret goes to the nearer boundary.
    const POINT p2 = PosOf(e, 2), p3 = PosOf(e, 3);
    Click(e, p2.x + 1, y);
    Pump();
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(Sel(e), std::make_pair(2, 2));
    Click(e, p3.x - 1, y);
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(3, 3));
    // Drag from 1 to 8 while captured; the caret follows the pointer.
    zyn::base::Clock::Advance(1000); // no double click
    Press(e, PosOf(e, 1).x, y);
    MoveTo(e, PosOf(e, 8).x, y);
    Pump();
    EXPECT_EQ(GetCapture(), e);
    Release();
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Sel(e), std::make_pair(1, 8));
    // Shift+click extends from the anchor.
    zyn::base::Clock::Advance(1000);
    user::InjectKey(VK_SHIFT, true);
    Click(e, PosOf(e, 12).x, y);
    user::InjectKey(VK_SHIFT, false);
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(1, 12));
    // A double click selects the word under the pointer.
    zyn::base::Clock::Advance(1000);
    Click(e, PosOf(e, 7).x + 1, y);
    Click(e, PosOf(e, 7).x + 1, y);
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(6, 10));
    DestroyWindow(e);
}

TEST_F(EditTest, ClipboardAndUndoByKeysAndMessages)
{
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 300, 24, 100, L"hello world");
    SetFocus(e);
    SendMessageW(e, EM_SETSEL, 0, 5);
    Chord({VK_CONTROL}, 'C');
    Pump();
    EXPECT_EQ(ClipboardText(), L"hello");
    EXPECT_EQ(Text(e), L"hello world");
    // Cut, then paste twice at the end.
    SendMessageW(e, EM_SETSEL, 5, 11);
    Chord({VK_CONTROL}, 'X');
    Pump();
    EXPECT_EQ(ClipboardText(), L" world");
    EXPECT_EQ(Text(e), L"hello");
    Chord({VK_CONTROL}, 'V');
    Chord({VK_SHIFT}, VK_INSERT);
    Pump();
    EXPECT_EQ(Text(e), L"hello world world");
    // One undo takes the last paste out and selects nothing; a second puts it back.
    ASSERT_TRUE(SendMessageW(e, EM_CANUNDO, 0, 0));
    Chord({VK_CONTROL}, 'Z');
    Pump();
    EXPECT_EQ(Text(e), L"hello world");
    EXPECT_TRUE(SendMessageW(e, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(e), L"hello world world");
    EXPECT_EQ(Sel(e), std::make_pair(11, 17)); // the text put back is selected
    // Typing in a row undoes as one; so do backspaces in a row.
    SendMessageW(e, EM_SETSEL, 17, 17);
    Type(L"!!!");
    Pump();
    SendMessageW(e, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(e), L"hello world world");
    Type(L"");
    Pump();
    EXPECT_EQ(Text(e), L"hello world");
    SendMessageW(e, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(e), L"hello world world");
    // WM_CLEAR deletes the selection (undoable); EM_REPLACESEL without undo empties the buffer.
    SendMessageW(e, EM_SETSEL, 0, 6);
    SendMessageW(e, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(e), L"world world");
    SendMessageW(e, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"big "));
    EXPECT_EQ(Text(e), L"big world world");
    EXPECT_FALSE(SendMessageW(e, EM_CANUNDO, 0, 0));
    SendMessageW(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"!"));
    EXPECT_TRUE(SendMessageW(e, EM_CANUNDO, 0, 0));
    SendMessageW(e, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessageW(e, EM_CANUNDO, 0, 0));
    // A single-line edit pastes only the first line of the clipboard.
    SetClipboardText(L"one\r\ntwo");
    SendMessageW(e, EM_SETSEL, 0, -1);
    SendMessageW(e, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(e), L"one");
    // Read-only: no paste, no cut, no typing; copying still works.
    SendMessageW(e, EM_SETREADONLY, TRUE, 0);
    EXPECT_TRUE(GetWindowLongPtrW(e, GWL_STYLE) & ES_READONLY);
    const size_t beeps = user::MessageBeepCount();
    SendMessageW(e, EM_SETSEL, 0, -1);
    SendMessageW(e, WM_PASTE, 0, 0);
    SendMessageW(e, WM_CUT, 0, 0);
    Type(L"x");
    Pump();
    EXPECT_EQ(Text(e), L"one");
    EXPECT_GT(user::MessageBeepCount(), beeps);
    SendMessageW(e, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), L"one");
    DestroyWindow(e);
}

TEST_F(EditTest, LimitRefusesTypingAndCutsPastesWithMaxText)
{
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 300, 24);
    EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 32767); // the documented default
    SendMessageW(e, EM_SETLIMITTEXT, 5, 0);
    EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 5);
    SetFocus(e);
    Pump();
    ClearLog();
    Type(L"abcdefg");
    Pump();
    EXPECT_EQ(Text(e), L"abcde");
    const auto notes = Notes();
    EXPECT_EQ(std::count(notes.begin(), notes.end(), "EN_MAXTEXT"), 2);
    EXPECT_EQ(std::count(notes.begin(), notes.end(), "EN_CHANGE"), 5);
    // Replacing a selection frees room; a paste too long is cut to what fits.
    SendMessageW(e, EM_SETSEL, 1, 3);
    SetClipboardText(L"12345");
    ClearLog();
    SendMessageW(e, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(e), L"a12de"); // five minus the three kept: room for two
    EXPECT_EQ(Notes(), (std::vector<std::string>{"EN_MAXTEXT", "EN_UPDATE", "EN_CHANGE"})) << "cut, said, changed";
    // WM_SETTEXT is not limited.
    SetWindowTextW(e, L"0123456789");
    EXPECT_EQ(Text(e), L"0123456789");
    // Zero asks for the largest limit.
    SendMessageW(e, EM_SETLIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
    DestroyWindow(e);
    HWND m = Ctl(L"Edit", ES_MULTILINE, 10, 40, 300, 100);
    SendMessageW(m, EM_SETLIMITTEXT, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(SendMessageW(m, EM_GETLIMITTEXT, 0, 0)), 0xFFFFFFFFu);
    DestroyWindow(m);
}

TEST_F(EditTest, WithoutAutoHScrollTypingStopsAtTheRightEdge)
{
    const int w = 8 * Extent(L"W", 1) + 4;
    HWND e = Ctl(L"Edit", 0, 10, 10, w, 24);
    SetFocus(e);
    Pump();
    ClearLog();
    Type(std::wstring(20, L'W'));
    Pump();
    const int fits = static_cast<int>(Text(e).size());
    RECT fmt{};
    SendMessageW(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
    EXPECT_LT(Extent(std::wstring(static_cast<size_t>(fits), L'W'), fits), fmt.right - fmt.left);
    EXPECT_GE(Extent(std::wstring(static_cast<size_t>(fits) + 1, L'W'), fits + 1), fmt.right - fmt.left);
    const auto notes = Notes();
    EXPECT_EQ(std::count(notes.begin(), notes.end(), "EN_MAXTEXT"), 20 - fits);
    DestroyWindow(e);
}

TEST_F(EditTest, PasswordAndNumberStyles)
{
    HWND p = Ctl(L"Edit", ES_PASSWORD | ES_AUTOHSCROLL, 10, 10, 200, 24, 100, L"secret");
    EXPECT_EQ(SendMessageW(p, EM_GETPASSWORDCHAR, 0, 0), L'*');
    // Every character is shown as the password character.
    EXPECT_EQ(PosOf(p, 4).x - PosOf(p, 1).x, 3 * Extent(L"*", 1));
    // Its text cannot be copied or cut out.
    SetClipboardText(L"before");
    SendMessageW(p, EM_SETSEL, 0, -1);
    SendMessageW(p, WM_COPY, 0, 0);
    SendMessageW(p, WM_CUT, 0, 0);
    EXPECT_EQ(ClipboardText(), L"before");
    EXPECT_EQ(Text(p), L"secret");
    // A null password character shows the text.
    SendMessageW(p, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_FALSE(GetWindowLongPtrW(p, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(PosOf(p, 4).x - PosOf(p, 1).x, Extent(L"secret", 4) - Extent(L"secret", 1));
    SendMessageW(p, EM_SETPASSWORDCHAR, L'#', 0);
    EXPECT_EQ(SendMessageW(p, EM_GETPASSWORDCHAR, 0, 0), L'#');
    EXPECT_EQ(PosOf(p, 4).x - PosOf(p, 1).x, 3 * Extent(L"#", 1));
    DestroyWindow(p);

    HWND n = Ctl(L"Edit", ES_NUMBER | ES_AUTOHSCROLL, 10, 40, 200, 24);
    SetFocus(n);
    Pump();
    const size_t beeps = user::MessageBeepCount();
    ClearLog();
    Type(L"1a2-3");
    Pump();
    EXPECT_EQ(Text(n), L"123");
    EXPECT_EQ(user::MessageBeepCount() - beeps, 2u);
    const auto notes = Notes();
    EXPECT_EQ(std::count(notes.begin(), notes.end(), "EN_CHANGE"), 3) << "refused characters change nothing";
    DestroyWindow(n);

    HWND u = Ctl(L"Edit", ES_UPPERCASE | ES_AUTOHSCROLL, 10, 70, 200, 24);
    SetFocus(u);
    Type(L"MiXed");
    Pump();
    EXPECT_EQ(Text(u), L"MIXED");
    DestroyWindow(u);
}

struct LineRow {
    const char* text;
    int lines;
    std::vector<int> starts;      // EM_LINEINDEX of each line
    std::vector<int> lengths;     // EM_LINELENGTH at each line's start
    std::vector<std::pair<int, int>> charToLine;
};

TEST_F(EditTest, MultiLineLineFunctionsBreakAtCrLfAndLoneLf)
{
    const LineRow rows[] = {
        {"", 1, {0}, {0}, {{0, 0}}},
        {"ab\r\ncd\nef", 3, {0, 4, 7}, {2, 2, 2}, {{0, 0}, {2, 0}, {3, 0}, {4, 1}, {6, 1}, {7, 2}, {9, 2}}},
        {"a\r\n\r\nb", 3, {0, 3, 5}, {1, 0, 1}, {{1, 0}, {3, 1}, {5, 2}}},
        {"x\n", 2, {0, 2}, {1, 0}, {{1, 0}, {2, 1}}},
        {"\n\n", 3, {0, 1, 2}, {0, 0, 0}, {{0, 0}, {1, 1}, {2, 2}}},
        {"lone\rcr", 1, {0}, {7}, {{5, 0}}}, // a CR alone is no break
    };
    HWND e = Ctl(L"Edit", ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 10, 10, 300, 150);
    for (const auto& r : rows) {
        std::wstring text;
        for (const char* c = r.text; *c; ++c)
            text.push_back(static_cast<wchar_t>(*c));
        SetWindowTextW(e, text.c_str());
        EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), r.lines) << r.text;
        for (size_t i = 0; i < r.starts.size(); ++i) {
            EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, i, 0), r.starts[i]) << r.text << " line " << i;
            EXPECT_EQ(SendMessageW(e, EM_LINELENGTH, static_cast<WPARAM>(r.starts[i]), 0), r.lengths[i])
                << r.text << " line " << i;
            wchar_t buf[16] = {};
            buf[0] = 16;
            const auto got = SendMessageW(e, EM_GETLINE, i, reinterpret_cast<LPARAM>(buf));
            EXPECT_EQ(got, r.lengths[i]) << r.text << " line " << i;
            EXPECT_EQ(std::wstring(buf, static_cast<size_t>(got)), text.substr(static_cast<size_t>(r.starts[i]),
                static_cast<size_t>(r.lengths[i]))) << r.text << " line " << i;
        }
        EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, static_cast<WPARAM>(r.lines), 0), -1) << r.text;
        for (const auto& [pos, line] : r.charToLine)
            EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, static_cast<WPARAM>(pos), 0), line) << r.text << " char " << pos;
    }
    // EM_GETLINE copies no more than the buffer holds and adds no terminator.
    SetWindowTextW(e, L"abcdef\r\ng");
    wchar_t small[8] = {3, L'?', L'?', L'?', L'?'};
    EXPECT_EQ(SendMessageW(e, EM_GETLINE, 0, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_EQ(std::wstring(small, 4), L"abc?");
    // -1 means the caret's line; EM_LINELENGTH(-1) counts what the selection leaves on its lines.
    SendMessageW(e, EM_SETSEL, 8, 8);
    EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 8);
    EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
    SendMessageW(e, EM_SETSEL, 2, 9);
    EXPECT_EQ(SendMessageW(e, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 2);
    DestroyWindow(e);
}

TEST_F(EditTest, DeleteAndBackspaceTakeALineBreakWhole)
{
    HWND e = Ctl(L"Edit", ES_MULTILINE | ES_AUTOHSCROLL, 10, 10, 200, 100, 100, L"ab\r\ncd");
    SetFocus(e);
    SendMessageW(e, EM_SETSEL, 2, 2);
    Key(VK_DELETE);
    Pump();
    EXPECT_EQ(Text(e), L"abcd");
    SendMessageW(e, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(e), L"ab\r\ncd");
    SendMessageW(e, EM_SETSEL, 4, 4);
    Type(L"\b");
    Pump();
    EXPECT_EQ(Text(e), L"abcd");
    EXPECT_EQ(Sel(e), std::make_pair(2, 2));
    // Right and Left step over the break in one go.
    SetWindowTextW(e, L"ab\r\ncd");
    SendMessageW(e, EM_SETSEL, 2, 2);
    Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(4, 4));
    Key(VK_LEFT);
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(2, 2));
    // Deletes in a row undo as one; Shift+Delete cuts, Ctrl+Insert copies.
    SetWindowTextW(e, L"abcdef");
    SendMessageW(e, EM_SETSEL, 1, 1);
    Key(VK_DELETE);
    Key(VK_DELETE);
    Pump();
    EXPECT_EQ(Text(e), L"adef");
    SendMessageW(e, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(e), L"abcdef");
    SendMessageW(e, EM_SETSEL, 4, 6);
    Chord({VK_CONTROL}, VK_INSERT);
    Pump();
    EXPECT_EQ(ClipboardText(), L"ef");
    SendMessageW(e, EM_SETSEL, 0, 2);
    Chord({VK_SHIFT}, VK_DELETE);
    Pump();
    EXPECT_EQ(Text(e), L"cdef");
    EXPECT_EQ(ClipboardText(), L"ab");
    DestroyWindow(e);
}

TEST_F(EditTest, NoHideSelKeepsTheSelectionShownWithoutTheFocus)
{
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL | ES_NOHIDESEL, 10, 10, 200, 24, 100, L"abcd");
    SendMessageW(e, EM_SETSEL, 0, 2);
    Settle();
    RECT client{};
    GetClientRect(e, &client);
    RECT box = BoxOfColor(e, client, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_FALSE(IsRectEmpty(&box));
    EXPECT_NE(GetFocus(), e);
    DestroyWindow(e);
}

TEST_F(EditTest, SetSelRulesAndScrolling)
{
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 60, 24, 100, L"0123456789abcdefghijklmnopqrstuvwxyz");
    SendMessageW(e, EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(e), std::make_pair(0, 36));
    EXPECT_EQ(SendMessageW(e, EM_GETSEL, 0, 0), MAKELONG(0, 36));
    // Start -1 deselects and keeps the caret where it was.
    SendMessageW(e, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Sel(e), std::make_pair(36, 36));
    // A start after the end: the lower is the start, the caret goes to the end given.
    SetFocus(e);
    SendMessageW(e, EM_SETSEL, 5, 2);
    EXPECT_EQ(Sel(e), std::make_pair(2, 5));
    Chord({VK_SHIFT}, VK_LEFT);
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(1, 5)) << "the caret was at 2, the anchor at 5";
    // Positions beyond the text are clamped.
    SendMessageW(e, EM_SETSEL, 100, 200);
    EXPECT_EQ(Sel(e), std::make_pair(36, 36));
    // EM_SETSEL never scrolls; EM_SCROLLCARET does.
    SendMessageW(e, EM_SETSEL, 0, 0);
    SendMessageW(e, EM_SCROLLCARET, 0, 0);
    EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageW(e, EM_SETSEL, 36, 36);
    EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageW(e, EM_SCROLLCARET, 0, 0);
    EXPECT_GT(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // The caret's end is inside the formatting rectangle now.
    POINT caret{};
    GetCaretPos(&caret);
    RECT fmt{};
    SendMessageW(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
    EXPECT_GE(caret.x, fmt.left);
    EXPECT_LT(caret.x, fmt.right);
    DestroyWindow(e);
}

TEST_F(EditTest, DialogCodes)
{
    const struct {
        DWORD style;
        LRESULT code;
    } rows[] = {
        {0, kWantChars | kHasSetSel | kWantArrows},
        {ES_MULTILINE, kWantChars | kHasSetSel | kWantArrows},
        {ES_MULTILINE | ES_WANTRETURN, kWantChars | kHasSetSel | kWantArrows | kWantAllKeys},
        {ES_WANTRETURN, kWantChars | kHasSetSel | kWantArrows}, // single-line: Enter is the dialog's
    };
    for (const auto& r : rows) {
        HWND e = Ctl(L"Edit", r.style, 0, 0, 50, 20);
        EXPECT_EQ(SendMessageW(e, WM_GETDLGCODE, 0, 0), r.code) << std::hex << r.style;
        DestroyWindow(e);
    }
}

TEST_F(EditTest, FocusMakesACaretAndTellsTheParent)
{
    HWND a = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 200, 24, 1, L"abc");
    HWND b = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 40, 200, 24, 2);
    Settle();
    ClearLog();
    SetFocus(a);
    SendMessageW(a, EM_SETSEL, 2, 2);
    POINT caret{};
    ASSERT_TRUE(GetCaretPos(&caret));
    RECT fmt{};
    SendMessageW(a, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
    EXPECT_EQ(caret.x, fmt.left + Extent(L"abc", 2));
    EXPECT_EQ(caret.y, fmt.top);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    EXPECT_EQ(gui.hwndCaret, a);
    EXPECT_EQ(gui.rcCaret.bottom - gui.rcCaret.top, Metrics(nullptr).tmHeight); // one line high
    SetFocus(b);
    EXPECT_EQ(Notes(true), (std::vector<std::string>{"EN_SETFOCUS 1", "EN_KILLFOCUS 1", "EN_SETFOCUS 2"}));
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    EXPECT_EQ(gui.hwndCaret, b);
    // The caret blinks by inversion: on after focusing, off one period later.
    Settle();
    ASSERT_TRUE(GetCaretPos(&caret));
    const COLORREF on = ClientPixel(b, caret.x, caret.y + 2);
    zyn::base::Clock::Advance(GetCaretBlinkTime());
    Pump();
    const COLORREF off = ClientPixel(b, caret.x, caret.y + 2);
    EXPECT_EQ(on, RGB(255, 255, 255) ^ off) << "inverted";
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(EditTest, PaintsWithTheParentsColoursAndShowsTheSelection)
{
    constexpr COLORREF kBack = RGB(10, 100, 200), kText = RGB(250, 250, 0);
    HBRUSH back = CreateSolidBrush(kBack);
    std::vector<UINT> asked;
    rec().SetHandler([&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m != WM_CTLCOLOREDIT && m != WM_CTLCOLORSTATIC)
            return false;
        asked.push_back(m);
        SetTextColor(reinterpret_cast<HDC>(wp), kText);
        r = reinterpret_cast<LRESULT>(back);
        return true;
    });
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL | WS_BORDER, 10, 10, 200, 30, 100, L"abcd");
    Settle();
    EXPECT_EQ(asked, std::vector<UINT>{WM_CTLCOLOREDIT});
    RECT client{};
    GetClientRect(e, &client);
    EXPECT_EQ(ClientPixel(e, client.right - 2, client.bottom - 2), kBack);
    RECT fmt{};
    SendMessageW(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
    const int lh = Metrics(nullptr).tmHeight;
    const RECT textArea{fmt.left, fmt.top, fmt.left + Extent(L"abcd", 4), fmt.top + lh};
    RECT textBox = BoxOfColor(e, textArea, kText);
    EXPECT_FALSE(IsRectEmpty(&textBox)) << "the text is drawn in the parent's colour";
    // WS_BORDER: a one-pixel frame in the window-frame colour around the client area.
    RECT wr{};
    GetWindowRect(e, &wr);
    EXPECT_EQ(client.right, wr.right - wr.left - 2);
    EXPECT_EQ(Pixel(wr.left, wr.top + 5), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(Pixel(wr.right - 1, wr.bottom - 1), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(Pixel(wr.left + 1, wr.top + 1), kBack);
    // The selection of characters 1..3, shown while focused: highlight from the left of
    // the second character to the right of the third, one line high.
    SetFocus(e);
    SendMessageW(e, EM_SETSEL, 1, 3);
    Settle();
    const RECT sel{Extent(L"abcd", 1) + fmt.left, fmt.top, Extent(L"abcd", 3) + fmt.left, fmt.top + lh};
    RECT box = BoxOfColor(e, client, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_TRUE(EqualRect(&box, &sel)) << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    // Without the focus (and ES_NOHIDESEL) the selection is not shown.
    SetFocus(parent);
    Settle();
    box = BoxOfColor(e, client, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_TRUE(IsRectEmpty(&box));
    // Read-only and disabled edits ask for the static colours.
    asked.clear();
    SendMessageW(e, EM_SETREADONLY, TRUE, 0);
    Settle();
    EXPECT_EQ(asked, std::vector<UINT>{WM_CTLCOLORSTATIC});
    SendMessageW(e, EM_SETREADONLY, FALSE, 0);
    EnableWindow(e, FALSE);
    asked.clear();
    Settle();
    EXPECT_EQ(asked, std::vector<UINT>{WM_CTLCOLORSTATIC});
    textBox = BoxOfColor(e, textArea, kText);
    EXPECT_TRUE(IsRectEmpty(&textBox)) << "disabled text is gray";
    textBox = BoxOfColor(e, textArea, GetSysColor(COLOR_GRAYTEXT));
    EXPECT_FALSE(IsRectEmpty(&textBox));
    DestroyWindow(e);
    DeleteObject(back);
}

TEST_F(EditTest, MultiLineWrapsScrollsAndReportsScrollBars)
{
    const int lh = Metrics(nullptr).tmHeight;
    const int w = Extent(L"word word", 9) + 4; // room for "word word" but not a third word
    HWND e = Ctl(L"Edit", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 10, 10, w + GetSystemMetrics(SM_CXVSCROLL),
        3 * lh);
    SetWindowTextW(e, L"word word word word word word\r\nend");
    // Wrapped after each second word's blank: "word word " x3, then "end".
    EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 1, 0), 10);
    EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 3, 0), 31);
    EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, 10, 0), 1) << "a position at a wrap starts the next line";
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 3);
    EXPECT_EQ(si.nPage, 3u);
    // EM_LINESCROLL stops with the last line at the bottom.
    EXPECT_TRUE(SendMessageW(e, EM_LINESCROLL, 0, 10));
    EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    EXPECT_EQ(GetScrollPos(e, SB_VERT), 1);
    EXPECT_EQ(PosOf(e, 31).y, 2 * lh);
    // The bar's own arrow scrolls, telling the parent first.
    ClearLog();
    SendMessageW(e, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(Notes(), std::vector<std::string>{"EN_VSCROLL"});
    EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // The caret going below the view scrolls it.
    SetFocus(e);
    SendMessageW(e, EM_SETSEL, 0, 0);
    Chord({VK_CONTROL}, VK_END);
    Pump();
    EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    // Up keeps the column: from the end of "end" to the same x on the line above.
    Key(VK_UP);
    Pump();
    const LRESULT back = SendMessageW(e, EM_CHARFROMPOS, 0, MAKELPARAM(PosOf(e, 31).x + Extent(L"end", 3), PosOf(e, 20).y));
    EXPECT_EQ(Sel(e).first, LOWORD(back));
    EXPECT_EQ(HIWORD(back), 2);
    // Enter breaks the line with CR LF.
    SendMessageW(e, EM_SETSEL, 31, 31);
    Key(VK_RETURN);
    Pump();
    wchar_t buf[64] = {};
    GetWindowTextW(e, buf, 64);
    EXPECT_EQ(std::wstring(buf).substr(29), L"\r\n\r\nend");
    DestroyWindow(e);
}

TEST_F(EditTest, PositionsAndMarginsAndAlignment)
{
    HWND e = Ctl(L"Edit", ES_MULTILINE | ES_AUTOHSCROLL, 10, 10, 200, 100, 100, L"ab\r\ncd");
    const int lh = Metrics(nullptr).tmHeight;
    EXPECT_EQ(SendMessageW(e, EM_GETMARGINS, 0, 0), 0) << "no margins with the system font";
    SendMessageW(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(7, 9));
    EXPECT_EQ(SendMessageW(e, EM_GETMARGINS, 0, 0), MAKELONG(7, 9));
    RECT fmt{}, client{};
    SendMessageW(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
    GetClientRect(e, &client);
    EXPECT_EQ(fmt.left, 7);
    EXPECT_EQ(fmt.right, client.right - 9);
    EXPECT_EQ(PosOf(e, 1).x, 7 + Extent(L"a", 1));
    EXPECT_EQ(PosOf(e, 4).y, lh);
    EXPECT_EQ(SendMessageW(e, EM_POSFROMCHAR, 6, 0), -1) << "no character at the end";
    // EM_CHARFROMPOS takes the nearest boundary and names the line.
    const LRESULT hit = SendMessageW(e, EM_CHARFROMPOS, 0, MAKELPARAM(7 + Extent(L"c", 1) - 1, lh + 1));
    EXPECT_EQ(LOWORD(hit), 5);
    EXPECT_EQ(HIWORD(hit), 1);
    const LRESULT below = SendMessageW(e, EM_CHARFROMPOS, 0, MAKELPARAM(500, 90));
    EXPECT_EQ(LOWORD(below), 6);
    // EM_SETRECTNP moves the text; a null rectangle brings the default back.
    RECT r{20, 30, 150, 90};
    SendMessageW(e, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(PosOf(e, 0).x, 20);
    EXPECT_EQ(PosOf(e, 0).y, 30);
    SendMessageW(e, EM_SETRECT, 0, 0);
    EXPECT_EQ(PosOf(e, 0).x, 7);
    DestroyWindow(e);
    // Centred and right-aligned lines.
    for (DWORD align : {ES_CENTER, ES_RIGHT}) {
        HWND c = Ctl(L"Edit", ES_MULTILINE | align, 10, 120, 200, 40, 100, L"abc");
        RECT cf{};
        SendMessageW(c, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&cf));
        const int room = cf.right - cf.left - Extent(L"abc", 3);
        EXPECT_EQ(PosOf(c, 0).x, cf.left + (align == ES_CENTER ? room / 2 : room - 1)) << align;
        DestroyWindow(c);
    }
}

// Setting and showing several megabytes costs time in proportion to their size.
TEST_F(EditTest, MegabytesOfTextAreSetAndShownInLinearTime)
{
    HWND e = Ctl(L"Edit", ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL, 10, 10, 300, 200);
    const std::wstring line = L"a line of 20 chars\r\n";
    std::wstring small;
    for (int i = 0; i < 60'000; ++i)
        small += line;
    std::wstring large;
    for (int i = 0; i < 4; ++i)
        large += small;
    auto timeIt = [&](const std::wstring& text) {
        return BestSeconds([&] {
            SetWindowTextW(e, text.c_str());
            SendMessageW(e, EM_SETSEL, static_cast<WPARAM>(text.size() / 2), static_cast<LPARAM>(text.size() / 2));
            SendMessageW(e, EM_SCROLLCARET, 0, 0);
            UpdateWindow(e);
        });
    };
    const double a = timeIt(small), b = timeIt(large);
    EXPECT_LT(b, 9 * a + 0.05) << a << " s for 1.2 MB, " << b << " s for 4.8 MB";
    EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), 240'001); // the last line is empty
    // Beyond 65535 lines the scroll bar still knows where it is.
    EXPECT_EQ(GetScrollPos(e, SB_VERT), SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(GetScrollPos(e, SB_VERT), 0xFFFF);
    DestroyWindow(e);
}

} // namespace
} // namespace zyn::test
