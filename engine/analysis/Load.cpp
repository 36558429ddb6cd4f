#include "engine/analysis/Load.h"

#include <algorithm>

namespace {

// Writes or adds one value (both the plain and the accumulating evaluations use this, so
// that each gives exactly the same sums).
inline void Put(double* p, double v, bool add)
{
    if (add)
        *p += v;
    else
        *p = v;
}

// Closes the M and V diagrams on the axis at the first and last point.
inline void CloseEnds(std::size_t n, double* M, double* V, bool add)
{
    if (n == 0) return;
    Put(&M[0], 0.0, add);
    Put(&V[0], 0.0, add);
    Put(&M[n - 1], 0.0, add);
    Put(&V[n - 1], 0.0, add);
}

inline double Pos(double y) { return std::max(y, 0.0); }

} // namespace

// ---------------------------------------------------------------------------------------------
// CLoad

CLoad::CLoad(std::uint32_t member, std::int32_t kind, double magnitude, double a, double third)
    : m_nMember(member), m_Kind(kind), m_Magnitude(magnitude), m_a(a), m_Third(third)
{
}

CMbrResults CLoad::GetMemberResults(std::vector<double> x, double L)
{
    CMbrResults res(x.size());
    ComputeMemberResults(x.data(), x.size(), L, res.M.data(), res.V.data(), res.R.data(), res.D.data(), false);
    res.x = std::move(x);
    return res;
}

void CLoad::AddMemberResults(const std::vector<double>& x, double L, CMbrResults& acc)
{
    const std::size_t n = x.size();
    if (acc.M.size() != n || acc.V.size() != n || acc.R.size() != n || acc.D.size() != n)
        throw "Results vectors different size";
    ComputeMemberResults(x.data(), n, L, acc.M.data(), acc.V.data(), acc.R.data(), acc.D.data(), true);
}

void CLoad::WriteMemberResults(const std::vector<double>& x, double L, CMbrResults& out)
{
    const std::size_t n = x.size();
    if (out.M.size() != n || out.V.size() != n || out.R.size() != n || out.D.size() != n)
        throw "Results vectors different size";
    ComputeMemberResults(x.data(), n, L, out.M.data(), out.V.data(), out.R.data(), out.D.data(), false);
}

// ---------------------------------------------------------------------------------------------
// CLoadUDL

CLoadUDL::CLoadUDL(std::uint32_t member, double w) : CLoad(member, UDL, w, 0.0, 0.0) {}

std::array<double, 4> CLoadUDL::GetFixedEndActions(double L)
{
    const double w = m_Magnitude * m_Gamma;
    return {w * L * L / 12.0, -w * L * L / 12.0, w * L / 2.0, w * L / 2.0};
}

void CLoadUDL::ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R,
                                    double* D, bool add)
{
    const double w = m_Magnitude * m_Gamma;
    const double Ra = w * L / 2.0;
    const double S = -w * L * L * L / 24.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double xi = x[i];
        const double x2 = xi * xi;
        const double x3 = x2 * xi;
        Put(&V[i], Ra - w * xi, add);
        Put(&M[i], Ra * xi - w * x2 / 2.0, add);
        Put(&R[i], Ra * x2 / 2.0 - w * x3 / 6.0 + S, add);
        Put(&D[i], Ra * x3 / 6.0 - w * x3 * xi / 24.0 + S * xi, add);
    }
    CloseEnds(n, M, V, add);
}

// ---------------------------------------------------------------------------------------------
// CLoadPL

CLoadPL::CLoadPL(std::uint32_t member, double P, double a) : CLoad(member, PL, P, a, 0.0) {}

std::array<double, 4> CLoadPL::GetFixedEndActions(double L)
{
    const double a = m_a;
    m_Third = std::max(L - a, 0.0);
    if (a > L) return m_FEABeyond;

    const double P = m_Magnitude * m_Gamma;
    const double b = m_Third;
    const double L2 = L * L;
    const double L3 = L2 * L;
    return {P * a * b * b / L2, -P * a * a * b / L2, (b * L2 - a * a * b + a * b * b) * P / L3,
            (a * L2 + a * a * b - a * b * b) * P / L3};
}

