// Changing an edit control's text (limits, undo, the clipboard) and the keys and mouse
// that drive it.
#include <cstring>

#include "platform/base/charcase.h"
#include "platform/base/globalmem.h"
#include "platform/base/utf16.h"
#include "platform/user/clipboard.h"
#include "platform/user/combobox_internal.h"
#include "platform/user/edit.h"
#include "platform/user/edit_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

bool ReadOnly(const EditState& s) { return (s.style & ES_READONLY) != 0; }

// The longest prefix of `text` of at most `room` characters that does not split a CR LF.
size_t FitPrefix(const std::wstring& text, size_t room)
{
    size_t n = std::min(room, text.size());
    if (n > 0 && n < text.size() && text[n - 1] == L'\r' && text[n] == L'\n')
        --n;
    return n;
}

void ConvertCase(const EditState& s, std::wstring& text)
{
    if (s.style & ES_UPPERCASE)
        for (auto& c : text)
            c = base::ToUpperChar(c);
    else if (s.style & ES_LOWERCASE)
        for (auto& c : text)
            c = base::ToLowerChar(c);
}

void RecordUndo(EditState& s, EditUndo::Kind kind, int32_t pos, const std::wstring& removed, int32_t inserted)
{
    EditUndo& u = s.undo;
    if (kind == EditUndo::Kind::Typing && u.kind == kind && removed.empty() && pos == u.pos + u.inserted) {
        u.inserted += inserted;
        return;
    }
    if (kind == EditUndo::Kind::Backspace && u.kind == kind && inserted == 0 && u.inserted == 0 &&
        pos + static_cast<int32_t>(removed.size()) == u.pos) {
        u.removed.insert(0, removed);
        u.pos = pos;
        return;
    }
    if (kind == EditUndo::Kind::Delete && u.kind == kind && inserted == 0 && u.inserted == 0 && pos == u.pos) {
        u.removed += removed;
        return;
    }
    u = EditUndo{kind == EditUndo::Kind::None ? EditUndo::Kind::Other : kind, pos, removed, inserted};
}

// After a change: scroll to the caret and schedule the repaint.
void AfterChange(EditState& s)
{
    s.goalX = -1;
    ScrollToCaret(s);
    UpdateScrollBars(s);
    Redraw(s);
    UpdateCaret(s);
}

// Whether the text still fits where the style says it must (single-line without
// ES_AUTOHSCROLL: the width; multi-line without ES_AUTOVSCROLL: the visible lines).
bool Fits(EditState& s)
{
    if (!s.Multi())
        return (s.style & ES_AUTOHSCROLL) || s.text.LineWidth(0) < std::max<int>(1, s.fmt.right - s.fmt.left);
    return (s.style & ES_AUTOVSCROLL) || s.text.LineCount() <= VisibleLines(s);
}

} // namespace

void NotifyChanged(EditState& s)
{
    Notify(s.hwnd, EN_UPDATE);
    if (!IsWindow(s.hwnd))
        return;
    UpdateWindow(s.hwnd);
    if (IsWindow(s.hwnd))
        Notify(s.hwnd, EN_CHANGE);
}

bool ReplaceSel(EditState& s, std::wstring text, bool undoable, EditUndo::Kind kind, bool user)
{
    const int32_t pos = s.SelStart();
    const int32_t count = s.SelEnd() - pos;
    bool maxText = false;
    if (user) {
        ConvertCase(s, text);
        const int64_t room = std::max<int64_t>(0, int64_t(s.limit) - (int64_t(s.text.Length()) - count));
        if (int64_t(text.size()) > room) {
            maxText = true;
            if (kind == EditUndo::Kind::Typing) {
                Notify(s.hwnd, EN_MAXTEXT);
                return false;
            }
            text.resize(FitPrefix(text, static_cast<size_t>(room)));
        }
    }
    if (text.empty() && count == 0) {
        if (maxText)
            Notify(s.hwnd, EN_MAXTEXT);
        return false;
    }
    std::wstring removed;
    try {
        removed = s.text.Text().substr(static_cast<size_t>(pos), static_cast<size_t>(count));
        s.text.Replace(pos, count, text);
    } catch (const std::bad_alloc&) {
        Notify(s.hwnd, EN_ERRSPACE);
        return false;
    }
    const auto inserted = static_cast<int32_t>(text.size());
    if (user && !Fits(s)) {
        s.text.Replace(pos, inserted, removed);
        Notify(s.hwnd, EN_MAXTEXT);
        return false;
    }
    if (undoable)
        RecordUndo(s, kind, pos, removed, inserted);
    else
        s.undo = EditUndo{};
    s.anchor = s.caret = pos + inserted;
    s.modified = true;
    AfterChange(s);
    if (maxText) {
        Notify(s.hwnd, EN_MAXTEXT);
        if (!IsWindow(s.hwnd))
            return true;
    }
    NotifyChanged(s);
    return true;
}

