// The "Edit" window class: its procedure and the messages hosts send it.
#include "platform/user/edit.h"

#include <cstring>

#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/caret.h"
#include "platform/user/caret_internal.h"
#include "platform/user/combobox_internal.h"
#include "platform/user/dialog.h"
#include "platform/user/edit_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/stdctl_classes.h"
#include "platform/user/styles.h"
#include "platform/user/user_types.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

StateMap<EditState>& States()
{
    static StateMap<EditState> m;
    return m;
}

constexpr uint32_t kMaxSingle = 0x7FFFFFFE;
constexpr uint32_t kMaxMulti = 0xFFFFFFFFu;

// The margins EC_USEFONTINFO (and WM_SETFONT) give: half the font's average character
// width as dialog units measure it (3 pixels for the 8-point dialog font) for a TrueType or
// vector font, none for a raster font or the system font. A control too narrow for two
// average characters between such margins keeps the margins it has.
void UseFontMargins(EditState& s, WPARAM which)
{
    const int m = s.font && s.fi.scalable ? s.fi.baseUnitX / 2 : 0;
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    if (!IsRectEmpty(&rc) && rc.right - rc.left < 2 * m + 2 * s.fi.baseUnitX)
        return;
    if (which & EC_LEFTMARGIN)
        s.leftMargin = m;
    if (which & EC_RIGHTMARGIN)
        s.rightMargin = m;
}

void SetFont(EditState& s, HFONT font, bool redraw)
{
    s.font = font;
    s.fi = MeasureFont(font);
    s.widths.clear();
    s.lastPage = 0xFFFFFFFFu;
    s.lastWidths = nullptr;
    UseFontMargins(s, EC_LEFTMARGIN | EC_RIGHTMARGIN);
    if (!s.fmtSet)
        ResetFormatRect(s);
    Reformat(s);
    if (s.focused) {
        CreateCaret(s.hwnd, nullptr, 1, LineHeight(s));
        ShowCaret(s.hwnd);
    }
    ScrollToCaret(s);
    if (redraw)
        Redraw(s);
}

void SetText(EditState& s, const wchar_t* text)
{
    try {
        s.text.SetText(text ? text : L"");
    } catch (const std::bad_alloc&) {
        Notify(s.hwnd, EN_ERRSPACE);
        return;
    }
    s.anchor = s.caret = 0;
    s.firstLine = 0;
    s.xOffset = 0;
    s.goalX = -1;
    s.modified = false;
    s.undo = EditUndo{};
    UpdateScrollBars(s);
    UpdateCaret(s);
    Redraw(s);
}

LRESULT OnCreate(EditState& s, const CREATESTRUCTW* cs)
{
    s.style = static_cast<DWORD>(GetWindowLongPtrW(s.hwnd, GWL_STYLE));
    if (s.Multi()) {
        // A multi-line edit shows no password characters.
        s.style &= ~ES_PASSWORD;
    }
    s.fi = MeasureFont(nullptr);
    ResetFormatRect(s);
    Reformat(s);
    const wchar_t* text = cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : L"";
    s.text.SetText(text);
    UpdateScrollBars(s);
    return 0;
}

void OnSetFocus(EditState& s)
{
    s.focused = true;
    CreateCaret(s.hwnd, nullptr, 1, LineHeight(s));
    UpdateCaret(s);
    ShowCaret(s.hwnd);
    if (s.HasSel() && !(s.style & ES_NOHIDESEL))
        Redraw(s);
    Notify(s.hwnd, EN_SETFOCUS);
}

void OnKillFocus(EditState& s, HWND to)
{
    s.focused = false;
    s.focusTo = to;
    HWND owner = nullptr;
    RECT rc{};
    bool blinking = false;
    if (CaretInfo(&owner, &rc, &blinking) && owner == s.hwnd)
        DestroyCaret();
    if (s.selecting)
        OnMouseUp(s);
    if (s.HasSel() && !(s.style & ES_NOHIDESEL))
        Redraw(s);
    Notify(s.hwnd, EN_KILLFOCUS);
    s.focusTo = nullptr;
}

LRESULT GetSel(const EditState& s, WPARAM wp, LPARAM lp)
{
    const int32_t a = s.SelStart(), b = s.SelEnd();
    if (wp)
        *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(a);
    if (lp)
        *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(b);
    if (a > 0xFFFF || b > 0xFFFF)
        return -1;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(a), static_cast<WORD>(b)));
}

void SetSel(EditState& s, int32_t start, int32_t end)
{
    const int32_t len = s.text.Length();
    const bool wasShown = SelectionShown(s);
    if (start == -1) {
        s.anchor = s.caret; // deselect; the caret stays
    } else {
        if (end < 0)
            end = len;
        s.anchor = std::clamp(start, 0, len);
        s.caret = std::clamp(end, 0, len);
    }
    s.goalX = -1;
    if (wasShown || SelectionShown(s))
        Redraw(s);
    UpdateCaret(s); // placed, never scrolled to
}

