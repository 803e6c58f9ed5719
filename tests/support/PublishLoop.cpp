// Publishes and removes window records in a loop until it is killed: the writer that the
// window registry's kill tests cut off at random moments.
#include "ProcessIdentity.h"
#include "WindowRegistry.h"

int main() {
    platform::WindowRecord record;
    record.owner = platform::CurrentProcessIdentity();
    record.socketName = "w-loop.sock";
    record.title = L"publish-loop";
    while (true) {
        if (platform::WindowRegistry::Publish(record) == 0) return 1;
        platform::WindowRegistry::Remove(record.hwnd);
    }
}
