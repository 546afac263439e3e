#pragma once
// The saved state both main frames (MDI and SDI) share: the window placement under
// "WindowPlacement" in the application profile and the bar layout under a profile name
// through CDockState. The routines are free functions over a CFrameWnd so that the two
// frame classes, which have different bases, run the same code.
//
// The placement is kept as the window placement gives it, in coordinates relative to the
// work area's corner, and restored in the same ("Left", "Top", "Right", "Bottom"), with
// "Maximize" 1 for any show state other than normal, so a frame closed minimised opens
// maximised. A first run (no "Left") asks the host to show the frame maximised and leaves
// its placement alone. A saved rectangle that is empty or turned inside out is not
// applied; one that lies on no monitor any more is moved onto the nearest work area.
//
// A saved bar layout is applied only when every bar it names still exists: a layout that
// names a bar the host no longer makes is dropped whole, so every bar keeps its default
// place and no floating frame is left behind for the missing bar.
#include <optional>

#include "platform/base/wintypes.h"

class CDockState;
class CFrameWnd;

namespace zyn::frames {

inline constexpr const wchar_t* kPlacementSection = L"WindowPlacement";
inline constexpr const wchar_t* kBarStateName = L"ControlBarState";

// The largest coordinate (and size) a saved window rectangle may hold: beyond any screen.
inline constexpr int kMaxSavedCoord = 0x7FFF;
// A window rectangle read back from the profile, or nullopt when it is refused as damaged
// (empty, turned inside out, or a coordinate or size beyond kMaxSavedCoord); a refusal is
// logged once with its section and entry.
std::optional<RECT> CheckSavedWindowRect(const RECT& saved, LPCWSTR lpszSection, LPCWSTR lpszEntry);

// Writes the frame's normal rectangle (work-area coordinates) and "Maximize"; nothing without an
// application object or a window.
void SaveWindowPlacement(CFrameWnd& frame);
// Reads the placement back into the frame and the application's show command; see above.
void RestoreWindowPlacement(CFrameWnd& frame);
// Writes the bar layout under lpszProfileName: the dock state, and beside it (in the
// section of that name) each size bar's sizes, which the dock state does not hold.
void SaveBarLayout(CFrameWnd& frame, LPCWSTR lpszProfileName);
// Applies a dock state when every record finds its bar; FALSE (nothing changed) otherwise.
BOOL ApplyDockState(CFrameWnd& frame, const CDockState& state);
// Loads the state under lpszProfileName and applies it; FALSE when it does not load or
// names a missing bar. The size bars' sizes are read either way, and docked size bars that
// would leave the client no room are narrowed (zyn::sizedock::KeepClientRoom).
BOOL LoadBarState(CFrameWnd& frame, LPCWSTR lpszProfileName);

} // namespace zyn::frames
