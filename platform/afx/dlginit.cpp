// CWnd::ExecuteDlgInit: the DLGINIT data of a dialog (initial strings of its list and
// combo boxes).
//
// The layout, as resource scripts compile it: records of
//     WORD control ID, WORD message, DWORD length, `length` bytes of data
// (no padding between records), ended by a control ID of 0. The message is the list
// box's or combo box's add-string message in its 16-bit form (0x0401, 0x0403) or its
// 32-bit form (0x0180, 0x0143); the data are a narrow string in the ANSI code page,
// ended by a nul within the length. Records of other messages are skipped.
#include <cstring>
#include <span>

#include "platform/user/winuser.h"
#include "platform/afx/ctlwrap_msgs.h"
#include "platform/afx/afxpriv.h"
#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"
#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/window.h"

namespace {

constexpr WORD kWin16LbAddString = 0x0401, kWin16CbAddString = 0x0403;
// An in-memory block of unknown size is read no further than this.
constexpr size_t kUntrackedBound = size_t{16} << 20;

std::span<const uint8_t> BytesOf(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    if (auto n = zyn::base::ResourceBytesFrom(p))
        return {b, *n};
    const DWORD saved = ::GetLastError();
    if (HGLOBAL h = ::GlobalHandle(p)) {
        const SIZE_T n = ::GlobalSize(h);
        ::SetLastError(saved);
        return {b, static_cast<size_t>(n)};
    }
    ::SetLastError(saved);
    return {b, kUntrackedBound};
}

// Runs the records; FALSE (with the last error) at the first malformed record, missing
// control or refused string.
BOOL Execute(HWND hWnd, std::span<const uint8_t> data)
{
    size_t at = 0;
    for (;;) {
        if (data.size() - at < 2) {
            ::SetLastError(ERROR_INVALID_DATA); // no terminating control ID
            return FALSE;
        }
        WORD nIDC = 0;
        std::memcpy(&nIDC, data.data() + at, 2);
        if (nIDC == 0)
            return TRUE;
        if (data.size() - at < 8) {
            ::SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        WORD nMsg = 0;
        DWORD dwLen = 0;
        std::memcpy(&nMsg, data.data() + at + 2, 2);
        std::memcpy(&dwLen, data.data() + at + 4, 4);
        at += 8;
        if (dwLen > data.size() - at) {
            ::SetLastError(ERROR_INVALID_DATA); // the string runs past the data
            return FALSE;
        }
        UINT msg = 0;
        if (nMsg == kWin16LbAddString || nMsg == zyn::afx::ctl::kLbAddString)
            msg = zyn::afx::ctl::kLbAddString;
        else if (nMsg == kWin16CbAddString || nMsg == zyn::afx::ctl::kCbAddString)
            msg = zyn::afx::ctl::kCbAddString;
        if (msg) {
            const auto* text = reinterpret_cast<const char*>(data.data() + at);
            const size_t n = strnlen(text, dwLen);
            const CString wide(text, static_cast<int>(n));
            const HWND hWndCtrl = ::GetDlgItem(hWnd, nIDC);
            if (!hWndCtrl) {
                ::SetLastError(1421); // ERROR_CONTROL_ID_NOT_FOUND
                return FALSE;
            }
            const LRESULT r = ::SendMessageW(hWndCtrl, msg, 0, reinterpret_cast<LPARAM>(wide.GetString()));
            if (r == zyn::afx::ctl::kErr || r == zyn::afx::ctl::kErrSpace) {
                ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return FALSE;
            }
        }
        at += dwLen;
    }
}

} // namespace

BOOL CWnd::ExecuteDlgInit(LPCTSTR lpszResourceName)
{
    if (!lpszResourceName)
        return ExecuteDlgInit(static_cast<LPVOID>(nullptr));
    const HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_DLGINIT);
    const DWORD saved = ::GetLastError();
    const HRSRC hRes = ::FindResourceW(hInst, lpszResourceName, RT_DLGINIT);
    if (!hRes) {
        // No DLGINIT for this dialog: nothing to add.
        ::SetLastError(saved);
        return ExecuteDlgInit(static_cast<LPVOID>(nullptr));
    }
    const HGLOBAL hData = ::LoadResource(hInst, hRes);
    const void* p = hData ? ::LockResource(hData) : nullptr;
    if (!p)
        return FALSE;
    if (!Execute(m_hWnd, std::span<const uint8_t>(static_cast<const uint8_t*>(p), ::SizeofResource(hInst, hRes))))
        return FALSE;
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, FALSE, FALSE);
    return TRUE;
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource)
{
    if (lpResource && !Execute(m_hWnd, BytesOf(lpResource)))
        return FALSE;
    // The controls hear that their siblings and strings are all in place.
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, FALSE, FALSE);
    return TRUE;
}
