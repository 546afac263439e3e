#pragma once
// Row kernels of the ternary raster operations: one call combines a run of pattern,
// source and destination pixels into the destination, 32 bits at a time.
//
// A rop's truth byte defines it bit by bit (EvalRop3); a kernel applies the same
// function to whole 32-bit pixels, which is exact because every bit of a pixel is
// combined with the same bits of the other two. The common rops (the SRC*, MERGE*,
// PAT* and DSTINVERT codes and the two masking composites PSDPxax and DSPDxax) have
// kernels written as their formulas; every other truth byte runs a branch-free
// evaluation of its table: split on D, then S, then P, each step a bitwise select
// between constants chosen once per call. Either way the loops are plain array code
// the compiler vectorises.
//
// Mono surfaces take part through unpacked rows of 0 and 1 with a mask of 1.
#include <cstddef>
#include <cstdint>

namespace zyn::gdi {

struct RopRow {
    uint32_t* d = nullptr;       // destination, read and written
    const uint32_t* s = nullptr; // source row; may be null when the rop ignores S
    const uint32_t* p = nullptr; // pattern row, or null for the constant pConst
    uint32_t pConst = 0;
    size_t n = 0;
    uint32_t mask = 0xFFFFFFu;   // bits kept in each result (colour: the alpha byte cleared)
    uint8_t table = 0;           // the rop's truth byte (read by the general kernel)
};

using RopRowFn = void (*)(const RopRow&);

// The kernel for a truth byte (the row's `table` must hold the same byte). It reads S
// only when the rop uses it, and `p` (a row) only when given one, else the constant.
RopRowFn RopRowKernel(uint8_t table);

// The truth byte with S read as 0, for fills that have no source.
constexpr uint8_t RopWithoutSource(uint8_t t)
{
    unsigned out = 0;
    for (unsigned i = 0; i < 8; ++i)
        if ((t >> (i & ~2u)) & 1u)
            out |= 1u << i;
    return static_cast<uint8_t>(out);
}

} // namespace zyn::gdi
