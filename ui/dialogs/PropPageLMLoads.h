// CPropPageLMLoads: a load-model page that edits one list of distributed loads in a grid,
// one load a row, with the factor that applies to every load of the list.
#pragma once

#include "controls/edit/NumericEdit.h"
#include "ui/dialogs/PropPageWithGridBase.h"

#include <memory>

class CLoadModel;
namespace qor::dialogs {
struct InputRange;
}

// The uniform and the partial uniform loads differ only in their fields; a page names its
// list through the virtual operations below.
class CPropPageLMLoads : public CPropPageWithGridBase
{
public:
    CPropPageLMLoads(UINT nIDTemplate, UINT nFactorEditID);
    ~CPropPageLMLoads() override;

    void SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel);

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    void FillGrid() override;
    BOOL DeleteRow(int row) override;

    int GetLoadCount() const { return m_nLoads; }

protected:
    // The model's loads of this page's kind.
    virtual int CountLoads() const = 0;
    virtual double GetKindFactor() const = 0;
    // Sets the factor of the kind and of every load of the kind.
    virtual void ApplyKindFactor(double factor) = 0;
    virtual void AddZeroLoad() = 0;
    virtual bool RemoveLoad(int index) = 0;
    // The load's values in grid column order.
    virtual void GetValues(int index, double* values) const = 0;
    // Writes one column's value; the other fields stay and gamma becomes 1.0.
    virtual void SetValue(int index, int column, double value) = 0;
    // The range a column takes its values in; a value outside it is refused and leaves the cell as
    // it was.
    virtual const qor::dialogs::InputRange& ColumnRange(int column) const = 0;
    // The name of a column's value, as a refusal says it ("load magnitude").
    virtual const wchar_t* FieldName(int column) const = 0;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnGridEndEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGridRowAdded(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGridRClickRow(NMHDR* pNMHDR, LRESULT* pResult);
    void OnChangeFactor(UINT nID);
    // Adds zero loads until the data row exists as a load; rows beyond those the grid was
    // made with become numbered numeric rows.
    void AddLoadsUpTo(int row);

    std::shared_ptr<CLoadModel> m_pLoadModel;
    BOOL m_bIsEditable = TRUE;
    int m_nLoads = 0;
    CNumericEdit m_FactorEdit;
    double m_Factor = 1.0;
    double m_FactorShown = 1.0; // what the edit shows, rounded to its decimals
    UINT m_nFactorEditID;
    bool m_bReady = false;
    int m_nFilling = 0;

private:
    DECLARE_MESSAGE_MAP()
};
