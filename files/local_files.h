// Local folders and files: the temporary folder, folder trees, read-only clearing, and the skin path with the base folder it needs. All strings are narrow, in the
// ANSI code page (949 on a Korean system).
#pragma once

#include "files/path_rules.h"

#include <string>

// The user's temporary folder with its trailing backslash; empty when the system cannot
// report it.
std::string GetTempFolder();
bool CreateFolderTree(std::string path, bool isFilePath);
void ClearReadOnly(std::string path);

// The skin path rule: basePath + "\" + name. An empty base folder first becomes the
// control's own folder below the temporary folder (kOwnBaseFolderName), created, for good.
// When the temporary folder is unknown the base folder stays empty and so does the result:
// no path at all rather than one in the current folder or a drive root.
std::string MakeSkinPath(std::string& basePath, const std::string& name);
