// Keeps the prefix's desktop for a whole test run. Wine closes a desktop about a second after
// the last program on it ends, and the next program with a window starts it again: the new
// desktop process then inherits that program's standard handles and holds a test's captured
// output open until it closes in turn, and a program that starts just as the desktop closes
// can fail. Started once, with no pipe of anyone's, this program stays on the desktop until
// the run's wineserver is stopped.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Asking for the desktop window connects this process to the desktop, starting it if
    // it is not there.
    if (!::GetDesktopWindow()) return 1;
    ::Sleep(INFINITE);
    return 0;
}
