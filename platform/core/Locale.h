// Process locale: numbers always use the "C" conventions (a decimal point), while
// character conversions use UTF-8, so wide text survives the archives.
#pragma once

namespace qor {
// Sets LC_NUMERIC to "C" and LC_CTYPE to a UTF-8 locale. Runs once at start-up by itself;
// the window layer calls it again after the toolkit has applied the user's locale.
void ApplyProgramLocale();
} // namespace qor
