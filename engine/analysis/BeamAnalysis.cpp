// Direct-stiffness analysis of a continuous beam.
#include "engine/analysis/BeamAnalysis.h"

#include "engine/EngineErrors.h"
#include "engine/settings/Settings.h"
#include "platform/core/Errors.h"

#include <algorithm>
#include <cmath>

namespace {

// Spans must exist, match the rigidities one to one and be positive and finite; the
// restraints must give one code per DOF.
void ValidateBeam(const std::vector<double>& L, const std::vector<double>& EI, const std::vector<double>& R)
{
    if (L.empty() || L.size() != EI.size()) throw kSpanError;
    for (double l : L)
        if (!(l > 0.0) || !std::isfinite(l)) throw kSpanError;
    for (double ei : EI)
        if (!(ei > 0.0) || !std::isfinite(ei)) throw kSpanError;
    if (R.size() != 2 * L.size() + 2) throw kRestraintError;
}

int ClampPoints(int n) { return std::max(n, 1); }

std::vector<double> ScaledEI(const std::vector<double>& EI)
{
    std::vector<double> s(EI);
    for (double& v : s) v /= 1e6;
    return s;
}

// Member stiffness matrix, row-major 4 x 4, DOF order {v1, r1, v2, r2}.
std::array<double, 16> MemberStiffness(double EI, double L)
{
    const double L2 = L * L;
    const double L3 = L2 * L;
    const double a = 12.0 * EI / L3;
    const double b = 6.0 * EI / L2;
    const double c = 4.0 * EI / L;
    const double e = 2.0 * EI / L;
    return {a,  b,  -a, b,  //
            b,  c,  -b, e,  //
            -a, -b, a,  -b, //
            b,  e,  -b, c};
}

// Adds one load's fixed-end actions {Ma, Mb, Va, Vb} to a span's sum in DOF order {Va, Ma, Vb, Mb}.
inline void AddFixedEnd(std::array<double, 4>& fe, const std::array<double, 4>& a)
{
    fe[0] += a[2];
    fe[1] += a[0];
    fe[2] += a[3];
    fe[3] += a[1];
}

// Member end forces f = k.dl + fixed-end actions.
std::array<double, 4> EndForces(const std::array<double, 16>& k, const std::array<double, 4>& dl,
                                const std::array<double, 4>& fe)
{
    std::array<double, 4> f{};
    for (int r = 0; r < 4; ++r)
        f[r] = k[r * 4 + 0] * dl[0] + k[r * 4 + 1] * dl[1] + k[r * 4 + 2] * dl[2] + k[r * 4 + 3] * dl[3] + fe[r];
    return f;
}

// Local result positions {0, 0, dx, 2dx, ..., n dx, L}.
std::vector<double> MemberPositions(double L, int n)
{
    std::vector<double> x(static_cast<std::size_t>(n) + 3);
    const double dx = L / n;
    x[0] = 0.0;
    for (int k = 0; k <= n; ++k) x[static_cast<std::size_t>(k) + 1] = k * dx;
    x[static_cast<std::size_t>(n) + 2] = L;
    return x;
}

// Shape factors of the end translations at the local positions (xi = x/L):
// n1 = 1 - 3xi^2 + 2xi^3 (left end), n2 = 3xi^2 - 2xi^3 (right end).
void ShapeFactors(const std::vector<double>& xLocal, double L, std::vector<double>& n1, std::vector<double>& n2)
{
    n1.resize(xLocal.size());
    n2.resize(xLocal.size());
    for (std::size_t k = 0; k < xLocal.size(); ++k)
    {
        const double xi = xLocal[k] / L;
        const double xi2 = xi * xi;
        const double xi3 = xi2 * xi;
        n1[k] = 1.0 - 3.0 * xi2 + 2.0 * xi3;
        n2[k] = 3.0 * xi2 - 2.0 * xi3;
    }
}

// Positions along the beam.
void PlaceX(std::vector<double>& x, const std::vector<double>& xLocal, double offset)
{
    for (std::size_t k = 0; k < xLocal.size(); ++k) x[k] = xLocal[k] + offset;
}

// Scales R and D by 1/EI (a multiplication by the reciprocal) and adds the end translations
// to D at the points 1 .. n+1 (not at the repeated end points).
void FinishMember(CMbrResults& m, const std::vector<double>& n1, const std::vector<double>& n2, double EI, double dl0,
                  double dl2)
{
    const std::size_t count = m.R.size();
    const double inv = 1.0 / EI;
    for (std::size_t k = 0; k < count; ++k)
    {
        m.R[k] *= inv;
        m.D[k] *= inv;
    }
    if (dl0 == 0.0 && dl2 == 0.0) return; // rigid vertical supports at both ends
    for (std::size_t k = 1; k + 1 < count; ++k) m.D[k] += n1[k] * dl0 + n2[k] * dl2;
}

void CheckLoads(const std::vector<CLoad*>& loads, std::size_t nSpans)
{
    for (const CLoad* load : loads)
        if (load && load->GetMember() >= nSpans) qor::ThrowSubscriptError();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CBeamAnalysis

int CBeamAnalysis::PointsPerSpanSetting() { return ClampPoints(CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM); }

CBeamAnalysis::CBeamAnalysis(const CBeam* beam, std::vector<CLoad*> loads)
    : CBeamAnalysis(beam, std::move(loads), PointsPerSpanSetting())
{}

CBeamAnalysis::CBeamAnalysis(const CBeam* beam, std::vector<CLoad*> loads, int nPoints)
    : m_nPoints(ClampPoints(nPoints)), m_pBeam(beam), m_vLoads(std::move(loads))
{
    if (!beam) throw kSpanError;
    m_vL = beam->m_vL;
    m_vEI = ScaledEI(beam->m_vEI);
    m_vR = beam->m_vR;
    ValidateBeam(m_vL, m_vEI, m_vR);
}

CBeamResults CBeamAnalysis::Analyse()
{
    // One solve for one load case and for many: the plain analysis is a solver used once.
    CBeamSolver solver(*m_pBeam, m_nPoints);
    CBeamResults results;
    solver.Solve(m_vLoads, results);
    return results;
}

// ---------------------------------------------------------------------------------------------
// CBeamSolver

CBeamSolver::CBeamSolver(const CBeam& beam, int nPoints)
    : m_nPoints(ClampPoints(nPoints)), m_N(0), m_pBeam(std::make_shared<CBeam>(beam))
{
    m_vL = beam.m_vL;
    m_vEI = ScaledEI(beam.m_vEI);
    const std::vector<double>& R = beam.m_vR;
    ValidateBeam(m_vL, m_vEI, R);

    const std::size_t nSpans = m_vL.size();
    const std::size_t N = 2 * nSpans + 2;
    m_N = N;

    m_vOffset.resize(nSpans);
    m_vk.resize(nSpans);
    m_vX.resize(nSpans);
    m_vXBeam.resize(nSpans);
    m_vN1.resize(nSpans);
    m_vN2.resize(nSpans);
    m_K.assign(N * N, 0.0);
    double offset = 0.0;
    for (std::size_t i = 0; i < nSpans; ++i)
    {
        m_vOffset[i] = offset;
        offset += m_vL[i];
        m_vk[i] = MemberStiffness(m_vEI[i], m_vL[i]);
        m_vX[i] = MemberPositions(m_vL[i], m_nPoints);
        ShapeFactors(m_vX[i], m_vL[i], m_vN1[i], m_vN2[i]);
        m_vXBeam[i].resize(m_vX[i].size());
        PlaceX(m_vXBeam[i], m_vX[i], m_vOffset[i]);
        for (std::size_t r = 0; r < 4; ++r)
            for (std::size_t c = 0; c < 4; ++c) m_K[(2 * i + r) * N + 2 * i + c] += m_vk[i][r * 4 + c];
    }

    // Supports: a rigid DOF's row and column become those of the identity, a spring adds its
    // stiffness to the diagonal. Then Gaussian elimination in place, without pivoting.
    m_LU = m_K;
    for (std::size_t j = 0; j < N; ++j)
    {
        if (R[j] < 0.0)
        {
            for (std::size_t c = 0; c < N; ++c) m_LU[j * N + c] = 0.0;
            for (std::size_t r = 0; r < N; ++r) m_LU[r * N + j] = 0.0;
            m_LU[j * N + j] = 1.0;
            m_vRigid.push_back(j);
        }
        else if (R[j] > 0.0)
        {
            m_LU[j * N + j] += R[j];
        }
        if (R[j] == -1.0) m_vReactionDof.push_back(j);
    }
    for (std::size_t k = 0; k < N; ++k)
        for (std::size_t i = k + 1; i < N; ++i)
        {
            m_LU[i * N + k] /= m_LU[k * N + k];
            for (std::size_t j = k + 1; j < N; ++j) m_LU[i * N + j] -= m_LU[k * N + j] * m_LU[i * N + k];
        }

    m_vFE.resize(nSpans);
    m_F.resize(N);
    m_d.resize(N);
}

void CBeamSolver::Shape(CBeamResults& out) const
{
    const std::size_t nSpans = m_vL.size();
    const std::size_t count = GetPointsPerMember();
    if (out.m_vMbrRes.size() != nSpans) out.m_vMbrRes.resize(nSpans);
    for (CMbrResults& m : out.m_vMbrRes)
    {
        if (m.x.size() != count) m.x.resize(count);
        if (m.M.size() != count) m.M.resize(count);
        if (m.V.size() != count) m.V.resize(count);
        if (m.R.size() != count) m.R.resize(count);
        if (m.D.size() != count) m.D.resize(count);
    }
    if (out.m_vReactions.size() != m_vReactionDof.size()) out.m_vReactions.resize(m_vReactionDof.size());
    if (out.m_pBeam != m_pBeam) out.m_pBeam = m_pBeam;
}

std::shared_ptr<CBeamResults> CBeamSolver::Solve(const std::vector<CLoad*>& loads)
{
    auto res = std::make_shared<CBeamResults>();
    Solve(loads, *res);
    return res;
}

void CBeamSolver::Solve(const std::vector<CLoad*>& loads, CBeamResults& out)
{
    const std::size_t nSpans = m_vL.size();
    const std::size_t N = m_N;
    CheckLoads(loads, nSpans);
    Shape(out);

    // Fixed-end actions per span (per span in list order, as the plain analysis sums them).
    for (std::array<double, 4>& fe : m_vFE) fe = {0.0, 0.0, 0.0, 0.0};
    for (CLoad* load : loads)
        if (load)
        {
            const std::size_t i = load->GetMember();
            AddFixedEnd(m_vFE[i], load->GetFixedEndActions(m_vL[i]));
        }

    std::fill(m_F.begin(), m_F.end(), 0.0);
    for (std::size_t i = 0; i < nSpans; ++i)
    {
        m_F[2 * i] -= m_vFE[i][0];
        m_F[2 * i + 1] -= m_vFE[i][1];
        m_F[2 * i + 2] -= m_vFE[i][2];
        m_F[2 * i + 3] -= m_vFE[i][3];
    }

    // Displacements from the stored elimination.
    std::vector<double>& d = m_d;
    std::copy(m_F.begin(), m_F.end(), d.begin());
    for (std::size_t j : m_vRigid) d[j] = 0.0;
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = 0; j < i; ++j) d[i] -= m_LU[i * N + j] * d[j];
    for (std::size_t i = N; i-- > 0;)
    {
        for (std::size_t j = i + 1; j < N; ++j) d[i] -= m_LU[i * N + j] * d[j];
        d[i] /= m_LU[i * N + i];
    }

    // Reactions.
    for (std::size_t r = 0; r < m_vReactionDof.size(); ++r)
    {
        const std::size_t j = m_vReactionDof[r];
        double s = 0.0;
        for (std::size_t c = 0; c < N; ++c) s += m_K[j * N + c] * d[c];
        out.m_vReactions[r] = s - m_F[j];
    }

    // Member results.
    for (std::size_t i = 0; i < nSpans; ++i)
    {
        const double L = m_vL[i];
        const std::array<double, 4> dl{d[2 * i], d[2 * i + 1], d[2 * i + 2], d[2 * i + 3]};
        const std::array<double, 4> f = EndForces(m_vk[i], dl, m_vFE[i]);
        const std::vector<double>& x = m_vX[i];
        CMbrResults& m = out.m_vMbrRes[i];

        CLoadMaMb ends(0, f[1], f[3]);
        ends.WriteMemberResults(x, L, m);
        for (CLoad* load : loads)
            if (load && load->GetMember() == i) load->AddMemberResults(x, L, m);

        FinishMember(m, m_vN1[i], m_vN2[i], m_vEI[i], dl[0], dl[2]);
        std::copy(m_vXBeam[i].begin(), m_vXBeam[i].end(), m.x.begin());
    }
}
