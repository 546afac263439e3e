#pragma once
// The "Static" control: text, icons, bitmaps, filled and framed rectangles, etched lines
// and owner-drawn statics.
//
// Text (SS_LEFT, SS_CENTER, SS_RIGHT word-wrapped; SS_LEFTNOWORDWRAP, SS_SIMPLE on one
// line each; SS_CENTERIMAGE centres one line vertically; SS_ENDELLIPSIS, SS_PATHELLIPSIS,
// SS_WORDELLIPSIS cut a line that does not fit and stop wrapping) is drawn on the brush
// of WM_CTLCOLORSTATIC in the DC colours it leaves, '&' marking a mnemonic unless
// SS_NOPREFIX; a disabled static draws in COLOR_GRAYTEXT. The dialog manager forwards a
// static's mnemonic to the next control that takes input.
// SS_ICON and SS_BITMAP take their image from the window text (a resource name, or
// {0xFFFF, ordinal} as a dialog template gives it) in the creating module, and size the
// control to the image unless SS_CENTERIMAGE or SS_REALSIZECONTROL; with SS_CENTERIMAGE
// the image is centred (a bitmap's remaining area takes the colour of its top-left
// pixel). STM_SETIMAGE/STM_GETIMAGE (and STM_SETICON/STM_GETICON) swap the image: the
// caller owns what it sets and what it gets back; only a bitmap the control loaded itself
// is deleted with it.
// Rectangles and frames, in the documented colours: SS_BLACKRECT/SS_BLACKFRAME
// COLOR_WINDOWFRAME, SS_GRAYRECT/SS_GRAYFRAME COLOR_BACKGROUND, SS_WHITERECT/SS_WHITEFRAME
// COLOR_WINDOW (frames one pixel wide, their inside untouched); SS_ETCHEDHORZ draws the
// top and bottom edges, SS_ETCHEDVERT the left and right ones, SS_ETCHEDFRAME all four,
// with DrawEdge EDGE_ETCHED. SS_SUNKEN gives the window WS_EX_STATICEDGE.
// A static is transparent to the mouse (HTTRANSPARENT) unless SS_NOTIFY, which sends
// STN_CLICKED on a press, STN_DBLCLK on a double click, STN_ENABLE/STN_DISABLE.
#include "platform/base/wintypes.h"

inline constexpr DWORD SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_ICON = 0x3, SS_BLACKRECT = 0x4,
                       SS_GRAYRECT = 0x5, SS_WHITERECT = 0x6, SS_BLACKFRAME = 0x7, SS_GRAYFRAME = 0x8,
                       SS_WHITEFRAME = 0x9, SS_USERITEM = 0xA, SS_SIMPLE = 0xB, SS_LEFTNOWORDWRAP = 0xC,
                       SS_OWNERDRAW = 0xD, SS_BITMAP = 0xE, SS_ENHMETAFILE = 0xF, SS_ETCHEDHORZ = 0x10,
                       SS_ETCHEDVERT = 0x11, SS_ETCHEDFRAME = 0x12, SS_TYPEMASK = 0x1F, SS_REALSIZECONTROL = 0x40,
                       SS_NOPREFIX = 0x80, SS_NOTIFY = 0x100, SS_CENTERIMAGE = 0x200, SS_RIGHTJUST = 0x400,
                       SS_REALSIZEIMAGE = 0x800, SS_SUNKEN = 0x1000, SS_EDITCONTROL = 0x2000,
                       SS_ENDELLIPSIS = 0x4000, SS_PATHELLIPSIS = 0x8000, SS_WORDELLIPSIS = 0xC000,
                       SS_ELLIPSISMASK = 0xC000;
inline constexpr UINT STM_SETICON = 0x0170, STM_GETICON = 0x0171, STM_SETIMAGE = 0x0172, STM_GETIMAGE = 0x0173;
inline constexpr WORD STN_CLICKED = 0, STN_DBLCLK = 1, STN_ENABLE = 2, STN_DISABLE = 3;
inline constexpr const wchar_t* WC_STATIC = L"Static";

namespace zyn::user {
// Registers the "Static" system class unless it exists.
void EnsureStaticClass();
} // namespace zyn::user
