#pragma once
// Result codes of the suite's closed libraries. Bit 29 marks the suite's own codes;
// the high word names the facility (1 general, 2 database) and the low word the error.
#include <cstdint>

class CResult {
public:
    enum Code : uint32_t {
        Success = 0x00000000u,
        GeneralError = 0x20010001u,
        DatabaseError = 0x20020001u,
        FileError = 0x20030001u,
        NotFound = 0x20010002u,
        InvalidArgument = 0x20010003u,
    };

    constexpr CResult(uint32_t code = Success) : m_code(code) {}
    constexpr operator uint32_t() const { return m_code; }
    constexpr bool Succeeded() const { return m_code == Success; }
    constexpr bool Failed() const { return m_code != Success; }
    constexpr uint32_t Facility() const { return (m_code >> 16) & 0x0FFFu; }

private:
    uint32_t m_code;
};
