// Strict, locale-independent reading and writing of numbers.
#include "params/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace qvi {

namespace {

constexpr long kExponentLimit = 100000;  // far beyond any double, small enough to add safely

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Removes a leading sign; true when it was a minus.
bool TakeSign(std::string_view &text) {
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

// The shape of a plain decimal number without its sign. `order` is the decimal
// order of magnitude of its first non-zero digit (exponent included), so an
// overflow can be told from an underflow when the conversion reports either.
struct DecimalShape {
    bool valid = false;
    long order = 0;
};

// Reads a run of digits from text at pos; returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t &pos) {
    std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos - start;
}

DecimalShape ShapeOf(std::string_view body) {
    std::size_t pos = 0;
    const std::size_t intDigits = SkipDigits(body, pos);
    std::size_t fracDigits = 0;
    if (pos < body.size() && body[pos] == '.') {
        ++pos;
        fracDigits = SkipDigits(body, pos);
    }
    if (intDigits + fracDigits == 0) return {};
    const std::size_t mantissaEnd = pos;

    long exponent = 0;
    if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
        std::string_view rest = body.substr(pos + 1);
        bool negative = TakeSign(rest);
        std::size_t expPos = 0;
        if (SkipDigits(rest, expPos) == 0 || expPos != rest.size()) return {};
        for (char c : rest) exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
        if (negative) exponent = -exponent;
        pos = body.size();
    }
    if (pos != body.size()) return {};

    long order = 0;
    std::string_view mantissa = body.substr(0, mantissaEnd);
    std::size_t first = mantissa.find_first_of("123456789");
    if (first != std::string_view::npos) {
        order = first < intDigits ? static_cast<long>(intDigits - 1 - first)
                                  : -static_cast<long>(first - intDigits);  // the point counts 1
    }
    return {true, order + exponent};
}

}  // namespace

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    text = Trim(text);
    std::string_view body = text;
    bool negative = TakeSign(body);
    std::size_t pos = 0;
    if (SkipDigits(body, pos) == 0 || pos != body.size()) return std::nullopt;
    // from_chars takes a minus but no plus, so hand it the text from the digits
    // on, or from the minus when there is one.
    std::string_view digits = negative ? text.substr(text.size() - body.size() - 1) : body;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseDecimal(std::string_view text) {
    std::string_view body = Trim(text);
    bool negative = TakeSign(body);
    DecimalShape shape = ShapeOf(body);
    if (!shape.valid) return std::nullopt;
    double value = 0.0;
    auto [end, ec] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (shape.order >= 0) return std::nullopt;
        value = 0.0;
    } else if (ec != std::errc() || end != body.data() + body.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string FormatFixed(double value, int width, int precision) {
    // The longest double in fixed notation has 309 digits before the point.
    std::array<char, 400> buffer{};
    precision = std::clamp(precision, 0, 60);
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, precision);
    std::string text = ec == std::errc() ? std::string(buffer.data(), end) : std::string("ERROR");
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string FormatHexUpper(std::uint32_t value) {
    std::array<char, 8> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, 16);
    std::string text(buffer.data(), ec == std::errc() ? end : buffer.data());
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return text;
}

}  // namespace qvi
