#include "app/cli/json_writer.h"

#include <cmath>
#include <cstdio>

#include "app/core/text_encoding.h"

namespace korvalend::cli {

void JsonWriter::Key(std::string_view key) {
    if (!first_) out_ += ',';
    if (depth_ > 0) out_ += '\n' + std::string(static_cast<std::size_t>(depth_) * 2, ' ');
    first_ = false;
    if (!key.empty()) {
        Quoted(key);
        out_ += ": ";
    }
}

void JsonWriter::Quoted(std::string_view text) {
    out_ += '"';
    for (char ch : DisplayText(text)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += ch;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out_ += escape;
        } else {
            out_ += ch;
        }
    }
    out_ += '"';
}

void JsonWriter::BeginObject(std::string_view key) {
    Key(key);
    out_ += '{';
    ++depth_;
    first_ = true;
}

void JsonWriter::EndObject() {
    --depth_;
    if (!first_) out_ += '\n' + std::string(static_cast<std::size_t>(depth_) * 2, ' ');
    out_ += '}';
    first_ = false;
    if (depth_ == 0) out_ += '\n';
}

void JsonWriter::BeginArray(std::string_view key) {
    Key(key);
    out_ += '[';
    ++depth_;
    first_ = true;
}

void JsonWriter::EndArray() {
    --depth_;
    if (!first_) out_ += '\n' + std::string(static_cast<std::size_t>(depth_) * 2, ' ');
    out_ += ']';
    first_ = false;
}

void JsonWriter::String(std::string_view key, std::string_view bytes) {
    Key(key);
    Quoted(bytes);
}

void JsonWriter::Number(std::string_view key, double value, int decimals) {
    Key(key);
    if (!std::isfinite(value)) {
        out_ += "null";
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    out_ += text;
}

void JsonWriter::Integer(std::string_view key, std::int64_t value) {
    Key(key);
    out_ += std::to_string(value);
}

void JsonWriter::Bool(std::string_view key, bool value) {
    Key(key);
    out_ += value ? "true" : "false";
}

void JsonWriter::Null(std::string_view key) {
    Key(key);
    out_ += "null";
}

}  // namespace korvalend::cli
