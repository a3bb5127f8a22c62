// The library's record memory: records as 32-bit references, resolved to addresses.
#include "sim/arena.h"

#include <cstring>

namespace quar {

std::uint32_t Arena::Allocate(std::size_t size) {
    Block block;
    block.size = size;
    block.bytes = std::make_unique<std::uint8_t[]>(size == 0 ? 1 : size);  // zeroed
    blocks_.push_back(std::move(block));
    return static_cast<std::uint32_t>(blocks_.size());
}

std::uint32_t Arena::AllocateText(std::string_view text) {
    std::uint32_t reference = Allocate(text.size() + 1);
    std::memcpy(Resolve(reference), text.data(), text.size());
    return reference;
}

void Arena::Free(std::uint32_t reference) {
    if (reference == 0 || reference > blocks_.size()) return;
    Block &block = blocks_[reference - 1];
    block.bytes.reset();
    block.size = 0;
}

void Arena::Clear() {
    blocks_.clear();
}

std::uint8_t *Arena::Resolve(std::uint32_t reference) const {
    if (reference == 0 || reference > blocks_.size()) return nullptr;
    return blocks_[reference - 1].bytes.get();
}

std::size_t Arena::SizeOf(std::uint32_t reference) const {
    if (reference == 0 || reference > blocks_.size()) return 0;
    return blocks_[reference - 1].size;
}

std::uint32_t ReadField(const std::uint8_t *record, std::size_t recordSize, std::size_t offset,
                        std::size_t width) {
    if (record == nullptr || offset + width > recordSize) return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
    return value;
}

void WriteField(std::uint8_t *record, std::size_t recordSize, std::size_t offset, std::size_t width,
                std::uint32_t value) {
    if (record == nullptr || offset + width > recordSize) return;
    for (std::size_t i = 0; i < width; ++i)
        record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace quar
