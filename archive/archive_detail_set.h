#pragma once
// LArchiveDetailSet: the catalogue of archive files, one ARCHIVE_DETAIL row per file
// written by the purge pass.

#include "platform/base/cstring.h"
#include "platform/base/oledatetime.h"
#include "platform/base/sqldate.h"
#include "platform/suite/database/multi_filter_recordset.h"

class LArchiveDetailSet : public CMultiFilterRecordset {
    DECLARE_DYNAMIC(LArchiveDetailSet)
public:
    explicit LArchiveDetailSet(CZynDatabase* pDatabase);
    ~LArchiveDetailSet() override;

    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;
    CString GetKeyColumns() override;

    // Times as COleDateTime (invalid when the column holds no valid date).
    COleDateTime GetTimestamp() const;
    COleDateTime GetDateFirst() const;
    COleDateTime GetDateLast() const;
    COleDateTime GetDeleteTime() const;

    // Texts with trailing white space removed (the member is trimmed too).
    CString GetVersion();
    CString GetDeleteUser();
    CString GetDeleteNote();

    // Part 0 of VERSION is the text before the first ".", part 1 the text between the
    // first and the last ".", part 2 the text after the last "."; each as a number (no
    // number gives 0). Any other part gives -1.
    int GetVersionPart(int nPart);
    // VERSION becomes "major.minor.build".
    void SetVersion(int nMajor, int nMinor, int nBuild);

    // AD_TIMESTAMP op the time, for the next Open.
    int AddTimeFilter(const COleDateTime& value, ParamCompOperator op = Equal);
    // A free catalogue ID.
    LONG GetNextID();

    TIMESTAMP_STRUCT m_AD_TIMESTAMP{};
    CString m_FILEPATH;
    CString m_AD_WORKSTATION;
    TIMESTAMP_STRUCT m_DATEFIRST{};
    TIMESTAMP_STRUCT m_DATELAST{};
    LONG m_EVENTCOUNT = 0;
    CString m_AD_USER;
    LONG m_EVENTTYPE = 0;
    LONG m_ID = 0;
    CString m_VERSION;
    TIMESTAMP_STRUCT m_DELETE_TIME{};
    CString m_DELETE_USER;
    CString m_DELETE_NOTE;
    LONG m_ARCHIVE_STATUS = 0;
};
