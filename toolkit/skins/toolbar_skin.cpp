#include "toolkit/skins/toolbar_skin.h"

void COXToolbarSkin::DrawSystemButton(CDC* /*dc*/)
{
    // No skin draws system buttons.
}
