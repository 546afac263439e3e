#pragma once
// The recording-server (CRS) RPC interface, ac45ab21-93bd-11d3-99d4-00c04f27a5cd
// version 3.0 over NDR 2.0: the records it passes and its sixteen client stubs, as an
// interface compiler emits them. Every stub takes the binding handle first and the
// status last; the status receives 0 or the failure (communication or fault) and is
// never sent. A failed call's result is 0 and means nothing.
//
// Field meanings are the server's business; the records only fix what travels. Wide
// character arrays hold text up to a terminator; on the wire they are UTF-16 units.

#include "platform/base/systime.h"
#include "platform/base/wintypes.h"
#include "platform/rpc/rpcndr.h"

struct Proc0Period {
    LONG f1;
    LONG f2;
    LONG f3;
    SYSTEMTIME f4;
    SYSTEMTIME f5;
    LONG f6;
    BYTE f7;
};

struct Proc0Data {
    BYTE f1;
    LONG f2;
    LONG f3;
    GUID f4;
    WCHAR f5[256];
    Proc0Period f6;
    BYTE f7;
    LONG f8;
    LONG f9;
    BYTE f10;
    LONG f11;
    BYTE f12;
    SYSTEMTIME f13;
    LONG f14;
    LONG f15;
    WCHAR f16[256];
    WCHAR f17[256];
    WCHAR f18[256];
    LONG f19;
};

struct Proc2Item {
    BYTE f1;
    LONG f2;
    LONG f3;
    LONG f4;
    BYTE f5;
};

// Travels as its discriminant, which the interface fixes to 1, and arm 1.
union Proc2Choice {
    LONG arm1[3];       // case 1
    Proc2Item items[5]; // default
};

struct Proc2Data {
    LONG f1[3];
    WCHAR f2[128];
    LONG f3[13];
    BYTE f4;
    LONG f5;
    BYTE f6[32][24];
    BYTE f7;
    LONG f8[3];
    BYTE f9;
    LONG f10;
    BYTE f11;
    LONG f12[4];
    GUID f13;
    LONG f14;
    WCHAR f15[32];
    WCHAR f16[32];
    LONG f17[2];
    SHORT f18;
    BYTE f19[3];
    LONG f20[7];
    WCHAR f21[32];
    WCHAR f22[32];
    LONG f23[8];
    BYTE f24;
    Proc2Choice f25;
    LONG f26[2];
    BYTE f27[5];
    LONG f28[2];
    WCHAR f29[32];
    LONG f30;
    BYTE f31[2];
    LONG f32[4];
};

struct Proc12Entry {
    SHORT f1;
    SHORT f2;
    BYTE f3;
};

struct Proc12Data {
    LONG f1[3];
    SHORT f2;
    BYTE f3;
    BYTE f4[6][6];
    BYTE f5;
    BYTE f6;
    Proc12Entry f7[6];
    BYTE f8[3];
    BYTE f9;
};

// The client interface specification.
extern RPC_IF_HANDLE CRSRpc_v3_0_c_ifspec;

// [string] arguments are wide arrays of 256 characters holding a terminated text of at
// most 255 UTF-16 units.
boolean CRSRpc_Proc0(handle_t h, const Proc0Data* data, error_status_t* status);
boolean CRSRpc_Proc1(handle_t h, LONG a, error_status_t* status);
boolean CRSRpc_Proc2(handle_t h, const Proc2Data* data, error_status_t* status);
boolean CRSRpc_Proc3(handle_t h, LONG a, LONG b, error_status_t* status);
boolean CRSRpc_Proc4(handle_t h, LONG days, error_status_t* status);  // start archiving event video
boolean CRSRpc_Proc5(handle_t h, error_status_t* status);             // is the archive run going on
void CRSRpc_Proc6(handle_t h, LONG a, error_status_t* status);
void CRSRpc_Proc7(handle_t h, const WCHAR text[256], boolean flag, error_status_t* status);
boolean CRSRpc_Proc8(handle_t h, const WCHAR a[256], const WCHAR b[256], GUID* guid, error_status_t* status);
boolean CRSRpc_Proc9(handle_t h, GUID guid, error_status_t* status);
boolean CRSRpc_Proc10(handle_t h, GUID guid, error_status_t* status);
boolean CRSRpc_Proc11(handle_t h, GUID guid, error_status_t* status);
boolean CRSRpc_Proc12(handle_t h, const Proc12Data* data, error_status_t* status);
boolean CRSRpc_Proc13(handle_t h, LONG recorderId, LONG days, error_status_t* status); // start purging continuous video
LONG CRSRpc_Proc14(handle_t h, error_status_t* status);  // continuous-video purge state: 0 running, 1 done, else failed
LONG CRSRpc_Proc15(handle_t h, error_status_t* status);
