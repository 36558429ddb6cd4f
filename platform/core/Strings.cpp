// The string table: the program's texts by id.
#include "platform/core/Strings.h"

#include "platform/core/CString.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace qor {
namespace {

struct Table
{
    std::mutex lock;
    // Each text lives in its own allocation, so a pointer handed out stays put while
    // other ids are added.
    std::map<UINT, std::unique_ptr<std::wstring>> texts;
};

Table& TheTable()
{
    static Table t; // made on first use: registrations run during static initialisation
    return t;
}

} // namespace

void RegisterString(UINT id, const wchar_t* text)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    t.texts[id] = std::make_unique<std::wstring>(text ? text : L"");
}

void RegisterStrings(const StringResource* table, std::size_t count)
{
    for (std::size_t i = 0; table && i < count; ++i) RegisterString(table[i].id, table[i].text);
}

bool UnregisterString(UINT id)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    return t.texts.erase(id) > 0;
}

const wchar_t* FindString(UINT id)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.texts.find(id);
    return it == t.texts.end() ? nullptr : it->second->c_str();
}

} // namespace qor

int AfxLoadString(UINT nID, wchar_t* lpszBuf, UINT nMaxBuf)
{
    if (!lpszBuf || nMaxBuf == 0) return 0;
    const wchar_t* text = qor::FindString(nID);
    if (!text)
    {
        lpszBuf[0] = 0;
        return 0;
    }
    std::wstring_view v(text);
    std::size_t n = std::min<std::size_t>(v.size(), nMaxBuf - 1);
    std::copy_n(v.data(), n, lpszBuf);
    lpszBuf[n] = 0;
    return static_cast<int>(n);
}

int LoadString(HINSTANCE__*, UINT uID, wchar_t* lpBuffer, int cchBufferMax)
{
    return cchBufferMax > 0 ? AfxLoadString(uID, lpBuffer, static_cast<UINT>(cchBufferMax)) : 0;
}

BOOL CString::LoadString(UINT nID)
{
    const wchar_t* text = qor::FindString(nID);
    if (!text) return FALSE;
    m_s = text;
    return TRUE;
}

CString qor::LoadText(UINT id)
{
    const wchar_t* text = FindString(id);
    return text ? CString(text) : CString();
}
