#include "platform/suite/utility/sysinfo.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"

bool SysInfo::GetComputerNameW(CString& name, bool fullyQualified, bool lowerCase)
{
    name.Empty();
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host) != 0) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return false;
    }
    host[HOST_NAME_MAX] = '\0';
    CString text(zyn::base::FromUtf8(host).c_str());
    if (!fullyQualified) {
        const int dot = text.Find(L'.');
        if (dot >= 0)
            text = text.Left(dot);
    }
    if (text.IsEmpty())
        return false;
    if (lowerCase)
        text.MakeLower();
    else
        text.MakeUpper();
    name = text;
    return true;
}
