#include "GameLoaderWnd.h"

#include "Logger.h"

void GameLoaderWnd::BuildGameExePath() {}

void GameLoaderWnd::LoadGame() { LOG_WRITE(2, L"GameLoaderWnd LoadGame start"); }

void GameLoaderWnd::OnOpenGame(std::string* request) {
    delete request;
    LoadGame();
}
