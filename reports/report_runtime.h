#pragma once
// The outside report runtime as the suite reaches it: a COM class registered under the
// ProgID "ReportRuntime.Application.11", whose application object answers IApplication.
//
// IApplication is dual: the IDispatch members (for script hosts) and, in its vtable, the
// one member the suite calls, CanClose, which says whether the runtime may be shut down
// now (no report of it still printing or exporting). Only its identifier is ours: no
// runtime exists on this platform, so the engine finds one only when a host or test has
// registered a class under the ProgID in this process.
#include "platform/com/oleauto.h"
#include "platform/com/unknown.h"

inline constexpr const wchar_t* kReportRuntimeProgID = L"ReportRuntime.Application.11";
// The class context the engine creates the runtime with: in-process server and handler,
// local and remote server (CLSCTX_ALL).
inline constexpr DWORD kReportRuntimeContext = 23;

inline constexpr IID IID_IApplication{0x5A3C1E27, 0x84B2, 0x4F61, {0x9D, 0x0E, 0x2B, 0x77, 0xC4, 0x18, 0x63, 0xA5}};

struct IApplication : public IDispatch {
    // *pbCanClose: VARIANT_TRUE when the runtime may close now. A failed call leaves the
    // answer unknown; the suite takes it as a refusal.
    virtual HRESULT CanClose(VARIANT_BOOL* pbCanClose) = 0;
};

namespace zyn::com {
template <>
struct InterfaceId<IApplication> {
    static constexpr const IID& value = IID_IApplication;
};
} // namespace zyn::com
