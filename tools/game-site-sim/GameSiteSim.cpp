// Stands in for the platform's game web site: serves the game's start page over https with
// the stand-in certificate, and prints every request it receives.
//
//   game-site-sim [--port N] [--status CODE] [--call JSON]... [--call-delay MS]
//                 [--frame-call JSON] [--new-window URL] [--script JS]... [--other-origin]
//                 [--page-delay MS] [--open-game JSON]
//
// It prints "listening port=N" first, then "GET <path and query as received>" per request.
// The page /client/index/vornakel (any query) has the "开始游戏" button (open_game), minimise
// and close buttons and a drag strip; once it has loaded it asks for /client/loaded, then
// (after --call-delay) makes each --call and runs each --script, and opens --new-window.
// --frame-call: a frame of the next port's origin makes that call. --other-origin: the page
// goes on to the same address on the next port, and the calls are made there. --status
// answers the page with that status and a short error page; --page-delay holds the page's
// answer back for that long. --open-game is the call the "开始游戏" button makes (by default
// {"funcation_name":"open_game"}), so a page can hand over the player's fresh token.
#include "Resources.h"

#include <glib-unix.h>
#include <libsoup/soup.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kPagePath[] = "/client/index/vornakel";

struct Options {
    int port = 15443;
    int status = 200;
    std::vector<std::string> calls;
    std::vector<std::string> scripts;
    int callDelayMs = 0;
    std::string frameCall;
    std::string newWindow;
    bool otherOrigin = false;
    int pageDelayMs = 0;
    std::string openGame = R"({"funcation_name":"open_game"})";
};

Options g_options;

// A text as a JavaScript string literal that cannot end the script element it stands in.
std::string JsString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '<': out += "\\x3c"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

std::string JsArray(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i > 0 ? "," : "") + JsString(texts[i]);
    return out + "]";
}

std::string OriginOfPort(int port) { return "https://127.0.0.1:" + std::to_string(port); }

// makesCalls: this page makes the calls (the primary page, unless they belong to the next origin).
std::string StartPage(bool primary) {
    const bool makesCalls = primary != g_options.otherOrigin;
    std::string page = R"(<!doctype html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>Kaldrenmoor</title>
<style>
  html, body { margin: 0; height: 100%; font-family: "Noto Sans CJK SC", sans-serif; overflow: hidden; }
  body { background: linear-gradient(160deg, #1b2a5c 0%, #4b2a66 55%, #b35a2e 100%); color: #f5e9d0; }
  #drag { position: absolute; left: 0; top: 0; right: 80px; height: 40px; line-height: 40px; padding-left: 18px;
          font-size: 15px; letter-spacing: 2px; cursor: move; user-select: none; }
  .corner { position: absolute; top: 8px; width: 28px; height: 24px; border: 0; border-radius: 4px;
            background: rgba(255,255,255,0.15); color: #fff; font-size: 14px; cursor: pointer; }
  #min { right: 44px; } #close { right: 10px; }
  main { position: absolute; left: 0; right: 0; top: 150px; text-align: center; }
  h1 { font-size: 56px; margin: 0 0 12px; letter-spacing: 8px; text-shadow: 0 4px 18px rgba(0,0,0,0.5); }
  p { font-size: 18px; margin: 0 0 60px; opacity: 0.85; }
  #start { width: 220px; height: 64px; border: 0; border-radius: 32px; font-size: 24px; letter-spacing: 6px;
           color: #3a1d08; background: linear-gradient(#ffd98a, #f0a040); box-shadow: 0 6px 24px rgba(0,0,0,0.4); cursor: pointer; }
  iframe { position: absolute; left: 0; bottom: 0; width: 1px; height: 1px; border: 0; }
</style></head>
<body>
<div id="drag">KALDRENMOOR</div>
<button class="corner" id="min" title="min">&#8212;</button>
<button class="corner" id="close" title="close">&#10005;</button>
<main><h1>卡尔德伦沼泽</h1><p>新的旅程即将开始</p><button id="start">开始游戏</button></main>
)";
    if (makesCalls && !g_options.frameCall.empty()) {
        page += "<iframe src=\"" + OriginOfPort(g_options.port + 1) + "/frame\"></iframe>\n";
    }
    page += "<script>\n\"use strict\";\n";
    page += "const calls = " + (makesCalls ? JsArray(g_options.calls) : std::string("[]")) + ";\n";
    page += "const scripts = " + (makesCalls ? JsArray(g_options.scripts) : std::string("[]")) + ";\n";
    page += "const newWindow = " + JsString(makesCalls ? g_options.newWindow : "") + ";\n";
    page += "const delay = " + std::to_string(g_options.callDelayMs) + ";\n";
    page += "const openGame = " + JsString(g_options.openGame) + ";\n";
    page += "const nextOrigin = " + JsString(primary && g_options.otherOrigin ? OriginOfPort(g_options.port + 1) : "") +
            ";\n";
    page += R"(function bridge(text) {
  if (window.external && typeof window.external.g_callCppFunc === "function") window.external.g_callCppFunc(text);
}
document.getElementById("start").addEventListener("click", () => bridge(openGame));
document.getElementById("min").addEventListener("click", () => bridge('{"funcation_name":"min_wnd"}'));
document.getElementById("close").addEventListener("click", () => bridge('{"funcation_name":"close_wnd"}'));
document.getElementById("drag").addEventListener("mousedown", () => bridge('{"funcation_name":"wnd_mousemove"}'));
window.addEventListener("load", () => {
  fetch("/client/loaded", { cache: "no-store" }).catch(() => {});
  if (nextOrigin !== "") { window.location.replace(nextOrigin + window.location.pathname + window.location.search); return; }
  setTimeout(() => {
    for (const text of calls) bridge(text);
    for (const script of scripts) { try { (0, eval)(script); } catch (error) {} }
    if (newWindow !== "") window.open(newWindow);
  }, delay);
});
</script></body></html>
)";
    return page;
}

