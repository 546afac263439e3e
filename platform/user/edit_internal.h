#pragma once
// The state of an edit control and the functions its files share: edit.cpp (the window
// procedure and its messages), edit_view.cpp (geometry, scrolling, the caret, painting)
// and edit_input.cpp (changing the text, undo, the clipboard, keys and the mouse).
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/edit.h"
#include "platform/user/edit_text.h"
#include "platform/user/stdctl_common.h"

namespace zyn::user::ctl {

struct EditUndo {
    enum class Kind { None, Typing, Backspace, Delete, Other };
    Kind kind = Kind::None;
    int32_t pos = 0;
    std::wstring removed;      // what the change took out (put back by an undo)
    int32_t inserted = 0;      // how much it put in at `pos`
};

struct EditState {
    HWND hwnd = nullptr;
    EditText text;
    DWORD style = 0;
    HFONT font = nullptr;
    FontInfo fi;
    int32_t anchor = 0;        // the fixed end of the selection
    int32_t caret = 0;         // the moving end, where the caret is
    int32_t firstLine = 0;     // multi-line: top visible line
    int xOffset = 0;           // pixels scrolled to the left
    RECT fmt{};                // the formatting rectangle (client coordinates)
    bool fmtSet = false;       // set by EM_SETRECT(NP)
    int leftMargin = 0, rightMargin = 0;
    uint32_t limit = 0x7FFF;
    wchar_t passwordChar = L'*';
    bool modified = false;
    EditUndo undo;
    bool focused = false;
    bool selecting = false;    // the mouse button is down and selecting
    int goalX = -1;            // up/down keep this column
    std::vector<int> tabStopsDlu; // EM_SETTABSTOPS, dialog units
    HWND combo = nullptr;      // the combo box this edit belongs to
    HWND focusTo = nullptr;    // while EN_KILLFOCUS is out: the window taking the focus
    int wrapWidth = 0;         // the width the lines were wrapped at (0: no wrap)
    // Character advances of the current font, in pages of 64 characters measured when
    // first needed (most text uses a page or two).
    std::unordered_map<uint32_t, std::array<int16_t, 64>> widths;
    uint32_t lastPage = 0xFFFFFFFFu;              // the page asked for last (nodes never move)
    const std::array<int16_t, 64>* lastWidths = nullptr;

    bool Multi() const { return (style & ES_MULTILINE) != 0; }
    int32_t SelStart() const { return std::min(anchor, caret); }
    int32_t SelEnd() const { return std::max(anchor, caret); }
    bool HasSel() const { return anchor != caret; }
};

std::shared_ptr<EditState> EditOf(HWND hwnd);
// A combo box makes its edit send keys it wants to it (ComboEditKey).
void EditAttachToCombo(HWND edit, HWND combo);
// During the edit's EN_KILLFOCUS: the window that takes the focus.
HWND EditKillFocusTarget(HWND edit);

// ---- edit_view.cpp -------------------------------------------------------------------------
int CharWidth(EditState& s, wchar_t c);
// Rebuilds the line table for the current style, font, formatting rectangle and tabs.
void Reformat(EditState& s);
void ResetFormatRect(EditState& s);
int LineHeight(const EditState& s);
int VisibleLines(const EditState& s);
// Horizontal pixel where line `line` starts (alignment and scrolling applied).
int LineLeft(EditState& s, int32_t line);
POINT PosOfChar(EditState& s, int32_t pos);
int32_t CharFromPoint(EditState& s, POINT pt);
bool Wraps(const EditState& s);
bool CanScrollH(const EditState& s);
// Scrolls so the caret is visible.
void ScrollToCaret(EditState& s);
// A single-line edit's horizontal offset limited so that no room is left empty on the
// right while text is scrolled off on the left (a wider formatting rectangle, a shorter
// text); other edits' offsets are returned as they are.
int ClampSingleLineOffset(EditState& s, int xOffset);
// Clamps the scroll position to the text, updates the scroll bars, caret and picture.
void ScrollTo(EditState& s, int32_t firstLine, int xOffset);
void UpdateScrollBars(EditState& s);
void UpdateCaret(EditState& s);
void Redraw(EditState& s);
void Paint(EditState& s, HDC dc, const RECT& area);
void OnVScroll(EditState& s, WORD code, bool notify);
void OnHScroll(EditState& s, WORD code, bool notify);
bool SelectionShown(const EditState& s);

// ---- edit_input.cpp ----------------------------------------------------------------------------
// Replaces the selection. `kind` says how the undo buffer takes the change; `undoable`
// false empties it. `user`: typed or pasted (limits refuse or cut it, with EN_MAXTEXT).
// False when nothing changed.
bool ReplaceSel(EditState& s, std::wstring text, bool undoable, EditUndo::Kind kind, bool user);
// EN_UPDATE, repaint, EN_CHANGE.
void NotifyChanged(EditState& s);
bool Undo(EditState& s);
void CopySel(EditState& s);
void CutSel(EditState& s);
void Paste(EditState& s);
void ClearSel(EditState& s);
// Moves the caret (extending the selection when `extend`), scrolling to it.
void MoveCaret(EditState& s, int32_t pos, bool extend);
void OnKeyDown(EditState& s, WPARAM vk);
void OnChar(EditState& s, wchar_t c);
void OnMouseDown(EditState& s, POINT pt, bool shift);
void OnMouseMove(EditState& s, POINT pt);
void OnMouseUp(EditState& s);
void OnDoubleClick(EditState& s, POINT pt);
void OnAutoScrollTimer(EditState& s);
inline constexpr UINT_PTR kEditScrollTimer = 0x5E01;

} // namespace zyn::user::ctl
