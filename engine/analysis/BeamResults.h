// Results of a beam analysis: per-member results along each span and the support reactions.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <boost/serialization/access.hpp>
#include <boost/serialization/export.hpp>

class CBeam;

// Result kind selector.
enum BeamResultsType : int
{
    BRT_MOMENT = 0,
    BRT_SHEAR = 1,
    BRT_ROTATION = 2,
    BRT_DEFLECTION = 3,
    BRT_REACTIONS = 4,
    BRT_ALL = 5
};

// Results along one member: position x (m), moment M (sagging positive), shear V,
// rotation R and deflection D (upwards positive), all of equal length.
class CMbrResults
{
public:
    CMbrResults() = default;
    explicit CMbrResults(std::size_t nPoints);

    // 0 zeroes M, 1 V, 2 R, 3 D (lengths kept); 5 re-sizes M, V, R, D to the length
    // of x, all zero; 4 changes nothing. x is never touched.
    void Clear(int t);

    // Adds other's M, V, R, D element by element (x unchanged).
    // Throws "Results vectors different size" unless every vector here has other's x length.
    CMbrResults& operator+=(const CMbrResults& other);

    // Number of result points (the length of x).
    std::size_t GetSize() const { return x.size(); }

    std::vector<double> x;
    std::vector<double> M;
    std::vector<double> V;
    std::vector<double> R;
    std::vector<double> D;

private:
    friend class boost::serialization::access;
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

// The solved beam: a copy of the analysed beam, one CMbrResults per span and one
// reaction per DOF restrained by exactly -1.0 (in DOF order).
class CBeamResults
{
public:
    CBeamResults() = default;
    CBeamResults(const CBeam* beam, std::vector<CMbrResults> members, std::vector<double> reactions);
    virtual ~CBeamResults() = default;

    std::shared_ptr<CBeam> GetBeam() const { return m_pBeam; }
    std::vector<double> GetReactions() const { return m_vReactions; }
    const std::vector<double>& Reactions() const { return m_vReactions; }
    const std::vector<CMbrResults>& GetMemberResults() const { return m_vMbrRes; }
    std::size_t GetNoMembers() const { return m_vMbrRes.size(); }

    // Positions x and values y of kind t (0 M, 1 V, 2 R, 3 D) of every member in order.
    // Any other kind throws "Error in choice of BeamResultsType".
    void GetResults(std::vector<double>& x, std::vector<double>& y, int t) const;

    // Clears kind t on every member; 4 and 5 also zero the reactions.
    void ClearResults(int t);

    std::shared_ptr<CBeam> m_pBeam;
    std::vector<CMbrResults> m_vMbrRes;
    std::vector<double> m_vReactions;

private:
    friend class boost::serialization::access;
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

BOOST_CLASS_EXPORT_KEY(CBeamResults)
