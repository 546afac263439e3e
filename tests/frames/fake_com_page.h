#pragma once
// A fake COM property page for the OLE page tests, registered in the class table under
// CLSID_FakeComPage. It writes every call it gets to a trace in order, holds the site and
// the objects as a real page does (AddRef'd until let go), makes its window as a child of
// the parent Activate names (a "#32770" dialog holding one edit, or a plain static), and
// fails whichever step the test's behaviour names. Its page information strings come from
// the task allocator, so a test sees whether the host freed them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/ole_com.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

namespace zyn::test {

// {5C0F1E2A-9B3D-4E6F-8A71-2D4C6B8E0F13}
inline constexpr CLSID CLSID_FakeComPage{0x5C0F1E2A, 0x9B3D, 0x4E6F, {0x8A, 0x71, 0x2D, 0x4C, 0x6B, 0x8E, 0x0F, 0x13}};
inline constexpr int kFakeEditId = 101;

// What the fake does; reset for every case.
struct FakePageBehaviour {
    HRESULT setSite = S_OK, setObjects = S_OK, pageInfo = S_OK, activate = S_OK, show = S_OK;
    std::wstring title = L"Badge Layout";
    DWORD helpContext = 0x1234;
    bool keepsChangesAfterApply = false; // Apply leaves the page dirty (a refused value)
    bool dialogWindow = true;            // its window is a "#32770" dialog with an edit
    // Filled in by the fake.
    std::vector<std::wstring> trace;
    RECT activateRect{};
    ULONG pageInfoSize = 0;
    IPropertyPageSite* site = nullptr;   // held while sited
    int objectsHeld = 0;
    HWND window = nullptr;
    bool dirty = true;
};
inline FakePageBehaviour& FakePage()
{
    static FakePageBehaviour b;
    return b;
}

inline wchar_t* TaskString(const std::wstring& s)
{
    auto* p = static_cast<wchar_t*>(CoTaskMemAlloc((s.size() + 1) * sizeof(wchar_t)));
    if (p)
        std::wcsncpy(p, s.c_str(), s.size() + 1);
    return p;
}

class FakeComPage final : public com::Object<IPropertyPage> {
public:
    FakeComPage() { Log(L"created"); }
    ~FakeComPage() override { Log(L"destroyed"); }

    HRESULT SetPageSite(IPropertyPageSite* pSite) override
    {
        FakePageBehaviour& b = FakePage();
        Log(pSite ? L"SetPageSite(site)" : L"SetPageSite(null)");
        if (pSite && FAILED(b.setSite))
            return b.setSite;
        if (pSite)
            pSite->AddRef();
        if (b.site)
            b.site->Release();
        b.site = pSite;
        return S_OK;
    }
    HRESULT Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) override
    {
        FakePageBehaviour& b = FakePage();
        Log(std::wstring(L"Activate(") + (bModal ? L"modal" : L"modeless") + L")");
        if (FAILED(b.activate))
            return b.activate;
        b.activateRect = *pRect;
        const int w = pRect->right - pRect->left, h = pRect->bottom - pRect->top;
        if (b.dialogWindow) {
            b.window = CreateWindowExW(0, L"#32770", L"", WS_CHILD, pRect->left, pRect->top, w, h, hWndParent,
                nullptr, nullptr, nullptr);
            CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 8, 8, 120, 20, b.window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFakeEditId)), nullptr, nullptr);
        } else {
            b.window = CreateWindowExW(0, L"Static", L"", WS_CHILD, pRect->left, pRect->top, w, h, hWndParent,
                nullptr, nullptr, nullptr);
        }
        return S_OK;
    }
    HRESULT Deactivate() override
    {
        FakePageBehaviour& b = FakePage();
        Log(L"Deactivate");
        if (b.window && IsWindow(b.window))
            DestroyWindow(b.window);
        b.window = nullptr;
        return S_OK;
    }
    HRESULT GetPageInfo(PROPPAGEINFO* pInfo) override
    {
        FakePageBehaviour& b = FakePage();
        Log(L"GetPageInfo");
        b.pageInfoSize = pInfo->cb;
        // Filled even when failing: the host must free whatever the page left there.
        pInfo->pszTitle = TaskString(b.title);
        pInfo->pszDocString = TaskString(L"Edits the badge layout");
        pInfo->pszHelpFile = TaskString(L"badges.hlp");
        pInfo->size = SIZE{300, 200};
        pInfo->dwHelpContext = b.helpContext;
        return b.pageInfo;
    }
    HRESULT SetObjects(ULONG cObjects, IUnknown** ppUnk) override
    {
        FakePageBehaviour& b = FakePage();
        Log(L"SetObjects(" + std::to_wstring(cObjects) + L")");
        if (cObjects && FAILED(b.setObjects))
            return b.setObjects;
        ReleaseObjects();
        for (ULONG i = 0; i < cObjects; ++i) {
            if (ppUnk[i]) {
                ppUnk[i]->AddRef();
                m_objects.push_back(ppUnk[i]);
            }
        }
        b.objectsHeld = static_cast<int>(m_objects.size());
        return S_OK;
    }
    HRESULT Show(UINT nCmdShow) override
    {
        FakePageBehaviour& b = FakePage();
        Log(L"Show(" + std::to_wstring(nCmdShow) + L")");
        if (FAILED(b.show))
            return b.show;
        if (b.window)
            ShowWindow(b.window, static_cast<int>(nCmdShow));
        return S_OK;
    }
    HRESULT Move(LPCRECT) override
    {
        Log(L"Move");
        return S_OK;
    }
    HRESULT IsPageDirty() override
    {
        Log(L"IsPageDirty");
        return FakePage().dirty ? S_OK : S_FALSE;
    }
    HRESULT Apply() override
    {
        FakePageBehaviour& b = FakePage();
        Log(L"Apply");
        if (!b.keepsChangesAfterApply)
            b.dirty = false;
        return b.keepsChangesAfterApply ? E_INVALIDARG : S_OK;
    }
    HRESULT Help(LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    static void Log(const std::wstring& s) { FakePage().trace.push_back(s); }
    void ReleaseObjects()
    {
        for (IUnknown* p : m_objects)
            p->Release();
        m_objects.clear();
        FakePage().objectsHeld = 0;
    }
    std::vector<IUnknown*> m_objects;
};

class FakeComPageFactory final : public com::Object<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto page = com::Ref<IPropertyPage>::Attach(new FakeComPage);
        return page->QueryInterface(riid, ppv);
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

// The object the page edits: any COM object will do.
class EditedObject final : public com::Object<IUnknown> {};

} // namespace zyn::test
