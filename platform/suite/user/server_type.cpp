#include "platform/suite/user/server_type.h"

CString ZynGetDBServerTypeString(int32_t serverType)
{
    switch (serverType) {
    case 0: return CString(L"stand-alone server");
    case 3: return CString(L"enterprise master server");
    case 4: return CString(L"enterprise region server");
    default: {
        CString text;
        text.Format(L"unknown server type (%d)", serverType);
        return text;
    }
    }
}
