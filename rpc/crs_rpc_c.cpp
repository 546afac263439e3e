// Client side of the recording-server interface: its identity, the type table and
// parameter descriptors that the NDR engine interprets, and the stubs that hand their
// arguments to the engine. No procedure marshals anything itself.
#include <cstddef>

#include "platform/rpc/ndr.h"
#include "rpc/crs_rpc.h"

namespace {

using namespace zyn::rpc::ndr;

enum : uint16_t {
    T_BYTE,
    T_BOOLEAN,
    T_SHORT,
    T_LONG,
    T_BYTE2,
    T_BYTE3,
    T_BYTE5,
    T_BYTE6,
    T_BYTE8,
    T_BYTE24,
    T_BYTE6X6,
    T_BYTE24X32,
    T_LONG2,
    T_LONG3,
    T_LONG4,
    T_LONG7,
    T_LONG8,
    T_LONG13,
    T_GUID,
    T_SYSTEMTIME,
    T_WCHARS32,
    T_WCHARS128,
    T_WCHARS256,
    T_STRING256,
    T_PERIOD,
    T_PROC0,
    T_ITEM,
    T_ITEM5,
    T_CHOICE,
    T_PROC2,
    T_ENTRY,
    T_ENTRY6,
    T_PROC12,
    T_COUNT
};

#define M(type, T, field) Member{T, static_cast<uint32_t>(offsetof(type, field))}

constexpr Member kGuid[] = {M(GUID, T_LONG, Data1), M(GUID, T_SHORT, Data2), M(GUID, T_SHORT, Data3),
    M(GUID, T_BYTE8, Data4)};

constexpr Member kPeriod[] = {M(Proc0Period, T_LONG, f1), M(Proc0Period, T_LONG, f2), M(Proc0Period, T_LONG, f3),
    M(Proc0Period, T_SYSTEMTIME, f4), M(Proc0Period, T_SYSTEMTIME, f5), M(Proc0Period, T_LONG, f6),
    M(Proc0Period, T_BYTE, f7)};

constexpr Member kProc0[] = {M(Proc0Data, T_BYTE, f1), M(Proc0Data, T_LONG, f2), M(Proc0Data, T_LONG, f3),
    M(Proc0Data, T_GUID, f4), M(Proc0Data, T_WCHARS256, f5), M(Proc0Data, T_PERIOD, f6), M(Proc0Data, T_BYTE, f7),
    M(Proc0Data, T_LONG, f8), M(Proc0Data, T_LONG, f9), M(Proc0Data, T_BYTE, f10), M(Proc0Data, T_LONG, f11),
    M(Proc0Data, T_BYTE, f12), M(Proc0Data, T_SYSTEMTIME, f13), M(Proc0Data, T_LONG, f14), M(Proc0Data, T_LONG, f15),
    M(Proc0Data, T_WCHARS256, f16), M(Proc0Data, T_WCHARS256, f17), M(Proc0Data, T_WCHARS256, f18),
    M(Proc0Data, T_LONG, f19)};

constexpr Member kItem[] = {M(Proc2Item, T_BYTE, f1), M(Proc2Item, T_LONG, f2), M(Proc2Item, T_LONG, f3),
    M(Proc2Item, T_LONG, f4), M(Proc2Item, T_BYTE, f5)};

constexpr Arm kChoiceArms[] = {{1, T_LONG3}};

constexpr Member kProc2[] = {M(Proc2Data, T_LONG3, f1), M(Proc2Data, T_WCHARS128, f2), M(Proc2Data, T_LONG13, f3),
    M(Proc2Data, T_BYTE, f4), M(Proc2Data, T_LONG, f5), M(Proc2Data, T_BYTE24X32, f6), M(Proc2Data, T_BYTE, f7),
    M(Proc2Data, T_LONG3, f8), M(Proc2Data, T_BYTE, f9), M(Proc2Data, T_LONG, f10), M(Proc2Data, T_BYTE, f11),
    M(Proc2Data, T_LONG4, f12), M(Proc2Data, T_GUID, f13), M(Proc2Data, T_LONG, f14), M(Proc2Data, T_WCHARS32, f15),
    M(Proc2Data, T_WCHARS32, f16), M(Proc2Data, T_LONG2, f17), M(Proc2Data, T_SHORT, f18),
    M(Proc2Data, T_BYTE3, f19), M(Proc2Data, T_LONG7, f20), M(Proc2Data, T_WCHARS32, f21),
    M(Proc2Data, T_WCHARS32, f22), M(Proc2Data, T_LONG8, f23), M(Proc2Data, T_BYTE, f24),
    M(Proc2Data, T_CHOICE, f25), M(Proc2Data, T_LONG2, f26), M(Proc2Data, T_BYTE5, f27), M(Proc2Data, T_LONG2, f28),
    M(Proc2Data, T_WCHARS32, f29), M(Proc2Data, T_LONG, f30), M(Proc2Data, T_BYTE2, f31), M(Proc2Data, T_LONG4, f32)};

constexpr Member kEntry[] = {M(Proc12Entry, T_SHORT, f1), M(Proc12Entry, T_SHORT, f2), M(Proc12Entry, T_BYTE, f3)};

constexpr Member kProc12[] = {M(Proc12Data, T_LONG3, f1), M(Proc12Data, T_SHORT, f2), M(Proc12Data, T_BYTE, f3),
    M(Proc12Data, T_BYTE6X6, f4), M(Proc12Data, T_BYTE, f5), M(Proc12Data, T_BYTE, f6), M(Proc12Data, T_ENTRY6, f7),
    M(Proc12Data, T_BYTE3, f8), M(Proc12Data, T_BYTE, f9)};

#undef M

constexpr TypeDesc kTypes[T_COUNT] = {
    Scalar(Kind::Byte),
    Scalar(Kind::Boolean),
    Scalar(Kind::Short),
    Scalar(Kind::Long),
    ArrayOf(T_BYTE, 2, 1, 1),
    ArrayOf(T_BYTE, 3, 1, 1),
    ArrayOf(T_BYTE, 5, 1, 1),
    ArrayOf(T_BYTE, 6, 1, 1),
    ArrayOf(T_BYTE, 8, 1, 1),
    ArrayOf(T_BYTE, 24, 1, 1),
    ArrayOf(T_BYTE6, 6, 6, 1),
    ArrayOf(T_BYTE24, 32, 24, 1),
    ArrayOf(T_LONG, 2, sizeof(LONG), 4),
    ArrayOf(T_LONG, 3, sizeof(LONG), 4),
    ArrayOf(T_LONG, 4, sizeof(LONG), 4),
    ArrayOf(T_LONG, 7, sizeof(LONG), 4),
    ArrayOf(T_LONG, 8, sizeof(LONG), 4),
    ArrayOf(T_LONG, 13, sizeof(LONG), 4),
    StructOf(kGuid, 4, 4),
    ArrayOf(T_SHORT, 8, sizeof(WORD), 2), // SYSTEMTIME: eight 16-bit words
    WideChars(32),
    WideChars(128),
    WideChars(256),
    FixedString(256),
    StructOf(kPeriod, 7, 4),
    StructOf(kProc0, 19, 4),
    StructOf(kItem, 5, 4),
    ArrayOf(T_ITEM, 5, sizeof(Proc2Item), 4),
    UnionOf(T_SHORT, 1, kChoiceArms, 1, T_ITEM5, 4),
    StructOf(kProc2, 32, 4),
    StructOf(kEntry, 3, 2),
    ArrayOf(T_ENTRY, 6, sizeof(Proc12Entry), 2),
    StructOf(kProc12, 9, 4),
};

constexpr ParamDesc kRetBool{kReturn, T_BOOLEAN};
constexpr ParamDesc kRetLong{kReturn, T_LONG};
constexpr ParamDesc kInLong{kIn, T_LONG};

constexpr ParamDesc kP0[] = {{kIn | kByRef, T_PROC0}, kRetBool};
constexpr ParamDesc kP1[] = {kInLong, kRetBool};
constexpr ParamDesc kP2[] = {{kIn | kByRef, T_PROC2}, kRetBool};
constexpr ParamDesc kP3[] = {kInLong, kInLong, kRetBool};
constexpr ParamDesc kP4[] = {kInLong, kRetBool};
constexpr ParamDesc kP5[] = {kRetBool};
constexpr ParamDesc kP6[] = {kInLong};
constexpr ParamDesc kP7[] = {{kIn | kByRef, T_STRING256}, {kIn, T_BOOLEAN}};
constexpr ParamDesc kP8[] = {{kIn | kByRef, T_STRING256}, {kIn | kByRef, T_STRING256}, {kIn | kOut | kByRef, T_GUID},
    kRetBool};
constexpr ParamDesc kPGuid[] = {{kIn, T_GUID}, kRetBool};
constexpr ParamDesc kP12[] = {{kIn | kByRef, T_PROC12}, kRetBool};
constexpr ParamDesc kP13[] = {kInLong, kInLong, kRetBool};
constexpr ParamDesc kPLong[] = {kRetLong};

constexpr ProcDesc kProcs[] = {
    {0, 2, kP0},
    {1, 2, kP1},
    {2, 2, kP2},
    {3, 3, kP3},
    {4, 2, kP4},
    {5, 1, kP5},
    {6, 1, kP6},
    {7, 2, kP7},
    {8, 4, kP8},
    {9, 2, kPGuid},
    {10, 2, kPGuid},
    {11, 2, kPGuid},
    {12, 2, kP12},
    {13, 3, kP13},
    {14, 1, kPLong},
    {15, 1, kPLong},
};

constexpr RPC_CLIENT_INTERFACE kClientInterface = {
    {{0xac45ab21, 0x93bd, 0x11d3, {0x99, 0xd4, 0x00, 0xc0, 0x4f, 0x27, 0xa5, 0xcd}}, {3, 0}},
    zyn::rpc::kNdrTransferSyntax,
    kProcs,
    16,
    kTypes,
    T_COUNT,
};

// The stub frame: one engine call, its status to the caller.
template <size_t N>
void Call(uint16_t opnum, handle_t h, void* const (&args)[N], error_status_t* status)
{
    const RPC_STATUS st = zyn::rpc::ClientCall(CRSRpc_v3_0_c_ifspec, opnum, h, args);
    if (status)
        *status = static_cast<error_status_t>(st);
}

void* In(const void* p) { return const_cast<void*>(p); }

} // namespace

