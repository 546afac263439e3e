// The compiler's own system headers: the constants resource scripts use (window, dialog
// and control styles, command IDs, virtual keys, menu flags, languages) and the class
// library's standard command and string IDs. They are searched after every -I folder, so
// a project can still supply its own.
#include <cstring>

#include "tools/rc/rc_context.h"

namespace zyn::rc {
namespace {

const char kWinUser[] = R"(
#ifndef ZYN_RC_WINUSER_H
#define ZYN_RC_WINUSER_H

#define WS_OVERLAPPED       0x00000000L
#define WS_POPUP            0x80000000L
#define WS_CHILD            0x40000000L
#define WS_MINIMIZE         0x20000000L
#define WS_VISIBLE          0x10000000L
#define WS_DISABLED         0x08000000L
#define WS_CLIPSIBLINGS     0x04000000L
#define WS_CLIPCHILDREN     0x02000000L
#define WS_MAXIMIZE         0x01000000L
#define WS_CAPTION          0x00C00000L
#define WS_BORDER           0x00800000L
#define WS_DLGFRAME         0x00400000L
#define WS_VSCROLL          0x00200000L
#define WS_HSCROLL          0x00100000L
#define WS_SYSMENU          0x00080000L
#define WS_THICKFRAME       0x00040000L
#define WS_GROUP            0x00020000L
#define WS_TABSTOP          0x00010000L
#define WS_MINIMIZEBOX      0x00020000L
#define WS_MAXIMIZEBOX      0x00010000L
#define WS_TILED            WS_OVERLAPPED
#define WS_ICONIC           WS_MINIMIZE
#define WS_SIZEBOX          WS_THICKFRAME
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_TILEDWINDOW      WS_OVERLAPPEDWINDOW
#define WS_POPUPWINDOW      (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_CHILDWINDOW      WS_CHILD

#define WS_EX_DLGMODALFRAME     0x00000001L
#define WS_EX_NOPARENTNOTIFY    0x00000004L
#define WS_EX_TOPMOST           0x00000008L
#define WS_EX_ACCEPTFILES       0x00000010L
#define WS_EX_TRANSPARENT       0x00000020L
#define WS_EX_MDICHILD          0x00000040L
#define WS_EX_TOOLWINDOW        0x00000080L
#define WS_EX_WINDOWEDGE        0x00000100L
#define WS_EX_CLIENTEDGE        0x00000200L
#define WS_EX_CONTEXTHELP       0x00000400L
#define WS_EX_RIGHT             0x00001000L
#define WS_EX_LEFT              0x00000000L
#define WS_EX_RTLREADING        0x00002000L
#define WS_EX_LTRREADING        0x00000000L
#define WS_EX_LEFTSCROLLBAR     0x00004000L
#define WS_EX_RIGHTSCROLLBAR    0x00000000L
#define WS_EX_CONTROLPARENT     0x00010000L
#define WS_EX_STATICEDGE        0x00020000L
#define WS_EX_APPWINDOW         0x00040000L
#define WS_EX_LAYERED           0x00080000L
#define WS_EX_NOINHERITLAYOUT   0x00100000L
#define WS_EX_LAYOUTRTL         0x00400000L
#define WS_EX_COMPOSITED        0x02000000L
#define WS_EX_NOACTIVATE        0x08000000L
#define WS_EX_OVERLAPPEDWINDOW  (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE)
#define WS_EX_PALETTEWINDOW     (WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST)

#define DS_ABSALIGN         0x0001L
#define DS_SYSMODAL         0x0002L
#define DS_3DLOOK           0x0004L
#define DS_FIXEDSYS         0x0008L
#define DS_NOFAILCREATE     0x0010L
#define DS_LOCALEDIT        0x0020L
#define DS_SETFONT          0x0040L
#define DS_MODALFRAME       0x0080L
#define DS_NOIDLEMSG        0x0100L
#define DS_SETFOREGROUND    0x0200L
#define DS_CONTROL          0x0400L
#define DS_CENTER           0x0800L
#define DS_CENTERMOUSE      0x1000L
#define DS_CONTEXTHELP      0x2000L
#define DS_SHELLFONT        (DS_SETFONT | DS_FIXEDSYS)

#define BS_PUSHBUTTON       0x00000000L
#define BS_DEFPUSHBUTTON    0x00000001L
#define BS_CHECKBOX         0x00000002L
#define BS_AUTOCHECKBOX     0x00000003L
#define BS_RADIOBUTTON      0x00000004L
#define BS_3STATE           0x00000005L
#define BS_AUTO3STATE       0x00000006L
#define BS_GROUPBOX         0x00000007L
#define BS_USERBUTTON       0x00000008L
#define BS_AUTORADIOBUTTON  0x00000009L
#define BS_PUSHBOX          0x0000000AL
#define BS_OWNERDRAW        0x0000000BL
#define BS_TYPEMASK         0x0000000FL
#define BS_LEFTTEXT         0x00000020L
#define BS_RIGHTBUTTON      BS_LEFTTEXT
#define BS_TEXT             0x00000000L
#define BS_ICON             0x00000040L
#define BS_BITMAP           0x00000080L
#define BS_LEFT             0x00000100L
#define BS_RIGHT            0x00000200L
#define BS_CENTER           0x00000300L
#define BS_TOP              0x00000400L
#define BS_BOTTOM           0x00000800L
#define BS_VCENTER          0x00000C00L
#define BS_PUSHLIKE         0x00001000L
#define BS_MULTILINE        0x00002000L
#define BS_NOTIFY           0x00004000L
#define BS_FLAT             0x00008000L

#define ES_LEFT             0x0000L
#define ES_CENTER           0x0001L
#define ES_RIGHT            0x0002L
#define ES_MULTILINE        0x0004L
#define ES_UPPERCASE        0x0008L
#define ES_LOWERCASE        0x0010L
#define ES_PASSWORD         0x0020L
#define ES_AUTOVSCROLL      0x0040L
#define ES_AUTOHSCROLL      0x0080L
#define ES_NOHIDESEL        0x0100L
#define ES_OEMCONVERT       0x0400L
#define ES_READONLY         0x0800L
#define ES_WANTRETURN       0x1000L
#define ES_NUMBER           0x2000L

#define SS_LEFT             0x00000000L
#define SS_CENTER           0x00000001L
#define SS_RIGHT            0x00000002L
#define SS_ICON             0x00000003L
#define SS_BLACKRECT        0x00000004L
#define SS_GRAYRECT         0x00000005L
#define SS_WHITERECT        0x00000006L
#define SS_BLACKFRAME       0x00000007L
#define SS_GRAYFRAME        0x00000008L
#define SS_WHITEFRAME       0x00000009L
#define SS_USERITEM         0x0000000AL
#define SS_SIMPLE           0x0000000BL
#define SS_LEFTNOWORDWRAP   0x0000000CL
#define SS_OWNERDRAW        0x0000000DL
#define SS_BITMAP           0x0000000EL
#define SS_ENHMETAFILE      0x0000000FL
#define SS_ETCHEDHORZ       0x00000010L
#define SS_ETCHEDVERT       0x00000011L
#define SS_ETCHEDFRAME      0x00000012L
#define SS_TYPEMASK         0x0000001FL
#define SS_REALSIZECONTROL  0x00000040L
#define SS_NOPREFIX         0x00000080L
#define SS_NOTIFY           0x00000100L
#define SS_CENTERIMAGE      0x00000200L
#define SS_RIGHTJUST        0x00000400L
#define SS_REALSIZEIMAGE    0x00000800L
#define SS_SUNKEN           0x00001000L
#define SS_EDITCONTROL      0x00002000L
#define SS_ENDELLIPSIS      0x00004000L
#define SS_PATHELLIPSIS     0x00008000L
#define SS_WORDELLIPSIS     0x0000C000L
#define SS_ELLIPSISMASK     0x0000C000L

#define LBS_NOTIFY            0x0001L
#define LBS_SORT              0x0002L
#define LBS_NOREDRAW          0x0004L
#define LBS_MULTIPLESEL       0x0008L
#define LBS_OWNERDRAWFIXED    0x0010L
#define LBS_OWNERDRAWVARIABLE 0x0020L
#define LBS_HASSTRINGS        0x0040L
#define LBS_USETABSTOPS       0x0080L
#define LBS_NOINTEGRALHEIGHT  0x0100L
#define LBS_MULTICOLUMN       0x0200L
#define LBS_WANTKEYBOARDINPUT 0x0400L
#define LBS_EXTENDEDSEL       0x0800L
#define LBS_DISABLENOSCROLL   0x1000L
#define LBS_NODATA            0x2000L
#define LBS_NOSEL             0x4000L
#define LBS_COMBOBOX          0x8000L
#define LBS_STANDARD          (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define CBS_SIMPLE            0x0001L
#define CBS_DROPDOWN          0x0002L
#define CBS_DROPDOWNLIST      0x0003L
#define CBS_OWNERDRAWFIXED    0x0010L
#define CBS_OWNERDRAWVARIABLE 0x0020L
#define CBS_AUTOHSCROLL       0x0040L
#define CBS_OEMCONVERT        0x0080L
#define CBS_SORT              0x0100L
#define CBS_HASSTRINGS        0x0200L
#define CBS_NOINTEGRALHEIGHT  0x0400L
#define CBS_DISABLENOSCROLL   0x0800L
#define CBS_UPPERCASE         0x2000L
#define CBS_LOWERCASE         0x4000L

#define SBS_HORZ                    0x0000L
#define SBS_VERT                    0x0001L
#define SBS_TOPALIGN                0x0002L
#define SBS_LEFTALIGN               0x0002L
#define SBS_BOTTOMALIGN             0x0004L
#define SBS_RIGHTALIGN              0x0004L
#define SBS_SIZEBOXTOPLEFTALIGN     0x0002L
#define SBS_SIZEBOXBOTTOMRIGHTALIGN 0x0004L
#define SBS_SIZEBOX                 0x0008L
#define SBS_SIZEGRIP                0x0010L

#define IDOK        1
#define IDCANCEL    2
#define IDABORT     3
#define IDRETRY     4
#define IDIGNORE    5
#define IDYES       6
#define IDNO        7
#define IDCLOSE     8
#define IDHELP      9
#define IDTRYAGAIN  10
#define IDCONTINUE  11

#define VK_LBUTTON   0x01
#define VK_RBUTTON   0x02
#define VK_CANCEL    0x03
#define VK_MBUTTON   0x04
#define VK_BACK      0x08
#define VK_TAB       0x09
#define VK_CLEAR     0x0C
#define VK_RETURN    0x0D
#define VK_SHIFT     0x10
#define VK_CONTROL   0x11
#define VK_MENU      0x12
#define VK_PAUSE     0x13
#define VK_CAPITAL   0x14
#define VK_ESCAPE    0x1B
#define VK_SPACE     0x20
#define VK_PRIOR     0x21
#define VK_NEXT      0x22
#define VK_END       0x23
#define VK_HOME      0x24
#define VK_LEFT      0x25
#define VK_UP        0x26
#define VK_RIGHT     0x27
#define VK_DOWN      0x28
#define VK_SELECT    0x29
#define VK_PRINT     0x2A
#define VK_EXECUTE   0x2B
#define VK_SNAPSHOT  0x2C
#define VK_INSERT    0x2D
#define VK_DELETE    0x2E
#define VK_HELP      0x2F
#define VK_LWIN      0x5B
#define VK_RWIN      0x5C
#define VK_APPS      0x5D
#define VK_NUMPAD0   0x60
#define VK_NUMPAD1   0x61
#define VK_NUMPAD2   0x62
#define VK_NUMPAD3   0x63
#define VK_NUMPAD4   0x64
#define VK_NUMPAD5   0x65
#define VK_NUMPAD6   0x66
#define VK_NUMPAD7   0x67
#define VK_NUMPAD8   0x68
#define VK_NUMPAD9   0x69
#define VK_MULTIPLY  0x6A
#define VK_ADD       0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT  0x6D
#define VK_DECIMAL   0x6E
#define VK_DIVIDE    0x6F
#define VK_F1        0x70
#define VK_F2        0x71
#define VK_F3        0x72
#define VK_F4        0x73
#define VK_F5        0x74
#define VK_F6        0x75
#define VK_F7        0x76
#define VK_F8        0x77
#define VK_F9        0x78
#define VK_F10       0x79
#define VK_F11       0x7A
#define VK_F12       0x7B
#define VK_F13       0x7C
#define VK_F14       0x7D
#define VK_F15       0x7E
#define VK_F16       0x7F
#define VK_NUMLOCK   0x90
#define VK_SCROLL    0x91
#define VK_LSHIFT    0xA0
#define VK_RSHIFT    0xA1
#define VK_LCONTROL  0xA2
#define VK_RCONTROL  0xA3
#define VK_LMENU     0xA4
#define VK_RMENU     0xA5
#define VK_OEM_1     0xBA
#define VK_OEM_PLUS  0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2     0xBF
#define VK_OEM_3     0xC0
#define VK_OEM_4     0xDB
#define VK_OEM_5     0xDC
#define VK_OEM_6     0xDD
#define VK_OEM_7     0xDE

#define MF_INSERT          0x00000000L
#define MF_CHANGE          0x00000080L
#define MF_APPEND          0x00000100L
#define MF_DELETE          0x00000200L
#define MF_REMOVE          0x00001000L
#define MF_BYCOMMAND       0x00000000L
#define MF_BYPOSITION      0x00000400L
#define MF_SEPARATOR       0x00000800L
#define MF_ENABLED         0x00000000L
#define MF_GRAYED          0x00000001L
#define MF_DISABLED        0x00000002L
#define MF_UNCHECKED       0x00000000L
#define MF_CHECKED         0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING          0x00000000L
#define MF_BITMAP          0x00000004L
#define MF_OWNERDRAW       0x00000100L
#define MF_POPUP           0x00000010L
#define MF_MENUBARBREAK    0x00000020L
#define MF_MENUBREAK       0x00000040L
#define MF_UNHILITE        0x00000000L
#define MF_HILITE          0x00000080L
#define MF_DEFAULT         0x00001000L
#define MF_RIGHTJUSTIFY    0x00004000L
#define MF_HELP            0x00004000L
#define MF_END             0x00000080L

#define MFT_STRING         MF_STRING
#define MFT_BITMAP         MF_BITMAP
#define MFT_MENUBARBREAK   MF_MENUBARBREAK
#define MFT_MENUBREAK      MF_MENUBREAK
#define MFT_OWNERDRAW      MF_OWNERDRAW
#define MFT_RADIOCHECK     0x00000200L
#define MFT_SEPARATOR      MF_SEPARATOR
#define MFT_RIGHTORDER     0x00002000L
#define MFT_RIGHTJUSTIFY   MF_RIGHTJUSTIFY

#define MFS_GRAYED         0x00000003L
#define MFS_DISABLED       MFS_GRAYED
#define MFS_CHECKED        MF_CHECKED
#define MFS_HILITE         MF_HILITE
#define MFS_ENABLED        MF_ENABLED
#define MFS_UNCHECKED      MF_UNCHECKED
#define MFS_UNHILITE       MF_UNHILITE
#define MFS_DEFAULT        MF_DEFAULT

#define RT_MANIFEST                          24
#define CREATEPROCESS_MANIFEST_RESOURCE_ID   1
#define ISOLATIONAWARE_MANIFEST_RESOURCE_ID  2

#endif
)";

const char kWinNt[] = R"(
#ifndef ZYN_RC_WINNT_H
#define ZYN_RC_WINNT_H

#define MAKELANGID(p, s)  ((((s)) << 10) | (p))

#define LANG_NEUTRAL     0x00
#define LANG_INVARIANT   0x7f
#define LANG_ARABIC      0x01
#define LANG_CHINESE     0x04
#define LANG_CZECH       0x05
#define LANG_DANISH      0x06
#define LANG_GERMAN      0x07
#define LANG_GREEK       0x08
#define LANG_ENGLISH     0x09
#define LANG_SPANISH     0x0a
#define LANG_FINNISH     0x0b
#define LANG_FRENCH      0x0c
#define LANG_HEBREW      0x0d
#define LANG_HUNGARIAN   0x0e
#define LANG_ITALIAN     0x10
#define LANG_JAPANESE    0x11
#define LANG_KOREAN      0x12
#define LANG_DUTCH       0x13
#define LANG_NORWEGIAN   0x14
#define LANG_POLISH      0x15
#define LANG_PORTUGUESE  0x16
#define LANG_RUSSIAN     0x19
#define LANG_SWEDISH     0x1d
#define LANG_TURKISH     0x1f

#define SUBLANG_NEUTRAL        0x00
#define SUBLANG_DEFAULT        0x01
#define SUBLANG_SYS_DEFAULT    0x02
#define SUBLANG_ENGLISH_US     0x01
#define SUBLANG_ENGLISH_UK     0x02
#define SUBLANG_ENGLISH_AUS    0x03
#define SUBLANG_ENGLISH_CAN    0x04
#define SUBLANG_GERMAN         0x01
#define SUBLANG_GERMAN_SWISS   0x02
#define SUBLANG_GERMAN_AUSTRIAN 0x03
#define SUBLANG_FRENCH         0x01
#define SUBLANG_FRENCH_BELGIAN 0x02
#define SUBLANG_FRENCH_CANADIAN 0x03
#define SUBLANG_FRENCH_SWISS   0x04
#define SUBLANG_DUTCH          0x01
#define SUBLANG_DUTCH_BELGIAN  0x02
#define SUBLANG_SPANISH        0x01
#define SUBLANG_SPANISH_MODERN 0x03
#define SUBLANG_ITALIAN        0x01
#define SUBLANG_PORTUGUESE     0x02
#define SUBLANG_PORTUGUESE_BRAZILIAN 0x01
#define SUBLANG_CHINESE_TRADITIONAL  0x01
#define SUBLANG_CHINESE_SIMPLIFIED   0x02

#endif
)";

