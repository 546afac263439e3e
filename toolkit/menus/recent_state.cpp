// The byte layout of the recently used items' saved state (recent_state.h).
#include "toolkit/menus/recent_state.h"

namespace zyn::menus {

namespace {

void Put(std::vector<uint8_t>& out, int32_t value)
{
    const auto u = static_cast<uint32_t>(value);
    out.push_back(static_cast<uint8_t>(u));
    out.push_back(static_cast<uint8_t>(u >> 8));
    out.push_back(static_cast<uint8_t>(u >> 16));
    out.push_back(static_cast<uint8_t>(u >> 24));
}

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool Get(int32_t& value)
    {
        if (m_bytes.size() - m_pos < 4)
            return false;
        const uint32_t u = static_cast<uint32_t>(m_bytes[m_pos]) | static_cast<uint32_t>(m_bytes[m_pos + 1]) << 8 |
            static_cast<uint32_t>(m_bytes[m_pos + 2]) << 16 | static_cast<uint32_t>(m_bytes[m_pos + 3]) << 24;
        value = static_cast<int32_t>(u);
        m_pos += 4;
        return true;
    }
    size_t Left() const { return m_bytes.size() - m_pos; }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

template <class T>
std::optional<T> Bad(std::string* error, const char* why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

} // namespace

std::vector<uint8_t> EncodeRecentCommands(std::span<const int32_t> ids)
{
    std::vector<uint8_t> out;
    out.reserve(4 + 4 * ids.size());
    Put(out, static_cast<int32_t>(ids.size()));
    for (const int32_t id : ids)
        Put(out, id);
    return out;
}

std::optional<std::vector<int32_t>> DecodeRecentCommands(std::span<const uint8_t> bytes, std::string* error)
{
    using Result = std::vector<int32_t>;
    Reader r(bytes);
    int32_t count = 0;
    if (!r.Get(count))
        return Bad<Result>(error, "shorter than its count");
    if (count < 0)
        return Bad<Result>(error, "negative count");
    if (r.Left() != 4 * static_cast<size_t>(count))
        return Bad<Result>(error, "the count does not match the size");
    Result ids(static_cast<size_t>(count));
    for (int32_t& id : ids)
        r.Get(id);
    return ids;
}

std::vector<uint8_t> EncodeRecentSubmenus(const std::vector<std::vector<int32_t>>& paths)
{
    std::vector<uint8_t> out;
    Put(out, static_cast<int32_t>(paths.size()));
    for (const auto& path : paths) {
        for (const int32_t pos : path)
            Put(out, pos);
        Put(out, kRecentPathEnd);
    }
    return out;
}

std::optional<std::vector<std::vector<int32_t>>> DecodeRecentSubmenus(std::span<const uint8_t> bytes, std::string* error)
{
    using Result = std::vector<std::vector<int32_t>>;
    Reader r(bytes);
    int32_t count = 0;
    if (!r.Get(count))
        return Bad<Result>(error, "shorter than its count");
    if (count < 0)
        return Bad<Result>(error, "negative count");
    // Every entry takes at least its -1.
    if (static_cast<size_t>(count) > r.Left() / 4)
        return Bad<Result>(error, "more entries than the size can hold");
    Result paths(static_cast<size_t>(count));
    for (auto& path : paths) {
        for (;;) {
            int32_t value = 0;
            if (!r.Get(value))
                return Bad<Result>(error, r.Left() ? "a value cut short" : "a path without its -1");
            if (value == kRecentPathEnd)
                break;
            if (value < 0)
                return Bad<Result>(error, "a negative position");
            path.push_back(value);
        }
    }
    if (r.Left())
        return Bad<Result>(error, "bytes after the last entry");
    return paths;
}

} // namespace zyn::menus
