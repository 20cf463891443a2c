#include "host/page_reader.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>

namespace kv::host {
namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

std::wstring ToLower(std::wstring_view text) {
    std::wstring out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::wstring_view text, std::size_t at, std::wstring_view prefix) {
    if (text.size() - std::min(at, text.size()) < prefix.size()) return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        if (Lower(text[at + k]) != prefix[k]) return false;
    }
    return true;
}

std::size_t FindNoCase(std::wstring_view text, std::wstring_view lowerNeedle, std::size_t from) {
    for (std::size_t at = from; at + lowerNeedle.size() <= text.size(); ++at) {
        if (StartsWithNoCase(text, at, lowerNeedle)) return at;
    }
    return std::wstring_view::npos;
}

// The few character references that appear in attribute values of hand-written pages.
std::wstring DecodeEntities(std::wstring_view value) {
    static const std::pair<std::wstring_view, wchar_t> kNamed[] = {
        {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''}};
    std::wstring out;
    for (std::size_t k = 0; k < value.size(); ++k) {
        if (value[k] != L'&') {
            out += value[k];
            continue;
        }
        const std::wstring_view rest = value.substr(k + 1);
        bool decoded = false;
        for (const auto& [name, ch] : kNamed) {
            if (rest.substr(0, name.size()) == name) {
                out += ch;
                k += name.size();
                decoded = true;
                break;
            }
        }
        if (!decoded && !rest.empty() && rest[0] == L'#') {
            const bool hex = rest.size() > 1 && (rest[1] == L'x' || rest[1] == L'X');
            const std::size_t end = rest.find(L';');
            const std::size_t digits = hex ? 2 : 1;
            if (end != std::wstring_view::npos && end > digits) {
                const std::wstring number(rest.substr(digits, end - digits));
                wchar_t* stop = nullptr;
                const unsigned long code = std::wcstoul(number.c_str(), &stop, hex ? 16 : 10);
                if (stop && *stop == 0 && code > 0 && code < 0x10000) {
                    out += static_cast<wchar_t>(code);
                    k += end + 1;
                    decoded = true;
                }
            }
        }
        if (!decoded) out += L'&';
    }
    return out;
}

// Pixels from "252" or "252px"; anything else (percentages, blanks) counts as absent.
int PixelSize(std::wstring_view value) {
    value = Trim(value);
    int pixels = 0;
    std::size_t k = 0;
    for (; k < value.size() && value[k] >= L'0' && value[k] <= L'9' && pixels < 100000; ++k) {
        pixels = pixels * 10 + (value[k] - L'0');
    }
    if (k == 0) return 0;
    const std::wstring unit = ToLower(value.substr(k));
    return unit.empty() || unit == L"px" ? pixels : 0;
}

struct Tag {
    std::wstring name;                           // lower case
    std::map<std::wstring, std::wstring> attrs;  // lower-case names; the first one wins
    std::size_t end = 0;                         // offset just past the closing ">"
};

// Reads the start tag whose "<" is at `at`; the name must start with a letter.
bool ReadStartTag(std::wstring_view html, std::size_t at, Tag& tag) {
    std::size_t k = at + 1;
    while (k < html.size() && (std::iswalnum(html[k]) || html[k] == L'-')) ++k;
    if (k == at + 1 || !std::iswalpha(html[at + 1])) return false;
    tag.name = ToLower(html.substr(at + 1, k - at - 1));
    while (k < html.size()) {
        while (k < html.size() && (IsSpace(html[k]) || html[k] == L'/')) ++k;
        if (k >= html.size()) break;
        if (html[k] == L'>') {
            tag.end = k + 1;
            return true;
        }
        const std::size_t nameStart = k;
        while (k < html.size() && !IsSpace(html[k]) && html[k] != L'=' && html[k] != L'>') ++k;
        const std::wstring name = ToLower(html.substr(nameStart, k - nameStart));
        while (k < html.size() && IsSpace(html[k])) ++k;
        std::wstring value;
        if (k < html.size() && html[k] == L'=') {
            ++k;
            while (k < html.size() && IsSpace(html[k])) ++k;
            if (k < html.size() && (html[k] == L'"' || html[k] == L'\'')) {
                const wchar_t quote = html[k++];
                const std::size_t close = std::min(html.find(quote, k), html.size());
                value = DecodeEntities(html.substr(k, close - k));
                k = close + 1;
            } else {
                const std::size_t valueStart = k;
                while (k < html.size() && !IsSpace(html[k]) && html[k] != L'>') ++k;
                value = DecodeEntities(html.substr(valueStart, k - valueStart));
            }
        }
        tag.attrs.emplace(name, std::move(value));
    }
    tag.end = html.size();  // an unterminated tag runs to the end of the page
    return true;
}