const char kCommCtrl[] = R"(
#ifndef ZYN_RC_COMMCTRL_H
#define ZYN_RC_COMMCTRL_H

#define WC_HEADER           "SysHeader32"
#define TOOLBARCLASSNAME    "ToolbarWindow32"
#define REBARCLASSNAME      "ReBarWindow32"
#define TOOLTIPS_CLASS      "tooltips_class32"
#define STATUSCLASSNAME     "msctls_statusbar32"
#define TRACKBAR_CLASS      "msctls_trackbar32"
#define UPDOWN_CLASS        "msctls_updown32"
#define PROGRESS_CLASS      "msctls_progress32"
#define HOTKEY_CLASS        "msctls_hotkey32"
#define WC_LISTVIEW         "SysListView32"
#define WC_TREEVIEW         "SysTreeView32"
#define WC_TABCONTROL       "SysTabControl32"
#define ANIMATE_CLASS       "SysAnimate32"
#define DATETIMEPICK_CLASS  "SysDateTimePick32"
#define MONTHCAL_CLASS      "SysMonthCal32"
#define WC_IPADDRESS        "SysIPAddress32"
#define WC_COMBOBOXEX       "ComboBoxEx32"

#define CCS_TOP             0x00000001L
#define CCS_NOMOVEY         0x00000002L
#define CCS_BOTTOM          0x00000003L
#define CCS_NORESIZE        0x00000004L
#define CCS_NOPARENTALIGN   0x00000008L
#define CCS_ADJUSTABLE      0x00000020L
#define CCS_NODIVIDER       0x00000040L
#define CCS_VERT            0x00000080L

