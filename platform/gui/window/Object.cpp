// CObject and run-time classes: class names, IsKindOf, and creation by run-time class.
#include "platform/gui/window/Object.h"
#include "platform/gui/window/CmdTarget.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

// ---- Run-time classes ----------------------------------------------------------------------

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == pBaseClass) return TRUE;
    return FALSE;
}

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

namespace {
std::map<std::string, const CRuntimeClass*>& CreatableClasses()
{
    static std::map<std::string, const CRuntimeClass*> classes;
    return classes;
}
std::mutex& ClassesMutex()
{
    static std::mutex m;
    return m;
}
} // namespace

qor::gui::RuntimeClassRegistrar::RuntimeClassRegistrar(const CRuntimeClass* cls)
{
    std::lock_guard<std::mutex> lock(ClassesMutex());
    CreatableClasses()[cls->m_lpszClassName] = cls;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName) return nullptr;
    std::lock_guard<std::mutex> lock(ClassesMutex());
    auto it = CreatableClasses().find(lpszClassName);
    return it == CreatableClasses().end() ? nullptr : it->second;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (!lpszClassName) return nullptr;
    std::string narrow;
    for (const wchar_t* p = lpszClassName; *p; ++p) narrow.push_back(static_cast<char>(*p));
    return FromName(narrow.c_str());
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    const CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}

// ---- Command targets -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY* e, UINT nMsg, UINT nCode, UINT nID)
{
    for (; e && e->pfn; ++e)
    {
        if (e->pnRegistered)
        {
            if (nMsg >= 0xC000u && *e->pnRegistered == nMsg) return e;
            continue;
        }
        if (e->nMessage == nMsg && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID) return e;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // nCode carries the message in its high word and the notification code in its low word;
    // the update request (-1) is a WM_COMMAND entry of its own, not a message 0xFFFF.
    UINT nMsg = HIWORD(static_cast<UINT>(nCode));
    UINT code = LOWORD(static_cast<UINT>(nCode));
    if (nMsg == 0 || nCode == CN_UPDATE_COMMAND_UI) nMsg = WM_COMMAND;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        const AFX_MSGMAP_ENTRY* e = map->lpEntries;
        while ((e = FindMessageEntry(e, nMsg, code, nID)) != nullptr)
        {
            if (pHandlerInfo)
            {
                pHandlerInfo->pTarget = this;
                return TRUE;
            }
            LRESULT result = 0;
            if (nCode == CN_UPDATE_COMMAND_UI && pExtra)
            {
                // An update handler that asks for routing to go on leaves the command to the next target.
                auto* ui = static_cast<CCmdUI*>(pExtra);
                ui->m_bContinueRouting = FALSE;
                e->pfn(this, nID, static_cast<LPARAM>(code), pExtra, &result);
                const bool routeOn = ui->m_bContinueRouting != FALSE;
                ui->m_bContinueRouting = FALSE;
                return routeOn ? FALSE : TRUE;
            }
            if (e->pfn(this, nID, static_cast<LPARAM>(code), pExtra, &result)) return TRUE;
            ++e; // an _EX handler declined: look further
        }
    }
    return FALSE;
}

// ---- CCmdUI --------------------------------------------------------------------------------

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
}
void CCmdUI::SetCheck(int nCheck) { m_nCheck = nCheck; }
void CCmdUI::SetRadio(BOOL bOn) { m_nCheck = bOn ? 1 : 0; }
void CCmdUI::SetText(LPCTSTR lpszText)
{
    m_strText = lpszText ? lpszText : L"";
    m_bTextChanged = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget) return FALSE;
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO info{nullptr};
        BOOL hasHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasHandler);
    }
    return handled;
}
