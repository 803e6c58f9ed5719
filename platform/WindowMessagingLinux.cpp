#include "WindowMessaging.h"

#include "LocalSocket.h"
#include "MessageWire.h"
#include "SessionDir.h"
#include "WindowRegistry.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<LocalWindowSystem*> g_localSystem{nullptr};

LocalWindowSystem* LocalFor(HWND hwnd) {
    LocalWindowSystem* system = g_localSystem.load();
    return system != nullptr && system->IsLocalWindow(hwnd) ? system : nullptr;
}

std::optional<WireMessage> ToWire(Delivery delivery, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WireMessage wire;
    wire.delivery = delivery;
    wire.hwnd = hwnd;
    wire.message = message;
    wire.wParam = wParam;
    wire.lParam = lParam;
    if (message == WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (delivery == Delivery::Post || copy == nullptr || copy->cbData > kMaxCopyDataBytes ||
            (copy->cbData != 0 && copy->lpData == nullptr)) {
            return std::nullopt;
        }
        wire.lParam = 0;
        wire.hasCopyData = true;
        wire.dataTag = copy->dwData;
        wire.data.assign(static_cast<const char*>(copy->lpData), copy->cbData);
    }
    return wire;
}

// Delivers one frame to the window's owner; for a sent message, waits for the reply.
bool Deliver(const WireMessage& wire, int timeoutMs, LRESULT* result) {
    const std::optional<WindowRecord> record = WindowRegistry::Lookup(wire.hwnd);
    if (!record) return false;
    const Deadline deadline = DeadlineAfter(timeoutMs);
    const LocalSocket socket = LocalSocket::Connect(MessageSocketPath(record->socketName), deadline);
    if (!socket.IsValid() || !socket.WriteAll(EncodeMessage(wire), deadline)) return false;
    if (wire.delivery == Delivery::Post) return true;

    std::string reply;
    char buffer[kReplyBytes];
    while (true) {
        const long got = socket.ReadSome(buffer, sizeof(buffer), deadline);
        if (got <= 0) return false;
        reply.append(buffer, static_cast<std::size_t>(got));
        LRESULT value = 0;
        switch (DecodeReply(reply, value)) {
        case DecodeStatus::Complete:
            if (result != nullptr) *result = value;
            return true;
        case DecodeStatus::Invalid: return false;
        case DecodeStatus::Incomplete: break;
        }
    }
}

}  // namespace

void InstallLocalWindowSystem(LocalWindowSystem* system) { g_localSystem.store(system); }

std::string MessageSocketPath(const std::string& socketName) { return SessionRuntimeDir() + "/" + socketName; }

HWND FindWindowW(const wchar_t* className, const std::wstring& windowName) {
    if (className == nullptr) return WindowRegistry::FindTopLevel(nullptr, windowName);
    const std::wstring name(className);
    return WindowRegistry::FindTopLevel(&name, windowName);
}

bool IsWindow(HWND hwnd) {
    if (hwnd <= 0) return false;
    if (LocalFor(hwnd) != nullptr) return true;
    return WindowRegistry::Lookup(hwnd).has_value();
}

bool PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) return false;
    if (LocalWindowSystem* local = LocalFor(hwnd)) return local->PostLocal(hwnd, message, wParam, lParam);
    const std::optional<WireMessage> wire = ToWire(Delivery::Post, hwnd, message, wParam, lParam);
    return wire && Deliver(*wire, kSendMessageTimeoutMs, nullptr);
}

bool SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs,
                         LRESULT* result) {
    if (LocalWindowSystem* local = LocalFor(hwnd)) {
        const LRESULT value = local->SendLocal(hwnd, message, wParam, lParam);
        if (result != nullptr) *result = value;
        return true;
    }
    const std::optional<WireMessage> wire = ToWire(Delivery::Send, hwnd, message, wParam, lParam);
    return wire && Deliver(*wire, timeoutMs, result);
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    return SendMessageTimeoutW(hwnd, message, wParam, lParam, kSendMessageTimeoutMs, &result) ? result : 0;
}

}  // namespace platform
