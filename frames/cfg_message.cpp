#include "frames/cfg_message.h"

#include <algorithm>
#include <iterator>

#include "app/zyn_app.h"
#include "model/zyn_acobject.h"
#include "platform/afx/winapp.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd.h"
#include "platform/base/lasterror.h"
#include "platform/suite/user/exception_handler.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "resources/resource.h"

CfgMessage::CfgMessage(LONG lType, LONG lValue, LONG lValue2) : m_lType(lType), m_lValue(lValue), m_lValue2(lValue2)
{}

CfgMessage::CfgMessage(const CfgMessage& other) : CObject() { *this = other; }

CfgMessage& CfgMessage::operator=(const CfgMessage& other)
{
    if (this == &other)
        return *this;
    m_lType = other.m_lType;
    m_lValue = other.m_lValue;
    std::copy(std::begin(other.m_lParams), std::end(other.m_lParams), std::begin(m_lParams));
    m_lValue2 = other.m_lValue2;
    std::copy(std::begin(other.m_lExtra), std::end(other.m_lExtra), std::begin(m_lExtra));
    m_lExtraID = other.m_lExtraID;
    std::copy(std::begin(other.m_lExtra2), std::end(other.m_lExtra2), std::begin(m_lExtra2));
    m_bFlag = other.m_bFlag;
    m_lExtra3 = other.m_lExtra3;
    m_bFlag1 = other.m_bFlag1;
    m_bDeviceChange = other.m_bDeviceChange;
    m_data = other.m_data;
    m_strText = other.m_strText;
    return *this;
}

CfgMessage::~CfgMessage() = default;

namespace {

// The main window of the calling thread, or null when there is none to talk to.
HWND MainWindow()
{
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = pMain ? pMain->GetSafeHwnd() : nullptr;
    return (hMain && IsWindow(hMain)) ? hMain : nullptr;
}

void Send(HWND hMain, UINT message, CfgMessage& msg)
{
    SendMessage(hMain, message, static_cast<WPARAM>(static_cast<LONG_PTR>(msg.m_lType)),
        reinterpret_cast<LPARAM>(&msg));
}

UINT DeviceWordID(ZynAcDeviceType deviceType)
{
    switch (deviceType) {
    case ZynAcDeviceAlarmInput: return IDS_ZYN_DEVICE_ALARM_INPUT;
    case ZynAcDeviceOutput: return IDS_ZYN_DEVICE_OUTPUT;
    case ZynAcDeviceElevator: return IDS_ZYN_DEVICE_ELEVATOR;
    case ZynAcDeviceFloor: return IDS_ZYN_DEVICE_FLOOR;
    case ZynAcDeviceIntrusionArea: return IDS_ZYN_DEVICE_INTRUSION_AREA;
    case ZynAcDeviceOutputGroup: return IDS_ZYN_DEVICE_OUTPUT_GROUP;
    case ZynAcDeviceCamera: return IDS_ZYN_DEVICE_CAMERA;
    case ZynAcDeviceIntercom: return IDS_ZYN_DEVICE_INTERCOM;
    case ZynAcDeviceLock: return IDS_ZYN_DEVICE_LOCK;
    case ZynAcDeviceLockGroup: return IDS_ZYN_DEVICE_LOCK_GROUP;
    case ZynAcDeviceReaderGroup: return IDS_ZYN_DEVICE_READER_GROUP;
    case ZynAcDeviceAlarmZone: return IDS_ZYN_DEVICE_ALARM_ZONE;
    case ZynAcDeviceDoor:
    default: return IDS_ZYN_DEVICE_DOOR;
    }
}

// The confirmation template of a command; 0 for a command that asks nothing.
UINT PromptTemplateID(LONG command, ZynAcDeviceType deviceType, LONG panelType)
{
    switch (command) {
    case ZYN_PANEL_CMD_LOCK: return IDS_ZYN_CONFIRM_LOCK;
    case ZYN_PANEL_CMD_UNLOCK: return IDS_ZYN_CONFIRM_UNLOCK;
    case ZYN_PANEL_CMD_RESTORE: return IDS_ZYN_CONFIRM_RESTORE;
    case ZYN_PANEL_CMD_MOMENTARY:
        if (ZynIsQMXPanelType(panelType))
            return deviceType == ZynAcDeviceDoor ? IDS_ZYN_CONFIRM_MOMENTARY_DOOR_QMX : IDS_ZYN_CONFIRM_MOMENTARY_QMX;
        return deviceType == ZynAcDeviceDoor ? IDS_ZYN_CONFIRM_MOMENTARY_DOOR : IDS_ZYN_CONFIRM_MOMENTARY;
    default: return 0;
    }
}

// The audit operation of a panel command.
LONG AuditOperation(LONG command)
{
    switch (command) {
    case ZYN_PANEL_CMD_LOCK: return 14;
    case ZYN_PANEL_CMD_UNLOCK: return 30;
    case ZYN_PANEL_CMD_RESTORE: return 31;
    case ZYN_PANEL_CMD_MOMENTARY: return 20;
    default: return 0;
    }
}

constexpr LONG kAuditObjectPanelCommand = 33;

} // namespace

