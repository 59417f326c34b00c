#pragma once
// The application's default error display: a modal message box with the text and OK; also
// the display of message boxes with a caption of their own.
void InstallMessageBoxErrorDisplay();
