// What a run of moving loads will take, known before it starts: its positions and its memory.
#include "engine/analysis/RunSizing.h"

#include "engine/EngineErrors.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <malloc.h>
#include <sys/resource.h>

namespace {

std::atomic<std::uint64_t> g_memoryForRuns{0};

// The address space a thread's stack takes (the system's default).
constexpr std::uint64_t kThreadStackBytes = 8u << 20;

// The value of the first line of a /proc file that reads "<key> <n> kB", in bytes; 0 when none.
std::uint64_t ProcKilobytes(const char* path, const char* key)
{
    std::FILE* f = std::fopen(path, "r");
    if (!f) return 0;
    char line[256];
    std::uint64_t kB = 0;
    const std::size_t length = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
    {
        unsigned long long v = 0;
        if (std::strncmp(line, key, length) == 0 && std::sscanf(line + length, " %llu kB", &v) == 1)
        {
            kB = v;
            break;
        }
    }
    std::fclose(f);
    return kB * 1024u;
}

// The bytes of the process's anonymous mappings without access: the allocator's reserves (and the guard
// pages of stacks).
std::uint64_t ReservedBytes()
{
    std::FILE* f = std::fopen("/proc/self/maps", "r");
    if (!f) return 0;
    char line[512];
    std::uint64_t bytes = 0;
    while (std::fgets(line, sizeof line, f))
    {
        unsigned long long from = 0;
        unsigned long long to = 0;
        unsigned long long offset = 0;
        unsigned long long inode = 0;
        unsigned major = 0;
        unsigned minor = 0;
        char permissions[8] = {};
        // Anonymous only: the gaps between the parts of a loaded library are no memory to allocate.
        if (std::sscanf(line, "%llx-%llx %7s %llx %x:%x %llu", &from, &to, permissions, &offset, &major, &minor,
                        &inode) == 7 &&
            inode == 0 && std::strcmp(permissions, "---p") == 0 && to > from)
            bytes += to - from;
        // A line longer than the buffer: the rest of it is no new mapping.
        while (!std::strchr(line, '\n') && std::fgets(line, sizeof line, f))
        {}
    }
    std::fclose(f);
    return bytes;
}

// A whole number with thousands separators, as the messages show counts ("1,000,000").
std::string Grouped(double value)
{
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.0f", std::max(value, 0.0));
    std::string text;
    const std::size_t n = std::strlen(digits);
    for (std::size_t i = 0; i < n; ++i)
    {
        if (i > 0 && (n - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

// A length in metres with six significant digits at most and no trailing zeros, never in exponent form
// ("0.0000300001", "20", "18.5").
std::string Metres(double metres)
{
    const int magnitude = metres > 0.0 ? static_cast<int>(std::floor(std::log10(metres))) : 0;
    const int decimals = std::clamp(5 - magnitude, 0, 15);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, metres);
    std::string s = text;
    if (s.find('.') != std::string::npos)
    {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

// The grid positions of a pass, as the moving-load run counts them before it starts: from one step
// before the bridge to one step beyond the model's passing.
double GridPositions(double bridgeLength, double modelLength, double step)
{
    return (bridgeLength + modelLength) / step + 2.0;
}

// The smallest step, rounded up to six significant digits, whose positions stay within the limit.
double SmallestStep(double bridgeLength, double modelLength)
{
    const double exact = (bridgeLength + modelLength) / (kMaxPositions - 2.0);
    const double unit = std::pow(10.0, std::floor(std::log10(exact)) - 5.0);
    double step = std::ceil(exact / unit) * unit;
    while (GridPositions(bridgeLength, modelLength, step) > kMaxPositions) step += unit;
    return step;
}

// The most steps of a count whose positions stay within the limit.
double MostSteps(double bridgeLength, double modelLength)
{
    double n = std::floor((kMaxPositions - 2.0) * bridgeLength / (bridgeLength + modelLength));
    while (n > 1.0 && GridPositions(bridgeLength, modelLength, bridgeLength / n) > kMaxPositions) n -= 1.0;
    return n;
}

} // namespace

CRunSizing::CRunSizing(bool bByStep, int nSteps, double stepSize, int nPoints)
    : m_bByStep(bByStep), m_nSteps(nSteps), m_StepSize(stepSize), m_nPoints(std::max(nPoints, 1))
{}

void CRunSizing::AddBridge(const std::shared_ptr<CBridge>& bridge,
                           const std::vector<std::shared_ptr<CLoadModel>>& models, int keptResults, bool bKeepPositions)
{
    const std::shared_ptr<CBeam> beam = bridge ? bridge->GetBeam() : nullptr;
    if (!beam) return; // the run refuses it itself
    const double Lb = beam->m_Length;
    const double step = m_bByStep ? m_StepSize : (m_nSteps >= 1 ? Lb / m_nSteps : 0.0);
    // A stepping the run refuses for other reasons is left to the run to name.
    const bool bStepping = step > 0.0 && std::isfinite(step) && step <= Lb;
    const double nEvents = static_cast<double>(beam->GetEventPositions().size());
    const double members = static_cast<double>(std::max<std::size_t>(beam->m_vL.size(), 1));
    const double reactions = static_cast<double>(std::max(beam->m_nRestraints, 0));
    constexpr double kEffect = sizeof(PointLoadEffect);
    // The moment and shear envelopes, maxima and minima, at every point of every member.
    const double envelopes = 4.0 * members * (m_nPoints + 3) * kEffect;
    const double kept =
        bKeepPositions ? CMovingLoadAnalysis::KeptBytesPerPosition(static_cast<int>(members), m_nPoints) : 0.0;

    ++m_nBridges;
    if (models.size() > 1) m_bSeveralModels = true;
    double mostPositions = 1.0;
    double modelsBytes = 0.0;
    for (const std::shared_ptr<CLoadModel>& given : models)
    {
        if (!given) continue;
        const SMeasure measure = Measure(*given, *bridge);
        const double L = measure.length;
        double positions = 1.0;
        if (measure.bMoving && bStepping && std::isfinite(L))
        {
            const double grid = GridPositions(Lb, L, step);
            if (grid > kMaxPositions) m_bTooMany = true;
            if (Lb + L > m_Longest.bridgeLength + m_Longest.modelLength)
                m_Longest = SPass{Lb, L, given->m_Description.ToUtf8()};
            if (m_Steepest.bridgeLength <= 0.0 || L / Lb > m_Steepest.modelLength / m_Steepest.bridgeLength)
                m_Steepest = SPass{Lb, L, given->m_Description.ToUtf8()};
            positions = std::ceil(std::min(grid, kMaxPositions)) + 2.0 * measure.edges * nEvents + 2.0;
        }
        mostPositions = std::max(mostPositions, positions);
        // A model's result: its envelopes, its place in every reaction's history, and its lines when kept.
        modelsBytes += envelopes + positions * (2.0 * reactions * kEffect + kept);
    }
    // The combined result holds the longest of the reaction histories.
    const double combined = envelopes + mostPositions * 2.0 * reactions * kEffect;
    m_KeptBytes += std::max(keptResults, 0) * combined + (bKeepPositions ? modelsBytes : 0.0);
    if (!bKeepPositions) m_LargestBridgeBytes = std::max(m_LargestBridgeBytes, modelsBytes);
}

CRunSizing::SMeasure CRunSizing::Measure(const CLoadModel& model, const CBridge& bridge)
{
    // A model without a span rule is the same on every bridge: measured once.
    const auto known = m_Measured.find(&model);
    if (known != m_Measured.end()) return known->second;
    // Measured as the run measures it: on a copy, after the span rule.
    const std::shared_ptr<CLoadModel> lm = model.Clone();
    if (lm->m_bAdjustToBridge) lm->AdjustToBridge(bridge);
    lm->Update();
    SMeasure measure;
    measure.length = lm->m_Length;
    measure.bMoving = lm->m_bIsMoving && !(lm->m_vPL.empty() && lm->m_vPUDL.empty() && !lm->m_vUDL.empty());
    measure.edges = static_cast<double>(lm->m_vPL.size() + 2 * lm->m_vPUDL.size());
    if (!model.m_bAdjustToBridge) m_Measured.emplace(&model, measure);
    return measure;
}

void CRunSizing::Check(const char* run, unsigned nThreads) const
{
    CheckPositions();
    CheckMemory(run, nThreads);
}

void CRunSizing::CheckPositions() const
{
    if (!m_bTooMany) return;
    throw std::invalid_argument(
        TooManyPositionsText(m_bByStep, m_bByStep ? m_Longest : m_Steepest, m_nBridges > 1, m_bSeveralModels));
}

double CRunSizing::GetNeededBytes(unsigned nThreads) const
{
    const double running = static_cast<double>(std::min<long long>(std::max(nThreads, 1u), m_nBridges));
    // Showing the results (tables, plots, their windows) takes up to a quarter more than the results.
    return (m_KeptBytes + running * m_LargestBridgeBytes) * 1.25;
}

void CRunSizing::CheckMemory(const char* run, unsigned nThreads) const
{
    const double needed = GetNeededBytes(nThreads);
    // The caller's thread is one of the run's.
    const double available = static_cast<double>(MemoryAvailable(nThreads > 1 ? nThreads - 1 : 0));
    if (!(available > 0.0) || needed <= available) return;
    const double availableMB = std::floor(available / 1048576.0);
    const std::string left = availableMB >= 1.0 ? "only " + Grouped(availableMB) + " MB is" : "less than 1 MB is";
    char text[600];
    std::snprintf(text, sizeof text,
                  "%s needs about %s MB of memory for the envelopes of its %s bridge%s with their windows, and %s "
                  "available. Choose a larger step (or fewer steps), fewer bridges or load models, or fewer points "
                  "along the beam.",
                  run, Grouped(std::ceil(needed / 1048576.0)).c_str(), Grouped(m_nBridges).c_str(),
                  m_nBridges == 1 ? "" : "s", left.c_str());
    throw std::invalid_argument(text);
}

std::uint64_t CRunSizing::MemoryAvailable(unsigned threadsToStart)
{
    const std::uint64_t given = g_memoryForRuns;
    if (given > 0) return given;
    // What the allocator holds free (an earlier run's memory, given back to it but not to the system)
    // is the process's to use again, beside what the system has.
    const std::uint64_t freeHeld = mallinfo2().fordblks;
    std::uint64_t available = ProcKilobytes("/proc/meminfo", "MemAvailable:");
    if (available > 0) available += freeHeld;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    {
        // Address space the allocator has reserved (each thread's arena: up to 64 MB at a time) and not
        // yet used is mapped without access: mapped, but the next allocations' to take.
        const std::uint64_t used = ProcKilobytes("/proc/self/status", "VmSize:") + threadsToStart * kThreadStackBytes;
        const std::uint64_t reusable = ReservedBytes() + freeHeld;
        const std::uint64_t left = limit.rlim_cur + reusable > used ? limit.rlim_cur + reusable - used : 1;
        available = available > 0 ? std::min(available, left) : left;
    }
    return available;
}

void CRunSizing::SetMemoryForRuns(std::uint64_t bytes) { g_memoryForRuns = bytes; }

std::string CRunSizing::TooManyPositions(bool bByStep, double bridgeLength, double modelLength,
                                         const std::string& modelName)
{
    return TooManyPositionsText(bByStep, SPass{bridgeLength, modelLength, modelName}, false, false);
}

std::string CRunSizing::TooManyPositionsText(bool bByStep, const SPass& pass, bool bBridges, bool bModels)
{
    std::string text = std::string(kStepTooSmallError) + " (a load model may take at most " + Grouped(kMaxPositions) +
                       " positions across a bridge). ";
    const std::string bridge = Metres(pass.bridgeLength) + " m";
    const std::string model = "\"" + pass.modelName + "\" (" + Metres(pass.modelLength) + " m)";
    if (bByStep)
    {
        // The smallest step is that of the longest way: the longest bridge with the longest model on it.
        text += "The smallest step that fits is " + Metres(SmallestStep(pass.bridgeLength, pass.modelLength)) + " m";
        if (bBridges)
            text += ", for the longest bridge, " + bridge + ", with the longest load model on it, " + model;
        else if (bModels)
            text += ", for the " + bridge + " bridge with the longest load model, " + model;
        else
            text += ", for the " + bridge + " bridge with the load model " + model;
    }
    else
    {
        // A count divides each bridge: the most steps are those of the longest model against its bridge.
        text += "At most " + Grouped(MostSteps(pass.bridgeLength, pass.modelLength)) + " steps fit";
        text += ", for the " + bridge + " bridge with the load model " + model;
        if (bBridges || bModels) text += ", the longest model against its bridge";
    }
    return text + ".";
}
