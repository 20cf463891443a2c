// The rules that form the control's paths from values that a page or an archive gives: the
// joins, the base folder, the file-name part of a path, and which names stay inside the
// folder they are joined to. Pure functions over narrow strings of the ANSI code page.
#pragma once

#include "base/path_text.h"

#include <string>
#include <string_view>

// The folder below the temporary folder that holds the skin of a page that sets no
// BasePath: the control's own, never a drive root.
inline constexpr char kOwnBaseFolderName[] = "Korvendal";

// folder + "\" + name, the "%s\\%s" join of the skin and target paths.
std::string JoinPath(const std::string& folder, const std::string& name);

// The base folder for a BasePath value: the temporary folder followed directly by it.
// Empty when the temporary folder is unknown: the value alone would name a folder relative
// to whatever the current folder happens to be.
std::string MakeBasePath(const std::string& tempFolder, const std::string& value);

// The file name with its extension: what follows the drive and the last separator of either
// style; a long name is returned whole.
std::string GetFileNamePart(std::string path);

// Whether a text can be a file name at all (base/path_text.h).
using kv::IsPlainPathText;

// True when `name` is a relative path that names files below the folder it is joined to
// and nothing else: plain text (above), no drive, root or UNC prefix, no ".." component (nor
// one of dots and blanks only, which Win32 trims to ".."), no ':' (alternate data streams),
// no device name (CON, NUL, COM0 to COM9, ...), either slash style. An empty name is
// contained.
bool IsContainedRelativePath(const std::string& name);
