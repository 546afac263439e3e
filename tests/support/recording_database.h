#pragma once
// A CZynDatabase test double for engines that do not exist here (SQL Server, Oracle,
// DB2, the schema repository): it has the engine type and identifier quote of the
// engine, records the text of every ExecuteSQL instead of running it, and answers
// table look-ups from a list the test gives. Nothing touches a driver.

#include <set>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/suite/database/zyn_database.h"

namespace zyn::test {

class RecordingDatabase : public CZynDatabase {
public:
    explicit RecordingDatabase(ZynEngineType engine)
    {
        SetEngineType(engine);
        // SQL Server, Oracle and DB2 quote identifiers with double quotes; brackets
        // mean nothing to them.
        m_chIDQuote = L'"';
    }

    void ExecuteSQL(LPCWSTR lpszSQL, bool) override { m_statements.push_back(ReplaceBrackets(lpszSQL)); }
    bool HasTable(LPCWSTR lpszTable, int) override
    {
        CString name(lpszTable ? lpszTable : L"");
        name.Remove(L'[');
        name.Remove(L']');
        name.MakeUpper();
        return m_tables.count(name) != 0;
    }

    // Tables HasTable reports (upper case).
    std::set<CString> m_tables;
    // The statements "run", brackets already mapped.
    std::vector<CString> m_statements;
};

} // namespace zyn::test
