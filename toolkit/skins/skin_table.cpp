#include "toolkit/skins/skin_table.h"

#include "platform/base/lasterror.h"
#include "toolkit/skins/skin.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_xp.h"

namespace {
std::wstring_view NameOf(const wchar_t* name) { return name ? std::wstring_view(name) : std::wstring_view(); }
} // namespace

COXSkinTable::COXSkinTable() = default;

COXSkinTable::~COXSkinTable()
{
    m_pCurrentSkin = nullptr;
    m_skins.clear();
}

BOOL COXSkinTable::AddSkin(COXSkin* skin)
{
    if (!skin) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (const auto& entry : m_skins) {
        if (entry.second.get() == skin)
            return TRUE; // already ours: owning it twice would destroy it twice
    }
    return AddSkin(std::unique_ptr<COXSkin>(skin));
}

BOOL COXSkinTable::AddSkin(std::unique_ptr<COXSkin> skin)
{
    if (!skin) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::unique_ptr<COXSkin>& slot = m_skins[std::wstring(skin->GetName().GetString())];
    if (slot.get() == skin.get()) {
        // Two owners of one object: keep the table's, never destroy it twice.
        [[maybe_unused]] COXSkin* same = skin.release();
        return TRUE;
    }
    const bool wasCurrent = slot && slot.get() == m_pCurrentSkin;
    slot = std::move(skin); // destroys the skin the entry held
    if (wasCurrent)
        m_pCurrentSkin = slot.get();
    return TRUE;
}

COXSkin* COXSkinTable::GetSkin(const wchar_t* name) const
{
    const auto it = m_skins.find(NameOf(name));
    return it == m_skins.end() ? nullptr : it->second.get();
}

std::unique_ptr<COXSkin> COXSkinTable::DetachSkin(const wchar_t* name)
{
    const auto it = m_skins.find(NameOf(name));
    if (it == m_skins.end())
        return nullptr;
    std::unique_ptr<COXSkin> skin = std::move(it->second);
    m_skins.erase(it);
    if (skin.get() == m_pCurrentSkin)
        m_pCurrentSkin = nullptr;
    return skin;
}

BOOL COXSkinTable::RemoveSkin(const wchar_t* name)
{
    // The caller keeps the skin it got from GetSkin and now owns it.
    COXSkin* removed = DetachSkin(name).release();
    return removed != nullptr;
}

BOOL COXSkinTable::SetCurrentSkin(const wchar_t* name)
{
    m_pCurrentSkin = GetSkin(name);
    return m_pCurrentSkin != nullptr;
}

BOOL COXSkinTable::SetCurrentSkin(COXSkin* skin)
{
    if (!skin) {
        m_pCurrentSkin = nullptr;
        return FALSE;
    }
    return SetCurrentSkin(skin->GetName().GetString());
}

void COXSkinTable::AddStandardSkins()
{
    AddSkin(std::make_unique<COXSkinClassic>());
    AddSkin(std::make_unique<COXSkinXP>());
    AddSkin(std::make_unique<COXSkin2003>());
    SetCurrentSkin(L"Office 2003");
}
