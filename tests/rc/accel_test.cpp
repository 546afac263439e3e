// Accelerator tables and their translation of injected keys.
#include <gtest/gtest.h>

#include "tests/rc/menu_test_support.h"
#include "tests/rc/rc_test_ids.h"
#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {
namespace {

constexpr WORD kFileNew = 0xE100, kEditCopy = 0xE122, kEditCut = 0xE123, kHelp = 0xE146;

class AccelTest : public MenuTest {
protected:
    void TearDown() override
    {
        if (m_accel) {
            EXPECT_TRUE(DestroyAcceleratorTable(m_accel));
        }
        if (m_window)
            DestroyWindow(m_window);
        MenuTest::TearDown();
    }
    void Open(HMENU menu = nullptr)
    {
        m_window = MakeFrame(menu);
        ASSERT_NE(m_window, nullptr);
        SetForegroundWindow(m_window);
        SetFocus(m_window);
        m_accel = LoadAcceleratorsW(nullptr, MAKEINTRESOURCE(IDR_MAIN));
        ASSERT_NE(m_accel, nullptr);
        Pump();
        Log().clear();
    }
    // The message loop of a frame: accelerators first, then the usual translation.
    int Run()
    {
        int translated = 0;
        MSG m;
        for (int guard = 0; guard < 1000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
            if (TranslateAcceleratorW(m_window, m_accel, &m)) {
                ++translated;
                continue;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        return translated;
    }
    void Chord(std::initializer_list<int> modifiers, int key)
    {
        for (const int vk : modifiers)
            user::InjectKey(vk, true);
        user::InjectKeyPress(key);
        for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
            user::InjectKey(*it, false);
    }
    std::vector<WPARAM> Commands() const
    {
        std::vector<WPARAM> out;
        for (const Sent& s : Of(WM_COMMAND))
            out.push_back(s.wp);
        return out;
    }

    HWND m_window = nullptr;
    HACCEL m_accel = nullptr;
};

TEST_F(AccelTest, TablesLoadCopyAndDestroy)
{
    const HACCEL a = LoadAcceleratorsW(nullptr, MAKEINTRESOURCE(IDR_MAIN));
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(CopyAcceleratorTableW(a, nullptr, 0), 5);
    ACCEL entries[5]{};
    ASSERT_EQ(CopyAcceleratorTableW(a, entries, 5), 5);
    EXPECT_EQ(entries[0].fVirt, 0);
    EXPECT_EQ(entries[0].key, 3);
    EXPECT_EQ(entries[0].cmd, kEditCopy);
    EXPECT_EQ(entries[2].fVirt, FVIRTKEY | FCONTROL | FSHIFT);
    EXPECT_EQ(entries[3].fVirt, FVIRTKEY | FNOINVERT);
    EXPECT_EQ(entries[4].fVirt, 0) << "the end flag is not part of an entry";
    ACCEL two[2]{};
    EXPECT_EQ(CopyAcceleratorTableW(a, two, 2), 2);
    EXPECT_EQ(two[1].cmd, kEditCut);

    ACCEL made[] = {{FVIRTKEY | FCONTROL, 'Q', 7}};
    const HACCEL b = CreateAcceleratorTableW(made, 1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(CopyAcceleratorTableW(b, nullptr, 0), 1);
    EXPECT_EQ(CreateAcceleratorTableW(made, 0), nullptr);
    EXPECT_TRUE(DestroyAcceleratorTable(b));
    EXPECT_FALSE(DestroyAcceleratorTable(b));
    EXPECT_EQ(CopyAcceleratorTableW(b, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_ACCEL_HANDLE);
    EXPECT_TRUE(DestroyAcceleratorTable(a));

    // Resource bytes without the last-entry flag, or none at all, are refused.
    const auto noEnd = Bytes().w(1).w('A').w(1).w(0).v();
    EXPECT_EQ(user::AcceleratorsFromResource(noEnd.data(), noEnd.size()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(user::AcceleratorsFromResource(noEnd.data(), 0), nullptr);
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCE(4321)), nullptr);
}

TEST_F(AccelTest, VirtualKeysNeedTheirExactModifiers)
{
    Open();
    Chord({VK_CONTROL}, 'N');
    EXPECT_EQ(Run(), 0) << "SHIFT is missing";
    Chord({VK_CONTROL, VK_SHIFT}, 'N');
    EXPECT_EQ(Run(), 1);
    Chord({}, VK_F1);
    EXPECT_EQ(Run(), 1);
    Chord({VK_SHIFT}, VK_F1);
    EXPECT_EQ(Run(), 0) << "an extra modifier does not match";
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(kFileNew, 1), MAKEWPARAM(kHelp, 1)}));
}

TEST_F(AccelTest, CharactersTranslateFromWmChar)
{
    Open();
    Chord({VK_CONTROL}, 'C'); // WM_CHAR 3 for "^C"
    Chord({VK_MENU}, 'A');    // WM_SYSCHAR 'a' for "a", ALT
    Chord({VK_SHIFT}, 'A');   // WM_CHAR 'A' for 65, ASCII
    Chord({}, 'A');           // 'a' without ALT: nothing
    EXPECT_EQ(Run(), 3);
    EXPECT_EQ(Commands(),
        (std::vector<WPARAM>{MAKEWPARAM(kEditCopy, 1), MAKEWPARAM(kEditCut, 1), MAKEWPARAM(CMD(1), 1)}));
}

TEST_F(AccelTest, DisabledItemsAndWindowsSendNothing)
{
    const HMENU menu = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING | MF_GRAYED, kFileNew, L"&New");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    Open(menu);
    Chord({VK_CONTROL, VK_SHIFT}, 'N');
    EXPECT_EQ(Run(), 1) << "the key is still taken";
    EXPECT_TRUE(Commands().empty());
    EnableMenuItem(menu, kFileNew, MF_BYCOMMAND | MF_ENABLED);
    Chord({VK_CONTROL, VK_SHIFT}, 'N');
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{MAKEWPARAM(kFileNew, 1)});

