// The document manager: the application's document templates and documents, File New and Open,
// the open and save file dialogs and the restart manager's autosaves. The application hands its
// document half to it (IAppDocuments, window/App.h).
#pragma once

#include "platform/gui/window/App.h"

#include <vector>

class CDocManager : public IAppDocuments
{
public:
    explicit CDocManager(CWinApp* pApp) : m_pApp(pApp) {}
    // The templates and the application's recovery handler go with it.
    ~CDocManager() override;

    void AddDocTemplate(CDocTemplate* pTemplate) override;
    QorPosition__* GetFirstDocTemplatePosition() const override;
    CDocTemplate* GetNextDocTemplate(QorPosition__*& pos) const override;
    std::vector<UINT> GetDocTemplateMenus() const override;
    int GetOpenDocumentCount() const override;
    // A document already open on the file is activated; otherwise the template that matches it best
    // opens it.
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName, BOOL bAddToMRU) override;
    BOOL SaveAllModified() override;
    void CloseAllDocuments(BOOL bEndSession) override;
    // The toolkit's file dialog with the templates' filters (a test's driver where one is set;
    // headless without one: cancelled).
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate) override;
    // A new document of the first template that makes new files.
    void OnFileNew() override;
    void OnFilePrintSetup() override;
    CDataRecoveryHandler* MakeDataRecoveryHandler(DWORD dwRestartManagerSupportFlags) override;
    BOOL IsRestoringAutosave() const override;
    void StartDataRecovery() override;
    void EndDataRecovery() override;

private:
    CWinApp* m_pApp;
    std::vector<CDocTemplate*> m_templates;
};
