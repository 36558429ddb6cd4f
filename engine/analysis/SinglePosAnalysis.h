// One load model at one position on one bridge.
//
// Run(position) is the whole job for a single position: it applies the model's span rule,
// settles the model, builds the member loads and solves the beam.
//
// A moving-load run calls the same machinery position after position without redoing the
// per-run work:
//     CSinglePosAnalysis spa(bridge, model);
//     spa.Prepare(nPoints, solver);        // span rule and Update already applied by the caller
//     for (each position p) results = spa.Analyse(p);
// Prepare reads the model's factors and loads once; Analyse re-uses the member-load objects
// and the factorised stiffness matrix of the solver, allocating only the returned result.
#pragma once

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/Load.h"

#include <memory>
#include <vector>

class CBeam;
class CBeamResults;
class CBridge;
class CLoadModel;

class CSinglePosAnalysis
{
public:
    // The analysis works on a copy of the load model: the span rule and the settling of a run
    // never change the model it was given (which may be the case's own, or another thread's).
    CSinglePosAnalysis(std::shared_ptr<CBridge> pBridge, std::shared_ptr<CLoadModel> pLoadModel);
    CSinglePosAnalysis(const CSinglePosAnalysis&) = delete;
    CSinglePosAnalysis& operator=(const CSinglePosAnalysis&) = delete;
    virtual ~CSinglePosAnalysis();

    // The load model's origin at position (m from the left end of the bridge). The point count
    // per span is the setting NPOINTS_ALONG_BEAM, read once by this call.
    std::shared_ptr<CBeamResults> Run(double position);

    // --- A run of many positions -------------------------------------------------------------

    // Reads the model's overall factor (also written into its m_Gamma), its loads and its
    // applicability for this bridge. Results get nPoints points per span. A solver made for
    // this bridge's beam with the same point count may be handed in to share its
    // factorisation; otherwise one is made (or the previous one kept when it still fits).
    void Prepare(int nPoints, std::shared_ptr<CBeamSolver> pSolver = {});
    // One position of a prepared run: a new result for the caller to keep.
    std::shared_ptr<CBeamResults> Analyse(double position);
    // The same into an existing result, re-used from position to position (no allocation once
    // it has its shape).
    void AnalyseInto(double position, CBeamResults& res);

    // Builds the member loads of a position (after Prepare) into the list GetMemberLoads
    // shows; ClearMemberLoads empties the list again. Analyse does both around the solve.
    void MakeMemberLoads(double position);
    void ClearMemberLoads();
    const std::vector<CLoad*>& GetMemberLoads() const { return m_vLoads; }

    std::shared_ptr<CBridge> GetBridge() const { return m_pBridge; }
    std::shared_ptr<CBeam> GetBeam() const { return m_pBeam; }
    std::shared_ptr<CLoadModel> GetLoadModel() const { return m_pLoadModel; }
    const std::shared_ptr<CBeamSolver>& GetSolver() const { return m_pSolver; }

private:
    struct AxleLoad
    {
        double location;
        double P;
    };
    struct PatchLoad
    {
        double location;
        double cover;
        double w;
    };

    CLoadUDL* NextUDL(std::uint32_t span, double w);
    CLoadPL* NextPL(std::uint32_t span, double P, double a);
    CLoadPUDL* NextPUDL(std::uint32_t span, double w, double a, double c);
    void ApplyApplicability(CBeamResults& res) const;

    std::shared_ptr<CBridge> m_pBridge;
    std::shared_ptr<CBeam> m_pBeam;
    std::shared_ptr<CLoadModel> m_pLoadModel;
    std::vector<CLoad*> m_vLoads; // the member loads of the current position

    // Re-used load objects: m_vLoads points into these pools.
    std::vector<std::unique_ptr<CLoadUDL>> m_vUDLPool;
    std::vector<std::unique_ptr<CLoadPL>> m_vPLPool;
    std::vector<std::unique_ptr<CLoadPUDL>> m_vPUDLPool;
    std::size_t m_nUDLUsed = 0;
    std::size_t m_nPLUsed = 0;
    std::size_t m_nPUDLUsed = 0;

    // Prepared run.
    std::shared_ptr<CBeamSolver> m_pSolver;
    std::vector<double> m_vSpanStart;  // S of each span along the beam
    std::vector<double> m_vSpanEnd;    // E of each span
    double m_Length = 0.0;             // bridge (beam) length
    std::vector<double> m_vW;          // factored uniform loads
    std::vector<AxleLoad> m_vAxles;    // factored, width-adjusted axles
    std::vector<PatchLoad> m_vPatches; // factored partial uniform loads
    bool m_bClearAll = false;
    bool m_bClearBM = false;
    bool m_bClearSF = false;
};
