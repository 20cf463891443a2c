#include "skin/folder_chooser.h"

#include "base/unique_resource.h"

#include <shlobj.h>

namespace kv {

std::optional<std::string> BrowseForFolder(HWND owner) {
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = "폴더를 선택하십시오.";
    browse.lpfn = BrowseCallback;
    const unique_cotaskmem chosen(::SHBrowseForFolderA(&browse));
    if (!chosen) return std::nullopt;
    char path[MAX_PATH] = {};
    ::SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path);
    return std::string(path);
}

int CALLBACK BrowseCallback(HWND dialog, UINT event, LPARAM data, LPARAM) {
    char path[MAX_PATH] = {};
    switch (event) {
    case BFFM_INITIALIZED:
        ::GetCurrentDirectoryA(MAX_PATH, path);
        ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path));
        break;
    case BFFM_SELCHANGED:
        // Virtual folders (the Control Panel, ...) have no path to download into.
        ::SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(data), path);
        ::SendMessageA(dialog, BFFM_ENABLEOK, 0, path[0] != '\0');
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace kv
