// Opens the address given on the command line in the default browser; exit 0 when handed on.
#include "DefaultBrowser.h"
#include "Text.h"

int main(int argc, char** argv) {
    platform::InitProcessLocale();
    return argc == 2 && platform::OpenInDefaultBrowser(platform::AnsiToWide(argv[1])) ? 0 : 1;
}