int ZynDownload(CfgMessage& msg, ZynDownloadType type)
{
    const bool panelDrivers = type == ZynDownloadAll || type == ZynDownloadPanelDrivers;
    const bool app = type == ZynDownloadAll || type == ZynDownloadApp;
    // A type that names neither message has nothing to send: done, as callers expect.
    if (!panelDrivers && !app)
        return TRUE;
    HWND hMain = MainWindow();
    if (!hMain) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (panelDrivers)
        Send(hMain, WM_ZYN_UPDATEPANELDRIVERS, msg);
    // The first handler may have closed the main window.
    if (app) {
        if (!IsWindow(hMain)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        Send(hMain, WM_ZYN_UPDATEAPP, msg);
    }
    return TRUE;
}

int ZynUpdateDeviceConfig(int value, LONG id, LONG word10, LONG word4)
{
    HWND hMain = MainWindow();
    if (!hMain) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    CfgMessage msg(ZYN_CFG_DEVICE_CHANGE, value, 0);
    msg.m_lParams[0] = id;
    msg.m_lParams[10] = word10;
    msg.m_lParams[4] = word4;
    msg.m_bDeviceChange = 1;
    Send(hMain, WM_ZYN_UPDATEPANELDRIVERS, msg);
    return TRUE;
}

CString ZynGetTransactionConfirmPrompt(LONG command, ZynAcDeviceType deviceType, LONG panelType)
{
    const UINT templateID = PromptTemplateID(command, deviceType, panelType);
    if (!templateID)
        return CString();
    CString word;
    word.LoadString(DeviceWordID(deviceType));
    CString templ;
    if (!templ.LoadString(templateID))
        return CString();
    CString prompt;
    prompt.FormatMessage(templ.GetString(), word.GetString());
    return prompt;
}

void ZynSendPanelTransaction(LONG command, LONG id, const wchar_t* name, int confirm, ZynAcDeviceType deviceType,
    LONG panelType)
{
    if (confirm) {
        CString question;
        if (name)
            question.Format(L"(%s):  ", name);
        question += ZynGetTransactionConfirmPrompt(command, deviceType, panelType);
        if (AfxMessageBox(question.GetString(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return;
    }
    CfgMessage msg(ZYN_CFG_PANEL_COMMAND, command, 0);
    msg.m_lParams[0] = id;
    if (id <= 0)
        return;
    if (!ZynDownload(msg, ZynDownloadPanelDrivers)) {
        // The command never left: record nothing, but tell the operator.
        CZynApp::GetAppExceptionHandler().Handle(static_cast<UINT>(IDS_ZYN_PANEL_COMMAND_NOT_SENT), HRESULT_FROM_WIN32(GetLastError()));
        return;
    }
    CString text;
    text.Format(L"%s(%d)", name ? name : L"", static_cast<int>(id));
    CZynApp::LogTransToDB(AuditOperation(command), kAuditObjectPanelCommand, text.GetString());
}
