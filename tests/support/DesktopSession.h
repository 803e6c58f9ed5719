#pragma once
// A desktop session for process tests on a real X server: the stand-in game site, the
// launcher started as the platform starts it, the day's log, and xdotool to look at and
// drive what the desktop shows. Everything lives in a temporary home.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include <memory>
#include <string>
#include <vector>

class DesktopSession {
public:
    DesktopSession();

    const IsolatedEnvironment& Environment() const { return m_environment; }
    // Starts game-site-sim with the options on its own port and waits until it listens.
    ChildProcess& StartSite(const std::vector<std::string>& options = {});
    ChildProcess& StartLauncher(const std::vector<std::string>& arguments);
    ChildProcess& Site() { return *m_site; }
    ChildProcess& Launcher() { return *m_launcher; }

    std::string Log() const;
    bool WaitForLog(const std::string& text, int timeoutMs = 20000) const;
    // Waits until the site has printed the line.
    bool WaitForSite(const std::string& line, int timeoutMs = 20000) const;

    // xdotool with the arguments; its standard output.
    std::string Xdotool(const std::vector<std::string>& arguments) const;
    // The X window of the shown window with exactly this title; empty when none is shown.
    std::string ShownWindow(const std::string& title) const;
    bool WaitForShownWindow(const std::string& title, int timeoutMs = 20000) const;
    // The window's position on the screen, "x,y".
    std::pair<int, int> WindowPosition(const std::string& window) const;

    // What the stand-in default browser was given, a line per address.
    std::string OpenedInDefaultBrowser() const;

private:
    IsolatedEnvironment m_environment;
    std::unique_ptr<ChildProcess> m_site;
    std::unique_ptr<ChildProcess> m_launcher;
};
