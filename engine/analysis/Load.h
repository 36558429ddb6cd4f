// Member loads acting on one span of a CBeam.
#pragma once

#include "engine/analysis/BeamResults.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Abstract member load. A positive magnitude acts downwards; fixed-end actions follow the
// DOF directions {Ma, Mb, Va, Vb} (moments anticlockwise, shears upwards). Every formula
// uses the factored intensity magnitude x gamma.
class CLoad
{
public:
    enum Kind : std::int32_t
    {
        UDL = 0,
        PL = 1,
        PUDL = 2,
        MAMB = 3
    };

    virtual ~CLoad() = default;

    // Fixed-end actions {Ma, Mb, Va, Vb} on a member of length L.
    virtual std::array<double, 4> GetFixedEndActions(double L) = 0;

    // This load's effects on the member taken as simply supported, at the local positions x
    // (0 .. L). The first and last M and V are 0.0 so that diagrams close on the axis.
    virtual CMbrResults GetMemberResults(std::vector<double> x, double L);

    // Adds the same values GetMemberResults would give into acc (whose vectors must all be as
    // long as x), without allocating. Throws "Results vectors different size" otherwise.
    void AddMemberResults(const std::vector<double>& x, double L, CMbrResults& acc);

    std::uint32_t GetMember() const { return m_nMember; }
    std::int32_t GetKind() const { return m_Kind; }
    double GetGamma() const { return m_Gamma; }
    void SetGamma(double gamma) { m_Gamma = gamma; }
    double GetMagnitude() const { return m_Magnitude; }
    double GetPosition() const { return m_a; }

    // Let a caller re-use one load object for many load cases.
    void SetMember(std::uint32_t member) { m_nMember = member; }
    void SetMagnitude(double magnitude) { m_Magnitude = magnitude; }
    void SetPosition(double a) { m_a = a; }

    // Writes this load's member results into out's M, V, R, D (which must all be as long as
    // x; out.x is not touched), exactly as GetMemberResults computes them, without allocating.
    void WriteMemberResults(const std::vector<double>& x, double L, CMbrResults& out);

    // Four values GetFixedEndActions returns for a point or partial load that starts beyond
    // the member end (0.0 unless set).
    void SetFixedEndActionsBeyond(const std::array<double, 4>& fea) { m_FEABeyond = fea; }

protected:
    CLoad(std::uint32_t member, std::int32_t kind, double magnitude, double a, double third);

    // Writes (add == false) or adds (add == true) the member results at n positions.
    virtual void ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R,
                                      double* D, bool add) = 0;

    std::uint32_t m_nMember;             // span the load is on
    std::int32_t m_Kind;                 // 0 uniform, 1 point, 2 partial uniform, 3 end moments
    double m_Gamma = 1.0;                // load factor
    std::array<double, 4> m_FEABeyond{}; // returned when the load starts beyond the member end
    double m_Magnitude;                  // w, P, or Ma for end moments
    double m_a;                          // start position within the member, or Mb for end moments
    double m_Third;                      // b = L - a (point load, written by each call); cover c (partial)
};

// Uniform load w over the whole member.
class CLoadUDL : public CLoad
{
public:
    CLoadUDL(std::uint32_t member, double w);
    std::array<double, 4> GetFixedEndActions(double L) override;

protected:
    void ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R, double* D,
                              bool add) override;
};

// Point load P at a from the left end of the member.
class CLoadPL : public CLoad
{
public:
    CLoadPL(std::uint32_t member, double P, double a);
    std::array<double, 4> GetFixedEndActions(double L) override;
    double GetB() const { return m_Third; }

protected:
    void ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R, double* D,
                              bool add) override;
};

// Uniform load w from a over the cover c. Where the cover runs past the member end, both the
// fixed-end actions and the member results use the cover cut at the member end; the stored
// cover is left unchanged.
class CLoadPUDL : public CLoad
{
public:
    CLoadPUDL(std::uint32_t member, double w, double a, double c);
    std::array<double, 4> GetFixedEndActions(double L) override;
    double GetCover() const { return m_Third; }
    void SetCover(double c) { m_Third = c; }

protected:
    void ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R, double* D,
                              bool add) override;
};

// End moments Ma (left) and Mb (right), anticlockwise positive.
class CLoadMaMb : public CLoad
{
public:
    CLoadMaMb(std::uint32_t member, double Ma, double Mb);
    std::array<double, 4> GetFixedEndActions(double L) override;

protected:
    void ComputeMemberResults(const double* x, std::size_t n, double L, double* M, double* V, double* R, double* D,
                              bool add) override;
};