#define TBS_AUTOTICKS       0x0001
#define TBS_VERT            0x0002
#define TBS_HORZ            0x0000
#define TBS_TOP             0x0004
#define TBS_BOTTOM          0x0000
#define TBS_LEFT            0x0004
#define TBS_RIGHT           0x0000
#define TBS_BOTH            0x0008
#define TBS_NOTICKS         0x0010
#define TBS_ENABLESELRANGE  0x0020
#define TBS_FIXEDLENGTH     0x0040
#define TBS_NOTHUMB         0x0080
#define TBS_TOOLTIPS        0x0100

#define UDS_WRAP            0x0001
#define UDS_SETBUDDYINT     0x0002
#define UDS_ALIGNRIGHT      0x0004
#define UDS_ALIGNLEFT       0x0008
#define UDS_AUTOBUDDY       0x0010
#define UDS_ARROWKEYS       0x0020
#define UDS_HORZ            0x0040
#define UDS_NOTHOUSANDS     0x0080
#define UDS_HOTTRACK        0x0100

#define PBS_SMOOTH          0x01
#define PBS_VERTICAL        0x04

#define LVS_ICON            0x0000
#define LVS_REPORT          0x0001
#define LVS_SMALLICON       0x0002
#define LVS_LIST            0x0003
#define LVS_SINGLESEL       0x0004
#define LVS_SHOWSELALWAYS   0x0008
#define LVS_SORTASCENDING   0x0010
#define LVS_SORTDESCENDING  0x0020
#define LVS_SHAREIMAGELISTS 0x0040
#define LVS_NOLABELWRAP     0x0080
#define LVS_AUTOARRANGE     0x0100
#define LVS_EDITLABELS      0x0200
#define LVS_OWNERDRAWFIXED  0x0400
#define LVS_ALIGNTOP        0x0000
#define LVS_ALIGNLEFT       0x0800
#define LVS_OWNERDATA       0x1000
#define LVS_NOSCROLL        0x2000
#define LVS_NOCOLUMNHEADER  0x4000
#define LVS_NOSORTHEADER    0x8000

