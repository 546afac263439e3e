#pragma once
// How a skinned control finds the element skin it paints with: the current skin of the
// application, asked afresh on every paint, or else a Classic element skin that the
// control creates on first need and owns.
#include <memory>

#include "toolkit/skins/skin.h"

// The source of the application's current skin. The application object installs one
// while it exists; without a source (no application object, or one that keeps no
// skins) every control falls back to its own Classic element skin.
using OXSkinSource = COXSkin* (*)();

// Installs a source (null removes it) and returns the previous one.
OXSkinSource OXSetSkinSource(OXSkinSource source);
// The application's current skin, or null when there is none.
COXSkin* OXGetCurrentSkin();

// For each element-skin interface: its Classic class and the skin object's accessor.
// Specialised next to each interface.
template <class TElementSkin>
struct OXElementSkinTraits;

// A control's element skin of one kind. A control keeps one of these as a member (the
// bitmap menus share a static one); Get() is called each time the control paints or
// measures, and its result is used for that call only.
template <class TElementSkin>
class COXElementSkinLookup {
public:
    using Traits = OXElementSkinTraits<TElementSkin>;
    using Classic = typename Traits::Classic;

    COXElementSkinLookup() = default;
    COXElementSkinLookup(const COXElementSkinLookup&) = delete;
    COXElementSkinLookup& operator=(const COXElementSkinLookup&) = delete;

    // The current skin's element skin of this kind; otherwise (no current skin, or a
    // skin whose slot was emptied) the control's own Classic one, created once.
    TElementSkin* Get()
    {
        if (COXSkin* skin = OXGetCurrentSkin()) {
            if (TElementSkin* element = (skin->*Traits::Accessor)())
                return element;
        }
        return GetFallback();
    }

    // The control's own Classic element skin, created on first call.
    Classic* GetFallback()
    {
        if (!m_pFallback)
            m_pFallback = std::make_unique<Classic>();
        return m_pFallback.get();
    }

    // Whether the fallback has been created.
    bool HasFallback() const { return m_pFallback != nullptr; }

private:
    std::unique_ptr<Classic> m_pFallback;
};
