// The Insert menu (standard bridge sets and the entries of the standard load-model library) and Tools >
// Generate LME from LM.
#include "app/QORDoc.h"

#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "res/Resource.h"
#include "ui/dialogs/GenerateLMEDlg.h"
#include "ui/dialogs/LMEParametersDlg.h"

#include <type_traits>
#include <variant>

namespace {

using EnsemblePtr = std::shared_ptr<CLoadModelEnsemble>;
// The three kinds of library operation; the kind decides which parameters the dialog asks for.
using PlainEntry = EnsemblePtr (CLMEFactory::*)();
using SpacedEntry = EnsemblePtr (CLMEFactory::*)(bool, double);
using HBEntry = EnsemblePtr (CLMEFactory::*)(int);

struct LibraryCommand
{
    UINT id;
    std::variant<PlainEntry, SpacedEntry, HBEntry> build;
};

const LibraryCommand kLibraryCommands[] = {
    {ID_INSERT_A26_ALL, &CLMEFactory::GetA26},
    {ID_INSERT_A26_AA26, &CLMEFactory::GetA26_AA26},
    {ID_INSERT_A26_A26, &CLMEFactory::GetA26_A26},
    {ID_INSERT_A26_B26, &CLMEFactory::GetA26_B26},
    {ID_INSERT_A36_ALL, &CLMEFactory::GetA36},
    {ID_INSERT_A36_AA36, &CLMEFactory::GetA36_AA36},
    {ID_INSERT_A36_A36, &CLMEFactory::GetA36_A36},
    {ID_INSERT_A36_B36, &CLMEFactory::GetA36_B36},
    {ID_INSERT_NAASRA1970_ALL, &CLMEFactory::GetNAASRA1970},
    {ID_INSERT_NAASRA1970_MS18, &CLMEFactory::GetNAASRA1970_MS18},
    {ID_INSERT_NAASRA1970_MS13, &CLMEFactory::GetNAASRA1970_MS13},
    {ID_INSERT_NAASRA1970_M18, &CLMEFactory::GetNAASRA1970_M18},
    {ID_INSERT_NAASRA1970_M13, &CLMEFactory::GetNAASRA1970_M13},
    {ID_INSERT_NAASRA1970_M9, &CLMEFactory::GetNAASRA1970_M9},
    {ID_INSERT_NAASRA1976_ALL, &CLMEFactory::GetNAASRA1976},
    {ID_INSERT_NAASRA1976_A14, &CLMEFactory::GetNAASRA1976_A14},
    {ID_INSERT_NAASRA1976_T44, &CLMEFactory::GetNAASRA1976_T44},
    {ID_INSERT_NAASRA1976_L44, &CLMEFactory::GetNAASRA1976_L44},
    {ID_INSERT_NAASRA1976_SAV, &CLMEFactory::GetNAASRA1976_SAV},
    {ID_INSERT_ABDC1992_ALL, &CLMEFactory::GetABDC1992},
    {ID_INSERT_ABDC1992_W7, &CLMEFactory::GetABDC1992_W7},
    {ID_INSERT_ABDC1992_T44, &CLMEFactory::GetABDC1992_T44},
    {ID_INSERT_ABDC1992_L44, &CLMEFactory::GetABDC1992_L44},
    {ID_INSERT_ABDC1992_HLP320, &CLMEFactory::GetABDC1992_HLP320},
    {ID_INSERT_ABDC1992_HLP400, &CLMEFactory::GetABDC1992_HLP400},
    {ID_INSERT_ABAG_ALL, &CLMEFactory::GetABAG},
    {ID_INSERT_ABAG_BDOUBLE1, &CLMEFactory::GetABAG_BDouble1},
    {ID_INSERT_ABAG_BDOUBLE2, &CLMEFactory::GetABAG_BDouble2},
    {ID_INSERT_ABAG_BDOUBLE3, &CLMEFactory::GetABAG_BDouble3},
    {ID_INSERT_ABAG_SEMI1, &CLMEFactory::GetABAG_Semi1},
    {ID_INSERT_ABAG_SEMI2, &CLMEFactory::GetABAG_Semi2},
    {ID_INSERT_ABAG_SEMI3, &CLMEFactory::GetABAG_Semi3},
    {ID_INSERT_ABAG_SEMI4, &CLMEFactory::GetABAG_Semi4},
    {ID_INSERT_AS5100_ALL, &CLMEFactory::GetAS5100},
    {ID_INSERT_AS5100_W80, &CLMEFactory::GetAS5100_W80},
    {ID_INSERT_AS5100_A160, &CLMEFactory::GetAS5100_A160},
    {ID_INSERT_AS5100_M1600, &CLMEFactory::GetAS5100_M1600},
    {ID_INSERT_AS5100_S1600, &CLMEFactory::GetAS5100_S1600},
    {ID_INSERT_AS5100_HLP320, &CLMEFactory::GetAS5100_HLP320},
    {ID_INSERT_AS5100_HLP400, &CLMEFactory::GetAS5100_HLP400},
    {ID_INSERT_EUROCODE_ALL, &CLMEFactory::GetEurocode},
    {ID_INSERT_EUROCODE_LM1, &CLMEFactory::GetEurocode_LM1},
    {ID_INSERT_BS5400_ALL, &CLMEFactory::GetBS5400},
    {ID_INSERT_BS5400_HA, &CLMEFactory::GetBS5400_HA},
    {ID_INSERT_BS5400_HAHB, &CLMEFactory::GetBS5400_HAHB},
    {ID_INSERT_AASHTO_ALL, &CLMEFactory::GetAASHTO},
    {ID_INSERT_AASHTO_HL93, &CLMEFactory::GetAASHTO_HL93},
};

const LibraryCommand* FindLibraryCommand(UINT id)
{
    for (const LibraryCommand& command : kLibraryCommands)
        if (command.id == id) return &command;
    return nullptr;
}

void InsertStandardBridgeSet(CQORDoc& doc, int nSpans)
{
    CString name;
    name.Format(L"1:1:50m %d-span", nSpans);
    doc.m_vBridgeSet.push_back(std::make_shared<CBridgeSet>(++doc.m_nBridgeSetID, name, nSpans, 1.0, 50.0, 1.0));
    doc.UpdateElementView();
    doc.SetModifiedFlag(TRUE);
}

void InsertLibraryEntry(CQORDoc& doc, const LibraryCommand& command)
{
    CLMEParametersDlg dlg;
    dlg.m_bSpacingEnabled = std::holds_alternative<SpacedEntry>(command.build);
    dlg.m_bHBEnabled = std::holds_alternative<HBEntry>(command.build);
    if (dlg.DoModal() != IDOK) return;

    CLMEFactory& factory = doc.m_LMEFactory;
    factory.m_bUseStandardDLA = dlg.m_bUseStandardDLA;
    if (!dlg.m_bUseStandardDLA) factory.m_DLA = dlg.m_DLA;
    const double stepOrCount = dlg.m_bByStep ? dlg.m_StepDistance : static_cast<double>(dlg.m_nValues);

    // A step that passes the dialog can still be too fine for the entry's own range of spacings:
    // the entry throws, and the command says so (CQORDoc::RunCommand).
    const EnsemblePtr ensemble = std::visit(
        [&](auto build) -> EnsemblePtr {
            using Build = decltype(build);
            if constexpr (std::is_same_v<Build, SpacedEntry>)
                return (factory.*build)(dlg.m_bByStep, stepOrCount);
            else if constexpr (std::is_same_v<Build, HBEntry>)
                return (factory.*build)(dlg.m_nHBUnits);
            else
                return (factory.*build)();
        },
        command.build);
    if (!ensemble) return;
    doc.m_vLoadModelEnsemble.push_back(std::move(ensemble));
    doc.UpdateElementView();
    doc.SetModifiedFlag(TRUE);
}

} // namespace

void CQORDoc::OnInsertCommand(UINT nID)
{
    switch (nID)
    {
    case ID_INSERT_BRIDGES_ALL:
        for (int spans = 1; spans <= 3; ++spans) InsertStandardBridgeSet(*this, spans);
        UpdateElementView();
        SetModifiedFlag(TRUE);
        return;
    case ID_INSERT_BRIDGES_1SPAN: InsertStandardBridgeSet(*this, 1); return;
    case ID_INSERT_BRIDGES_2SPAN: InsertStandardBridgeSet(*this, 2); return;
    case ID_INSERT_BRIDGES_3SPAN: InsertStandardBridgeSet(*this, 3); return;
    default: break;
    }
    if (const LibraryCommand* command = FindLibraryCommand(nID)) InsertLibraryEntry(*this, *command);
}

void CQORDoc::OnToolsGenerateLME()
{
    CGenerateLMEDlg dlg;
    dlg.m_vLoadModel = m_vLoadModel;
    dlg.m_nLMEID = static_cast<int>(m_vLoadModelEnsemble.size());
    if (dlg.DoModal() != IDOK) return;
    AddLoadModelEnsemble(dlg.m_pLME);
    UpdateElementView();
    SetModifiedFlag(TRUE);
}
