#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"

using zyn::base::AddResource;
using zyn::base::ResourceChain;

namespace {

// A resource module for one test, unregistered at the end.
class ScopedResourceModule {
public:
    explicit ScopedResourceModule(const wchar_t* name) : m_h(zyn::base::RegisterResourceModule(name)) {}
    ~ScopedResourceModule()
    {
        if (m_h)
            zyn::base::UnregisterBuiltinModule(m_h);
    }
    ScopedResourceModule(const ScopedResourceModule&) = delete;
    ScopedResourceModule& operator=(const ScopedResourceModule&) = delete;
    HMODULE get() const { return m_h; }
    void release() { m_h = nullptr; }

private:
    HMODULE m_h;
};

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::string Read(HMODULE h, HRSRC r)
{
    const HGLOBAL g = LoadResource(h, r);
    if (!g)
        return "<no data handle>";
    const auto* p = static_cast<const char*>(LockResource(g));
    return p ? std::string(p, SizeofResource(h, r)) : "<no data>";
}

// Builds a string block by hand, from UTF-16 code units, independently of the code
// under test.
std::vector<uint8_t> HandBlock(const std::map<int, std::u16string>& entries)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < 16; ++i) {
        const auto it = entries.find(i);
        const std::u16string s = it == entries.end() ? u"" : it->second;
        out.push_back(static_cast<uint8_t>(s.size() & 0xFF));
        out.push_back(static_cast<uint8_t>(s.size() >> 8));
        for (const char16_t u : s) {
            out.push_back(static_cast<uint8_t>(u & 0xFF));
            out.push_back(static_cast<uint8_t>(u >> 8));
        }
    }
    return out;
}

// Restores the chain and the resource handle after a test.
struct ChainReset {
    ChainReset() { ResourceChain::Clear(); }
    ~ChainReset() { ResourceChain::Clear(); }
};

} // namespace

TEST(Resource, ConstantsAreUsableAsResourcePointers)
{
    static_assert(RT_STRING.Id() == 6 && RT_DLGINIT.Id() == 240 && RT_TOOLBAR.Id() == 241);
    const LPCWSTR type = RT_DIALOG;
    EXPECT_TRUE(IS_INTRESOURCE(type));
    EXPECT_TRUE(type == RT_DIALOG);
    EXPECT_TRUE(RT_DIALOG == type);
    EXPECT_FALSE(type == RT_MENU);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(static_cast<LPCWSTR>(RT_GROUP_ICON)), 14u);
    EXPECT_EQ(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), 0x0809);
}

