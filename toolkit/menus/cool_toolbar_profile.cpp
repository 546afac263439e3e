// COXCoolToolBar's saved state in the application profile: the bar's looks (24 integer
// entries), its buttons and custom-button positions (binary records with their sizes), the
// toolbar control's own order value, and the program-wide custom-button settings (written
// and read once per process). The byte layouts are in cool_toolbar_state.h.
//
// Loading reads and checks everything before it changes anything: a record whose size
// entry and bytes disagree, or whose bytes do not decode, refuses the whole load and
// leaves the bar, the custom-button registry and the templates' own state as they were
// (a template's state is kept by CBSaveState before it reads, and given back on refusal).
#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "platform/afx/winapp.h"
#include "platform/base/archive.h"
#include "platform/base/exception.h"
#include "platform/base/memfile.h"
#include "platform/base/registry.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/utility/logger.h"
#include "platform/user/window.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/menus/cool_toolbar_state.h"

namespace {

using zyn::menus::CoolBarButtonRecord;
using zyn::menus::CoolBarCustomPosition;

constexpr const wchar_t* kProgramWideName = L"Toolbars_CustomButtonsSettings";
constexpr int kAbsent = -1;
// Bounds no real state reaches.
constexpr int kMaxTextRows = 16;
constexpr size_t kMaxButtonText = 1024;

// The property entries in the order they are written.
constexpr const wchar_t* kPropertyNames[] = {L"Cool", L"Gripper", L"Separator", L"Flat", L"List",
    L"DropDownArrow", L"Indent", L"DefaultTextColor", L"HotTextColor", L"SelectedTextColor", L"CheckedTextColor",
    L"DefaultBkColor", L"HotBkColor", L"SelectedBkColor", L"CheckedBkColor", L"DefaultBorderColor",
    L"HotBorderColor", L"SelectedBorderColor", L"CheckedBorderColor", L"TextType", L"TextRows",
    L"MinButtonsWidth", L"MaxButtonsWidth", L"Customizable"};
constexpr int kPropertyCount = static_cast<int>(std::size(kPropertyNames));

class ScopedKey {
public:
    explicit ScopedKey(HKEY key = nullptr) : m_key(key) {}
    ~ScopedKey()
    {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY Get() const { return m_key; }
    void Reset(HKEY key)
    {
        if (m_key)
            ::RegCloseKey(m_key);
        m_key = key;
    }

private:
    HKEY m_key;
};

// A binary record as the profile holds it: absent, present, or damaged (its size entry
// and its bytes disagree).
struct StoredRecord {
    enum class State { Absent, Present, Damaged } state = State::Absent;
    std::vector<uint8_t> bytes;
};

StoredRecord ReadRecord(CWinApp& app, LPCTSTR lpszSection, const CString& name)
{
    StoredRecord record;
    const int size = static_cast<int>(app.GetProfileInt(lpszSection, name + L"_Size", kAbsent));
    if (size == kAbsent)
        return record;
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    const BOOL have = app.GetProfileBinary(lpszSection, name, &pData, &nBytes);
    const std::unique_ptr<BYTE[]> owned(pData);
    if (!have || size < 0 || static_cast<UINT>(size) != nBytes) {
        record.state = StoredRecord::State::Damaged;
        return record;
    }
    record.state = StoredRecord::State::Present;
    record.bytes.assign(pData, pData + nBytes);
    return record;
}

BOOL WriteRecord(CWinApp& app, LPCTSTR lpszSection, const CString& name, std::vector<uint8_t> bytes)
{
    const BOOL ok = app.WriteProfileBinary(lpszSection, name, bytes.empty() ? nullptr : bytes.data(),
        static_cast<UINT>(bytes.size()));
    return app.WriteProfileInt(lpszSection, name + L"_Size", static_cast<int>(bytes.size())) && ok;
}

// What a memory file holds.
std::vector<uint8_t> FileBytes(CMemFile& file)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// A template's own saved state, to give back when a load is refused.
struct TemplateSnapshot {
    COXCustomTBButtonTemplate* pTemplate;
    std::vector<uint8_t> bytes;
};

void RestoreSnapshots(std::vector<TemplateSnapshot>& snapshots)
{
    for (TemplateSnapshot& snapshot : snapshots) {
        try {
            CMemFile file(snapshot.bytes.empty() ? nullptr : snapshot.bytes.data(),
                static_cast<UINT>(snapshot.bytes.size()));
            CArchive ar(&file, CArchive::load, 4096);
            snapshot.pTemplate->CBLoadState(ar);
            ar.Close();
        } catch (CException* e) {
            e->Delete();   // what it wrote itself it should read back; nothing more to do
        }
    }
}

} // namespace

// ---- saving --------------------------------------------------------------------------------------------------------

BOOL COXCoolToolBar::SaveBarState(LPCTSTR lpszSubKey, LPCTSTR lpszValueName, BOOL bProperties)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSubKey || !lpszValueName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CString properties;
    properties.Format(L"%s_%s", lpszSubKey, lpszValueName);
    BOOL ok = TRUE;
    if (IsCustomizable(TRUE) || IsCustomizable(FALSE)) {
        if (!pApp->m_pszRegistryKey || !pApp->m_pszProfileName || !m_hWnd)
            return FALSE;
        const ScopedKey key(pApp->GetAppRegistryKey());
        if (!key.Get())
            return FALSE;
        const int nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
        std::vector<CoolBarButtonRecord> buttons;
        for (int i = 0; i < nCount; ++i) {
            TBBUTTON button{};
            DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            CoolBarButtonRecord record;
            record.command = button.idCommand;
            record.image = button.iBitmap;
            record.style = button.fsStyle;
            const CString text = GetButtonText(i);
            record.hasText = !text.IsEmpty();
            record.text = static_cast<LPCWSTR>(record.hasText ? text : GetRecentButtonText(button.idCommand));
            buttons.push_back(std::move(record));
        }
        CString name;
        name.Format(L"%s_ButtonsSettings", lpszValueName);
        ok = WriteRecord(*pApp, lpszSubKey, name, zyn::menus::EncodeCoolBarButtons(buttons)) && ok;
        std::vector<CoolBarCustomPosition> positions;
        for (const auto& [position, descriptor] : m_mapCustomButtons) {
            CWnd* pWnd = descriptor.m_pCBTemplate ? descriptor.m_pCBTemplate->CBGetWindow() : nullptr;
            const int nCtrlID = pWnd && ::IsWindow(pWnd->m_hWnd) ? pWnd->GetDlgCtrlID() : descriptor.m_nID;
            positions.push_back(CoolBarCustomPosition{position, nCtrlID});
        }
        name.Format(L"%s_CustomButtonsPositions", lpszValueName);
        ok = WriteRecord(*pApp, lpszSubKey, name, zyn::menus::EncodeCoolBarPositions(positions)) && ok;
        TBSAVEPARAMSW params{key.Get(), lpszSubKey, lpszValueName};
        ok = DefWindowProc(TB_SAVERESTOREW, TRUE, reinterpret_cast<LPARAM>(&params)) && ok;
    }
    if (!m_bCustomButtonsStateSaved) {
        CMemFile file(1024);
        {
            CArchive ar(&file, CArchive::store, 4096);
            ar << static_cast<LONG>(m_mapAllCustomButtons.size());
            for (auto& [nID, descriptor] : m_mapAllCustomButtons) {
                ar << static_cast<LONG>(nID) << static_cast<LONG>(descriptor.m_nWidth)
                   << static_cast<LONG>(descriptor.m_nHeight) << static_cast<LONG>(descriptor.m_nFlags)
                   << static_cast<LONG>(descriptor.m_nImageIndex);
                if (descriptor.m_pCBTemplate)
                    descriptor.m_pCBTemplate->CBSaveState(ar);
            }
            ar.Close();
        }
        ok = WriteRecord(*pApp, lpszSubKey, kProgramWideName, FileBytes(file)) && ok;
        m_bCustomButtonsStateSaved = TRUE;
    }
    if (bProperties) {
        const int values[kPropertyCount] = {m_bCool, IsGripper() ? 1 : 0, m_bSeparator, IsFlat() ? 1 : 0,
            IsList() ? 1 : 0, IsDropDownArrow() ? 1 : 0, m_nIndent, static_cast<int>(m_clrDefaultText),
            static_cast<int>(m_clrHotText), static_cast<int>(m_clrSelectedText), static_cast<int>(m_clrCheckedText),
            static_cast<int>(m_clrDefaultBk), static_cast<int>(m_clrHotBk), static_cast<int>(m_clrSelectedBk),
            static_cast<int>(m_clrCheckedBk), static_cast<int>(m_clrDefaultBorder), static_cast<int>(m_clrHotBorder),
            static_cast<int>(m_clrSelectedBorder), static_cast<int>(m_clrCheckedBorder), static_cast<int>(m_ttID),
            GetTextRows(), m_nMinButtonWidth, m_nMaxButtonWidth, IsCustomizable(TRUE) ? 1 : 0};
        for (int i = 0; i < kPropertyCount; ++i)
            ok = pApp->WriteProfileInt(properties, kPropertyNames[i], values[i]) && ok;
    }
    return ok;
}

