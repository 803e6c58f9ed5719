#include "CustomMsgBox.h"

#include "Logger.h"

int ShowMsgBox(platform::HWND owner, const std::wstring& text) {
    LOG_WRITE(0, L"ShowMsgBox " << text);
    return 0;
}
