#pragma once
// The session-wide table of windows: one small record file per window in the session
// runtime folder, so any process of the user can find a window by title or handle and
// learn where to deliver its messages.
#include "Messages.h"
#include "ProcessIdentity.h"

#include <optional>
#include <string>

namespace platform {

struct WindowRecord {
    HWND hwnd = 0;
    ProcessIdentity owner;
    std::string socketName;  // the owner's message socket, a file name in the session folder
    bool topLevel = true;
    std::wstring className;
    std::wstring title;
};

std::string SerializeWindowRecord(const WindowRecord& record);
std::optional<WindowRecord> ParseWindowRecord(HWND hwnd, std::string_view text);

namespace WindowRegistry {

// Gives the record a new session-unique handle and publishes it; records of ended
// processes give their handles back. 0 on failure, with the reason in `error`.
HWND Publish(WindowRecord& record, std::string* error = nullptr);
// Replaces the published record of record.hwnd (a new title, for example).
bool Update(const WindowRecord& record);
void Remove(HWND hwnd);
// The record of a window whose process still runs. Records left by ended processes are
// removed on the way.
std::optional<WindowRecord> Lookup(HWND hwnd);
// The newest top-level window with exactly this title (and class, when given), hidden
// windows included; 0 when there is none.
HWND FindTopLevel(const std::wstring* className, const std::wstring& title);
// Where the session folder is; empty when it is unusable.
std::string Folder();

}  // namespace WindowRegistry
}  // namespace platform
