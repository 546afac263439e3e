#pragma once
// The NDR 2.0 engine: marshals a procedure's [in] parameters into request stub data
// and unmarshals its [out] parameters and return value from reply stub data, by
// interpreting parameter descriptors and a type table, as an interface compiler's
// format strings would drive it.
//
// Representation rules (little-endian on the way out; either byte order coming back):
// - every scalar is aligned to its size from the start of the stub data;
// - a structure is aligned to its most restrictive member and its members follow in
//   order, each aligned to itself; nothing is padded after the last member (a trailing
//   gap up to the structure's alignment belongs to NDR64, not to NDR 2.0), so a record
//   whose memory image ends in padding travels shorter than its size: a structure
//   {long; byte} is five octets, and a byte after it lands on the sixth;
// - an array of structures is its elements in order, each aligned to the structure's
//   alignment, so padding appears between elements but not after the last;
// - a fixed array is its elements in order;
// - a union travels as its discriminant (aligned to the discriminant's type) followed by
//   the selected arm aligned to the union's alignment (the largest of its arms');
// - wide characters are UTF-16 units: a fixed wide array of N units carries the text up
//   to its terminator and zero units after it; a [string] fixed array carries offset 0,
//   the actual count in units (terminator included), then the units;
// - a top-level reference pointer carries no representation of its own.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/rpc/rpcstatus.h"

namespace zyn::rpc::ndr {

enum class Kind : uint8_t {
    Byte,        // uint8_t
    Boolean,     // uint8_t, 0 or 1 (any non-zero octet reads as 1)
    Short,       // int16_t
    Long,        // int32_t
    Hyper,       // int64_t
    WideChars,   // wchar_t[count] in memory; `count` UTF-16 units on the wire
    FixedString, // [string] wchar_t[count]: offset, actual count, units
    Struct,      // `count` members at their memory offsets
    Array,       // `count` elements of type `elem`, `stride` octets apart in memory
    Union,       // arm in memory at offset 0; discriminant fixed to `switchValue`
};

inline constexpr uint16_t kNoType = 0xFFFF;

struct Member {
    uint16_t type;
    uint32_t offset; // memory offset inside the structure
};

struct Arm {
    int32_t value; // discriminant value selecting the arm
    uint16_t type;
};

struct TypeDesc {
    Kind kind;
    uint8_t align = 1;              // wire alignment in octets
    uint32_t count = 0;
    uint32_t stride = 0;
    uint16_t elem = kNoType;        // Array: element type; Union: discriminant type
    uint16_t defaultArm = kNoType;  // Union: default arm type, or none
    int32_t switchValue = 0;        // Union: the discriminant the interface fixes
    const Member* members = nullptr;
    const Arm* arms = nullptr;
};

enum ParamFlags : uint8_t {
    kIn = 1,
    kOut = 2,
    kReturn = 4,
    kByRef = 8, // passed as a reference pointer: must not be null
};

struct ParamDesc {
    uint8_t flags;
    uint16_t type;
};

struct ProcDesc {
    uint16_t opnum;
    uint8_t paramCount;
    const ParamDesc* params;
};

// Builders for type tables.
constexpr TypeDesc Scalar(Kind k)
{
    const uint8_t a = k == Kind::Short ? 2 : k == Kind::Long ? 4 : k == Kind::Hyper ? 8 : 1;
    return TypeDesc{k, a};
}
constexpr TypeDesc WideChars(uint32_t units) { return TypeDesc{Kind::WideChars, 2, units}; }
constexpr TypeDesc FixedString(uint32_t units) { return TypeDesc{Kind::FixedString, 4, units}; }
constexpr TypeDesc StructOf(const Member* members, uint32_t count, uint8_t align)
{
    TypeDesc t{Kind::Struct, align, count};
    t.members = members;
    return t;
}
constexpr TypeDesc ArrayOf(uint16_t elem, uint32_t count, uint32_t stride, uint8_t align)
{
    TypeDesc t{Kind::Array, align, count, stride, elem};
    return t;
}
constexpr TypeDesc UnionOf(uint16_t discType, int32_t switchValue, const Arm* arms, uint32_t armCount,
    uint16_t defaultArm, uint8_t armAlign)
{
    TypeDesc t{Kind::Union, armAlign, armCount, 0, discType, defaultArm, switchValue};
    t.arms = arms;
    return t;
}

using Types = std::span<const TypeDesc>;

// Appends the [in] parameters of one call to `out` (the stub data, which starts
// 8-aligned in its PDU). RPC_X_NULL_REF_POINTER for a null reference,
// RPC_X_INVALID_BOUND for text that does not fit its array, RPC_X_INVALID_TAG for a
// discriminant with no arm.
RPC_STATUS MarshalIn(const ProcDesc& proc, Types types, void* const* args, std::vector<uint8_t>& out);

// Reads the [out] parameters and the return value from reply stub data. The whole reply
// is checked first; memory is written only when all of it decodes, so a failed call
// leaves the caller's out values as they were. RPC_X_BAD_STUB_DATA for a reply that is
// too short or malformed. Octets after the last value are ignored.
RPC_STATUS UnmarshalOut(const ProcDesc& proc, Types types, std::span<const uint8_t> stub, bool bigEndian,
    void* const* args);

// Checks a type table for consistency: indices in range, alignments equal to what the
// members require, arms and elements present. Used by the tests of every interface.
bool ValidateTypes(Types types, const ProcDesc* procs, uint16_t procCount);

} // namespace zyn::rpc::ndr
