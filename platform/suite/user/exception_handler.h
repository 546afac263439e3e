#pragma once
// CZynExceptionHandler: how the suite tells the operator that something failed. Every
// form builds one text (a message from the string resources, or a given text, followed
// by what is known of the cause) and shows it in an error box owned by the main window;
// the box goes through the window system's message box and so through the thread's
// answer script under test. The handler never takes ownership of an exception passed
// to it: the caller still deletes it.
#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

class CException;
class _com_error;

class CZynExceptionHandler {
public:
    CZynExceptionHandler() = default;
    virtual ~CZynExceptionHandler() = default;

    // Each returns the button the operator pressed (IDOK), or 0 when nothing was shown
    // (the HRESULT form has no plain show flag beside it: HRESULT and BOOL are one type)
    // (bShow FALSE: the text is only built and kept as the last message).
    int Handle(UINT nIDMessage) const;
    int Handle(UINT nIDMessage, HRESULT hr, BOOL bShow = TRUE) const;
    int Handle(UINT nIDMessage, const CException* pException, BOOL bShow = TRUE) const;
    int Handle(UINT nIDMessage, const _com_error& error, BOOL bShow = TRUE) const;
    int Handle(LPCWSTR lpszText, const CException* pException = nullptr, BOOL bShow = TRUE) const;

    // The text of the last failure handled (shown or not).
    const CString& GetLastMessage() const { return m_strLastMessage; }

    // The message of a string resource; a clear placeholder naming the ID when the
    // resources have no such string, so a missing text never hides the failure.
    static CString LoadMessage(UINT nIDMessage);

protected:
    // Shows the finished text; a host may show it its own way.
    virtual int Show(const CString& text) const;

private:
    int Report(CString text, BOOL bShow) const;
    mutable CString m_strLastMessage;
};
