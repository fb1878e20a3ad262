// A stand-in game: a program that runs until it is ended, or for the given
// number of milliseconds. Copied under a game's file name, it makes the tray
// loader see that game start and end.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    Sleep(argc > 1 ? DWORD(std::atoi(argv[1])) : INFINITE);
    return 0;
}
