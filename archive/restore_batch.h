#pragma once
// The way restored rows go into their table: in batches, each checked for the rows the
// table has already and inserted in one transaction.
//
// Duplicates. A row's identity is its key columns as archived (RowIdentity::archived,
// before any identifier mapping): within a batch two rows of one identity are one row,
// the second skipped. Against the table the key is looked up as it is stored
// (RowIdentity::stored: the mapped values), one query per batch through the table's
// key index. So a restore run again after any interruption, or a file that holds a row
// twice (a pass killed inside its commit writes its rows again in the next pass),
// restores each row once. (Two archived identifiers that the mapping sends to one are
// one identifier in this database, in the reports as here.)
//
// Transactions. A batch runs in a transaction of its own (committed at its end), or in
// the caller's when one is pending; a crash loses at most the batch in flight, which a
// second run restores. A row the database refuses (a value it cannot hold, a broken
// constraint) is logged and counted, and the batch goes on: both engines roll back only
// the refused statement. Any other failure ends the restore: the rows of the batch
// inserted before it are committed when the database still can, and the exception
// passes to the caller.
//
// Memory stays flat: a batch holds at most its capacity of rows.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <variant>
#include <vector>

#include "archive/restore_run.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

class CException;
class CZynDatabase;

namespace zyn::archive {

// The identifier mapping of a restore: the identifier now standing for an archived one
// in a column of the restored table (the identifier itself when there is no mapping).
using IdMapper = std::function<LONG(LPCWSTR lpszColumn, LONG nId)>;

// One key column's value: NULL, an integer or a date-time.
using KeyValue = std::variant<std::monostate, int64_t, TIMESTAMP_STRUCT>;

struct RowIdentity {
    // The key as archived, readable ("MACHINE 1, SERIALNUM 100"): rows of one batch with
    // equal texts are one row, and logs quote it.
    CString archived;
    // The key columns' values as the row is stored (after mapping), in the order of the
    // target's key columns.
    std::vector<KeyValue> stored;
};

// The text of a stored key, for comparing keys (equal values give equal texts).
std::wstring StoredKeyText(std::span<const KeyValue> values);

// Where the rows go.
class RestoreTarget {
public:
    virtual ~RestoreTarget();
    // found[i] becomes nonzero for the keys the table holds already.
    virtual void FindStored(std::span<const RowIdentity* const> keys, std::vector<char>& found) = 0;
    // Before the first insert of a batch (a transaction is begun when the target runs its
    // own); a second call before Commit does nothing.
    virtual void Begin() = 0;
    // At the end of a batch.
    virtual void Commit() = 0;
    // After a failure that ends the restore: keeps what the batch inserted when it can.
    // Never throws (a failure here is logged).
    virtual void Abandon() noexcept = 0;
    // Whether a failure of one row's insert is the database refusing that row.
    virtual bool IsRowRefusal(CException* e) const = 0;
};

enum class KeyKind { Integer, Time };

struct KeyColumn {
    LPCWSTR name;
    KeyKind kind;
};

// The database as target: key look-ups by one SELECT per batch (the batch's keys as a
// VALUES list of literals joined with the table, so the key index serves), transactions
// as above.
class DatabaseRestoreTarget : public RestoreTarget {
public:
    // lpszTable and the column names are plain identifiers of the schema.
    DatabaseRestoreTarget(CZynDatabase& db, LPCWSTR lpszTable, std::vector<KeyColumn> columns);
    ~DatabaseRestoreTarget() override;

    void FindStored(std::span<const RowIdentity* const> keys, std::vector<char>& found) override;
    void Begin() override;
    void Commit() override;
    void Abandon() noexcept override;
    bool IsRowRefusal(CException* e) const override;

    // The look-up's statement: the key columns of the table's rows that match one of
    // the keys given (a NULL date-time matches a NULL).
    static CString FormatLookup(CZynDatabase& db, LPCWSTR lpszTable, std::span<const KeyColumn> columns,
        std::span<const RowIdentity* const> keys);

private:
    CZynDatabase& m_db;
    CString m_strTable;
    std::vector<KeyColumn> m_columns;
    bool m_bBegun = false;
    bool m_bOwnTransaction = false;
};

// Inserts one row of a line: a refusal by the database is logged and counted as a
// skipped line; other failures pass.
class RowInserter {
public:
    RowInserter(ArchiveRestoreRun& run, RestoreTarget& target) : m_run(run), m_target(target) {}
    // True when the row went in.
    bool Try(LONG nLine, const std::function<void()>& insert);

private:
    ArchiveRestoreRun& m_run;
    RestoreTarget& m_target;
};

template <typename Entry>
class RestoreBatch {
public:
    static constexpr size_t DefaultCapacity = 256;
    // The entry's identity (mapping its key).
    using Identify = std::function<RowIdentity(const Entry&)>;
    // Inserts the entry's row, and any rows that come with it, through the inserter;
    // returns whether the entry's own row went in.
    using Insert = std::function<bool(const Entry&, LONG nLine, RowInserter&)>;
    enum class Outcome { None, Inserted, Duplicate, Refused };

