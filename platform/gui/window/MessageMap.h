// Message maps: static tables that route a window's messages to its member handlers.
//
//   // in the class:            DECLARE_MESSAGE_MAP()
//   // in the .cpp:             BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//                                   ON_WM_PAINT()
//                                   ON_WM_LBUTTONDOWN()
//                                   ON_MESSAGE(WM_APP + 1, OnElementSelected)
//                               END_MESSAGE_MAP()
//
// Every entry checks the handler's signature at compile time (the handler's member
// pointer must convert to the expected one) and cracks the message into its arguments.
// A class's table is chained to its base class's, so handlers are inherited.
#pragma once

#include "platform/gui/window/CmdTarget.h"

class CDC;
class CScrollBar;

namespace qor::gui {
// Helpers the entries use to turn handles back into objects (defined in WndCreate.cpp).
CWnd* WndFromHandle(HWND hWnd);
CScrollBar* ScrollBarFromHandle(HWND hWnd);
CDC* DCFromHandle(HDC hDC);
} // namespace qor::gui

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const AFX_MSGMAP* GetThisMessageMap();                                                                      \
    const AFX_MSGMAP* GetMessageMap() const override;                                                                  \
                                                                                                                       \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }                                  \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                                    \
    {                                                                                                                  \
        using ThisClass [[maybe_unused]] = theClass;                                                                   \
        using TheBaseClass = baseClass;                                                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass)                                                     \
    template <typename type_name>                                                                                      \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const                                                       \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    template <typename type_name>                                                                                      \
    const AFX_MSGMAP* theClass<type_name>::GetThisMessageMap()                                                         \
    {                                                                                                                  \
        using ThisClass [[maybe_unused]] = theClass<type_name>;                                                        \
        using TheBaseClass = baseClass;                                                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    {                                                                                                                  \
        0, 0, 0, 0, nullptr, nullptr                                                                                   \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};                      \
    return &messageMap;                                                                                                \
    }

// One entry: msg/code/id range, the handler's expected member-pointer type, and the call.
// Inside `body`: p (ThisClass*), pm (the handler), wParam, lParam, pExtra, pResult.
#define QOR_MSG_ENTRY(msg, code, id, lastId, preg, memberFxn, sig, body)                                               \
    {(msg),                                                                                                            \
     static_cast<UINT>(code),                                                                                          \
     static_cast<UINT>(id),                                                                                            \
     static_cast<UINT>(lastId),                                                                                        \
     (preg),                                                                                                           \
     [](CCmdTarget* qorTarget, WPARAM wParam, LPARAM lParam, void* pExtra, LRESULT* pResult) -> bool {                 \
         (void)wParam;                                                                                                 \
         (void)lParam;                                                                                                 \
         (void)pExtra;                                                                                                 \
         (void)pResult;                                                                                                \
         using QorHandlerType = sig;                                                                                   \
         QorHandlerType pm = &ThisClass::memberFxn;                                                                    \
         ThisClass* p = static_cast<ThisClass*>(qorTarget);                                                            \
         body                                                                                                          \
     }},

#define QOR_WM_ENTRY(msg, memberFxn, sig, body) QOR_MSG_ENTRY(msg, 0, 0, 0, nullptr, memberFxn, sig, body)

#define QOR_PT_LPARAM CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))

// ---- Window messages -----------------------------------------------------------------------
#define ON_WM_CREATE()                                                                                                 \
    QOR_WM_ENTRY(WM_CREATE, OnCreate, int (ThisClass::*)(LPCREATESTRUCT),                                              \
                 *pResult = (p->*pm)(reinterpret_cast<LPCREATESTRUCT>(lParam));                                        \
                 return true;)
#define ON_WM_DESTROY() QOR_WM_ENTRY(WM_DESTROY, OnDestroy, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_WM_NCDESTROY() QOR_WM_ENTRY(WM_NCDESTROY, OnNcDestroy, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_WM_CLOSE() QOR_WM_ENTRY(WM_CLOSE, OnClose, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_WM_PAINT() QOR_WM_ENTRY(WM_PAINT, OnPaint, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_WM_ERASEBKGND()                                                                                             \
    QOR_WM_ENTRY(WM_ERASEBKGND, OnEraseBkgnd, BOOL (ThisClass::*)(CDC*),                                               \
                 *pResult = (p->*pm)(qor::gui::DCFromHandle(reinterpret_cast<HDC>(wParam)));                           \
                 return true;)