std::wstring Attribute(const Tag& tag, const wchar_t* name) {
    const auto found = tag.attrs.find(name);
    return found == tag.attrs.end() ? std::wstring() : found->second;
}

unsigned LineAt(std::wstring_view html, std::size_t offset) {
    return 1 + static_cast<unsigned>(std::count(html.begin(), html.begin() + offset, L'\n'));
}

}  // namespace

Page ReadPage(std::wstring_view html) {
    Page page;
    std::size_t at = 0;
    while ((at = html.find(L'<', at)) != std::wstring_view::npos) {
        if (html.substr(at, 4) == L"<!--") {
            const std::size_t close = html.find(L"-->", at + 4);
            at = close == std::wstring_view::npos ? html.size() : close + 3;
            continue;
        }
        Tag tag;
        if (!ReadStartTag(html, at, tag)) {
            ++at;  // an end tag, a declaration or a lone "<" in text
            continue;
        }
        at = tag.end;
        if (tag.name == L"object") {
            PageObject object;
            object.id = Attribute(tag, L"id");
            object.classId = std::wstring(Trim(Attribute(tag, L"classid")));
            object.width = PixelSize(Attribute(tag, L"width"));
            object.height = PixelSize(Attribute(tag, L"height"));
            object.position = tag.end;
            page.objects.push_back(std::move(object));
        } else if (tag.name == L"script") {
            const std::size_t close = FindNoCase(html, L"</script", tag.end);
            const std::size_t textEnd = close == std::wstring_view::npos ? html.size() : close;
            PageScript script;
            script.language = Attribute(tag, L"language");
            if (script.language.empty()) script.language = Attribute(tag, L"type");
            script.forObject = std::wstring(Trim(Attribute(tag, L"for")));
            script.event = std::wstring(Trim(Attribute(tag, L"event")));
            script.text = std::wstring(html.substr(tag.end, textEnd - tag.end));
            script.line = LineAt(html, tag.end);
            script.position = tag.end;
            page.scripts.push_back(std::move(script));
            if (close == std::wstring_view::npos) break;
            const std::size_t gt = html.find(L'>', close);
            at = gt == std::wstring_view::npos ? html.size() : gt + 1;
        }
    }
    return page;
}

EventSignature ParseEventSignature(std::wstring_view event) {
    EventSignature signature;
    const std::size_t open = event.find(L'(');
    signature.name = std::wstring(Trim(event.substr(0, open)));
    if (open == std::wstring_view::npos) return signature;
    std::wstring_view list = event.substr(open + 1);
    list = list.substr(0, list.find(L')'));
    while (!list.empty()) {
        const std::size_t comma = list.find(L',');
        const std::wstring_view name = Trim(list.substr(0, comma));
        if (!name.empty()) signature.parameters.emplace_back(name);
        if (comma == std::wstring_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return signature;
}

bool IsJScriptLanguage(std::wstring_view language) {
    const std::wstring name = ToLower(Trim(language));
    static const std::wstring_view kNames[] = {
        L"", L"jscript", L"text/jscript", L"text/javascript", L"application/javascript",
        L"ecmascript", L"text/ecmascript", L"application/ecmascript"};
    if (std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames)) return true;
    return name.rfind(L"javascript", 0) == 0;  // javascript, javascript1.2, ...
}

std::wstring DecodePageBytes(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        bytes.remove_prefix(2);
        std::wstring text(bytes.size() / 2, L'\0');
        for (std::size_t k = 0; k < text.size(); ++k) {
            text[k] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                           (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
        }
        return text;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    UINT codePage = CP_UTF8;
    int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, bytes.data(), size,
                          text.data(), length);
    return text;
}

}  // namespace kv::host
