#pragma once
// COXSHBEdit: the in-place editor with which the shortcut bar renames a group header and
// its list controls rename an item.
//
// The owner creates it once, hidden, as its child (id SHB_IDCEDIT). Each edit starts with
// StartEdit and a display record that says where the edit goes, how far it may grow, its
// style, text, selection, font and colours; the editor re-creates its window from that
// record, shows it, takes the focus and the mouse capture. Holding the capture lets it
// see a click anywhere: a click outside ends the edit (accepted) and is then handed to
// the window under it, as the non-client message when it lands on a frame or caption.
// Enter accepts, Escape cancels, losing the focus while holding the capture accepts. The
// end of an edit goes to the parent as WM_NOTIFY SHBEN_FINISHEDIT with NMSHBEDIT; the
// parent reads the new text from the edit while it handles that notification.
//
// With automatic sizing (SHBEIF_AUTOSIZE and SHBEIF_RECTMAX) the edit follows its text
// after every change (the reflected EN_UPDATE): it is measured with DrawText in the
// edit's font and placed inside the maximum rectangle by the style's alignment (a
// centred edit grows equally to both sides), never smaller than the minimum rectangle,
// and back to the minimum when the text is emptied. The reflected WM_CTLCOLOREDIT answers
// the background brush: made from COLOR_WINDOW at construction and replaced by each
// record that names a background colour, so a colour stays for later edits that name
// none (their text background falls back to COLOR_WINDOW).
#include <memory>

#include "platform/afx/ctlwrap_edit.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/msgmap.h"
#include "toolkit/docking/shb_messages.h"

// The end-of-edit notification (NMSHBEDIT); the bar and its lists receive it from the
// editor's id SHB_IDCEDIT.
inline constexpr UINT SHBEN_FINISHEDIT = 0x80CF;

// _tagSHBE_DISPLAY's nMask: which fields count.
inline constexpr UINT SHBEIF_TEXT = 0x001;
inline constexpr UINT SHBEIF_RECTDISPLAY = 0x002;
inline constexpr UINT SHBEIF_RECTMAX = 0x004;
inline constexpr UINT SHBEIF_STYLE = 0x008;
inline constexpr UINT SHBEIF_AUTOSIZE = 0x010;   // needs SHBEIF_RECTMAX
inline constexpr UINT SHBEIF_SELRANGE = 0x020;
inline constexpr UINT SHBEIF_FONT = 0x040;
inline constexpr UINT SHBEIF_RECTMIN = 0x080;
inline constexpr UINT SHBEIF_CLRTEXT = 0x100;
inline constexpr UINT SHBEIF_CLRBACK = 0x200;
inline constexpr UINT SHBEIF_ALL = 0x3FF;        // any other bit makes a record invalid

// What one edit looks like. Rectangles are in the parent's client coordinates. lpText and
// pFont are read during StartEdit only (the font is re-created from its LOGFONT).
struct _tagSHBE_DISPLAY {
    LPCWSTR lpText = nullptr;   // SHBEIF_TEXT: initial text (else the edit's current text)
    RECT rectDisplay{};         // SHBEIF_RECTDISPLAY: where the edit is created
    RECT rectMax{};             // SHBEIF_RECTMAX: the largest rectangle it may grow to
    DWORD dwStyle = 0;          // SHBEIF_STYLE: window style (else the current style)
    BOOL bAutoSize = FALSE;     // SHBEIF_AUTOSIZE: follow the text while typing
    int nSelStart = 0;          // SHBEIF_SELRANGE: (0, -1) selects all, a start of -1 nothing
    int nSelEnd = 0;
    CFont* pFont = nullptr;     // SHBEIF_FONT: font to copy (null: back to the default font)
    RECT rectMin{};             // SHBEIF_RECTMIN: the smallest rectangle; the edit covers it
    COLORREF clrText = 0;       // SHBEIF_CLRTEXT
    COLORREF clrBack = 0;       // SHBEIF_CLRBACK
    UINT nMask = 0;
};
using SHBE_DISPLAY = _tagSHBE_DISPLAY;
using LPSHBE_DISPLAY = _tagSHBE_DISPLAY*;

struct _tagNMSHBEDIT {
    NMHDR hdr;          // the edit's window and id, code SHBEN_FINISHEDIT
    BOOL bOK = FALSE;   // TRUE: take the text; FALSE: the edit was cancelled
};
using NMSHBEDIT = _tagNMSHBEDIT;
using LPNMSHBEDIT = _tagNMSHBEDIT*;

class COXSHBEdit : public CEdit {
    DECLARE_DYNAMIC(COXSHBEdit)
public:
    COXSHBEdit();
    ~COXSHBEdit() override;

    // Starts an edit (the window must exist). FALSE, changing nothing, for an invalid
    // record or when there is no window; FALSE too when the window cannot be re-created.
    // An edit still running is accepted first. Without a record the edit keeps its text
    // and style and is re-created where it is.
    virtual BOOL StartEdit(_tagSHBE_DISPLAY* pDisplay);
    // Ends the edit in progress: tells the parent (SHBEN_FINISHEDIT with bOK) and hides.
    // Without an edit in progress (or a window) nothing is sent and nothing changes.
    virtual void FinishEdit(BOOL bOK);

    BOOL IsEditing() const { return m_bEditing; }
    // The record of the current or last edit (null before the first with a record); its
    // lpText and pFont are not kept.
    const _tagSHBE_DISPLAY* GetDisplayInfo() const { return m_pDisplayInfo.get(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL VerifyDisplayInfo(const _tagSHBE_DISPLAY* pDisplay);
    LRESULT SendSHBENotification(_tagNMSHBEDIT* pNMSHBE);

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnUpdate();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    std::unique_ptr<_tagSHBE_DISPLAY> m_pDisplayInfo;
    CFont m_font;
    CBrush m_brush;
    BOOL m_bEditing = FALSE;

private:
    // The rectangle the window is at now, in its parent's client coordinates.
    CRect CurrentRect() const;
    // A mouse message outside the client area goes to the window under it (a click ends
    // the edit first). True when the editor is done with the message (*result its answer).
    bool ForwardMouse(UINT message, LPARAM lParam, LRESULT& result);
};

namespace zyn::toolkit::shb {

// Where an automatically sized edit goes: measured (the text's extent plus the edit's
// margins) clipped to rectMax's size and grown to rectMinimum's, then placed in rectMax
// by the alignment of dwStyle (ES_RIGHT: at its right edge; ES_CENTER: centred, the odd
// pixel on the left; else at its left edge), at its top.
CRect PlaceAutoSizedEdit(const CRect& rectMax, const CRect& rectMinimum, CSize measured, DWORD dwStyle);

} // namespace zyn::toolkit::shb
