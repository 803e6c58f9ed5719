#pragma once
// The desktop window of the browser dialog: a GTK window with a header bar as its title bar
// (so its height is known and the outer size is the dialog's to set) and a container for
// the browser below it.
#include "Messages.h"

#include <memory>

class DialogFrame {
public:
    // Null when no desktop can be reached.
    static std::unique_ptr<DialogFrame> Create(platform::HWND hwnd);
    virtual ~DialogFrame() = default;

    virtual int CaptionHeight() = 0;
    virtual int ScreenDpi() = 0;
    // Sets the outer size and centres the window on the screen, then shows it.
    virtual void ShowCentred(int outerWidth, int outerHeight) = 0;
    virtual void Hide() = 0;
    virtual void SetTitle(const std::wstring& title) = 0;
};