    RestoreBatch(ArchiveRestoreRun& run, RestoreTarget& target, Identify identify, Insert insert,
        size_t capacity = DefaultCapacity)
        : m_run(run), m_target(target), m_identify(std::move(identify)), m_insert(std::move(insert)),
          m_inserter(run, target), m_capacity(capacity ? capacity : 1)
    {
    }

    // Queues the row of line nLine; flushes when the batch is full. False once the
    // callback has asked to stop (the rest of the file is not restored).
    bool Add(Entry entry, LONG nLine)
    {
        if (m_bStopped)
            return false;
        RowIdentity id = m_identify(entry);
        m_pending.push_back({std::move(entry), std::move(id), nLine});
        return m_pending.size() < m_capacity || Flush();
    }

    // Queues the row of line nLine and inserts everything queued without committing:
    // rows that belong to it follow, in the same transaction. False once the callback
    // has asked to stop.
    bool AddAndHold(Entry entry, LONG nLine)
    {
        if (m_bStopped)
            return false;
        RowIdentity id = m_identify(entry);
        m_pending.push_back({std::move(entry), std::move(id), nLine});
        return Flush(true);
    }

    // Inserts the queued rows the table lacks and commits; with bHold the transaction
    // stays open (rows that belong to the last entry follow). False once the callback
    // has asked to stop.
    bool Flush(bool bHold = false)
    {
        try {
            FlushPending();
            if (!bHold)
                m_target.Commit();
        } catch (...) {
            m_pending.clear();
            m_target.Abandon();
            throw;
        }
        return !m_bStopped;
    }

    // After a failure outside Flush: keeps what the open batch inserted when it can.
    void Abandon() noexcept
    {
        m_pending.clear();
        m_target.Abandon();
    }

    // What happened to the last entry flushed.
    Outcome LastOutcome() const { return m_lastOutcome; }
    bool Stopped() const { return m_bStopped; }
    RowInserter& Inserter() { return m_inserter; }
    RestoreTarget& Target() { return m_target; }

private:
    struct Pending {
        Entry entry;
        RowIdentity id;
        LONG line;
    };

    void FlushPending()
    {
        if (m_pending.empty())
            return;
        std::vector<const RowIdentity*> keys;
        keys.reserve(m_pending.size());
        for (const Pending& p : m_pending)
            keys.push_back(&p.id);
        std::vector<char> found(m_pending.size(), 0);
        m_target.FindStored(keys, found);
        // The identities of the rows inserted: views of the pending rows' own texts,
        // which stay put until the batch is cleared.
        std::unordered_set<std::wstring_view> inserted;
        inserted.reserve(m_pending.size());
        m_target.Begin();
        for (size_t i = 0; i < m_pending.size() && !m_bStopped; ++i) {
            const Pending& p = m_pending[i];
            if (found[i] || inserted.count(std::wstring_view(p.id.archived.Str()))) {
                m_run.Duplicate(p.line, p.id.archived);
                m_lastOutcome = Outcome::Duplicate;
                continue;
            }
            if (!m_insert(p.entry, p.line, m_inserter)) {
                m_lastOutcome = Outcome::Refused;
                continue;
            }
            inserted.insert(std::wstring_view(p.id.archived.Str()));
            m_lastOutcome = Outcome::Inserted;
            m_run.CountRow();
            if (!m_run.Progress())
                m_bStopped = true;
        }
        m_pending.clear();
    }

    ArchiveRestoreRun& m_run;
    RestoreTarget& m_target;
    Identify m_identify;
    Insert m_insert;
    RowInserter m_inserter;
    size_t m_capacity;
    std::vector<Pending> m_pending;
    Outcome m_lastOutcome = Outcome::None;
    bool m_bStopped = false;
};

} // namespace zyn::archive
