// Damaged registry stores: every kind of damage to the store file and its write-ahead log
// is reported (ERROR_REGISTRY_CORRUPT, logged) and the files are left exactly as they
// were; no damage makes a value read back wrong; closing leaves the store file complete.
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/registry_store_check.h"
#include "tests/registry/regtest.h"

using namespace zyn::test;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kValues = 24;
constexpr DWORD kDwordBase = 0xA5C3E100; // distinctive bytes in the file

std::wstring Payload(int i) { return L"VALUE-" + std::to_wstring(100 + i) + L"-payload"; }

// The bytes of a REG_SZ value as stored: UTF-16LE with its terminator.
Bytes Utf16(const std::wstring& s)
{
    Bytes out;
    for (const wchar_t c : s) {
        out.push_back(static_cast<uint8_t>(c & 0xFF));
        out.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
    }
    return out;
}

Bytes Ascii(std::string_view s) { return Bytes(s.begin(), s.end()); }

// Offsets of every occurrence of `needle` in `hay`.
std::vector<size_t> Find(const Bytes& hay, const Bytes& needle)
{
    std::vector<size_t> at;
    for (auto it = hay.begin(); (it = std::search(it, hay.end(), needle.begin(), needle.end())) != hay.end(); ++it)
        at.push_back(static_cast<size_t>(it - hay.begin()));
    return at;
}

uint32_t PageSize(const Bytes& db) { return (static_cast<uint32_t>(db[16]) << 8) | db[17]; }

class RegistryDamageTest : public RegistryTest {
protected:
    fs::path Wal() const { return UserStore().string() + "-wal"; }

    // A store holding Software\DamageKeyName with kValues strings and DWORDs, closed.
    void MakeStore()
    {
        {
            KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\DamageKeyName"));
            for (int i = 0; i < kValues; ++i) {
                ASSERT_EQ(SetString(k.h, (L"s" + std::to_wstring(i)).c_str(), Payload(i)), 0);
                ASSERT_EQ(SetDword(k.h, (L"d" + std::to_wstring(i)).c_str(), kDwordBase + static_cast<DWORD>(i)), 0);
            }
        }
        zyn::base::ResetRegistryStores();
    }

    // 0 when every value reads back as written, else the error met (or -1 for a value
    // that read back wrong: the fault these tests exist to rule out).
    LONG ReadEverything()
    {
        HKEY h = nullptr;
        LONG e = RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\DamageKeyName", 0, KEY_READ, &h);
        if (e != 0)
            return e;
        KeyGuard k(h);
        for (int i = 0; i < kValues; ++i) {
            const std::wstring s = GetString(h, (L"s" + std::to_wstring(i)).c_str());
            if (s.rfind(L"<error ", 0) == 0)
                return std::stol(s.substr(7));
            if (s != Payload(i))
                return -1;
            DWORD v = 0, size = sizeof v, type = 0;
            e = RegQueryValueExW(h, (L"d" + std::to_wstring(i)).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&v),
                &size);
            if (e != 0)
                return e;
            if (type != REG_DWORD || size != 4 || v != kDwordBase + static_cast<DWORD>(i))
                return -1;
        }
        DWORD values = 0;
        e = RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
            nullptr, nullptr);
        if (e != 0)
            return e;
        return values == 2 * kValues ? 0 : -1;
    }

    // Opens the store as a program would and expects it reported as damaged, with both
    // files exactly as they were.
    void ExpectReportedAndUntouched(const Bytes& db, const std::optional<Bytes>& wal)
    {
        zyn::base::ResetRegistryStores();
        m_log.clear();
        HKEY h = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &h),
            static_cast<LONG>(ERROR_REGISTRY_CORRUPT));
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr),
            static_cast<LONG>(ERROR_REGISTRY_CORRUPT));
        EXPECT_TRUE(LogMentions(L"hkcu.sqlite3") && LogMentions(L"damaged"));
        zyn::base::ResetRegistryStores();
        EXPECT_EQ(ReadBytes(UserStore()), db) << "the store file was changed";
        if (wal)
            EXPECT_EQ(ReadBytes(Wal()), *wal) << "the write-ahead log was changed";
        else
            EXPECT_TRUE(!fs::exists(Wal()) || fs::file_size(Wal()) == 0);
    }
};

