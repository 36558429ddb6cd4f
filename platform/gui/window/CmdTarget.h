// CCmdTarget: the owner of a message map, and command routing (OnCmdMsg, CCmdUI).
#pragma once

#include "platform/core/CString.h"
#include "platform/gui/draw/WinDefs.h"
#include "platform/gui/window/Object.h"

class CCmdTarget;
class CCmdUI;
class CWnd;

// A message-map entry calls its handler through a thunk that cracks the message's
// parameters into the handler's arguments. It returns false when the handler declined
// (the _EX variants), so that routing goes on.
using AFX_PMSG_THUNK = bool (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, void* pExtra, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;            // window message; WM_COMMAND / WM_NOTIFY (or reflected) for commands
    UINT nCode;               // command or notification code (low word), 0 for window messages
    UINT nID;                 // first control / command id
    UINT nLastID;             // last id of the range
    const UINT* pnRegistered; // ON_REGISTERED_MESSAGE: the variable that holds the id
    AFX_PMSG_THUNK pfn;       // nullptr ends the table
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Extra data of a WM_NOTIFY routed through OnCmdMsg.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
};

// Codes passed to OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (-1)
#define WM_REFLECT_BASE 0xBC00u

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Routes a command (nCode = CN_COMMAND or a control notification code), an update
    // request (CN_UPDATE_COMMAND_UI, pExtra = CCmdUI*) or a notification
    // (MAKELONG(code, WM_NOTIFY), pExtra = AFX_NOTIFY*) to this object's map.
    // With pHandlerInfo, only tells whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Finds the entry for a message in one table (nullptr when none).
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The state of a command's user interface (menu item, toolbar button) asked from the
// command's update handler.
class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    // What the handler asked for (the base class only records it).
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    CString m_strText;
    BOOL m_bTextChanged = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's update handler; with no handler and bDisableIfNoHndler, disables the
    // item when pTarget has no command handler either. Returns TRUE when a handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
