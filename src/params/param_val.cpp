// The tagged parameter value: kinds, conversion, comparison and formatting.
#include "params/param_val.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qvi {

namespace {

constexpr std::size_t kMaxFormatLength = 63;

struct KindLimits {
    double min;
    double max;
};

bool IsNumeric(ValKind kind) {
    return kind <= ValKind::Float;
}

KindLimits LimitsOf(ValKind kind) {
    switch (kind) {
        case ValKind::U8:
            return {0, 255};
        case ValKind::U16:
            return {0, 65535};
        case ValKind::U32:
            return {0, 4294967295.0};
        case ValKind::S8:
            return {-128, 127};
        case ValKind::S16:
            return {-32768, 32767};
        case ValKind::S32:
            return {-2147483648.0, 2147483647.0};
        default:
            return {-std::numeric_limits<double>::infinity(),
                    std::numeric_limits<double>::infinity()};
    }
}

std::string FormatFloat(float value) {
    char buffer[kMaxFormatLength + 1];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                   std::chars_format::fixed, 3);
    if (ec != std::errc()) return "ERROR";
    return std::string(buffer, end);
}

std::string FormatUnsigned(std::uint32_t value, bool hex) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, hex ? "0x%X" : "%u", value);
    return buffer;
}

std::string FormatSigned(std::int32_t value, bool hex) {
    if (hex) return FormatUnsigned(static_cast<std::uint32_t>(value), true);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

}  // namespace

QV_param_val QV_param_val::Float(float v) {
    return {ValKind::Float, std::bit_cast<std::uint32_t>(v)};
}

QV_param_val QV_param_val::Text(std::string text) {
    QV_param_val value(ValKind::Text, 0);
    value.text_ = std::move(text);
    return value;
}

float QV_param_val::GetFloat() const {
    return std::bit_cast<float>(payload_);
}

void QV_param_val::SetPayload(std::uint32_t payload) {
    switch (kind_) {
        case ValKind::U8:
            payload_ = payload & 0xFFu;
            break;
        case ValKind::U16:
            payload_ = payload & 0xFFFFu;
            break;
        case ValKind::S8:
            payload_ = static_cast<std::uint32_t>(static_cast<std::int8_t>(payload & 0xFFu));
            break;
        case ValKind::S16:
            payload_ = static_cast<std::uint32_t>(static_cast<std::int16_t>(payload & 0xFFFFu));
            break;
        default:
            payload_ = payload;
            break;
    }
}

double QV_param_val::ToDouble() const {
    switch (kind_) {
        case ValKind::U8:
        case ValKind::U16:
        case ValKind::U32:
            return static_cast<double>(payload_);
        case ValKind::S8:
        case ValKind::S16:
        case ValKind::S32:
            return static_cast<double>(static_cast<std::int32_t>(payload_));
        case ValKind::Float:
            return static_cast<double>(GetFloat());
        default:
            return 0.0;
    }
}

int QV_param_val::ConvertTo(ValKind target) {
    if (target == kind_) return 0;
    if (!IsNumeric(kind_) || !IsNumeric(target)) return -1;
    if (target == ValKind::Float) {
        *this = Float(static_cast<float>(ToDouble()));
        return 0;
    }
    double number = std::trunc(ToDouble());
    KindLimits limits = LimitsOf(target);
    if (std::isnan(number) || number < limits.min || number > limits.max) return -1;
    std::uint32_t payload = number < 0
                                ? static_cast<std::uint32_t>(static_cast<std::int32_t>(number))
                                : static_cast<std::uint32_t>(number);
    *this = QV_param_val(target, payload);
    return 0;
}

bool QV_param_val::Equals(const QV_param_val &other) const {
    if (kind_ != other.kind_ || kind_ > ValKind::Text) return false;
    switch (kind_) {
        case ValKind::Float: {
            float a = GetFloat(), b = other.GetFloat();
            return !(a < b) && !(b < a);
        }
        case ValKind::Text:
            return text_ == other.text_;
        default:
            return payload_ == other.payload_;
    }
}

std::string QV_param_val::Format(int radix) const {
    const bool hex = radix != 10;
    std::string text;
    switch (kind_) {
        case ValKind::U8:
        case ValKind::U16:
        case ValKind::U32:
            text = FormatUnsigned(payload_, hex);
            break;
        case ValKind::S8:
        case ValKind::S16:
        case ValKind::S32:
            text = FormatSigned(GetLong(), hex);
            break;
        case ValKind::Float:
            text = FormatFloat(GetFloat());
            break;
        case ValKind::Text:
            text = text_;
            break;
        case ValKind::Index:
            text = FormatSigned(GetLong(), false);
            break;
    }
    if (text.size() > kMaxFormatLength) text.resize(kMaxFormatLength);
    return text;
}

const char *ValKindName(ValKind kind) {
    switch (kind) {
        case ValKind::U8:
            return "unsigned 8-bit";
        case ValKind::U16:
            return "unsigned 16-bit";
        case ValKind::U32:
            return "unsigned 32-bit";
        case ValKind::S8:
            return "signed 8-bit";
        case ValKind::S16:
            return "signed 16-bit";
        case ValKind::S32:
            return "signed 32-bit";
        case ValKind::Float:
            return "float";
        case ValKind::Text:
            return "text";
        case ValKind::Index:
            return "index";
    }
    return "unknown";
}

}  // namespace qvi