LRESULT GetLine(EditState& s, WPARAM line, LPARAM buffer)
{
    auto* buf = reinterpret_cast<wchar_t*>(buffer);
    if (!buf)
        return 0;
    WORD size = 0;
    std::memcpy(&size, buf, sizeof size); // the first WORD holds the buffer's size
    const int32_t l = s.Multi() ? static_cast<int32_t>(line) : 0;
    if (l < 0 || l >= s.text.LineCount())
        return 0;
    const EditLine& el = s.text.Line(l);
    const int32_t n = std::min<int32_t>(size, el.length);
    std::copy_n(s.text.Text().data() + el.start, n, buf);
    return n;
}

LRESULT LineLength(EditState& s, WPARAM wp)
{
    if (!s.Multi())
        return s.text.Length();
    const auto idx = static_cast<int32_t>(static_cast<INT_PTR>(wp));
    if (idx == -1) {
        // Characters on the selected lines that are not selected.
        const EditLine& a = s.text.Line(s.text.LineFromChar(s.SelStart()));
        const EditLine& b = s.text.Line(s.text.LineFromChar(s.SelEnd()));
        return (s.SelStart() - a.start) + std::max(0, b.start + b.length - s.SelEnd());
    }
    if (idx < 0 || idx > s.text.Length())
        return 0;
    return s.text.Line(s.text.LineFromChar(idx)).length;
}

LRESULT LineFromChar(EditState& s, WPARAM wp)
{
    if (!s.Multi())
        return 0;
    const auto idx = static_cast<int32_t>(static_cast<INT_PTR>(wp));
    return s.text.LineFromChar(idx < 0 ? (s.HasSel() ? s.SelStart() : s.caret) : std::min(idx, s.text.Length()));
}

LRESULT LineIndex(EditState& s, WPARAM wp)
{
    const auto line = static_cast<int32_t>(static_cast<INT_PTR>(wp));
    if (line == -1)
        return s.text.Line(s.text.LineFromChar(s.caret)).start;
    if (line < 0 || line >= s.text.LineCount())
        return -1;
    return s.text.Line(line).start;
}

