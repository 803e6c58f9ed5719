#pragma once
// Finding the game's clients among the user's processes and ending them.
#include <cstdint>
#include <string>
#include <vector>

// The executable names of the game's clients.
const std::vector<std::wstring>& GameClientList();

// The id of the first process of the user whose program has exactly this file name, or -1
// (all bits set) when there is none or the name is empty. Logs each process it looks at.
std::uint32_t GetProcessIdByName(const std::wstring& name);
// Ends the process found by GetProcessIdByName (and only that very process).
bool KillProcess(std::uint32_t processId);
// Ends the first process found of each name of the list; where that fails, every process of
// the name through the task-kill program shipped beside the launcher.
void KillGeneralProcess();
bool GeneralProcessExist();
// Up to 30 passes one second apart, until no client is left.
void KillGameLoop();