    Log().clear();
    EnableWindow(m_window, FALSE);
    MSG ctrlC{m_window, WM_CHAR, 3, 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorW(m_window, m_accel, &ctrlC), 1);
    EXPECT_TRUE(Commands().empty());
    EnableWindow(m_window, TRUE);
    EXPECT_EQ(TranslateAcceleratorW(m_window, m_accel, &ctrlC), 1);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{MAKEWPARAM(kEditCopy, 1)});

    MSG other{m_window, WM_KEYUP, 'N', 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorW(m_window, m_accel, &other), 0);
    EXPECT_EQ(TranslateAcceleratorW(m_window, reinterpret_cast<HACCEL>(0x0A001234), &ctrlC), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_ACCEL_HANDLE);
    EXPECT_EQ(TranslateAcceleratorW(nullptr, m_accel, &ctrlC), 0);
}

TEST_F(AccelTest, SystemMenuCommandsGoAsWmSysCommand)
{
    Open();
    DestroyAcceleratorTable(m_accel);
    ACCEL close[] = {{FVIRTKEY | FALT, VK_F4, static_cast<WORD>(SC_CLOSE)}};
    m_accel = CreateAcceleratorTableW(close, 1);
    ASSERT_NE(GetSystemMenu(m_window, FALSE), nullptr);
    Chord({VK_MENU}, VK_F4);
    EXPECT_EQ(Run(), 1);
    const auto sys = Of(WM_SYSCOMMAND);
    ASSERT_EQ(sys.size(), 1u);
    EXPECT_EQ(sys[0].wp, SC_CLOSE);
    EXPECT_EQ(sys[0].lp, 0x00010000);
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(IsWindow(m_window));
}

} // namespace
} // namespace zyn::rc::test
