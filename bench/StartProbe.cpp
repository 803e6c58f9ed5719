// A program that only says when it began: "start=<CLOCK_MONOTONIC nanoseconds>" on standard
// output, as the first thing it does. The game hand-off benchmark installs it as the client.
#include <cstdio>
#include <ctime>

int main() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("start=%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    return 0;
}
