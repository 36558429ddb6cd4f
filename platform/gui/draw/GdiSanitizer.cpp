// Leak checking: system libraries behind Qt keep allocations for the life of the process
// that the leak checker reports as lost; they are not ours. The font system (fontconfig,
// FreeType, behind Qt's font database) keeps its caches; under X, D-Bus keeps the session
// connection's buffers; a PDF view's touch scrolling registers a gesture recogniser once for
// the process (QScroller::grabGesture). This is the one list of suppressions: every program that links the
// window layer (tests and the application) picks it up, with or without LSAN_OPTIONS.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QOR_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QOR_ASAN 1
#endif

#ifdef QOR_ASAN
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:libdbus-1.so\n"
           "leak:libQt6Pdf.so\n"
           "leak:QScroller::grabGesture\n";
}
#endif
