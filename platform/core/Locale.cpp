// Process locale: numbers always use the "C" conventions (a decimal point), while character conversions use
// UTF-8, so wide text survives the archives.
#include "platform/core/Locale.h"

#include <clocale>

namespace qor {

void ApplyProgramLocale()
{
    std::setlocale(LC_NUMERIC, "C");
    if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        if (!std::setlocale(LC_CTYPE, "C.utf8")) std::setlocale(LC_CTYPE, "en_US.UTF-8");
}

namespace {
struct LocaleAtStartup
{
    LocaleAtStartup() { ApplyProgramLocale(); }
} g_localeAtStartup;
} // namespace

} // namespace qor
