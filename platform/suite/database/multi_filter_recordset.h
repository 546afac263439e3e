#pragma once
// CMultiFilterRecordset: a record set with typed filters. Each AddFilter* call adds one
// condition "COLUMN op ?" whose value is bound as a parameter (never spliced into the
// text); the conditions are ANDed with each other and with the set's own filter string
// m_strFilter (which the set keeps as written, in parentheses) for the next Open or
// Requery. The values are bound in DoParamExchange, which the set's DoFieldExchange may
// call at its end or leave to the record set.
//
// While the set is open m_strFilter holds the complete condition as run; Close puts the
// set's own text back.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/afx/db/recordset.h"
#include "platform/base/cstring.h"
#include "platform/base/ctime.h"
#include "platform/base/oledatetime.h"
#include "platform/base/sqldate.h"

class CZynDatabase;

class CMultiFilterRecordset : public CRecordset {
    DECLARE_DYNAMIC(CMultiFilterRecordset)
public:
    // Comparison of a filter or WHERE condition. IsNull and IsNotNull take no value.
    enum ParamCompOperator : int {
        Equal = 0,
        NotEqual = 1,
        LessThan = 2,
        LessOrEqual = 3,
        GreaterThan = 4,
        GreaterOrEqual = 5,
        Like = 6,
        IsNull = 7,
        IsNotNull = 8,
    };
    // The SQL of an operator ("=", "<>", "<", "<=", ">", ">=", "LIKE", "IS NULL",
    // "IS NOT NULL"); null for a code outside the list.
    static LPCWSTR OperatorText(int op);
    static bool OperatorTakesValue(int op) { return op >= Equal && op <= Like; }

    explicit CMultiFilterRecordset(CZynDatabase* pDatabase = nullptr);
    ~CMultiFilterRecordset() override;

    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none) override;
    void Close() override;
    BOOL Requery() override;
    // Binds the filter values, in the order the filters were added.
    void DoParamExchange(CFieldExchange* pFX) override;

    // One more ANDed condition for the next Open. lpszColumn is a column name, bracketed
    // and/or table-qualified as the set binds it ("EVENTS.EVENTTYPE", "[SEGMENTID]").
    // nFilterType must be 0 (ANDed). Returns the number of conditions now held.
    // A column that is not a plain identifier, an unknown operator, IsNull/IsNotNull
    // with a value, or an invalid date raise CInvalidArgException.
    int AddFilterLong(LPCWSTR lpszColumn, LONG nValue, ParamCompOperator op = Equal, int nFilterType = 0);
    int AddFilterInt(LPCWSTR lpszColumn, int nValue, ParamCompOperator op = Equal, int nFilterType = 0);
    int AddFilterBigInt(LPCWSTR lpszColumn, int64_t nValue, ParamCompOperator op = Equal, int nFilterType = 0);
    int AddFilterText(LPCWSTR lpszColumn, LPCWSTR lpszValue, ParamCompOperator op = Equal, int nFilterType = 0);
    int AddFilterTime(LPCWSTR lpszColumn, const COleDateTime& value, ParamCompOperator op = Equal,
        int nFilterType = 0);
    int AddFilterTime(LPCWSTR lpszColumn, const CTime& value, ParamCompOperator op = Equal, int nFilterType = 0);
    int AddFilterTimeStamp(LPCWSTR lpszColumn, const TIMESTAMP_STRUCT& value, ParamCompOperator op = Equal,
        int nFilterType = 0);
    // IsNull or IsNotNull.
    int AddFilterNull(LPCWSTR lpszColumn, ParamCompOperator op = IsNull, int nFilterType = 0);
    // Drops every typed filter (m_strFilter is left as it is).
    void ClearFilter();

    int GetFilterCount() const;
    // The typed conditions as they will run ("EVENTTYPE = ? AND ..."); empty when none.
    CString GetTypedFilterText() const;
    // The complete condition the next Open runs: the set's own filter in parentheses
    // ANDed with the typed conditions.
    CString ComposeFilter() const;

    CZynDatabase* GetDatabase() const;

    // True when the name is a plain identifier, optionally bracketed and/or qualified
    // by a table ("A_1", "[EVENTS].[SERIALNUM]", "EVENTS.SERIALNUM").
    static bool IsPlainIdentifier(LPCWSTR lpszName);

protected:
    // Called by DoParamExchange before the filter values: a derived library class binds
    // further output columns here (the columns that the set's own DoFieldExchange does
    // not bind).
    virtual void ExchangeAddedColumns(CFieldExchange* pFX);

private:
    struct Filter;
    int Add(std::unique_ptr<Filter> filter);
    void ApplyComposedFilter();
    void RestoreOwnFilter();

    std::vector<std::unique_ptr<Filter>> m_filters;
    CString m_strOwnFilter;      // the set's own text while the composed one is in m_strFilter
    CString m_strComposedFilter; // what was put in m_strFilter
    bool m_bComposed = false;
    UINT m_nFilterParams = 0;    // how many of m_nParams are ours
};
