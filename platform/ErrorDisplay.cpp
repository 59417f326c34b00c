#include "platform/ErrorDisplay.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex HookLock;
TErrorDisplayHook Hook;
TMessageBoxHook BoxHook;

} // namespace

TErrorDisplayHook SetErrorDisplayHook(TErrorDisplayHook hook) {
    std::lock_guard lock(HookLock);
    TErrorDisplayHook previous = std::move(Hook);
    Hook = std::move(hook);
    return previous;
}

void ShowErrorMessage(const std::string& message) {
    TErrorDisplayHook hook;
    {
        std::lock_guard lock(HookLock);
        hook = Hook;
    }
    // The hook runs unlocked: a message box runs an event loop, which may report more errors.
    if (hook) {
        hook(message);
        return;
    }
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
    std::lock_guard lock(HookLock);
    TMessageBoxHook previous = std::move(BoxHook);
    BoxHook = std::move(hook);
    return previous;
}

void ShowMessageBox(const std::string& caption, const std::string& text) {
    TMessageBoxHook hook;
    {
        std::lock_guard lock(HookLock);
        hook = BoxHook;
    }
    if (hook)
        hook(caption, text);
    else
        ShowErrorMessage(text);
}
