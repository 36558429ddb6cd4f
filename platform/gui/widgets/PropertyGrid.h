// The property grid: named values in nested groups (booleans, numbers, text, colours, file
// paths), a value column the user edits in place, and a description area under the list.
// Every value the user changes is reported to the grid's owner with the registered message
// AFX_WM_PROPERTY_CHANGED (wParam: control id, lParam: the property).
#pragma once

#include "platform/gui/window/Wnd.h"

#include <memory>
#include <vector>

// ---- Values ---------------------------------------------------------------------------------
using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
#define VARIANT_TRUE (static_cast<VARIANT_BOOL>(-1))
#define VARIANT_FALSE (static_cast<VARIANT_BOOL>(0))
#define VT_EMPTY 0
#define VT_I2 2
#define VT_I4 3
#define VT_R4 4
#define VT_R8 5
#define VT_BSTR 8
#define VT_BOOL 11
#define VT_UI2 18
#define VT_UI4 19
#define VT_INT 22
#define VT_UINT 23

// A tagged value as the property grid holds it.
class COleVariant
{
public:
    COleVariant() = default;
    COleVariant(bool b) : vt(VT_BOOL), boolVal(b ? VARIANT_TRUE : VARIANT_FALSE) {}
    COleVariant(short v, VARTYPE type = VT_I2) : vt(type == VT_BOOL ? VT_BOOL : VT_I2), iVal(v)
    {
        if (vt == VT_BOOL) boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
    }
    COleVariant(long v, VARTYPE type = VT_I4) : vt(type), lVal(v) {}
    COleVariant(int v) : vt(VT_I4), lVal(v) {}
    COleVariant(unsigned int v) : vt(VT_UINT), uintVal(v) {}
    COleVariant(unsigned long v) : vt(VT_UI4), uintVal(static_cast<unsigned int>(v)) {}
    COleVariant(double v) : vt(VT_R8), dblVal(v) {}
    COleVariant(float v) : vt(VT_R4), dblVal(v) {}
    COleVariant(LPCTSTR s) : vt(VT_BSTR), strVal(s ? s : L"") {}
    COleVariant(const CString& s) : vt(VT_BSTR), strVal(s) {}

    VARTYPE vt = VT_EMPTY;
    VARIANT_BOOL boolVal = VARIANT_FALSE;
    short iVal = 0;
    long lVal = 0;
    unsigned int uintVal = 0;
    double dblVal = 0.0;
    CString strVal;

    // The value as a 64-bit integer (booleans: 0 / -1; text: parsed, 0 when it is no number).
    long long AsInteger() const;
    double AsDouble() const;
    CString AsText() const;
};

// ---- Properties ----------------------------------------------------------------------------------
class CMFCPropertyGridCtrl;

class CMFCPropertyGridProperty
{
public:
    // A group.
    CMFCPropertyGridProperty(const CString& strGroupName, DWORD_PTR dwData = 0, BOOL bIsValueList = FALSE);
    // A value.
    CMFCPropertyGridProperty(const CString& strName, const COleVariant& varValue, LPCTSTR lpszDescr = nullptr,
                             DWORD_PTR dwData = 0, LPCTSTR lpszEditMask = nullptr, LPCTSTR lpszEditTemplate = nullptr,
                             LPCTSTR lpszValidChars = nullptr);
    virtual ~CMFCPropertyGridProperty();
    CMFCPropertyGridProperty(const CMFCPropertyGridProperty&) = delete;
    CMFCPropertyGridProperty& operator=(const CMFCPropertyGridProperty&) = delete;

    BOOL AddSubItem(CMFCPropertyGridProperty* pProp);
    int GetSubItemsCount() const { return static_cast<int>(m_subItems.size()); }
    CMFCPropertyGridProperty* GetSubItem(int nIndex) const;
    CMFCPropertyGridProperty* GetParent() const { return m_pParent; }
    BOOL IsGroup() const { return m_bGroup; }

