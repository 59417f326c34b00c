#pragma once
// Connects the hand-over queue to the Qt event loop: a queued hand-over wakes the UI thread's
// event loop (any of them, modal loops included), which then runs CheckSynchronize(). Call
// once on the UI thread after the application object exists; it also marks that thread as
// the UI thread.
void InstallQtSynchronizeHook();
void RemoveQtSynchronizeHook();
