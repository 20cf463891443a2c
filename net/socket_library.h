// Process-wide start-up and clean-up of Windows Sockets for the download engine. The flag
// makes repeated start-ups free; one clean-up undoes them all (there is no count).
#pragma once

#include <winsock2.h>

extern bool socketsStarted;

bool StartSockets(WORD version);
bool CleanupSockets();
