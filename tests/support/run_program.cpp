#include "support/run_program.h"

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvalend::test {

std::string MakeTempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvalend-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

ProgramResult RunProgram(const std::string& commandLine) {
    const std::string dir = MakeTempDir();
    const std::string out = dir + "/out", err = dir + "/err";
    const std::string full = "XDG_CONFIG_HOME='" + dir + "/config' " + commandLine + " >'" + out +
                             "' 2>'" + err + "' </dev/null";
    const int status = std::system(full.c_str());
    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    std::filesystem::remove_all(dir);
    return result;
}

namespace {

class JsonChecker {
  public:
    explicit JsonChecker(const std::string& text) : s_(text) {}
    bool Document() {
        Space();
        if (!Value(0)) return false;
        Space();
        return i_ == s_.size();
    }

  private:
    void Space() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (s_.compare(i_, w.size(), w) != 0) return false;
        i_ += w.size();
        return true;
    }
    bool String() {
        if (s_[i_] != '"') return false;
        for (++i_; i_ < s_.size(); ++i_) {
            const auto c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                if (++i_ >= s_.size()) return false;
                const char e = s_[i_];
                if (e == 'u') {
                    for (int k = 0; k < 4; ++k) {
                        if (++i_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[i_])))
                            return false;
                    }
                } else if (std::string("\"\\/bfnrt").find(e) == std::string::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Number() {
        const std::size_t start = i_;
        if (s_[i_] == '-') ++i_;
        while (i_ < s_.size() &&
               (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.' ||
                s_[i_] == 'e' || s_[i_] == 'E' || s_[i_] == '+' || s_[i_] == '-')) {
            ++i_;
        }
        return i_ > start && std::isdigit(static_cast<unsigned char>(s_[i_ - 1]));
    }
    bool Value(int depth) {
        if (depth > 64 || i_ >= s_.size()) return false;
        const char c = s_[i_];
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++i_;
            Space();
            if (i_ < s_.size() && s_[i_] == close) {
                ++i_;
                return true;
            }
            for (;;) {
                Space();
                if (c == '{') {
                    if (i_ >= s_.size() || !String()) return false;
                    Space();
                    if (i_ >= s_.size() || s_[i_++] != ':') return false;
                    Space();
                }
                if (!Value(depth + 1)) return false;
                Space();
                if (i_ >= s_.size()) return false;
                if (s_[i_] == ',') {
                    ++i_;
                    continue;
                }
                if (s_[i_] == close) {
                    ++i_;
                    return true;
                }
                return false;
            }
        }
        if (c == '"') return String();
        if (c == 't') return Literal("true");
        if (c == 'f') return Literal("false");
        if (c == 'n') return Literal("null");
        return Number();
    }
    const std::string& s_;
    std::size_t i_ = 0;
};

}  // namespace

bool IsValidJson(const std::string& text) {
    return JsonChecker(text).Document();
}

}  // namespace korvalend::test