#define ON_WM_SIZE()                                                                                                   \
    QOR_WM_ENTRY(                                                                                                      \
        WM_SIZE, OnSize, void (ThisClass::*)(UINT, int, int),                                                          \
        (p->*pm)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));   \
        return true;)
#define ON_WM_MOVE()                                                                                                   \
    QOR_WM_ENTRY(WM_MOVE, OnMove, void (ThisClass::*)(int, int), (p->*pm)(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); \
                 return true;)
#define ON_WM_SHOWWINDOW()                                                                                             \
    QOR_WM_ENTRY(WM_SHOWWINDOW, OnShowWindow, void (ThisClass::*)(BOOL, UINT),                                         \
                 (p->*pm)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));                                       \
                 return true;)
#define ON_WM_ENABLE()                                                                                                 \
    QOR_WM_ENTRY(WM_ENABLE, OnEnable, void (ThisClass::*)(BOOL), (p->*pm)(static_cast<BOOL>(wParam)); return true;)

#define QOR_MOUSE_ENTRY(msg, fn)                                                                                       \
    QOR_WM_ENTRY(msg, fn, void (ThisClass::*)(UINT, CPoint), (p->*pm)(static_cast<UINT>(wParam), QOR_PT_LPARAM);       \
                 return true;)
#define ON_WM_MOUSEMOVE() QOR_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() QOR_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() QOR_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() QOR_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() QOR_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() QOR_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() QOR_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() QOR_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() QOR_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEWHEEL()                                                                                             \
    QOR_WM_ENTRY(WM_MOUSEWHEEL, OnMouseWheel, BOOL (ThisClass::*)(UINT, short, CPoint),                                \
                 *pResult = (p->*pm)(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), QOR_PT_LPARAM);               \
                 return true;)
#define ON_WM_MOUSELEAVE() QOR_WM_ENTRY(WM_MOUSELEAVE, OnMouseLeave, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_WM_CONTEXTMENU()                                                                                            \
    QOR_WM_ENTRY(WM_CONTEXTMENU, OnContextMenu, void (ThisClass::*)(CWnd*, CPoint),                                    \
                 (p->*pm)(qor::gui::WndFromHandle(reinterpret_cast<HWND>(wParam)), QOR_PT_LPARAM);                     \
                 return true;)
#define ON_WM_MOUSEACTIVATE()                                                                                          \
    QOR_WM_ENTRY(                                                                                                      \
        WM_MOUSEACTIVATE, OnMouseActivate, int (ThisClass::*)(CWnd*, UINT, UINT),                                      \
        *pResult = (p->*pm)(qor::gui::WndFromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));  \
        return true;)
#define ON_WM_NCHITTEST()                                                                                              \
    QOR_WM_ENTRY(WM_NCHITTEST, OnNcHitTest, LRESULT (ThisClass::*)(CPoint), *pResult = (p->*pm)(QOR_PT_LPARAM);        \
                 return true;)

#define QOR_KEY_ENTRY(msg, fn)                                                                                         \
    QOR_WM_ENTRY(msg, fn, void (ThisClass::*)(UINT, UINT, UINT),                                                       \
                 (p->*pm)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                                  \
                 return true;)
#define ON_WM_KEYDOWN() QOR_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() QOR_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() QOR_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() QOR_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_CHAR() QOR_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSCHAR() QOR_KEY_ENTRY(WM_SYSCHAR, OnSysChar)

#define ON_WM_SETFOCUS()                                                                                               \
    QOR_WM_ENTRY(WM_SETFOCUS, OnSetFocus, void (ThisClass::*)(CWnd*),                                                  \
                 (p->*pm)(qor::gui::WndFromHandle(reinterpret_cast<HWND>(wParam)));                                    \
                 return true;)
#define ON_WM_KILLFOCUS()                                                                                              \
    QOR_WM_ENTRY(WM_KILLFOCUS, OnKillFocus, void (ThisClass::*)(CWnd*),                                                \
                 (p->*pm)(qor::gui::WndFromHandle(reinterpret_cast<HWND>(wParam)));                                    \
                 return true;)
