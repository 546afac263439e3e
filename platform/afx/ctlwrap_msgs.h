#pragma once
// The documented message numbers, styles and answers of the edit, list-box and combo-box
// controls, as the class library's wrappers and data exchange send them. They live in a
// namespace of their own so that they never collide with the window system's public
// names for the same numbers; code outside the class library uses those.
#include "platform/base/wintypes.h"

namespace zyn::afx::ctl {

// ---- edit controls ------------------------------------------------------------------------------------------------
inline constexpr UINT kEmGetSel = 0x00B0, kEmSetSel = 0x00B1, kEmGetRect = 0x00B2, kEmSetRect = 0x00B3,
                      kEmSetRectNp = 0x00B4, kEmScroll = 0x00B5, kEmLineScroll = 0x00B6, kEmScrollCaret = 0x00B7,
                      kEmGetModify = 0x00B8, kEmSetModify = 0x00B9, kEmGetLineCount = 0x00BA,
                      kEmLineIndex = 0x00BB, kEmLineLength = 0x00C1, kEmReplaceSel = 0x00C2, kEmGetLine = 0x00C4,
                      kEmLimitText = 0x00C5, kEmCanUndo = 0x00C6, kEmUndo = 0x00C7, kEmFmtLines = 0x00C8,
                      kEmLineFromChar = 0x00C9, kEmSetTabStops = 0x00CB, kEmSetPasswordChar = 0x00CC,
                      kEmEmptyUndoBuffer = 0x00CD, kEmGetFirstVisibleLine = 0x00CE, kEmSetReadOnly = 0x00CF,
                      kEmGetPasswordChar = 0x00D2, kEmSetMargins = 0x00D3, kEmGetMargins = 0x00D4,
                      kEmGetLimitText = 0x00D5, kEmPosFromChar = 0x00D6, kEmCharFromPos = 0x00D7;
inline constexpr DWORD kEsMultiline = 0x0004, kEsReadOnly = 0x0800;

// ---- list boxes -----------------------------------------------------------------------------------------------------
inline constexpr UINT kLbAddString = 0x0180, kLbInsertString = 0x0181, kLbDeleteString = 0x0182,
                      kLbResetContent = 0x0184, kLbSetSel = 0x0185, kLbSetCurSel = 0x0186, kLbGetSel = 0x0187,
                      kLbGetCurSel = 0x0188, kLbGetText = 0x0189, kLbGetTextLen = 0x018A, kLbGetCount = 0x018B,
                      kLbSelectString = 0x018C, kLbDir = 0x018D, kLbGetTopIndex = 0x018E, kLbFindString = 0x018F,
                      kLbGetSelCount = 0x0190, kLbGetSelItems = 0x0191, kLbSetTabStops = 0x0192,
                      kLbGetHorizontalExtent = 0x0193, kLbSetHorizontalExtent = 0x0194,
                      kLbSetColumnWidth = 0x0195, kLbSetTopIndex = 0x0197, kLbGetItemRect = 0x0198,
                      kLbGetItemData = 0x0199, kLbSetItemData = 0x019A, kLbSelItemRange = 0x019B,
                      kLbSetAnchorIndex = 0x019C, kLbGetAnchorIndex = 0x019D, kLbSetCaretIndex = 0x019E,
                      kLbGetCaretIndex = 0x019F, kLbSetItemHeight = 0x01A0, kLbGetItemHeight = 0x01A1,
                      kLbFindStringExact = 0x01A2, kLbSetLocale = 0x01A5, kLbGetLocale = 0x01A6,
                      kLbInitStorage = 0x01A8, kLbItemFromPoint = 0x01A9;

// ---- combo boxes ----------------------------------------------------------------------------------------------------
inline constexpr UINT kCbGetEditSel = 0x0140, kCbLimitText = 0x0141, kCbSetEditSel = 0x0142,
                      kCbAddString = 0x0143, kCbDeleteString = 0x0144, kCbDir = 0x0145, kCbGetCount = 0x0146,
                      kCbGetCurSel = 0x0147, kCbGetLbText = 0x0148, kCbGetLbTextLen = 0x0149,
                      kCbInsertString = 0x014A, kCbResetContent = 0x014B, kCbFindString = 0x014C,
                      kCbSelectString = 0x014D, kCbSetCurSel = 0x014E, kCbShowDropDown = 0x014F,
                      kCbGetItemData = 0x0150, kCbSetItemData = 0x0151, kCbGetDroppedControlRect = 0x0152,
                      kCbSetItemHeight = 0x0153, kCbGetItemHeight = 0x0154, kCbSetExtendedUi = 0x0155,
                      kCbGetExtendedUi = 0x0156, kCbGetDroppedState = 0x0157, kCbFindStringExact = 0x0158,
                      kCbSetLocale = 0x0159, kCbGetLocale = 0x015A, kCbGetTopIndex = 0x015B,
                      kCbSetTopIndex = 0x015C, kCbGetHorizontalExtent = 0x015D, kCbSetHorizontalExtent = 0x015E,
                      kCbGetDroppedWidth = 0x015F, kCbSetDroppedWidth = 0x0160, kCbInitStorage = 0x0161;
inline constexpr DWORD kCbsTypeMask = 0x0003, kCbsDropDownList = 0x0003;

// The answers of list and combo boxes (LB_ERR / CB_ERR, LB_ERRSPACE / CB_ERRSPACE).
inline constexpr LRESULT kErr = -1, kErrSpace = -2;

} // namespace zyn::afx::ctl