struct FileDamage {
    const char* name;
    std::function<void(Bytes&)> apply;
};

} // namespace

TEST_F(RegistryDamageTest, ClosingLeavesEverythingInTheStoreFile)
{
    MakeStore();
    // The log was moved into the file and emptied when the store closed.
    EXPECT_TRUE(!fs::exists(Wal()) || fs::file_size(Wal()) == 0);
    // The file alone, without its log, holds every value.
    const fs::path alone = m_dir / "alone.sqlite3";
    fs::copy_file(UserStore(), alone);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(alone.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT count(*) FROM reg_values", -1, &s, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), 2 * kValues);
    sqlite3_finalize(s);
    sqlite3_close(db);
    EXPECT_EQ(ReadEverything(), 0);
}

TEST_F(RegistryDamageTest, EachKindOfDamageToTheFileIsReportedAndLeftAsItWas)
{
    MakeStore();
    const Bytes pristine = ReadBytes(UserStore());
    ASSERT_EQ(PageSize(pristine) & (PageSize(pristine) - 1), 0u);
    const size_t page = PageSize(pristine);
    ASSERT_GE(pristine.size(), 4 * page);
    const Bytes payload = Utf16(Payload(7));
    const Bytes keyName = Ascii("DamageKeyName");
    const Bytes keyFolded = Ascii("DAMAGEKEYNAME"); // the look-up form, in the row and its index
    const Bytes dword = {0x07, 0xE1, 0xC3, 0xA5}; // kDwordBase + 7, little-endian
    ASSERT_EQ(Find(pristine, payload).size(), 1u);
    ASSERT_EQ(Find(pristine, dword).size(), 1u);

    const std::vector<FileDamage> cases = {
        {"zero length", [](Bytes& b) { b.clear(); }},
        {"cut inside the header", [](Bytes& b) { b.resize(60); }},
        {"cut inside a page", [](Bytes& b) { b.erase(b.end() - 100, b.end()); }},
        {"cut by a whole page", [&](Bytes& b) { b.erase(b.end() - static_cast<ptrdiff_t>(page), b.end()); }},
        {"header: magic", [](Bytes& b) { b[3] ^= 0x20; }},
        {"header: page size", [](Bytes& b) { b[16] ^= 0x03; }},
        {"header: page count", [](Bytes& b) { b[31] ^= 0x10; }},
        {"header: text encoding", [](Bytes& b) { b[59] = 2; }},
        {"header: reserved bytes per page", [](Bytes& b) { b[20] = 8; }},
        {"page type of page 2", [&](Bytes& b) { b[page] ^= 0x05; }},
        {"cell pointer on page 3", [&](Bytes& b) { b[2 * page + 9] ^= 0x01; }},
        {"a string value's text", [&](Bytes& b) { b[Find(b, payload).front() + 6] ^= 0x01; }},
        {"a DWORD value's data", [&](Bytes& b) { b[Find(b, dword).front() + 1] ^= 0x40; }},
        {"each copy of a key's name",
            [&](Bytes& b) {
                for (const size_t at : Find(b, keyName))
                    b[at + 2] ^= 0x01;
            }},
    };
    for (const FileDamage& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes damaged = pristine;
        c.apply(damaged);
        WriteBytes(UserStore(), damaged);
        ExpectReportedAndUntouched(damaged, std::nullopt);
    }
    // Every copy of the key's name, one at a time: as spelled in its row, and folded in
    // its row and in the index.
    auto copies = Find(pristine, keyName);
    const auto folded = Find(pristine, keyFolded);
    copies.insert(copies.end(), folded.begin(), folded.end());
    ASSERT_GE(copies.size(), 3u);
    for (const size_t at : copies) {
        SCOPED_TRACE("key name copy at " + std::to_string(at));
        Bytes damaged = pristine;
        damaged[at + 4] ^= 0x02;
        WriteBytes(UserStore(), damaged);
        ExpectReportedAndUntouched(damaged, std::nullopt);
    }
    // The undamaged file opens as before.
    WriteBytes(UserStore(), pristine);
    zyn::base::ResetRegistryStores();
    EXPECT_EQ(ReadEverything(), 0);
}

TEST_F(RegistryDamageTest, NoFlippedByteMakesAValueReadBackWrong)
{
    MakeStore();
    const Bytes pristine = ReadBytes(UserStore());
    // A flipped byte anywhere either leaves every value right (free space, counters) or
    // is reported; it never yields wrong data. Every 37th byte, each flipped two ways.
    int reported = 0, harmless = 0;
    for (size_t at = 0; at < pristine.size(); at += 37) {
        for (const uint8_t mask : {uint8_t{0x01}, uint8_t{0x80}}) {
            Bytes damaged = pristine;
            damaged[at] ^= mask;
            WriteBytes(UserStore(), damaged);
            fs::remove(Wal());
            zyn::base::ResetRegistryStores();
            const LONG e = ReadEverything();
            ASSERT_NE(e, -1) << "byte " << at << " ^ " << int{mask} << " read back wrong without an error";
            (e == 0 ? harmless : reported) += 1;
            zyn::base::ResetRegistryStores();
        }
    }
    EXPECT_GT(reported, 0);
    EXPECT_GT(harmless, 0);
}

TEST_F(RegistryDamageTest, DamagedWriteAheadLogIsReportedAndLeftAsItWas)
{
    // A store whose log holds committed transactions that were never moved into the
    // file, as a process that ended without closing it leaves it: copies of both files
    // taken while the store is open.
    const fs::path snapshot = m_dir / "snapshot";
    fs::create_directories(snapshot);
    {
        KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\DamageKeyName"));
        for (int i = 0; i < kValues; ++i) {
            ASSERT_EQ(SetString(k.h, (L"s" + std::to_wstring(i)).c_str(), Payload(i)), 0);
            ASSERT_EQ(SetDword(k.h, (L"d" + std::to_wstring(i)).c_str(), kDwordBase + static_cast<DWORD>(i)), 0);
        }
        ASSERT_GT(fs::file_size(Wal()), 0u);
        fs::copy_file(UserStore(), snapshot / "hkcu.sqlite3");
        fs::copy_file(Wal(), snapshot / "hkcu.sqlite3-wal");
    }
    zyn::base::ResetRegistryStores();
    const Bytes db = ReadBytes(snapshot / "hkcu.sqlite3");
    const Bytes wal = ReadBytes(snapshot / "hkcu.sqlite3-wal");
    const size_t frame = 24 + PageSize(db);
    const size_t frames = (wal.size() - 32) / frame;
    ASSERT_GE(frames, 10u);
    const auto install = [&](const Bytes& walBytes) {
        zyn::base::ResetRegistryStores();
        fs::remove_all(RegistryDir());
        fs::create_directories(RegistryDir());
        WriteBytes(UserStore(), db);
        WriteBytes(Wal(), walBytes);
    };

    // Undamaged, the log is replayed: every value is there.
    install(wal);
    EXPECT_EQ(ReadEverything(), 0);

    const std::vector<std::pair<const char*, std::function<void(Bytes&)>>> cases = {
        {"a byte of a page early in the log", [&](Bytes& w) { w[32 + 2 * frame + 24 + 200] ^= 0x01; }},
        {"a frame's salt", [&](Bytes& w) { w[32 + 3 * frame + 9] ^= 0x01; }},
        {"a frame's checksum", [&](Bytes& w) { w[32 + 4 * frame + 17] ^= 0x01; }},
        {"the log header's magic", [](Bytes& w) { w[3] ^= 0x04; }},
        {"the log header's salt", [](Bytes& w) { w[17] ^= 0x01; }},
    };
    for (const auto& [name, apply] : cases) {
        SCOPED_TRACE(name);
        Bytes damaged = wal;
        apply(damaged);
        install(damaged);
        ExpectReportedAndUntouched(db, damaged);
    }

    // A log cut inside its last frame is what a crash while writing leaves: the store
    // opens, says so, and keeps everything before that transaction.
    Bytes cut = wal;
    cut.resize(cut.size() - frame / 2);
    install(cut);
    m_log.clear();
    KeyGuard k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\DamageKeyName", 0, KEY_READ, &k.h), 0);
    EXPECT_TRUE(LogMentions(L"unfinished transaction")) << "the dropped transaction is logged";
    EXPECT_EQ(GetString(k.h, L"s0"), Payload(0));
}

TEST_F(RegistryDamageTest, StoresOfTheFirstFormatGetRowSums)
{
    // A store as the first format wrote it: no row sums.
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(UserStore().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                      "PRAGMA journal_mode=WAL;"
                      "CREATE TABLE zyn_registry(property TEXT PRIMARY KEY, value TEXT NOT NULL);"
                      "CREATE TABLE reg_keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER REFERENCES "
                      "reg_keys(id), name TEXT NOT NULL, folded TEXT NOT NULL, class TEXT NOT NULL DEFAULT '', "
                      "modified INTEGER NOT NULL);"
                      "CREATE UNIQUE INDEX reg_keys_child ON reg_keys(parent, folded);"
                      "CREATE TABLE reg_values(id INTEGER PRIMARY KEY AUTOINCREMENT, key INTEGER NOT NULL "
                      "REFERENCES reg_keys(id), name TEXT NOT NULL, folded TEXT NOT NULL, type INTEGER NOT NULL, "
                      "data BLOB NOT NULL);"
                      "CREATE UNIQUE INDEX reg_values_name ON reg_values(key, folded);"
                      "INSERT INTO zyn_registry VALUES('format', '1');"
                      "INSERT INTO reg_keys(parent, name, folded, modified) VALUES(NULL, '', '', 1);"
                      "INSERT INTO reg_keys(parent, name, folded, modified) VALUES(1, 'Software', 'SOFTWARE', 1);"
                      "INSERT INTO reg_values(key, name, folded, type, data) "
                      "VALUES(2, 'Old', 'OLD', 4, x'78563412');",
                      nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(db);
    }
    {
        KeyGuard k;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, &k.h), 0);
        DWORD v = 0, size = sizeof v;
        ASSERT_EQ(RegQueryValueExW(k.h, L"old", nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &size), 0);
        EXPECT_EQ(v, 0x12345678u);
        EXPECT_EQ(SetDword(k.h, L"New", 0x0BADF00D), 0);
    }
    zyn::base::ResetRegistryStores();
    // Now the old row is summed too: damage to it is found.
    Bytes file = ReadBytes(UserStore());
    const auto at = Find(file, {0x78, 0x56, 0x34, 0x12});
    ASSERT_EQ(at.size(), 1u);
    file[at.front() + 2] ^= 0x01;
    WriteBytes(UserStore(), file);
    ExpectReportedAndUntouched(file, std::nullopt);
}

