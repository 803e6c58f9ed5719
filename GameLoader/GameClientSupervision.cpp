#include "GameLoaderWnd.h"

#include "CustomMsgBox.h"

void GameLoaderWnd::OnKillGame(platform::WPARAM flag) {
    if (flag != 0) ShowMsgBox(GetHWND(), L"网络异常");
}