bool Undo(EditState& s)
{
    if (s.undo.kind == EditUndo::Kind::None)
        return false;
    const EditUndo u = s.undo;
    const int32_t len = s.text.Length();
    const int32_t pos = std::clamp(u.pos, 0, len);
    const int32_t count = std::clamp(u.inserted, 0, len - pos);
    const std::wstring current = s.text.Text().substr(static_cast<size_t>(pos), static_cast<size_t>(count));
    s.text.Replace(pos, count, u.removed);
    // Undoing again puts back what this undo took out.
    s.undo = EditUndo{EditUndo::Kind::Other, pos, current, static_cast<int32_t>(u.removed.size())};
    s.anchor = pos;
    s.caret = pos + static_cast<int32_t>(u.removed.size());
    s.modified = true;
    AfterChange(s);
    NotifyChanged(s);
    return true;
}

void CopySel(EditState& s)
{
    if (!s.HasSel() || (!s.Multi() && (s.style & ES_PASSWORD)))
        return;
    const std::wstring sel =
        s.text.Text().substr(static_cast<size_t>(s.SelStart()), static_cast<size_t>(s.SelEnd() - s.SelStart()));
    std::vector<uint8_t> bytes = base::ToUtf16LE(sel);
    bytes.push_back(0);
    bytes.push_back(0);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h)
        return;
    if (void* p = GlobalLock(h)) {
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    if (!OpenClipboard(s.hwnd)) {
        GlobalFree(h);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, h))
        GlobalFree(h);
    CloseClipboard();
}

void ClearSel(EditState& s)
{
    if (ReadOnly(s) || !s.HasSel())
        return;
    ReplaceSel(s, L"", true, EditUndo::Kind::Other, false);
}

void CutSel(EditState& s)
{
    if (ReadOnly(s) || (!s.Multi() && (s.style & ES_PASSWORD)) || !s.HasSel())
        return;
    CopySel(s);
    ClearSel(s);
}

