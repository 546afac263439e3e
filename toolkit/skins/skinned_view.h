#pragma once
// COXSkinnedView<TBase>: a view whose non-client border is the current skin's. The view
// hands two messages to the frame skin (frame_skin.h) after the system's own processing:
// WM_NCCALCSIZE with wParam set (the frame skin may grow the client rectangle the system
// computed) and WM_NCPAINT (the frame skin paints over the border the system drew). Every
// other message, and WM_NCCALCSIZE without wParam (answered 0), is the base's alone.
//
// The frame skin is asked for afresh at each of those messages: the current skin's, else
// a Classic one the view creates on first need and deletes with itself. So under
// "Classic" (or with no skin at all) the view looks exactly like its base; after the
// current skin changes, the next frame change and non-client paint show the new border
// (the application sends both to every window when it switches skins).
//
// The configuration form views derive from COXSkinnedView<CFormView>, the one instance
// the library builds.
#include "platform/afx/afxstate.h"
#include "platform/afx/formview.h"
#include "platform/user/messages.h"
#include "toolkit/skins/frame_skin.h"
#include "toolkit/skins/skin_lookup.h"

template <class TBase>
class COXSkinnedView : public TBase {
public:
    // A view over the dialog template (a form view's constructor argument).
    explicit COXSkinnedView(UINT nIDTemplate)
        : TBase(nIDTemplate)
    {
    }

    static CRuntimeClass* GetThisClass();
    CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // The frame skin the view paints with at this moment.
    COXFrameSkin* GetFrameSkin() { return m_frameSkin.Get(); }
    // Whether the view made its own Classic frame skin (it does on first need only).
    bool HasOwnFrameSkin() const { return m_frameSkin.HasFallback(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        AFX_MAINTAIN_STATE2 state(AfxGetAppModuleState());
        switch (message) {
        case WM_NCCALCSIZE: {
            const LRESULT result = TBase::WindowProc(message, wParam, lParam);
            if (!wParam)
                return 0;
            m_frameSkin.Get()->OnNcCalcSizeView(lParam, this);
            return result;
        }
        case WM_NCPAINT: {
            const LRESULT result = TBase::WindowProc(message, wParam, lParam);
            m_frameSkin.Get()->DrawViewBorder(this);
            return result;
        }
        default:
            return TBase::WindowProc(message, wParam, lParam);
        }
    }

private:
    COXElementSkinLookup<COXFrameSkin> m_frameSkin;
};

template <>
CRuntimeClass* COXSkinnedView<CFormView>::GetThisClass();
extern template class COXSkinnedView<CFormView>;
