#include "StandardStreams.h"

#include <unistd.h>

namespace platform {

void WriteStandardError(std::string_view bytes) {
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, bytes.data(), bytes.size());
}

}  // namespace platform
