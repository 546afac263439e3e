#include "archive/zyn_archive_set.h"

IMPLEMENT_DYNAMIC(CZynArchiveSet, CDynamicRecordset)

CZynArchiveSet::CZynArchiveSet(CZynDatabase* pDatabase, LPCWSTR lpszTable) : CDynamicRecordset(pDatabase, lpszTable)
{
}

CZynArchiveSet::~CZynArchiveSet() = default;

bool CZynArchiveSet::PreparePurgeSelection(const COleDateTime& /*cutoff*/)
{
    return false;
}

int64_t CZynArchiveSet::CompletePurgeDeletes()
{
    return 0;
}
