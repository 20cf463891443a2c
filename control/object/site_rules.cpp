#include "control/object/site_rules.h"

namespace kv {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHex(char c) { return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'f'); }

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = Lower(c);
    return lowered;
}

// "scheme:" at the start of `text`, lower case; the rest after the colon in `rest`.
std::optional<std::string> TakeScheme(std::string_view text, std::string_view& rest) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || !IsLetter(text[0])) return std::nullopt;
    for (char c : text.substr(0, colon)) {
        if (!IsLetter(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
    }
    rest = text.substr(colon + 1);
    return Lowered(text.substr(0, colon));
}

bool TakeSlashes(std::string_view& rest) {
    if (rest.substr(0, 2) != "//") return false;
    rest.remove_prefix(2);
    return true;
}

std::optional<uint16_t> ReadPort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    return static_cast<uint16_t>(value);
}

bool IsDottedQuad(std::string_view host) {
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = host.find('.', start);
        const std::string_view part = host.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (part.empty() || part.size() > 3) return false;
        unsigned value = 0;
        for (char c : part) {
            if (!IsDigit(c)) return false;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value > 255) return false;
        ++parts;
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    return parts == 4;
}

struct Host {
    std::string name;
    bool isAddress = false;
};

// A host as written between "//" (after any user information) and the port: lower case, one
// trailing dot dropped. A name's labels are letters, digits, '-' and '_'; a name whose last
// label begins with a digit is an address in a form other than the dotted one and is not read.
std::optional<Host> ReadHost(std::string_view text, std::string& problem) {
    Host host;
    if (!text.empty() && text.front() == '[') {
        if (text.size() < 3 || text.back() != ']') {
            problem = "an IPv6 address without its closing bracket";
            return std::nullopt;
        }
        for (char c : text.substr(1, text.size() - 2)) {
            if (!IsHex(c) && c != ':' && c != '.') {
                problem = "an IPv6 address with a character that is not one";
                return std::nullopt;
            }
        }
        host.name = Lowered(text);
        host.isAddress = true;
        return host;
    }
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    if (text.empty()) {
        problem = "no host";
        return std::nullopt;
    }
    host.name = Lowered(text);
    if (IsDottedQuad(host.name)) {
        host.isAddress = true;
        return host;
    }
    std::size_t labelStart = 0;
    for (std::size_t k = 0; k <= host.name.size(); ++k) {
        const char c = k < host.name.size() ? host.name[k] : '.';
        if (c == '.') {
            if (k == labelStart) {
                problem = "an empty label in the host";
                return std::nullopt;
            }
            labelStart = k + 1;
        } else if (!IsLetter(c) && !IsDigit(c) && c != '-' && c != '_') {
            problem = std::string("the character '") + c + "' in the host";
            return std::nullopt;
        }
    }
    const std::size_t lastDot = host.name.rfind('.');
    if (IsDigit(host.name[lastDot == std::string::npos ? 0 : lastDot + 1])) {
        problem = "a host that ends in a number but is no dotted IPv4 address";
        return std::nullopt;
    }
    return host;
}

// Splits "host[:port]" of an authority; an empty port after the colon is no port.
bool SplitHostPort(std::string_view authority, std::string_view& host, std::string_view& port, bool& hasPort) {
    hasPort = false;
    std::size_t colon = std::string_view::npos;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return false;
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':') return false;
            colon = close + 1;
        }
    } else {
        colon = authority.rfind(':');
    }
    host = authority.substr(0, colon);
    if (colon != std::string_view::npos) {
        port = authority.substr(colon + 1);
        hasPort = true;
    }
    return true;
}

std::optional<uint16_t> DefaultPort(const std::string& scheme) {
    if (scheme == "http") return 80;
    if (scheme == "https") return 443;
    return std::nullopt;
}

