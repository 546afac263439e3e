#include "platform/suite/database/multi_filter_recordset.h"

#include <algorithm>
#include <variant>

#include "platform/base/exception.h"
#include "platform/suite/database/identifier.h"
#include "platform/suite/database/zyn_database.h"

IMPLEMENT_DYNAMIC(CMultiFilterRecordset, CRecordset)

// One typed condition. The value lives here, at a fixed address, because the record set
// binds parameters by address.
struct CMultiFilterRecordset::Filter {
    CString column;
    int op = Equal;
    std::variant<std::monostate, LONG, int64_t, CString, TIMESTAMP_STRUCT> value;
};

namespace {

void CheckFilter(LPCWSTR lpszColumn, int op, bool hasValue, int nFilterType)
{
    if (!zyn::db::IsPlainIdentifier(lpszColumn)) {
        CString msg;
        msg.Format(L"record set filter: \"%s\" is not a column name", lpszColumn ? lpszColumn : L"(null)");
        AfxThrowInvalidArgException(msg);
    }
    if (!CMultiFilterRecordset::OperatorText(op)) {
        CString msg;
        msg.Format(L"record set filter on %s: unknown operator %d", lpszColumn, op);
        AfxThrowInvalidArgException(msg);
    }
    if (CMultiFilterRecordset::OperatorTakesValue(op) != hasValue) {
        CString msg;
        msg.Format(L"record set filter on %s: operator %d %s a value", lpszColumn, op,
            hasValue ? L"takes no" : L"needs");
        AfxThrowInvalidArgException(msg);
    }
    if (nFilterType != 0) {
        CString msg;
        msg.Format(L"record set filter on %s: filter type %d is not supported (0 ANDs the condition)", lpszColumn,
            nFilterType);
        AfxThrowInvalidArgException(msg);
    }
}

bool ValidTimestamp(const TIMESTAMP_STRUCT& ts)
{
    static constexpr int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (ts.year < 1 || ts.month < 1 || ts.month > 12 || ts.day < 1 || ts.hour > 23 || ts.minute > 59 ||
        ts.second > 59 || ts.fraction > 999999999u)
        return false;
    if (ts.day > days[ts.month - 1])
        return false;
    if (ts.month == 2 && ts.day == 29) {
        const int y = ts.year;
        return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    }
    return true;
}

} // namespace

LPCWSTR CMultiFilterRecordset::OperatorText(int op)
{
    switch (op) {
    case Equal: return L"=";
    case NotEqual: return L"<>";
    case LessThan: return L"<";
    case LessOrEqual: return L"<=";
    case GreaterThan: return L">";
    case GreaterOrEqual: return L">=";
    case Like: return L"LIKE";
    case IsNull: return L"IS NULL";
    case IsNotNull: return L"IS NOT NULL";
    default: return nullptr;
    }
}

bool CMultiFilterRecordset::IsPlainIdentifier(LPCWSTR lpszName) { return zyn::db::IsPlainIdentifier(lpszName); }

CMultiFilterRecordset::CMultiFilterRecordset(CZynDatabase* pDatabase) : CRecordset(pDatabase) {}

CMultiFilterRecordset::~CMultiFilterRecordset() = default;

CZynDatabase* CMultiFilterRecordset::GetDatabase() const { return dynamic_cast<CZynDatabase*>(m_pDatabase); }

int CMultiFilterRecordset::Add(std::unique_ptr<Filter> filter)
{
    m_filters.push_back(std::move(filter));
    return static_cast<int>(m_filters.size());
}

int CMultiFilterRecordset::AddFilterLong(LPCWSTR lpszColumn, LONG nValue, ParamCompOperator op, int nFilterType)
{
    CheckFilter(lpszColumn, op, true, nFilterType);
    auto f = std::make_unique<Filter>();
    f->column = lpszColumn;
    f->op = op;
    f->value = nValue;
    return Add(std::move(f));
}

