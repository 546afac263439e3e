#pragma once
// The access-control object model: an object's type, 32-bit ID, segment and name.

#include <cstdint>

#include "platform/base/cstring.h"
#include "platform/base/object.h"

// Type codes of access-control objects. The codes are the suite's database values;
// any value read from the database is carried as it is.
enum ZynAcObjectType : int32_t {
    ZynAcObjectUnknown = -1,
};

// Database server types of the system.
enum ZynDBServerType : int32_t {
    ZynDBServerUnknown = -1,
    ZynDBServerStandalone = 0,
    ZynDBServerEnterpriseMaster = 3,
    ZynDBServerEnterpriseRegion = 4,
};

// Segment ID meaning "all segments" or "none".
inline constexpr int32_t ZynAllSegments = -9999;

class CZynAcObject : public CObject {
    DECLARE_DYNAMIC(CZynAcObject)
public:
    CZynAcObject() = default;
    CZynAcObject(ZynAcObjectType type, int32_t id, int32_t segmentId, LPCWSTR name);

    ZynAcObjectType GetType() const { return m_type; }
    void SetType(ZynAcObjectType type) { m_type = type; }
    int32_t GetID() const { return m_id; }
    void SetID(int32_t id) { m_id = id; }
    int32_t GetSegmentID() const { return m_segmentId; }
    void SetSegmentID(int32_t segmentId) { m_segmentId = segmentId; }
    const CString& GetName() const { return m_name; }
    // Stores the name without its trailing blanks (database CHAR columns pad them).
    void SetName(LPCWSTR name);

private:
    ZynAcObjectType m_type = ZynAcObjectUnknown;
    int32_t m_id = -1;
    int32_t m_segmentId = ZynAllSegments;
    CString m_name;
};

// True when the panel type code is one of the QMX panel types (75 or 76).
bool ZynIsQMXPanelType(LONG panelType);
