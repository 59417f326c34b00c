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

// A message box with a caption of its own (the error display's box carries the program's
// name), the text and an OK button.
using TMessageBoxHook = std::function<void(const std::string& caption, const std::string& text)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);
// With no box hook installed the text goes to the error display.
void ShowMessageBox(const std::string& caption, const std::string& text);

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
