// The commands of kvtool, the developer console tool over the engine and the extraction.
// Each takes the arguments after its own name and returns the process exit status.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;  // narrow, ANSI code page

int RunSizeCommand(const Arguments& args);     // size URL [--silence-limit MS]
int RunGetCommand(const Arguments& args);      // get URL PATH [--stop-after-progress N] [--silence-limit MS]
int RunExtractCommand(const Arguments& args);  // extract ARCHIVE DEST
int RunSkinCheckCommand(const Arguments& args);  // skin-check FOLDER|ARCHIVE [--window WxH]
int RunTrustCaCommand(const Arguments& args);    // trust-ca FILE.pem
int RunUntrustCaCommand(const Arguments& args);  // untrust-ca FILE.pem
