// CZynCtrlBar and CCtrlbarMap.
#include "frames/zyn_ctrl_bar.h"

#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CZynCtrlBar, COXSizeControlBar)

BEGIN_MESSAGE_MAP(CZynCtrlBar, COXSizeControlBar)
END_MESSAGE_MAP()

CZynCtrlBar::CZynCtrlBar(int nStyle) : COXSizeControlBar(nStyle) {}

CZynCtrlBar::~CZynCtrlBar() = default;

CZynCtrlBar* CCtrlbarMap::Find(UINT id) const
{
    const auto it = find(id);
    return it == end() ? nullptr : it->second;
}

std::pair<CCtrlbarMap::iterator, bool> CCtrlbarMap::Insert(CZynCtrlBar* pBar)
{
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return {end(), false};
    return emplace(static_cast<UINT>(pBar->GetDlgCtrlID()), pBar);
}
