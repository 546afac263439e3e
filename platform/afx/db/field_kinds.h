#pragma once
// What the record set does with a bound member, by its kind (not for callers). Every
// operation on a member (snapshots for the dirty check, putting a snapshot back,
// pseudo-NULL and fetched-NULL values, the value sent as a parameter, storing an output
// parameter, reading a result column, the CDBVariant of GetFieldValue) lives in one
// description per FieldKind in field_kinds.cpp, and reaches it through one dispatch over
// the kinds. A new kind is one more description; no operation can forget it.
//
// Snapshots (odbc::Value) compare members without converting them: integers as int32 or
// int64, reals bit for bit (a NaN pseudo-NULL equals itself), text and bytes by value,
// CTime by its seconds, COleDateTime by its DATE or, when not valid, its status.

#include <cstdint>

#include "platform/afx/db/fieldexchange.h"
#include "platform/afx/db/odbc_driver.h"

class CDBVariant;

namespace zyn::afx::fields {

// The member's value as it is, for change detection and CancelUpdate.
odbc::Value Snapshot(const FieldRef& f);
// Whether the member still holds a snapshot taken with Snapshot, without copying it.
bool Holds(const FieldRef& f, const odbc::Value& snapshot);
// Puts a snapshot back into the member.
void Restore(const FieldRef& f, const odbc::Value& snapshot);

// The values AddNew leaves in a member (see recordset.h), and those a fetched NULL
// leaves: 0 for numbers, so code that forgets IsFieldNull reads 0 or "".
void SetPseudoNull(const FieldRef& f);
void SetNeutral(const FieldRef& f);

// How the member travels as a parameter: the driver's kind, the value sent (NULL when
// isNull, and for a COleDateTime that is not valid), and the buffer an output
// parameter needs (text: UTF-16 units for nMaxLength characters; bytes: nMaxLength;
// 0 for fixed-size kinds).
odbc::Kind DriverKind(FieldKind kind);
odbc::Value SendValue(const FieldRef& f, bool isNull);
uint64_t OutputColumnSize(const FieldRef& f);

// Stores an output parameter's value received from the driver (never NULL here).
// Integers that do not fit the member raise CDBException 22003, as column reads do.
void Store(const FieldRef& f, const odbc::Value& v);

// Reads result column `col` (1-based) of the statement's current row into the member;
// false for NULL (the member is then left as it was). Never cuts: a value that does not
// fit raises CDBException (22003 out of range, 22018 not a number, 22008 a time the
// member cannot hold).
bool Read(odbc::Statement& st, uint16_t col, int16_t sqlType, const FieldRef& f);

// The member's value as GetFieldValue returns it.
void ToVariant(const FieldRef& f, CDBVariant& var);

} // namespace zyn::afx::fields