void Paste(EditState& s)
{
    if (ReadOnly(s)) {
        Beep();
        return;
    }
    if (!OpenClipboard(s.hwnd))
        return;
    std::wstring text;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        const SIZE_T size = GlobalSize(h);
        if (const auto* p = static_cast<const uint8_t*>(GlobalLock(h))) {
            size_t units = size / 2;
            for (size_t i = 0; i < units; ++i)
                if (p[2 * i] == 0 && p[2 * i + 1] == 0) {
                    units = i;
                    break;
                }
            text = base::FromUtf16LE(std::span<const uint8_t>(p, units * 2));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    if (!s.Multi()) {
        // One line only: the text up to the first line break.
        const size_t brk = text.find_first_of(L"\r\n");
        if (brk != std::wstring::npos)
            text.resize(brk);
    }
    if (!text.empty())
        ReplaceSel(s, std::move(text), true, EditUndo::Kind::Other, true);
}

void MoveCaret(EditState& s, int32_t pos, bool extend)
{
    pos = std::clamp(pos, 0, s.text.Length());
    const bool hadSel = SelectionShown(s);
    s.caret = pos;
    if (!extend)
        s.anchor = pos;
    if (hadSel || SelectionShown(s))
        Redraw(s);
    ScrollToCaret(s);
}

void OnKeyDown(EditState& s, WPARAM vk)
{
    const bool shift = KeyIsDown(VK_SHIFT);
    const bool ctrl = KeyIsDown(VK_CONTROL);
    const EditText& t = s.text;
    const int32_t line = t.LineFromChar(s.caret);
    switch (static_cast<int>(vk)) {
    case VK_UP:
    case VK_DOWN:
        if (s.Multi()) {
            const int32_t target = std::clamp<int32_t>(line + (vk == VK_UP ? -1 : 1), 0, t.LineCount() - 1);
            const int goal = s.goalX >= 0 ? s.goalX : LineLeft(s, line) + t.XOf(line, s.caret);
            MoveCaret(s, t.CharAt(target, goal - LineLeft(s, target)), shift);
            s.goalX = goal;
            return;
        }
        [[fallthrough]];
    case VK_LEFT:
    case VK_RIGHT: {
        const bool back = vk == VK_LEFT || vk == VK_UP;
        s.goalX = -1;
        if (!shift && !ctrl && s.HasSel()) {
            MoveCaret(s, back ? s.SelStart() : s.SelEnd(), false);
            return;
        }
        int32_t pos;
        if (ctrl)
            pos = back ? t.PrevWordStart(s.caret) : t.NextWordStart(s.caret);
        else
            pos = back ? t.PrevPos(s.caret) : t.NextPos(s.caret);
        MoveCaret(s, pos, shift);
        return;
    }
    case VK_HOME:
        s.goalX = -1;
        MoveCaret(s, ctrl ? 0 : t.Line(line).start, shift);
        return;
    case VK_END:
        s.goalX = -1;
        MoveCaret(s, ctrl ? t.Length() : t.Line(line).start + t.Line(line).length, shift);
        return;
    case VK_PRIOR:
    case VK_NEXT:
        if (s.Multi()) {
            const int vis = VisibleLines(s);
            const int delta = vk == VK_PRIOR ? -vis : vis;
            const int32_t target = std::clamp<int32_t>(line + delta, 0, t.LineCount() - 1);
            const int goal = s.goalX >= 0 ? s.goalX : LineLeft(s, line) + t.XOf(line, s.caret);
            ScrollTo(s, s.firstLine + delta, s.xOffset);
            MoveCaret(s, t.CharAt(target, goal - LineLeft(s, target)), shift);
            s.goalX = goal;
        }
        return;
    case VK_DELETE:
        if (shift && !ctrl) {
            CutSel(s);
            return;
        }
        if (ReadOnly(s)) {
            Beep();
            return;
        }
        if (s.HasSel()) {
            ReplaceSel(s, L"", true, EditUndo::Kind::Other, false);
        } else if (s.caret < t.Length()) {
            s.anchor = t.NextPos(s.caret);
            ReplaceSel(s, L"", true, EditUndo::Kind::Delete, false);
        }
        return;
    case VK_INSERT:
        if (ctrl && !shift)
            CopySel(s);
        else if (shift && !ctrl)
            Paste(s);
        return;
    default: return;
    }
}

void OnChar(EditState& s, wchar_t c)
{
    switch (c) {
    case 0x01: // Ctrl+A
        s.anchor = 0;
        MoveCaret(s, s.text.Length(), true);
        return;
    case 0x03: CopySel(s); return;
    case 0x16: Paste(s); return;
    case 0x18: CutSel(s); return;
    case 0x1A: Undo(s); return;
    case 0x08: // Backspace
        if (ReadOnly(s)) {
            Beep();
            return;
        }
        if (s.HasSel()) {
            ReplaceSel(s, L"", true, EditUndo::Kind::Other, false);
        } else if (s.caret > 0) {
            s.anchor = s.text.PrevPos(s.caret);
            ReplaceSel(s, L"", true, EditUndo::Kind::Backspace, false);
        }
        return;
    case L'\r':
    case L'\n':
    case L'\t':
        if (!s.Multi() || s.combo)
            return;
        if (ReadOnly(s)) {
            Beep();
            return;
        }
        ReplaceSel(s, c == L'\t' ? L"\t" : L"\r\n", true, EditUndo::Kind::Typing, true);
        return;
    default: break;
    }
    if (c < 0x20 || c == 0x7F)
        return;
    if (ReadOnly(s) || ((s.style & ES_NUMBER) && !(c >= L'0' && c <= L'9'))) {
        Beep();
        return;
    }
    ReplaceSel(s, std::wstring(1, c), true, EditUndo::Kind::Typing, true);
}

void OnMouseDown(EditState& s, POINT pt, bool shift)
{
    if (!s.focused) {
        SetFocus(s.hwnd);
        if (!IsWindow(s.hwnd))
            return;
    }
    s.goalX = -1;
    MoveCaret(s, CharFromPoint(s, pt), shift);
    s.selecting = true;
    SetCapture(s.hwnd);
}

void OnMouseMove(EditState& s, POINT pt)
{
    if (!s.selecting || GetCapture() != s.hwnd)
        return;
    const int32_t pos = CharFromPoint(s, pt);
    if (pos != s.caret)
        MoveCaret(s, pos, true);
    const bool outside = pt.x < s.fmt.left || pt.x >= s.fmt.right || pt.y < s.fmt.top || pt.y >= s.fmt.bottom;
    if (outside)
        SetTimer(s.hwnd, kEditScrollTimer, 100, nullptr);
    else
        KillTimer(s.hwnd, kEditScrollTimer);
}

void OnMouseUp(EditState& s)
{
    s.selecting = false;
    KillTimer(s.hwnd, kEditScrollTimer);
    if (GetCapture() == s.hwnd)
        ReleaseCapture();
}

void OnDoubleClick(EditState& s, POINT pt)
{
    int32_t a = 0, b = 0;
    s.text.WordAt(CharFromPoint(s, pt), &a, &b);
    s.anchor = a;
    MoveCaret(s, b, true);
}

void OnAutoScrollTimer(EditState& s)
{
    if (!s.selecting || GetCapture() != s.hwnd) {
        KillTimer(s.hwnd, kEditScrollTimer);
        return;
    }
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(s.hwnd, &pt);
    int32_t first = s.firstLine;
    int x = s.xOffset;
    if (pt.y < s.fmt.top)
        --first;
    else if (pt.y >= s.fmt.bottom)
        ++first;
    if (pt.x < s.fmt.left)
        x -= std::max(1, s.fi.aveWidth);
    else if (pt.x >= s.fmt.right)
        x += std::max(1, s.fi.aveWidth);
    ScrollTo(s, first, x);
    const int32_t pos = CharFromPoint(s, pt);
    s.caret = std::clamp(pos, 0, s.text.Length());
    Redraw(s);
    UpdateCaret(s);
}

} // namespace zyn::user::ctl
