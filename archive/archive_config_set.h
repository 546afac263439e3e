#pragma once
// CArchiveConfigSet: the archive configuration, one ARCHIVE_CONFIG row per record type.

#include "platform/base/cstring.h"
#include "platform/suite/database/multi_filter_recordset.h"

// What the purge pass does with old rows of a record type (DEST_TYPE).
enum ZynArchiveDestination : int {
    ZynArchiveToFile = 0,       // write the archive file, then delete
    ZynArchiveToFileAlt = 1,    // the same (a second destination kind of the same effect)
    ZynArchiveDeleteOnly = 2,   // delete without writing
};

class CArchiveConfigSet : public CMultiFilterRecordset {
    DECLARE_DYNAMIC(CArchiveConfigSet)
public:
    explicit CArchiveConfigSet(CZynDatabase* pDatabase);
    ~CArchiveConfigSet() override;

    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;
    CString GetKeyColumns() override;

    LONG m_TRANS_TYPE = 0;   // record type: negative for a kind of record, else an event type
    LONG m_DEST_TYPE = 0;    // ZynArchiveDestination
    LONG m_DAYS_OLD = 0;     // age in days beyond which rows are archived
    CString m_DEFAULT_PATH;  // folder of the archive files
};