std::string FramePage() {
    return "<!doctype html><html><head><meta charset=\"utf-8\"></head><body><script>\n"
           "window.addEventListener(\"load\", () => { if (window.external && typeof window.external.g_callCppFunc === "
           "\"function\") window.external.g_callCppFunc(" +
           JsString(g_options.frameCall) + "); });\n</script></body></html>\n";
}

void Answer(SoupServerMessage* message, int status, const char* type, const std::string& body) {
    soup_server_message_set_status(message, static_cast<guint>(status), nullptr);
    soup_server_message_set_response(message, type, SOUP_MEMORY_COPY, body.data(), body.size());
    soup_message_headers_replace(soup_server_message_get_response_headers(message), "Cache-Control", "no-store");
}

void OnRequest(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*, gpointer primary) {
    GUri* uri = soup_server_message_get_uri(message);
    const char* query = g_uri_get_query(uri);
    std::printf("%s %s%s%s\n", soup_server_message_get_method(message), g_uri_get_path(uri),
                query != nullptr ? "?" : "", query != nullptr ? query : "");
    std::fflush(stdout);
    const std::string_view route(path);
    if (route == kPagePath) {
        if (g_options.pageDelayMs > 0) {
            soup_server_message_pause(message);
            g_timeout_add(
                static_cast<guint>(g_options.pageDelayMs),
                [](gpointer held) -> gboolean {
                    soup_server_message_unpause(static_cast<SoupServerMessage*>(held));
                    return G_SOURCE_REMOVE;
                },
                message);
        }
        if (g_options.status != 200) {
            Answer(message, g_options.status, "text/html; charset=utf-8",
                   "<!doctype html><html><head><meta charset=\"utf-8\"></head><body><h1>服务器错误 " +
                       std::to_string(g_options.status) + "</h1></body></html>\n");
        } else {
            Answer(message, 200, "text/html; charset=utf-8", StartPage(primary != nullptr));
        }
    } else if (route == "/frame") {
        Answer(message, 200, "text/html; charset=utf-8", FramePage());
    } else if (route == "/client/loaded") {
        Answer(message, 204, "text/plain", "");
    } else {
        Answer(message, 404, "text/plain", "not here\n");
    }
}

