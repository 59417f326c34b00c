// Leak reports the test programs ignore under AddressSanitizer: the font configuration
// library keeps caches for the life of the process once a widget has measured text.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
