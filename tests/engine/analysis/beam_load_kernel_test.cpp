// The member results of the point and end-moment loads are evaluated in split, branch-free
// loops. Here they are checked bit for bit against the formulas evaluated point by point in
// the plain way, on the cases the split has to get right: a load on a result point, before
// the first or beyond the last point, negative and signed-zero magnitudes, points out of
// order, NaN positions, and very short point lists.
#include "engine/analysis/Load.h"

#include "tests/engine/analysis/beam_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <random>
#include <vector>

using beamtest::SameBits;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The point-load member results, written the straightforward way: every term at every point,
// the ends closed on the axis afterwards.
CMbrResults PlainPL(double P, double a, const std::vector<double>& x, double L)
{
    const double b = std::max(L - a, 0.0);
    const double Ra = P * b / L;
    const double S = P * b * (b * b - L * L) / (6.0 * L);
    const double Ra2 = Ra / 2.0, Ra6 = Ra / 6.0, P2 = P / 2.0, P6 = P / 6.0, RaP = Ra - P;
    CMbrResults res(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        const double xi = x[i];
        const double u = std::max(xi - a, 0.0);
        const double x2 = xi * xi;
        const double u2 = u * u;
        res.M[i] = Ra * xi - P * u;
        res.V[i] = xi >= a ? RaP : Ra;
        res.R[i] = Ra2 * x2 - P2 * u2 + S;
        res.D[i] = Ra6 * x2 * xi - P6 * u2 * u + S * xi;
        if (i == 0 || i + 1 == x.size()) res.M[i] = res.V[i] = 0.0;
    }
    res.x = x;
    return res;
}

CMbrResults PlainMaMb(double Ma, double Mb, const std::vector<double>& x, double L)
{
    const double sum = Ma + Mb;
    const double S = Ma * L / 3.0 - Mb * L / 6.0;
    const double k1 = sum / L, k2 = sum / (2.0 * L), k6 = sum / (6.0 * L), Ma2 = Ma / 2.0;
    CMbrResults res(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        const double xi = x[i];
        const double x2 = xi * xi;
        res.M[i] = xi * k1 - Ma;
        res.V[i] = k1;
        res.R[i] = x2 * k2 - xi * Ma + S;
        res.D[i] = x2 * xi * k6 - x2 * Ma2 + S * xi;
        if (i == 0 || i + 1 == x.size()) res.M[i] = res.V[i] = 0.0;
    }
    res.x = x;
    return res;
}

void ExpectSameBits(const CMbrResults& expected, const CMbrResults& actual, const char* what)
{
    ASSERT_EQ(expected.M.size(), actual.M.size()) << what;
    for (std::size_t i = 0; i < expected.M.size(); ++i)
    {
        ASSERT_TRUE(SameBits(expected.M[i], actual.M[i])) << what << " M at " << i;
        ASSERT_TRUE(SameBits(expected.V[i], actual.V[i])) << what << " V at " << i;
        ASSERT_TRUE(SameBits(expected.R[i], actual.R[i])) << what << " R at " << i;
        ASSERT_TRUE(SameBits(expected.D[i], actual.D[i])) << what << " D at " << i;
    }
}

// {0, 0, dx, ..., n dx, L}, as the solvers lay out a member.
std::vector<double> Grid(double L, int n)
{
    std::vector<double> x{0.0};
    for (int k = 0; k <= n; ++k) x.push_back(k * (L / n));
    x.push_back(L);
    return x;
}

// Checks the written and the accumulated results of a load against the plain values (the
// accumulation onto a base of non-zero values, against base + plain).
template <class Load>
void CheckLoad(Load& load, const CMbrResults& plain, const std::vector<double>& x, double L, const char* what)
{
    ExpectSameBits(plain, load.GetMemberResults(x, L), what);

    CMbrResults written(x.size());
    load.WriteMemberResults(x, L, written);
    ExpectSameBits(plain, written, what);

    CMbrResults base(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        base.M[i] = base.V[i] = base.R[i] = base.D[i] = -0.0 + 0.25 * double(i % 3) - 0.25;
    CMbrResults expected = base;
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        expected.M[i] += plain.M[i];
        expected.V[i] += plain.V[i];
        expected.R[i] += plain.R[i];
        expected.D[i] += plain.D[i];
    }
    load.AddMemberResults(x, L, base);
    ExpectSameBits(expected, base, what);
}

} // namespace

