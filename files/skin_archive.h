// Unpacks a skin archive (zip) below a destination folder.
#pragma once

#include "files/unpacked_files.h"

#include <functional>
#include <string>

// True when at least one file member was written and no member failed.
bool ExtractSkinArchive(std::string archivePath, std::string destFolder);

// The same, calling `onFileWritten` with the member path of every file written.
using FileWrittenCallback = std::function<void(const std::string& memberPath)>;
bool ExtractSkinArchive(std::string archivePath, std::string destFolder,
                        const FileWrittenCallback& onFileWritten);

// The same, keeping the files written with their bytes in `written`.
bool ExtractSkinArchive(std::string archivePath, std::string destFolder, kv::UnpackedFiles& written);
