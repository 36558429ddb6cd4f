// The Diagnostics log and the way out, against the clock (offscreen): one more line in a log of 500
// and of 20,000 lines, appended as the frame does it (added, the last line selected, the selection
// removed) and drawn; and File > Exit with a small case open and nothing to save, from the command
// to the end of the process (a child process runs the program and is timed from outside).
#include "app/MainFrame.h"
#include "app/QORApp.h"
#include "platform/gui/Afx.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <malloc.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

CQORApp* g_pApp = nullptr;

CMainFrame& Frame()
{
    if (!g_pApp)
    {
        g_pApp = new CQORApp();
        if (!qor::test::StartApplication(*g_pApp)) std::abort();
        g_pApp->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
        qor::test::Pump();
    }
    auto* frame = dynamic_cast<CMainFrame*>(g_pApp->m_pMainWnd);
    if (!frame) std::abort();
    return *frame;
}

// A span-rule note as a ten-truck collection writes them, one a model and bridge.
CString Note(int i)
{
    CString text;
    text.Format(L"T44 truck %d: NAASRA DLA: Bridge %d, L = %.3f m, factor = %.3f", i % 10 + 1, i, 10.0 + i * 0.01,
                1.4 - i * 1e-6);
    return text;
}

// ---- The log ----------------------------------------------------------------------------------------

// One line more, drawn: the log already holds state.range(0) lines. Each repetition adds one line, so a
// fixed number keeps the log at its size.
void BM_LogLine(benchmark::State& state)
{
    CMainFrame& frame = Frame();
    COutputList& list = frame.GetOutputWnd().GetList();
    const int lines = static_cast<int>(state.range(0));
    list.ResetContent();
    for (int i = 0; i < lines; ++i) list.AddString(CString(L"07/12/26 21:13:37| ") + Note(i));
    qor::test::Pump();
    int i = lines;
    for (auto _ : state)
    {
        frame.AddStatus(Note(i++));
        qor::test::Pump();
    }
    state.counters["lines"] = lines;
    state.counters["lines kept"] = list.GetCount();
    state.counters["kept all"] = list.GetCount() == lines + static_cast<int>(state.iterations()) ? 1 : 0;
}
BENCHMARK(BM_LogLine)->Arg(500)->Arg(20000)->Iterations(40)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- Exit -------------------------------------------------------------------------------------------

// The program as its own main starts it, with the case open; once it is idle the Exit command is posted and
// its time written to `stampFd`; the loop then ends the program as the menu's Exit does.
int RunProgramAndExit(const char* program, const char* casePath, int stampFd, int logLines)
{
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    static int argc = 2;
    static char* argv[] = {const_cast<char*>(program), const_cast<char*>(casePath), nullptr};
    qor::gui::InitApplication(&argc, argv);
    static CQORApp app;
    if (!app.InitInstance()) return 1;
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    if (!frame) return 1;
    for (int i = 0; i < logLines; ++i) frame->GetOutputWnd().GetList().AddString(Note(i));
    frame->AddStatus(Note(logLines));
    qor::test::Pump(300);
    const long long stamp =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
    if (write(stampFd, &stamp, sizeof stamp) != sizeof stamp) return 2;
    close(stampFd);
    app.m_pMainWnd->PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
    return app.Run();
}

// From the Exit command to the end of the process, over a run of the program in a child process, with an
// empty and a 20,000-line log.
void BM_ExitSmallCase(benchmark::State& state)
{
    const std::string logLines = std::to_string(state.range(0));
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("qor_bench_exit_" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    // The child's surroundings are made here: between fork and exec only the exec runs.
    std::vector<std::string> settings{"HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string(),
                                      "XDG_DATA_HOME=" + (home / "data").string(), "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e)
        if (!std::strchr("HXQ", **e) ||
            (std::strncmp(*e, "HOME=", 5) && std::strncmp(*e, "XDG_", 4) && std::strncmp(*e, "QT_QPA_PLATFORM=", 16)))
            settings.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& s : settings) envp.push_back(s.data());
    envp.push_back(nullptr);
    // The program's time from the command to its end (ms), or a negative number when it failed.
    const auto runOnce = [&] {
        int stamps[2];
        if (pipe(stamps) != 0) std::abort();
        std::string fd = std::to_string(stamps[1]);
        char* args[] = {const_cast<char*>("bench_log"),      const_cast<char*>("--run-and-exit"),
                        const_cast<char*>(QOR_BENCH_CASE),   fd.data(),
                        const_cast<char*>(logLines.c_str()), nullptr};
        const pid_t child = fork();
        if (child == 0)
        {
            close(stamps[0]);
            execve("/proc/self/exe", args, envp.data());
            _exit(127);
        }
        close(stamps[1]);
        long long stamp = 0;
        const bool stamped = read(stamps[0], &stamp, sizeof stamp) == sizeof stamp;
        close(stamps[0]);
        int status = 0;
        waitpid(child, &status, 0);
        const Clock::time_point end = Clock::now();
        if (!stamped || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
        return MsBetween(Clock::time_point(std::chrono::nanoseconds(stamp)), end);
    };
    // A first run makes the profile and the settings file, as any start but the very first finds them.
    if (runOnce() < 0) state.SkipWithError("the program did not start and end as it should");
    for (auto _ : state)
    {
        const double ms = runOnce();
        if (ms < 0)
        {
            state.SkipWithError("the program did not start and end as it should");
            break;
        }
        state.SetIterationTime(ms / 1000.0);
    }
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_ExitSmallCase)
    ->ArgName("log lines")
    ->Arg(0)
    ->Arg(20000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--run-and-exit") == 0)
        return RunProgramAndExit(argv[0], argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The windows of the log benchmark stay to the end of the process, as the program's would.
    std::fflush(stdout);
    std::_Exit(0);
}
