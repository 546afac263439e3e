#pragma once
// The C++ source that zyn-rc writes: the compiled resources as byte arrays and the code
// that adds them to a module through the platform's resource API.

#include <string>
#include <vector>

#include "tools/rc/rc_compiler.h"

namespace zyn::rc {

struct EmitOptions {
    // How the resources reach a module:
    //  - `function` set: a function `bool <function>(HMODULE module)` (the name may be
    //    qualified, "zyn::resources::AddCommon") that adds them; the caller registers.
    //  - `module` set: at load, a resource-only module of that name is registered, the
    //    resources are added to it and it joins the back of the resource chain.
    //  - neither: at load, the resources are added to the module the generated code is
    //    linked into (the executable, or the shared library).
    std::string function;
    std::string module;
    std::string source; // the script's name, for comments and messages
};

// Throws std::invalid_argument for a function or module name that cannot be emitted.
std::string EmitCpp(const std::vector<Resource>& resources, const EmitOptions& options);

// A make-style dependency file: "target: dep dep ...".
std::string EmitDepfile(const std::string& target, const std::vector<std::string>& dependencies);

} // namespace zyn::rc
