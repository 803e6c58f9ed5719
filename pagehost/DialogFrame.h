#pragma once
// The desktop window of the browser dialog: a GTK window whose title bar is a header bar of
// its own (so its height is known and the outer size is the dialog's to set, and the bar
// drags the window and opens its window menu) and a container for the browser below it.
#include "Messages.h"

#include <memory>
#include <string>

class DialogFrame {
public:
    // Null when no desktop can be reached.
    static std::unique_ptr<DialogFrame> Create(platform::HWND hwnd);
    virtual ~DialogFrame() = default;

    virtual int CaptionHeight() = 0;
    virtual int ScreenDpi() = 0;
    // Sets the outer size and centres the window on the screen, then shows it. A width below
    // what the title bar needs is raised to it, and the window centred on its real size.
    virtual void ShowCentred(int outerWidth, int outerHeight) = 0;
    virtual void Hide() = 0;
    virtual void SetTitle(const std::wstring& title) = 0;
    // While a modal dialog is up, the host's active window takes no input and the dialog
    // stays above it; EndModal gives the window its input back.
    virtual void BeginModal() = 0;
    virtual void EndModal() = 0;
};
