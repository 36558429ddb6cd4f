// Standard load-model library: builds the load models of the published bridge loading
// codes (A26 ... AASHTO) as load model ensembles, one operation per Insert command.
#pragma once

#include "engine/EngineErrors.h"

#include <array>
#include <memory>
#include <vector>

#include "platform/core/CString.h"

class CLoadModel;
class CLoadModelEnsemble;

class CLMEFactory
{
public:
    // Index of each family into m_BaseID (menu order).
    enum Family
    {
        FamilyA26 = 0,
        FamilyA36 = 1,
        FamilyNAASRA1970 = 2,
        FamilyNAASRA1976 = 3,
        FamilyABDC1992 = 4,
        FamilyABAG = 5,
        FamilyAS5100 = 6,
        FamilyEurocode = 7,
        FamilyBS5400 = 8,
        FamilyAASHTO = 9,
        FamilyCount = 10
    };

    // Texts thrown by the factory (constant narrow strings, like the engine's other errors).
    static constexpr const char* ErrAxlesSpacings = kAxlesSpacingsError;
    static constexpr const char* ErrSpacingStep = kSpacingStepError;
    static constexpr const char* ErrSpacingCount = kSpacingCountError;
    static constexpr int MaxSpacingValues = 1000;

    CLMEFactory();
    virtual ~CLMEFactory();

    // Base identifier of each family (indexed by Family). The document sets 100 ... 1000;
    // the constructor sets the same values so that a fresh factory is usable on its own.
    std::array<int, FamilyCount> m_BaseID;
    // true: every model gets the allowance its code prescribes; false: every model gets m_DLA.
    bool m_bUseStandardDLA;
    // The user's dynamic load allowance as a factor (1.3 = 30 %).
    double m_DLA;

    // Family operations
    std::shared_ptr<CLoadModelEnsemble> GetA26();
    std::shared_ptr<CLoadModelEnsemble> GetA36();
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1970(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1976(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetABDC1992(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetABAG();
    std::shared_ptr<CLoadModelEnsemble> GetAS5100(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetEurocode();
    std::shared_ptr<CLoadModelEnsemble> GetBS5400(int hbUnits);
    std::shared_ptr<CLoadModelEnsemble> GetAASHTO();

    // A26
    std::shared_ptr<CLoadModelEnsemble> GetA26_AA26();
    std::shared_ptr<CLoadModelEnsemble> GetA26_A26();
    std::shared_ptr<CLoadModelEnsemble> GetA26_B26();
    // A36
    std::shared_ptr<CLoadModelEnsemble> GetA36_AA36();
    std::shared_ptr<CLoadModelEnsemble> GetA36_A36();
    std::shared_ptr<CLoadModelEnsemble> GetA36_B36();
    // NAASRA 1970
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1970_MS18(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1970_MS13(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1970_M18();
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1970_M13();
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1970_M9();
    // NAASRA 1976
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1976_A14();
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1976_T44(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1976_L44();
    std::shared_ptr<CLoadModelEnsemble> GetNAASRA1976_SAV(bool byStep, double stepOrCount);
    // ABDC 1992
    std::shared_ptr<CLoadModelEnsemble> GetABDC1992_W7();
    std::shared_ptr<CLoadModelEnsemble> GetABDC1992_T44(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetABDC1992_L44();
    std::shared_ptr<CLoadModelEnsemble> GetABDC1992_HLP320(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetABDC1992_HLP400(bool byStep, double stepOrCount);
    // ABAG
    std::shared_ptr<CLoadModelEnsemble> GetABAG_BDouble1();
    std::shared_ptr<CLoadModelEnsemble> GetABAG_BDouble2();
    std::shared_ptr<CLoadModelEnsemble> GetABAG_BDouble3();
    std::shared_ptr<CLoadModelEnsemble> GetABAG_Semi1();
    std::shared_ptr<CLoadModelEnsemble> GetABAG_Semi2();
    std::shared_ptr<CLoadModelEnsemble> GetABAG_Semi3();
    std::shared_ptr<CLoadModelEnsemble> GetABAG_Semi4();
    // AS5100
    std::shared_ptr<CLoadModelEnsemble> GetAS5100_W80();
    std::shared_ptr<CLoadModelEnsemble> GetAS5100_A160();
    std::shared_ptr<CLoadModelEnsemble> GetAS5100_M1600(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetAS5100_S1600(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetAS5100_HLP320(bool byStep, double stepOrCount);
    std::shared_ptr<CLoadModelEnsemble> GetAS5100_HLP400(bool byStep, double stepOrCount);
    // Eurocode
    std::shared_ptr<CLoadModelEnsemble> GetEurocode_LM1();
    // BS5400
    std::shared_ptr<CLoadModelEnsemble> GetBS5400_HA();
    std::shared_ptr<CLoadModelEnsemble> GetBS5400_HAHB(int hbUnits);
    // AASHTO
    std::shared_ptr<CLoadModelEnsemble> GetAASHTO_HL93();

    // The list of variable spacings from start to end: by step (RangeByStep) or by number
    // of values (LinSpace; stepOrCount truncated toward zero, fewer than 2 gives none).
    // Throws ErrSpacingStep for a step <= 0 and ErrSpacingCount for more than
    // MaxSpacingValues values.
    static std::vector<double> GetSpacings(bool byStep, double start, double end, double stepOrCount);
    // Check of the spacing arguments alone, for dialogs: nullptr when acceptable, else the
    // text GetSpacings would throw.
    static const char* CheckSpacingArguments(bool byStep, double stepOrCount);

    // A vehicle of axles: axle 0 at 0.0, axle i at minus the sum of the first i spacings
    // (widths 0.0). Throws ErrAxlesSpacings unless loads has one more item than spacings.
    static std::shared_ptr<CLoadModel> AddAxles(int ID, const CString& name, const std::vector<double>& loads,
                                                const std::vector<double>& spacings);

private:
    struct Impl;
    friend struct Impl;
};