TEST(BeamLoadKernel, PointLoadMatchesPlainFormulasAtEveryKindOfPosition)
{
    const double L = 12.0;
    const std::vector<double> grid = Grid(L, 8); // points every 1.5 m
    // On a grid point, between points, at the ends, before the beam and beyond it.
    const double positions[] = {4.5, 4.4999999, 0.0, -0.0, -3.0, 12.0, 11.9, 13.0, 1e-300};
    const double magnitudes[] = {100.0, -100.0, 0.0, -0.0};
    for (double a : positions)
        for (double P : magnitudes)
        {
            CLoadPL pl(0, P, a);
            pl.SetGamma(1.35);
            CheckLoad(pl, PlainPL(P * 1.35, a, grid, L), grid, L, "grid");
            if (HasFatalFailure()) return;
        }
}

TEST(BeamLoadKernel, PointLoadHandlesUnorderedAndNaNPositions)
{
    const double L = 10.0;
    const std::vector<std::vector<double>> lists = {
        {0.0, 7.0, 1.0, 6.0, 2.0, 5.0, 10.0},  // out of order
        {0.0, 1.0, 2.0, kNaN, 6.0, 8.0, 10.0}, // a NaN inside
        {0.0, 1.0, 5.0, 5.0, 5.0, 9.0, 10.0},  // repeated points on the load
        {0.0, 9.0, 8.0, 1.0, 0.5, 10.0},       // descending
    };
    for (const std::vector<double>& x : lists)
        for (double a : {5.0, 0.0, 10.0, kNaN})
        {
            CLoadPL pl(0, 80.0, a);
            CheckLoad(pl, PlainPL(80.0, a, x, L), x, L, "list");
            if (HasFatalFailure()) return;
        }
}

TEST(BeamLoadKernel, ShortPointListsKeepTheirEnds)
{
    const double L = 6.0;
    for (const std::vector<double>& x : {std::vector<double>{}, std::vector<double>{3.0}, std::vector<double>{0.0, 6.0},
                                         std::vector<double>{0.0, 3.0, 6.0}})
    {
        CLoadPL pl(0, 50.0, 2.0);
        CheckLoad(pl, PlainPL(50.0, 2.0, x, L), x, L, "short");
        CLoadMaMb ends(0, 30.0, -12.0);
        CheckLoad(ends, PlainMaMb(30.0, -12.0, x, L), x, L, "short ends");
        if (HasFatalFailure()) return;
    }
}

TEST(BeamLoadKernel, RandomPointLoadsAndEndMomentsOnRandomGrids)
{
    std::mt19937 rng(7771);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    for (int c = 0; c < 300; ++c)
    {
        const double L = 0.5 + 60.0 * U(rng);
        const int n = 1 + static_cast<int>(rng() % 120);
        const std::vector<double> x = Grid(L, n);
        // Half the loads sit exactly on a result point.
        const double a = (c % 2) ? x[1 + rng() % (x.size() - 1)] : (1.2 * U(rng) - 0.1) * L;
        const double P = 200.0 * U(rng) - 50.0;
        CLoadPL pl(0, P, a);
        CheckLoad(pl, PlainPL(P, a, x, L), x, L, "random PL");
        const double Ma = 500.0 * U(rng) - 250.0, Mb = 500.0 * U(rng) - 250.0;
        CLoadMaMb ends(0, Ma, Mb);
        CheckLoad(ends, PlainMaMb(Ma, Mb, x, L), x, L, "random ends");
        if (HasFatalFailure()) return;
    }
}
