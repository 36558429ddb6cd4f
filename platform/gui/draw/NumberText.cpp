// Whole-text number parsing shared by the dialogs' data exchange and the property grid.
#include "platform/gui/draw/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cwchar>
#include <string>

namespace qor::gui {

namespace {

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

} // namespace

bool ParseWholeInteger(const CString& text, long long& out, bool isUnsigned)
{
    std::wstring t = text.GetString();
    const wchar_t* p = SkipBlanks(t.c_str());
    if (!*p) return false;
    if (isUnsigned && *p == L'-') return false;
    wchar_t* end = nullptr;
    errno = 0;
    long long v = std::wcstoll(p, &end, 10);
    if (end == p || errno == ERANGE) return false;
    if (*SkipBlanks(end)) return false;
    out = v;
    return true;
}

bool ParseWholeDouble(const CString& text, double& out)
{
    std::wstring t = text.GetString();
    const wchar_t* p = SkipBlanks(t.c_str());
    if (!*p) return false;
    wchar_t* end = nullptr;
    errno = 0;
    double v = std::wcstod(p, &end);
    if (end == p || errno == ERANGE || !std::isfinite(v)) return false;
    if (*SkipBlanks(end)) return false;
    out = v;
    return true;
}

} // namespace qor::gui
