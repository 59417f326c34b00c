#pragma once
// Connects the hand-over queue to the Qt event loop: every queued hand-over posts a queued
// call that runs CheckSynchronize() on the UI thread. Call once after QApplication exists.
void InstallQtSynchronizeHook();
void RemoveQtSynchronizeHook();
