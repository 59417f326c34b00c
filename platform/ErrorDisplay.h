#pragma once
// The application's default error display and the guard every toolkit entry into handler
// code passes: an exception leaving a handler is shown to the user and the program goes on.
#include <exception>
#include <functional>
#include <string>

using TErrorDisplayHook = std::function<void(const std::string& message)>;

// Replaces the display (the program installs a message box, tests a recorder). Returns the
// previous hook. With no hook installed the text goes to standard error.
TErrorDisplayHook SetErrorDisplayHook(TErrorDisplayHook hook);
void ShowErrorMessage(const std::string& message);

// Runs `handler`; an exception leaving it is shown through the error display.
template <class F> void GuardedCall(F&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowErrorMessage(e.what());
    } catch (...) {
        ShowErrorMessage("Unknown error");
    }
}
