#pragma once
// The suite's system-wide options and cardholder settings as an operator's session sees
// them. The login fills them from the database; a host or test may set them directly.
#include <cstdint>

// What the configuration screens read of the system options.
class CZynAcsSystemOptions {
public:
    // Whether objects are divided into segments.
    bool SegmentsInUse() const { return m_bSegmentsInUse; }
    void SetSegmentsInUse(bool inUse) { m_bSegmentsInUse = inUse; }
    // The kind of database server this installation runs on (values of ZynDBServerType:
    // 3 enterprise master, 4 enterprise region; 0 a stand-alone server).
    int32_t ServerType() const { return m_nServerType; }
    void SetServerType(int32_t type) { m_nServerType = type; }
    // A server that behaves as an enterprise region although its type says otherwise.
    bool IsEquivalentToEnterpriseRegion() const { return m_bEquivalentToRegion; }
    void SetEquivalentToEnterpriseRegion(bool equivalent) { m_bEquivalentToRegion = equivalent; }

private:
    bool m_bSegmentsInUse = false;
    int32_t m_nServerType = 0;
    bool m_bEquivalentToRegion = false;
};

// The cardholder settings; nothing of them is read yet beyond their existence.
class CZynAcsCardholderConfig {
public:
    int32_t MaxBadgesPerCardholder() const { return m_nMaxBadges; }
    void SetMaxBadgesPerCardholder(int32_t count) { m_nMaxBadges = count; }

private:
    int32_t m_nMaxBadges = 0;
};