TEST(Resource, IntegerAndStringNamesAndTypes)
{
    ScopedResourceModule mod(L"ZynResNames");
    const HMODULE h = mod.get();
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(AddResource(h, RT_RCDATA, MAKEINTRESOURCE(7), 0, Bytes("seven")));
    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"MyData", 0, Bytes("named")));
    ASSERT_TRUE(AddResource(h, L"Custom", L"#300", 0, Bytes("custom 300")));

    EXPECT_EQ(Read(h, FindResourceW(h, MAKEINTRESOURCE(7), RT_RCDATA)), "seven");
    EXPECT_EQ(Read(h, FindResourceW(h, L"#7", RT_RCDATA)), "seven");
    EXPECT_EQ(Read(h, FindResourceW(h, L"#7", L"#10")), "seven");
    EXPECT_EQ(Read(h, FindResourceW(h, L"mydata", RT_RCDATA)), "named");
    EXPECT_EQ(Read(h, FindResourceW(h, L"MYDATA", RT_RCDATA)), "named");
    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"\u00C4rger", 0, Bytes("umlaut")));
    EXPECT_EQ(Read(h, FindResourceW(h, L"\u00E4RGER", RT_RCDATA)), "umlaut") << "case folds beyond ASCII";
    EXPECT_EQ(Read(h, FindResourceW(h, MAKEINTRESOURCE(300), L"CUSTOM")), "custom 300");
    EXPECT_EQ(Read(h, FindResourceW(h, L"#300", L"custom")), "custom 300");

    // One resource, one handle, however often it is looked up.
    EXPECT_EQ(FindResourceW(h, L"#7", RT_RCDATA), FindResourceW(h, MAKEINTRESOURCE(7), RT_RCDATA));

    EXPECT_EQ(FindResourceW(h, MAKEINTRESOURCE(8), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResourceW(h, L"MyDat", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResourceW(h, MAKEINTRESOURCE(7), RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    for (const LPCWSTR bad : {static_cast<LPCWSTR>(nullptr), L"", L"#0", L"#65536"}) {
        SetLastError(0);
        EXPECT_EQ(FindResourceW(h, bad, RT_RCDATA), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
}

TEST(Resource, AddingRefusesDuplicatesAndBadInput)
{
    ScopedResourceModule mod(L"ZynResAdd");
    const HMODULE h = mod.get();
    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"Item", 0x0409, Bytes("first")));
    EXPECT_FALSE(AddResource(h, RT_RCDATA, L"ITEM", 0x0409, Bytes("second")));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"item", 0x0409)), "first") << "the first is kept";
    EXPECT_TRUE(AddResource(h, RT_RCDATA, L"Item", 0x0407, Bytes("other language")));

    EXPECT_FALSE(AddResource(h, RT_RCDATA, nullptr, 0, Bytes("x")));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(AddResource(h, nullptr, L"X", 0, Bytes("x")));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(AddResource(zyn::base::MakeHandle<HMODULE>(0x1234u), RT_RCDATA, L"X", 0, Bytes("x")));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // An empty resource still locks to a valid pointer.
    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"Empty", 0, {}));
    const HRSRC r = FindResourceW(h, L"Empty", RT_RCDATA);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(SizeofResource(h, r), 0u);
    EXPECT_NE(LockResource(LoadResource(h, r)), nullptr);
    EXPECT_FALSE(FreeResource(LoadResource(h, r)));
}

TEST(Resource, LanguageFallback)
{
    ScopedResourceModule mod(L"ZynResLang");
    const HMODULE h = mod.get();
    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"X", MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT), Bytes("de-DE")));
    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"X", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), Bytes("en-US")));

    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x0407)), "de-DE");
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x0409)), "en-US");
    // Same primary language before anything else.
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x0809)), "en-US");
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x0C07)), "de-DE");
    // No match and no neutral: any language, the lowest identifier first.
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x040C)), "de-DE");

    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"X", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), Bytes("neutral")));
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x040C)), "neutral");
    EXPECT_EQ(Read(h, FindResourceW(h, L"X", RT_RCDATA)), "neutral");
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x0809)), "en-US");

    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"X", MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL), Bytes("en")));
    EXPECT_EQ(Read(h, FindResourceExW(h, RT_RCDATA, L"X", 0x0809)), "en");

    // The preferred language steers FindResourceW.
    zyn::base::SetPreferredResourceLanguage(0x0407);
    EXPECT_EQ(Read(h, FindResourceW(h, L"X", RT_RCDATA)), "de-DE");
    zyn::base::SetPreferredResourceLanguage(LANG_NEUTRAL);
}

