#include "builder/line_file.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace korvalend {

std::vector<std::string> SplitIntoLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t limit = std::min(content.size(), start + kMaxLineChars);
        std::size_t end = start;
        while (end < limit && content[end] != '\n') ++end;
        if (end < limit) ++end;  // the line feed belongs to its line
        lines.emplace_back(content, start, end - start);
        start = end;
    }
    return lines;
}

bool ReadFileLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string content;
    std::array<char, 65536> chunk{};
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        content.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (in.eof()) break;
    }
    // A directory opens on some systems but cannot be read: that is a failure, not an empty file.
    if (in.bad() || !in.eof()) return false;
    lines = SplitIntoLines(content);
    return true;
}

}  // namespace korvalend
