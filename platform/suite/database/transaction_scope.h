#pragma once
// A transaction for the length of a scope, when the caller has none pending: begun on
// construction, rolled back on destruction unless Commit was called. Inside a pending
// transaction of the caller it does nothing, so its statements join that transaction.
//
// Write-first transactions: SQLite lets one connection write at a time, and a
// transaction that has read cannot wait for the write lock when it later writes (it
// fails at once with "database is locked"). A scope begun with bWriteFirst takes the
// write lock at its start, with a no-op write on ZYN_NEXT_ID, waiting (busy time-out)
// for other writers there instead. Passes that read and then write (select then delete,
// read a counter then insert) begin that way. Other engines lock rows and need nothing.

class CDatabase;

namespace zyn::db {

class TransactionScope {
public:
    // Raises CDBException when the database cannot transact.
    explicit TransactionScope(CDatabase& db, bool bWriteFirst = false);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    // Commits when this scope began the transaction; failures raise CDBException.
    void Commit();
    bool Owns() const { return m_bOwn; }

private:
    CDatabase& m_db;
    bool m_bOwn = false;
    bool m_bDone = false;
};

} // namespace zyn::db
