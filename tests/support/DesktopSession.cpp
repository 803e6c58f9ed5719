#include "DesktopSession.h"

#include <cstdlib>


#include <chrono>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace

DesktopSession::DesktopSession() {
    // A stand-in default browser that records each address it is given.
    const std::string applications = m_environment.DataHome() + "/applications";
    std::filesystem::create_directories(applications);
    WriteWholeFile(
        applications + "/stand-in-browser.desktop",
        "[Desktop Entry]\nType=Application\nName=Stand-in browser\n"
        "Exec=/bin/sh -c 'printf \"%%s\\\\n\" \"$1\" >> \"" +
            m_environment.Root() +
            "/opened.txt\"' browser %u\n"
            "MimeType=x-scheme-handler/http;x-scheme-handler/https;x-scheme-handler/file;x-scheme-handler/custom;\n");
    WriteWholeFile(m_environment.Root() + "/config/mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/http=stand-in-browser.desktop\n"
                   "x-scheme-handler/https=stand-in-browser.desktop\nx-scheme-handler/file=stand-in-browser.desktop\n"
                   "x-scheme-handler/custom=stand-in-browser.desktop\n");
}

ChildProcess& DesktopSession::StartSite(const std::vector<std::string>& options) {
    m_site = std::make_unique<ChildProcess>(kBin + "/game-site-sim", options, m_environment.Root());
    if (!m_site->WaitForOutput("listening port=", 10000)) {
        throw std::runtime_error("game-site-sim does not listen: " + m_site->Stderr());
    }
    return *m_site;
}

ChildProcess& DesktopSession::StartLauncher(const std::vector<std::string>& arguments) {
#if defined(__SANITIZE_ADDRESS__)
    // LeakSanitizer's own tracer dies scanning the threads of a process that shows a WebKit
    // page, so the leak check at exit is left to the off-screen launcher runs; the address and
    // undefined-behaviour checks stay on here.
    const char* options = std::getenv("ASAN_OPTIONS");
    std::vector<std::string> command = {
        "ASAN_OPTIONS=" + std::string(options != nullptr ? options : "") + ":detect_leaks=0", kBin + "/vornakel_main"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    m_launcher = std::make_unique<ChildProcess>("/usr/bin/env", command, m_environment.Root(), true);
#else
    m_launcher = std::make_unique<ChildProcess>(kBin + "/vornakel_main", arguments, m_environment.Root(), true);
#endif
    return *m_launcher;
}

std::string DesktopSession::Log() const {
    return ReadWholeFile(m_environment.LauncherLogPath());
}

bool DesktopSession::WaitForLog(const std::string& text, int timeoutMs) const {
    return WaitUntil([&] { return Log().find(text) != std::string::npos; }, timeoutMs);
}

bool DesktopSession::WaitForSite(const std::string& line, int timeoutMs) const {
    return m_site != nullptr && m_site->WaitForOutput(line, timeoutMs);
}

std::string DesktopSession::Xdotool(const std::vector<std::string>& arguments) const {
    ChildProcess tool("/usr/bin/xdotool", arguments, m_environment.Root(), true);
    tool.Wait(20000);
    return tool.Stdout();
}

std::string DesktopSession::ShownWindow(const std::string& title) const {
    const std::string found = Xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"});
    return found.substr(0, found.find('\n'));
}

bool DesktopSession::WaitForShownWindow(const std::string& title, int timeoutMs) const {
    return WaitUntil([&] { return !ShownWindow(title).empty(); }, timeoutMs);
}

std::pair<int, int> DesktopSession::WindowPosition(const std::string& window) const {
    // "Position: X,Y (screen: 0)"
    const std::string geometry = Xdotool({"getwindowgeometry", window});
    const std::size_t at = geometry.find("Position: ");
    if (at == std::string::npos) return {-1, -1};
    const std::size_t comma = geometry.find(',', at);
    return {std::stoi(geometry.substr(at + 10)), std::stoi(geometry.substr(comma + 1))};
}

std::string DesktopSession::OpenedInDefaultBrowser() const {
    return ReadWholeFile(m_environment.Root() + "/opened.txt");
}
