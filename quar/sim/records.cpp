// Lays out a module's specification, camera structures and colour matrices in the record arena.
#include "sim/records.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace quar {

namespace {

using qvi::keys::Field;
using qvi::keys::KeyRow;
using qvi::keys::Record;

std::size_t WidthOf(Field field) {
    switch (field) {
        case Field::U8:
            return 1;
        case Field::U16:
        case Field::S16:
            return 2;
        case Field::U32:
        case Field::S32:
        case Field::F32:
        case Field::TextRef:
            return 4;
        case Field::InlineText:
            return qvi::keys::kInlineTextSize;
        case Field::None:
            break;
    }
    return 0;
}

// A number as the bits of an integer field, after the library's own offset.
std::uint32_t IntegerBits(const KeyRow &row, const KeyValue &value) {
    double number = value.number;
    if (value.isText) {
        // A text kept as a number: the value of the word that equals it, or
        // of the word it names inside a longer name ("12_8K_1K_12"); a text
        // that names none is kept as all bits set.
        number = 0xFFFF;
        for (const qvi::keys::Word &word : row.words)
            if (value.text.find(word.word) != std::string::npos) number = word.value;
        for (const qvi::keys::Word &word : row.words)
            if (word.word == value.text) number = word.value;
    }
    // The loader refuses numbers the key cannot hold, but a double beyond the
    // integers is undefined to convert: whatever still arrives is kept at the
    // nearest limit of the key's type or bit field.
    if (!value.isText) {
        const IntegerLimits limits = LimitsOf(row);
        number = std::isnan(number) ? 0.0
                                    : std::clamp(number, static_cast<double>(limits.min),
                                                 static_cast<double>(limits.max));
    }
    const double shifted = std::trunc(number) + row.storedDelta;
    auto whole = static_cast<std::int64_t>(shifted);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole));
}

// A float field holds what a float can; a larger number is kept at its limit.
float ToFloat(double number) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::isnan(number) ? number : std::clamp(number, -kMax, kMax));
}

void WriteValue(Arena &arena, RecordView record, const KeyRow &row, const KeyValue &value) {
    const std::size_t offset = row.location.offset;
    switch (row.location.field) {
        case Field::InlineText: {
            if (offset + qvi::keys::kInlineTextSize > record.size) return;
            std::size_t length = std::min(value.text.size(), qvi::keys::kInlineTextSize - 1);
            std::memset(record.bytes + offset, 0, qvi::keys::kInlineTextSize);
            std::memcpy(record.bytes + offset, value.text.data(), length);
            return;
        }
        case Field::TextRef:
            WriteField(record.bytes, record.size, offset, 4, arena.AllocateText(value.text));
            return;
        case Field::F32:
            WriteField(record.bytes, record.size, offset, 4,
                       std::bit_cast<std::uint32_t>(ToFloat(value.number)));
            return;
        case Field::None:
            return;
        default:
            break;
    }
    const std::size_t width = WidthOf(row.location.field);
    std::uint32_t bits = IntegerBits(row, value);
    // A bit field shares its field: the other bits stay as they are.
    if (row.location.bitCount > 0)
        bits = qvi::keys::InsertBits(ReadField(record.bytes, record.size, offset, width), bits,
                                     row.location);
    WriteField(record.bytes, record.size, offset, width, bits);
}

int PortCount(const qvi::keys::Layout &layout) {
    return layout.cameraPorts > 0 ? layout.cameraPorts : 1;
}

void AllocateStructures(Arena &arena, const qvi::keys::Layout &layout, Element &element) {
    // Sixteen bytes at least: a board's header and the fields read behind it.
    // A record that references its current camera structure reaches past the
    // specification to hold that reference, which names the record itself
    // until a camera copy replaces it.
    std::size_t recordSize = std::max<std::size_t>(layout.specSize, 16);
    if (layout.currentCameraRefOffset >= 0)
        recordSize =
            std::max(recordSize, static_cast<std::size_t>(layout.currentCameraRefOffset) + 4);
    element.spec = arena.Allocate(recordSize);
    if (layout.currentCameraRefOffset >= 0)
        WriteField(arena.Resolve(element.spec), recordSize,
                   static_cast<std::size_t>(layout.currentCameraRefOffset), 4, element.spec);
    if (layout.cameraSize == 0) return;
    for (int port = 0; port < PortCount(layout); ++port) {
        std::uint32_t camera = element.spec;
        if (layout.cameraRefOffset >= 0) {
            camera = arena.Allocate(layout.cameraSize);
            WriteField(
                arena.Resolve(element.spec), arena.SizeOf(element.spec),
                static_cast<std::size_t>(layout.cameraRefOffset + port * layout.cameraRefStride), 4,
                camera);
        }
        element.cameras.push_back(camera);
        if (layout.matrixSize > 0 && layout.matrixRefOffset >= 0) {
            std::uint32_t matrix = arena.Allocate(layout.matrixSize);
            WriteField(arena.Resolve(camera), arena.SizeOf(camera),
                       static_cast<std::size_t>(layout.matrixRefOffset), 4, matrix);
            element.matrices.push_back(matrix);
        }
    }
}

}  // namespace

