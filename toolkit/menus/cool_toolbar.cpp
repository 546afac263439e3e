// Placeholder bodies of the cool toolbar: the bar behaves as a plain class-library toolbar
// until its own bodies land.
#include "toolkit/menus/cool_toolbar.h"

#include "toolkit/skins/toolbar_skin.h"

IMPLEMENT_DYNAMIC(COXCoolToolBar, CMFCToolBar)

BEGIN_MESSAGE_MAP(COXCoolToolBar, CMFCToolBar)
END_MESSAGE_MAP()

DWORD COXCoolToolBar::m_dwComCtlVersion = 0;
std::map<int, OXCUSTOMBUTTONDESCRIPTOR> COXCoolToolBar::m_mapAllCustomButtons;
std::vector<int> COXCoolToolBar::m_arrAllCustomButtonIDs;
BOOL COXCoolToolBar::m_bCustomButtonsStateSaved = FALSE;
BOOL COXCoolToolBar::m_bCustomButtonsStateLoaded = FALSE;

void COXCoolToolBarCmdUI::Enable(BOOL) {}
void COXCoolToolBarCmdUI::SetCheck(int) {}

COXCoolToolBar::COXCoolToolBar() = default;
COXCoolToolBar::~COXCoolToolBar() = default;

BOOL COXCoolToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CToolBar::Create(pParentWnd, dwStyle, nID); }
void COXCoolToolBar::EnableDocking(DWORD dwDockStyle, BOOL bFlag)
{
    CControlBar::EnableDocking(dwDockStyle);
    m_bDockingFlag = bFlag;
}
BOOL COXCoolToolBar::DockControlBarLeftOf(CMFCToolBar*) { return FALSE; }

void COXCoolToolBar::SetFlat(BOOL) {}
BOOL COXCoolToolBar::IsFlat() const { return FALSE; }
void COXCoolToolBar::SetList(BOOL) {}
BOOL COXCoolToolBar::IsList() const { return FALSE; }
void COXCoolToolBar::SetGripper(BOOL) {}
void COXCoolToolBar::SetDropDownArrow(BOOL bDropDownArrow) { m_bDropDownArrow = bDropDownArrow; }
BOOL COXCoolToolBar::IsDropDownArrow() const { return m_bDropDownArrow; }
BOOL COXCoolToolBar::SetIndent(int) { return FALSE; }
BOOL COXCoolToolBar::SetButtonsMinMaxWidth(UINT, UINT) { return FALSE; }
BOOL COXCoolToolBar::SetMaxTextRows(int) { return FALSE; }
int COXCoolToolBar::GetTextRows() const { return 0; }
CSize COXCoolToolBar::GetButtonsSize() const { return m_sizeButton; }
void COXCoolToolBar::IniSizes(CSize) {}
void COXCoolToolBar::UpdateSizes() {}

void COXCoolToolBar::SetIcon(HICON, BOOL) {}
void COXCoolToolBar::SetIcon(LPCTSTR, CSize, HINSTANCE, BOOL) {}
void COXCoolToolBar::SetIcon(UINT, CSize, HINSTANCE, BOOL) {}

void COXCoolToolBar::SetStyle(DWORD) {}
DWORD COXCoolToolBar::GetStyle() const { return CWnd::GetStyle(); }
DWORD COXCoolToolBar::SetStyleEx(DWORD) { return 0; }
DWORD COXCoolToolBar::GetStyleEx() const { return 0; }
HIMAGELIST COXCoolToolBar::SetDefaultImageList(HIMAGELIST) { return nullptr; }
HIMAGELIST COXCoolToolBar::GetDefaultImageList() const { return nullptr; }
HIMAGELIST COXCoolToolBar::SetHotImageList(HIMAGELIST) { return nullptr; }
HIMAGELIST COXCoolToolBar::GetHotImageList() const { return nullptr; }
HIMAGELIST COXCoolToolBar::SetDisabledImageList(HIMAGELIST) { return nullptr; }
HIMAGELIST COXCoolToolBar::GetDisabledImageList() const { return nullptr; }
void COXCoolToolBar::LoadImage(int, HINSTANCE) {}
int COXCoolToolBar::HitTest(POINT*) const { return -1; }
BOOL COXCoolToolBar::MarkButton(int, BOOL) { return FALSE; }
BOOL COXCoolToolBar::IsButtonHighlighted(int) const { return FALSE; }
BOOL COXCoolToolBar::GetAnchorHighlight() const { return FALSE; }
BOOL COXCoolToolBar::SetAnchorHighlight(BOOL) { return FALSE; }
void COXCoolToolBar::GetInsertMark(TBINSERTMARK*) const {}
void COXCoolToolBar::SetInsertMark(TBINSERTMARK*) {}
void COXCoolToolBar::SetInsertMark(int, DWORD) {}
BOOL COXCoolToolBar::MoveButton(UINT, UINT) { return FALSE; }

