#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace quar {

// The library's record memory. Records are handed out as 32-bit references,
// the form every reference field inside a packed record has; Resolve turns
// one into an address. A record never moves while it lives.
class Arena {
public:
    // A zeroed record of `size` bytes; its reference is never 0.
    std::uint32_t Allocate(std::size_t size);
    // A zero-terminated copy of the text.
    std::uint32_t AllocateText(std::string_view text);
    void Free(std::uint32_t reference);
    void Clear();

    // The record's first byte; null for 0, an unknown or a freed reference.
    std::uint8_t *Resolve(std::uint32_t reference) const;
    // The record's size; 0 for a reference that resolves to nothing.
    std::size_t SizeOf(std::uint32_t reference) const;

private:
    struct Block {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t size = 0;
    };
    std::vector<Block> blocks_;  // reference - 1 indexes this
};

// Little-endian field access inside a record; out-of-record access reads 0
// and writes nothing.
std::uint32_t ReadField(const std::uint8_t *record, std::size_t recordSize, std::size_t offset,
                        std::size_t width);
void WriteField(std::uint8_t *record, std::size_t recordSize, std::size_t offset, std::size_t width,
                std::uint32_t value);

}  // namespace quar