LRESULT PosFromChar(EditState& s, WPARAM wp)
{
    const auto idx = static_cast<int32_t>(static_cast<INT_PTR>(wp));
    if (idx < 0 || idx >= s.text.Length())
        return -1;
    const POINT pt = PosOfChar(s, idx);
    return static_cast<LRESULT>(static_cast<uint32_t>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
}

LRESULT CharFromPos(EditState& s, LPARAM lp)
{
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const int32_t pos = CharFromPoint(s, pt);
    const int32_t line = s.text.LineFromChar(pos);
    return static_cast<LRESULT>(static_cast<uint32_t>(MAKELONG(static_cast<WORD>(pos), static_cast<WORD>(line))));
}

void SetMargins(EditState& s, WPARAM which, LPARAM lp)
{
    if (which == EC_USEFONTINFO) {
        UseFontMargins(s, EC_LEFTMARGIN | EC_RIGHTMARGIN);
    } else {
        if (which & EC_LEFTMARGIN)
            s.leftMargin = LOWORD(lp);
        if (which & EC_RIGHTMARGIN)
            s.rightMargin = HIWORD(lp);
    }
    if (!s.fmtSet) {
        ResetFormatRect(s);
        Reformat(s);
        ScrollToCaret(s);
        Redraw(s);
    }
}

void SetRect(EditState& s, const RECT* r, bool redraw)
{
    if (r) {
        s.fmt = *r;
        if (s.fmt.right < s.fmt.left)
            s.fmt.right = s.fmt.left;
        if (s.fmt.bottom < s.fmt.top)
            s.fmt.bottom = s.fmt.top;
        s.fmtSet = true;
    } else {
        s.fmtSet = false;
        ResetFormatRect(s);
    }
    Reformat(s);
    ScrollTo(s, s.firstLine, ClampSingleLineOffset(s, s.xOffset));
    if (redraw)
        Redraw(s);
}

LRESULT SetTabStops(EditState& s, WPARAM count, LPARAM lp)
{
    if (!s.Multi())
        return FALSE;
    s.tabStopsDlu.clear();
    const auto* stops = reinterpret_cast<const UINT*>(lp);
    if (count > 0 && !stops)
        return FALSE;
    for (WPARAM i = 0; i < count; ++i)
        s.tabStopsDlu.push_back(static_cast<int>(stops[i]));
    Reformat(s);
    Redraw(s);
    return TRUE;
}

LRESULT EmScroll(EditState& s, WPARAM code)
{
    if (!s.Multi())
        return FALSE;
    if (code != SB_LINEUP && code != SB_LINEDOWN && code != SB_PAGEUP && code != SB_PAGEDOWN)
        return FALSE;
    const int32_t before = s.firstLine;
    OnVScroll(s, static_cast<WORD>(code), false);
    return MAKELONG(static_cast<WORD>(s.firstLine - before), TRUE);
}

LRESULT DlgCode(EditState& s, LPARAM lp)
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (s.Multi() && (s.style & ES_WANTRETURN))
        code |= DLGC_WANTALLKEYS;
    if (s.combo)
        code |= ComboDlgCode(s.combo, reinterpret_cast<const MSG*>(lp));
    return code;
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto s = States().Create(hwnd);
        s->hwnd = hwnd;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto sp = States().Get(hwnd);
    if (!sp)
        return DefWindowProcW(hwnd, msg, wp, lp);
    EditState& s = *sp;
    switch (msg) {
    case WM_CREATE: return OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lp));
    case WM_NCDESTROY:
        States().Remove(hwnd);
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_DESTROY:
        KillTimer(hwnd, kEditScrollTimer);
        return 0;
    case WM_GETDLGCODE: return DlgCode(s, lp);
    case WM_SETTEXT: {
        SetText(s, reinterpret_cast<const wchar_t*>(lp));
        // A multi-line edit reports nothing of text set this way; a single-line one
        // reports it as a change.
        if (!s.Multi())
            NotifyChanged(s);
        return TRUE;
    }
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(lp);
        if (!buf || wp == 0)
            return 0;
        const size_t n = std::min(s.text.Text().size(), static_cast<size_t>(wp - 1));
        std::copy_n(s.text.Text().data(), n, buf);
        buf[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return s.text.Length();
    case WM_SETFONT: SetFont(s, reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_SIZE:
        if (!s.fmtSet) {
            ResetFormatRect(s);
            if (Wraps(s))
                Reformat(s);
        }
        ScrollTo(s, s.firstLine, ClampSingleLineOffset(s, s.xOffset));
        Redraw(s);
        return 0;
    case WM_STYLECHANGED:
        if (wp == static_cast<WPARAM>(GWL_STYLE)) {
            s.style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
            if (s.Multi())
                s.style &= ~ES_PASSWORD;
            Reformat(s);
            Redraw(s);
        }
        return 0;
    case WM_ENABLE: Redraw(s); return 0;
    case WM_ERASEBKGND: return 1; // the background is painted with the text
    case WM_PAINT:
        PaintInFont(hwnd, wp, s.font, [&](HDC dc, const RECT& area) { Paint(s, dc, area); });
        return 0;
    case WM_SETFOCUS: OnSetFocus(s); return 0;
    case WM_KILLFOCUS: OnKillFocus(s, reinterpret_cast<HWND>(wp)); return 0;
    case WM_KEYDOWN:
        if (s.combo && ComboEditKey(s.combo, msg, wp))
            return 0;
        OnKeyDown(s, wp);
        return 0;
    case WM_SYSKEYDOWN:
        // Taken or not, DefWindowProc sees it, so Alt+Down does not count as Alt alone.
        if (s.combo && ComboEditKey(s.combo, msg, wp))
            DefWindowProcW(hwnd, msg, wp, lp);
        else
            return DefWindowProcW(hwnd, msg, wp, lp);
        return 0;
    case WM_CHAR: OnChar(s, static_cast<wchar_t>(wp)); return 0;
    case WM_LBUTTONDOWN:
        OnMouseDown(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, (wp & MK_SHIFT) != 0);
        return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_MOUSEMOVE: OnMouseMove(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP: OnMouseUp(s); return 0;
    case WM_CAPTURECHANGED:
        s.selecting = false;
        KillTimer(hwnd, kEditScrollTimer);
        return 0;
    case WM_TIMER:
        if (wp == kEditScrollTimer) {
            OnAutoScrollTimer(s);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_MOUSEWHEEL:
        if (s.Multi()) {
            UINT lines = 3;
            SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
            const int steps = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * static_cast<int>(lines);
            if (steps) {
                Notify(hwnd, EN_VSCROLL);
                if (IsWindow(hwnd))
                    ScrollTo(s, s.firstLine - steps, s.xOffset);
            }
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_VSCROLL: OnVScroll(s, LOWORD(wp), lp == 0); return 0;
    case WM_HSCROLL: OnHScroll(s, LOWORD(wp), lp == 0); return 0;
    case WM_COPY: CopySel(s); return 0;
    case WM_CUT: CutSel(s); return 0;
    case WM_PASTE: Paste(s); return 0;
    case WM_CLEAR: ClearSel(s); return 0;
    case WM_UNDO:
    case EM_UNDO: {
        const bool done = Undo(s);
        return s.Multi() ? (done ? TRUE : FALSE) : TRUE;
    }
    case EM_CANUNDO: return s.undo.kind != EditUndo::Kind::None;
    case EM_EMPTYUNDOBUFFER: s.undo = EditUndo{}; return 0;
    case EM_GETSEL: return GetSel(s, wp, lp);
    case EM_SETSEL:
        SetSel(s, static_cast<int32_t>(static_cast<INT_PTR>(wp)), static_cast<int32_t>(lp));
        return 0;
    case EM_REPLACESEL: {
        const auto* text = reinterpret_cast<const wchar_t*>(lp);
        ReplaceSel(s, text ? text : L"", wp != 0, EditUndo::Kind::Other, false);
        return 0;
    }
    case EM_GETLINECOUNT: return s.Multi() ? s.text.LineCount() : 1;
    case EM_GETLINE: return GetLine(s, wp, lp);
    case EM_LINEINDEX: return LineIndex(s, wp);
    case EM_LINELENGTH: return LineLength(s, wp);
    case EM_LINEFROMCHAR: return LineFromChar(s, wp);
    case EM_SETREADONLY: {
        LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        style = wp ? (style | ES_READONLY) : (style & ~static_cast<LONG_PTR>(ES_READONLY));
        SetWindowLongPtrW(hwnd, GWL_STYLE, style);
        s.style = wp ? (s.style | ES_READONLY) : (s.style & ~ES_READONLY);
        Redraw(s);
        return TRUE;
    }
    case EM_GETMODIFY: return s.modified ? TRUE : FALSE;
    case EM_SETMODIFY: s.modified = wp != 0; return 0;
    case EM_SCROLLCARET: ScrollToCaret(s); return TRUE;
    case EM_GETRECT:
        if (lp)
            *reinterpret_cast<RECT*>(lp) = s.fmt;
        return 0;
    case EM_SETRECT: SetRect(s, reinterpret_cast<const RECT*>(lp), true); return 0;
    case EM_SETRECTNP: SetRect(s, reinterpret_cast<const RECT*>(lp), false); return 0;
    case EM_SETMARGINS: SetMargins(s, wp, lp); return 0;
    case EM_GETMARGINS: return MAKELONG(static_cast<WORD>(s.leftMargin), static_cast<WORD>(s.rightMargin));
    case EM_SETLIMITTEXT:
        s.limit = wp ? static_cast<uint32_t>(std::min<WPARAM>(wp, kMaxMulti)) : (s.Multi() ? kMaxMulti : kMaxSingle);
        return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(s.limit);
    case EM_POSFROMCHAR: return PosFromChar(s, wp);
    case EM_CHARFROMPOS: return CharFromPos(s, lp);
    case EM_SETPASSWORDCHAR: {
        if (s.Multi())
            return 0;
        s.passwordChar = static_cast<wchar_t>(wp);
        LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        style = wp ? (style | ES_PASSWORD) : (style & ~static_cast<LONG_PTR>(ES_PASSWORD));
        SetWindowLongPtrW(hwnd, GWL_STYLE, style);
        s.style = wp ? (s.style | ES_PASSWORD) : (s.style & ~ES_PASSWORD);
        Reformat(s);
        ScrollToCaret(s);
        Redraw(s);
        return 0;
    }
    case EM_GETPASSWORDCHAR: return (s.style & ES_PASSWORD) ? s.passwordChar : 0;
    case EM_GETFIRSTVISIBLELINE:
        return s.Multi() ? s.firstLine : s.text.CharAt(0, s.xOffset - (LineLeft(s, 0) + s.xOffset - s.fmt.left));
    case EM_LINESCROLL:
        if (!s.Multi())
            return FALSE;
        ScrollTo(s, s.firstLine + static_cast<int32_t>(lp),
            s.xOffset + static_cast<int>(static_cast<INT_PTR>(wp)) * std::max(1, s.fi.aveWidth));
        return TRUE;
    case EM_SCROLL: return EmScroll(s, wp);
    case EM_SETTABSTOPS: return SetTabStops(s, wp, lp);
    case EM_FMTLINES: return static_cast<LRESULT>(wp != 0);
    case EM_GETTHUMB: return s.firstLine;
    case EM_GETHANDLE:
    case EM_SETHANDLE:
    case EM_SETWORDBREAKPROC:
    case EM_GETWORDBREAKPROC: return 0;
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

std::shared_ptr<EditState> EditOf(HWND hwnd) { return States().Get(hwnd); }

void EditAttachToCombo(HWND edit, HWND combo)
{
    if (auto s = States().Get(edit))
        s->combo = combo;
}

HWND EditKillFocusTarget(HWND edit)
{
    auto s = States().Get(edit);
    return s ? s->focusTo : nullptr;
}

WNDCLASSEXW EditClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = EditProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wc.lpszClassName = L"Edit";
    return wc;
}

} // namespace zyn::user::ctl