// ---- loading -------------------------------------------------------------------------------------------------------

BOOL COXCoolToolBar::LoadBarState(LPCTSTR lpszSubKey, LPCTSTR lpszValueName, BOOL bProperties)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSubKey || !lpszValueName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CString properties;
    properties.Format(L"%s_%s", lpszSubKey, lpszValueName);

    // 1. Everything is read and checked first.
    int values[kPropertyCount];
    for (int i = 0; i < kPropertyCount; ++i)
        values[i] = bProperties ? static_cast<int>(pApp->GetProfileInt(properties, kPropertyNames[i], kAbsent)) : kAbsent;
    // A refusal is logged with the section and entry that caused it.
    auto refuse = [](LPCTSTR lpszSection, const CString& entry, LPCWSTR why) {
        CLogger::LogRefusedProfileValue(lpszSection, entry, why);
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    };
    // Values no real bar reaches: an indent or button width wider than the screen, more text
    // rows than a button could show.
    const int screenCx = std::max(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CXSCREEN));
    const int screenCy = std::max(::GetSystemMetrics(SM_CYVIRTUALSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    const struct {
        int index, lo, hi;
    } bounds[] = {{6, 0, screenCx}, {20, 0, kMaxTextRows}, {21, 0, screenCx}, {22, 0, screenCx}};
    for (const auto& b : bounds) {
        const int v = values[b.index];
        if (v != kAbsent && (v < b.lo || v > b.hi))
            return refuse(properties, kPropertyNames[b.index], L"the value lies beyond what a toolbar can show");
    }
    // Customisability as it will be once "Customizable" is applied.
    const int customizable = values[kPropertyCount - 1];
    const bool advanced = customizable == kAbsent ? IsCustomizable(TRUE) != FALSE
                                                   : (customizable != 0 && m_pBitmapIds && m_nBitmapIdCount > 0);
    const bool barRecords = advanced || IsCustomizable(FALSE);

    std::optional<std::vector<CoolBarButtonRecord>> buttons;
    std::optional<std::vector<CoolBarCustomPosition>> positions;
    std::optional<std::vector<zyn::menus::CoolBarOrderItem>> order;
    ScopedKey key(nullptr);
    if (barRecords) {
        if (!pApp->m_pszRegistryKey || !pApp->m_pszProfileName || !m_hWnd)
            return FALSE;
        key.Reset(pApp->GetAppRegistryKey());
        if (!key.Get())
            return FALSE;
        CString name;
        name.Format(L"%s_ButtonsSettings", lpszValueName);
        const StoredRecord buttonsRecord = ReadRecord(*pApp, lpszSubKey, name);
        const CString buttonsName = name;
        name.Format(L"%s_CustomButtonsPositions", lpszValueName);
        const StoredRecord positionsRecord = ReadRecord(*pApp, lpszSubKey, name);
        if (buttonsRecord.state == StoredRecord::State::Damaged)
            return refuse(lpszSubKey, buttonsName, L"its size entry and its bytes disagree");
        if (positionsRecord.state == StoredRecord::State::Damaged)
            return refuse(lpszSubKey, name, L"its size entry and its bytes disagree");
        // No more buttons than the bar's command set and its custom buttons (and a separator
        // beside each); no text longer than a button can show.
        const size_t commands = static_cast<size_t>(std::max(m_nBitmapIdCount, std::max(m_nCount, 0))) +
            m_mapAllCustomButtons.size();
        const size_t maxItems = 2 * commands + 1;
        if (buttonsRecord.state == StoredRecord::State::Present) {
            buttons = zyn::menus::DecodeCoolBarButtons(buttonsRecord.bytes);
            if (!buttons)
                return refuse(lpszSubKey, buttonsName, L"its bytes are not a list of buttons");
            if (buttons->size() > maxItems)
                return refuse(lpszSubKey, buttonsName, L"it holds more buttons than the bar has commands");
            for (const CoolBarButtonRecord& record : *buttons)
                if (record.text.size() > kMaxButtonText)
                    return refuse(lpszSubKey, buttonsName, L"a button text is longer than a button can show");
        }
        if (positionsRecord.state == StoredRecord::State::Present) {
            positions = zyn::menus::DecodeCoolBarPositions(positionsRecord.bytes);
            if (!positions)
                return refuse(lpszSubKey, name, L"its bytes are not a list of positions");
            if (positions->size() > maxItems)
                return refuse(lpszSubKey, name, L"it places more custom buttons than the bar has places");
        }
        // The control's order value, checked by its written format before the control sees it.
        HKEY hSub = nullptr;
        if (::RegOpenKeyExW(key.Get(), lpszSubKey, 0, KEY_READ, &hSub) == ERROR_SUCCESS) {
            const ScopedKey sub(hSub);
            DWORD type = 0, size = 0;
            if (::RegQueryValueExW(sub.Get(), lpszValueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
                std::vector<uint8_t> bytes(size);
                if (type != REG_BINARY ||
                    ::RegQueryValueExW(sub.Get(), lpszValueName, nullptr, &type, bytes.data(), &size) !=
                        ERROR_SUCCESS ||
                    !(order = zyn::menus::DecodeCoolBarOrder(std::span<const uint8_t>(bytes.data(), size))))
                    return refuse(lpszSubKey, lpszValueName, L"it is not a toolbar order");
                if (order->size() > maxItems)
                    return refuse(lpszSubKey, lpszValueName, L"it holds more buttons than the bar has commands");
            }
        }
    }

    // 2. The program-wide settings, staged; the templates read their parts (kept first).
    struct Staged {
        int nID, nWidth, nHeight, nFlags, nImage;
    };
    std::vector<Staged> staged;
    std::vector<TemplateSnapshot> snapshots;
    bool programWideRead = false;
    if (!m_bCustomButtonsStateLoaded) {
        const StoredRecord record = ReadRecord(*pApp, lpszSubKey, kProgramWideName);
        if (record.state == StoredRecord::State::Damaged)
            return refuse(lpszSubKey, kProgramWideName, L"its size entry and its bytes disagree");
        programWideRead = true;
        if (record.state == StoredRecord::State::Present) {
            bool bad = false;
            try {
                std::vector<uint8_t> bytes = record.bytes;
                CMemFile file(bytes.empty() ? nullptr : bytes.data(), static_cast<UINT>(bytes.size()));
                CArchive ar(&file, CArchive::load, 4096);
                LONG nCount = 0;
                ar >> nCount;
                bool stopped = nCount < 0;
                bad = nCount < 0;
                std::set<COXCustomTBButtonTemplate*> kept;
                for (LONG i = 0; i < nCount && !stopped; ++i) {
                    LONG nID = 0, nWidth = 0, nHeight = 0, nFlags = 0, nImage = 0;
                    ar >> nID >> nWidth >> nHeight >> nFlags >> nImage;
                    // A custom button wider or taller than the screen is no saved state
                    // (-1 stands for the button's own size).
                    if (nWidth < -1 || nWidth > screenCx || nHeight < -1 || nHeight > screenCy) {
                        bad = stopped = true;
                        break;
                    }
                    const auto it = m_mapAllCustomButtons.find(nID);
                    if (it == m_mapAllCustomButtons.end()) {
                        // Its template's part has no length: nothing after it can be read.
                        stopped = true;
                        break;
                    }
                    staged.push_back(Staged{nID, nWidth, nHeight, nFlags, nImage});
                    if (COXCustomTBButtonTemplate* pTemplate = it->second.m_pCBTemplate) {
                        if (kept.insert(pTemplate).second) {
                            CMemFile snapshotFile(1024);
                            {
                                CArchive store(&snapshotFile, CArchive::store, 4096);
                                pTemplate->CBSaveState(store);
                                store.Close();
                            }
                            snapshots.push_back(TemplateSnapshot{pTemplate, FileBytes(snapshotFile)});
                        }
                        pTemplate->CBLoadState(ar);
                    }
                }
                if (!stopped) {
                    ar.Flush();
                    bad = bad || file.GetPosition() != file.GetLength();
                }
                ar.Abort();
            } catch (CException* e) {
                e->Delete();
                bad = true;
            }
            if (bad) {
                RestoreSnapshots(snapshots);
                return refuse(lpszSubKey, kProgramWideName, L"its custom-button records do not read back");
            }
        }
    }

    // 3. Nothing can fail from here on: the properties...
    bool sizesChanged = false;
    if (bProperties) {
        if (customizable != kAbsent) {
            if (customizable)
                SetCustomizable(TRUE, TRUE);
            else
                m_bCustomizable = FALSE;   // the control's own customisation stays as it is
        }
        auto value = [&values](int i) { return values[i]; };
        if (value(0) != kAbsent)
            m_bCool = value(0);
        if (value(1) != kAbsent)
            SetGripper(value(1) != 0);
        if (value(2) != kAbsent)
            m_bSeparator = value(2);
        if (value(3) != kAbsent)
            SetFlat(value(3) != 0);
        if (value(4) != kAbsent) {
            SetList(value(4) != 0);
            sizesChanged = true;
        }
        if (value(5) != kAbsent)
            SetDropDownArrow(value(5));
        if (value(6) != kAbsent)
            SetIndent(value(6));
        COLORREF* colours[12] = {&m_clrDefaultText, &m_clrHotText, &m_clrSelectedText, &m_clrCheckedText,
            &m_clrDefaultBk, &m_clrHotBk, &m_clrSelectedBk, &m_clrCheckedBk, &m_clrDefaultBorder, &m_clrHotBorder,
            &m_clrSelectedBorder, &m_clrCheckedBorder};
        for (int i = 0; i < 12; ++i)
            if (value(7 + i) != kAbsent)
                *colours[i] = static_cast<COLORREF>(value(7 + i));
        if (value(19) != kAbsent && value(19) != static_cast<int>(m_ttID)) {
            if (value(19) == TTID_NONE)
                SetButtonTextFromID(0, 65535, TTID_NOTEXT);
            SetButtonTextFromID(0, 65535, static_cast<TextTypeFromID>(value(19)));
            sizesChanged = true;
        }
        if (value(20) != kAbsent && value(20) != GetTextRows()) {
            SetMaxTextRows(value(20));
            sizesChanged = true;
        }
        if (value(21) != kAbsent && value(21) != m_nMinButtonWidth) {
            m_nMinButtonWidth = value(21);
            SetButtonsMinMaxWidth(static_cast<UINT>(m_nMinButtonWidth), static_cast<UINT>(m_nMaxButtonWidth));
        }
        if (value(22) != kAbsent && value(22) != m_nMaxButtonWidth) {
            m_nMaxButtonWidth = value(22);
            SetButtonsMinMaxWidth(static_cast<UINT>(m_nMinButtonWidth), static_cast<UINT>(m_nMaxButtonWidth));
            sizesChanged = true;
        }
    }

    // ...the program-wide settings...
    for (const Staged& s : staged) {
        OXCUSTOMBUTTONDESCRIPTOR& descriptor = m_mapAllCustomButtons[s.nID];
        descriptor.m_nWidth = s.nWidth;
        descriptor.m_nHeight = s.nHeight;
        descriptor.m_nFlags = s.nFlags;
        descriptor.m_nImageIndex = s.nImage;
    }
    if (programWideRead)
        m_bCustomButtonsStateLoaded = TRUE;

    // ...and the bar's buttons.
    const BOOL bSuppressed = m_bNoInternalRedraw;
    if (barRecords && m_hWnd) {
        if (m_nCustomizedButton != -1)
            SetCustomizedButton(-1);
        auto applyButtons = [this, &buttons]() {
            if (!buttons)
                return;
            for (const CoolBarButtonRecord& record : *buttons) {
                if (record.style & TBSTYLE_SEP)
                    continue;
                const int index = CommandToIndex(static_cast<UINT>(record.command));
                if (index < 0)
                    continue;   // a command the bar no longer has
                TBBUTTON current;
                _GetButton(index, &current);
                SetButtonInfo(index, static_cast<UINT>(record.command), MAKELONG(record.style, current.fsState),
                    record.image);
                if (record.hasText) {
                    SetButtonText(index, record.text.c_str());
                } else {
                    if (!record.text.empty())
                        m_mapRecentButtonTexts[static_cast<UINT>(record.command)] = record.text.c_str();
                    if (!GetButtonText(index).IsEmpty())
                        SetButtonText(index, L"");
                }
            }
        };
        if (order || positions) {
            // Every custom button comes off the bar, from the last to the first.
            std::map<int, OXCUSTOMBUTTONDESCRIPTOR> takenOff;   // by control ID
            std::vector<CoolBarCustomPosition> previous;
            std::vector<int> onBar;
            for (const auto& entry : m_mapCustomButtons)
                onBar.push_back(entry.first);
            for (auto it = onBar.rbegin(); it != onBar.rend(); ++it) {
                OXCUSTOMBUTTONDESCRIPTOR descriptor = m_mapCustomButtons[*it];
                m_mapCustomButtons.erase(*it);
                CWnd* pWnd = descriptor.m_pCBTemplate ? descriptor.m_pCBTemplate->CBGetWindow() : nullptr;
                const HWND hWnd = pWnd ? pWnd->m_hWnd : nullptr;
                const int nCtrlID = hWnd && ::IsWindow(hWnd) ? ::GetDlgCtrlID(hWnd) : descriptor.m_nID;
                previous.insert(previous.begin(), CoolBarCustomPosition{*it, nCtrlID});
                OXCUSTOMBUTTONDESCRIPTOR keep = descriptor;
                if (keep.m_pCBTemplate && keep.m_pCBTemplate->CBIsDynamicallyCreated())
                    keep.m_pCBTemplate = nullptr;   // a copy goes with its button
                takenOff[nCtrlID] = keep;
                DefWindowProc(TB_DELETEBUTTON, static_cast<WPARAM>(*it), 0);
                if (descriptor.m_pCBTemplate)
                    descriptor.m_pCBTemplate->CBDelete();
                if (hWnd && ::IsWindow(hWnd) && ::GetParent(hWnd) == m_hWnd)
                    ::ShowWindow(hWnd, SW_HIDE);
            }
            m_bNoInternalRedraw = TRUE;
            if (order) {
                TBSAVEPARAMSW params{key.Get(), lpszSubKey, lpszValueName};
                if (!DefWindowProc(TB_SAVERESTOREW, FALSE, reinterpret_cast<LPARAM>(&params)))
                    CLogger::LogRefusedProfileValue(lpszSubKey, lpszValueName,
                        L"the toolbar refused the order (a command twice, or more separators than buttons)");
                // The order holds the custom buttons' own records: they come back below.
                for (int i = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)) - 1; i >= 0; --i) {
                    TBBUTTON b{};
                    DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
                    if (b.idCommand != 0 && m_mapAllCustomButtons.count(b.idCommand))
                        DefWindowProc(TB_DELETEBUTTON, static_cast<WPARAM>(i), 0);
                }
            }
            m_nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
            SyncSizes();
            m_bDelayedButtonLayout = TRUE;
            applyButtons();
            const std::vector<CoolBarCustomPosition>& wanted = positions ? *positions : previous;
            std::set<int> shown;
            for (const CoolBarCustomPosition& p : wanted) {
                const int nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
                if (p.position > nCount)
                    continue;   // beyond the bar: not shown
                const auto t = takenOff.find(p.controlId);
                CWnd* pWnd = t != takenOff.end() && t->second.m_pCBTemplate ? t->second.m_pCBTemplate->CBGetWindow()
                                                                             : nullptr;
                if (pWnd && ::IsWindow(pWnd->m_hWnd) && !shown.count(p.controlId)) {
                    TBBUTTON separator{};
                    separator.iBitmap = -1;
                    separator.fsStyle = TBSTYLE_SEP;
                    separator.iString = -1;
                    if (SendMessage(TB_INSERTBUTTONA, static_cast<WPARAM>(p.position),
                            reinterpret_cast<LPARAM>(&separator)))
                        m_mapCustomButtons[p.position] = m_mapAllCustomButtons[p.controlId];
                } else {
                    InsertCustomButton(p.position, GetCustomButtonIndex(p.controlId), WS_CHILD | WS_VISIBLE, 0,
                        AfxRegisterWndClass(CS_DBLCLKS), L"");
                }
                shown.insert(p.controlId);
                if (!m_hWnd)
                    return FALSE;
            }
        } else {
            m_bNoInternalRedraw = TRUE;
            applyButtons();
        }
        SetButtonTextFromID(0, 65535, m_ttID);
    }

    // 4. The bar shows what it got.
    m_bNoInternalRedraw = bSuppressed;
    if (!m_hWnd)
        return TRUE;
    if (!sizesChanged) {
        UpdateCustomButtons(0, -1);
    } else {
        if (GetTextRows() == 0) {
            SetSizes(CSize(m_sizeImage.cx + 7, m_sizeImage.cy + 6), m_sizeImage);
            SendMessage(TB_AUTOSIZE, 0, 0);
        } else {
            UpdateSizes();
        }
    }
    RedrawToolBar(TRUE, FALSE);
    return TRUE;
}
