#include "DisplayBackend.h"

#include "HeadlessDisplay.h"

namespace uikit {
namespace {

std::unique_ptr<IDisplayBackend>& Current() {
    static std::unique_ptr<IDisplayBackend> backend;
    return backend;
}

}  // namespace

IDisplayBackend& Display() {
    if (!Current()) Current() = std::make_unique<CHeadlessDisplay>();
    return *Current();
}

void SetDisplay(std::unique_ptr<IDisplayBackend> backend) { Current() = std::move(backend); }

}  // namespace uikit