int CMultiFilterRecordset::AddFilterInt(LPCWSTR lpszColumn, int nValue, ParamCompOperator op, int nFilterType)
{
    return AddFilterLong(lpszColumn, static_cast<LONG>(nValue), op, nFilterType);
}

int CMultiFilterRecordset::AddFilterBigInt(LPCWSTR lpszColumn, int64_t nValue, ParamCompOperator op, int nFilterType)
{
    CheckFilter(lpszColumn, op, true, nFilterType);
    auto f = std::make_unique<Filter>();
    f->column = lpszColumn;
    f->op = op;
    f->value = nValue;
    return Add(std::move(f));
}

int CMultiFilterRecordset::AddFilterText(LPCWSTR lpszColumn, LPCWSTR lpszValue, ParamCompOperator op, int nFilterType)
{
    CheckFilter(lpszColumn, op, true, nFilterType);
    if (!lpszValue)
        AfxThrowInvalidArgException(L"record set filter: null text; use AddFilterNull for NULL");
    auto f = std::make_unique<Filter>();
    f->column = lpszColumn;
    f->op = op;
    f->value = CString(lpszValue);
    return Add(std::move(f));
}

int CMultiFilterRecordset::AddFilterTimeStamp(LPCWSTR lpszColumn, const TIMESTAMP_STRUCT& value, ParamCompOperator op,
    int nFilterType)
{
    CheckFilter(lpszColumn, op, true, nFilterType);
    if (!ValidTimestamp(value)) {
        CString msg;
        msg.Format(L"record set filter on %s: the date-time is not valid", lpszColumn);
        AfxThrowInvalidArgException(msg);
    }
    auto f = std::make_unique<Filter>();
    f->column = lpszColumn;
    f->op = op;
    f->value = value;
    return Add(std::move(f));
}

int CMultiFilterRecordset::AddFilterTime(LPCWSTR lpszColumn, const COleDateTime& value, ParamCompOperator op,
    int nFilterType)
{
    SYSTEMTIME st{};
    if (value.GetStatus() != COleDateTime::valid || !value.GetAsSystemTime(st)) {
        CString msg;
        msg.Format(L"record set filter on %s: the date-time is not valid", lpszColumn ? lpszColumn : L"(null)");
        AfxThrowInvalidArgException(msg);
    }
    TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<int16_t>(st.wYear);
    ts.month = st.wMonth;
    ts.day = st.wDay;
    ts.hour = st.wHour;
    ts.minute = st.wMinute;
    ts.second = st.wSecond;
    return AddFilterTimeStamp(lpszColumn, ts, op, nFilterType);
}

int CMultiFilterRecordset::AddFilterTime(LPCWSTR lpszColumn, const CTime& value, ParamCompOperator op, int nFilterType)
{
    SYSTEMTIME st{};
    if (!value.GetAsSystemTime(st)) {
        CString msg;
        msg.Format(L"record set filter on %s: the time is not valid", lpszColumn ? lpszColumn : L"(null)");
        AfxThrowInvalidArgException(msg);
    }
    TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<int16_t>(st.wYear);
    ts.month = st.wMonth;
    ts.day = st.wDay;
    ts.hour = st.wHour;
    ts.minute = st.wMinute;
    ts.second = st.wSecond;
    return AddFilterTimeStamp(lpszColumn, ts, op, nFilterType);
}

int CMultiFilterRecordset::AddFilterNull(LPCWSTR lpszColumn, ParamCompOperator op, int nFilterType)
{
    CheckFilter(lpszColumn, op, false, nFilterType);
    auto f = std::make_unique<Filter>();
    f->column = lpszColumn;
    f->op = op;
    return Add(std::move(f));
}

void CMultiFilterRecordset::ClearFilter() { m_filters.clear(); }

int CMultiFilterRecordset::GetFilterCount() const { return static_cast<int>(m_filters.size()); }

