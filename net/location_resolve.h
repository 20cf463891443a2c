// Turning the Location of a redirect into the URL to fetch next. Plain bytes only: no
// system headers.
#pragma once

#include <string>

namespace kv {

// The URL that location names when it was given in an answer to base:
// - with a scheme of its own ("https://...", "ftp:..."): location itself;
// - "//host/path": base's scheme with that host;
// - "/path": base's scheme and host with that path;
// - "?query" or "#fragment": base with its own query (and fragment) or fragment replaced;
// - anything else: relative to base's folder (the path up to its last "/").
// "." and ".." segments of the resulting path are removed; ".." never climbs above the
// root. Empty location gives empty. The host of base ends at its first "/" after the
// first "//", as the URL split takes it.
std::string ResolveLocation(const std::string& base, const std::string& location);

}  // namespace kv
