// The compiler's own system headers: the constants resource scripts use (window, dialog
// and control styles, command IDs, virtual keys, menu flags, languages, version
// information, the common dialogs' control IDs) and the class library's standard command
// and string IDs. The texts are the files of tools/rc/include and platform/afx/afxres.h,
// embedded at build time. They are searched after every -I folder, so a project can still
// supply its own.
#include <cstring>

#include "tools/rc/rc_context.h"

namespace zyn::rc {
namespace {

struct Header {
    const char* name;
    const char* text;
};

constexpr Header kHeaders[] = {
#include "builtin_headers.inc"
};

// The class library's standard IDs: the text of platform/afx/afxres.h itself, so scripts
// and code always share one list.
const char kAfxRes[] = "\n#ifndef ZYN_RC_AFXRES_H\n#define ZYN_RC_AFXRES_H\n#include <winres.h>\n"
#include "afxres_text.inc"
                       "\n#endif\n";

// Other names scripts use for the same headers.
struct Alias {
    const char* name;
    const char* target;
};
constexpr Alias kAliases[] = {
    {"winuser.rh", "winuser.h"},
    {"winnt.rh", "winnt.h"},
    {"commctrl.rh", "commctrl.h"},
    {"verrsrc.h", "winver.h"},
};

} // namespace

const char* BuiltinHeader(const std::string& lowerName)
{
    if (lowerName == "afxres.h")
        return kAfxRes;
    std::string name = lowerName;
    for (const Alias& a : kAliases)
        if (name == a.name)
            name = a.target;
    for (const Header& h : kHeaders)
        if (name == h.name)
            return h.text;
    return nullptr;
}

} // namespace zyn::rc
