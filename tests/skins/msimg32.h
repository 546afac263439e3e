#pragma once
// "Msimg32.dll" for a test: present (registered here when the drawing layer has not
// registered it) or taken away for a scope and put back afterwards.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/base/module.h"
#include "platform/gdi/wingdi.h"

namespace skintest {

class Msimg32Present {
public:
    Msimg32Present()
    {
        if (!GetModuleHandleW(L"Msimg32.dll"))
            m_mine = zyn::base::RegisterBuiltinModule(L"Msimg32.dll",
                {{"GradientFill", zyn::base::ExportAddress(&::GradientFill)}});
    }
    ~Msimg32Present()
    {
        if (m_mine)
            zyn::base::UnregisterBuiltinModule(m_mine);
    }
    Msimg32Present(const Msimg32Present&) = delete;
    Msimg32Present& operator=(const Msimg32Present&) = delete;

private:
    HMODULE m_mine = nullptr;
};

class Msimg32Replaced {
public:
    // Without exports: the library is gone; with some: a library of only those.
    explicit Msimg32Replaced(std::map<std::string, void*> exports, bool registerReplacement)
    {
        if (HMODULE h = GetModuleHandleW(L"Msimg32.dll")) {
            for (const char* name : {"GradientFill", "AlphaBlend", "TransparentBlt"}) {
                if (FARPROC p = GetProcAddress(h, name))
                    m_saved[name] = reinterpret_cast<void*>(p);
            }
            m_had = zyn::base::UnregisterBuiltinModule(h);
        }
        if (registerReplacement)
            m_replacement = zyn::base::RegisterBuiltinModule(L"Msimg32.dll", std::move(exports));
    }
    ~Msimg32Replaced()
    {
        if (m_replacement)
            zyn::base::UnregisterBuiltinModule(m_replacement);
        if (m_had)
            zyn::base::RegisterBuiltinModule(L"Msimg32.dll", m_saved);
    }
    Msimg32Replaced(const Msimg32Replaced&) = delete;
    Msimg32Replaced& operator=(const Msimg32Replaced&) = delete;

private:
    std::map<std::string, void*> m_saved;
    bool m_had = false;
    HMODULE m_replacement = nullptr;
};

} // namespace skintest