TEST_F(RegistryDamageTest, ProcessesCreatingOneStoreTogetherNeverSeeItHalfMade)
{
    // Each round: a fresh folder, four processes creating the store at once.
    for (int round = 0; round < 5; ++round) {
        const fs::path dir = m_dir / ("race" + std::to_string(round));
        ::setenv("ZYN_REGISTRY_DIR", dir.c_str(), 1);
        zyn::base::ResetRegistryStores();
        std::vector<pid_t> children;
        for (int p = 0; p < 4; ++p) {
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                HKEY h = nullptr;
                LONG e = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Race", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &h, nullptr);
                if (e == 0)
                    e = SetDword(h, (L"p" + std::to_wstring(p)).c_str(), static_cast<DWORD>(p));
                if (h)
                    RegCloseKey(h);
                zyn::base::ResetRegistryStores();
                ::_exit(e == 0 ? 0 : 1);
            }
            children.push_back(pid);
        }
        for (const pid_t pid : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        KeyGuard k;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Race", 0, KEY_READ, &k.h), 0);
        DWORD values = 0;
        ASSERT_EQ(RegQueryInfoKeyW(k.h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                      nullptr, nullptr, nullptr),
            0);
        EXPECT_EQ(values, 4u) << "round " << round;
        // No temporary store files are left behind.
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_EQ(e.path().filename().string().rfind(".hkcu", 0), std::string::npos) << e.path();
    }
}
