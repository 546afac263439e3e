// The archive line pieces without a database: splitting, numbers, times, the text
// escape, and the event and acknowledgement line parsers.

#include <gtest/gtest.h>

#include "archive/alarm_ack_archive_line.h"
#include "archive/archive_line.h"
#include "archive/event_archive_line.h"
#include "archive/restore_run.h"
#include "tests/archive/archive_fixture.h"

using namespace zyn::archive;
using zyn::test::Ts;
using zyn::test::U8;

namespace {

CString Join(const std::vector<CString>& fields)
{
    CString line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += L"\t";
        line += fields[i];
    }
    return line;
}

// A 32-field event line as the set writes it, every field distinct.
std::vector<CString> FullEventFields()
{
    return {L"1001", L"", L"1001", L"4", L"5", L"6", L"7", L"8", L"9000000000", L"10", L"11", L"12", L"13", L"14",
        L"15", L"16", L"17", L"18", L"19", L"20", L"21", L"text", L"23", L"24", L"25", L"26", L"code", L"28", L"29",
        L"30", L"31", L"Jul 05 2008 03:04:05PM"};
}

std::vector<CString> FirstFields(int n)
{
    std::vector<CString> all = FullEventFields();
    all.resize(static_cast<size_t>(n));
    return all;
}

} // namespace

TEST(ArchiveLine, SplitsAtEveryTabKeepingEmptyFields)
{
    ArchiveFields f(L"a\t\tb\t");
    ASSERT_EQ(f.Count(), 4);
    EXPECT_EQ(U8(f.Raw(1)), "a");
    EXPECT_TRUE(f.IsEmpty(2));
    EXPECT_EQ(U8(f.Raw(3)), "b");
    EXPECT_TRUE(f.IsEmpty(4));
    EXPECT_FALSE(f.Has(5));
    EXPECT_TRUE(f.Raw(0).IsEmpty());
    EXPECT_TRUE(f.Raw(99).IsEmpty());
    EXPECT_EQ(ArchiveFields(L"").Count(), 0);
    EXPECT_EQ(ArchiveFields(L"\t").Count(), 2);
}

