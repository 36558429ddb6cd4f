// Results of a beam analysis: per-member results along each span and the support reactions.
#include "engine/analysis/BeamResults.h"

#include "engine/EngineErrors.h"
#include "engine/model/Beam.h"

#include <algorithm>

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

// ---------------------------------------------------------------------------------------------
// CMbrResults

CMbrResults::CMbrResults(std::size_t nPoints)
    : x(nPoints, 0.0), M(nPoints, 0.0), V(nPoints, 0.0), R(nPoints, 0.0), D(nPoints, 0.0)
{}

void CMbrResults::Clear(int t)
{
    switch (t)
    {
    case BRT_MOMENT: std::fill(M.begin(), M.end(), 0.0); break;
    case BRT_SHEAR: std::fill(V.begin(), V.end(), 0.0); break;
    case BRT_ROTATION: std::fill(R.begin(), R.end(), 0.0); break;
    case BRT_DEFLECTION: std::fill(D.begin(), D.end(), 0.0); break;
    case BRT_REACTIONS: break;
    case BRT_ALL:
        M.assign(x.size(), 0.0);
        V.assign(x.size(), 0.0);
        R.assign(x.size(), 0.0);
        D.assign(x.size(), 0.0);
        break;
    default: throw kResultsTypeError;
    }
}

CMbrResults& CMbrResults::operator+=(const CMbrResults& other)
{
    const std::size_t n = other.x.size();
    if (x.size() != n || M.size() != n || V.size() != n || R.size() != n || D.size() != n) throw kResultsSizeError;
    // other's value vectors must be as long as its positions too, or we would read past them.
    if (other.M.size() != n || other.V.size() != n || other.R.size() != n || other.D.size() != n)
        throw kResultsSizeError;
    for (std::size_t i = 0; i < n; ++i)
    {
        M[i] += other.M[i];
        V[i] += other.V[i];
        R[i] += other.R[i];
        D[i] += other.D[i];
    }
    return *this;
}

template <class Archive>
void CMbrResults::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& boost::serialization::make_nvp("x", x);
    ar& boost::serialization::make_nvp("M", M);
    ar& boost::serialization::make_nvp("V", V);
    ar& boost::serialization::make_nvp("R", R);
    ar& boost::serialization::make_nvp("D", D);
}

// ---------------------------------------------------------------------------------------------
// CBeamResults

CBeamResults::CBeamResults(const CBeam* beam, std::vector<CMbrResults> members, std::vector<double> reactions)
    : m_pBeam(beam ? std::make_shared<CBeam>(*beam) : nullptr), m_vMbrRes(std::move(members)),
      m_vReactions(std::move(reactions))
{}

void CBeamResults::GetResults(std::vector<double>& x, std::vector<double>& y, int t) const
{
    if (t < BRT_MOMENT || t > BRT_DEFLECTION) throw kResultsTypeError;

    x.clear();
    y.clear();
    const std::size_t perMember = m_vMbrRes.empty() ? 0 : m_vMbrRes.front().x.size();
    x.reserve(m_vMbrRes.size() * perMember);
    y.reserve(m_vMbrRes.size() * perMember);

    for (const CMbrResults& m : m_vMbrRes)
    {
        const std::vector<double>* v = nullptr;
        switch (t)
        {
        case BRT_MOMENT: v = &m.M; break;
        case BRT_SHEAR: v = &m.V; break;
        case BRT_ROTATION: v = &m.R; break;
        default: v = &m.D; break;
        }
        x.insert(x.end(), m.x.begin(), m.x.end());
        y.insert(y.end(), v->begin(), v->end());
    }
}

void CBeamResults::ClearResults(int t)
{
    if (t < BRT_MOMENT || t > BRT_ALL) throw kResultsTypeError;
    for (CMbrResults& m : m_vMbrRes) m.Clear(t);
    if (t == BRT_REACTIONS || t == BRT_ALL) std::fill(m_vReactions.begin(), m_vReactions.end(), 0.0);
}

template <class Archive>
void CBeamResults::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(m_pBeam);
    ar& BOOST_SERIALIZATION_NVP(m_vMbrRes);
    ar& BOOST_SERIALIZATION_NVP(m_vReactions);
}

QOR_INSTANTIATE_SERIALIZE(CMbrResults)
QOR_INSTANTIATE_SERIALIZE(CBeamResults)

BOOST_CLASS_EXPORT_IMPLEMENT(CBeamResults)
