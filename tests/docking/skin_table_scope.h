#pragma once
// A scope in which the toolkit's current skin is one of the standard skins, picked by
// name: every skin lookup made meanwhile reads this table, and none is current after it.
#include <gtest/gtest.h>

#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_table.h"

namespace docktest {

class StandardSkinScope {
public:
    // The standard skins with `skin` current; a null name leaves the toolkit without one.
    explicit StandardSkinScope(const wchar_t* skin)
    {
        if (!skin)
            return;
        table.AddStandardSkins();
        EXPECT_TRUE(table.SetCurrentSkin(skin)) << "no standard skin named so";
        s_table = &table;
        OXSetSkinSource(&TableSource);
    }
    ~StandardSkinScope()
    {
        OXSetSkinSource(nullptr);
        s_table = nullptr;
    }
    StandardSkinScope(const StandardSkinScope&) = delete;
    StandardSkinScope& operator=(const StandardSkinScope&) = delete;

    COXSkinTable table;

private:
    static COXSkin* TableSource() { return s_table ? s_table->GetCurrentSkin() : nullptr; }
    static inline COXSkinTable* s_table = nullptr;
};

} // namespace docktest
