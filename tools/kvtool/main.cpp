// kvtool: runs one engine or extraction operation from the console and prints one line per
// event in UTF-8, for people and for the tests.
#include "tools/kvtool/commands.h"

#include "base/codepage.h"

#include <cstdio>
#include <cstring>

namespace {

// The command line as narrow strings in the ANSI code page, the form every path and URL
// takes inside the engine.
Arguments AnsiArguments(int count, wchar_t** wide) {
    Arguments args;
    for (int i = 1; i < count; ++i) args.push_back(kv::WideToAnsi(wide[i]));
    return args;
}

int Usage() {
    std::fputs("usage: kvtool size URL [--silence-limit MS]\n"
               "       kvtool get URL PATH [--stop-after-progress N] [--silence-limit MS] [--times]\n"
               "       kvtool extract ARCHIVE DEST\n"
               "       kvtool skin-check FOLDER|ARCHIVE [--window WIDTHxHEIGHT]\n"
               "       kvtool trust-ca FILE.pem | untrust-ca FILE.pem\n",
               stderr);
    return 2;
}

}  // namespace

// wmain: the C runtime splits the wide command line, which spares loading shell32 for it.
extern "C" int wmain(int argc, wchar_t** argv) {
    // Buffered, so that a line leaves in one write when it is flushed: a standard output
    // that is not a console is otherwise written a byte at a time, each byte a system call
    // (and in text mode a call to the wineserver too), and a transfer prints a line a pass.
    // Every command flushes its lines: get and size each line, the others at their end.
    std::setvbuf(stdout, nullptr, _IOFBF, 4096);
    Arguments args = AnsiArguments(argc, argv);
    if (args.empty()) return Usage();
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "size") return RunSizeCommand(args);
    if (command == "get") return RunGetCommand(args);
    if (command == "extract") return RunExtractCommand(args);
    if (command == "skin-check") return RunSkinCheckCommand(args);
    if (command == "trust-ca") return RunTrustCaCommand(args);
    if (command == "untrust-ca") return RunUntrustCaCommand(args);
    return Usage();
}
