// CString: a wide-character string with the framework's interface.
#include "platform/core/CString.h"

#include <algorithm>
#include <cwctype>
#include <vector>

// ---- UTF-8 <-> wide -------------------------------------------------------------------------

std::string WideToUtf8(std::wstring_view w)
{
    std::string out;
    out.reserve(w.size());
    for (wchar_t wc : w)
    {
        auto c = static_cast<std::uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80)
        {
            out += static_cast<char>(c);
        }
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view s)
{
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size())
    {
        auto b = static_cast<unsigned char>(s[i]);
        std::uint32_t c;
        int extra;
        if (b < 0x80)
        {
            c = b;
            extra = 0;
        }
        else if ((b & 0xE0) == 0xC0)
        {
            c = b & 0x1F;
            extra = 1;
        }
        else if ((b & 0xF0) == 0xE0)
        {
            c = b & 0x0F;
            extra = 2;
        }
        else if ((b & 0xF8) == 0xF0)
        {
            c = b & 0x07;
            extra = 3;
        }
        else
        {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        bool ok = i + static_cast<size_t>(extra) < s.size();
        for (int k = 1; ok && k <= extra; ++k)
        {
            auto cb = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((cb & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (cb & 0x3F);
        }
        if (!ok)
        {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

CString::CString(const char* s) : m_s(s ? Utf8ToWide(s) : std::wstring()) {}

std::string CString::ToUtf8() const { return WideToUtf8(m_s); }
CString CString::FromUtf8(std::string_view s) { return CString(Utf8ToWide(s)); }

// ---- buffer -------------------------------------------------------------------------------

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) m_s.resize(static_cast<size_t>(minLength));
    return m_s.data();
}

wchar_t* CString::GetBufferSetLength(int length)
{
    m_s.resize(static_cast<size_t>(length < 0 ? 0 : length));
    return m_s.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = static_cast<int>(std::wcslen(m_s.c_str()));
    m_s.resize(static_cast<size_t>(newLength));
}

// ---- comparison ---------------------------------------------------------------------------

int CString::Compare(const wchar_t* s) const
{
    int r = m_s.compare(s ? s : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* s) const
{
    const wchar_t* a = m_s.c_str();
    const wchar_t* b = s ? s : L"";
    for (;; ++a, ++b)
    {
        wint_t ca = std::towlower(static_cast<wint_t>(*a));
        wint_t cb = std::towlower(static_cast<wint_t>(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

// ---- extraction ---------------------------------------------------------------------------

CString CString::Left(int n) const
{
    n = std::clamp(n, 0, GetLength());
    return CString(m_s.substr(0, static_cast<size_t>(n)));
}

CString CString::Right(int n) const
{
    n = std::clamp(n, 0, GetLength());
    return CString(m_s.substr(m_s.size() - static_cast<size_t>(n)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::SpanIncluding(const wchar_t* set) const
{
    size_t n = m_s.find_first_not_of(set ? set : L"");
    return CString(m_s.substr(0, n));
}

CString CString::SpanExcluding(const wchar_t* set) const
{
    size_t n = m_s.find_first_of(set ? set : L"");
    return CString(m_s.substr(0, n));
}

CString CString::Tokenize(const wchar_t* tokens, int& start) const
{
    if (start < 0 || start >= GetLength())
    {
        start = -1;
        return CString();
    }
    const wchar_t* set = tokens ? tokens : L"";
    size_t b = m_s.find_first_not_of(set, static_cast<size_t>(start));
    if (b == std::wstring::npos)
    {
        start = -1;
        return CString();
    }
    size_t e = m_s.find_first_of(set, b);
    if (e == std::wstring::npos) e = m_s.size();
    start = static_cast<int>(e + (e < m_s.size() ? 1 : 0));
    return CString(m_s.substr(b, e - b));
}

// ---- searching ----------------------------------------------------------------------------

static int ToIndex(size_t p) { return p == std::wstring::npos ? -1 : static_cast<int>(p); }

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start > GetLength()) return -1;
    return ToIndex(m_s.find(ch, static_cast<size_t>(start)));
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    return ToIndex(m_s.find(sub, static_cast<size_t>(start)));
}

int CString::ReverseFind(wchar_t ch) const { return ToIndex(m_s.rfind(ch)); }

int CString::FindOneOf(const wchar_t* set) const { return ToIndex(m_s.find_first_of(set ? set : L"")); }

// ---- modification -------------------------------------------------------------------------

CString& CString::MakeUpper()
{
    for (auto& c : m_s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::MakeLower()
{
    for (auto& c : m_s) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

static bool IsSpace(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && IsSpace(m_s[i])) ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && IsSpace(m_s[n - 1])) --n;
    m_s.resize(n);
    return *this;
}

CString& CString::TrimLeft(const wchar_t* set)
{
    size_t i = m_s.find_first_not_of(set ? set : L"");
    m_s.erase(0, i == std::wstring::npos ? m_s.size() : i);
    return *this;
}

CString& CString::TrimRight(const wchar_t* set)
{
    size_t i = m_s.find_last_not_of(set ? set : L"");
    m_s.resize(i == std::wstring::npos ? 0 : i + 1);
    return *this;
}

CString& CString::TrimLeft(wchar_t ch)
{
    wchar_t s[2] = {ch, 0};
    return TrimLeft(s);
}
CString& CString::TrimRight(wchar_t ch)
{
    wchar_t s[2] = {ch, 0};
    return TrimRight(s);
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* set) { return TrimRight(set).TrimLeft(set); }

int CString::Replace(wchar_t oldCh, wchar_t newCh)
{
    int n = 0;
    for (auto& c : m_s)
        if (c == oldCh)
        {
            c = newCh;
            ++n;
        }
    return n;
}

int CString::Replace(const wchar_t* oldStr, const wchar_t* newStr)
{
    if (!oldStr || !*oldStr) return 0;
    std::wstring_view from(oldStr);
    std::wstring_view to(newStr ? newStr : L"");
    std::wstring out;
    int n = 0;
    size_t pos = 0;
    for (;;)
    {
        size_t hit = m_s.find(from, pos);
        if (hit == std::wstring::npos) break;
        out.append(m_s, pos, hit - pos);
        out.append(to);
        pos = hit + from.size();
        ++n;
    }
    if (n == 0) return 0;
    out.append(m_s, pos, std::wstring::npos);
    m_s.swap(out);
    return n;
}

int CString::Remove(wchar_t ch)
{
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, wchar_t ch)
{
    index = std::clamp(index, 0, GetLength());
    m_s.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* s)
{
    index = std::clamp(index, 0, GetLength());
    if (s) m_s.insert(static_cast<size_t>(index), s);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0) index = 0;
    if (count > 0 && index < GetLength()) m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

void CString::Truncate(int newLength)
{
    if (newLength >= 0 && newLength < GetLength()) m_s.resize(static_cast<size_t>(newLength));
}

// ---- formatting ---------------------------------------------------------------------------

// Rewrites a framework-style wide format into the C library's wide printf dialect:
// %s/%c take wide arguments (%ls/%lc), %S/%C and %hs/%hc narrow ones (%s/%c), and the
// I64 length prefix becomes ll.
static std::wstring TranslateFormat(const wchar_t* fmt)
{
    std::wstring out;
    for (const wchar_t* p = fmt; *p; ++p)
    {
        if (*p != L'%')
        {
            out += *p;
            continue;
        }
        out += *p++;
        if (*p == L'%')
        {
            out += *p;
            continue;
        }
        // flags, width, precision
        while (*p && std::wcschr(L"-+ #0", *p)) out += *p++;
        while (*p && (std::iswdigit(static_cast<wint_t>(*p)) || *p == L'*')) out += *p++;
        if (*p == L'.')
        {
            out += *p++;
            while (*p && (std::iswdigit(static_cast<wint_t>(*p)) || *p == L'*')) out += *p++;
        }
        // length
        bool narrow = false, wide = false;
        std::wstring len;
        for (;;)
        {
            if (*p == L'h')
            {
                ++p;
                if (*p == L's' || *p == L'c' || *p == L'S' || *p == L'C')
                    narrow = true;
                else
                    len += L'h';
            }
            else if (*p == L'l')
            {
                ++p;
                if (*p == L's' || *p == L'c')
                    wide = true;
                else
                    len += L'l';
            }
            else if (*p == L'w')
            {
                ++p;
                wide = true;
            }
            else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4')
            {
                p += 3;
                len += L"ll";
            }
            else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2')
            {
                p += 3;
            }
            else if (*p == L'I')
            {
                ++p;
                len += L"z";
            }
            else if (*p == L'L' || *p == L'q' || *p == L'j' || *p == L'z' || *p == L't')
            {
                len += *p++;
            }
            else
                break;
        }
        if (!*p) break;
        wchar_t conv = *p;
        switch (conv)
        {
        case L's': out += (narrow ? L"s" : L"ls"); break;
        case L'c': out += (narrow ? L"c" : L"lc"); break;
        case L'S': out += (wide ? L"ls" : L"s"); break;
        case L'C': out += (wide ? L"lc" : L"c"); break;
        default:
            out += len;
            out += conv;
            break;
        }
    }
    return out;
}

std::wstring FormatWide(const wchar_t* fmt, va_list args)
{
    if (!fmt) return {};
    std::wstring f = TranslateFormat(fmt);
    std::vector<wchar_t> buf(256);
    for (;;)
    {
        va_list copy;
        va_copy(copy, args);
        int n = std::vswprintf(buf.data(), buf.size(), f.c_str(), copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buf.size()) return std::wstring(buf.data(), static_cast<size_t>(n));
        if (buf.size() > (1u << 26)) return std::wstring(buf.data());
        buf.resize(buf.size() * 4);
    }
}

void CString::FormatV(const wchar_t* fmt, va_list args) { m_s = FormatWide(fmt, args); }

void CString::Format(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    m_s = FormatWide(fmt, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    m_s += FormatWide(fmt, args);
    va_end(args);
}
