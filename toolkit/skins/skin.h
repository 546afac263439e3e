#pragma once
// COXSkin: a painting policy. A skin object has a name, owns one element skin of every
// kind (the small polymorphic objects through which the skinned controls paint) and
// carries a table of named string properties. The concrete skins ("Classic",
// "Office XP", "Office 2003") fill every slot in their constructors.
#include <memory>

#include "platform/base/coll_map.h"
#include "platform/base/cstring.h"

class COXToolbarSkin;
class COXDialogBarSkin;
class COXMenuSkin;
class COXDockbarSkin;
class COXTabSkin;
class COXShortcutBarSkin;
class COXMiniFrameSkin;
class COXStatusbarSkin;
class COXFrameSkin;

class COXSkin {
public:
    virtual ~COXSkin();

    // A skin owns its element skins: it is never copied.
    COXSkin(const COXSkin&) = delete;
    COXSkin& operator=(const COXSkin&) = delete;

    CString GetName() const { return m_strName; }

    // The element skins; the skin keeps ownership. Callers use them for the current
    // call only: a setter or the skin's destruction frees them.
    COXToolbarSkin* GetToolbarSkin() const { return m_pToolbarSkin.get(); }
    COXDialogBarSkin* GetDialogBarSkin() const { return m_pDialogBarSkin.get(); }
    COXMenuSkin* GetMenuSkin() const { return m_pMenuSkin.get(); }
    COXToolbarSkin* GetMenubarSkin() const { return m_pMenubarSkin.get(); }
    COXDockbarSkin* GetDockbarSkin() const { return m_pDockbarSkin.get(); }
    COXTabSkin* GetTabSkin() const { return m_pTabSkin.get(); }
    COXShortcutBarSkin* GetShortcutBarSkin() const { return m_pShortcutBarSkin.get(); }
    COXMiniFrameSkin* GetMiniFrameSkin() const { return m_pMiniFrameSkin.get(); }
    COXStatusbarSkin* GetStatusbarSkin() const { return m_pStatusbarSkin.get(); }
    COXFrameSkin* GetFrameSkin() const { return m_pFrameSkin.get(); }

    // Each setter destroys the element skin held so far and takes ownership of the
    // given one (null empties the slot). Given the element skin the slot already
    // holds, a setter does nothing.
    void SetToolbarSkin(COXToolbarSkin* skin);
    void SetMenuSkin(COXMenuSkin* skin);
    void SetMenubarSkin(COXToolbarSkin* skin);
    void SetDockbarSkin(COXDockbarSkin* skin);
    void SetTabSkin(COXTabSkin* skin);
    void SetShortcutBarSkin(COXShortcutBarSkin* skin);
    void SetMiniFrameSkin(COXMiniFrameSkin* skin);
    void SetStatusbarSkin(COXStatusbarSkin* skin);
    void SetFrameSkin(COXFrameSkin* skin);

    // Free-form named values; an unknown name reads as the empty string.
    CString GetProperty(const wchar_t* name) const;
    void SetProperty(const wchar_t* name, const wchar_t* value);

protected:
    // Empty: no name, every slot null.
    COXSkin();

    CString m_strName;
    std::unique_ptr<COXToolbarSkin> m_pToolbarSkin;
    std::unique_ptr<COXDialogBarSkin> m_pDialogBarSkin;
    std::unique_ptr<COXMenuSkin> m_pMenuSkin;
    std::unique_ptr<COXToolbarSkin> m_pMenubarSkin;
    std::unique_ptr<COXDockbarSkin> m_pDockbarSkin;
    std::unique_ptr<COXTabSkin> m_pTabSkin;
    std::unique_ptr<COXShortcutBarSkin> m_pShortcutBarSkin;
    std::unique_ptr<COXMiniFrameSkin> m_pMiniFrameSkin;
    std::unique_ptr<COXStatusbarSkin> m_pStatusbarSkin;
    std::unique_ptr<COXFrameSkin> m_pFrameSkin;

private:
    CMapStringToString m_mapProperties{10};
};
