// Reads a page the way a page author writes it for a browser: the <object> elements that
// embed controls and the <script> blocks, in document order. Pure functions over text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv::host {

struct PageObject {
    std::wstring id;
    std::wstring classId;   // the classid attribute as written, e.g. "clsid:D0D0..."
    int width = 0;          // pixels; 0 when absent or not a plain pixel count
    int height = 0;
    std::size_t position = 0;  // offset of the element in the page, for document order
};

struct PageScript {
    std::wstring language;   // the language (or type) attribute, empty when absent
    std::wstring forObject;  // for="..." of an event handler, empty for a plain block
    std::wstring event;      // event="..." as written, e.g. "OnCreate()"
    std::wstring text;       // the raw text between <script ...> and </script>
    unsigned line = 1;       // 1-based page line on which `text` starts
    std::size_t position = 0;

    bool IsHandler() const { return !forObject.empty(); }
};

struct Page {
    std::vector<PageObject> objects;
    std::vector<PageScript> scripts;
};

// Tags and attribute names match without regard to case; attribute values may be quoted
// with " or ' or stand unquoted. A script's text runs up to the first "</script" whatever
// it holds, as in a browser: "<" comparisons and "</b>" inside strings stay script text.
// Markup inside <!-- --> comments is skipped.
Page ReadPage(std::wstring_view html);

// "OnCreate()" or "OnProgress(a, b)" or "OnCreate": the event name and its parameter names.
struct EventSignature {
    std::wstring name;
    std::vector<std::wstring> parameters;
};
EventSignature ParseEventSignature(std::wstring_view event);

// True for the languages the host runs: JScript under any of its names, or none given.
bool IsJScriptLanguage(std::wstring_view language);

// The page file's bytes as text: UTF-8 (with or without byte order mark), UTF-16LE with
// its mark; bytes that are not valid UTF-8 are taken in the ANSI code page.
std::wstring DecodePageBytes(std::string_view bytes);

}  // namespace kv::host
