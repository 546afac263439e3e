// Compiles arbitrary bytes as a resource script, in memory (no files): every input must
// compile or be refused with a located error, never crash or run away; compiled
// resources must also emit as C++.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/rc/rc_compiler.h"
#include "tools/rc/rc_emit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zyn::rc::CompileResult result = zyn::rc::CompileText(text);
    for (const zyn::rc::Diagnostic& d : result.diagnostics)
        if (d.Format().empty())
            __builtin_trap();
    if (result.ok) {
        zyn::rc::EmitOptions options;
        options.source = "fuzz.rc";
        if (zyn::rc::EmitCpp(result.resources, options).empty())
            __builtin_trap();
    } else if (result.diagnostics.empty()) {
        __builtin_trap(); // a failure always says why
    }
    return 0;
}
