#pragma once
// Context help: the help IDs a frame works out for what the user points at in help mode,
// the commands of CWinApp::WinHelp, and the record of the help requests made (there is no
// help viewer; tests and hosts read the record).
//
// A help ID is a base plus an ID: HID_BASE_COMMAND + a command (a menu item, a toolbar
// button), HID_BASE_RESOURCE + a frame's resource ID (a click on its client area that no
// window answers), HID_BASE_NCAREAS + a hit-test code (a caption, a border),
// HID_BASE_CONTROL + a control bar's ID. Windows answer WM_HELPHITTEST (lParam: the point
// in their client coordinates) with the help ID of what lies there, 0 for nothing.
#include <string>
#include <vector>

#include "platform/afx/ctrlbar.h"
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

inline constexpr DWORD HID_BASE_RESOURCE = 0x00020000, HID_BASE_PROMPT = 0x00030000,
                       HID_BASE_NCAREAS = 0x00040000, HID_BASE_DISPATCH = 0x00060000;

// WinHelp commands.
inline constexpr UINT HELP_CONTEXT = 0x0001, HELP_QUIT = 0x0002, HELP_INDEX = 0x0003, HELP_CONTENTS = 0x0003,
                      HELP_HELPONHELP = 0x0004, HELP_SETINDEX = 0x0005, HELP_CONTEXTPOPUP = 0x0008,
                      HELP_FINDER = 0x000B;

namespace zyn::afx {

// One CWinApp::WinHelp request.
struct WinHelpCall {
    DWORD_PTR dwData = 0;
    UINT nCmd = 0;
    std::wstring helpFile;   // the application's m_pszHelpFilePath at the time
};

// The requests made on this thread, oldest first.
const std::vector<WinHelpCall>& WinHelpCalls();
void ClearWinHelpCalls();

// Shift+F1 pressed (no Ctrl, no Alt).
bool IsContextHelpKey(const MSG& msg);
// The string that shows as the prompt of nID on a message line: system commands
// (0xF000-0xF1EF) have their AFX_IDS_SC* prompts, MDI child windows AFX_IDS_MDICHILD, and
// in help mode the idle prompt becomes the help-mode prompt when there is one.
UINT PromptIDFor(UINT nID, bool bHelpMode);

} // namespace zyn::afx
