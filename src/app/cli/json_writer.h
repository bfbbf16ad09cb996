#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvalend::cli {

// A small writer of one JSON document, indented for reading. Strings are shown texts (bytes
// read as UTF-8, else Windows-1252), so the output is always valid JSON.
class JsonWriter {
  public:
    void BeginObject(std::string_view key = {});
    void EndObject();
    void BeginArray(std::string_view key = {});
    void EndArray();
    void String(std::string_view key, std::string_view bytes);
    void Number(std::string_view key, double value, int decimals);
    void Integer(std::string_view key, std::int64_t value);
    void Bool(std::string_view key, bool value);
    void Null(std::string_view key);
    const std::string& Text() const { return out_; }

  private:
    void Key(std::string_view key);
    void Quoted(std::string_view text);

    std::string out_;
    int depth_ = 0;
    bool first_ = true;
};

}  // namespace korvalend::cli
