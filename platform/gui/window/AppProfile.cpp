// The application's profile: an INI file named after the registry key in the user's configuration
// folder, its values, the Workspace section of CWinAppEx and the recent-file list kept there.
#include "platform/gui/window/App.h"

#include "platform/core/FileChecks.h"
#include "platform/core/Paths.h"
#include "platform/core/ReplacingFile.h"
#include "platform/gui/window/ProfileSection.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// ---- The INI file ---------------------------------------------------------------------------------

using Section = std::map<std::wstring, std::wstring>;
using IniData = std::map<std::wstring, Section>;

std::wstring Unescape(const std::wstring& v)
{
    std::wstring r;
    for (size_t i = 0; i < v.size(); ++i)
    {
        if (v[i] == L'\\' && i + 1 < v.size())
        {
            wchar_t n = v[++i];
            r += n == L'n' ? L'\n' : n == L'r' ? L'\r' : n;
        }
        else
        {
            r += v[i];
        }
    }
    return r;
}

std::wstring Escape(const std::wstring& v)
{
    std::wstring r;
    for (wchar_t c : v)
    {
        if (c == L'\\')
            r += L"\\\\";
        else if (c == L'\n')
            r += L"\\n";
        else if (c == L'\r')
            r += L"\\r";
        else
            r += c;
    }
    return r;
}

IniData ReadIni(const CString& path)
{
    IniData data;
    std::ifstream in(path.ToUtf8(), std::ios::binary);
    std::string line;
    std::wstring section;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::wstring w = static_cast<LPCTSTR>(CString::FromUtf8(line));
        if (w.empty() || w[0] == L';') continue;
        if (w[0] == L'[' && w.back() == L']')
        {
            section = w.substr(1, w.size() - 2);
            data[section];
            continue;
        }
        size_t eq = w.find(L'=');
        if (eq == std::wstring::npos) continue;
        data[section][w.substr(0, eq)] = Unescape(w.substr(eq + 1));
    }
    return data;
}

bool WriteIni(const CString& path, const IniData& data)
{
    std::ostringstream out;
    for (const auto& [name, entries] : data)
    {
        out << '[' << CString(name.c_str()).ToUtf8() << "]\n";
        for (const auto& [k, v] : entries)
            out << CString(k.c_str()).ToUtf8() << '=' << CString(Escape(v).c_str()).ToUtf8() << '\n';
        out << '\n';
    }
    // A profile that holds these values already is left alone (saving a case names it in the recent-file
    // list again, mostly in the place it had).
    if (qor::FileHolds(path, out.str())) return true;
    qor::CreateFolders(qor::FolderOf(path));
    // Replaced only when written whole (see CReplacingFile): a failed write leaves the old profile and
    // no temporary file. The disk's wait (the sync takes seconds on a busy disk) is not the window's:
    // the windows paint meanwhile.
    bool written = false;
    int error = 0;
    const auto write = [&] {
        written = qor::CReplacingFile::ReplaceWith(path, out.str());
        error = errno;
    };
    qor::gui::RunWorkOffWindowThreadWhereWindows(write);
    // Said once on standard error, not at each of the many values an exit writes; said
    // again after a write that went well.
    static std::atomic<bool> s_reported{false};
    if (written)
        s_reported = false;
    else if (!s_reported.exchange(true))
        std::fprintf(stderr, "Profile: %s could not be written: %s\n", path.ToUtf8().c_str(),
                     std::strerror(error ? error : EIO));
    return written;
}

} // namespace

CWinApp::ProfileSections CWinApp::ReadProfileSections() const
{
    if (m_heldProfile) return *m_heldProfile;
    const CString path = GetProfileFilePath();
    return path.IsEmpty() ? ProfileSections() : ReadIni(path);
}

BOOL CWinApp::WriteProfileSections(ProfileSections sections, bool bLater)
{
    if (!m_heldProfile)
    {
        const CString path = GetProfileFilePath();
        if (path.IsEmpty()) return FALSE;
        if (!bLater) return WriteIni(path, sections) ? TRUE : FALSE;
        m_strHeldProfilePath = path;
    }
    m_heldProfile = std::move(sections);
    // What was kept for later goes with this write.
    return bLater || m_bProfileHeldToEnd ? TRUE : WriteHeldProfile();
}

