// Local folders and paths: the temporary folder, folder trees, file existence, read-only
// clearing, the file-name part of a path, and the joins that form the control's paths.
// All strings are narrow, in the ANSI code page (949 on a Korean system).
#pragma once

#include <string>

std::string GetTempFolder();
bool CreateFolderTree(std::string path, bool isFilePath);
std::string GetFileNamePart(std::string path);
bool FileExists(std::string path);
void ClearReadOnly(std::string path);

// folder + "\" + name, the "%s\\%s" join of the skin and target paths.
std::string JoinPath(const std::string& folder, const std::string& name);
// The skin path rule: an empty base folder becomes "C:" for good, then JoinPath.
std::string MakeSkinPath(std::string& basePath, const std::string& name);
// The base folder for a BasePath value: the temporary folder followed directly by it.
std::string MakeBasePath(const std::string& tempFolder, const std::string& value);

// True when `name` is a relative path that stays below the folder it is joined to: no
// drive, root or UNC prefix, no ".." component (nor one of dots and blanks only, which Win32
// trims to ".."), no ':' (alternate data streams), no device name (CON, NUL, COM1, ...),
// either slash style. An empty name is contained.
bool IsContainedRelativePath(const std::string& name);
