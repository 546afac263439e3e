// Fuzz target: the .reg parser (parsing only; nothing is applied to the registry).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/base/regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<zyn::base::RegFileOp> ops;
    zyn::base::RegFileError error;
    const bool ok = zyn::base::ParseRegFile({data, size}, ops, error);
    // A refusal names what is wrong; an accepted file yields well-formed operations.
    if (!ok && error.message.empty())
        std::abort();
    for (const auto& op : ops) {
        if (op.line <= 0)
            std::abort();
        for (const auto& name : op.path)
            if (name.empty() || name.size() > 255)
                std::abort();
    }
    return 0;
}
