// Where the list of allowed sites comes from: the machine policy an administrator sets, or
// the list a publisher packs into the control. No list at all allows every site.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The first line of the packed list's resource; its entries follow one a line, and the rest
// of the resource is zero bytes. A resource with no entries holds no list.
inline constexpr std::string_view kPackedSitesMagic = "KORVENDAL ALLOWED SITES 1\n";

// The entries of the packed list's resource bytes; nothing when they hold no list.
[[nodiscard]] std::optional<std::vector<std::string>> ReadPackedSites(std::string_view bytes);

// The list in force: the values of HKLM\SOFTWARE\Policies\Korvendal\AllowedSites where the
// key exists (the 64-bit view, which both controls share), else the list packed into
// `module`, else nothing.
[[nodiscard]] std::optional<std::vector<std::string>> LoadAllowedSites(HMODULE module);

// One line of the debug output about the lists, for whoever looks for why a site is refused.
void WriteSiteDebugLine(const std::string& text);

}  // namespace kv
