// DDV: validation of exchanged values (rules in ddx.h).
#include <cfloat>
#include <type_traits>

#include "platform/afx/afxres.h"
#include "platform/afx/ddx.h"
#include "platform/afx/ddx_internal.h"
#include "platform/base/utf16.h"
#include "platform/user/edit.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

using zyn::afx::detail::FailWithPrompt;

namespace {

// The control the last DDX_ call prepared (DDV_ checks follow it).
HWND LastControl(CDataExchange* pDX)
{
    if (!pDX->m_pDlgWnd || pDX->m_idLastControl == 0)
        return nullptr;
    return ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
}

template <class T>
void CheckIntRange(CDataExchange* pDX, T value, T minVal, T maxVal)
{
    if (!pDX->m_bSaveAndValidate || (minVal <= value && value <= maxVal))
        return;
    CString lo;
    CString hi;
    if constexpr (std::is_signed_v<T>) {
        lo.Format(L"%I64d", static_cast<int64_t>(minVal));
        hi.Format(L"%I64d", static_cast<int64_t>(maxVal));
    } else {
        lo.Format(L"%I64u", static_cast<uint64_t>(minVal));
        hi.Format(L"%I64u", static_cast<uint64_t>(maxVal));
    }
    FailWithPrompt(pDX, AFX_IDP_PARSE_INT_RANGE, lo.GetString(), hi.GetString());
}

void CheckRealRange(CDataExchange* pDX, double value, double minVal, double maxVal, int significant)
{
    if (!pDX->m_bSaveAndValidate || (minVal <= value && value <= maxVal))
        return;
    CString lo;
    CString hi;
    lo.Format(L"%.*g", significant, minVal);
    hi.Format(L"%.*g", significant, maxVal);
    FailWithPrompt(pDX, AFX_IDP_PARSE_REAL_RANGE, lo.GetString(), hi.GetString());
}

} // namespace

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        // Let the edit control refuse what would not pass anyway.
        if (pDX->m_bEditLastControl) {
            if (const HWND hWndLast = LastControl(pDX))
                ::SendMessageW(hWndLast, EM_LIMITTEXT, static_cast<WPARAM>(nChars < 0 ? 0 : nChars), 0);
        }
        return;
    }
    // Counted as the stored text counts it: in UTF-16 units.
    if (static_cast<int64_t>(zyn::base::Utf16Length(value.Str())) > nChars) {
        CString limit;
        limit.Format(L"%d", nChars);
        FailWithPrompt(pDX, AFX_IDP_PARSE_STRING_SIZE, limit.GetString());
    }
}

void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    CheckIntRange<BYTE>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal)
{
    CheckIntRange<short>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckIntRange<int>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minVal, LONG maxVal)
{
    CheckIntRange<LONG>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckIntRange<UINT>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    CheckIntRange<DWORD>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxLongLong(CDataExchange* pDX, LONGLONG value, LONGLONG minVal, LONGLONG maxVal)
{
    CheckIntRange<LONGLONG>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxULongLong(CDataExchange* pDX, ULONGLONG value, ULONGLONG minVal, ULONGLONG maxVal)
{
    CheckIntRange<ULONGLONG>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxFloat(CDataExchange* pDX, const float& value, float minVal, float maxVal)
{
    CheckRealRange(pDX, value, minVal, maxVal, FLT_DIG);
}
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    CheckRealRange(pDX, value, minVal, maxVal, DBL_DIG);
}
