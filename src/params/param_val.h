#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qvi {

// The kind tag of a parameter value. The numbers are the library's.
enum class ValKind : std::uint32_t {
    U8 = 0,
    U16 = 1,
    U32 = 2,
    S8 = 3,
    S16 = 4,
    S32 = 5,
    Float = 6,
    Text = 7,
    Index = 8,  // a position in a choice list; -1 is the error value
};

// The value of a parameter: a small tagged value copied freely. The payload is
// kept normalised to its kind (8- and 16-bit kinds zero- or sign-extended), so
// everything derived from it sees only the meaningful bits.
class QV_param_val {
public:
    QV_param_val() = default;  // an unsigned 32-bit 0

    static QV_param_val U8(std::uint8_t v) { return {ValKind::U8, v}; }
    static QV_param_val U16(std::uint16_t v) { return {ValKind::U16, v}; }
    static QV_param_val U32(std::uint32_t v) { return {ValKind::U32, v}; }
    static QV_param_val S8(std::int8_t v) { return {ValKind::S8, static_cast<std::uint32_t>(v)}; }
    static QV_param_val S16(std::int16_t v) {
        return {ValKind::S16, static_cast<std::uint32_t>(v)};
    }
    static QV_param_val S32(std::int32_t v) {
        return {ValKind::S32, static_cast<std::uint32_t>(v)};
    }
    static QV_param_val Float(float v);
    static QV_param_val Text(std::string text);
    static QV_param_val Index(std::int32_t position) {
        return {ValKind::Index, static_cast<std::uint32_t>(position)};
    }
    // Any kind number with a raw payload, normalised to the kind.
    static QV_param_val FromPayload(ValKind kind, std::uint32_t payload) { return {kind, payload}; }

    ValKind GetKind() const { return kind_; }
    std::int32_t GetLong() const { return static_cast<std::int32_t>(payload_); }
    std::int16_t GetShort() const { return static_cast<std::int16_t>(payload_ & 0xFFFFu); }
    std::uint32_t Payload() const { return payload_; }
    float GetFloat() const;
    const std::string &GetText() const { return text_; }

    void SetPayload(std::uint32_t payload);

    // Kinds 0 to 6 as a double (unsigned kinds zero-, signed kinds
    // sign-extended); 0.0 for text and index.
    double ToDouble() const;

    // Changes the value in place to another numeric kind; -1 with the value
    // untouched when the number does not fit the target kind. Floats are
    // truncated toward zero on the way to an integer kind.
    int ConvertTo(ValKind target);

    // False for different kinds and for kinds above text; floats are equal when
    // neither is smaller than the other.
    bool Equals(const QV_param_val &other) const;

    // Radix 10 gives decimal, any other radix "0x" and upper-case hexadecimal;
    // floats always "%.3f", independent of the locale. At most 63 characters.
    std::string Format(int radix) const;
    std::string ToString() const { return Format(10); }

private:
    QV_param_val(ValKind kind, std::uint32_t payload) : kind_(kind) { SetPayload(payload); }

    ValKind kind_ = ValKind::U32;
    std::uint32_t payload_ = 0;
    std::string text_;
};

const char *ValKindName(ValKind kind);

}  // namespace qvi