RPC_IF_HANDLE CRSRpc_v3_0_c_ifspec = const_cast<RPC_CLIENT_INTERFACE*>(&kClientInterface);

boolean CRSRpc_Proc0(handle_t h, const Proc0Data* data, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {In(data), &r};
    Call(0, h, args, status);
    return r;
}

boolean CRSRpc_Proc1(handle_t h, LONG a, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&a, &r};
    Call(1, h, args, status);
    return r;
}

boolean CRSRpc_Proc2(handle_t h, const Proc2Data* data, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {In(data), &r};
    Call(2, h, args, status);
    return r;
}

boolean CRSRpc_Proc3(handle_t h, LONG a, LONG b, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&a, &b, &r};
    Call(3, h, args, status);
    return r;
}

boolean CRSRpc_Proc4(handle_t h, LONG days, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&days, &r};
    Call(4, h, args, status);
    return r;
}

boolean CRSRpc_Proc5(handle_t h, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&r};
    Call(5, h, args, status);
    return r;
}

void CRSRpc_Proc6(handle_t h, LONG a, error_status_t* status)
{
    void* const args[] = {&a};
    Call(6, h, args, status);
}

void CRSRpc_Proc7(handle_t h, const WCHAR text[256], boolean flag, error_status_t* status)
{
    void* const args[] = {In(text), &flag};
    Call(7, h, args, status);
}

