// Writes the crafted frames of HostileSweep to a window of another process:
//   hostile-sender HWND [LEFT_OUT_MESSAGE...]
// Exit code: 0 when every frame was delivered, 1 otherwise.
#include "HostileSweep.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::set<platform::UINT> leftOut;
    for (int i = 2; i < argc; ++i) leftOut.insert(static_cast<platform::UINT>(std::strtoul(argv[i], nullptr, 10)));
    return SendHostileFrames(std::atoi(argv[1]), leftOut) == 0 ? 0 : 1;
}