TEST(ArchiveLine, DecimalFieldsAreLenientButTellRealNumbers)
{
    LONG v = 1;
    EXPECT_TRUE(ParseArchiveLong(L"-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_TRUE(ParseArchiveLong(L" 42 ", v));
    EXPECT_EQ(v, 42);
    EXPECT_FALSE(ParseArchiveLong(L"12abc", v));
    EXPECT_EQ(v, 12); // the leading number, as a decimal conversion gives it
    EXPECT_FALSE(ParseArchiveLong(L"abc", v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(ParseArchiveLong(L"2147483648", v)); // beyond 32 bits: 0, never wrapped
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(ParseArchiveLong(L"", v));
    EXPECT_FALSE(ParseArchiveLong(L"-", v));
    int64_t b = 0;
    EXPECT_TRUE(ParseArchiveBigInt(L"-9223372036854775808", b));
    EXPECT_EQ(b, INT64_MIN);
    EXPECT_TRUE(ParseArchiveBigInt(L"9223372036854775807", b));
    EXPECT_EQ(b, INT64_MAX);
    EXPECT_FALSE(ParseArchiveBigInt(L"9223372036854775808", b));
    EXPECT_EQ(b, 0);

    ArchiveFields f(L"7\tx\t\t99999999999");
    EXPECT_EQ(f.Long(1), 7);
    EXPECT_EQ(f.Long(2), 0);
    EXPECT_EQ(f.Long(3), 0);
    EXPECT_EQ(f.Long(4), 0);
    EXPECT_EQ(f.BigInt(4), 99999999999);
    EXPECT_EQ(f.Long(9), 0);
    EXPECT_TRUE(f.IsNumber(1));
    EXPECT_FALSE(f.IsNumber(2));
    EXPECT_FALSE(f.IsNumber(3));
    EXPECT_TRUE(f.IsBigNumber(4));
}

TEST(ArchiveLine, TimesRoundTripInTheFixedEnglishForm)
{
    ArchiveLineWriter w;
    w.Time(Ts(2008, 7, 5, 15, 4, 5)).Time(Ts(1999, 12, 31, 0, 0, 59)).Time(Ts(2008, 7, 5), true).Time(TIMESTAMP_STRUCT{});
    EXPECT_EQ(U8(w.Line()), "Jul 05 2008 03:04:05PM\tDec 31 1999 12:00:59AM\t\t");
    ArchiveFields f(w.Line());
    TIMESTAMP_STRUCT ts{};
    ASSERT_TRUE(f.Time(1, ts));
    EXPECT_EQ(ts.year, 2008);
    EXPECT_EQ(ts.month, 7);
    EXPECT_EQ(ts.day, 5);
    EXPECT_EQ(ts.hour, 15);
    EXPECT_EQ(ts.minute, 4);
    EXPECT_EQ(ts.second, 5);
    ASSERT_TRUE(f.Time(2, ts));
    EXPECT_EQ(ts.hour, 0);
    EXPECT_EQ(ts.second, 59);
    EXPECT_FALSE(f.Time(3, ts));
    EXPECT_FALSE(f.Time(4, ts));
    EXPECT_FALSE(f.Time(5, ts));
}

TEST(ArchiveLine, TimesOutsideTheYears1970To2036AreNull)
{
    TIMESTAMP_STRUCT ts{};
    EXPECT_FALSE(ParseArchiveTime(FormatArchiveTimestamp(Ts(1969, 12, 31, 12)), ts));
    EXPECT_FALSE(ParseArchiveTime(FormatArchiveTimestamp(Ts(2037, 1, 1, 12)), ts));
    EXPECT_TRUE(ParseArchiveTime(FormatArchiveTimestamp(Ts(2036, 12, 31, 12)), ts));
    EXPECT_TRUE(ParseArchiveTime(FormatArchiveTimestamp(Ts(1970, 1, 2)), ts));
    EXPECT_FALSE(ParseArchiveTime(L"not a date", ts));
    EXPECT_FALSE(ParseArchiveTime(L"Feb 30 2008 01:00:00AM", ts));
}

TEST(ArchiveLine, TextEscapeRoundTripsControlCharactersAndAstralText)
{
    const CString text = L"tab\there\r\nline\x1B[esc]\x01\x02 \U0001F600 end ";
    const CString escaped = EscapeArchiveText(text);
    EXPECT_EQ(escaped.Find(L'\t'), -1);
    EXPECT_EQ(escaped.Find(L'\r'), -1);
    EXPECT_EQ(escaped.Find(L'\n'), -1);
    EXPECT_EQ(U8(UnescapeArchiveText(escaped)), U8(text));

    ArchiveLineWriter w;
    w.Text(text).Long(5);
    ArchiveFields f(w.Line());
    ASSERT_EQ(f.Count(), 2);
    EXPECT_EQ(U8(f.Text(1)), U8(text));
}

// The writer escapes text itself; what it writes must be exactly the archive escape.
TEST(ArchiveLine, WrittenTextIsTheArchiveEscapeOfIt)
{
    const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    const wchar_t beyond[] = {static_cast<wchar_t>(0x110000), 0};
    const wchar_t astral[] = {static_cast<wchar_t>(0x1F600), L'x', 0};
    const struct {
        const char* name;
        CString text;
        CString written;
    } cases[] = {
        {"empty", L"", L""},
        {"plain", L"Door forced", L"Door forced"},
        {"tab and line end", L"a\tb\r\n", L"a\x1BIb\x1BM\x1BJ"},
        {"escape character", L"\x1B", L"\x1B["},
        {"NUL and unit separator", CString(L"\0\x1F", 2), L"\x1B@\x1B_"},
        {"DEL stays", L"\x7F", L"\x7F"},
        {"lone surrogate", lone, L"a\xFFFD" L"b"},
        {"beyond U+10FFFF", beyond, L"\xFFFD"},
        {"astral stays", astral, astral},
    };
    for (const auto& c : cases) {
        ArchiveLineWriter w;
        w.Text(c.text);
        EXPECT_EQ(w.Line(), c.written) << c.name;
        EXPECT_EQ(w.Line(), EscapeArchiveText(c.text)) << c.name;
    }
}

TEST(ArchiveLine, TimesAreWrittenInTheFixedFormAtEveryEdgeOfTheClock)
{
    auto withFraction = [](TIMESTAMP_STRUCT t, uint32_t f) {
        t.fraction = f;
        return t;
    };
    const struct {
        const char* name;
        TIMESTAMP_STRUCT value;
        const char* written;
    } cases[] = {
        {"afternoon", Ts(2008, 7, 5, 15, 4, 5), "Jul 05 2008 03:04:05PM"},
        {"midnight", Ts(2010, 1, 2, 0, 0, 0), "Jan 02 2010 12:00:00AM"},
        {"noon", Ts(2010, 1, 2, 12, 0, 0), "Jan 02 2010 12:00:00PM"},
        {"last second", Ts(1999, 12, 31, 23, 59, 59), "Dec 31 1999 11:59:59PM"},
        {"leap day", Ts(2008, 2, 29, 1, 2, 3), "Feb 29 2008 01:02:03AM"},
        {"fraction not rounded", withFraction(Ts(2010, 1, 2, 11, 59, 59), 999999999), "Jan 02 2010 11:59:59AM"},
        {"three-digit year", Ts(999, 1, 1, 0, 0, 0), "Jan 01 0999 12:00:00AM"},
        {"no such leap day", Ts(2009, 2, 29, 1, 2, 3), ""},
        {"month 13", Ts(2009, 13, 1, 1, 2, 3), ""},
        {"hour 24", Ts(2009, 1, 1, 24, 0, 0), ""},
        {"all zero", TIMESTAMP_STRUCT{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(FormatArchiveTimestamp(c.value)), c.written) << c.name;
}

TEST(ArchiveLine, TimesAreReadInTheFixedFormAndInOthersAlike)
{
    const struct {
        const char* name;
        const wchar_t* text;
        bool ok;
        TIMESTAMP_STRUCT value;
    } cases[] = {
        {"fixed form", L"Jul 05 2008 03:04:05PM", true, Ts(2008, 7, 5, 15, 4, 5)},
        {"midnight", L"Jan 02 2010 12:00:00AM", true, Ts(2010, 1, 2, 0, 0, 0)},
        {"half past noon", L"Jan 02 2010 12:30:00PM", true, Ts(2010, 1, 2, 12, 30, 0)},
        {"leap day", L"Feb 29 2008 01:00:00AM", true, Ts(2008, 2, 29, 1, 0, 0)},
        {"last day read", L"Dec 31 2036 11:59:59PM", true, Ts(2036, 12, 31, 23, 59, 59)},
        {"lower-case month", L"jul 05 2008 03:04:05PM", true, Ts(2008, 7, 5, 15, 4, 5)},
        {"short day and hour", L"Jul 5 2008 3:04:05PM", true, Ts(2008, 7, 5, 15, 4, 5)},
        {"no such leap day", L"Feb 29 2009 01:00:00AM", false, {}},
        {"after 2036", L"Jan 01 2037 12:00:00PM", false, {}},
        {"before 1970", L"Dec 31 1969 12:00:00PM", false, {}},
        {"hour 13 in the afternoon", L"Jul 05 2008 13:04:05PM", false, {}},
        {"minute 60", L"Jul 05 2008 03:60:05PM", false, {}},
        {"no month", L"Xyz 05 2008 03:04:05PM", false, {}},
    };
    for (const auto& c : cases) {
        TIMESTAMP_STRUCT ts{};
        ASSERT_EQ(ParseArchiveTime(c.text, ts), c.ok) << c.name;
        if (!c.ok)
            continue;
        EXPECT_EQ(ts.year, c.value.year) << c.name;
        EXPECT_EQ(ts.month, c.value.month) << c.name;
        EXPECT_EQ(ts.day, c.value.day) << c.name;
        EXPECT_EQ(ts.hour, c.value.hour) << c.name;
        EXPECT_EQ(ts.minute, c.value.minute) << c.name;
        EXPECT_EQ(ts.second, c.value.second) << c.name;
        EXPECT_EQ(ts.fraction, 0u) << c.name;
    }
}

TEST(ArchiveLine, WriterJoinsFieldsAndRefusesRawSeparators)
{
    ArchiveLineWriter w;
    w.Long(-5).BigInt(INT64_MIN).Long(0, true, -1).BigInt(3, false, 0).Empty();
    EXPECT_EQ(U8(w.Line()), "-5\t-9223372036854775808\t-1\t3\t");
    EXPECT_EQ(w.Count(), 5);
    // Digit counts at every boundary, both widths.
    ArchiveLineWriter d;
    d.Long(0).Long(9).Long(10).Long(99).Long(100).Long(-101).Long(INT32_MAX).Long(INT32_MIN).BigInt(INT64_MAX);
    EXPECT_EQ(U8(d.Line()), "0\t9\t10\t99\t100\t-101\t2147483647\t-2147483648\t9223372036854775807");
    bool threw = false;
    try {
        w.Raw(L"a\tb");
    } catch (CInvalidArgException* e) {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);
    EXPECT_EQ(w.Count(), 5);
    w.Reset();
    EXPECT_TRUE(w.Line().IsEmpty());
    // A line longer than the writer's first buffer, then a short one after it.
    w.Long(7).Text(CString(std::wstring(300, L'x').c_str()) + L"\t");
    EXPECT_EQ(U8(w.Line()), "7\t" + std::string(300, 'x') + "\x1B" "I");
    w.Reset();
    w.Long(8);
    EXPECT_EQ(U8(w.Line()), "8");
}

TEST(ArchiveLine, RestoreRunRefusesACallbackWithoutInterval)
{
    bool threw = false;
    try {
        ArchiveRestoreRun run(L"Test", zyn::test::RecordProgress, nullptr, 0);
    } catch (CInvalidArgException* e) {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);
    ArchiveRestoreRun ok(L"Test", nullptr, nullptr, 0); // no callback: no interval needed
    EXPECT_TRUE(ok.Progress());
}

TEST(EventArchiveLine, FullLineRoundTrips)
{
    EventArchiveRow row;
    CString reason;
    ASSERT_TRUE(ParseEventArchiveLine(ArchiveFields(Join(FullEventFields())), row, reason)) << U8(reason);
    EXPECT_EQ(row.serialNum, 1001);
    EXPECT_FALSE(row.eventTime.has_value());
    EXPECT_EQ(row.cardNum, 9000000000);
    EXPECT_EQ(row.calledStation, 17);
    EXPECT_EQ(row.issueCode, 20);
    EXPECT_EQ(U8(row.eventText), "text");
    EXPECT_EQ(U8(row.eventCode), "code");
    ASSERT_TRUE(row.segmentId.has_value());
    EXPECT_EQ(*row.segmentId, 28);
    EXPECT_EQ(row.alarmMaskGroupId, 31);
    ASSERT_TRUE(row.eventTimeUtc.has_value());
    EXPECT_EQ(row.eventTimeUtc->hour, 15);

    ArchiveLineWriter w;
    FormatEventArchiveLine(row, w);
    EXPECT_EQ(w.Count(), EventLineFieldCount);
    EXPECT_EQ(U8(w.Line()), U8(Join(FullEventFields())));
}

TEST(EventArchiveLine, EveryLegacyLengthTakesTheDefaultsOfWhatItLacks)
{
    for (int n : {13, 14, 19, 20, 21, 26, 29, 30, 31, 32}) {
        SCOPED_TRACE(n);
        EventArchiveRow row;
        CString reason;
        ASSERT_TRUE(ParseEventArchiveLine(ArchiveFields(Join(FirstFields(n))), row, reason)) << U8(reason);
        EXPECT_EQ(row.triggerEvent, 13);
        EXPECT_EQ(row.funcList, n >= 14 ? 14 : 0);
        EXPECT_EQ(row.assetId, n >= 19 ? 15 : 0);
        EXPECT_EQ(row.eventParamId, n >= 19 ? 16 : 0);
        EXPECT_EQ(row.calledStation, n >= 19 ? 17 : -1);
        EXPECT_EQ(row.transmitterInputId, n >= 19 ? 19 : 0);
        EXPECT_EQ(row.issueCode, n >= 20 ? 20 : -1);
        EXPECT_EQ(row.wrkStationId, n >= 21 ? 21 : 0);
        EXPECT_EQ(U8(row.eventText), n >= 26 ? "text" : "");
        EXPECT_EQ(row.userId, n >= 26 ? 26 : 0);
        EXPECT_EQ(U8(row.eventCode), n >= 29 ? "code" : "");
        EXPECT_EQ(row.segmentId.has_value(), n >= 29);
        EXPECT_EQ(row.zynDbId, n >= 29 ? 29 : 0);
        EXPECT_EQ(row.areaApbId, n >= 30 ? 30 : 0);
        EXPECT_EQ(row.alarmMaskGroupId, n >= 31 ? 31 : 0);
        EXPECT_EQ(row.eventTimeUtc.has_value(), n >= 32);
    }
}

TEST(EventArchiveLine, OtherLengthsAndNonNumbersAreRefused)
{
    for (int n : {1, 2, 12, 15, 18, 22, 25, 27, 28, 33}) {
        SCOPED_TRACE(n);
        std::vector<CString> fields = FullEventFields();
        fields.resize(static_cast<size_t>(n), L"0");
        EventArchiveRow row;
        CString reason;
        EXPECT_FALSE(ParseEventArchiveLine(ArchiveFields(Join(fields)), row, reason));
        EXPECT_FALSE(reason.IsEmpty());
    }
    std::vector<CString> fields = FullEventFields();
    fields[0] = L"";
    EventArchiveRow row;
    CString reason;
    EXPECT_FALSE(ParseEventArchiveLine(ArchiveFields(Join(fields)), row, reason));
    fields = FullEventFields();
    fields[8] = L"card";
    EXPECT_FALSE(ParseEventArchiveLine(ArchiveFields(Join(fields)), row, reason));
    EXPECT_EQ(U8(reason), "field 9 is not a number");
    // An empty integer field is 0 (never written so, but harmless).
    fields = FullEventFields();
    fields[3] = L"";
    ASSERT_TRUE(ParseEventArchiveLine(ArchiveFields(Join(fields)), row, reason));
    EXPECT_EQ(row.devId, 0);
}

TEST(EventArchiveLine, EmptySegmentIsNullAndSecondFieldIsTheLocalTime)
{
    std::vector<CString> fields = FullEventFields();
    fields[27] = L"";
    fields[1] = L"Jan 02 2001 01:02:03AM";
    EventArchiveRow row;
    CString reason;
    ASSERT_TRUE(ParseEventArchiveLine(ArchiveFields(Join(fields)), row, reason));
    EXPECT_FALSE(row.segmentId.has_value());
    ASSERT_TRUE(row.eventTime.has_value());
    EXPECT_EQ(row.eventTime->year, 2001);
}

// A line written by hand, with a different value in each of the first seven fields,
// gives each to its own column.
TEST(AlarmAckArchiveLine, EachOfTheFirstFieldsGoesToItsOwnColumn)
{
    AlarmAckArchiveRow row;
    CString reason;
    ASSERT_TRUE(ParseAlarmAckArchiveLine(ArchiveFields(L"11\t12\t13\t14\t15\t16\t17\t\tnote"), row, reason))
        << U8(reason);
    const std::pair<const char*, LONG> fields[] = {{"USERID", row.userId}, {"STATUS", row.status},
        {"SALARMID", row.alarmId}, {"SPANELID", row.panelId}, {"SSERIALNUM", row.serialNum},
        {"LPANELID", row.linkedPanelId}, {"LSERIALNUM", row.linkedSerialNum}};
    for (size_t i = 0; i < std::size(fields); ++i)
        EXPECT_EQ(fields[i].second, static_cast<LONG>(11 + i)) << fields[i].first;
}

TEST(AlarmAckArchiveLine, AcknowledgementAndHistoryRoundTrip)
{
    AlarmAckArchiveRow ack;
    ack.userId = 7;
    ack.status = 2;
    ack.alarmId = 3;
    ack.panelId = 4;
    ack.serialNum = 5;
    ack.linkedPanelId = 6;
    ack.linkedSerialNum = 8;
    ack.note = L"a\tnote\r\nwith breaks";
    ack.inProgressUserId = 9;
    ack.ackTimeUtc = Ts(2010, 1, 2, 3, 4, 5);
    ack.forwardedTimeUtc = Ts(2011, 6, 7, 18, 9, 10);
    ArchiveLineWriter w;
    FormatAlarmAckArchiveLine(ack, w);
    EXPECT_EQ(w.Count(), AlarmAckLineFieldCount);
    // The whole line, written out by hand: USERID, STATUS, SALARMID, SPANELID,
    // SSERIALNUM, LPANELID, LSERIALNUM, no ACKTIME, the escaped note, IN_PROGRESS_USERID,
    // no IN_PROGRESS_ACKTIME, the three UTC times.
    EXPECT_EQ(U8(w.Line()), "7\t2\t3\t4\t5\t6\t8\t\ta\x1BInote\x1BM\x1BJwith breaks\t9\t\t"
                            "Jan 02 2010 03:04:05AM\t\tJun 07 2011 06:09:10PM");

    ArchiveFields f(w.Line());
    EXPECT_FALSE(IsAlarmAckHistoryLine(f));
    AlarmAckArchiveRow back;
    CString reason;
    ASSERT_TRUE(ParseAlarmAckArchiveLine(f, back, reason)) << U8(reason);
    EXPECT_EQ(back.userId, 7);
    EXPECT_EQ(back.linkedSerialNum, 8);
    EXPECT_EQ(U8(back.note), U8(ack.note));
    EXPECT_EQ(back.inProgressUserId, 9);
    EXPECT_FALSE(back.ackTime.has_value());
    EXPECT_FALSE(back.inProgressAckTimeUtc.has_value());
    ASSERT_TRUE(back.forwardedTimeUtc.has_value());
    EXPECT_EQ(back.forwardedTimeUtc->hour, 18);

    AlarmAckHistoryArchiveRow h;
    h.userId = 11;
    h.ackTimeUtc = Ts(2012, 2, 3, 4, 5, 6);
    h.ackStatus = 3;
    h.note = L"hist\tnote";
    ArchiveLineWriter hw;
    FormatAlarmAckHistoryArchiveLine(h, hw);
    EXPECT_EQ(hw.Count(), AlarmAckHistoryLineFieldCount);
    EXPECT_EQ(hw.Line().Right(1), L"\t");
    EXPECT_EQ(hw.Line().Left(3), L"\x01\x02\t");
    ArchiveFields hf(hw.Line());
    EXPECT_TRUE(IsAlarmAckHistoryLine(hf));
    AlarmAckHistoryArchiveRow hb;
    ASSERT_TRUE(ParseAlarmAckHistoryArchiveLine(hf, hb, reason)) << U8(reason);
    EXPECT_EQ(hb.userId, 11);
    EXPECT_EQ(hb.ackStatus, 3);
    EXPECT_EQ(U8(hb.note), "hist\tnote");
    ASSERT_TRUE(hb.ackTimeUtc.has_value());
    EXPECT_EQ(hb.ackTimeUtc->year, 2012);
}

TEST(AlarmAckArchiveLine, ShortLongAndKeylessLinesAreRefused)
{
    AlarmAckArchiveRow ack;
    CString reason;
    EXPECT_FALSE(ParseAlarmAckArchiveLine(ArchiveFields(L"1\t2\t3\t4\t5\t6\t7\t"), ack, reason));
    EXPECT_TRUE(ParseAlarmAckArchiveLine(ArchiveFields(L"1\t2\t3\t4\t5\t6\t7\t\tnote"), ack, reason));
    EXPECT_EQ(ack.inProgressUserId, 0);
    EXPECT_FALSE(ParseAlarmAckArchiveLine(ArchiveFields(L"1\t2\t3\tx\t5\t6\t7\t\tnote"), ack, reason));
    EXPECT_FALSE(ParseAlarmAckArchiveLine(ArchiveFields(L"1\t2\t3\t\t5\t6\t7\t\tnote"), ack, reason));
    EXPECT_FALSE(
        ParseAlarmAckArchiveLine(ArchiveFields(L"1\t2\t3\t4\t5\t6\t7\t\tnote\t0\t\t\t\t\textra"), ack, reason));
    AlarmAckHistoryArchiveRow h;
    EXPECT_FALSE(ParseAlarmAckHistoryArchiveLine(ArchiveFields(L"\x01\x02\t1\t\t\t3"), h, reason));
    EXPECT_TRUE(ParseAlarmAckHistoryArchiveLine(ArchiveFields(L"\x01\x02\t1\t\t\t3\tn"), h, reason));
    EXPECT_FALSE(ParseAlarmAckHistoryArchiveLine(ArchiveFields(L"\x01\x02\tx\t\t\t3\tn\t"), h, reason));
    EXPECT_FALSE(ParseAlarmAckHistoryArchiveLine(ArchiveFields(L"\x01\x02\t1\t\t\t3\tn\t\t"), h, reason));
}
