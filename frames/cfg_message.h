#pragma once
// Configuration messages: how a configuration change reaches the rest of the suite. A
// CfgMessage is handed synchronously to the application's main window as
// WM_ZYN_UPDATEPANELDRIVERS (for the panel drivers) and/or WM_ZYN_UPDATEAPP (for the
// application), wParam the message's type and lParam its address. The receiver sees the
// message only during the send and copies what it keeps.
#include <array>
#include <cstdint>

#include "platform/base/cstring.h"
#include "platform/base/object.h"
#include "platform/base/wintypes.h"

inline constexpr UINT WM_ZYN_STATUSTEXT = 2024;
inline constexpr UINT WM_ZYN_UPDATEPANELDRIVERS = 2027;
inline constexpr UINT WM_ZYN_UPDATEAPP = 2045;
inline constexpr UINT WM_ZYN_MENUMESSAGE = 2062;
inline constexpr UINT WM_ZYN_SHOWOBJECT = 2081;
inline constexpr UINT WM_ZYN_UPDATEBUTTONS = 2224;
inline constexpr UINT WM_ZYN_FILLLOGLIST = 2230;

// Types of configuration message built here.
inline constexpr LONG ZYN_CFG_PANEL_COMMAND = 1;
inline constexpr LONG ZYN_CFG_DEVICE_CHANGE = -74;

class CfgMessage : public CObject {
public:
    CfgMessage(LONG lType, LONG lValue, LONG lValue2);
    ~CfgMessage() override;
    // Copies every field (a receiver keeps a copy); the CObject part is not copyable and
    // starts afresh.
    CfgMessage(const CfgMessage& other);
    CfgMessage& operator=(const CfgMessage& other);

    int32_t m_lType;                 // what changed; the messages' wParam
    int32_t m_lValue;                // panel command, or the changed device's value
    int32_t m_lParams[16] = {};      // word 0: the object's ID; the rest as the type defines
    int32_t m_lValue2;
    int32_t m_lExtra[2] = {};        // free for the hosts
    int32_t m_lExtraID = -1;         // free for the hosts (-1: not set)
    int32_t m_lExtra2[5] = {};       // free for the hosts
    uint8_t m_bFlag = 0;             // free for the hosts
    int32_t m_lExtra3 = 0;           // free for the hosts
    uint8_t m_bFlag1 = 0;            // free for the hosts
    uint8_t m_bDeviceChange = 0;     // 1 for a device configuration change
    std::array<uint8_t, 272> m_data = {}; // free for the hosts
    CString m_strText;
};

// Which of the two messages ZynDownload sends.
enum ZynDownloadType : int {
    ZynDownloadAll = 0,          // panel drivers, then the application
    ZynDownloadApp = 1,          // the application only
    ZynDownloadPanelDrivers = 2, // the panel drivers only
};

// Kinds of access-control device, as far as panel commands tell them apart.
enum ZynAcDeviceType : int {
    ZynAcDeviceUnknown = 0,
    ZynAcDeviceDoor = 2,
    ZynAcDeviceAlarmInput = 4,
    ZynAcDeviceOutput = 10,
    ZynAcDeviceElevator = 12,
    ZynAcDeviceFloor = 13,
    ZynAcDeviceIntrusionArea = 16,
    ZynAcDeviceOutputGroup = 17,
    ZynAcDeviceCamera = 18,
    ZynAcDeviceIntercom = 19,
    ZynAcDeviceLock = 20,
    ZynAcDeviceLockGroup = 21,
    ZynAcDeviceReaderGroup = 25,
    ZynAcDeviceAlarmZone = 41,
};

// Panel commands a configuration screen sends.
inline constexpr LONG ZYN_PANEL_CMD_LOCK = 5;
inline constexpr LONG ZYN_PANEL_CMD_UNLOCK = 6;
inline constexpr LONG ZYN_PANEL_CMD_RESTORE = 7;
inline constexpr LONG ZYN_PANEL_CMD_MOMENTARY = 8;

// Sends the message to the main window of the calling thread: WM_ZYN_UPDATEPANELDRIVERS
// (types 0 and 2), then WM_ZYN_UPDATEAPP (types 0 and 1). TRUE when sent, and TRUE for
// any other type, which names no message and sends nothing (callers count on it). FALSE
// when a message was to be sent and there is no main window (ERROR_INVALID_WINDOW_HANDLE):
// nothing is sent then.
int ZynDownload(CfgMessage& msg, ZynDownloadType type);

// Tells the panel drivers that a device's configuration changed: a device-change message
// with value, word 0 = id, word 10 and word 4, sent as WM_ZYN_UPDATEPANELDRIVERS only.
// FALSE with nothing sent when there is no main window.
int ZynUpdateDeviceConfig(int value, LONG id, LONG word10, LONG word4);

// Sends a command to the panel of a device, after asking the operator when confirm is
// non-zero (OK goes on, anything else ends it), and records it in the audit trail. An
// id <= 0 sends and records nothing.
void ZynSendPanelTransaction(LONG command, LONG id, const wchar_t* name, int confirm, ZynAcDeviceType deviceType,
    LONG panelType);

// The question put to the operator before a panel command; empty for a command that
// asks none.
CString ZynGetTransactionConfirmPrompt(LONG command, ZynAcDeviceType deviceType, LONG panelType);
