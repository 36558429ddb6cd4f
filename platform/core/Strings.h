// The string table: the program's texts by id. The resources (res/) define them as C++
// tables registered at start-up:
//
//   QOR_STRING_RESOURCE(IDS_SPAN_LENGTH, L"Span length");
//   static const qor::StringResource kStrings[] = {{IDS_A, L"A"}, {IDS_B, L"B"}};
//   QOR_STRING_TABLE(kStrings);
//
// and code loads them with CString::LoadString(id), AfxLoadString or LoadString. An id
// registered twice keeps the later text. Lookups may come from any thread.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <cstddef>

namespace qor {

struct StringResource
{
    UINT id;
    const wchar_t* text;
};

// Adds (or replaces) a text; the text is copied.
void RegisterString(UINT id, const wchar_t* text);
void RegisterStrings(const StringResource* table, std::size_t count);
// The text of an id, empty when the id has none.
CString LoadText(UINT id);
// Removes a text (tests); false when there was none.
bool UnregisterString(UINT id);
// The text of an id, or nullptr. The pointer stays valid until the id is registered again
// or removed.
const wchar_t* FindString(UINT id);

struct StringRegistrar
{
    StringRegistrar(UINT id, const wchar_t* text) { RegisterString(id, text); }
    StringRegistrar(const StringResource* table, std::size_t count) { RegisterStrings(table, count); }
};

} // namespace qor

// Copies the text of nID into the buffer (cut to nMaxBuf - 1 characters, always ended);
// returns the number of characters copied, 0 when the id has no text.
int AfxLoadString(UINT nID, wchar_t* lpszBuf, UINT nMaxBuf = 256);
// The system's form: the instance is ignored (one table for the program).
struct HINSTANCE__;
int LoadString(HINSTANCE__* hInstance, UINT uID, wchar_t* lpBuffer, int cchBufferMax);
inline int LoadStringW(HINSTANCE__* hInstance, UINT uID, wchar_t* lpBuffer, int cchBufferMax)
{
    return LoadString(hInstance, uID, lpBuffer, cchBufferMax);
}

#define QOR_STRINGS_CONCAT2(a, b) a##b
#define QOR_STRINGS_CONCAT(a, b) QOR_STRINGS_CONCAT2(a, b)
#define QOR_STRING_RESOURCE(id, text)                                                                                  \
    static const ::qor::StringRegistrar QOR_STRINGS_CONCAT(qor_string_resource_, __COUNTER__)                          \
    {                                                                                                                  \
        static_cast<UINT>(id), (text)                                                                                  \
    }
#define QOR_STRING_TABLE(tableArray)                                                                                   \
    static const ::qor::StringRegistrar QOR_STRINGS_CONCAT(qor_string_table_, __COUNTER__)                             \
    {                                                                                                                  \
        (tableArray), sizeof(tableArray) / sizeof((tableArray)[0])                                                     \
    }
