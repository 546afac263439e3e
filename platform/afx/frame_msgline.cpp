// The frame's message line and lock indicators: which window shows the line, the prompt a
// message ID stands for, and the indicator panes following the toggle keys.
#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/frame.h"
#include "platform/afx/frame_help.h"
#include "platform/base/resource.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/vkeys.h"

namespace {

constexpr int kVkKana = 0x15;   // the kana toggle of Japanese keyboards

} // namespace

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    if (!pCmdUI)
        return;
    int vk = 0;
    switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS:
        vk = VK_CAPITAL;
        break;
    case ID_INDICATOR_NUM:
        vk = VK_NUMLOCK;
        break;
    case ID_INDICATOR_SCRL:
        vk = VK_SCROLL;
        break;
    case ID_INDICATOR_KANA:
        vk = kVkKana;
        break;
    default:
        pCmdUI->ContinueRouting();   // not a lock key: someone else's indicator
        return;
    }
    // Bit 0 of the key state is the toggle: the pane shows its text only while it is on.
    pCmdUI->Enable((::GetKeyState(vk) & 0x0001) != 0);
}

namespace zyn::afx {

bool IsContextHelpKey(const MSG& msg)
{
    return msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && ::GetKeyState(VK_SHIFT) < 0 &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0;
}

UINT PromptIDFor(UINT nID, bool bHelpMode)
{
    if (nID == AFX_IDS_IDLEMESSAGE && bHelpMode && AfxFindStringResourceHandle(AFX_IDS_HELPMODEMESSAGE))
        return AFX_IDS_HELPMODEMESSAGE;
    if (nID >= 0xF000 && nID < 0xF1F0)
        return ((nID - 0xF000) >> 4) + AFX_IDS_SCFIRST;   // SC_SIZE -> AFX_IDS_SCSIZE ...
    if (nID >= AFX_IDM_FIRST_MDICHILD)
        return AFX_IDS_MDICHILD;
    return nID;
}

} // namespace zyn::afx