TEST(Resource, HandlesFailCleanlyOnceTheModuleIsGone)
{
    ScopedResourceModule mod(L"ZynResStale");
    const HMODULE h = mod.get();
    ASSERT_TRUE(AddResource(h, RT_RCDATA, L"X", 0, Bytes("data")));
    const HRSRC r = FindResourceW(h, L"X", RT_RCDATA);
    ASSERT_NE(r, nullptr);
    const HGLOBAL g = LoadResource(h, r);
    ASSERT_NE(LockResource(g), nullptr);

    // The resource belongs to its module only.
    ScopedResourceModule other(L"ZynResOther");
    EXPECT_EQ(LoadResource(other.get(), r), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SizeofResource(other.get(), r), 0u);

    ASSERT_TRUE(zyn::base::UnregisterBuiltinModule(h));
    mod.release();
    EXPECT_EQ(LockResource(g), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(LoadResource(nullptr, r), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, r), 0u);
    EXPECT_EQ(FindResourceW(h, L"X", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(AddResource(h, RT_RCDATA, L"Y", 0, Bytes("y")));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // A module registered again under that name starts empty.
    ScopedResourceModule again(L"ZynResStale");
    EXPECT_EQ(FindResourceW(again.get(), L"X", RT_RCDATA), nullptr);
}

TEST(StringTable, BlockLayout)
{
    const auto blocks = zyn::base::BuildStringBlock({{1, L"A"}, {17, L"BC"}, {18, L"\U0001F600"}});
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks.at(1), HandBlock({{1, u"A"}}));
    EXPECT_EQ(blocks.at(2), HandBlock({{1, u"BC"}, {2, u"\xD83D\xDE00"}}));
    EXPECT_EQ(blocks.at(2).size(), 32u + 4u + 4u);

    EXPECT_THROW(zyn::base::BuildStringBlock({{70000, L"too high"}}), std::invalid_argument);
    EXPECT_THROW(zyn::base::BuildStringBlock({{1, std::wstring(65536, L'x')}}), std::invalid_argument);
    EXPECT_NO_THROW(zyn::base::BuildStringBlock({{65535, std::wstring(65535, L'x')}}));
}

TEST(StringTable, LoadStringReadsEntriesAnywhereInABlock)
{
    ScopedResourceModule mod(L"ZynStrings");
    const HMODULE h = mod.get();
    // Block 3 holds IDs 32..47; 37 sits in the middle with neighbours on both sides.
    ASSERT_TRUE(AddResource(h, RT_STRING, MAKEINTRESOURCE(3), 0,
        HandBlock({{4, u"before"}, {5, u"Gr\u00FC\u00DFe \xD83D\xDE00!"}, {6, u"after"}, {15, u"last"}})));

    wchar_t buf[64];
    EXPECT_EQ(LoadStringW(h, 37, buf, 64), 8);
    EXPECT_EQ(std::wstring(buf), L"Gr\u00FC\u00DFe \U0001F600!") << "a surrogate pair is one character";
    EXPECT_EQ(LoadStringW(h, 36, buf, 64), 6);
    EXPECT_EQ(std::wstring(buf), L"before");
    EXPECT_EQ(LoadStringW(h, 38, buf, 64), 5);
    EXPECT_EQ(LoadStringW(h, 47, buf, 64), 4);
    EXPECT_EQ(std::wstring(buf), L"last");

    // Cut to the buffer, always terminated.
    wchar_t small[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_EQ(LoadStringW(h, 36, small, 3), 2);
    EXPECT_EQ(std::wstring(small), L"be");
    EXPECT_EQ(small[3], L'#');

    // Absent: an empty entry, a missing block, an ID beyond 16 bits.
    for (const UINT id : {39u, 32u, 5u, 0x10025u}) {
        buf[0] = L'#';
        EXPECT_EQ(LoadStringW(h, id, buf, 64), 0) << id;
        EXPECT_EQ(buf[0], L'\0');
    }

    // A zero-sized buffer receives a pointer to the whole, terminated string.
    const wchar_t* p = nullptr;
    EXPECT_EQ(LoadStringW(h, 37, reinterpret_cast<LPWSTR>(&p), 0), 8);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::wstring(p), L"Gr\u00FC\u00DFe \U0001F600!");

    EXPECT_EQ(LoadStringW(h, 37, nullptr, 10), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(StringTable, MalformedBlocksAreRejected)
{
    ScopedResourceModule mod(L"ZynBadStrings");
    const HMODULE h = mod.get();
    std::vector<uint8_t> truncated = HandBlock({{0, u"fine"}, {1, u"cut short"}});
    truncated.resize(2 + 8 + 2 + 6); // entry 1 claims 9 units but has 3
    ASSERT_TRUE(AddResource(h, RT_STRING, MAKEINTRESOURCE(1), 0, truncated));
    wchar_t buf[32];
    EXPECT_EQ(LoadStringW(h, 0, buf, 32), 4);
    EXPECT_EQ(LoadStringW(h, 1, buf, 32), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(LoadStringW(h, 2, buf, 32), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
}

TEST(StringTable, AddStringTableRoundTripsAndIsAllOrNothing)
{
    ScopedResourceModule mod(L"ZynStringTable");
    const HMODULE h = mod.get();
    const std::wstring longText(1000, L'z');
    ASSERT_TRUE(zyn::base::AddStringTable(h, {{100, L"hundred"}, {101, L"\U00010348 outside the BMP"}, {4000, longText}}));
    EXPECT_EQ(zyn::base::LoadResourceString(h, 100), L"hundred");
    EXPECT_EQ(zyn::base::LoadResourceString(h, 101), L"\U00010348 outside the BMP");
    EXPECT_EQ(zyn::base::LoadResourceString(h, 4000), longText);
    EXPECT_EQ(zyn::base::LoadResourceString(h, 102), std::nullopt);

    // Block 7 (IDs 96..111) exists already: nothing of this table is added.
    EXPECT_FALSE(zyn::base::AddStringTable(h, {{16, L"new block"}, {110, L"clash"}}));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(zyn::base::LoadResourceString(h, 16), std::nullopt);
    EXPECT_FALSE(zyn::base::AddStringTable(h, {{70000, L"x"}}));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(ResourceChain, SearchOrder)
{
    ChainReset reset;
    ScopedResourceModule a(L"ZynChainA");
    ScopedResourceModule b(L"ZynChainB");
    const HMODULE exe = zyn::base::GetExecutableModule();
    ASSERT_TRUE(AddResource(b.get(), RT_RCDATA, L"InB", 0, Bytes("b")));
    ASSERT_TRUE(AddResource(b.get(), RT_RCDATA, L"Shared", 0, Bytes("b")));
    ASSERT_TRUE(AddResource(a.get(), RT_RCDATA, L"Shared", 0, Bytes("a")));
    ASSERT_TRUE(AddResource(exe, RT_RCDATA, L"ZynChainInExe", 0, Bytes("exe")));
    ASSERT_TRUE(AddResource(exe, RT_RCDATA, L"ZynChainEverywhere", 0, Bytes("exe")));
    ASSERT_TRUE(AddResource(b.get(), RT_RCDATA, L"ZynChainEverywhere", 0, Bytes("b")));

    EXPECT_EQ(AfxGetResourceHandle(), exe);
    ASSERT_TRUE(ResourceChain::AddToChain(b.get()));
    ASSERT_TRUE(ResourceChain::AddToChain(a.get(), ResourceChain::Position::Back));
    EXPECT_EQ(ResourceChain::Modules(), (std::vector<HMODULE>{b.get(), a.get()}));
    EXPECT_FALSE(ResourceChain::AddToChain(a.get(), ResourceChain::Position::Front));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ResourceChain::Modules(), (std::vector<HMODULE>{b.get(), a.get()})) << "its place is kept";

    // The resource handle (the executable by default) comes first, then the chain.
    EXPECT_EQ(AfxFindResourceHandle(L"ZynChainEverywhere", RT_RCDATA), exe);
    EXPECT_EQ(AfxFindResourceHandle(L"Shared", RT_RCDATA), b.get());
    EXPECT_EQ(AfxFindResourceHandle(L"InB", RT_RCDATA), b.get());
    EXPECT_EQ(AfxFindResourceHandle(L"ZynChainInExe", RT_RCDATA), exe);

    AfxSetResourceHandle(a.get());
    EXPECT_EQ(AfxGetResourceHandle(), a.get());
    EXPECT_EQ(AfxFindResourceHandle(L"Shared", RT_RCDATA), a.get());
    EXPECT_EQ(AfxFindResourceHandle(L"ZynChainEverywhere", RT_RCDATA), b.get());
    EXPECT_EQ(AfxFindResourceHandle(L"ZynChainInExe", RT_RCDATA), exe) << "the executable comes last";
    EXPECT_EQ(AfxFindResourceHandle(L"Nowhere", RT_RCDATA), a.get()) << "not found: the resource handle";

    ASSERT_TRUE(ResourceChain::RemoveFromChain(b.get()));
    EXPECT_FALSE(ResourceChain::RemoveFromChain(b.get()));
    ASSERT_TRUE(ResourceChain::AddToChain(b.get(), ResourceChain::Position::Front));
    EXPECT_EQ(ResourceChain::Modules(), (std::vector<HMODULE>{b.get(), a.get()}));

    // A module that goes away leaves the chain and stops being the resource handle.
    ASSERT_TRUE(zyn::base::UnregisterBuiltinModule(a.get()));
    a.release();
    EXPECT_EQ(ResourceChain::Modules(), (std::vector<HMODULE>{b.get()}));
    EXPECT_EQ(AfxGetResourceHandle(), exe);
    EXPECT_EQ(AfxFindResourceHandle(L"Shared", RT_RCDATA), b.get());

    const HMODULE stale = zyn::base::RegisterResourceModule(L"ZynChainStale");
    ASSERT_TRUE(zyn::base::UnregisterBuiltinModule(stale));
    EXPECT_FALSE(ResourceChain::AddToChain(stale));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    AfxSetResourceHandle(stale);
    EXPECT_EQ(AfxGetResourceHandle(), exe);
}

TEST(ResourceChain, StringsAreFoundWhereTheStringItselfIs)
{
    ChainReset reset;
    ScopedResourceModule a(L"ZynChainStrA");
    ScopedResourceModule b(L"ZynChainStrB");
    // Both modules hold block 1000 (IDs 15984..15999), but only B has string 15990.
    ASSERT_TRUE(zyn::base::AddStringTable(a.get(), {{15985, L"a's"}}));
    ASSERT_TRUE(zyn::base::AddStringTable(b.get(), {{15985, L"b's"}, {15990, L"only in b"}}));
    ASSERT_TRUE(ResourceChain::AddToChain(a.get()));
    ASSERT_TRUE(ResourceChain::AddToChain(b.get()));

    EXPECT_EQ(AfxFindStringResourceHandle(15985), a.get());
    EXPECT_EQ(AfxFindStringResourceHandle(15990), b.get());
    EXPECT_EQ(AfxFindStringResourceHandle(15991), nullptr);

    wchar_t buf[8];
    EXPECT_EQ(AfxLoadString(15990, buf, 8), 7);
    EXPECT_EQ(std::wstring(buf), L"only in");
    EXPECT_EQ(AfxLoadString(15991, buf, 8), 0);
    EXPECT_EQ(buf[0], L'\0');
}

TEST(CStringLoadString, FoundMissingAndFullLength)
{
    ChainReset reset;
    ScopedResourceModule mod(L"ZynCStringRes");
    const std::wstring longText = std::wstring(300, L'x') + L"\U0001F600end";
    ASSERT_TRUE(zyn::base::AddStringTable(mod.get(), {{26531, L"Delete"}, {26532, longText}, {20, L"caf\u00E9"}}));
    ASSERT_TRUE(ResourceChain::AddToChain(mod.get()));

    CString s(L"junk");
    EXPECT_TRUE(s.LoadString(26531));
    EXPECT_EQ(s, CString(L"Delete"));
    EXPECT_TRUE(s.LoadString(26532));
    EXPECT_EQ(s.GetLength(), 304) << "no 255-character cap";
    EXPECT_EQ(std::wstring(s.GetString()), longText);

    s = L"junk";
    EXPECT_FALSE(s.LoadString(26533));
    EXPECT_TRUE(s.IsEmpty());

    CString fromModule;
    EXPECT_TRUE(fromModule.LoadString(mod.get(), 26531));
    EXPECT_EQ(fromModule, CString(L"Delete"));
    fromModule = L"junk";
    EXPECT_FALSE(fromModule.LoadString(zyn::base::GetExecutableModule(), 26531));
    EXPECT_TRUE(fromModule.IsEmpty());

    CStringA narrow;
    EXPECT_TRUE(narrow.LoadString(26531));
    EXPECT_EQ(narrow, CStringA("Delete"));
    narrow = "junk";
    EXPECT_FALSE(narrow.LoadString(mod.get(), 21));
    EXPECT_TRUE(narrow.IsEmpty());
}
