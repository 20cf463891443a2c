// The folder dialog behind the folder button: the shell's folder browser, opened on the
// process's current folder (which follows the download folder).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kv {

// The chosen folder's file-system path, or nothing when the user cancels.
std::optional<std::string> BrowseForFolder(HWND owner);

// The dialog's callback: on start it selects the current folder; on each new selection it
// enables OK only for items with a file-system path. Always 0.
int CALLBACK BrowseCallback(HWND dialog, UINT event, LPARAM data, LPARAM user);

}  // namespace kv
