// The start view of a case: the window that stands for the case itself (closing it closes the case).
#pragma once

#include "platform/gui/Afx.h"

class CQORDoc;

class CQORView : public CView
{
    DECLARE_DYNCREATE(CQORView)
public:
    CQORView() = default;
    ~CQORView() override = default;

    CQORDoc* GetDocument() const;
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

protected:
    DECLARE_MESSAGE_MAP()
};