boolean CRSRpc_Proc8(handle_t h, const WCHAR a[256], const WCHAR b[256], GUID* guid, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {In(a), In(b), guid, &r};
    Call(8, h, args, status);
    return r;
}

boolean CRSRpc_Proc9(handle_t h, GUID guid, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&guid, &r};
    Call(9, h, args, status);
    return r;
}

boolean CRSRpc_Proc10(handle_t h, GUID guid, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&guid, &r};
    Call(10, h, args, status);
    return r;
}

boolean CRSRpc_Proc11(handle_t h, GUID guid, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&guid, &r};
    Call(11, h, args, status);
    return r;
}

boolean CRSRpc_Proc12(handle_t h, const Proc12Data* data, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {In(data), &r};
    Call(12, h, args, status);
    return r;
}

boolean CRSRpc_Proc13(handle_t h, LONG recorderId, LONG days, error_status_t* status)
{
    boolean r = 0;
    void* const args[] = {&recorderId, &days, &r};
    Call(13, h, args, status);
    return r;
}

LONG CRSRpc_Proc14(handle_t h, error_status_t* status)
{
    LONG r = 0;
    void* const args[] = {&r};
    Call(14, h, args, status);
    return r;
}

LONG CRSRpc_Proc15(handle_t h, error_status_t* status)
{
    LONG r = 0;
    void* const args[] = {&r};
    Call(15, h, args, status);
    return r;
}
