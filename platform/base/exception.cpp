#include "platform/base/exception.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>

#include "platform/base/msgbox_hook.h"
#include "platform/base/utf16.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

std::atomic<zyn::base::MessageBoxHook> g_messageBoxHook{nullptr};

// Copies text into a caller's buffer, truncating to nMax-1 characters as the
// class library does; FALSE when there is no room at all.
BOOL CopyMessage(const CString& text, LPWSTR lpszError, UINT nMaxError)
{
    if (!lpszError || nMaxError == 0)
        return FALSE;
    const size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), nMaxError - 1);
    std::wmemcpy(lpszError, text.GetString(), n);
    lpszError[n] = L'\0';
    return TRUE;
}

// The detail text when one was given, else the class's own description.
BOOL Describe(const CException& e, const wchar_t* fallback, LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    const CString& detail = e.GetDetail();
    return CopyMessage(detail.IsEmpty() ? CString(fallback) : detail, lpszError, nMaxError);
}

} // namespace

void zyn::base::SetMessageBoxHook(MessageBoxHook hook) { g_messageBoxHook.store(hook); }

int zyn::base::ShowMessageBox(LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (auto hook = g_messageBoxHook.load())
        return hook(text, caption, type);
    std::fprintf(stderr, "%s: %s\n", ToUtf8(caption ? caption : L"Error").c_str(), ToUtf8(text ? text : L"").c_str());
    return 1; // IDOK
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (m_strDetail.IsEmpty()) {
        if (pnHelpContext)
            *pnHelpContext = 0;
        if (lpszError && nMaxError)
            *lpszError = L'\0';
        return FALSE;
    }
    return Describe(*this, L"", lpszError, nMaxError, pnHelpContext);
}

CString CException::GetMessageText() const
{
    wchar_t buf[1024];
    if (!GetErrorMessage(buf, 1024, nullptr))
        return CString();
    return CString(buf);
}

int CException::ReportError(UINT nType, UINT)
{
    CString text = GetMessageText();
    if (text.IsEmpty())
        text = L"An unsupported operation was attempted.";
    return zyn::base::ShowMessageBox(text.GetString(), nullptr, nType == 0 ? 0x30u /* MB_ICONEXCLAMATION */ : nType);
}

BOOL CMemoryException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return Describe(*this, L"Out of memory.", lpszError, nMaxError, pnHelpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return Describe(*this, L"An unsupported operation was attempted.", lpszError, nMaxError, pnHelpContext);
}

BOOL CInvalidArgException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return Describe(*this, L"An invalid argument was encountered.", lpszError, nMaxError, pnHelpContext);
}

BOOL CResourceException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return Describe(*this, L"A required resource was unavailable.", lpszError, nMaxError, pnHelpContext);
}

CFileException::CFileException(int cause, LONG lOsError, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
{
}

BOOL CFileException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const wchar_t* const kCauses[] = {
        L"No error occurred.",
        L"An unspecified error occurred while accessing %1.",
        L"%1 was not found.",
        L"%1 contains an invalid path.",
        L"%1 could not be opened because there are too many open files.",
        L"Access to %1 was denied.",
        L"An invalid file handle was associated with %1.",
        L"%1 could not be removed because it is the current directory.",
        L"%1 could not be created because the directory is full.",
        L"Seek failed on %1.",
        L"A hardware I/O error was reported while accessing %1.",
        L"A sharing violation occurred while accessing %1.",
        L"A locking violation occurred while accessing %1.",
        L"Disk full while accessing %1.",
        L"An attempt was made to access %1 past its end.",
    };
    if (!m_strDetail.IsEmpty())
        return Describe(*this, L"", lpszError, nMaxError, pnHelpContext);
    const int idx = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    CString text(kCauses[idx]);
    text.Replace(L"%1", m_strFileName.IsEmpty() ? L"an unnamed file" : m_strFileName.GetString());
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(text, lpszError, nMaxError);
}

CArchiveException::CArchiveException(int cause, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const wchar_t* const kCauses[] = {
        L"No error occurred.",
        L"An unexpected error occurred while reading %1.",
        L"An attempt was made to write to %1 while it was being read.",
        L"An attempt was made to access %1 past its end.",
        L"An attempt was made to read from %1 while it was being written.",
        L"%1 has a bad format.",
        L"%1 contained an unexpected object.",
        L"%1 contains an incorrect schema.",
        L"The archive buffer is full.",
    };
    if (!m_strDetail.IsEmpty())
        return Describe(*this, L"", lpszError, nMaxError, pnHelpContext);
    const int idx = (m_cause >= 0 && m_cause <= bufferFull) ? m_cause : genericException;
    CString text(kCauses[idx]);
    text.Replace(L"%1", m_strFileName.IsEmpty() ? L"an unnamed file" : m_strFileName.GetString());
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(text, lpszError, nMaxError);
}

namespace {
template <class E>
[[noreturn]] void ThrowWithDetail(LPCWSTR detail)
{
    E* e = new E();
    if (detail)
        e->SetDetail(CString(detail));
    throw e;
}
} // namespace

void AfxThrowMemoryException() { throw new CMemoryException(); }
void AfxThrowNotSupportedException() { throw new CNotSupportedException(); }
void AfxThrowNotSupportedException(LPCWSTR detail) { ThrowWithDetail<CNotSupportedException>(detail); }
void AfxThrowInvalidArgException() { throw new CInvalidArgException(); }
void AfxThrowInvalidArgException(LPCWSTR detail) { ThrowWithDetail<CInvalidArgException>(detail); }
void AfxThrowUserException() { throw new CUserException(); }
void AfxThrowResourceException() { throw new CResourceException(); }
void AfxThrowFileException(int cause, LONG lOsError, LPCWSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}
void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
