// Lines for the log that say why numbers of a run are zero or not numbers at all: a load model
// without loads, a load model whose length limits exclude every bridge of the run, and critical
// ratios whose reference effect is too small to divide by. The results themselves stay as they are.
//
//   for (const CString& line : CRunDiagnostics::ModelLines(models, bridges)) shell.AddStatus(line);
#pragma once

#include "platform/core/CString.h"

#include <memory>
#include <vector>

class CBridge;
class CCriticalRatioEnsemble;
class CLoadModel;

class CRunDiagnostics
{
public:
    // One line per model without loads, and one per model that applies to none of the bridges
    // (naming them, at most a few by name).
    static std::vector<CString> ModelLines(const std::vector<std::shared_ptr<CLoadModel>>& models,
                                           const std::vector<std::shared_ptr<CBridge>>& bridges);

    // For each effect whose ratio stands against a reference below the threshold while the proposed
    // effect is not (shown as "n/a"), one line for the whole run: how many bridges, the first few by name.
    static std::vector<CString> RatioLines(const std::vector<std::shared_ptr<CCriticalRatioEnsemble>>& ratios);
};
