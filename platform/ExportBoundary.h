#pragma once
// Every exported C function of a library runs its body through this boundary: nothing may
// escape to the host program, out of memory included; an exception becomes the failure
// result.
#include <type_traits>

namespace platform {

template <typename Call>
auto ExportBoundary(std::invoke_result_t<Call> failure, Call&& call) noexcept {
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

template <typename Call>
void ExportBoundary(Call&& call) noexcept {
    try {
        call();
    } catch (...) {
        // A function without a result has nothing to report.
    }
}

}  // namespace platform
