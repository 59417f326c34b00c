// Thread checker settings for every program that uses the Qt platform layer.
//
// The Qt libraries are not built with the thread checker, and their mutexes and thread
// joins wait on futexes the checker cannot see. Qt's own worker threads (the file
// dialog's directory reader, the image-loading thread pool) then look as if they raced
// with the UI thread on memory that only Qt touches. Calls that Qt itself makes into the
// checker's interceptors (allocation, pthread mutexes and conditions, memmove) are
// therefore not tracked; our own code is instrumented and fully checked.
// The C library's time-zone state (mktime and localtime_r on the chart's log-reading thread and
// on the window's thread) is guarded by a lock of the library's own that the checker cannot
// see either. The optional alarm sound brings the sound server's client library, whose
// mainloop thread locks what the UI thread allocated with locks the checker sees only in part.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libQt6Widgets.so.6\n"
           "called_from_lib:libQt6Multimedia.so.6\n"
           "called_from_lib:libpulse.so.0\n"
           "called_from_lib:libpulsecommon-\n"
           "race:tzset_internal\n";
}
