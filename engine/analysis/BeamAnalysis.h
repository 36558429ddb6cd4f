// Direct-stiffness analysis of a continuous beam.
//
// Two ways to solve a beam:
//
// 1. One load case, the plain way:
//        CBeamAnalysis analysis(&beam, loads);     // reads NPOINTS_ALONG_BEAM from CSettings
//        CBeamResults res = analysis.Analyse();
//    or CBeamAnalysis(&beam, loads, nPoints) to give the point count per span explicitly.
//    It is a CBeamSolver built and used once: the matrix is assembled, restrained and
//    eliminated afresh on every call.
//
// 2. Many load cases on one beam (moving loads):
//        CBeamSolver solver(beam, nPoints);        // validates, assembles K, applies the supports
//                                                  // and factorises once (throws as CBeamAnalysis)
//        for (each load position) {
//            ... fill loads (std::vector<CLoad*>; loads may be re-used via CLoad's setters) ...
//            std::shared_ptr<CBeamResults> res = solver.Solve(loads);   // a new result to keep
//            // or: solver.Solve(loads, existingResults);  // fills a result in place
//        }
//    Solve reuses the solver's buffers: the only heap allocation per load case is the returned
//    CBeamResults (none at all when an already-shaped result is filled in place). The results
//    are bitwise identical to CBeamAnalysis(&beam, loads, nPoints).Analyse(). Every result made
//    by one solver shares the solver's one copy of the beam (CBeamResults::GetBeam), which is
//    never changed by the solver. The solver copies what it needs from the beam at
//    construction; it is not thread-safe (use one solver per thread), but the results it returns
//    are independent objects.
//
// Units: EI enters divided by 1e6, so rotations and deflections are 1e6 times the values for
// the unscaled EI. Member loads are owned by the caller. A load whose member index is not a
// span of the beam throws std::out_of_range ("invalid vector<T> subscript").
#pragma once

#include "engine/analysis/BeamResults.h"
#include "engine/analysis/Load.h"
#include "engine/model/Beam.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CBeamAnalysis
{
public:
    // Takes the point count per span from the setting NPOINTS_ALONG_BEAM.
    CBeamAnalysis(const CBeam* beam, std::vector<CLoad*> loads);
    CBeamAnalysis(const CBeam* beam, std::vector<CLoad*> loads, int nPoints);
    virtual ~CBeamAnalysis() = default;

    CBeamResults Analyse();

    int GetPointsPerSpan() const { return m_nPoints; }

    // The setting NPOINTS_ALONG_BEAM, at least 1.
    static int PointsPerSpanSetting();

private:
    std::int32_t m_nPoints;
    const CBeam* m_pBeam;
    std::vector<double> m_vL;
    std::vector<double> m_vEI; // divided by 1e6
    std::vector<double> m_vR;
    std::vector<CLoad*> m_vLoads;
};

// Factorise once, solve many load cases (see the top of this file).
class CBeamSolver
{
public:
    CBeamSolver(const CBeam& beam, int nPoints);

    // Solves one load case into a new result.
    std::shared_ptr<CBeamResults> Solve(const std::vector<CLoad*>& loads);
    // Solves one load case into out, re-shaping it only when its shape differs.
    void Solve(const std::vector<CLoad*>& loads, CBeamResults& out);

    int GetPointsPerSpan() const { return m_nPoints; }
    std::size_t GetNoSpans() const { return m_vL.size(); }
    const std::shared_ptr<CBeam>& GetBeam() const { return m_pBeam; }

    // Points per member result (n + 3).
    std::size_t GetPointsPerMember() const { return static_cast<std::size_t>(m_nPoints) + 3; }

private:
    void Shape(CBeamResults& out) const;

    int m_nPoints;
    std::size_t m_N;                // number of DOFs
    std::shared_ptr<CBeam> m_pBeam; // shared by every result
    std::vector<double> m_vL;
    std::vector<double> m_vEI;                 // divided by 1e6
    std::vector<double> m_vOffset;             // start of each span along the beam
    std::vector<std::array<double, 16>> m_vk;  // member stiffness matrices
    std::vector<double> m_K;                   // unrestrained stiffness, row-major N x N
    std::vector<double> m_LU;                  // restrained and eliminated stiffness, row-major
    std::vector<std::size_t> m_vRigid;         // DOFs with a negative restraint
    std::vector<std::size_t> m_vReactionDof;   // DOFs restrained by exactly -1.0
    std::vector<std::vector<double>> m_vX;     // local positions per span
    std::vector<std::vector<double>> m_vXBeam; // the same along the beam
    std::vector<std::vector<double>> m_vN1;    // end-translation shape factors per span
    std::vector<std::vector<double>> m_vN2;

    // Buffers re-used by every Solve.
    std::vector<std::array<double, 4>> m_vFE; // fixed-end actions per span, DOF order
    std::vector<double> m_F;
    std::vector<double> m_d;
};
