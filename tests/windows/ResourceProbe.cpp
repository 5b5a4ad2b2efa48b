// A program that carries Vantrel's resources and does nothing, so that the tests can read
// them back from a real executable.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
