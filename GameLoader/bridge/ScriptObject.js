// The page's window.external: an object with exactly one member, g_callCppFunc, which hands
// its one argument to the launcher as text and returns nothing. The launcher injects this file
// twice: into the top-level document with its secret as @NONCE@, and into every frame with an
// empty one, so that a frame's call reaches the launcher as what it is.
(function () {
    "use strict";
    const nonce = "@NONCE@";
    const topDocument = window === window.top;
    if ((nonce !== "") !== topDocument) return;
    const handlers = window.webkit && window.webkit.messageHandlers;
    const channel = handlers && handlers["@CHANNEL@"];
    if (!channel) return;
    const post = channel.postMessage.bind(channel);
    const origin = String(window.location.origin);

    function asText(value) {
        if (value === null || value === undefined) return null;
        if (typeof value === "string") return value;
        try {
            return String(value);
        } catch (error) {
            return null;  // a value without a text form
        }
    }

    function g_callCppFunc() {
        const count = arguments.length;
        post({ nonce: nonce, origin: origin, count: count, text: count === 1 ? asText(arguments[0]) : null });
    }

    const external = Object.create(null);
    Object.defineProperty(external, "g_callCppFunc", { value: g_callCppFunc, enumerable: true });
    Object.defineProperty(window, "external", { value: Object.freeze(external), configurable: false, writable: false });
})();
