#pragma once
// COXSkinTable: the application's skin objects by name, and the current one. The
// application object holds one; it owns every registered skin.
#include <map>
#include <memory>
#include <string>

#include "platform/base/wintypes.h"

class COXSkin;

class COXSkinTable {
public:
    COXSkinTable();
    ~COXSkinTable();
    COXSkinTable(const COXSkinTable&) = delete;
    COXSkinTable& operator=(const COXSkinTable&) = delete;

    // Registers skin under its name and takes ownership of it. An entry of the same
    // name is replaced: the skin it held is destroyed, and when it was the current skin
    // the new one becomes current. Adding the registered object again changes nothing.
    // FALSE (ERROR_INVALID_PARAMETER) for null; the table then owns nothing new.
    BOOL AddSkin(COXSkin* skin);
    BOOL AddSkin(std::unique_ptr<COXSkin> skin);
    // The registered skin of that name, or null.
    COXSkin* GetSkin(const wchar_t* name) const;
    // Removes the entry without destroying the skin: ownership returns to the caller.
    // When it was the current skin there is no current skin afterwards. Non-zero when
    // the name was registered.
    BOOL RemoveSkin(const wchar_t* name);
    // As RemoveSkin, handing the skin back to the caller's owner.
    std::unique_ptr<COXSkin> DetachSkin(const wchar_t* name);

    // The current skin, or null.
    COXSkin* GetCurrentSkin() const { return m_pCurrentSkin; }
    // A registered name (or the registered skin of the given skin's name) becomes
    // current: TRUE. Anything else leaves no current skin: FALSE.
    BOOL SetCurrentSkin(const wchar_t* name);
    BOOL SetCurrentSkin(COXSkin* skin);

    // The application's standard set: "Classic", "Office XP" and "Office 2003", the
    // last one current.
    void AddStandardSkins();

    int GetSkinCount() const { return static_cast<int>(m_skins.size()); }

private:
    std::map<std::wstring, std::unique_ptr<COXSkin>, std::less<>> m_skins;
    COXSkin* m_pCurrentSkin = nullptr;
};
