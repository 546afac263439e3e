// Registration of the satellite resource module when the library loads.
#include "app/zyncmn_resources.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"

namespace zyn::resources {

namespace {
constexpr const wchar_t* kModuleName = L"ZynCommonResources";
}

HMODULE RegisterZynCommonResources()
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    HMODULE module = GetModuleHandleW(kModuleName);
    if (!module) {
        module = base::RegisterResourceModule(kModuleName);
        if (!module)
            return nullptr;
        if (!AddZynCommonResources(module)) {
            const DWORD error = GetLastError();
            base::UnregisterBuiltinModule(module);
            SetLastError(error);
            return nullptr;
        }
    }
    const auto chain = base::ResourceChain::Modules();
    if (std::find(chain.begin(), chain.end(), module) == chain.end() &&
        !base::ResourceChain::AddToChain(module, base::ResourceChain::Position::Back))
        return nullptr;
    return module;
}

} // namespace zyn::resources

namespace {

// The library's load: the common resources are in the chain before any host code runs.
[[maybe_unused]] const bool kCommonResourcesRegistered = [] {
    if (zyn::resources::RegisterZynCommonResources())
        return true;
    std::fprintf(stderr, "ZynCmn: the module ZynCommonResources could not be registered (error %u)\n",
        static_cast<unsigned>(GetLastError()));
    return false;
}();

} // namespace
