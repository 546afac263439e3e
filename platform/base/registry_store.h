#pragma once
// The registry store: one SQLite file per hive (HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER) in the registry folder, in WAL mode with a busy time-out so that
// several processes can share it. Keys form a tree of rows; values hang off their key.
//
// Names of keys and values keep the case they were created with and are looked up
// through a folded copy (namefold.h), so lookups ignore case. Value data are kept in
// the Windows byte layout: strings as UTF-16LE with their terminator, DWORDs
// little-endian, and so on; the store itself does not interpret them.
//
// Enumeration order: subkeys come in the order of their folded names (code-point
// order), which is what Windows shows in practice; values come in the order they were
// first created (setting an existing value again keeps its place).
//
// Every write is one transaction, durable when it returns (synchronous=FULL); a
// `Transaction` groups several writes so that all or none of them land. Closing a store
// moves its write-ahead log into the file and empties the log, so the store file alone
// holds the registry between runs.
//
// Damage is reported, never repaired: a store is only ever made whole (written under a
// temporary name that then takes the store's name), so a store file that is empty, cut
// short, not a database, failing the full integrity check, lacking the store's tables,
// or holding a row that does not match its row sum, and a write-ahead log that is
// damaged before committed transactions, make every call fail with
// ERROR_REGISTRY_CORRUPT; the registry log says why, and the files are left exactly as
// they were (registry_store_check.h). Value reads check their row again.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/wintypes.h"

struct sqlite3;
struct sqlite3_stmt;

namespace zyn::base {

using RegKeyId = int64_t;

enum class RegHive { LocalMachine, CurrentUser };

struct RegValueData {
    std::wstring name;          // as stored; empty for the default value
    DWORD type = 0;
    std::vector<uint8_t> data;  // Windows byte layout
};

struct RegKeyInfo {
    std::wstring className;
    DWORD subKeys = 0;
    DWORD maxSubKeyLen = 0;     // characters, without terminator
    DWORD maxClassLen = 0;
    DWORD values = 0;
    DWORD maxValueNameLen = 0;
    int64_t lastWriteTime = 0;  // 100-ns intervals since 1601-01-01 UTC
};

// Messages about the registry (corrupt stores, failed writes, failed imports). The
// default hook writes them to stderr; tests install their own. A null hook restores
// the default.
using RegistryLogHook = std::function<void(const std::wstring& message)>;
void SetRegistryLogHook(RegistryLogHook hook);
void RegistryLog(const std::wstring& message);

class RegistryStore {
public:
    // Opens the store file, creating it (and its folder) when it does not exist. On
    // failure returns null and sets `error` (ERROR_REGISTRY_CORRUPT for a file that is
    // not a sound store; the file and its log are then left untouched). A store of the
    // first format (without row sums) gets them.
    static std::shared_ptr<RegistryStore> Open(const std::filesystem::path& file, LONG& error);

    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;
    ~RegistryStore();

    const std::filesystem::path& Path() const { return m_path; }
    RegKeyId Root() const { return m_root; }

    // ERROR_SUCCESS when the key still exists, ERROR_KEY_DELETED when it was deleted.
    LONG CheckKey(RegKeyId key);
    // Follows `path` (already split into names) from `parent`.
    LONG OpenKey(RegKeyId parent, std::span<const std::wstring> path, RegKeyId& out);
    // Opens or creates every key along `path`; `created` tells whether the last one is new.
    LONG CreateKey(RegKeyId parent, std::span<const std::wstring> path, std::wstring_view className,
        RegKeyId& out, bool& created);
    // Deletes a key without subkeys (ERROR_ACCESS_DENIED when it has some, as Windows).
    LONG DeleteKey(RegKeyId key);
    // Deletes every subkey and value below `key`, and `key` itself when asked.
    LONG DeleteTree(RegKeyId key, bool includeSelf);
    LONG GetValue(RegKeyId key, std::wstring_view name, RegValueData& out);
    LONG SetValue(RegKeyId key, std::wstring_view name, DWORD type, std::span<const uint8_t> data);
    LONG DeleteValue(RegKeyId key, std::wstring_view name);
    LONG EnumKey(RegKeyId key, DWORD index, std::wstring& name, std::wstring& className, int64_t& lastWrite);
    LONG EnumValue(RegKeyId key, DWORD index, RegValueData& out);
    LONG ListValues(RegKeyId key, std::vector<RegValueData>& out);
    LONG ListSubKeys(RegKeyId key, std::vector<std::wstring>& out);
    LONG QueryInfo(RegKeyId key, RegKeyInfo& out);
    // Moves committed writes from the write-ahead log into the main file.
    LONG Flush();

    // Groups writes on this store: Begin, any number of writes, then Commit. A
    // transaction that is not committed rolls back when it goes out of scope. The store
    // stays locked for other threads of this process while the transaction is open.
    class Transaction {
    public:
        explicit Transaction(RegistryStore& store) : m_store(store) {}
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        ~Transaction();
        LONG Begin();
        LONG Commit();
        void Rollback();

    private:
        RegistryStore& m_store;
        std::unique_lock<std::recursive_mutex> m_lock;
        bool m_active = false;
    };

private:
    RegistryStore(std::filesystem::path path, sqlite3* db);

    LONG Validate();
    LONG AddRowSums();
    LONG Exec(const char* sql);
    sqlite3_stmt* Prepare(const char* sql, LONG& error);
    LONG Fail(int rc, bool writing, const char* what);
    // Logs a row whose sum does not match; ERROR_REGISTRY_CORRUPT.
    LONG DamagedRow(const char* what);
    // One use of a cached statement with `args` (integers, text, blobs) bound in order.
    // Run expects a statement that writes and gives no row; QueryRow hands the first
    // row to `read` and answers `none` when there is none; QueryRows hands over every
    // row. A failing statement answers Fail's code, logged with `what`.
    template <class... Args>
    LONG Run(const char* sql, const char* what, const Args&... args);
    template <class Read, class... Args>
    LONG QueryRow(const char* sql, const char* what, LONG none, Read&& read, const Args&... args);
    template <class Read, class... Args>
    LONG QueryRows(const char* sql, const char* what, Read&& read, const Args&... args);
    template <class F>
    LONG Write(F&& body);
    LONG FindChild(RegKeyId parent, const std::wstring& folded, RegKeyId& out);
    LONG KeyAlive(RegKeyId key, bool& alive);
    LONG Touch(RegKeyId key);
    LONG CollectTree(RegKeyId key, std::vector<RegKeyId>& out);

    std::filesystem::path m_path;
    sqlite3* m_db = nullptr;
    RegKeyId m_root = 0;
    std::recursive_mutex m_mutex;
    int m_txDepth = 0;
    bool m_sound = false; // validated: closing may move the log into the file
    std::vector<std::pair<const char*, sqlite3_stmt*>> m_cache;
};

// The folder of the store files: SettingsDirectory("ZYN_REGISTRY_DIR") (environment.h),
// empty when no home is known. Read at every call, so a test that points it elsewhere
// gets fresh stores.
std::filesystem::path RegistryDirectory();

// The store of a hive (files "hklm.sqlite3" and "hkcu.sqlite3" in the registry folder),
// opened on first use and kept open for the process. Null with `error` set when it
// cannot be opened.
std::shared_ptr<RegistryStore> GetRegistryStore(RegHive hive, LONG& error);

// Forgets the open stores, so the next use reopens the files (open keys keep the store
// they were opened on).
void ResetRegistryStores();

// The current time as 100-ns intervals since 1601-01-01 UTC.
int64_t RegistryNow();

} // namespace zyn::base
