// A process for the tests to find: it waits for as many milliseconds as its argument says.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  Sleep(argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 30000);
  return 0;
}
