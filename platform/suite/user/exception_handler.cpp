#include "platform/suite/user/exception_handler.h"

#include "platform/afx/winapp.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd.h"
#include "platform/base/exception.h"
#include "platform/suite/user/com_error.h"
#include "platform/user/msgbox.h"

namespace {

CString CodeText(HRESULT hr)
{
    CString text;
    text.Format(L"Error code 0x%08X.", static_cast<unsigned>(hr));
    return text;
}

void AppendCause(CString& text, const CString& cause)
{
    if (cause.IsEmpty())
        return;
    if (!text.IsEmpty())
        text += L"\n\n";
    text += cause;
}

} // namespace

CString CZynExceptionHandler::LoadMessage(UINT nIDMessage)
{
    CString text;
    if (!text.LoadString(nIDMessage) || text.IsEmpty())
        text.Format(L"An error occurred (message %u is not in the resources).", nIDMessage);
    return text;
}

int CZynExceptionHandler::Handle(UINT nIDMessage) const
{
    return Report(LoadMessage(nIDMessage), TRUE);
}

int CZynExceptionHandler::Handle(UINT nIDMessage, HRESULT hr, BOOL bShow) const
{
    CString text = LoadMessage(nIDMessage);
    AppendCause(text, CodeText(hr));
    return Report(text, bShow);
}

int CZynExceptionHandler::Handle(UINT nIDMessage, const CException* pException, BOOL bShow) const
{
    CString text = LoadMessage(nIDMessage);
    if (pException)
        AppendCause(text, pException->GetMessageText());
    return Report(text, bShow);
}

int CZynExceptionHandler::Handle(UINT nIDMessage, const _com_error& error, BOOL bShow) const
{
    CString text = LoadMessage(nIDMessage);
    AppendCause(text, error.Description());
    AppendCause(text, CodeText(error.Error()));
    return Report(text, bShow);
}

int CZynExceptionHandler::Handle(LPCWSTR lpszText, const CException* pException, BOOL bShow) const
{
    CString text(lpszText ? lpszText : L"");
    if (pException)
        AppendCause(text, pException->GetMessageText());
    if (text.IsEmpty())
        text = L"An error occurred.";
    return Report(text, bShow);
}

int CZynExceptionHandler::Report(CString text, BOOL bShow) const
{
    m_strLastMessage = text;
    return bShow ? Show(text) : 0;
}

int CZynExceptionHandler::Show(const CString& text) const
{
    CWnd* pMain = AfxGetMainWnd();
    HWND owner = pMain ? pMain->GetSafeHwnd() : nullptr;
    LPCWSTR caption = AfxGetApp() ? AfxGetAppName() : nullptr;
    return MessageBoxW(owner, text.GetString(), caption ? caption : L"Error", MB_OK | MB_ICONERROR);
}
