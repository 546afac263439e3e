// Row kernels of the ternary raster operations (see rop_rows.h).
#include "platform/gdi/rop_rows.h"

namespace zyn::gdi {

namespace {

// A kernel from a formula f(p, s, d). The pattern is a row or a constant; templates keep
// both loops free of per-pixel choices.
template <class Op, bool PatternRow>
void Apply(const RopRow& a)
{
    uint32_t* __restrict d = a.d;
    const uint32_t* __restrict s = a.s;
    const uint32_t* __restrict p = a.p;
    const uint32_t pc = a.pConst, mask = a.mask;
    const size_t n = a.n;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t pv = PatternRow ? p[i] : pc;
        const uint32_t sv = Op::kUsesS ? s[i] : 0u;
        d[i] = Op::F(pv, sv, d[i]) & mask;
    }
}

template <class Op>
void ApplyAny(const RopRow& a)
{
    if (Op::kUsesP && a.p)
        Apply<Op, true>(a);
    else
        Apply<Op, false>(a);
}

#define ZYN_ROP(name, usesP, usesS, expr)                                                                              \
    struct name {                                                                                                      \
        static constexpr bool kUsesP = usesP, kUsesS = usesS;                                                          \
        static uint32_t F([[maybe_unused]] uint32_t p, [[maybe_unused]] uint32_t s, [[maybe_unused]] uint32_t d)      \
        {                                                                                                              \
            return expr;                                                                                               \
        }                                                                                                              \
    };

ZYN_ROP(SrcCopy, false, true, s)                        // 0xCC
ZYN_ROP(NotSrcCopy, false, true, ~s)                    // 0x33
ZYN_ROP(SrcAnd, false, true, s & d)                     // 0x88
ZYN_ROP(SrcPaint, false, true, s | d)                   // 0xEE
ZYN_ROP(SrcInvert, false, true, s ^ d)                  // 0x66
ZYN_ROP(SrcErase, false, true, s & ~d)                  // 0x44
ZYN_ROP(NotSrcErase, false, true, ~(s | d))             // 0x11
ZYN_ROP(MergePaint, false, true, ~s | d)                // 0xBB
ZYN_ROP(MergeCopy, true, true, p & s)                   // 0xC0
ZYN_ROP(PatCopy, true, false, p)                        // 0xF0
ZYN_ROP(PatInvert, true, false, p ^ d)                  // 0x5A
ZYN_ROP(DstInvert, false, false, ~d)                    // 0x55
ZYN_ROP(PatPaint, true, true, p | ~s | d)               // 0xFB
ZYN_ROP(PSDPxax, true, true, p ^ (s & (d ^ p)))         // 0xB8
ZYN_ROP(DSPDxax, true, true, d ^ (s & (p ^ d)))         // 0xE2
#undef ZYN_ROP

// Any truth byte. For each (P, S) pair the result as a function of D is one of 0, ~0,
// D or ~D, written (D & a) ^ b; then S selects between the two functions of each P, and
// P between the two results: r = h0 ^ (P & (h0 ^ h1)) with h = g0 ^ (S & (g0 ^ g1)).
template <bool PatternRow, bool SourceRow>
void ApplyTable(const RopRow& r, uint8_t table)
{
    uint32_t a[4], b[4]; // index (P << 1) | S
    for (unsigned ps = 0; ps < 4; ++ps) {
        const unsigned at0 = (table >> (ps << 1)) & 1u, at1 = (table >> ((ps << 1) | 1u)) & 1u;
        a[ps] = at0 != at1 ? ~0u : 0u;
        b[ps] = at0 ? ~0u : 0u;
    }
    uint32_t* __restrict d = r.d;
    const uint32_t* __restrict s = r.s;
    const uint32_t* __restrict p = r.p;
    const uint32_t pc = r.pConst, mask = r.mask;
    const size_t n = r.n;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t dv = d[i];
        const uint32_t sv = SourceRow ? s[i] : 0u;
        const uint32_t pv = PatternRow ? p[i] : pc;
        const uint32_t g00 = (dv & a[0]) ^ b[0], g01 = (dv & a[1]) ^ b[1];
        const uint32_t g10 = (dv & a[2]) ^ b[2], g11 = (dv & a[3]) ^ b[3];
        const uint32_t h0 = g00 ^ (sv & (g00 ^ g01));
        const uint32_t h1 = g10 ^ (sv & (g10 ^ g11));
        d[i] = (h0 ^ (pv & (h0 ^ h1))) & mask;
    }
}

// Without a source row S reads as 0.
void AnyTable(const RopRow& r)
{
    if (r.p)
        r.s ? ApplyTable<true, true>(r, r.table) : ApplyTable<true, false>(r, r.table);
    else
        r.s ? ApplyTable<false, true>(r, r.table) : ApplyTable<false, false>(r, r.table);
}

} // namespace

RopRowFn RopRowKernel(uint8_t table)
{
    switch (table) {
    case 0xCC: return &ApplyAny<SrcCopy>;
    case 0x33: return &ApplyAny<NotSrcCopy>;
    case 0x88: return &ApplyAny<SrcAnd>;
    case 0xEE: return &ApplyAny<SrcPaint>;
    case 0x66: return &ApplyAny<SrcInvert>;
    case 0x44: return &ApplyAny<SrcErase>;
    case 0x11: return &ApplyAny<NotSrcErase>;
    case 0xBB: return &ApplyAny<MergePaint>;
    case 0xC0: return &ApplyAny<MergeCopy>;
    case 0xF0: return &ApplyAny<PatCopy>;
    case 0x5A: return &ApplyAny<PatInvert>;
    case 0x55: return &ApplyAny<DstInvert>;
    case 0xFB: return &ApplyAny<PatPaint>;
    case 0xB8: return &ApplyAny<PSDPxax>;
    case 0xE2: return &ApplyAny<DSPDxax>;
    default: break;
    }
    return &AnyTable;
}

} // namespace zyn::gdi
