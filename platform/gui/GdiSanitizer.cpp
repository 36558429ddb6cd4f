// Leak checking: the font system (fontconfig, behind Qt's font database) keeps caches for
// the life of the process that the leak checker reports as lost. They are not ours.
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
           "leak:libfreetype.so\n";
}
#endif
