#include "skin/skin_definition.h"

#include "base/ansi_text.h"

#include <windows.h>

namespace kv {

std::string ReadSkinValue(const char* section, const char* key, const std::string& definitionPath) {
    char value[256] = {};
    const DWORD length = ::GetPrivateProfileStringA(section, key, "", value, sizeof value,
                                                    definitionPath.c_str());
    return std::string(value, length);
}

namespace {

constexpr size_t kValueLimit = 255;  // the characters a 256-byte buffer holds

// The profile reader's quotes and limit: a value enclosed in one kind of quote loses both
// quotes, unless it was too long to fit, when only the first one goes and the cut value loses
// its last character in place of the closing quote.
std::string AsProfileReaderGivesIt(std::string_view value) {
    bool quoted = false;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::string copy(value.substr(0, kValueLimit));
    if (quoted && value.size() <= kValueLimit + 1 && !copy.empty()) copy.pop_back();
    return copy;
}

}  // namespace

std::string SectionValue(std::string_view block, std::string_view key) {
    const std::string wanted = LowerAnsi(key);
    while (!block.empty() && block.front() != '\0') {
        const size_t end = block.find('\0');
        const std::string_view line = block.substr(0, end);
        block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
        const size_t equals = line.find('=');
        if (LowerAnsi(TrimBlanks(line.substr(0, equals))) != wanted) continue;
        if (equals == std::string_view::npos) return {};
        return AsProfileReaderGivesIt(TrimBlanks(line.substr(equals + 1)));
    }
    return {};
}

SkinSection::SkinSection(const char* section, const std::string& definitionPath)
    : section_(section), path_(definitionPath) {
    // The reader says a section did not fit by filling the buffer to two short of its size.
    for (DWORD size = 4096; size <= 1024 * 1024; size *= 4) {
        std::string block(size, '\0');
        const DWORD length = ::GetPrivateProfileSectionA(section, block.data(), size, definitionPath.c_str());
        if (length + 2 < size) {
            block.resize(length + 1);
            block_ = std::move(block);
            whole_ = true;
            return;
        }
    }
}

std::string SkinSection::Value(const char* key) const {
    // The listing leaves out lines that start like a comment, which the reader still finds
    // by name.
    if (!whole_ || key[0] == ';') return ReadSkinValue(section_.c_str(), key, path_);
    return SectionValue(block_, key);
}

}  // namespace kv
