// The process entry: the locale, then the launcher's start-up.
#include "Main.h"

#include "Text.h"

int main() {
    platform::InitProcessLocale();
    return wWinMain();
}
