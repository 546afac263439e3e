#include "platform/suite/database/transaction_scope.h"

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbexception.h"

namespace zyn::db {

TransactionScope::TransactionScope(CDatabase& db, bool bWriteFirst) : m_db(db)
{
    if (m_db.IsInTransaction())
        return;
    if (!m_db.BeginTrans())
        AfxThrowDBException(AFX_SQL_ERROR_NO_AUTOCOMMIT, L"The database cannot run the statements in a transaction.");
    m_bOwn = true;
    if (bWriteFirst && m_db.GetEngine() == zyn::afx::DbEngine::sqlite) {
        // Matches no row, but an UPDATE takes the write lock when it starts.
        try {
            m_db.ExecuteSQL(L"UPDATE ZYN_NEXT_ID SET LAST_ID = LAST_ID WHERE 1 = 0");
        } catch (CException*) {
            m_bDone = true;
            try {
                m_db.Rollback();
            } catch (CException* e2) {
                e2->Delete();
            }
            throw;
        }
    }
}

TransactionScope::~TransactionScope()
{
    if (!m_bOwn || m_bDone)
        return;
    try {
        m_db.Rollback();
    } catch (CException* e) {
        // The failure that unwinds this scope is the one that matters; a rollback that
        // fails as well leaves the connection to report it on its next use.
        e->Delete();
    }
}

void TransactionScope::Commit()
{
    if (!m_bOwn || m_bDone)
        return;
    m_bDone = true;
    m_db.CommitTrans();
}

} // namespace zyn::db
