// Continuous beam: spans, flexural rigidities and nodal restraints.
#include "engine/model/Beam.h"

#include "platform/core/Errors.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/nvp.hpp>
#include <boost/serialization/vector.hpp>

void CBeam::SetSpans(std::vector<double> L)
{
    m_vL = std::move(L);
    m_nSpans = static_cast<std::int32_t>(m_vL.size());
    double sum = 0.0;
    for (double l : m_vL) sum += l;
    m_Length = sum;
}

void CBeam::SetRestraints(std::vector<double> R)
{
    m_vR = std::move(R);
    m_nRestraints = CountRigidRestraints(m_vR);
}

int CBeam::CountRigidRestraints(const std::vector<double>& R)
{
    int n = 0;
    for (double r : R)
        if (r == -1.0) ++n;
    return n;
}

int CBeam::GetSpanIndex(double& x) const
{
    if (x < 0.001 || x > m_Length - 0.001 || m_vL.empty()) return -1;

    const std::size_t last = m_vL.size() - 1;
    double s = 0.0;
    std::size_t i = 0;
    // The last span takes whatever rounding leaves over at the right end.
    while (i < last && x > s + m_vL[i])
    {
        s += m_vL[i];
        ++i;
    }
    x -= s;
    return static_cast<int>(i);
}

double CBeam::GetRestraintPosition(int k) const
{
    if (k < 0) qor::ThrowSubscriptError();
    int found = -1;
    std::size_t j = 0;
    for (; j < m_vR.size(); ++j)
    {
        if (m_vR[j] == -1.0 && ++found == k) break;
    }
    if (j == m_vR.size()) qor::ThrowSubscriptError();

    const std::size_t node = j / 2;
    double pos = 0.0;
    for (std::size_t i = 0; i < node && i < m_vL.size(); ++i) pos += m_vL[i];
    return pos;
}

std::vector<double> CBeam::GetEventPositions() const
{
    std::vector<double> events;
    events.reserve(2 * m_vL.size());
    double s = 0.0;
    for (double l : m_vL)
    {
        events.push_back(s + 1.0);
        s += l;
        events.push_back(s - 1.0);
    }
    return events;
}

template <class Archive>
void CBeam::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(m_nSpans);
    ar& BOOST_SERIALIZATION_NVP(m_nRestraints);
    ar& BOOST_SERIALIZATION_NVP(m_Length);
    ar& BOOST_SERIALIZATION_NVP(m_vL);
    ar& BOOST_SERIALIZATION_NVP(m_vEI);
    ar& BOOST_SERIALIZATION_NVP(m_vR);
}

QOR_INSTANTIATE_SERIALIZE(CBeam)

BOOST_CLASS_EXPORT_IMPLEMENT(CBeam)
