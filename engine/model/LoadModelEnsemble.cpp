// A named, ordered list of shared load models, analysed as one.
#include "engine/model/LoadModelEnsemble.h"

#include "platform/core/Errors.h"
#include "platform/core/StringSerialization.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/base_object.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

CLoadModelEnsemble::CLoadModelEnsemble() : CElement(0, L"LoadModelEnsemble", ELEMENT_LOADMODELENSEMBLE) {}

CLoadModelEnsemble::CLoadModelEnsemble(int ID, const CString& name) : CElement(ID, name, ELEMENT_LOADMODELENSEMBLE) {}

CLoadModelEnsemble::~CLoadModelEnsemble() = default;

std::shared_ptr<CLoadModelEnsemble> CLoadModelEnsemble::Clone() const
{
    auto copy = std::make_shared<CLoadModelEnsemble>(*this);
    for (auto& model : copy->m_vLoadModel)
        if (model) model = model->Clone();
    return copy;
}

void CLoadModelEnsemble::AddLoadModel(const std::shared_ptr<CLoadModel>& pLoadModel)
{
    m_vLoadModel.push_back(pLoadModel);
    m_nLoadModels = static_cast<int>(m_vLoadModel.size());
}

void CLoadModelEnsemble::AddEnsemble(const CLoadModelEnsemble& other)
{
    // A copy of the list, so that an ensemble may be added to itself.
    const std::vector<std::shared_ptr<CLoadModel>> models = other.m_vLoadModel;
    for (const auto& pModel : models) AddLoadModel(pModel);
}

void CLoadModelEnsemble::AddEnsemble(const std::shared_ptr<CLoadModelEnsemble>& pOther)
{
    if (pOther) AddEnsemble(*pOther);
}

void CLoadModelEnsemble::RemoveLoadModel(int i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= m_vLoadModel.size()) return;
    m_vLoadModel.erase(m_vLoadModel.begin() + i);
    m_nLoadModels = static_cast<int>(m_vLoadModel.size());
}

void CLoadModelEnsemble::Clear()
{
    m_vLoadModel.clear();
    m_nLoadModels = 0;
}

std::shared_ptr<CLoadModel> CLoadModelEnsemble::GetLoadModel(int i) const { return qor::At(m_vLoadModel, i); }

template <class Archive>
void CLoadModelEnsemble::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("CElement", boost::serialization::base_object<CElement>(*this));
    ar& make_nvp("m_vLoadModel", m_vLoadModel);
    m_nLoadModels = static_cast<int>(m_vLoadModel.size());
}

QOR_INSTANTIATE_SERIALIZE(CLoadModelEnsemble)
