// "Generate LME from Load Model": one vehicle, some of whose axle spacings are given as ranges, becomes an
// ensemble holding one copy of the vehicle for every combination of those spacings.
#pragma once

#include "ui/dialogs/DialogWithGridBase.h"

#include <memory>
#include <vector>

class CLoadModel;
class CLoadModelEnsemble;

// One axle of the chosen vehicle and, when it is variable, the range of its spacing behind the axle before.
struct AxleDefinition
{
    double magnitude = 0.0;
    double width = 0.0;
    double gamma = 1.0;
    double spacing = 0.0; // behind the axle before; 0 for the first
    bool fixed = true;
    double min = 0.0;
    double max = 0.0;
    bool byDistance = false; // "Distance": a step in metres; "Step": a number of values
    double parameter = 0.0;
};

class CGenerateLMEDlg : public CDialogWithGridBase
{
public:
    // More combinations than this are refused: each is a whole load model run over every bridge.
    static constexpr int kMaxCombinations = 10000;

    CGenerateLMEDlg(CWnd* pParent = nullptr);

    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    std::shared_ptr<CLoadModelEnsemble> m_pLME; // the generated ensemble, after OK
    int m_nLMEID = 0;

    void FillGrid() override;
    void FillRow(int axle);
    void BuildAxleDefinitions();
    // Every choice of one value per variable axle, in axle order, the last axle varying fastest; one empty
    // combination without variable axles.
    std::vector<std::vector<double>> BuildCombinations() const;
    BOOL Generate();
    const std::vector<AxleDefinition>& GetAxleDefinitions() const { return m_vAxleDefinitions; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSelChangeLoadModel();
    virtual void OnEndEdit(NM_GRIDVIEW* info, LRESULT* result);
    void OnGridEndEdit(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    // Why the definitions cannot be generated (empty when they can).
    CString CheckDefinitions() const;
    void SetNumberCell(int row, int col, double value, int flags);
    void SetComboCell(int row, int col, const std::vector<CString>& options, const CString& text);

    std::shared_ptr<CLoadModel> m_pBaseModel;
    CListBox m_lbLoadModel;
    std::vector<CString> m_TypeOptions;
    std::vector<CString> m_IncrementOptions;
    std::vector<AxleDefinition> m_vAxleDefinitions;
};