#define ON_WM_CAPTURECHANGED()                                                                                         \
    QOR_WM_ENTRY(WM_CAPTURECHANGED, OnCaptureChanged, void (ThisClass::*)(CWnd*),                                      \
                 (p->*pm)(qor::gui::WndFromHandle(reinterpret_cast<HWND>(lParam)));                                    \
                 return true;)
#define ON_WM_SETCURSOR()                                                                                              \
    QOR_WM_ENTRY(                                                                                                      \
        WM_SETCURSOR, OnSetCursor, BOOL (ThisClass::*)(CWnd*, UINT, UINT),                                             \
        *pResult = (p->*pm)(qor::gui::WndFromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));  \
        return true;)
#define ON_WM_TIMER()                                                                                                  \
    QOR_WM_ENTRY(WM_TIMER, OnTimer, void (ThisClass::*)(UINT_PTR), (p->*pm)(static_cast<UINT_PTR>(wParam));            \
                 return true;)
#define ON_WM_HSCROLL()                                                                                                \
    QOR_WM_ENTRY(                                                                                                      \
        WM_HSCROLL, OnHScroll, void (ThisClass::*)(UINT, UINT, CScrollBar*),                                           \
        (p->*pm)(LOWORD(wParam), HIWORD(wParam), qor::gui::ScrollBarFromHandle(reinterpret_cast<HWND>(lParam)));       \
        return true;)
#define ON_WM_VSCROLL()                                                                                                \
    QOR_WM_ENTRY(                                                                                                      \
        WM_VSCROLL, OnVScroll, void (ThisClass::*)(UINT, UINT, CScrollBar*),                                           \
        (p->*pm)(LOWORD(wParam), HIWORD(wParam), qor::gui::ScrollBarFromHandle(reinterpret_cast<HWND>(lParam)));       \
        return true;)
#define ON_WM_GETDLGCODE()                                                                                             \
    QOR_WM_ENTRY(WM_GETDLGCODE, OnGetDlgCode, UINT (ThisClass::*)(), *pResult = (p->*pm)(); return true;)
#define ON_WM_SETTINGCHANGE()                                                                                          \
    QOR_WM_ENTRY(WM_SETTINGCHANGE, OnSettingChange, void (ThisClass::*)(UINT, LPCTSTR),                                \
                 (p->*pm)(static_cast<UINT>(wParam), reinterpret_cast<LPCTSTR>(lParam));                               \
                 return true;)
