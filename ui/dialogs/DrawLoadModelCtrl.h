// CDrawLoadModelCtrl: a load model drawn to scale as a side view (metre grid, direction of travel, baseline, uniform
// and partial uniform loads, wheels and axle-load arrows).
#pragma once

#include "ui/dialogs/DrawCtrl.h"

#include <memory>

class CLoadModel;

// Usage: the owner makes the window (a "DrawCtrl" custom control of a dialog
// template taken over with DDX_Control, or Create with DRAWCTRL_CLASSNAME),
// then on every change of model:
//     m_Draw.SetLoadModel(pModel);
//     m_Draw.SetBkColor(CSettings::GetInstance()->General.LoadModel.CLR_LM_BGRND);
//     m_Draw.Redraw();
class CDrawLoadModelCtrl : public CDrawCtrl
{
public:
    CDrawLoadModelCtrl();
    ~CDrawLoadModelCtrl() override;

    // Replaces the model shown; the owner redraws.
    void SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel);
    const std::shared_ptr<CLoadModel>& GetLoadModel() const { return m_pLoadModel; }

protected:
    void PrepareMapping(CDC* pDC) override;
    void DrawContent(CDC* pDC) override;

private:
    void DrawScale(CDC* pDC);
    void DrawUniformLoads(CDC* pDC);
    void DrawPartialLoads(CDC* pDC);
    void DrawWheels(CDC* pDC);
    void DrawAxleArrows(CDC* pDC);
    // Downward (positive) or upward load arrow between the baseline-side end and the far end.
    static void DrawLoadArrow(CDC* pDC, int x, int yNear, int yFar, double magnitude, double length);

    std::shared_ptr<CLoadModel> m_pLoadModel;
    int m_WindowExtX = 0;
    int m_WindowExtY = 0;
    double m_Margin = 0.0;     // logical units
    double m_Scale = 1000.0;   // logical units per metre
    double m_HalfHeight = 0.0; // metres
    double m_AxleArrowRatio = 1.0;
    double m_UDLHeightRatio = 0.6;
    double m_PUDLHeightRatio = 0.6;
    double m_WheelRatio = 0.2;
    double m_HubRatio = 0.3;
    bool m_bMapped = false;
};
