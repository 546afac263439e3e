// The clipboard: ownership, formats, synthesised text, delayed rendering, one opener.
#include <cstring>
#include <thread>

#include "platform/base/globalmem.h"
#include "platform/base/utf16.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using ClipboardTest = UserTest;

HGLOBAL Utf16Text(const std::wstring& s)
{
    std::vector<uint8_t> b = zyn::base::ToUtf16LE(s);
    b.push_back(0);
    b.push_back(0);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, b.size());
    std::memcpy(GlobalLock(h), b.data(), b.size());
    GlobalUnlock(h);
    return h;
}

std::wstring ReadUtf16(HANDLE h)
{
    const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
    size_t n = GlobalSize(h);
    size_t units = 0;
    while (units * 2 + 1 < n && (p[units * 2] || p[units * 2 + 1]))
        ++units;
    std::wstring s = zyn::base::FromUtf16LE(std::span<const uint8_t>(p, units * 2));
    GlobalUnlock(h);
    return s;
}

TEST_F(ClipboardTest, SetGetAndSynthesisedText)
{
    HWND h = Make(WS_POPUP, 0, 0, 1, 1);
    const DWORD seq = GetClipboardSequenceNumber();
    ASSERT_TRUE(OpenClipboard(h));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), h);
    const std::wstring text = L"Gr\u00FC\u00DFe \U0001F600";
    HGLOBAL mem = Utf16Text(text);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, mem), mem);
    const UINT custom = RegisterClipboardFormatW(L"Shortcut bar child window item");
    HGLOBAL raw = GlobalAlloc(GMEM_MOVEABLE, 4);
    SetClipboardData(custom, raw);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_NE(GetClipboardSequenceNumber(), seq);

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT)); // can be made
    EXPECT_TRUE(IsClipboardFormatAvailable(custom));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_EQ(CountClipboardFormats(), 4); // unicode, custom, text, oem text
    SetLastError(0);
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr); // not open
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(ReadUtf16(GetClipboardData(CF_UNICODETEXT)), text);
    HANDLE ansi = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(ansi);
    const char* a = static_cast<const char*>(GlobalLock(ansi));
    EXPECT_EQ(std::string(a), std::string("Gr\xFC\xDF" "e ?"));
    GlobalUnlock(ansi);
    std::vector<UINT> formats;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        formats.push_back(f);
    EXPECT_EQ(formats.size(), 4u);
    EXPECT_EQ(formats[0], CF_UNICODETEXT);
    EXPECT_EQ(formats[1], custom);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    // Emptying tells the previous owner.
    rec().Clear();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(rec().For(h, {WM_DESTROYCLIPBOARD}).size(), 1u);
    EXPECT_EQ(CountClipboardFormats(), 0);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    DestroyWindow(h);
}

TEST_F(ClipboardTest, DelayedRenderingAndOneOpenerAtATime)
{
    HWND h = Make(WS_POPUP, 0, 0, 1, 1);
    rec().SetHandler([](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m == WM_RENDERFORMAT) {
            SetClipboardData(static_cast<UINT>(wp), Utf16Text(L"late"));
            r = 0;
            return true;
        }
        if (m == WM_RENDERALLFORMATS) {
            OpenClipboard(nullptr);
            SetClipboardData(CF_UNICODETEXT, Utf16Text(L"at exit"));
            CloseClipboard();
            r = 0;
            return true;
        }
        return false;
    });
    ASSERT_TRUE(OpenClipboard(h));
    EmptyClipboard();
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, nullptr), nullptr);
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(ReadUtf16(GetClipboardData(CF_UNICODETEXT)), L"late");
    EXPECT_EQ(rec().For(h, {WM_RENDERFORMAT}).size(), 1u);
    // Another thread cannot open it now.
    bool otherOpened = true;
    DWORD otherError = 0;
    std::thread t([&] {
        otherOpened = OpenClipboard(nullptr) != FALSE;
        otherError = GetLastError();
    });
    t.join();
    EXPECT_FALSE(otherOpened);
    EXPECT_EQ(otherError, ERROR_ACCESS_DENIED);
    // Delayed formats left when the owner goes are rendered first.
    EmptyClipboard(); // the opener (no window) owns it now
    CloseClipboard();
    ASSERT_TRUE(OpenClipboard(h));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
    DestroyWindow(h);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(ReadUtf16(GetClipboardData(CF_UNICODETEXT)), L"at exit");
    CloseClipboard();
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    // Setting data needs the clipboard open; bad handles are refused.
    SetLastError(0);
    HGLOBAL spare = GlobalAlloc(GMEM_MOVEABLE, 1);
    EXPECT_EQ(SetClipboardData(CF_TEXT, spare), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    GlobalFree(spare);
    ASSERT_TRUE(OpenClipboard(nullptr));
    SetLastError(0);
    EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x0B00DEAD))), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseClipboard();
}

} // namespace
} // namespace zyn::test