HBITMAP COXCoolToolBar::AddBitmap(LPTSTR) { return nullptr; }
HBITMAP COXCoolToolBar::AddBitmap(UINT) { return nullptr; }
HIMAGELIST COXCoolToolBar::AddImageList(LPTSTR, int, int, COLORREF, UINT, UINT) { return nullptr; }
HIMAGELIST COXCoolToolBar::AddImageList(LPTSTR, int, COLORREF, UINT, int, int) { return nullptr; }

void COXCoolToolBar::SetButtonTextFromID(UINT, UINT, TextTypeFromID type) { m_ttID = type; }
BOOL COXCoolToolBar::SetButtonText(int nIndex, LPCTSTR lpszText) { return CToolBar::SetButtonText(nIndex, lpszText); }
CString COXCoolToolBar::GetRecentButtonText(UINT) const { return CString(); }
CString COXCoolToolBar::GetButtonTooltip(int) const { return CString(); }

void COXCoolToolBar::RedrawToolBar(BOOL, BOOL) {}
void COXCoolToolBar::RedrawButton(int) {}

COXToolbarSkin* COXCoolToolBar::GetToolbarSkin()
{
    if (!m_pFallbackSkin)
        m_pFallbackSkin = std::make_unique<COXToolbarSkinClassic>();
    return m_pFallbackSkin.get();
}
HRESULT COXCoolToolBar::GetComCtlVersion(DWORD*, DWORD*) const { return E_FAIL; }

int COXCoolToolBar::AddCustomButton(COXCustomTBButtonTemplate*, int, int, int, int, int) { return -1; }
int COXCoolToolBar::AddCustomButton(OXCUSTOMBUTTONDESCRIPTOR&) { return -1; }
BOOL COXCoolToolBar::SetCustomButton(int, OXCUSTOMBUTTONDESCRIPTOR&) { return FALSE; }
int COXCoolToolBar::GetCustomButtonIndex(int) { return -1; }
int COXCoolToolBar::GetCustomButtonIndex(CWnd*) { return -1; }
BOOL COXCoolToolBar::GetRegisteredCustomButton(int, OXCUSTOMBUTTONDESCRIPTOR&) { return FALSE; }
void COXCoolToolBar::ResetCustomButtons() {}