    const COleVariant& GetValue() const { return m_varValue; }
    virtual void SetValue(const COleVariant& varValue);
    const COleVariant& GetOriginalValue() const { return m_varValueOrig; }
    BOOL IsModified() const { return m_bIsModified; }
    CString GetName() const { return m_strName; }
    void SetName(LPCTSTR lpszName) { m_strName = lpszName; }
    CString GetDescription() const { return m_strDescr; }
    void SetDescription(const CString& s) { m_strDescr = s; }
    DWORD_PTR GetData() const { return m_dwData; }
    void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
    BOOL IsExpanded() const { return m_bExpanded; }
    void Expand(BOOL bExpand = TRUE);
    BOOL IsEnabled() const { return m_bEnabled; }
    void Enable(BOOL bEnable = TRUE) { m_bEnabled = bEnable; }
    BOOL AllowEdit(BOOL bAllow = TRUE)
    {
        m_bAllowEdit = bAllow;
        return TRUE;
    }
    CMFCPropertyGridCtrl* GetOwnerList() const { return m_pWndList; }

    // The value as the grid shows it, and what the user's text makes of it.
    virtual CString FormatProperty();
    // Takes text typed into the value (as the in-place editor does at its end): parses it
    // for the value's type; FALSE leaves the value as it was (text that is no value).
    virtual BOOL TextToVar(const CString& strText);

protected:
    friend class CMFCPropertyGridCtrl;
    void SetOwnerList(CMFCPropertyGridCtrl* pWndList);

    CString m_strName;
    CString m_strDescr;
    COleVariant m_varValue;
    COleVariant m_varValueOrig;
    DWORD_PTR m_dwData = 0;
    BOOL m_bGroup = FALSE;
    BOOL m_bExpanded = TRUE;
    BOOL m_bEnabled = TRUE;
    BOOL m_bAllowEdit = TRUE;
    BOOL m_bIsModified = FALSE;
    CMFCPropertyGridProperty* m_pParent = nullptr;
    CMFCPropertyGridCtrl* m_pWndList = nullptr;
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> m_subItems;
};

// A colour, chosen with the colour dialog ("Other...").
class CMFCPropertyGridColorProperty : public CMFCPropertyGridProperty
{
public:
    CMFCPropertyGridColorProperty(const CString& strName, const COLORREF& color, void* pPalette = nullptr,
                                  LPCTSTR lpszDescr = nullptr, DWORD_PTR dwData = 0);
    COLORREF GetColor() const { return m_Color; }
    void SetColor(COLORREF color);
    void EnableOtherButton(LPCTSTR lpszLabel, BOOL bAltColorDlg = TRUE, BOOL bEnable = TRUE);
    void EnableAutomaticButton(LPCTSTR, COLORREF, BOOL = TRUE) {}
    void SetColumnsNumber(int) {}
    BOOL HasOtherButton() const { return m_bOther; }
    CString FormatProperty() override;
    BOOL TextToVar(const CString& strText) override; // "R, G, B"
    // The colour the user picked in the colour dialog: kept and reported to the grid's owner.
    void OnColorChosen(COLORREF color);

protected:
    COLORREF m_Color = 0;
    BOOL m_bOther = FALSE;
    CString m_strOtherLabel;
};

#ifndef OFN_HIDEREADONLY
#define OFN_HIDEREADONLY 0x00000004u
#define OFN_OVERWRITEPROMPT 0x00000002u
#define OFN_FILEMUSTEXIST 0x00001000u
#endif

