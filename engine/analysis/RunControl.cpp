#include "engine/analysis/RunControl.h"

namespace {
thread_local CRunControl* t_pControl = nullptr;
}

CRunControl::Scope::Scope(CRunControl* pControl) : m_pPrevious(t_pControl) { t_pControl = pControl; }

CRunControl::Scope::~Scope() { t_pControl = m_pPrevious; }

CRunControl* CRunControl::Current() { return t_pControl; }

bool CRunControl::CurrentStopped() { return t_pControl && t_pControl->IsStopped(); }

void CRunControl::CheckStop()
{
    if (CurrentStopped()) throw Stopped();
}
