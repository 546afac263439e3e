// CWnd::ExecuteDlgInit: the DLGINIT data of a dialog (initial strings of its list and
// combo boxes).
//
// The layout, as resource scripts compile it: records of
//     WORD control ID, WORD message, DWORD length, `length` bytes of data
// (no padding between records), ended by a control ID of 0. The message is the list
// box's or combo box's add-string message in its 16-bit form (0x0401, 0x0403) or its
// 32-bit form (0x0180, 0x0143); the data are a narrow string in the ANSI code page,
// ended by a nul within the length. Records of other messages are skipped. All records
// are read before any string is added, so malformed data add nothing.
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "platform/user/winuser.h"
#include "platform/afx/afxpriv.h"
#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"
#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/combobox.h"
#include "platform/user/listbox.h"
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

struct Record {
    HWND control = nullptr;
    UINT msg = 0;            // 0: a record of another message, skipped
    CString text;
};

// Reads every record first, so malformed data or a missing control change nothing;
// nullopt (with the last error) then.
std::optional<std::vector<Record>> Read(HWND hWnd, std::span<const uint8_t> data)
{
    std::vector<Record> records;
    size_t at = 0;
    for (;;) {
        if (data.size() - at < 2) {
            ::SetLastError(ERROR_INVALID_DATA); // no terminating control ID
            return std::nullopt;
        }
        WORD nIDC = 0;
        std::memcpy(&nIDC, data.data() + at, 2);
        if (nIDC == 0)
            return records;
        if (data.size() - at < 8) {
            ::SetLastError(ERROR_INVALID_DATA);
            return std::nullopt;
        }
        WORD nMsg = 0;
        DWORD dwLen = 0;
        std::memcpy(&nMsg, data.data() + at + 2, 2);
        std::memcpy(&dwLen, data.data() + at + 4, 4);
        at += 8;
        if (dwLen > data.size() - at) {
            ::SetLastError(ERROR_INVALID_DATA); // the string runs past the data
            return std::nullopt;
        }
        Record r;
        if (nMsg == kWin16LbAddString || nMsg == LB_ADDSTRING)
            r.msg = LB_ADDSTRING;
        else if (nMsg == kWin16CbAddString || nMsg == CB_ADDSTRING)
            r.msg = CB_ADDSTRING;
        if (r.msg) {
            const auto* text = reinterpret_cast<const char*>(data.data() + at);
            r.text = CString(text, static_cast<int>(strnlen(text, dwLen)));
            r.control = ::GetDlgItem(hWnd, nIDC);
            if (!r.control) {
                ::SetLastError(1421); // ERROR_CONTROL_ID_NOT_FOUND
                return std::nullopt;
            }
            records.push_back(std::move(r));
        }
        at += dwLen;
    }
}

// Runs the records; FALSE (with the last error) for malformed data, a missing control or
// a refused string.
BOOL Execute(HWND hWnd, std::span<const uint8_t> data)
{
    const auto records = Read(hWnd, data);
    if (!records)
        return FALSE;
    for (const Record& r : *records) {
        const LRESULT result = ::SendMessageW(r.control, r.msg, 0, reinterpret_cast<LPARAM>(r.text.GetString()));
        // A list box and a combo box refuse with the same two answers.
        if (result == LB_ERR || result == LB_ERRSPACE) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
    }
    return TRUE;
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
