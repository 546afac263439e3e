#include "archive/event_archive_line.h"

namespace zyn::archive {

namespace {

// Integer fields, refusing text that is no number.
class IntReader {
public:
    IntReader(const ArchiveFields& fields, CString& reason) : m_fields(fields), m_reason(reason) {}
    bool Long(int nField, LONG& out) { return ReadLongField(m_fields, nField, out, m_reason); }
    bool BigInt(int nField, int64_t& out) { return ReadBigIntField(m_fields, nField, out, m_reason); }

private:
    const ArchiveFields& m_fields;
    CString& m_reason;
};

std::optional<TIMESTAMP_STRUCT> TimeField(const ArchiveFields& fields, int nField)
{
    TIMESTAMP_STRUCT ts{};
    if (fields.Time(nField, ts))
        return ts;
    return std::nullopt;
}

} // namespace

bool IsEventLineLength(int nFields)
{
    switch (nFields) {
    case 13:
    case 14:
    case 19:
    case 20:
    case 21:
    case 26:
    case 29:
    case 30:
    case 31:
    case 32:
        return true;
    default:
        return false;
    }
}

bool ParseEventArchiveLine(const ArchiveFields& f, EventArchiveRow& row, CString& reason)
{
    const int n = f.Count();
    if (!IsEventLineLength(n)) {
        reason.Format(L"an event line has 13 to 32 fields (13, 14, 19, 20, 21, 26, 29, 30, 31 or 32), this one %d", n);
        return false;
    }
    row = EventArchiveRow();
    if (f.IsEmpty(1) || !ParseArchiveLong(f.Raw(1), row.serialNum)) {
        reason = L"the serial number (field 1) is not a number";
        return false;
    }
    IntReader ints(f, reason);
    if (!f.IsEmpty(2))
        row.eventTime = TimeField(f, 2);
    if (!ints.Long(4, row.devId) || !ints.Long(5, row.inputDevId) || !ints.Long(6, row.eventType) ||
        !ints.Long(7, row.eventId) || !ints.Long(8, row.eventData) || !ints.BigInt(9, row.cardNum) ||
        !ints.Long(10, row.machine) || !ints.Long(11, row.empId) || !ints.Long(12, row.inputArg) ||
        !ints.Long(13, row.triggerEvent))
        return false;
    if (n >= 14 && !ints.Long(14, row.funcList))
        return false;
    if (n >= 19) {
        if (!ints.Long(15, row.assetId) || !ints.Long(16, row.eventParamId) || !ints.Long(17, row.calledStation) ||
            !ints.Long(18, row.transmitterId) || !ints.Long(19, row.transmitterInputId))
            return false;
    }
    if (n >= 20 && !ints.Long(20, row.issueCode))
        return false;
    if (n >= 21 && !ints.Long(21, row.wrkStationId))
        return false;
    if (n >= 26) {
        row.eventText = f.Text(22);
        if (!ints.Long(23, row.receiverId) || !ints.Long(24, row.lineNum) || !ints.Long(25, row.areaId) ||
            !ints.Long(26, row.userId))
            return false;
        if (n >= 27)
            row.eventCode = f.Text(27);
    }
    if (n >= 28 && !f.IsEmpty(28)) {
        LONG segment = 0;
        if (!ints.Long(28, segment))
            return false;
        row.segmentId = segment;
    }
    if (n >= 29 && !ints.Long(29, row.zynDbId))
        return false;
    if (n >= 30 && !ints.Long(30, row.areaApbId))
        return false;
    if (n >= 31 && !ints.Long(31, row.alarmMaskGroupId))
        return false;
    if (n >= 32)
        row.eventTimeUtc = TimeField(f, 32);
    return true;
}

void FormatEventArchiveLine(const EventArchiveRow& row, ArchiveLineWriter& w)
{
    w.Long(row.serialNum).Empty().Long(row.serialNum);
    w.Long(row.devId).Long(row.inputDevId).Long(row.eventType).Long(row.eventId).Long(row.eventData);
    w.BigInt(row.cardNum);
    w.Long(row.machine).Long(row.empId).Long(row.inputArg).Long(row.triggerEvent).Long(row.funcList);
    w.Long(row.assetId).Long(row.eventParamId).Long(row.calledStation).Long(row.transmitterId);
    w.Long(row.transmitterInputId).Long(row.issueCode).Long(row.wrkStationId);
    w.Text(row.eventText).Long(row.receiverId).Long(row.lineNum).Long(row.areaId).Long(row.userId);
    w.Text(row.eventCode);
    if (row.segmentId)
        w.Long(*row.segmentId);
    else
        w.Empty();
    w.Long(row.zynDbId).Long(row.areaApbId).Long(row.alarmMaskGroupId);
    if (row.eventTimeUtc)
        w.Time(*row.eventTimeUtc);
    else
        w.Empty();
}

} // namespace zyn::archive
