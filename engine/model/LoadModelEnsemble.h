// A named, ordered list of shared load models, analysed as one.
#pragma once

#include "engine/model/LoadModel.h"

#include <boost/serialization/access.hpp>

#include <memory>
#include <vector>

class CLoadModelEnsemble : public CElement
{
public:
    // Name "LoadModelEnsemble", id 0.
    CLoadModelEnsemble();
    CLoadModelEnsemble(int ID, const CString& name);
    CLoadModelEnsemble(const CLoadModelEnsemble&) = default;
    CLoadModelEnsemble& operator=(const CLoadModelEnsemble&) = default;
    ~CLoadModelEnsemble() override;

    // A copy whose load models are copies too (CElementCopies keeps models shared between
    // ensembles shared in the copies).
    std::shared_ptr<CLoadModelEnsemble> Clone() const;

    void AddLoadModel(const std::shared_ptr<CLoadModel>& pLoadModel);
    // Appends (shares) every load model of the other ensemble, in order.
    void AddEnsemble(const CLoadModelEnsemble& other);
    void AddEnsemble(const std::shared_ptr<CLoadModelEnsemble>& pOther);
    // Nothing when i is not a valid index.
    void RemoveLoadModel(int i);
    void Clear();
    // std::out_of_range "invalid vector<T> subscript" for a bad index.
    std::shared_ptr<CLoadModel> GetLoadModel(int i) const;
    int GetLoadModelCount() const { return static_cast<int>(m_vLoadModel.size()); }

    int m_nLoadModels = 0; // derived: always the size of m_vLoadModel
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;

private:
    friend class boost::serialization::access;
    // Archive items: "CElement", m_vLoadModel; then the count.
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};