void CWinApp::HoldProfileWrites()
{
    m_bProfileHeldToEnd = TRUE;
    if (m_heldProfile) return;
    m_strHeldProfilePath = GetProfileFilePath();
    if (m_strHeldProfilePath.IsEmpty()) return; // no profile: nothing to hold
    m_heldProfile = ReadIni(m_strHeldProfilePath);
}

BOOL CWinApp::WriteHeldProfile()
{
    m_bProfileHeldToEnd = FALSE;
    if (!m_heldProfile) return TRUE;
    const IniData data = std::move(*m_heldProfile);
    m_heldProfile.reset();
    return WriteIni(m_strHeldProfilePath, data) ? TRUE : FALSE;
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : L"";
    m_pszRegistryKey = m_strRegistryKey;
    m_strProfileName = m_pszAppName ? m_pszAppName : L"";
    m_pszProfileName = m_strProfileName;
}

CString CWinApp::GetProfileFilePath() const
{
    // Without a configuration folder the program may use (no home, a relative or shared one), there is
    // no profile: values read as their defaults and writes fail.
    const CString folder = qor::GetConfigFolder();
    if (m_strRegistryKey.IsEmpty() || folder.IsEmpty()) return CString();
    CString key = m_strRegistryKey;
    key.Replace(L"/", L"_");
    return folder + L"/" + key + L".ini";
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    CString v = GetProfileString(lpszSection, lpszEntry, nullptr);
    if (v.IsEmpty()) return static_cast<UINT>(nDefault);
    wchar_t* end = nullptr;
    long n = std::wcstol(v, &end, 10);
    return end && *end == 0 ? static_cast<UINT>(n) : static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    CString v;
    v.Format(L"%d", nValue);
    return WriteProfileString(lpszSection, lpszEntry, v);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    CString def = lpszDefault ? lpszDefault : L"";
    if (!lpszSection || !lpszEntry) return def;
    const IniData data = ReadProfileSections();
    auto s = data.find(lpszSection);
    if (s == data.end()) return def;
    auto e = s->second.find(lpszEntry);
    return e == s->second.end() ? def : CString(e->second.c_str());
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (!lpszSection) return FALSE;
    IniData data = ReadProfileSections();
    if (!lpszEntry)
        data.erase(lpszSection);
    else if (!lpszValue)
        data[lpszSection].erase(lpszEntry);
    else
        data[lpszSection][lpszEntry] = lpszValue;
    return WriteProfileSections(std::move(data));
}

bool qor::gui::WriteProfileSection(CWinApp& app, const CString& section,
                                   const std::vector<std::pair<CString, std::optional<CString>>>& entries, bool later)
{
    IniData data = app.ReadProfileSections();
    Section& values = data[static_cast<LPCTSTR>(section)];
    for (const auto& [entry, value] : entries)
        if (value)
            values[static_cast<LPCTSTR>(entry)] = static_cast<LPCTSTR>(*value);
        else
            values.erase(static_cast<LPCTSTR>(entry));
    return app.WriteProfileSections(std::move(data), later) != FALSE;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0) return;
    m_pRecentFileList = new CRecentFileList(static_cast<int>(std::min(nMaxMRU, 16u)));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (!m_pRecentFileList) return;
    if (m_pDocManager && m_pDocManager->IsRestoringAutosave()) return; // an autosave's own path
    m_pRecentFileList->Add(lpszPathName);
    m_pRecentFileList->WriteList();
}

int CWinAppEx::GetInt(LPCTSTR lpszEntry, int nDefault)
{
    return static_cast<int>(GetProfileInt(L"Workspace", lpszEntry, nDefault));
}
BOOL CWinAppEx::WriteInt(LPCTSTR lpszEntry, int nValue) { return WriteProfileInt(L"Workspace", lpszEntry, nValue); }
CString CWinAppEx::GetString(LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    return GetProfileString(L"Workspace", lpszEntry, lpszDefault);
}
BOOL CWinAppEx::WriteString(LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    return WriteProfileString(L"Workspace", lpszEntry, lpszValue);
}
