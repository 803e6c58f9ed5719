#include "Main.h"

#include "Text.h"

int main() {
    platform::InitProcessLocale();
    return wWinMain();
}