void CLoadPL::ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R,
                                   double* D, bool add)
{
    const double P = m_Magnitude * m_Gamma;
    const double a = m_a;
    m_Third = std::max(L - a, 0.0);
    const double b = m_Third;
    const double Ra = P * b / L;
    const double S = P * b * (b * b - L * L) / (6.0 * L);
    for (std::size_t i = 0; i < n; ++i) {
        const double xi = x[i];
        const double u = Pos(xi - a);
        const double x2 = xi * xi;
        const double u2 = u * u;
        Put(&V[i], xi >= a ? Ra - P : Ra, add);
        Put(&M[i], Ra * xi - P * u, add);
        Put(&R[i], Ra * x2 / 2.0 - P * u2 / 2.0 + S, add);
        Put(&D[i], Ra * x2 * xi / 6.0 - P * u2 * u / 6.0 + S * xi, add);
    }
    CloseEnds(n, M, V, add);
}

// ---------------------------------------------------------------------------------------------
// CLoadPUDL

CLoadPUDL::CLoadPUDL(std::uint32_t member, double w, double a, double c) : CLoad(member, PUDL, w, a, c) {}

std::array<double, 4> CLoadPUDL::GetFixedEndActions(double L)
{
    const double a = m_a;
    if (a > L) return m_FEABeyond;

    const double w = m_Magnitude * m_Gamma;
    const double c = (a + m_Third > L) ? L - a : m_Third;
    const double W = w * c;
    const double p = a + c / 2.0;
    const double q = L - p;
    const double L2 = L * L;
    const double L3 = L2 * L;
    const double c2 = c * c;
    const double Ma = (p * q * q + (p - 2.0 * q) * c2 / 12.0) * W / L2;
    const double Mb = -(p * p * q + (q - 2.0 * p) * c2 / 12.0) * W / L2;
    const double Va = ((2.0 * p + L) * q * q + (p - q) * c2 / 4.0) * W / L3;
    return {Ma, Mb, Va, W - Va};
}

void CLoadPUDL::ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R,
                                     double* D, bool add)
{
    const double w = m_Magnitude * m_Gamma;
    const double a = m_a;
    // The cover is cut at the member end, as for the fixed-end actions; a load that starts
    // beyond the member end has no effect on it.
    double c = m_Third;
    if (a > L)
        c = 0.0;
    else if (a + c > L)
        c = L - a;
    const double e = a + c;
    const double Ra = (c / 2.0 + L - e) * c * w / L;
    const double La = L - a;
    const double Le = L - e;
    const double S = (w * La * La * La * La / 24.0 - w * Le * Le * Le * Le / 24.0 - Ra * L * L * L / 6.0) / L;
    for (std::size_t i = 0; i < n; ++i) {
        const double xi = x[i];
        const double u = Pos(xi - a);
        const double v = Pos(xi - e);
        const double x2 = xi * xi;
        const double u2 = u * u;
        const double v2 = v * v;
        Put(&V[i], Ra - w * u + w * v, add);
        Put(&M[i], Ra * xi - w * u2 / 2.0 + w * v2 / 2.0, add);
        Put(&R[i], Ra * x2 / 2.0 - w * u2 * u / 6.0 + w * v2 * v / 6.0 + S, add);
        Put(&D[i], Ra * x2 * xi / 6.0 - w * u2 * u2 / 24.0 + w * v2 * v2 / 24.0 + S * xi, add);
    }
    CloseEnds(n, M, V, add);
}

// ---------------------------------------------------------------------------------------------
// CLoadMaMb

CLoadMaMb::CLoadMaMb(std::uint32_t member, double Ma, double Mb) : CLoad(member, MAMB, Ma, Mb, 0.0) {}

std::array<double, 4> CLoadMaMb::GetFixedEndActions(double L)
{
    const double Ma = m_Magnitude * m_Gamma;
    const double Mb = m_a * m_Gamma;
    return {Ma, Mb, (Ma + Mb) / L, -(Ma + Mb) / L};
}

void CLoadMaMb::ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R,
                                     double* D, bool add)
{
    const double Ma = m_Magnitude * m_Gamma;
    const double Mb = m_a * m_Gamma;
    const double sum = Ma + Mb;
    const double S = Ma * L / 3.0 - Mb * L / 6.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double xi = x[i];
        const double x2 = xi * xi;
        Put(&V[i], sum / L, add);
        Put(&M[i], xi * sum / L - Ma, add);
        Put(&R[i], x2 * sum / (2.0 * L) - xi * Ma + S, add);
        Put(&D[i], x2 * xi * sum / (6.0 * L) - x2 * Ma / 2.0 + S * xi, add);
    }
    CloseEnds(n, M, V, add);
}
