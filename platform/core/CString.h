// CString: a wide-character string with the framework's interface.
// Format follows the framework's printf rules for wide strings: %s and %c take wide
// arguments, %S and %C narrow ones. Pass a CString to Format as (LPCTSTR)s or s.GetString().
#pragma once

#include "platform/core/Types.h"

#include <cstdarg>
#include <string>
#include <string_view>

class CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const wchar_t* s) : m_s(s ? s : L"") {}
    CString(const wchar_t* s, int n) : m_s(s ? std::wstring(s, static_cast<size_t>(n < 0 ? 0 : n)) : std::wstring()) {}
    CString(const char* s); // UTF-8
    CString(const char8_t* s) : CString(reinterpret_cast<const char*>(s)) {}
    CString(const std::wstring& s) : m_s(s) {}
    CString(std::wstring&& s) : m_s(std::move(s)) {}
    CString(std::wstring_view s) : m_s(s) {}
    CString(wchar_t ch, int repeat = 1) : m_s(static_cast<size_t>(repeat < 0 ? 0 : repeat), ch) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* s)
    {
        m_s = s ? s : L"";
        return *this;
    }
    CString& operator=(const char* s) { return *this = CString(s); }
    CString& operator=(wchar_t ch)
    {
        m_s.assign(1, ch);
        return *this;
    }
    CString& operator=(const std::wstring& s)
    {
        m_s = s;
        return *this;
    }

    // Access
    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    wchar_t GetAt(int i) const { return m_s.at(static_cast<size_t>(i)); }
    void SetAt(int i, wchar_t ch) { m_s.at(static_cast<size_t>(i)) = ch; }
    wchar_t operator[](int i) const { return GetAt(i); }
    const wchar_t* GetString() const { return m_s.c_str(); }
    operator const wchar_t*() const { return m_s.c_str(); }
    const std::wstring& str() const { return m_s; }
    std::wstring& str() { return m_s; }

    // Buffer access
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    wchar_t* GetBuffer() { return GetBuffer(0); }

    // Concatenation
    CString& operator+=(const CString& s)
    {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(const wchar_t* s)
    {
        if (s) m_s += s;
        return *this;
    }
    CString& operator+=(wchar_t ch)
    {
        m_s += ch;
        return *this;
    }
    CString& operator+=(const char* s) { return *this += CString(s); }
    void Append(const CString& s) { m_s += s.m_s; }
    void Append(const wchar_t* s, int n)
    {
        if (s) m_s.append(s, static_cast<size_t>(n));
    }
    void AppendChar(wchar_t ch) { m_s += ch; }

    // Comparison
    int Compare(const wchar_t* s) const;
    int CompareNoCase(const wchar_t* s) const;
    int Collate(const wchar_t* s) const { return Compare(s); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_s == (b ? b : L""); }
    friend bool operator==(const wchar_t* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CString& b) { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }
    friend bool operator>(const CString& a, const CString& b) { return a.m_s > b.m_s; }
    friend bool operator<=(const CString& a, const CString& b) { return a.m_s <= b.m_s; }
    friend bool operator>=(const CString& a, const CString& b) { return a.m_s >= b.m_s; }

    // Extraction
    CString Left(int n) const;
    CString Right(int n) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const wchar_t* set) const;
    CString SpanExcluding(const wchar_t* set) const;
    CString Tokenize(const wchar_t* tokens, int& start) const;

    // Searching
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* set) const;

    // Modification (return *this, as the framework does)
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(const wchar_t* set);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(const wchar_t* set);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(const wchar_t* set);
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldStr, const wchar_t* newStr);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* s);
    int Delete(int index, int count = 1);
    void Truncate(int newLength);
    void SetString(const wchar_t* s) { m_s = s ? s : L""; }
    void SetString(const wchar_t* s, int n) { m_s = s ? std::wstring(s, static_cast<size_t>(n)) : std::wstring(); }

    // The text of a string-table entry (platform/core/Strings.h); FALSE (the string
    // unchanged) when the id has none.
    BOOL LoadString(UINT nID);

    // Formatting
    void Format(const wchar_t* fmt, ...);
    void FormatV(const wchar_t* fmt, va_list args);
    void AppendFormat(const wchar_t* fmt, ...);

    // Conversions
    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view s);

private:
    std::wstring m_s;
};

inline CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, const wchar_t* b)
{
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const wchar_t* a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, wchar_t b)
{
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(wchar_t a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

// Narrow-string companion used where the framework has CStringA (UTF-8 here).
using CStringA = std::string;

// UTF-8 <-> wide conversions, independent of the C locale.
std::string WideToUtf8(std::wstring_view w);
std::wstring Utf8ToWide(std::string_view s);

// printf into a wide string with the framework's rules (see CString::Format).
std::wstring FormatWide(const wchar_t* fmt, va_list args);
