// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/gif_lzw.h"

#include <algorithm>

namespace zelbrook {

namespace {

constexpr int kLargestCodeBits = 12;
// Codes are added up to 4094 and never 4095: some readers keep rewriting
// that last entry once the table is full, so it must stay unused.
constexpr int kCodeLimit = 4095;
// How many indices of a full table are weighed at a time.
constexpr std::size_t kWindow = 4096;

// The codes in the table, by prefix code and next index, in an open-addressed
// table whose entries carry the generation that added them, so that a clear
// code empties it at once.
class CodeTable
{
public:
    CodeTable()
        : m_slots(kSlots, 0)
    {}

    void clear() { ++m_generation; }

    // The code of the prefix followed by the index, or -1 with `slot` set to
    // where it would go.
    int find(std::uint32_t key, std::size_t &slot) const
    {
        slot = (key * 2654435761u) >> (32 - kSlotBits);
        while (true) {
            const std::uint64_t entry = m_slots[slot];
            if (entry >> 32 != m_generation)
                return -1;
            if (((entry >> 12) & 0xFFFFFu) == key)
                return static_cast<int>(entry & 0xFFFu);
            slot = (slot + 1) & (kSlots - 1);
        }
    }

    void add(std::size_t slot, std::uint32_t key, int code)
    {
        m_slots[slot] = (std::uint64_t(m_generation) << 32) | (std::uint64_t(key) << 12) | std::uint64_t(code);
    }

private:
    static constexpr int kSlotBits = 13;
    static constexpr std::size_t kSlots = std::size_t(1) << kSlotBits;

    std::vector<std::uint64_t> m_slots;
    std::uint32_t m_generation = 1;
};

// Codes packed least significant bit first.
class BitWriter
{
public:
    explicit BitWriter(std::vector<std::uint8_t> &out)
        : m_out(out)
    {}

    void put(int code, int bits)
    {
        m_buffer |= std::uint32_t(code) << m_used;
        m_used += bits;
        m_written += std::size_t(bits);
        while (m_used >= 8) {
            m_out.push_back(std::uint8_t(m_buffer));
            m_buffer >>= 8;
            m_used -= 8;
        }
    }

    void flush()
    {
        if (m_used > 0)
            m_out.push_back(std::uint8_t(m_buffer));
        m_buffer = 0;
        m_used = 0;
    }

    std::size_t written() const { return m_written; }

private:
    std::vector<std::uint8_t> &m_out;
    std::uint32_t m_buffer = 0;
    int m_used = 0;
    std::size_t m_written = 0;
};

} // namespace

int lzwCodeSize(int highest)
{
    int bits = 2;
    while ((1 << bits) <= highest)
        ++bits;
    return bits;
}

std::vector<std::uint8_t> lzwCode(const std::uint8_t *indices, std::size_t count, int codeSize)
{
    std::vector<std::uint8_t> out;
    out.reserve(count / 2 + 16);
    BitWriter bits(out);
    CodeTable table;
    const int clearCode = 1 << codeSize;
    int next = clearCode + 2;
    int width = codeSize + 1;
    // Indices and bits since the table filled, and the rate it filled at.
    std::size_t sinceClear = 0, bitsAtClear = 0, windowStart = 0, bitsAtWindow = 0;
    double filledRate = 0;
    bits.put(clearCode, width);
    if (count == 0) {
        bits.put(clearCode + 1, width);
        bits.flush();
        return out;
    }
    int prefix = indices[0];
    for (std::size_t i = 1; i < count; ++i) {
        const std::uint32_t key = (std::uint32_t(prefix) << 8) | indices[i];
        std::size_t slot = 0;
        if (const int code = table.find(key, slot); code >= 0) {
            prefix = code;
            continue;
        }
        bits.put(prefix, width);
        if (next >= (1 << width) && width < kLargestCodeBits)
            ++width;
        if (next < kCodeLimit) {
            table.add(slot, key, next++);
            if (next == kCodeLimit) {
                filledRate = double(i - sinceClear) / double(bits.written() - bitsAtClear);
                windowStart = i;
                bitsAtWindow = bits.written();
            }
        } else if (i - windowStart >= kWindow) {
            const double rate = double(i - windowStart) / double(bits.written() - bitsAtWindow);
            windowStart = i;
            bitsAtWindow = bits.written();
            if (rate < filledRate) {
                bits.put(clearCode, width);
                table.clear();
                next = clearCode + 2;
                width = codeSize + 1;
                sinceClear = i;
                bitsAtClear = bits.written();
            }
        }
        prefix = indices[i];
    }
    bits.put(prefix, width);
    if (next >= (1 << width) && width < kLargestCodeBits)
        ++width;
    bits.put(clearCode + 1, width);
    bits.flush();
    return out;
}

void appendImageData(std::vector<std::uint8_t> &out, const std::vector<std::uint8_t> &code, int codeSize)
{
    out.push_back(std::uint8_t(codeSize));
    for (std::size_t at = 0; at < code.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, code.size() - at);
        out.push_back(std::uint8_t(length));
        out.insert(out.end(), code.begin() + std::ptrdiff_t(at), code.begin() + std::ptrdiff_t(at + length));
    }
    out.push_back(0);
}

std::size_t imageDataSize(std::size_t codeBytes) { return 2 + codeBytes + (codeBytes + 254) / 255; }

} // namespace zelbrook
