#pragma once
// "Msimg32.dll" for a test: the drawing layer's module, or a replacement (or none) for
// a scope, the drawing layer's module put back afterwards.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/base/module.h"
#include "platform/gdi/builtin_modules.h"

namespace skintest {

class Msimg32Present {
public:
    Msimg32Present()
    {
        zyn::gdi::RegisterDrawingModules();
        EXPECT_NE(GetModuleHandleW(L"Msimg32.dll"), nullptr);
    }
};

class Msimg32Replaced {
public:
    // registerReplacement false: no such library; true: a library with only exports.
    Msimg32Replaced(std::map<std::string, void*> exports, bool registerReplacement)
    {
        if (HMODULE h = GetModuleHandleW(L"Msimg32.dll")) {
            EXPECT_TRUE(zyn::base::UnregisterBuiltinModule(h));
        }
        if (registerReplacement)
            m_replacement = zyn::base::RegisterBuiltinModule(L"Msimg32.dll", std::move(exports));
    }
    ~Msimg32Replaced()
    {
        if (m_replacement)
            zyn::base::UnregisterBuiltinModule(m_replacement);
        zyn::gdi::RegisterDrawingModules();
    }
    Msimg32Replaced(const Msimg32Replaced&) = delete;
    Msimg32Replaced& operator=(const Msimg32Replaced&) = delete;

private:
    HMODULE m_replacement = nullptr;
};

} // namespace skintest
