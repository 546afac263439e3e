// CEdit.
#include "platform/afx/ctlwrap_edit.h"

#include <algorithm>

#include "platform/afx/ctlwrap_msgs.h"
#include "platform/base/cstring.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace ctl = zyn::afx::ctl;

namespace {
// EC_LEFTMARGIN | EC_RIGHTMARGIN for EM_SETMARGINS.
constexpr WPARAM kBothMargins = 0x0001 | 0x0002;
} // namespace

CEdit::~CEdit() = default;

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"Edit", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::CanUndo() const { return static_cast<BOOL>(SendMessage(ctl::kEmCanUndo)); }
int CEdit::GetLineCount() const { return static_cast<int>(SendMessage(ctl::kEmGetLineCount)); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(SendMessage(ctl::kEmGetModify)); }
void CEdit::SetModify(BOOL bModified) { SendMessage(ctl::kEmSetModify, static_cast<WPARAM>(bModified)); }
void CEdit::GetRect(LPRECT lpRect) const { SendMessage(ctl::kEmGetRect, 0, reinterpret_cast<LPARAM>(lpRect)); }
DWORD CEdit::GetSel() const { return static_cast<DWORD>(SendMessage(ctl::kEmGetSel)); }
void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(ctl::kEmGetSel, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    if (!lpszBuffer || nMaxLength <= 0)
        return 0;
    // EM_GETLINE reads the buffer's size from its first word.
    lpszBuffer[0] = static_cast<wchar_t>(std::min(nMaxLength, 0xFFFF));
    return static_cast<int>(SendMessage(ctl::kEmGetLine, static_cast<WPARAM>(nIndex),
        reinterpret_cast<LPARAM>(lpszBuffer)));
}

int CEdit::GetLine(int nIndex, CString& rString) const
{
    rString.Empty();
    const int nLength = LineLength(LineIndex(nIndex));
    if (nLength <= 0)
        return 0;
    const int got = GetLine(nIndex, rString.GetBuffer(nLength + 1), nLength + 1);
    rString.ReleaseBuffer(std::clamp(got, 0, nLength));
    return rString.GetLength();
}

wchar_t CEdit::GetPasswordChar() const { return static_cast<wchar_t>(SendMessage(ctl::kEmGetPasswordChar)); }
int CEdit::GetFirstVisibleLine() const { return static_cast<int>(SendMessage(ctl::kEmGetFirstVisibleLine)); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(SendMessage(ctl::kEmGetLimitText)); }
DWORD CEdit::GetMargins() const { return static_cast<DWORD>(SendMessage(ctl::kEmGetMargins)); }
CPoint CEdit::PosFromChar(UINT nChar) const
{
    const auto r = static_cast<DWORD>(SendMessage(ctl::kEmPosFromChar, nChar));
    return CPoint(static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r)));
}
int CEdit::CharFromPos(CPoint pt) const
{
    return static_cast<int>(SendMessage(ctl::kEmCharFromPos, 0, MAKELPARAM(pt.x, pt.y)));
}

void CEdit::EmptyUndoBuffer() { SendMessage(ctl::kEmEmptyUndoBuffer); }
BOOL CEdit::FmtLines(BOOL bAddEOL) { return static_cast<BOOL>(SendMessage(ctl::kEmFmtLines, static_cast<WPARAM>(bAddEOL))); }
void CEdit::LimitText(int nChars) { SendMessage(ctl::kEmLimitText, static_cast<WPARAM>(std::max(nChars, 0))); }
void CEdit::SetLimitText(UINT nMax) { SendMessage(ctl::kEmLimitText, nMax); }
int CEdit::LineFromChar(int nIndex) const
{
    return static_cast<int>(SendMessage(ctl::kEmLineFromChar, static_cast<WPARAM>(nIndex)));
}
int CEdit::LineIndex(int nLine) const { return static_cast<int>(SendMessage(ctl::kEmLineIndex, static_cast<WPARAM>(nLine))); }
int CEdit::LineLength(int nLine) const
{
    return static_cast<int>(SendMessage(ctl::kEmLineLength, static_cast<WPARAM>(nLine)));
}
void CEdit::LineScroll(int nLines, int nChars)
{
    SendMessage(ctl::kEmLineScroll, static_cast<WPARAM>(nChars), nLines);
}
void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(ctl::kEmReplaceSel, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText ? lpszNewText : L""));
}
void CEdit::SetPasswordChar(wchar_t ch) { SendMessage(ctl::kEmSetPasswordChar, static_cast<WPARAM>(ch)); }
void CEdit::SetRect(LPCRECT lpRect) { SendMessage(ctl::kEmSetRect, 0, reinterpret_cast<LPARAM>(lpRect)); }
void CEdit::SetRectNP(LPCRECT lpRect) { SendMessage(ctl::kEmSetRectNp, 0, reinterpret_cast<LPARAM>(lpRect)); }
void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll)
{
    SetSel(static_cast<int>(static_cast<short>(LOWORD(dwSelection))), static_cast<int>(static_cast<short>(HIWORD(dwSelection))),
        bNoScroll);
}
void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(ctl::kEmSetSel, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll)
        SendMessage(ctl::kEmScrollCaret);
}
BOOL CEdit::SetTabStops(int nTabStops, LPINT rgTabStops)
{
    return static_cast<BOOL>(SendMessage(ctl::kEmSetTabStops, static_cast<WPARAM>(nTabStops),
        reinterpret_cast<LPARAM>(rgTabStops)));
}
void CEdit::SetTabStops() { SendMessage(ctl::kEmSetTabStops); }
BOOL CEdit::SetTabStops(const int& cxEachStop)
{
    return static_cast<BOOL>(SendMessage(ctl::kEmSetTabStops, 1, reinterpret_cast<LPARAM>(&cxEachStop)));
}
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(SendMessage(ctl::kEmSetReadOnly, static_cast<WPARAM>(bReadOnly))); }
void CEdit::SetMargins(UINT nLeft, UINT nRight) { SendMessage(ctl::kEmSetMargins, kBothMargins, MAKELONG(nLeft, nRight)); }
BOOL CEdit::Undo() { return static_cast<BOOL>(SendMessage(ctl::kEmUndo)); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Paste() { SendMessage(WM_PASTE); }
