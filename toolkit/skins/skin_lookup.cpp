#include "toolkit/skins/skin_lookup.h"

namespace {
// Skinned controls live on the user-interface thread; the source is installed and read
// there.
OXSkinSource g_skinSource = nullptr;
} // namespace

OXSkinSource OXSetSkinSource(OXSkinSource source)
{
    const OXSkinSource previous = g_skinSource;
    g_skinSource = source;
    return previous;
}

COXSkin* OXGetCurrentSkin() { return g_skinSource ? g_skinSource() : nullptr; }
