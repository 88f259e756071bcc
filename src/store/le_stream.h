// Little-endian reading and writing of packed record fields.
#pragma once
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace orvo::store {

// Reads fields in file order. Reading past the end sets a sticky failure flag and yields zeros,
// so a record reader can read all its fields and check ok() once.
class LeReader {
public:
    explicit LeReader(std::span<const std::uint8_t> data) : m_data(data) {}

    bool ok() const { return m_ok; }
    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_data.size() - m_pos; }

    template <std::size_t N> void bytes(std::array<char, N>& out) { raw(out.data(), N); }
    template <std::size_t N> void bytes(std::array<std::uint8_t, N>& out) { raw(out.data(), N); }
    std::int16_t i16() { return static_cast<std::int16_t>(unsigned16()); }
    std::uint16_t u16() { return unsigned16(); }
    std::int32_t i32() { return static_cast<std::int32_t>(unsigned32()); }
    float f32() { return std::bit_cast<float>(unsigned32()); }

private:
    void raw(void* out, std::size_t n) {
        if (!m_ok || remaining() < n) {
            m_ok = false;
            std::memset(out, 0, n);
            return;
        }
        std::memcpy(out, m_data.data() + m_pos, n);
        m_pos += n;
    }
    std::uint16_t unsigned16() {
        std::array<std::uint8_t, 2> b{};
        raw(b.data(), 2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t unsigned32() {
        std::array<std::uint8_t, 4> b{};
        raw(b.data(), 4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

class LeWriter {
public:
    explicit LeWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

    template <std::size_t N> void bytes(const std::array<char, N>& in) {
        m_out.insert(m_out.end(), in.begin(), in.end());
    }
    template <std::size_t N> void bytes(const std::array<std::uint8_t, N>& in) {
        m_out.insert(m_out.end(), in.begin(), in.end());
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u16(std::uint16_t v) {
        m_out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        m_out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }

private:
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            m_out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
    }
    std::vector<std::uint8_t>& m_out;
};

} // namespace orvo::store
