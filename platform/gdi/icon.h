#pragma once
// Icons and cursors (one handle table; HICON and HCURSOR are one type): creation from
// bitmaps and bits, the system icons and cursors, loading from files and module
// resources (LoadImage and friends), copying. Drawing and destruction are declared with
// the rest of the drawing API in wingdi.h.
//
// An icon has a colour plane and a mask plane. Drawing with DI_NORMAL blits the mask with
// SRCAND and then the colour plane with SRCINVERT, so per pixel:
//   mask 1, colour black   transparent        mask 0, colour c       c
//   mask 1, colour white   inverts the screen
// A monochrome icon has no colour plane; its mask bitmap is twice as high: the AND mask
// on top of the XOR image. A colour plane whose pixels carry alpha is drawn with
// per-pixel alpha blending instead (DI_NORMAL into a colour DC).
//
// System icons and cursors (LoadIcon/LoadCursor with a null module) and every image
// loaded with LR_SHARED are shared: DestroyIcon and DestroyCursor accept them and leave
// them alive, and they never count as leaks.
#include <cstddef>

#include "platform/base/resource.h"
#include "platform/base/wintypes.h"

inline constexpr zyn::base::IntResource IDI_APPLICATION{32512}, IDI_HAND{32513}, IDI_ERROR{32513},
    IDI_QUESTION{32514}, IDI_EXCLAMATION{32515}, IDI_WARNING{32515}, IDI_ASTERISK{32516},
    IDI_INFORMATION{32516}, IDI_WINLOGO{32517}, IDI_SHIELD{32518};
inline constexpr zyn::base::IntResource IDC_ARROW{32512}, IDC_IBEAM{32513}, IDC_WAIT{32514}, IDC_CROSS{32515},
    IDC_UPARROW{32516}, IDC_SIZE{32640}, IDC_ICON{32641}, IDC_SIZENWSE{32642}, IDC_SIZENESW{32643},
    IDC_SIZEWE{32644}, IDC_SIZENS{32645}, IDC_SIZEALL{32646}, IDC_NO{32648}, IDC_HAND{32649},
    IDC_APPSTARTING{32650}, IDC_HELP{32651};
// The same images by number, as LoadImage takes them with a null module.
inline constexpr WORD OCR_NORMAL = 32512, OCR_IBEAM = 32513, OCR_WAIT = 32514, OCR_CROSS = 32515, OCR_UP = 32516,
                      OCR_SIZENWSE = 32642, OCR_SIZENESW = 32643, OCR_SIZEWE = 32644, OCR_SIZENS = 32645,
                      OCR_SIZEALL = 32646, OCR_NO = 32648, OCR_HAND = 32649, OCR_APPSTARTING = 32650;
inline constexpr WORD OIC_SAMPLE = 32512, OIC_HAND = 32513, OIC_QUES = 32514, OIC_BANG = 32515, OIC_NOTE = 32516,
                      OIC_WINLOGO = 32517, OIC_WARNING = 32515, OIC_ERROR = 32513, OIC_INFORMATION = 32516,
                      OIC_SHIELD = 32518;

inline constexpr UINT IMAGE_BITMAP = 0, IMAGE_ICON = 1, IMAGE_CURSOR = 2, IMAGE_ENHMETAFILE = 3;
inline constexpr UINT LR_DEFAULTCOLOR = 0x0000, LR_MONOCHROME = 0x0001, LR_COLOR = 0x0002,
                      LR_COPYRETURNORG = 0x0004, LR_COPYDELETEORG = 0x0008, LR_LOADFROMFILE = 0x0010,
                      LR_LOADTRANSPARENT = 0x0020, LR_DEFAULTSIZE = 0x0040, LR_VGACOLOR = 0x0080,
                      LR_LOADMAP3DCOLORS = 0x1000, LR_CREATEDIBSECTION = 0x2000, LR_COPYFROMRESOURCE = 0x4000,
                      LR_SHARED = 0x8000;

// Loads an icon of the default size (SM_CXICON x SM_CYICON) from a module's RT_GROUP_ICON
// resources, or a system icon (IDI_*) when hInstance is null. The result is shared.
HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName);
// The same for cursors (RT_GROUP_CURSOR; IDC_* with a null module).
HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName);
HCURSOR LoadCursor(HINSTANCE hInstance, LPCWSTR lpCursorName);
// A bitmap resource (RT_BITMAP) as a device bitmap; 1-bit images give mono bitmaps.
HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName);
HBITMAP LoadBitmap(HINSTANCE hInstance, LPCWSTR lpBitmapName);

// Loads a bitmap, icon or cursor from a file (LR_LOADFROMFILE: `name` is a path to a BMP,
// ICO or CUR file), from a module's resources, or (null module, integer name) a system
// icon or cursor. cx/cy 0 take the image's own size, or the system size with
// LR_DEFAULTSIZE; icons pick the directory entry nearest the size and are scaled to it.
//   LR_CREATEDIBSECTION  bitmaps become DIB sections of the source depth (16 bits: 24)
//   LR_MONOCHROME        1-bit result (colours to the nearer of black and white)
//   LR_LOADTRANSPARENT   the colour of the first stored pixel becomes COLOR_WINDOW
//                        (COLOR_3DFACE together with LR_LOADMAP3DCOLORS)
//   LR_LOADMAP3DCOLORS   (128,128,128) -> COLOR_3DSHADOW, (192,192,192) -> COLOR_3DFACE,
//                        (223,223,223) -> COLOR_3DLIGHT
//   LR_SHARED            icons and cursors: one shared object per source, name and size
// The colour edits change the colour table of indexed images, and the pixels of deeper ones.
// Failures: null with ERROR_FILE_NOT_FOUND / ERROR_RESOURCE_*_NOT_FOUND / ERROR_INVALID_DATA
// (malformed data; zyn::gdi::LastImageError() says what is wrong) / ERROR_INVALID_PARAMETER.
HANDLE LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);
HANDLE LoadImage(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);
// A copy of a bitmap, icon or cursor, scaled to cx x cy when they are not 0.
// LR_COPYDELETEORG destroys the original; LR_COPYRETURNORG returns the original when
// nothing would change; LR_MONOCHROME and LR_CREATEDIBSECTION (bitmaps) as for LoadImage.
HANDLE CopyImage(HANDLE h, UINT type, int cx, int cy, UINT flags);

// An icon from device-format bits: the AND mask is 1 bit a pixel, the XOR image has
// cPlanes * cBitsPixel bits (1, 24 or 32); rows are padded to 16 bits as CreateBitmap's.
HICON CreateIcon(HINSTANCE hInstance, int nWidth, int nHeight, BYTE cPlanes, BYTE cBitsPixel, const BYTE* lpbANDbits,
    const BYTE* lpbXORbits);
HCURSOR CreateCursor(HINSTANCE hInst, int xHotSpot, int yHotSpot, int nWidth, int nHeight, const void* pvANDPlane,
    const void* pvXORPlane);
// From the bytes of an RT_ICON resource (an icon image) or an RT_CURSOR resource (a
// hotspot and an image); scaled to cx x cy when they are not 0.
HICON CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer, int cxDesired,
    int cyDesired, UINT Flags);
HICON CreateIconFromResource(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer);
// The image ID of the RT_GROUP_ICON / RT_GROUP_CURSOR directory entry nearest cx x cy
// (0 for the system size); 0 when the directory is malformed.
int LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags);
int LookupIconIdFromDirectory(PBYTE presbits, BOOL fIcon);

namespace zyn::gdi {
// Icons and cursors alive that are not shared, for leak tests.
size_t LiveIconCount();
} // namespace zyn::gdi
