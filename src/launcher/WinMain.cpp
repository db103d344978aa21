#include "win/Win.h"
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