#define TVS_HASBUTTONS      0x0001
#define TVS_HASLINES        0x0002
#define TVS_LINESATROOT     0x0004
#define TVS_EDITLABELS      0x0008
#define TVS_DISABLEDRAGDROP 0x0010
#define TVS_SHOWSELALWAYS   0x0020
#define TVS_CHECKBOXES      0x0100
#define TVS_TRACKSELECT     0x0200
#define TVS_SINGLEEXPAND    0x0400
#define TVS_FULLROWSELECT   0x1000

#define TCS_SCROLLOPPOSITE    0x0001
#define TCS_BOTTOM            0x0002
#define TCS_RIGHT             0x0002
#define TCS_MULTISELECT       0x0004
#define TCS_FLATBUTTONS       0x0008
#define TCS_FORCEICONLEFT     0x0010
#define TCS_FORCELABELLEFT    0x0020
#define TCS_HOTTRACK          0x0040
#define TCS_VERTICAL          0x0080
#define TCS_TABS              0x0000
#define TCS_BUTTONS           0x0100
#define TCS_SINGLELINE        0x0000
#define TCS_MULTILINE         0x0200
#define TCS_RIGHTJUSTIFY      0x0000
#define TCS_FIXEDWIDTH        0x0400
#define TCS_RAGGEDRIGHT       0x0800
#define TCS_FOCUSONBUTTONDOWN 0x1000
#define TCS_OWNERDRAWFIXED    0x2000
#define TCS_TOOLTIPS          0x4000
#define TCS_FOCUSNEVER        0x8000

