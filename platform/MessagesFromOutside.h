#pragma once
// Which window messages another process may deliver. A frame from outside carries numbers
// only; a message whose parameters are addresses by definition, or that only the window
// core itself sends about a window's life, could only be forged there.
#include "Messages.h"

namespace platform {

// False for the messages that are never delivered when they come from another process.
bool IsDeliverableFromOtherProcess(UINT message);

}  // namespace platform