bool IsBelow(const std::string& host, const std::string& domain) {
    return host.size() > domain.size() && host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
           host[host.size() - domain.size() - 1] == '.';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<SiteEntry> ReadSiteEntry(std::string_view text, std::string& problem) {
    text = Trimmed(text);
    std::string_view rest;
    const std::optional<std::string> scheme = TakeScheme(text, rest);
    if (!scheme) {
        problem = "no scheme";
        return std::nullopt;
    }
    if (!TakeSlashes(rest)) {
        problem = "no \"//\" after the scheme";
        return std::nullopt;
    }
    SiteEntry entry;
    if (*scheme == "file") {
        if (!rest.empty() && rest != "/") {
            problem = "a file entry is \"file://\" alone";
            return std::nullopt;
        }
        entry.localFiles = true;
        return entry;
    }
    // A path would narrow the entry to part of the site, which the match cannot do: such an
    // entry is not read rather than read wider than it was written.
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    if (rest.find_first_of("/?#\\@") != std::string_view::npos) {
        problem = "a path, query, fragment or user name in the entry";
        return std::nullopt;
    }
    entry.scheme = *scheme;
    std::string_view hostText, portText;
    bool hasPort = false;
    if (!SplitHostPort(rest, hostText, portText, hasPort)) {
        problem = "an IPv6 address without its closing bracket";
        return std::nullopt;
    }
    if (hasPort) {
        entry.port = ReadPort(portText);
        if (!entry.port) {
            problem = "a port that is not a number from 1 to 65535";
            return std::nullopt;
        }
    }
    if (hostText.substr(0, 2) == "*.") {
        entry.subdomainsOnly = true;
        hostText.remove_prefix(2);
    }
    std::optional<Host> host = ReadHost(hostText, problem);
    if (!host) return std::nullopt;
    if (host->isAddress && entry.subdomainsOnly) {
        problem = "\"*.\" before an IP address";
        return std::nullopt;
    }
    entry.host = std::move(host->name);
    entry.hostIsAddress = host->isAddress;
    return entry;
}

std::optional<PageOrigin> ReadPageOrigin(std::string_view address) {
    PageOrigin origin;
    // A path with a drive letter: a document opened from the disk by its path.
    if (address.size() >= 3 && IsLetter(address[0]) && address[1] == ':' && (address[2] == '\\' || address[2] == '/')) {
        origin.localFile = true;
        return origin;
    }
    std::string_view rest;
    std::optional<std::string> scheme = TakeScheme(address, rest);
    if (!scheme || !TakeSlashes(rest)) return std::nullopt;
    // Browsers read a backslash in an address of the web as a slash.
    const std::size_t end = rest.find_first_of("/?#\\");
    std::string_view authority = rest.substr(0, end);
    if (*scheme == "file") {
        // file:///C:/... and file://localhost/... are on this machine; file://server/... is a
        // share on another one.
        if (authority.empty() || Lowered(authority) == "localhost") {
            origin.localFile = true;
            return origin;
        }
        return std::nullopt;
    }
    // User information before the last '@' names no host: the host follows it.
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) authority.remove_prefix(at + 1);
    std::string_view hostText, portText;
    bool hasPort = false;
    if (!SplitHostPort(authority, hostText, portText, hasPort)) return std::nullopt;
    origin.scheme = std::move(*scheme);
    if (hasPort && !portText.empty()) {
        origin.port = ReadPort(portText);
        if (!origin.port) return std::nullopt;
    } else {
        origin.port = DefaultPort(origin.scheme);
    }
    std::string problem;
    std::optional<Host> host = ReadHost(hostText, problem);
    if (!host) return std::nullopt;
    origin.host = std::move(host->name);
    origin.hostIsAddress = host->isAddress;
    return origin;
}

bool EntryAllows(const SiteEntry& entry, const PageOrigin& origin) {
    if (entry.localFiles || origin.localFile) return entry.localFiles && origin.localFile;
    if (entry.scheme != origin.scheme) return false;
    if (entry.port && origin.port != entry.port) return false;
    if (entry.hostIsAddress || origin.hostIsAddress) return !entry.subdomainsOnly && entry.host == origin.host;
    if (IsBelow(origin.host, entry.host)) return true;
    return !entry.subdomainsOnly && origin.host == entry.host;
}

bool SiteListAllows(const std::vector<std::string>& entries, std::string_view address,
                    const IgnoredEntry& ignored) {
    std::optional<PageOrigin> origin;
    if (address.empty()) {
        origin.emplace();
        origin->localFile = true;
    } else {
        origin = ReadPageOrigin(address);
    }
    bool allowed = false;
    for (const std::string& text : entries) {
        std::string problem;
        const std::optional<SiteEntry> entry = ReadSiteEntry(text, problem);
        if (!entry) {
            if (ignored) ignored(text, problem);
            continue;
        }
        if (origin && EntryAllows(*entry, *origin)) allowed = true;
    }
    return allowed;
}

}  // namespace kv
