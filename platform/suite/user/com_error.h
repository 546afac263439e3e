#pragma once
// The error of a failed COM call as the suite's code catches it: the HRESULT and the
// description the failing object gave (empty when it gave none).
#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

class _com_error {
public:
    explicit _com_error(HRESULT hr, LPCWSTR lpszDescription = nullptr)
        : m_hr(hr), m_strDescription(lpszDescription ? lpszDescription : L"")
    {}
    HRESULT Error() const { return m_hr; }
    const CString& Description() const { return m_strDescription; }

private:
    HRESULT m_hr;
    CString m_strDescription;
};