CString CMultiFilterRecordset::GetTypedFilterText() const
{
    CString text;
    for (const auto& f : m_filters) {
        if (!text.IsEmpty())
            text += L" AND ";
        text += f->column;
        text += L' ';
        text += OperatorText(f->op);
        if (OperatorTakesValue(f->op))
            text += L" ?";
    }
    return text;
}

CString CMultiFilterRecordset::ComposeFilter() const
{
    const CString& own = m_bComposed ? m_strOwnFilter : m_strFilter;
    CString typed = GetTypedFilterText();
    CString ownTrimmed = own;
    ownTrimmed.Trim();
    if (typed.IsEmpty())
        return own;
    if (ownTrimmed.IsEmpty())
        return typed;
    return L"(" + own + L") AND " + typed;
}

void CMultiFilterRecordset::ApplyComposedFilter()
{
    // A filter text changed by the caller while the set was open is the caller's new
    // own filter.
    if (m_bComposed && m_strFilter != m_strComposedFilter)
        m_strOwnFilter = m_strFilter;
    else if (!m_bComposed)
        m_strOwnFilter = m_strFilter;
    m_bComposed = true;
    m_strComposedFilter = ComposeFilter();
    m_strFilter = m_strComposedFilter;

    UINT params = 0;
    for (const auto& f : m_filters) {
        if (OperatorTakesValue(f->op))
            ++params;
    }
    m_nParams = (m_nParams >= m_nFilterParams ? m_nParams - m_nFilterParams : 0) + params;
    m_nFilterParams = params;
}

void CMultiFilterRecordset::RestoreOwnFilter()
{
    if (!m_bComposed)
        return;
    if (m_strFilter == m_strComposedFilter)
        m_strFilter = m_strOwnFilter;
    m_bComposed = false;
    m_strComposedFilter.Empty();
    m_strOwnFilter.Empty();
}

BOOL CMultiFilterRecordset::Open(UINT nOpenType, LPCWSTR lpszSQL, DWORD dwOptions)
{
    ApplyComposedFilter();
    try {
        return CRecordset::Open(nOpenType, lpszSQL, dwOptions);
    } catch (...) {
        RestoreOwnFilter();
        throw;
    }
}

void CMultiFilterRecordset::Close()
{
    CRecordset::Close();
    RestoreOwnFilter();
}

BOOL CMultiFilterRecordset::Requery()
{
    ApplyComposedFilter();
    return CRecordset::Requery();
}

void CMultiFilterRecordset::ExchangeAddedColumns(CFieldExchange*) {}

void CMultiFilterRecordset::DoParamExchange(CFieldExchange* pFX)
{
    if (!pFX)
        return;
    pFX->SetFieldType(CFieldExchange::outputColumn);
    ExchangeAddedColumns(pFX);

    // The record set may call DoParamExchange itself after a DoFieldExchange that
    // already did: bind the values once per exchange.
    bool bound = false;
    for (const auto& f : m_filters) {
        for (const zyn::afx::FieldRef& p : pFX->m_params) {
            if (std::visit([&](const auto& v) -> bool { return static_cast<const void*>(&v) == p.value; }, f->value)) {
                bound = true;
                break;
            }
        }
        if (bound)
            break;
    }
    pFX->SetFieldType(CFieldExchange::param);
    if (!bound) {
        for (auto& f : m_filters) {
            if (!OperatorTakesValue(f->op))
                continue;
            if (auto* v = std::get_if<LONG>(&f->value))
                RFX_Long(pFX, f->column, *v);
            else if (auto* v = std::get_if<int64_t>(&f->value))
                RFX_BigInt(pFX, f->column, *v);
            else if (auto* v = std::get_if<CString>(&f->value))
                RFX_Text(pFX, f->column, *v, std::max(255, 2 * v->GetLength()), SQL_WVARCHAR);
            else if (auto* v = std::get_if<TIMESTAMP_STRUCT>(&f->value))
                RFX_Date(pFX, f->column, *v);
        }
    }
}
