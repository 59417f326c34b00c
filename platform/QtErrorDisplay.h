#pragma once
// The application's default error display: a modal message box with the text and OK.
void InstallMessageBoxErrorDisplay();
