#include "toolkit/controls/tooltip_info.h"

IMPLEMENT_DYNAMIC(COXToolTipInfo, CObject)

COXToolTipInfo::~COXToolTipInfo() = default;

COXToolTipInfo& COXToolTipInfo::operator=(const COXToolTipInfo& other)
{
    if (this == &other)
        return *this;
    nFlags = other.nFlags;
    hWnd = other.hWnd;
    nIDTool = other.nIDTool;
    rectBounds = other.rectBounds;
    nTextCallback = other.nTextCallback;
    strText = other.strText;
    nWidth = other.nWidth;
    clrTextColor = other.clrTextColor;
    clrBackColor = other.clrBackColor;
    lParam = other.lParam;
    return *this;
}

COXToolTipInfo& COXToolTipInfo::operator=(const OXTOOLINFO& info)
{
    nFlags = info.uFlags;
    hWnd = info.hwnd;
    nIDTool = static_cast<UINT>(info.uId);
    rectBounds = info.rect;
    lParam = info.lParam;
    nWidth = info.nWidth;
    clrTextColor = info.clrTextColor;
    clrBackColor = info.clrBackColor;
    if (info.lpszText == LPSTR_TEXTCALLBACK) {
        nTextCallback = -1;
        strText.Empty();
    } else {
        nTextCallback = 0;
        // A string ID is not a text this description can carry: the tool gets none.
        strText = (info.lpszText && !IS_INTRESOURCE(info.lpszText)) ? info.lpszText : L"";
    }
    return *this;
}
