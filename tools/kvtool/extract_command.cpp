// kvtool extract ARCHIVE DEST: unpacks a skin archive and names every file written.
#include "tools/kvtool/commands.h"

#include "base/codepage.h"
#include "files/skin_archive.h"

#include <cstdio>

int RunExtractCommand(const Arguments& args) {
    if (args.size() != 2) {
        std::fputs("usage: kvtool extract ARCHIVE DEST\n", stderr);
        return 2;
    }
    const bool extracted = ExtractSkinArchive(args[0], args[1], [](const std::string& memberPath) {
        std::printf("WROTE %s\n", kv::AnsiToUtf8(memberPath).c_str());
    });
    std::printf("RESULT %s\n", extracted ? "true" : "false");
    std::fflush(stdout);
    return extracted ? 0 : 1;
}