GTlsCertificate* StandInCertificate() {
    const auto certificate = platform::FindResource(L"CERT", 1);
    const auto key = platform::FindResource(L"KEY", 1);
    if (!certificate || !key) return nullptr;
    const std::string pem = std::string(static_cast<const char*>(certificate->data), certificate->size) +
                            std::string(static_cast<const char*>(key->data), key->size);
    GError* error = nullptr;
    GTlsCertificate* tls = g_tls_certificate_new_from_pem(pem.c_str(), static_cast<gssize>(pem.size()), &error);
    if (error != nullptr) {
        std::fprintf(stderr, "game-site-sim: %s\n", error->message);
        g_error_free(error);
    }
    return tls;
}

// One https listener on 127.0.0.1; its port, or 0 when it could not listen.
int Listen(SoupServer* server, int port) {
    GError* error = nullptr;
    GInetAddress* loopback = g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4);
    GSocketAddress* address = g_inet_socket_address_new(loopback, static_cast<guint16>(port));
    const bool listening = soup_server_listen(server, address, SOUP_SERVER_LISTEN_HTTPS, &error);
    g_object_unref(address);
    g_object_unref(loopback);
    if (!listening) {
        std::fprintf(stderr, "game-site-sim: %s\n", error->message);
        g_error_free(error);
        return 0;
    }
    GSList* uris = soup_server_get_uris(server);
    const int bound = uris != nullptr ? g_uri_get_port(static_cast<GUri*>(uris->data)) : 0;
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    return bound;
}

int Usage() {
    std::fputs(
        "usage: game-site-sim [--port N] [--status CODE] [--call JSON]... [--call-delay MS]\n"
        "                     [--frame-call JSON] [--new-window URL] [--script JS]... [--other-origin]\n"
        "                     [--page-delay MS] [--open-game JSON]\n",
        stderr);
    return 2;
}

bool ParseOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--other-origin") {
            g_options.otherOrigin = true;
        } else if (!hasValue) {
            return false;
        } else if (option == "--port") {
            g_options.port = std::atoi(argv[++i]);
        } else if (option == "--status") {
            g_options.status = std::atoi(argv[++i]);
        } else if (option == "--call") {
            g_options.calls.emplace_back(argv[++i]);
        } else if (option == "--script") {
            g_options.scripts.emplace_back(argv[++i]);
        } else if (option == "--call-delay") {
            g_options.callDelayMs = std::atoi(argv[++i]);
        } else if (option == "--frame-call") {
            g_options.frameCall = argv[++i];
        } else if (option == "--page-delay") {
            g_options.pageDelayMs = std::atoi(argv[++i]);
        } else if (option == "--new-window") {
            g_options.newWindow = argv[++i];
        } else if (option == "--open-game") {
            g_options.openGame = argv[++i];
        } else {
            return false;
        }
    }
    return g_options.port >= 0 && g_options.port < 65535 && g_options.status >= 100 && g_options.status < 600;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseOptions(argc, argv)) return Usage();
    GTlsCertificate* certificate = StandInCertificate();
    if (certificate == nullptr) return 1;
    SoupServer* primary = soup_server_new("tls-certificate", certificate, nullptr);
    SoupServer* next = soup_server_new("tls-certificate", certificate, nullptr);
    soup_server_add_handler(primary, nullptr, &OnRequest, primary, nullptr);
    soup_server_add_handler(next, nullptr, &OnRequest, nullptr, nullptr);
    const int port = Listen(primary, g_options.port);
    if (port == 0) return 1;
    g_options.port = port;
    // The next port serves frames and pages of another origin; a test that needs none of it
    // does not care whether it is free.
    Listen(next, port + 1);
    std::printf("listening port=%d\n", port);
    std::fflush(stdout);

    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    for (const int signal : {SIGINT, SIGTERM}) {
        g_unix_signal_add(
            signal,
            [](gpointer loop) -> gboolean {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
            },
            loop);
    }
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    g_object_unref(next);
    g_object_unref(primary);
    g_object_unref(certificate);
    return 0;
}
