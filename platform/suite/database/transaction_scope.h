#pragma once
// A transaction for the length of a scope, when the caller has none pending: begun on
// construction, rolled back on destruction unless Commit was called. Inside a pending
// transaction of the caller it does nothing, so its statements join that transaction.

class CDatabase;

namespace zyn::db {

class TransactionScope {
public:
    // Raises CDBException when the database cannot transact.
    explicit TransactionScope(CDatabase& db);
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
