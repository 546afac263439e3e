#pragma once
// The clipboard, within the process. Data are HGLOBAL blocks that the clipboard owns once
// set. Text formats follow the byte-boundary rule: CF_UNICODETEXT holds UTF-16LE with a
// terminating zero unit, CF_TEXT and CF_OEMTEXT the ANSI / OEM code page with a zero byte;
// each text format is synthesised from another when asked for and not set.
#include "platform/base/wintypes.h"

inline constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_METAFILEPICT = 3, CF_SYLK = 4, CF_DIF = 5, CF_TIFF = 6,
                      CF_OEMTEXT = 7, CF_DIB = 8, CF_PALETTE = 9, CF_PENDATA = 10, CF_RIFF = 11, CF_WAVE = 12,
                      CF_UNICODETEXT = 13, CF_ENHMETAFILE = 14, CF_HDROP = 15, CF_LOCALE = 16, CF_DIBV5 = 17,
                      CF_OWNERDISPLAY = 0x0080, CF_DSPTEXT = 0x0081, CF_DSPBITMAP = 0x0082,
                      CF_PRIVATEFIRST = 0x0200, CF_PRIVATELAST = 0x02FF, CF_GDIOBJFIRST = 0x0300,
                      CF_GDIOBJLAST = 0x03FF;

// Fails with ERROR_ACCESS_DENIED while another thread has the clipboard open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
// Frees the data, sends WM_DESTROYCLIPBOARD to the previous owner and makes the opener
// the owner.
BOOL EmptyClipboard();
// A null hMem announces delayed rendering: the owner gets WM_RENDERFORMAT when asked.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
UINT RegisterClipboardFormatW(LPCWSTR lpszFormat);
UINT RegisterClipboardFormat(LPCWSTR lpszFormat);
int GetClipboardFormatNameW(UINT format, LPWSTR lpszFormatName, int cchMaxCount);
int GetClipboardFormatName(UINT format, LPWSTR lpszFormatName, int cchMaxCount);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
DWORD GetClipboardSequenceNumber();
