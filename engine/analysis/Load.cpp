// Member loads acting on one span of a CBeam.
#include "engine/analysis/Load.h"

#include "engine/EngineErrors.h"

#include <algorithm>

namespace {

// Evaluates f(x, M, V, R, D) at every point and writes (Add false) or adds (Add true) the
// values. The first and the last point take 0.0 for M and V, so that the diagrams close on
// the axis. Both the plain and the accumulating evaluations go through here, so each gives
// exactly the same sums. The two end points are done apart from the others so that the loop
// over the inner points has no branch and the compiler can evaluate two points at a time;
// every value is still the same expression in the same order.
template <bool Add>
inline void Put(std::size_t i, double m, double v, double r, double d, double* M, double* V, double* R, double* D)
{
    if constexpr (Add)
    {
        M[i] += m;
        V[i] += v;
        R[i] += r;
        D[i] += d;
    }
    else
    {
        M[i] = m;
        V[i] = v;
        R[i] = r;
        D[i] = d;
    }
}

template <bool Add, class F>
inline void Fill(const double* __restrict x, std::size_t n, double* __restrict M, double* __restrict V,
                 double* __restrict R, double* __restrict D, F f)
{
    if (n == 0) return;
    double m, v, r, d;
    f(x[0], m, v, r, d);
    Put<Add>(0, 0.0, 0.0, r, d, M, V, R, D);
    if (n == 1) return;
    const std::size_t last = n - 1;
    for (std::size_t i = 1; i < last; ++i)
    {
        double mi, vi, ri, di;
        f(x[i], mi, vi, ri, di);
        Put<Add>(i, mi, vi, ri, di, M, V, R, D);
    }
    f(x[last], m, v, r, d);
    Put<Add>(last, 0.0, 0.0, r, d, M, V, R, D);
}

template <class F>
inline void FillAny(bool add, const double* x, std::size_t n, double* M, double* V, double* R, double* D, F f)
{
    if (add)
        Fill<true>(x, n, M, V, R, D, f);
    else
        Fill<false>(x, n, M, V, R, D, f);
}

inline double Pos(double y) { return std::max(y, 0.0); }

// True when every p[k] < a (AllBelow) or every p[k] >= a (NoneBelow); a NaN is neither.
// Written as reductions without an early exit, so that they vectorise.
inline bool AllBelow(const double* p, std::size_t n, double a)
{
    double bad = 0.0;
    for (std::size_t k = 0; k < n; ++k) bad = p[k] < a ? bad : 1.0;
    return bad == 0.0;
}

inline bool NoneBelow(const double* p, std::size_t n, double a)
{
    double bad = 0.0;
    for (std::size_t k = 0; k < n; ++k) bad = p[k] >= a ? bad : 1.0;
    return bad == 0.0;
}

// As Fill, for a load whose terms change at the position a: before(x) is what general(x)
// gives where x < a, from(x) what it gives where x >= a, each without the test, so that the
// loops have no branch and vectorise. The inner points are expected in ascending order (as
// every beam lays them out): the split is found by bisection and then checked point by point;
// if the points are not split cleanly (out of order, or a NaN) every inner point goes through
// general.
template <bool Add, class G, class B, class A>
inline void FillSplit(const double* __restrict x, std::size_t n, double* __restrict M, double* __restrict V,
                      double* __restrict R, double* __restrict D, double a, G general, B before, A from)
{
    if (n == 0) return;
    double m, v, r, d;
    general(x[0], m, v, r, d);
    Put<Add>(0, 0.0, 0.0, r, d, M, V, R, D);
    if (n == 1) return;
    const std::size_t last = n - 1;
    const double* const split = std::partition_point(x + 1, x + last, [a](double xi) { return xi < a; });
    const std::size_t k = static_cast<std::size_t>(split - x);
    if (AllBelow(x + 1, k - 1, a) && NoneBelow(x + k, last - k, a))
    {
        for (std::size_t i = 1; i < k; ++i)
        {
            double mi, vi, ri, di;
            before(x[i], mi, vi, ri, di);
            Put<Add>(i, mi, vi, ri, di, M, V, R, D);
        }
        for (std::size_t i = k; i < last; ++i)
        {
            double mi, vi, ri, di;
            from(x[i], mi, vi, ri, di);
            Put<Add>(i, mi, vi, ri, di, M, V, R, D);
        }
    }
    else
    {
        for (std::size_t i = 1; i < last; ++i)
        {
            general(x[i], m, v, r, d);
            Put<Add>(i, m, v, r, d, M, V, R, D);
        }
    }
    general(x[last], m, v, r, d);
    Put<Add>(last, 0.0, 0.0, r, d, M, V, R, D);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CLoad

CLoad::CLoad(std::uint32_t member, std::int32_t kind, double magnitude, double a, double third)
    : m_nMember(member), m_Kind(kind), m_Magnitude(magnitude), m_a(a), m_Third(third)
{}

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
    if (acc.M.size() != n || acc.V.size() != n || acc.R.size() != n || acc.D.size() != n) throw kResultsSizeError;
    ComputeMemberResults(x.data(), n, L, acc.M.data(), acc.V.data(), acc.R.data(), acc.D.data(), true);
}

void CLoad::WriteMemberResults(const std::vector<double>& x, double L, CMbrResults& out)
{
    const std::size_t n = x.size();
    if (out.M.size() != n || out.V.size() != n || out.R.size() != n || out.D.size() != n) throw kResultsSizeError;
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
    const double Ra2 = Ra / 2.0, Ra6 = Ra / 6.0, w2 = w / 2.0, w6 = w / 6.0, w24 = w / 24.0;
    FillAny(add, x, n, M, V, R, D, [=](double xi, double& m, double& v, double& r, double& d) {
        const double x2 = xi * xi;
        const double x3 = x2 * xi;
        m = Ra * xi - w2 * x2;
        v = Ra - w * xi;
        r = Ra2 * x2 - w6 * x3 + S;
        d = Ra6 * x3 - w24 * x3 * xi + S * xi;
    });
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

void CLoadPL::ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R, double* D,
                                   bool add)
{
    const double P = m_Magnitude * m_Gamma;
    const double a = m_a;
    m_Third = std::max(L - a, 0.0);
    const double b = m_Third;
    const double Ra = P * b / L;
    const double S = P * b * (b * b - L * L) / (6.0 * L);
    const double Ra2 = Ra / 2.0, Ra6 = Ra / 6.0, P2 = P / 2.0, P6 = P / 6.0, RaP = Ra - P;
    // The values at x given u = max(x - a, 0) and the shear vv.
    const auto at = [=](double xi, double u, double vv, double& m, double& v, double& r, double& d) {
        const double x2 = xi * xi;
        const double u2 = u * u;
        m = Ra * xi - P * u;
        v = vv;
        r = Ra2 * x2 - P2 * u2 + S;
        d = Ra6 * x2 * xi - P6 * u2 * u + S * xi;
    };
    const auto general = [=](double xi, double& m, double& v, double& r, double& d) {
        at(xi, Pos(xi - a), xi >= a ? RaP : Ra, m, v, r, d);
    };
    // Where x < a, x - a < 0 (a difference of unequal numbers is never zero), so u is 0.0.
    const auto before = [=](double xi, double& m, double& v, double& r, double& d) { at(xi, 0.0, Ra, m, v, r, d); };
    const auto from = [=](double xi, double& m, double& v, double& r, double& d) { at(xi, xi - a, RaP, m, v, r, d); };
    if (add)
        FillSplit<true>(x, n, M, V, R, D, a, general, before, from);
    else
        FillSplit<false>(x, n, M, V, R, D, a, general, before, from);
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
    const double Ra2 = Ra / 2.0, Ra6 = Ra / 6.0, w2 = w / 2.0, w6 = w / 6.0, w24 = w / 24.0;
    FillAny(add, x, n, M, V, R, D, [=](double xi, double& m, double& v, double& r, double& d) {
        const double u = Pos(xi - a);
        const double t = Pos(xi - e);
        const double x2 = xi * xi;
        const double u2 = u * u;
        const double t2 = t * t;
        m = Ra * xi - w2 * u2 + w2 * t2;
        v = Ra - w * u + w * t;
        r = Ra2 * x2 - w6 * u2 * u + w6 * t2 * t + S;
        d = Ra6 * x2 * xi - w24 * u2 * u2 + w24 * t2 * t2 + S * xi;
    });
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
    const double k1 = sum / L, k2 = sum / (2.0 * L), k6 = sum / (6.0 * L), Ma2 = Ma / 2.0;
    FillAny(add, x, n, M, V, R, D, [=](double xi, double& m, double& v, double& r, double& d) {
        const double x2 = xi * xi;
        m = xi * k1 - Ma;
        v = k1;
        r = x2 * k2 - xi * Ma + S;
        d = x2 * xi * k6 - x2 * Ma2 + S * xi;
    });
}
