// A small JSON writer: nesting, commas and string escapes that hold for any bytes.
#include "app/json_writer.h"

#include <charconv>
#include <cmath>

namespace qvi {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendEscape(std::string &out, unsigned unit) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 15];
}

void AppendCodePoint(std::string &out, char32_t code) {
    if (code < 0x10000) {
        AppendEscape(out, static_cast<unsigned>(code));
        return;
    }
    const char32_t offset = code - 0x10000;
    AppendEscape(out, static_cast<unsigned>(0xD800 + (offset >> 10)));
    AppendEscape(out, static_cast<unsigned>(0xDC00 + (offset & 0x3FF)));
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The well-formed UTF-8 sequence at the start of the text (overlong forms,
// surrogates and code points past U+10FFFF are not): its code point and
// length; length 0 when the first byte starts none.
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        return {0, 0};
    }
    if (text.size() < length) return {0, 0};
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!IsContinuation(byte)) return {0, 0};
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {0, 0};
    return {code, length};
}

void AppendAscii(std::string &out, char c) {
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
        AppendEscape(out, static_cast<unsigned char>(c));
    else
        out += c;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        if (static_cast<unsigned char>(text[0]) < 0x80) {
            AppendAscii(out, text[0]);
            text.remove_prefix(1);
            continue;
        }
        const auto [code, length] = DecodeUtf8(text);
        AppendCodePoint(out, length == 0 ? kReplacement : code);
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return out + "\"";
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasMember_.empty()) {
        if (hasMember_.back()) text_ += ",";
        hasMember_.back() = true;
    }
}

JsonWriter &JsonWriter::BeginObject() {
    BeforeValue();
    text_ += "{";
    hasMember_.push_back(false);
    return *this;
}

JsonWriter &JsonWriter::BeginArray() {
    BeforeValue();
    text_ += "[";
    hasMember_.push_back(false);
    return *this;
}

JsonWriter &JsonWriter::Close(char bracket) {
    text_ += bracket;
    if (!hasMember_.empty()) hasMember_.pop_back();
    return *this;
}

JsonWriter &JsonWriter::EndObject() {
    return Close('}');
}

JsonWriter &JsonWriter::EndArray() {
    return Close(']');
}

JsonWriter &JsonWriter::Key(std::string_view name) {
    BeforeValue();
    text_ += JsonString(name) + ":";
    afterKey_ = true;
    return *this;
}

JsonWriter &JsonWriter::String(std::string_view text) {
    BeforeValue();
    text_ += JsonString(text);
    return *this;
}

JsonWriter &JsonWriter::Number(std::int64_t number) {
    BeforeValue();
    text_ += std::to_string(number);
    return *this;
}

JsonWriter &JsonWriter::Number(double number) {
    if (!std::isfinite(number)) return Null();
    BeforeValue();
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    text_.append(buffer, result.ptr);
    return *this;
}

JsonWriter &JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter &JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
    return *this;
}

std::string JsonWriter::Text() const {
    return hasMember_.empty() && !text_.empty() ? text_ + "\n" : text_;
}

}  // namespace qvi
