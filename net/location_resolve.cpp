#include "net/location_resolve.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kv {
namespace {

// RFC 3986: ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ) ":"
bool HasScheme(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    for (size_t i = 1; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ':') return true;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return false;
}

// Removes "." and ".." segments from a path that starts with "/".
std::string RemoveDotSegments(std::string_view path) {
    std::string out;
    size_t at = 0;
    while (at < path.size()) {
        size_t next = path.find('/', at + 1);
        if (next == std::string_view::npos) next = path.size();
        const std::string_view segment = path.substr(at, next - at);  // "/name"
        const bool last = next == path.size();
        if (segment == "/.") {
            if (last) out += '/';
        } else if (segment == "/..") {
            const size_t cut = out.rfind('/');
            out.erase(cut == std::string::npos ? 0 : cut);
            if (last) out += '/';
        } else {
            out += segment;
        }
        at = next;
    }
    return out.empty() ? "/" : out;
}

// The path with its dot segments removed, the query and fragment after it untouched.
std::string Normalised(std::string_view pathAndRest) {
    const size_t end = pathAndRest.find_first_of("?#");
    const std::string_view path = pathAndRest.substr(0, end);
    std::string out = RemoveDotSegments(path);
    if (end != std::string_view::npos) out += pathAndRest.substr(end);
    return out;
}

}  // namespace

std::string ResolveLocation(const std::string& base, const std::string& location) {
    if (location.empty() || HasScheme(location)) return location;

    const size_t slashes = base.find("//");
    const size_t hostStart = slashes == std::string::npos ? 0 : slashes + 2;
    const size_t hostEnd = std::min(base.find('/', hostStart), base.size());
    const std::string origin = base.substr(0, hostEnd);
    const std::string_view rest = std::string_view(base).substr(hostEnd);  // path, query, fragment

    if (location.compare(0, 2, "//") == 0) {
        return (slashes == std::string::npos ? std::string() : base.substr(0, slashes)) + location;
    }
    if (location[0] == '/') return origin + Normalised(location);
    if (location[0] == '#') return base.substr(0, std::min(base.find('#', hostEnd), base.size())) + location;
    if (location[0] == '?') {
        const size_t cut = rest.find_first_of("?#");
        return origin + std::string(rest.substr(0, cut).empty() ? "/" : rest.substr(0, cut)) + location;
    }
    const std::string_view basePath = rest.substr(0, rest.find_first_of("?#"));
    const size_t folderEnd = basePath.rfind('/');
    const std::string folder = folderEnd == std::string_view::npos
                                   ? std::string("/")
                                   : std::string(basePath.substr(0, folderEnd + 1));
    return origin + Normalised(folder + location);
}

}  // namespace kv
