// Init's stages that reach the network or the disk, each a job of its own with its result as
// a value: the skin archive put in place, the target file's size, the documents folder.
#pragma once

#include "control/download/failure.h"
#include "control/download/transfer_job.h"
#include "files/unpacked_files.h"

#include <windows.h>

#include <optional>
#include <string>

namespace kv {

// Without the temporary folder there is no base folder: the value alone would be relative
// to whatever folder is current.
extern const char kNoTempFolderText[];

// The skin archive `infoFileName` fetched from `baseUrl` into the base folder and unpacked,
// unless a file by its name is there already; a damaged archive is not a failure here (it
// shows later as missing skin files). An empty base folder is formed by the skin path rule.
// The files unpacked are kept in `unpacked` with their bytes, for the pictures read next.
std::optional<Failure> PlaceSkinArchive(const std::string& baseUrl, const std::string& infoFileName,
                                        std::string& basePath, UnpackedFiles& unpacked);

// The size of the file at `url`, asked on a downloader of its own.
RemoteSize QueryRemoteSize(const std::string& url);

// The user's documents folder, or empty when the shell does not say.
std::string DocumentsFolder(HWND owner);

}  // namespace kv
