// A frame's default answer to its tooltips' text requests: the second line of the tool's
// command string ("prompt\ntip"), the line the message bar does not show.
#include <string>

#include "platform/afx/frame.h"
#include "platform/base/codepage.h"
#include "platform/base/cstring.h"
#include "platform/comctl/tooltip.h"
#include "platform/user/window.h"

namespace {

// Answers too long for the 80 characters of the notification's buffer are handed over
// whole by pointer; the pointer stays good until the thread's next answer.
thread_local std::wstring t_wideAnswer;
thread_local std::string t_narrowAnswer;

template <class DispInfo, class Char>
void Answer(DispInfo* di, const std::basic_string<Char>& text, std::basic_string<Char>& keep)
{
    if (text.size() < std::size(di->szText)) {
        std::copy(text.begin(), text.end(), di->szText);
        di->szText[text.size()] = Char(0);
        di->lpszText = di->szText;
    } else {
        keep = text;
        di->lpszText = keep.data();
    }
    di->hinst = nullptr;
}

} // namespace

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    if (!pNMHDR || (pNMHDR->code != TTN_NEEDTEXTW && pNMHDR->code != TTN_NEEDTEXTA))
        return FALSE;
    const bool ansi = pNMHDR->code == TTN_NEEDTEXTA;
    const UINT flags = ansi ? reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->uFlags
                            : reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->uFlags;
    UINT_PTR nID = pNMHDR->idFrom;
    if (flags & TTF_IDISHWND)
        nID = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
    std::wstring tip;
    CString full;
    if (nID != 0 && nID <= 0xFFFF && full.LoadString(static_cast<UINT>(nID))) {
        const std::wstring s = full.GetString();
        const size_t nl = s.find(L'\n');
        if (nl != std::wstring::npos)
            tip = s.substr(nl + 1);
    }
    if (ansi)
        Answer(reinterpret_cast<NMTTDISPINFOA*>(pNMHDR), zyn::base::WideToAnsi(tip), t_narrowAnswer);
    else
        Answer(reinterpret_cast<NMTTDISPINFOW*>(pNMHDR), tip, t_wideAnswer);
    if (pResult)
        *pResult = 0;
    return TRUE;
}
