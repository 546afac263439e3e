#pragma once
// Dialog data exchange (DDX) and validation (DDV): moving values between a dialog's
// member variables and its controls.
//
// CWnd::UpdateData(bSaveAndValidate) makes a CDataExchange and calls the window's
// DoDataExchange, which calls one DDX_ function per control and DDV_ functions after
// the DDX_ call of the control they check. Loading (FALSE) writes the members into the
// controls; saving (TRUE) reads the controls into the members and validates them. While
// the exchange runs, notifications from the window's controls (EN_CHANGE of a text being
// set...) are not dispatched (AFX_THREAD_STATE::m_hLockoutNotifyWindow).
//
// A value that does not parse, or fails a DDV_ check, is reported in a message box
// (AfxMessageBox with the class library's prompt: AFX_IDP_PARSE_INT, AFX_IDP_PARSE_
// INT_RANGE... "%1"/"%2" replaced by the limits), then CDataExchange::Fail puts the focus
// back on the control (an edit control gets its whole text selected) and throws a
// CUserException; UpdateData catches it and answers FALSE. The member of the failing
// control keeps its old value, and the exchange stops there. A missing control throws
// CNotSupportedException, which UpdateData reports (AFX_IDP_INTERNAL_FAILURE) and also
// answers FALSE.
//
// Text rules (DDX_Text): integers are decimal with an optional sign ('-' only for signed
// types), blanks around allowed, nothing else; a value outside the member's type is
// refused with the type's range (AFX_IDP_PARSE_INT_RANGE) rather than wrapped or
// saturated; a negative value for an unsigned member gives AFX_IDP_PARSE_UINT, a BYTE
// outside 0..255 AFX_IDP_PARSE_BYTE. Real numbers take an optional sign, digits with
// one '.', an optional exponent, and must be finite in the member's type; they are shown
// with 6 (float) or 15 (double) significant digits. INT is the same type as LONG and UINT
// as DWORD here, so one function serves each pair.
#include <functional>
#include <vector>

#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;   // TRUE: controls to members and validate; FALSE: members to controls
    CWnd* m_pDlgWnd;           // the dialog (or any window holding the controls)

    // The control nIDC, noted as the one a failure returns the focus to. A missing
    // control throws CNotSupportedException.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit control (a failure selects its whole text).
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus back on the last prepared control (when saving) and throws a
    // CUserException.
    [[noreturn]] void Fail();

    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // Saving: remembers a member's value before a DDX_ function stores into it, so a
    // failed exchange can give every member its old value back (UndoSaved).
    template <class T>
    void RememberValue(T& member)
    {
        if (m_bSaveAndValidate)
            m_undo.push_back([&member, old = member] { member = old; });
    }
    // Restores the remembered members, newest first, and forgets them.
    void UndoSaved();

private:
    std::vector<std::function<void()>> m_undo;
};

// ---- text --------------------------------------------------------------------------------------------------------
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);          // also LONG
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);         // also DWORD, ULONG
void DDX_Text(CDataExchange* pDX, int nIDC, LONGLONG& value);
void DDX_Text(CDataExchange* pDX, int nIDC, ULONGLONG& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// ---- buttons -------------------------------------------------------------------------------------------------------
// BM_SETCHECK / BM_GETCHECK: 0 unchecked, 1 checked, 2 indeterminate (a value outside
// 0..2 loads as unchecked).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A group of radio buttons starting at nIDC (which must have WS_GROUP) and running to the
// next WS_GROUP sibling; value is the index of the checked one among the group's radio
// buttons (other controls in the group are not counted), -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// ---- combo and list boxes -------------------------------------------------------------------------------------------
// The selected index (-1: none).
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Saving: the combo box's text (a drop-down list's selected item); the list box's
// selected item ("" for none). Loading: the first item starting with the value
// (case-insensitive) is selected; a combo box with an edit field that has none shows the
// value as its text. An empty value clears the selection (and the text), so an empty
// member survives a load and a save.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
// As above with the whole item matching (case-insensitive).
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);

// ---- others --------------------------------------------------------------------------------------------------------
// A scroll-bar control's position.
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);
// Attaches rControl to control nIDC (subclassing it) the first time; later exchanges
// leave it. A control that cannot be subclassed throws CNotSupportedException.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// ---- validation (after the DDX_ call of the same control) --------------------------------------------------------------
// Loading: an edit control is limited to nChars characters (EM_LIMITTEXT). Saving: a
// value longer than nChars UTF-16 units fails (AFX_IDP_PARSE_STRING_SIZE).
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
// Saving: a value outside [min, max] fails with the limits in the prompt
// (AFX_IDP_PARSE_INT_RANGE, AFX_IDP_PARSE_REAL_RANGE). Loading checks nothing.
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minVal, LONG maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxLongLong(CDataExchange* pDX, LONGLONG value, LONGLONG minVal, LONGLONG maxVal);
void DDV_MinMaxULongLong(CDataExchange* pDX, ULONGLONG value, ULONGLONG minVal, ULONGLONG maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, const float& value, float minVal, float maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);

// ---- prompts -----------------------------------------------------------------------------------------------------------
// String nIDS from the resource chain with "%1".."%9" replaced by the given texts (an
// insert beyond those given is left as written). An absent string gives "".
void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);
void AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString);