#define ON_WM_SYSCOLORCHANGE()                                                                                         \
    QOR_WM_ENTRY(WM_SYSCOLORCHANGE, OnSysColorChange, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_WM_CANCELMODE() QOR_WM_ENTRY(WM_CANCELMODE, OnCancelMode, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_WM_WINDOWPOSCHANGED()                                                                                       \
    QOR_WM_ENTRY(WM_WINDOWPOSCHANGED, OnWindowPosChanged, void (ThisClass::*)(WINDOWPOS*),                             \
                 (p->*pm)(reinterpret_cast<WINDOWPOS*>(lParam));                                                       \
                 return true;)
#define ON_WM_GETMINMAXINFO()                                                                                          \
    QOR_WM_ENTRY(WM_GETMINMAXINFO, OnGetMinMaxInfo, void (ThisClass::*)(MINMAXINFO*),                                  \
                 (p->*pm)(reinterpret_cast<MINMAXINFO*>(lParam));                                                      \
                 return true;)
#define ON_WM_ACTIVATE()                                                                                               \
    QOR_WM_ENTRY(WM_ACTIVATE, OnActivate, void (ThisClass::*)(UINT, CWnd*, BOOL),                                      \
                 (p->*pm)(LOWORD(wParam), qor::gui::WndFromHandle(reinterpret_cast<HWND>(lParam)),                     \
                          static_cast<BOOL>(HIWORD(wParam)));                                                          \
                 return true;)

// Any message, handled as LRESULT OnX(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                                                 \
    QOR_MSG_ENTRY(message, 0, 0, 0, nullptr, memberFxn, LRESULT (ThisClass::*)(WPARAM, LPARAM),                        \
                  *pResult = (p->*pm)(wParam, lParam);                                                                 \
                  return true;)
// A registered message; nMessageVariable is the UINT that holds RegisterWindowMessage's id.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                             \
    QOR_MSG_ENTRY(0xC000u, 0, 0, 0, &(nMessageVariable), memberFxn, LRESULT (ThisClass::*)(WPARAM, LPARAM),            \
                  *pResult = (p->*pm)(wParam, lParam);                                                                 \
                  return true;)

// ---- Commands (WM_COMMAND): wParam = id, lParam = code, pExtra = CCmdUI* for updates ------
#define ON_COMMAND(id, memberFxn)                                                                                      \
    QOR_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, nullptr, memberFxn, void (ThisClass::*)(), (p->*pm)(); return true;)
#define ON_COMMAND_EX(id, memberFxn)                                                                                   \
    QOR_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, nullptr, memberFxn, BOOL (ThisClass::*)(UINT),                       \
                  return (p->*pm)(static_cast<UINT>(wParam)) != FALSE;)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                                        \
    QOR_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, nullptr, memberFxn, void (ThisClass::*)(UINT),                   \
                  (p->*pm)(static_cast<UINT>(wParam));                                                                 \
                  return true;)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                            \
    QOR_MSG_ENTRY(WM_COMMAND, 0xFFFFu, id, id, nullptr, memberFxn, void (ThisClass::*)(CCmdUI*),                       \
                  (p->*pm)(static_cast<CCmdUI*>(pExtra));                                                              \
                  return true;)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                              \
    QOR_MSG_ENTRY(WM_COMMAND, 0xFFFFu, id, idLast, nullptr, memberFxn, void (ThisClass::*)(CCmdUI*),                   \
                  (p->*pm)(static_cast<CCmdUI*>(pExtra));                                                              \
                  return true;)
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                                         \
    QOR_MSG_ENTRY(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, id, nullptr, memberFxn, void (ThisClass::*)(),       \
                  (p->*pm)();                                                                                          \
                  return true;)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                           \
    QOR_MSG_ENTRY(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, idLast, nullptr, memberFxn,                          \
                  void (ThisClass::*)(UINT), (p->*pm)(static_cast<UINT>(wParam));                                      \
                  return true;)
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                                     \
    QOR_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn,              \
                  void(ThisClass::*)(), (p->*pm)();                                                                    \
                  return true;)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                                  \
    QOR_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn,              \
                  BOOL(ThisClass::*)(), return (p->*pm)() != FALSE;)

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_EN_CHANGE_REFLECT(memberFxn) ON_CONTROL_REFLECT(EN_CHANGE, memberFxn)

// ---- Notifications (WM_NOTIFY): pExtra = AFX_NOTIFY* --------------------------------------
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                          \
    QOR_MSG_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, id, nullptr, memberFxn,                               \
                  void (ThisClass::*)(NMHDR*, LRESULT*),                                                               \
                  (p->*pm)(static_cast<AFX_NOTIFY*>(pExtra)->pNMHDR, static_cast<AFX_NOTIFY*>(pExtra)->pResult);       \
                  return true;)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                            \
    QOR_MSG_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, idLast, nullptr, memberFxn,                           \
                  void (ThisClass::*)(UINT, NMHDR*, LRESULT*),                                                         \
                  (p->*pm)(static_cast<UINT>(wParam), static_cast<AFX_NOTIFY*>(pExtra)->pNMHDR,                        \
                           static_cast<AFX_NOTIFY*>(pExtra)->pResult);                                                 \
                  return true;)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                                       \
    QOR_MSG_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, id, nullptr, memberFxn,                               \
                  BOOL (ThisClass::*)(UINT, NMHDR*, LRESULT*),                                                         \
                  return (p->*pm)(static_cast<UINT>(wParam), static_cast<AFX_NOTIFY*>(pExtra)->pNMHDR,                 \
                                  static_cast<AFX_NOTIFY*>(pExtra)->pResult) != FALSE;)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                                      \
    QOR_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn,               \
                  void(ThisClass::*)(NMHDR*, LRESULT*),                                                                \
                  (p->*pm)(static_cast<AFX_NOTIFY*>(pExtra)->pNMHDR, static_cast<AFX_NOTIFY*>(pExtra)->pResult);       \
                  return true;)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                                   \
    QOR_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn,               \
                  BOOL(ThisClass::*)(NMHDR*, LRESULT*),                                                                \
                  return (p->*pm)(static_cast<AFX_NOTIFY*>(pExtra)->pNMHDR,                                            \
                                  static_cast<AFX_NOTIFY*>(pExtra)->pResult) != FALSE;)
