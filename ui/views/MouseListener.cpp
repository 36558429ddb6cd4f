// A click on a plotted point shows its values in a tip after the data-tip delay; a double
// click shows the run's description with the point's label in a message box.
#include "ui/views/MouseListener.h"

#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartLineFamilySerie.h"
#include "engine/settings/Settings.h"
#include "output/AnalysisOutput.h"
#include "ui/views/MessageTip.h"
#include "ui/views/PlotView.h"

CMouseListener::CMouseListener(CChartCtrl* pChart) : m_pChart(pChart) {}

CMouseListener::~CMouseListener() = default;

CString CMouseListener::PointText(double x, double y) { return CAnalysisOutput::PointValues(x, y); }

void CMouseListener::OnMouseEventSeries(int mouseEvent, CPoint point, CChartSerie* pSerie, unsigned uPointIndex)
{
    if (!m_pChart || uPointIndex == kChartNoPoint) return;
    double x = 0, y = 0;
    if (auto* pXY = dynamic_cast<CChartXYSerie*>(pSerie); pXY && uPointIndex < pXY->GetPointsCount())
    {
        x = pXY->GetXPointValue(uPointIndex);
        y = pXY->GetYPointValue(uPointIndex);
    }
    else if (auto* pLines = dynamic_cast<CChartLineFamilySerie*>(pSerie); !pLines || !pLines->GetHitPoint(&x, &y))
        return;

    if (mouseEvent == cmeLButtonDown)
    {
        if (!m_pTip)
        {
            auto tip = std::make_unique<CMessageTip>();
            if (!tip->Create(m_pChart)) return;
            tip->SetDisplayTime(static_cast<UINT>(CSettings::GetInstance()->Plot.DATATIPDELAY));
            m_pTip = std::move(tip);
        }
        m_pTip->Show(point, PointText(x, y));
    }
    else if (mouseEvent == cmeLButtonDoubleClick)
    {
        CPlotView* pView = dynamic_cast<CPlotView*>(m_pChart->GetParent());
        std::shared_ptr<CAnalysisOutput> pAO = pView ? pView->GetAnalysisOutput() : nullptr;
        if (!pAO) return;
        const bool reaction = pView->GetTableKind() == CQORViewBase::TABLE_REACTIONS;
        CString text = pAO->GetDescription();
        text += L"\n";
        text += pAO->GetPointLabel(reaction, pView->FindChart(m_pChart), x, y);
        ::MessageBox(m_pChart->GetSafeHwnd(), text, L"QOR", MB_ICONINFORMATION | MB_OK);
    }
}
