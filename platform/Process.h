#pragma once
// Starting programs: detached from the caller, with their arguments as they are.
#include <string>
#include <vector>

namespace platform {

// Starts the program in a session of its own, with no descriptor of the caller's but
// standard input, output and error, in the caller's current directory and environment.
// Each argument reaches the program whole: nothing is split, quoted or handed to a shell.
// Nothing waits for the program (it is reaped when it ends). False, with the system's
// reason in `error`, when the system refuses to start it (not there, not executable, not a
// program).
bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments, std::string* error = nullptr);

}  // namespace platform
