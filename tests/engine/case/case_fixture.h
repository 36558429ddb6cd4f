// A small case of every kind of element, shared between lists as the program shares them,
// with a computed reference collection; and its file in either form.
#pragma once

#include "engine/analysis/ReferenceCollection.h"
#include "engine/case/CaseFile.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"

#include <memory>
#include <sstream>
#include <string>

namespace casetest {

inline CCaseData SmallCase()
{
    CCaseData c;
    c.m_vBridge = {std::make_shared<CBridge>(1, CString(L"Pont à une travée"), CBridge::CONFIG_ONESPAN, 20.0),
                   std::make_shared<CBridge>(2, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 15.0)};
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Simple 10–20 m"), 2, CBridge::CONFIG_ONESPAN, 10.0, 20.0);
    c.m_vBridgeSet = {set};

    auto tandem = std::make_shared<CLoadModel>(1, CString(L"Tandem µ"));
    tandem->AddPointLoad(100.0, 0.0, 0.0);
    tandem->AddPointLoad(100.0, -4.0, 0.0);
    auto lane = std::make_shared<CLoadModel>(2, CString(L"Lane"));
    lane->AddUDL(10.0);
    lane->AddPartialUDL(5.0, 0.0, 3.0);
    c.m_vLoadModel = {tandem, lane};

    auto ensemble = std::make_shared<CLoadModelEnsemble>(1, CString(L"Both"));
    ensemble->AddLoadModel(tandem);
    ensemble->AddLoadModel(lane);
    c.m_vLoadModelEnsemble = {ensemble};

    auto collection = std::make_shared<CReferenceCollection>(1, CString(L"Réseau"), true, 0, 2.0);
    collection->m_vLME = {ensemble};
    collection->m_vBS = {set};
    collection->Calculate();
    c.m_vRefCollection = {collection};

    c.m_sCaseRef = L"Case 7";
    c.m_sCaseNotes = L"Notes\nwith <markup> & Überführung";
    return c;
}

inline std::string CaseFile(const CCaseData& c, bool binary)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    SaveCase(out, c, binary);
    return out.str();
}

// Loads bytes into data; the failure's text, or "" when the load succeeded.
inline std::string LoadFailure(const std::string& bytes, CCaseData& data)
{
    std::istringstream in(bytes, std::ios::in | std::ios::binary);
    try
    {
        LoadCase(in, data);
    }
    catch (const CCaseFileError& e)
    {
        return std::string("failed: ") + e.what();
    }
    return "";
}

} // namespace casetest
