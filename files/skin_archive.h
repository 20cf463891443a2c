// Unpacks a skin archive (zip) below a destination folder.
#pragma once

#include <string>

// True when at least one file member was written and no member failed.
bool ExtractSkinArchive(std::string archivePath, std::string destFolder);
