// Continuous beam: spans, flexural rigidities and nodal restraints.
#pragma once

#include <cstdint>
#include <vector>

#include <boost/serialization/access.hpp>
#include <boost/serialization/export.hpp>

// A row of spans with two degrees of freedom per node (vertical, then rotation).
// Node k is the start of span k; span i owns DOFs 2i .. 2i+3.
// Restraint codes in m_vR (one per DOF): negative = rigid, positive = spring stiffness,
// 0.0 = free. Only a code of exactly -1.0 produces a reaction entry.
class CBeam
{
public:
    CBeam() = default;
    virtual ~CBeam() = default;

    // Stores the span lengths, the span count and the total length.
    void SetSpans(std::vector<double> L);
    // Stores the restraint codes and counts the rigid (-1.0) supports.
    void SetRestraints(std::vector<double> R);

    std::vector<double> GetL() const { return m_vL; }
    std::vector<double> GetEI() const { return m_vEI; }
    std::vector<double> GetR() const { return m_vR; }

    // The span that holds position x (m from the left end), or -1 when x lies within
    // 0.001 m of either end or off the beam. On success x becomes the local position
    // within that span. A position on an inner node belongs to the span on its left.
    int GetSpanIndex(double& x) const;

    // Position along the beam of the k-th (from 0) DOF restrained by exactly -1.0.
    double GetRestraintPosition(int k) const;

    // For every span from the left: its start + 1.0 m and its end - 1.0 m.
    std::vector<double> GetEventPositions() const;

    // Number of entries of R that equal exactly -1.0.
    static int CountRigidRestraints(const std::vector<double>& R);

    std::int32_t m_nSpans = 0;
    std::int32_t m_nRestraints = 0;
    double m_Length = 0.0;
    std::vector<double> m_vL;
    std::vector<double> m_vEI;
    std::vector<double> m_vR;

private:
    friend class boost::serialization::access;
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

BOOST_CLASS_EXPORT_KEY(CBeam)
