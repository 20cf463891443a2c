#include "control/module/registry_script_parser.h"

#include <cwctype>
#include <optional>
#include <utility>

namespace kv {
namespace {

struct Token {
    std::wstring text;
    bool quoted = false;
    size_t line = 1;
};

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    }
    return true;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

class Parser {
public:
    explicit Parser(std::wstring_view text) : text_(text) {}

    RegistryScriptParse Run() {
        RegistryScriptParse result;
        try {
            while (auto token = Next()) {
                result.script.roots.push_back(ParseRoot(*token));
            }
            result.ok = true;
        } catch (const Failure& failure) {
            result.script = {};
            result.error = failure.message;
            result.errorLine = failure.line;
        }
        return result;
    }

private:
    struct Failure {
        std::wstring message;
        size_t line;
    };

    [[noreturn]] void Fail(std::wstring message, size_t line) const {
        throw Failure{std::move(message), line};
    }

    std::optional<Token> Next() {
        if (peeked_) return std::exchange(peeked_, std::nullopt);
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            if (text_[pos_] == L'\n') ++line_;
            ++pos_;
        }
        if (pos_ >= text_.size()) return std::nullopt;
        Token token;
        token.line = line_;
        if (text_[pos_] == L'\'') {
            token.quoted = true;
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size()) Fail(L"unterminated quoted string", token.line);
                const wchar_t c = text_[pos_++];
                if (c == L'\'') {
                    if (pos_ < text_.size() && text_[pos_] == L'\'') {
                        token.text.push_back(L'\'');
                        ++pos_;
                        continue;
                    }
                    break;
                }
                if (c == L'\n') ++line_;
                token.text.push_back(c);
            }
        } else {
            while (pos_ < text_.size() && !IsBlank(text_[pos_])) token.text.push_back(text_[pos_++]);
        }
        return token;
    }

    std::optional<Token> Peek() {
        if (!peeked_) peeked_ = Next();
        return peeked_;
    }

    Token Expect(const wchar_t* what) {
        auto token = Next();
        if (!token) Fail(std::wstring(L"unexpected end of script, expected ") + what, line_);
        return std::move(*token);
    }

    static bool Is(const Token& token, std::wstring_view word) {
        return !token.quoted && EqualsNoCase(token.text, word);
    }
    static bool IsPunctuation(const Token& token) {
        return Is(token, L"{") || Is(token, L"}") || Is(token, L"=");
    }

    // Returns the line of the brace, where an unclosed block is reported.
    size_t ExpectOpenBrace() {
        const Token token = Expect(L"'{'");
        if (!Is(token, L"{")) Fail(L"expected '{' but found '" + token.text + L"'", token.line);
        return token.line;
    }

    RegistryRootNode ParseRoot(const Token& name) {
        static const std::pair<const wchar_t*, RegistryRoot> kRoots[] = {
            {L"HKCR", RegistryRoot::ClassesRoot},     {L"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
            {L"HKCU", RegistryRoot::CurrentUser},     {L"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
            {L"HKLM", RegistryRoot::LocalMachine},    {L"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
            {L"HKU", RegistryRoot::Users},            {L"HKEY_USERS", RegistryRoot::Users},
            {L"HKCC", RegistryRoot::CurrentConfig},   {L"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
        };
        RegistryRootNode node;
        bool known = false;
        for (const auto& [word, root] : kRoots) {
            if (Is(name, word)) {
                node.root = root;
                known = true;
                break;
            }
        }
        if (!known) Fail(L"unknown root key '" + name.text + L"'", name.line);
        node.keys = ParseKeyList(ExpectOpenBrace());
        return node;
    }

    // Reads keys up to and including the closing brace of the enclosing block.
    std::vector<RegistryKeyNode> ParseKeyList(size_t openLine) {
        std::vector<RegistryKeyNode> keys;
        for (;;) {
            auto token = Next();
            if (!token) Fail(L"missing '}' for the block opened here", openLine);
            if (Is(*token, L"}")) return keys;
            ParseEntry(std::move(*token), keys);
        }
    }

    void ParseEntry(Token first, std::vector<RegistryKeyNode>& keys) {
        if (Is(first, L"val")) Fail(L"'val' outside a key", first.line);
        RegistryKeyFlag flag = RegistryKeyFlag::None;
        if (Is(first, L"NoRemove")) flag = RegistryKeyFlag::NoRemove;
        if (Is(first, L"ForceRemove")) flag = RegistryKeyFlag::ForceRemove;
        Token name = flag == RegistryKeyFlag::None ? std::move(first) : Expect(L"a key name");
        CheckName(name, L"key");

        RegistryKeyNode key;
        key.name = std::move(name.text);
        key.flag = flag;
        auto next = Peek();
        if (next && Is(*next, L"=")) {
            Next();
            key.defaultValue = ParseValue();
            next = Peek();
        }
        if (next && Is(*next, L"{")) {
            const size_t openLine = next->line;
            Next();
            ParseBody(key, openLine);
        }
        keys.push_back(std::move(key));
    }

    // The body of a key: subkeys and `val` lines, up to the closing brace.
    void ParseBody(RegistryKeyNode& key, size_t openLine) {
        for (;;) {
            auto token = Next();
            if (!token) Fail(L"missing '}' for the block opened here", openLine);
            if (Is(*token, L"}")) return;
            if (Is(*token, L"val")) {
                Token name = Expect(L"a value name");
                CheckName(name, L"value");
                const Token equals = Expect(L"'='");
                if (!Is(equals, L"=")) Fail(L"expected '=' after value name '" + name.text + L"'", equals.line);
                key.values.push_back({std::move(name.text), ParseValue()});
                continue;
            }
            ParseEntry(std::move(*token), key.subkeys);
        }
    }

    void CheckName(const Token& name, const wchar_t* what) {
        if (!name.quoted && IsPunctuation(name)) {
            Fail(std::wstring(L"expected a ") + what + L" name but found '" + name.text + L"'", name.line);
        }
        if (name.text.empty()) Fail(std::wstring(L"empty ") + what + L" name", name.line);
    }

    RegistryValue ParseValue() {
        const Token type = Expect(L"a value type");
        const Token data = Expect(L"a value");
        if (!data.quoted && IsPunctuation(data)) Fail(L"missing value after type '" + type.text + L"'", data.line);
        RegistryValue value;
        if (Is(type, L"s")) {
            value.type = RegistryValue::Type::String;
            value.text = data.text;
        } else if (Is(type, L"d")) {
            value.type = RegistryValue::Type::Dword;
            value.number = ParseNumber(data);
        } else {
            Fail(L"unknown value type '" + type.text + L"'", type.line);
        }
        return value;
    }

    DWORD ParseNumber(const Token& data) {
        std::wstring_view digits = data.text;
        unsigned base = 10;
        if (digits.size() > 2 && digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X')) {
            base = 16;
            digits.remove_prefix(2);
        }
        if (digits.empty()) Fail(L"bad number '" + data.text + L"'", data.line);
        unsigned long long number = 0;
        for (const wchar_t c : digits) {
            unsigned digit;
            if (c >= L'0' && c <= L'9') {
                digit = static_cast<unsigned>(c - L'0');
            } else if (base == 16 && std::towlower(c) >= L'a' && std::towlower(c) <= L'f') {
                digit = static_cast<unsigned>(std::towlower(c) - L'a' + 10);
            } else {
                Fail(L"bad number '" + data.text + L"'", data.line);
            }
            number = number * base + digit;
            if (number > 0xFFFFFFFFull) Fail(L"number out of range '" + data.text + L"'", data.line);
        }
        return static_cast<DWORD>(number);
    }

    std::wstring_view text_;
    size_t pos_ = 0;
    size_t line_ = 1;
    std::optional<Token> peeked_;
};

}  // namespace

RegistryScriptParse ParseRegistryScript(std::wstring_view text) { return Parser(text).Run(); }

}  // namespace kv