RecordView RecordOf(const Arena &arena, const Element &element, const KeyRow &row, int port) {
    std::uint32_t reference = 0;
    std::size_t index = static_cast<std::size_t>(row.perPort ? port : 0);
    switch (row.location.record) {
        case Record::Spec:
            reference = element.spec;
            break;
        case Record::Camera:
            if (index < element.cameras.size()) reference = element.cameras[index];
            break;
        case Record::Matrix:
            if (index < element.matrices.size()) reference = element.matrices[index];
            break;
        case Record::None:
            break;
    }
    return {arena.Resolve(reference), arena.SizeOf(reference)};
}

void BuildRecords(Arena &arena, const ModuleConfig &config, Element &element) {
    const qvi::keys::ModelTable &table = *config.table;
    AllocateStructures(arena, table.layout, element);
    if (table.layout.slotOffset >= 0)
        WriteField(arena.Resolve(element.spec), arena.SizeOf(element.spec),
                   static_cast<std::size_t>(table.layout.slotOffset), 2,
                   static_cast<std::uint32_t>(config.slot));
    for (const KeyRow &row : table.keys) {
        int ports = row.perPort ? static_cast<int>(config.ports.size()) : 1;
        for (int port = 0; port < ports; ++port) {
            const PortValues &values = config.ports[static_cast<std::size_t>(port)];
            auto found = values.find(row.handle);
            if (found == values.end()) continue;
            WriteValue(arena, RecordOf(arena, element, row, port), row, found->second);
        }
    }
}

void FreeRecords(Arena &arena, Element &element) {
    for (std::uint32_t matrix : element.matrices) arena.Free(matrix);
    for (std::uint32_t camera : element.cameras)
        if (camera != element.spec) arena.Free(camera);
    arena.Free(element.spec);
    element.spec = 0;
    element.cameras.clear();
    element.matrices.clear();
}

void WriteBoardHeader(Arena &arena, const Element &element, int typeNumber, int revision,
                      int channels) {
    std::uint8_t *spec = arena.Resolve(element.spec);
    std::size_t size = arena.SizeOf(element.spec);
    WriteField(spec, size, qvi::keys::kBoardTypeNumberOffset, 2,
               static_cast<std::uint32_t>(typeNumber));
    WriteField(spec, size, qvi::keys::kBoardRevisionOffset, 2,
               static_cast<std::uint32_t>(revision));
    WriteField(spec, size, qvi::keys::kBoardChannelsOffset, 2,
               static_cast<std::uint32_t>(channels));
}

int ReadBoardHeader(const Arena &arena, const Element &element, std::uint16_t offset) {
    return static_cast<std::int16_t>(
        ReadField(arena.Resolve(element.spec), arena.SizeOf(element.spec), offset, 2));
}

std::optional<std::uint32_t> ReadRawField(const Arena &arena, const Element &element,
                                          const KeyRow &row, int port) {
    Field field = row.location.field;
    if (field == Field::None || field == Field::InlineText || field == Field::TextRef ||
        field == Field::F32)
        return std::nullopt;
    RecordView record = RecordOf(arena, element, row, port);
    if (record.bytes == nullptr) return std::nullopt;
    std::uint32_t raw = ReadField(record.bytes, record.size, row.location.offset, WidthOf(field));
    if (row.location.bitCount == 0) return raw;
    const bool isSigned = field == Field::S16 || field == Field::S32;
    const auto bits = qvi::keys::ExtractBits(raw, row.location,
                                             static_cast<int>(WidthOf(field) * 8), isSigned);
    return static_cast<std::uint32_t>(bits);
}

int ActivePort(const Arena &arena, const Element &element) {
    const qvi::keys::Layout &layout = element.table->layout;
    if (layout.activePortOffset < 0) return 0;
    const int port = ReadBoardHeader(arena, element, static_cast<std::uint16_t>(layout.activePortOffset));
    return port >= 0 && port < layout.cameraPorts ? port : 0;
}

}  // namespace quar
