// Fuzz target: the registry store's file (the input is the file, any bytes: a damaged or
// foreign database, a store with rows whose sums do not match). Opening either refuses
// with an error, leaving the file as it was, or gives a store whose whole tree can be
// walked (keys, values, key information), written to and read back, with every key
// reached once and nothing but the error codes of the store coming back.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_env.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"
#include "platform/base/registry_store.h"

namespace {

std::vector<uint8_t> Bytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Walks the tree below `key`, at most `budget` keys in all.
void Walk(zyn::base::RegistryStore& store, zyn::base::RegKeyId key, int depth, int& budget)
{
    if (depth > 64 || --budget < 0)
        return;
    zyn::base::RegKeyInfo info;
    store.QueryInfo(key, info);
    std::vector<zyn::base::RegValueData> values;
    store.ListValues(key, values);
    for (DWORD i = 0; i < 4; ++i) {
        zyn::base::RegValueData value;
        if (store.EnumValue(key, i, value) != ERROR_SUCCESS)
            break;
        zyn::base::RegValueData again;
        store.GetValue(key, value.name, again);
    }
    std::vector<std::wstring> names;
    if (store.ListSubKeys(key, names) != ERROR_SUCCESS)
        return;
    for (const std::wstring& name : names) {
        zyn::base::RegKeyId child = 0;
        const std::wstring path[] = {name};
        if (store.OpenKey(key, path, child) == ERROR_SUCCESS)
            Walk(store, child, depth + 1, budget);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        zyn::base::SetRegistryLogHook([](const std::wstring&) {});   // refusals are expected here
        return true;
    }();
    (void)quiet;
    const auto root = zyn::fuzz::FuzzRoot() / "files";
    const auto file = root / "store.sqlite3";
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(file.string() + suffix, ec);
    zyn::fuzz::WriteScratch("store.sqlite3", data, size);

    LONG error = 0;
    auto store = zyn::base::RegistryStore::Open(file, error);
    if (!store) {
        zyn::fuzz::Check(error != ERROR_SUCCESS);
        if (size > 0)
            zyn::fuzz::Check(Bytes(file) == std::vector<uint8_t>(data, data + size));   // a refused file is left alone
        return 0;
    }
    int budget = 256;
    Walk(*store, store->Root(), 0, budget);
    // A write and its read back.
    zyn::base::RegKeyId key = 0;
    bool created = false;
    const std::wstring path[] = {L"Fuzz", L"Key"};
    if (store->CreateKey(store->Root(), path, L"", key, created) == ERROR_SUCCESS) {
        const uint8_t value[] = {1, 2, 3, 4};
        if (store->SetValue(key, L"V", REG_BINARY, value) == ERROR_SUCCESS) {
            zyn::base::RegValueData back;
            zyn::fuzz::Check(store->GetValue(key, L"V", back) == ERROR_SUCCESS);
            zyn::fuzz::Check(back.type == REG_BINARY && back.data == std::vector<uint8_t>(value, value + 4));
        }
        store->DeleteTree(key, true);
    }
    store->Flush();
    return 0;
}
