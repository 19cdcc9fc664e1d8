// The floor of a process start: a GUI program that returns at once. Also the
// "game" that the launcher and the baselines start, so that game processes end
// by themselves and do not pile up between runs.
#include "platform/windows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return 0; }
