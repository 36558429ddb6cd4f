// CPropPageLMPartialUDLs: the partial uniformly distributed loads of a load model: magnitude,
// start and cover a row.
#pragma once

#include "ui/dialogs/PropPageLMLoads.h"

class CPropPageLMPartialUDLs : public CPropPageLMLoads
{
public:
    CPropPageLMPartialUDLs();

protected:
    int CountLoads() const override;
    double GetKindFactor() const override;
    void ApplyKindFactor(double factor) override;
    void AddZeroLoad() override;
    bool RemoveLoad(int index) override;
    void GetValues(int index, double* values) const override;
    void SetValue(int index, int column, double value) override;
    const qor::dialogs::InputRange& ColumnRange(int column) const override;
    const wchar_t* FieldName(int column) const override;
};
