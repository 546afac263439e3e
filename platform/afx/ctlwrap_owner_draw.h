#pragma once
// The owner-draw messages a list box or combo box gets back from its parent by reflection
// (WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM), handed to the wrapper's
// virtual members of the same names. Both wrappers answer them alike, so the one routine
// lives here and their OnChildNotify ask it first.
#include "platform/afx/wnd.h"

namespace zyn::afx {

// TRUE when the message was one of the four and went to its member (the result, TRUE or
// CompareItem's answer, in *pResult when given); FALSE for any other message.
template <class Control>
BOOL ReflectOwnerDrawItem(Control& control, UINT message, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        control.DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        control.MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        result = control.CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case WM_DELETEITEM:
        control.DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = result;
    return TRUE;
}

} // namespace zyn::afx
