#pragma once
#include "Messages.h"

#include <string>

// The launcher's modal message box over the owner; 1 (OK), 8 (close button) or 0.
int ShowMsgBox(platform::HWND owner, const std::wstring& text);
