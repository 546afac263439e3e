#pragma once
// PNG snapshots of surfaces, DCs and bitmaps (8-bit RGB, through libpng).
#include <string>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

class Surface;

// Writes `rect` of the surface (surface coordinates, clipped to it; null: all of it).
// False with the last error set when the rectangle is empty or the file cannot be written.
bool SaveSurfacePng(const Surface& s, const RECT* rect, const std::string& path);
// Writes a rectangle of a DC in its logical coordinates (null: the DC's whole device area).
bool SaveDcPng(HDC hdc, const RECT* rect, const std::string& path);
bool SaveBitmapPng(HBITMAP hbm, const std::string& path);

} // namespace zyn::gdi