#define DTS_UPDOWN          0x0001
#define DTS_SHOWNONE        0x0002
#define DTS_SHORTDATEFORMAT 0x0000
#define DTS_LONGDATEFORMAT  0x0004
#define DTS_TIMEFORMAT      0x0009
#define DTS_APPCANPARSE     0x0010
#define DTS_RIGHTALIGN      0x0020

#endif
)";

const char kWinResRc[] = R"(
#ifndef ZYN_RC_WINRESRC_H
#define ZYN_RC_WINRESRC_H
#include <winuser.h>
#include <winnt.h>
#include <commctrl.h>
#endif
)";

const char kWinRes[] = R"(
#ifndef ZYN_RC_WINRES_H
#define ZYN_RC_WINRES_H
#include <winresrc.h>
#ifdef IDC_STATIC
#undef IDC_STATIC
#endif
#define IDC_STATIC (-1)
#endif
)";

// The class library's standard IDs: the text of platform/afx/afxres.h itself, embedded at
// build time, so scripts and code always share one list.
const char kAfxRes[] = "\n#ifndef ZYN_RC_AFXRES_H\n#define ZYN_RC_AFXRES_H\n#include <winres.h>\n"
#include "afxres_text.inc"
                       "\n#endif\n";

const char kWindows[] = R"(
#ifndef ZYN_RC_WINDOWS_H
#define ZYN_RC_WINDOWS_H
#include <winresrc.h>
#endif
)";

struct Header {
    const char* name;
    const char* text;
};
constexpr Header kHeaders[] = {
    {"windows.h", kWindows},
    {"winresrc.h", kWinResRc},
    {"winres.h", kWinRes},
    {"winuser.h", kWinUser},
    {"winuser.rh", kWinUser},
    {"winnt.h", kWinNt},
    {"winnt.rh", kWinNt},
    {"commctrl.h", kCommCtrl},
    {"commctrl.rh", kCommCtrl},
    {"afxres.h", kAfxRes},
};

} // namespace

const char* BuiltinHeader(const std::string& lowerName)
{
    for (const Header& h : kHeaders)
        if (lowerName == h.name)
            return h.text;
    return nullptr;
}

} // namespace zyn::rc
