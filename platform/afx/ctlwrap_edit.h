#pragma once
// CEdit: a thin wrapper of the "Edit" control; each member sends the control's EM_* (or
// clipboard) message and returns its answer.
#include "platform/afx/wnd.h"

template <class C>
class CStringT;
using CString = CStringT<wchar_t>;

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    ~CEdit() override;

    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- state ------------------------------------------------------------------------------------------------
    BOOL CanUndo() const;
    int GetLineCount() const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    void GetRect(LPRECT lpRect) const;
    // The selection as (start, end) character positions; the packed form answers
    // MAKELONG(start, end), so it holds only positions below 65536.
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    // Line nIndex into a buffer of nMaxLength characters (not terminated; the number of
    // characters copied), or into a string.
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    int GetLine(int nIndex, CString& rString) const;
    wchar_t GetPasswordChar() const;
    int GetFirstVisibleLine() const;
    UINT GetLimitText() const;
    DWORD GetMargins() const;
    CPoint PosFromChar(UINT nChar) const;
    int CharFromPos(CPoint pt) const;

    // ---- operations -----------------------------------------------------------------------------------------
    void EmptyUndoBuffer();
    BOOL FmtLines(BOOL bAddEOL);
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax);
    int LineFromChar(int nIndex = -1) const;
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    void LineScroll(int nLines, int nChars = 0);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void SetPasswordChar(wchar_t ch);
    void SetRect(LPCRECT lpRect);
    void SetRectNP(LPCRECT lpRect);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops);
    void SetTabStops();
    BOOL SetTabStops(const int& cxEachStop);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetMargins(UINT nLeft, UINT nRight);
    BOOL Undo();
    void Clear();
    void Copy();
    void Cut();
    void Paste();
};
