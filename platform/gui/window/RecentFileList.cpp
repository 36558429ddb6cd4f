// The most recently used files, newest first, read from and written to the application's profile.
#include "platform/gui/window/App.h"

#include "platform/gui/window/ProfileSection.h"

CString CRecentFileList::operator[](int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_files[static_cast<size_t>(nIndex)] : CString();
}

void CRecentFileList::Add(LPCTSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName) return;
    CString path(lpszPathName);
    for (size_t i = 0; i < m_files.size(); ++i)
        if (m_files[i] == path)
        {
            m_files.erase(m_files.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    m_files.insert(m_files.begin(), path);
    if (static_cast<int>(m_files.size()) > m_nSize) m_files.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount()) m_files.erase(m_files.begin() + nIndex);
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString key;
        key.Format(L"File%d", i + 1);
        CString v = app->GetProfileString(L"Recent File List", key, L"");
        if (!v.IsEmpty()) m_files.push_back(v);
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app) return;
    // One write of the profile for the whole list: each waits for the disk.
    std::vector<std::pair<CString, std::optional<CString>>> entries;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString key;
        key.Format(L"File%d", i + 1);
        entries.emplace_back(key,
                             i < GetCount() ? std::optional<CString>(m_files[static_cast<size_t>(i)]) : std::nullopt);
    }
    qor::gui::WriteProfileSection(*app, L"Recent File List", entries);
}
