// Asks a running analysis to stop.
#include "engine/runs/RunControl.h"

#include <atomic>

namespace {
thread_local CRunControl* t_pControl = nullptr;
std::atomic<unsigned> g_nLastGeneration{0};
} // namespace

CRunControl::CRunControl() : m_nGeneration(++g_nLastGeneration) {}

unsigned CRunControl::CurrentGeneration() { return t_pControl ? t_pControl->Generation() : 0; }

CRunControl::Scope::Scope(CRunControl* pControl) : m_pPrevious(t_pControl) { t_pControl = pControl; }

CRunControl::Scope::~Scope() { t_pControl = m_pPrevious; }

CRunControl* CRunControl::Current() { return t_pControl; }

bool CRunControl::CurrentStopped() { return t_pControl && t_pControl->IsStopped(); }

void CRunControl::CheckStop()
{
    if (CurrentStopped()) throw Stopped();
}
