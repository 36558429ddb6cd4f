// The one place where what the engine throws is caught and put into words. Every command of a
// case, every worker and every pass over a case file runs its engine work through Run; nothing
// the engine throws may end the program.
//
//     CString reason;
//     if (!CEngineGuard::Run([&] { set = std::make_shared<CBridgeSet>(...); }, reason))
//         ...; // reason says what went wrong, in the user's words
#pragma once

#include "platform/core/CString.h"

#include <functional>

class CEngineGuard
{
public:
    // Runs the work and catches whatever it throws: the engine's constant texts, case-file and
    // archive errors, running out of memory, other standard exceptions, anything else. False,
    // with the reason, when it threw. Either thread. A run asked to stop (CRunControl::Stopped)
    // is no error and passes through.
    static bool Run(const std::function<void()>& work, CString& reason);
};
