#pragma once
// The "Classic" skin: system colours and the standard look.
#include "toolkit/skins/skin.h"

class COXSkinClassic : public COXSkin {
public:
    COXSkinClassic();
    ~COXSkinClassic() override;
};
