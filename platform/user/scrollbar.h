#pragma once
// Scroll bars. SB_HORZ and SB_VERT are the window's own bars (WS_HSCROLL/WS_VSCROLL), drawn
// in its non-client area and tracked by DefWindowProc with WM_HSCROLL/WM_VSCROLL. SB_CTL
// addresses a scroll-bar control: these calls send it SBM_* messages.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw);   // the new position
BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi);
int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);           // the previous position
int GetScrollPos(HWND hWnd, int nBar);
BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows);
BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, PSCROLLBARINFO psbi);
