#include "tests/shortcutbar/shb_bar_support.h"

#include <algorithm>
#include <cstdio>

#include "platform/base/clock.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "toolkit/skins/skin.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_table.h"

namespace shbtest {
namespace {

COXSkinTable* g_skins = nullptr;
COXSkin* CurrentSkin() { return g_skins ? g_skins->GetCurrentSkin() : nullptr; }

std::string Hex(UINT code)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", code);
    return buf;
}

POINT ScreenPoint(int x, int y, HWND in)
{
    POINT p{x, y};
    ClientToScreen(in, &p);
    return p;
}

} // namespace

HIMAGELIST SolidImages(int cx, int cy, const std::vector<COLORREF>& colours)
{
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 4, 4);
    for (COLORREF c : colours) {
        std::vector<uint32_t> bits(static_cast<size_t>(cx * cy),
            (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c));
        HBITMAP bm = CreateBitmap(cx, cy, 1, 32, bits.data());
        ImageList_Add(list, bm, nullptr);
        DeleteObject(bm);
    }
    return list;
}

BarTest::BarTest() = default;
BarTest::~BarTest() = default;

void BarTest::SetUp()
{
    ShbUiTest::SetUp();
    parent.answer = [this](UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
        if (msg != WM_NOTIFY)
            return false;
        auto* nm = reinterpret_cast<NMSHORTCUTBAR*>(lp);
        if (nm->hdr.code < SHBN_DRAGENTER || nm->hdr.code > SHBN_CONTEXTMENU)
            return false;
        if (std::find(quiet.begin(), quiet.end(), nm->hdr.code) == quiet.end()) {
            std::string line = Hex(nm->hdr.code) + " " + NameOf(nm->hGroup) + " " + std::to_string(nm->nItem);
            if (bar && nm->hdr.hwndFrom != bar->m_hWnd)
                line += " (not from the bar)";
            log.push_back(line);
        }
        r = 0;
        if (onNotify && onNotify(*nm, r))
            return true;
        const auto it = answers.find(nm->hdr.code);
        if (it != answers.end())
            r = it->second;
        return true;
    };
}

void BarTest::TearDown()
{
    onNotify = nullptr;
    answers.clear();
    bar.reset();
    imageLists.clear();
    if (m_skins) {
        OXSetSkinSource(nullptr);
        g_skins = nullptr;
        m_skins.reset();
    }
    ShbUiTest::TearDown();
}

void BarTest::UseSkin(const wchar_t* name)
{
    if (!m_skins) {
        m_skins = std::make_unique<COXSkinTable>();
        m_skins->AddStandardSkins();
        g_skins = m_skins.get();
        OXSetSkinSource(&CurrentSkin);
    }
    ASSERT_TRUE(m_skins->SetCurrentSkin(name));
}

void BarTest::MakeBar(DWORD barStyle, int width, int height)
{
    bar = std::make_unique<COXShortcutBar>();
    ASSERT_TRUE(bar->Create(&parent, CRect(0, 0, width, height), barStyle, 1234));
    Pump();
}

std::vector<HSHBGROUP> BarTest::AddGroups(const std::vector<std::wstring>& titles)
{
    std::vector<HSHBGROUP> out;
    for (const std::wstring& t : titles) {
        const HSHBGROUP h = bar->InsertGroup(t.c_str());
        names[h] = std::string(t.begin(), t.end());
        out.push_back(h);
    }
    return out;
}

std::vector<std::wstring> BarTest::TitlesInOrder() const
{
    std::vector<std::wstring> out;
    for (int i = 0; i < bar->GetGroupCount(); ++i)
        out.push_back(bar->GetGroupText(bar->FindGroupByOrder(i)).GetString());
    return out;
}

std::string BarTest::NameOf(HSHBGROUP h) const
{
    if (!h)
        return "-";
    const auto it = names.find(h);
    return it == names.end() ? "g" + std::to_string(reinterpret_cast<uintptr_t>(h)) : it->second;
}

void BarTest::MoveTo(int x, int y, HWND in)
{
    const POINT p = ScreenPoint(x, y, in ? in : bar->m_hWnd);
    zyn::user::InjectMouseMove(p.x, p.y);
    Pump();
}

void BarTest::Press(int x, int y, HWND in)
{
    MoveTo(x, y, in);
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, true);
    Pump();
}

void BarTest::Release(int x, int y, HWND in)
{
    MoveTo(x, y, in);
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, false);
    Pump();
}

void BarTest::Click(int x, int y, HWND in)
{
    Press(x, y, in);
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, false);
    Pump();
}

void BarTest::Wait(uint64_t ms)
{
    zyn::base::Clock::Advance(ms);
    Pump();
}

std::vector<std::string> BarTest::TakeLog()
{
    std::vector<std::string> out;
    out.swap(log);
    return out;
}

} // namespace shbtest
