#include "archive/archive_detail_set.h"

#include "archive/archive_line.h"
#include "common/zyn_timestamp.h"
#include "platform/suite/database/dynamic_recordset.h"
#include "platform/suite/database/rfx_textu.h"

IMPLEMENT_DYNAMIC(LArchiveDetailSet, CMultiFilterRecordset)

namespace {

COleDateTime ToOle(const TIMESTAMP_STRUCT& value)
{
    COleDateTime out;
    if (!ZynTimestampToOleDateTime(value, out))
        out.SetStatus(COleDateTime::invalid);
    return out;
}

CString Trimmed(CString& member)
{
    member.TrimRight();
    return member;
}

} // namespace

LArchiveDetailSet::LArchiveDetailSet(CZynDatabase* pDatabase) : CMultiFilterRecordset(pDatabase)
{
    m_nFields = 14;
}

LArchiveDetailSet::~LArchiveDetailSet() = default;

CString LArchiveDetailSet::GetDefaultConnect()
{
    return L"ODBC;DSN=ORVAN";
}

CString LArchiveDetailSet::GetDefaultSQL()
{
    return L"ARCHIVE_DETAIL";
}

void LArchiveDetailSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Date(pFX, L"[AD_TIMESTAMP]", m_AD_TIMESTAMP);
    RFX_TextU(pFX, L"[FILEPATH]", m_FILEPATH, 255);
    RFX_TextU(pFX, L"[AD_WORKSTATION]", m_AD_WORKSTATION, 255);
    RFX_Date(pFX, L"[DATEFIRST]", m_DATEFIRST);
    RFX_Date(pFX, L"[DATELAST]", m_DATELAST);
    RFX_Long(pFX, L"[EVENTCOUNT]", m_EVENTCOUNT);
    RFX_TextU(pFX, L"[AD_USER]", m_AD_USER, 255);
    RFX_Long(pFX, L"[EVENTTYPE]", m_EVENTTYPE);
    RFX_Long(pFX, L"[ID]", m_ID);
    RFX_TextU(pFX, L"[VERSION]", m_VERSION, 255);
    RFX_Date(pFX, L"[DELETE_TIME]", m_DELETE_TIME);
    RFX_TextU(pFX, L"[DELETE_USER]", m_DELETE_USER, 255);
    RFX_TextU(pFX, L"[DELETE_NOTE]", m_DELETE_NOTE, 255);
    RFX_Long(pFX, L"[ARCHIVE_STATUS]", m_ARCHIVE_STATUS);
    DoParamExchange(pFX);
}

CString LArchiveDetailSet::GetKeyColumns()
{
    return L"ID";
}

COleDateTime LArchiveDetailSet::GetTimestamp() const { return ToOle(m_AD_TIMESTAMP); }
COleDateTime LArchiveDetailSet::GetDateFirst() const { return ToOle(m_DATEFIRST); }
COleDateTime LArchiveDetailSet::GetDateLast() const { return ToOle(m_DATELAST); }
COleDateTime LArchiveDetailSet::GetDeleteTime() const { return ToOle(m_DELETE_TIME); }

CString LArchiveDetailSet::GetVersion() { return Trimmed(m_VERSION); }
CString LArchiveDetailSet::GetDeleteUser() { return Trimmed(m_DELETE_USER); }
CString LArchiveDetailSet::GetDeleteNote() { return Trimmed(m_DELETE_NOTE); }

int LArchiveDetailSet::GetVersionPart(int nPart)
{
    const CString version = GetVersion();
    const int first = version.Find(L'.');
    const int last = version.ReverseFind(L'.');
    CString text;
    switch (nPart) {
    case 0:
        text = first < 0 ? CString() : version.Left(first);
        break;
    case 1:
        text = first < 0 || last <= first ? CString() : version.Mid(first + 1, last - first - 1);
        break;
    case 2:
        text = version.Mid(last + 1);
        break;
    default:
        text = L"-1";
        break;
    }
    LONG value = 0;
    zyn::archive::ParseArchiveLong(text, value);
    return static_cast<int>(value);
}

void LArchiveDetailSet::SetVersion(int nMajor, int nMinor, int nBuild)
{
    m_VERSION.Format(L"%d.%d.%d", nMajor, nMinor, nBuild);
}

int LArchiveDetailSet::AddTimeFilter(const COleDateTime& value, ParamCompOperator op)
{
    return AddFilterTimeStamp(L"AD_TIMESTAMP", ZynOleDateTimeToTimestamp(value), op);
}

LONG LArchiveDetailSet::GetNextID()
{
    CDynamicRecordset ids(GetDatabase(), L"ARCHIVE_DETAIL");
    return ids.GetNextID(L"ID", nullptr);
}
