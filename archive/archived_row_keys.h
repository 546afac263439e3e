#pragma once
// The rows a purge pass has archived, by key, and their deletion.
//
// The visit and visit-event passes select with one statement and delete what they
// archived in batches of keys (a full batch during the pass, the rest after its last
// row), all in the pass's transaction. Deleting with the select's own condition would also remove rows that began
// to match after they were read (a visit event whose time-out passed during the pass),
// which were never written to the archive file. So the pass notes the key of every row
// it archived and deletes exactly those, in batches of bound keys; the select's
// condition is ANDed on as well, so a row that stopped matching in between (a visit
// event that got an open visit) is left for the next pass rather than deleted.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/cstring.h"

class CDatabase;

namespace zyn::archive {

class ArchivedRowKeys {
public:
    // Keys per DELETE statement (within every engine's limit on bound parameters).
    static constexpr size_t BatchSize = 500;

    // Notes one archived row. Noting the row just noted again is a no-op, so a pass that
    // notes a row both when writing and when deleting it counts it once.
    void Note(int64_t key);
    size_t Count() const { return m_keys.size(); }
    bool IsEmpty() const { return m_keys.empty(); }
    void Clear() { m_keys.clear(); }
    const std::vector<int64_t>& Keys() const { return m_keys; }

    // Runs "DELETE FROM table WHERE keyColumn IN (?, ...) [AND (condition)]" over the
    // noted keys, BatchSize at a time, and returns the rows deleted. Each batch's keys
    // are dropped once it has run; when a batch fails the exception passes and the keys
    // not yet deleted stay noted. Table and column must be plain identifiers, else
    // CInvalidArgException; the condition is SQL of the caller's own making (never
    // text from a row or a file).
    int64_t DeleteFrom(CDatabase& db, LPCWSTR lpszTable, LPCWSTR lpszKeyColumn, const CString& condition);

private:
    std::vector<int64_t> m_keys;
};

} // namespace zyn::archive
