#pragma once
// One tool of the toolkit's own tooltip window (COXToolTipCtrl), and OXTOOLINFO, the
// description passed in and out: a TOOLINFO followed by the tool's maximum tip width and
// its two colours.
//
// A tool is a window and an ID with a rectangle in the client coordinates of the
// tooltip's parent. Its text is its own, or, for a callback tool, asked of the parent
// each time it is shown. Width 0 means no limit; a colour of OX_TOOLTIP_DEFAULT_COLOR
// means the system's (COLOR_INFOTEXT / COLOR_INFOBK), read at each paint.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/cstring.h"
#include "platform/base/object.h"
#include "platform/comctl/tooltip.h"

inline constexpr COLORREF OX_TOOLTIP_DEFAULT_COLOR = 0xFF000000u;

struct OXTOOLINFO : public TOOLINFO {
    int nWidth;               // the tool's maximum tip width in pixels (0: no limit)
    COLORREF clrTextColor;    // OX_TOOLTIP_DEFAULT_COLOR: COLOR_INFOTEXT
    COLORREF clrBackColor;    // OX_TOOLTIP_DEFAULT_COLOR: COLOR_INFOBK
};

class COXToolTipInfo : public CObject {
    DECLARE_DYNAMIC(COXToolTipInfo)
public:
    COXToolTipInfo() = default;
    COXToolTipInfo(const COXToolTipInfo& other) { *this = other; }
    ~COXToolTipInfo() override;

    // Every field.
    COXToolTipInfo& operator=(const COXToolTipInfo& other);
    // Flags, window, ID, rectangle, lParam, width and colours; the text unless
    // lpszText is LPSTR_TEXTCALLBACK, which makes this a callback tool.
    COXToolTipInfo& operator=(const OXTOOLINFO& info);

    bool IsCallback() const { return nTextCallback == -1; }

    UINT nFlags = 0;                                  // the TOOLINFO flags, as last set
    HWND hWnd = nullptr;                              // the tool's window
    UINT nIDTool = 0;                                 // the tool's ID within that window
    CRect rectBounds;                                 // in the tooltip's parent's client coordinates
    int32_t nTextCallback = 0;                        // -1: LPSTR_TEXTCALLBACK, 0: its own text
    CString strText;                                  // empty for a callback tool
    int nWidth = 0;                                   // maximum tip width (0: no limit)
    COLORREF clrTextColor = OX_TOOLTIP_DEFAULT_COLOR;
    COLORREF clrBackColor = OX_TOOLTIP_DEFAULT_COLOR;
    LPARAM lParam = 0;
};