// A file path, chosen with the file dialog ("...") or typed.
class CMFCPropertyGridFileProperty : public CMFCPropertyGridProperty
{
public:
    CMFCPropertyGridFileProperty(const CString& strName, BOOL bOpenFileDialog, const CString& strFileName,
                                 LPCTSTR lpszDefExt = nullptr, DWORD dwFlags = 0, LPCTSTR lpszFilter = nullptr,
                                 LPCTSTR lpszDescr = nullptr, DWORD_PTR dwData = 0);
    // Runs the file dialog (the application's file-dialog driver in tests) and reports the
    // chosen path; FALSE when cancelled.
    BOOL Browse();
    // The file dialog alone: path in and out; FALSE when cancelled.
    BOOL PromptForPath(CString& path) const;
    CString GetFilter() const { return m_strFilter; }

protected:
    BOOL m_bOpenFileDialog = TRUE;
    CString m_strDefExt;
    CString m_strFilter;
    DWORD m_dwFlags = 0;
};

// ---- The grid --------------------------------------------------------------------------------------
extern const UINT AFX_WM_PROPERTY_CHANGED;

class CMFCPropertyGridCtrl : public CWnd
{
    DECLARE_DYNAMIC(CMFCPropertyGridCtrl)
public:
    CMFCPropertyGridCtrl();
    ~CMFCPropertyGridCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int AddProperty(CMFCPropertyGridProperty* pProp, BOOL bRedraw = TRUE, BOOL bAdjustLayout = TRUE);
    void RemoveAll();
    int GetPropertyCount() const { return static_cast<int>(m_props.size()); }
    CMFCPropertyGridProperty* GetProperty(int nIndex) const;
    CMFCPropertyGridProperty* FindItemByData(DWORD_PTR dwData, BOOL bSearchSubItems = TRUE) const;
    CMFCPropertyGridProperty* GetCurSel() const { return m_pSel; }
    void SetCurSel(CMFCPropertyGridProperty* pProp, BOOL bRedraw = TRUE);

    void EnableHeaderCtrl(BOOL bEnable = TRUE, LPCTSTR lpszLeftColumn = L"Property",
                          LPCTSTR lpszRightColumn = L"Value");
    BOOL IsHeaderCtrl() const { return m_bHeaderCtrl; }
    void EnableDescriptionArea(BOOL bEnable = TRUE);
    BOOL IsDescriptionArea() const { return m_bDescriptionArea; }
    void SetVSDotNetLook(BOOL bSet = TRUE) { m_bVSDotNetLook = bSet; }
    BOOL IsVSDotNetLook() const { return m_bVSDotNetLook; }
    void MarkModifiedProperties(BOOL bMark = TRUE, BOOL bRedraw = TRUE);
    BOOL IsMarkModifiedProperties() const { return m_bMarkModified; }
    void SetAlphabeticMode(BOOL bSet = TRUE);
    BOOL IsAlphabeticMode() const { return m_bAlphabeticMode; }
    void ExpandAll(BOOL bExpand = TRUE);
    void AdjustLayout();

    // The text the description area shows now (name and description of the selection).
    CString GetDescriptionText() const;
    // Whether the property is shown in bold (a changed value while modified ones are marked).
    BOOL IsShownBold(const CMFCPropertyGridProperty* pProp) const;

    // Ends an in-place edit of the property's value with the text typed (what the value
    // editor does when it closes): a text that is a value of the property's type is taken
    // and reported; other text leaves the value. FALSE when nothing was taken.
    BOOL EditValue(CMFCPropertyGridProperty* pProp, const CString& strText);
    // The user changed a property's value: marks it and tells the owner.
    virtual void OnPropertyChanged(CMFCPropertyGridProperty* pProp) const;
    // Rebuilds the rows from the properties (after values changed from code).
    void Refresh();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

private:
    friend class CMFCPropertyGridProperty;
    struct View; // the toolkit side
    std::unique_ptr<View> m_view;
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> m_props;
    CMFCPropertyGridProperty* m_pSel = nullptr;
    BOOL m_bHeaderCtrl = TRUE;
    BOOL m_bDescriptionArea = FALSE;
    BOOL m_bVSDotNetLook = FALSE;
    BOOL m_bMarkModified = FALSE;
    BOOL m_bAlphabeticMode = FALSE;
    void PropertyGone(CMFCPropertyGridProperty* pProp);
};
