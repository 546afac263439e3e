// The recently used sets in the application profile: each set is a blob in "RUContents"
// with its byte count in "RUItemsDataSize" (the layout is in recent_state.h). A blob is
// checked whole, against its recorded size too, before the set it describes is replaced.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/afx/winapp.h"
#include "platform/base/archive.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/base/memfile.h"
#include "toolkit/menus/organizer.h"
#include "toolkit/menus/recent_state.h"

namespace {

constexpr const wchar_t* kCommandsSection = L"RecentlyUsedMenuItems";
constexpr const wchar_t* kSubmenusSection = L"RecentlyUsedSubmenuItems";
constexpr const wchar_t* kContents = L"RUContents";
constexpr const wchar_t* kDataSize = L"RUItemsDataSize";

CString SectionOr(LPCTSTR lpszSection, const wchar_t* fallback)
{
    return lpszSection && *lpszSection ? CString(lpszSection) : CString(fallback);
}

// What is left of a loading archive's data.
std::vector<uint8_t> ReadRest(CArchive& ar)
{
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    for (;;) {
        const UINT n = ar.Read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk)
            return bytes;
    }
}

// Stores through a storing archive over a memory file, as the profile keeps it; writes
// both values whatever happens to the first.
template <class Store>
BOOL SaveBlob(const CString& section, Store store)
{
    CWinApp* app = AfxGetApp();
    if (!app) {
        ::SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    std::vector<uint8_t> bytes;
    try {
        CMemFile file(1024);
        {
            CArchive ar(&file, CArchive::store, 4096);
            if (!store(ar)) {
                ar.Abort();
                return FALSE;
            }
            ar.Close();
        }
        bytes.resize(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        if (!bytes.empty())
            file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    } catch (CException* e) {
        e->Delete();
        ::SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    BOOL ok = app->WriteProfileBinary(section, kContents, bytes.data(), static_cast<UINT>(bytes.size()));
    ok = app->WriteProfileInt(section, kDataSize, static_cast<int>(bytes.size())) && ok;
    return ok;
}

// Loads through a loading archive over the saved bytes. No saved state: TRUE and nothing
// done. A size that does not match the bytes, or bytes that cannot be read: FALSE.
template <class Load>
BOOL LoadBlob(const CString& section, Load load)
{
    CWinApp* app = AfxGetApp();
    if (!app) {
        ::SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    const int size = static_cast<int>(app->GetProfileInt(section, kDataSize, -1));
    if (size == -1)
        return TRUE;
    LPBYTE data = nullptr;
    UINT count = 0;
    if (!app->GetProfileBinary(section, kContents, &data, &count)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const std::unique_ptr<BYTE[]> owner(data);
    if (size < 0 || static_cast<UINT>(size) != count) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    try {
        CMemFile file(data, count);
        CArchive ar(&file, CArchive::load, 4096);
        return load(ar);
    } catch (CException* e) {
        e->Delete();
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
}

} // namespace

// ---- the profile ------------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuOrganizer::SaveRUCommandsState(LPCTSTR lpszSection)
{
    return SaveBlob(SectionOr(lpszSection, kCommandsSection), [this](CArchive& ar) { return SaveRUCommandsContents(ar); });
}

BOOL COXBitmapMenuOrganizer::LoadRUCommandsState(LPCTSTR lpszSection)
{
    return LoadBlob(SectionOr(lpszSection, kCommandsSection), [this](CArchive& ar) { return LoadRUCommandsContents(ar); });
}

BOOL COXBitmapMenuOrganizer::SaveRUSubmenusState(HMENU hRoot, LPCTSTR lpszSection)
{
    return SaveBlob(SectionOr(lpszSection, kSubmenusSection),
        [this, hRoot](CArchive& ar) { return SaveRUSubmenusContents(hRoot, ar); });
}

BOOL COXBitmapMenuOrganizer::LoadRUSubmenusState(HMENU hRoot, LPCTSTR lpszSection)
{
    return LoadBlob(SectionOr(lpszSection, kSubmenusSection),
        [this, hRoot](CArchive& ar) { return LoadRUSubmenusContents(hRoot, ar); });
}

LRESULT COXBitmapMenuOrganizer::OnSubmenuStateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* base = reinterpret_cast<LPCTSTR>(lParam);
    const CString section =
        base && *base ? CString(base) + L"_" + kSubmenusSection : CString(kSubmenusSection);
    const auto root = reinterpret_cast<HMENU>(wParam);
    if (message == WM_OX_SAVERUSUBMENUS && !SaveRUSubmenusState(root, section))
        return FALSE;
    return LoadRUSubmenusState(root, section);
}

// ---- the contents --------------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuOrganizer::SaveRUCommandsContents(CArchive& ar)
{
    const std::vector<int32_t> ids(m_excludedCommands.begin(), m_excludedCommands.end());
    const std::vector<uint8_t> bytes = zyn::menus::EncodeRecentCommands(ids);
    ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::LoadRUCommandsContents(CArchive& ar)
{
    const std::vector<uint8_t> bytes = ReadRest(ar);
    const auto ids = zyn::menus::DecodeRecentCommands(bytes);
    if (!ids) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_excludedCommands.clear();
    for (const int32_t id : *ids)
        ExcludeFromRecentlyUsed(id); // 0 is never excluded
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::SaveRUSubmenusContents(HMENU hRoot, CArchive& ar)
{
    std::vector<std::vector<int32_t>> paths;
    for (const HMENU sub : m_excludedSubmenus) {
        CArray<int, int> path; // each its own: a path never carries another's positions
        std::vector<int32_t> positions;
        if (::IsMenu(sub) && FindPopupMenuPath(sub, hRoot, path))
            for (INT_PTR i = 0; i < path.GetSize(); ++i)
                positions.push_back(path[i]);
        paths.push_back(std::move(positions));
    }
    std::sort(paths.begin(), paths.end());
    const std::vector<uint8_t> bytes = zyn::menus::EncodeRecentSubmenus(paths);
    ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::LoadRUSubmenusContents(HMENU hRoot, CArchive& ar)
{
    const std::vector<uint8_t> bytes = ReadRest(ar);
    const auto paths = zyn::menus::DecodeRecentSubmenus(bytes);
    if (!paths) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_excludedSubmenus.clear();
    for (const auto& path : *paths) {
        HMENU reached = path.empty() ? nullptr : hRoot;
        for (const int32_t pos : path) {
            reached = reached ? ::GetSubMenu(reached, pos) : nullptr;
            if (!reached)
                break;
        }
        if (reached)
            ExcludeSubmenuFromRecentlyUsed(reached);
    }
    return TRUE;
}