BOOL COXCoolToolBar::InsertCustomButton(int, int, DWORD, DWORD, LPCTSTR, LPCTSTR) { return FALSE; }
BOOL COXCoolToolBar::CreateCustomButton(int, OXCUSTOMBUTTONDESCRIPTOR&, DWORD, DWORD, LPCTSTR, LPCTSTR) { return FALSE; }
BOOL COXCoolToolBar::InsertComboBox(int, int, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertEditBox(int, int, LPCTSTR, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertRichEditBox(int, int, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertStaticCtrl(int, int, LPCTSTR, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertHotKeyCtrl(int, int, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertButtonCtrl(int, int, LPCTSTR, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertCheckBox(int, int, LPCTSTR, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertProgressBar(int, int, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertSlider(int, int, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertDateTimePicker(int, int, const COleDateTime&, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertIPAddressCtrl(int, int, DWORD, DWORD) { return FALSE; }
BOOL COXCoolToolBar::InsertComboBoxEx(int, int, DWORD, DWORD) { return FALSE; }

BOOL COXCoolToolBar::GetCustomButton(int, OXCUSTOMBUTTONDESCRIPTOR&) const { return FALSE; }
CWnd* COXCoolToolBar::GetCustomButtonWnd(int) const { return nullptr; }
int COXCoolToolBar::GetCustomButtonPosition(int) const { return -1; }
int COXCoolToolBar::GetCustomButtonPosition(CWnd*) const { return -1; }
void COXCoolToolBar::UpdateCustomButtons(int, int) {}
BOOL COXCoolToolBar::ShowCustomButton(int) { return FALSE; }

void COXCoolToolBar::SetCustomizable(BOOL, BOOL) {}
BOOL COXCoolToolBar::IsCustomizable(BOOL) const { return FALSE; }
void COXCoolToolBar::SetAdvancedCustomizationMode(BOOL, HWND) {}
void COXCoolToolBar::SetBitmapIds(UINT*, int) {}
int COXCoolToolBar::FindBitmapIndex(UINT) const { return -1; }
int COXCoolToolBar::SetCustomizedButton(int) { return -1; }
LRESULT COXCoolToolBar::SendCustomizeNotification(UINT, LPARAM) { return 0; }
BOOL COXCoolToolBar::DisplayCustomizeButtonContextMenu(int, CPoint) { return FALSE; }
COXSHBDropSource* COXCoolToolBar::GetDropSource() { return &m_dropSource; }

BOOL COXCoolToolBar::SaveBarState(LPCTSTR, LPCTSTR, BOOL) { return FALSE; }
BOOL COXCoolToolBar::LoadBarState(LPCTSTR, LPCTSTR, BOOL) { return FALSE; }

void COXCoolToolBar::SaveMouseOffset(CPoint ptClient) { m_ptMouseOffset = ptClient; }

CSize COXCoolToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) { return CToolBar::CalcFixedLayout(bStretch, bHorz); }
CSize COXCoolToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) { return CToolBar::CalcDynamicLayout(nLength, dwMode); }
void COXCoolToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL b) { CToolBar::OnUpdateCmdUI(pTarget, b); }
void COXCoolToolBar::DrawBorders(CDC* pDC, CRect& rect) { CToolBar::DrawBorders(pDC, rect); }
void COXCoolToolBar::CalcInsideRect(CRect& rect, BOOL bHorz) const { CToolBar::CalcInsideRect(rect, bHorz); }

void COXCoolToolBar::DrawGripper(CDC&, CRect&) {}
void COXCoolToolBar::DrawSeparator(CDC&, CRect&) {}
void COXCoolToolBar::DrawIcon(CDC&, CRect&) {}
void COXCoolToolBar::DrawCustomizedButton(CDC&, CRect&) {}
void COXCoolToolBar::BookSpace(CRect&, DWORD) {}
void COXCoolToolBar::DrawInBookedSpace(CDC&, CRect&) {}
void COXCoolToolBar::OnFloatingDocking(BOOL) {}
void COXCoolToolBar::OnChangeDockSide(DWORD) {}
void COXCoolToolBar::EraseNonClient() { CControlBar::EraseNonClient(); }

LRESULT COXCoolToolBar::OnDragEnter(WPARAM, LPARAM) { return 0; }
LRESULT COXCoolToolBar::OnDragOver(WPARAM, LPARAM) { return 0; }
LRESULT COXCoolToolBar::OnDragLeave(WPARAM, LPARAM) { return 0; }
LRESULT COXCoolToolBar::OnDrop(WPARAM, LPARAM) { return 0; }
void COXCoolToolBar::OnRemoveDraggedButton(int) {}

CSize COXCoolToolBar::CalcLayout(DWORD dwMode, int nLength) { return CToolBar::CalcLayout(dwMode, nLength); }
CSize COXCoolToolBar::CalcSize(TBBUTTON* pData, int nCount) { return CToolBar::CalcSize(pData, nCount); }
int COXCoolToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth) { return CToolBar::WrapToolBar(pData, nCount, nWidth); }
void COXCoolToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert) { CToolBar::SizeToolBar(pData, nCount, nLength, bVert); }
int COXCoolToolBar::LayoutButtonWidth(const TBBUTTON& button) const { return ButtonWidth(button); }
DWORD COXCoolToolBar::ReadComCtlVersion() { return 0x40000; }
int COXCoolToolBar::MeasureDropDownArrowWidth() { return 0; }

BOOL COXCoolToolBar::OnNcCreate(LPCREATESTRUCT lpcs) { return CWnd::OnNcCreate(lpcs); }
void COXCoolToolBar::OnNcPaint() { CToolBar::OnNcPaint(); }
void COXCoolToolBar::OnPaint() { CToolBar::OnPaint(); }
BOOL COXCoolToolBar::OnEraseBkgnd(CDC* pDC) { return CToolBar::OnEraseBkgnd(pDC); }
void COXCoolToolBar::OnNcCalcSize(BOOL b, NCCALCSIZE_PARAMS* p) { CToolBar::OnNcCalcSize(b, p); }
void COXCoolToolBar::OnWindowPosChanging(WINDOWPOS* p) { CToolBar::OnWindowPosChanging(p); }
void COXCoolToolBar::OnWindowPosChanged(WINDOWPOS* p) { CWnd::OnWindowPosChanged(p); }
void COXCoolToolBar::OnSettingChange(UINT u, LPCTSTR s) { CToolBar::OnSettingChange(u, s); }
void COXCoolToolBar::OnLButtonDown(UINT n, CPoint p) { CControlBar::OnLButtonDown(n, p); }
void COXCoolToolBar::OnLButtonUp(UINT, CPoint) { Default(); }
void COXCoolToolBar::OnMButtonDown(UINT, CPoint) { Default(); }
void COXCoolToolBar::OnRButtonDown(UINT, CPoint) { Default(); }
void COXCoolToolBar::OnRButtonUp(UINT, CPoint) { Default(); }
void COXCoolToolBar::OnMouseMove(UINT, CPoint) { Default(); }
void COXCoolToolBar::OnLButtonDblClk(UINT n, CPoint p) { CControlBar::OnLButtonDblClk(n, p); }
LRESULT COXCoolToolBar::OnInsertButton(WPARAM, LPARAM) { return Default(); }
LRESULT COXCoolToolBar::OnDeleteButton(WPARAM, LPARAM) { return Default(); }
LRESULT COXCoolToolBar::OnMoveButton(WPARAM, LPARAM) { return Default(); }
LRESULT COXCoolToolBar::OnIdleUpdateCmdUI(WPARAM w, LPARAM l) { return CControlBar::OnIdleUpdateCmdUI(w, l); }
BOOL COXCoolToolBar::OnTBNBeginDrag(NMHDR*, LRESULT*) { return FALSE; }
BOOL COXCoolToolBar::OnTBNEndDrag(NMHDR*, LRESULT*) { return FALSE; }
BOOL COXCoolToolBar::OnTBNQueryInsert(NMHDR*, LRESULT*) { return FALSE; }
BOOL COXCoolToolBar::OnTBNQueryDelete(NMHDR*, LRESULT*) { return FALSE; }
BOOL COXCoolToolBar::OnTBNToolBarChange(NMHDR*, LRESULT*) { return FALSE; }
BOOL COXCoolToolBar::OnTBNGetButtonInfo(NMHDR*, LRESULT*) { return FALSE; }
BOOL COXCoolToolBar::OnCustomDraw(NMHDR*, LRESULT*) { return FALSE; }
BOOL COXCoolToolBar::OnDropDownButton(NMHDR*, LRESULT*) { return FALSE; }
LRESULT COXCoolToolBar::OnDragEnterMsg(WPARAM, LPARAM) { return 0; }
LRESULT COXCoolToolBar::OnDragLeaveMsg(WPARAM, LPARAM) { return 0; }
LRESULT COXCoolToolBar::OnDragOverMsg(WPARAM, LPARAM) { return 0; }
LRESULT COXCoolToolBar::OnDropMsg(WPARAM, LPARAM) { return 0; }
void COXCoolToolBar::OnCustomizeCommand(UINT) {}

int COXCoolToolBar::CustomizeHitTest(CPoint) const { return -1; }
void COXCoolToolBar::DoCustomizeCommand(UINT) {}
BOOL COXCoolToolBar::InsertSeparatorAt(int) { return FALSE; }
int COXCoolToolBar::CurrentShowFlag() const { return OXCBD_SHOWHORZ; }
void COXCoolToolBar::AfterInsert(int) {}
void COXCoolToolBar::AfterDelete(int, int) {}
void COXCoolToolBar::AfterMove(int, int) {}
BOOL COXCoolToolBar::StartBarDrag(CPoint) { return FALSE; }
void COXCoolToolBar::ContinueBarDrag(UINT, CPoint) {}
void COXCoolToolBar::EndBarDrag() {}
