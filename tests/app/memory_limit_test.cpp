// The running program under an address-space limit far below what a run needs: the run is refused before it
// starts, or (when it is let start) ends with "There is not enough memory for it."; either way the case is as
// it was and the program goes on. The program runs in a child process, so that the limit and a crash stay
// there; the child reports what it found through its exit code and a pipe.
#include "app_support.h"

#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/RunSizing.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/FreeMemory.h"
#include "platform/core/MessageBox.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

std::shared_ptr<CLoadModel> Truck(int id, const wchar_t* name, double spacing)
{
    auto lm = std::make_shared<CLoadModel>(id, CString(name));
    lm->AddPointLoad(100.0, 0.0, 0.0);
    lm->AddPointLoad(100.0, -spacing, 0.0);
    return lm;
}

// The address space the process has mapped, in bytes.
std::uint64_t MappedBytes()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    unsigned long long kB = 0;
    while (f && std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmSize: %llu kB", &kB) == 1) break;
    if (f) std::fclose(f);
    return kB * 1024u;
}

class Child
{
public:
    // With bLimit false the process keeps its address space and the runs are told how little memory there
    // is instead (the sanitizers' builds, where no limit can be set): the refusals and the program going on
    // are checked, but no allocation fails.
    // The profile goes into home, which the test (not the child, which ends without cleaning up) removes.
    Child(int report, bool bLimit, std::string home) : m_report(report), m_bLimit(bLimit), m_home(std::move(home)) {}

    // Returns the exit code: 0 when everything held, 1 when something did not (said on the pipe).
    int Run()
    {
        qor::test::UseFreshProfile(m_home);
        CQORApp app;
        if (!qor::test::StartApplication(app)) return Fail("the program did not start");
        qor::SetMessageBoxHandler([this](const qor::MessageBoxCall& call) {
            m_said += call.text.ToUtf8() + "\n";
            return (call.type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
        });
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        // 1,000 two-span bridges of 20 to 200 m under three trucks by 0.02 m: some 6,000 positions a
        // bridge in each support's reaction history, about 1.7 GB.
        auto set = std::make_shared<CBridgeSet>(1, CString(L"Network"), 1000, 2, 10.0, 100.0);
        auto ensemble = std::make_shared<CLoadModelEnsemble>(1, CString(L"Trucks"));
        for (int i = 0; i < 3; ++i) ensemble->AddLoadModel(Truck(i + 1, L"Truck", 4.0 + 8.0 * i));
        auto collection = std::make_shared<CReferenceCollection>(1, CString(L"Network"), true, 0, 0.02);
        collection->m_vBS = {set};
        collection->m_vLME = {ensemble};
        doc->m_vBridgeSet = {set};
        doc->m_vLoadModel = ensemble->m_vLoadModel;
        doc->m_vLoadModelEnsemble = {ensemble};
        doc->m_vRefCollection = {collection};
        doc->m_nRefCollectionID = 1;

        rlimit saved{};
        getrlimit(RLIMIT_AS, &saved);
        rlimit small = saved;
        small.rlim_cur = MappedBytes() + (400u << 20);
        if (!m_bLimit)
            CRunSizing::SetMemoryForRuns(400u << 20);
        else if (setrlimit(RLIMIT_AS, &small) != 0)
            return Fail("the limit could not be set");
        else
            qor::FitAllocatorToAddressLimit(); // as the program does when it starts under a limit

        // Refused before it starts, saying what does not fit.
        Launch(doc, [&] { doc->StartRefCollection(collection); });
        Expect(m_said.find("The reference collection needs about ") != std::string::npos, "no refusal");
        Expect(m_said.find("envelopes of its 1,000 bridges") != std::string::npos, "the refusal names no bridges");
        Unchanged(*collection);
        doc->m_bMLByStep = true;
        doc->m_MLStepSize = 0.02;
        Launch(doc, [&] { doc->StartBridgeRange(set, ensemble->m_vLoadModel.back()); });
        Expect(m_said.find("The bridge range needs about ") != std::string::npos, "the bridge range not refused");

        if (m_bLimit)
        {
            // Let start as though the memory were there, it meets the limit: the run ends with the message,
            // its results dropped, the case as it was.
            CRunSizing::SetMemoryForRuns(std::uint64_t{1} << 40);
            Launch(doc, [&] { doc->StartRefCollection(collection); });
            Expect(m_said.find("There is not enough memory for it.") != std::string::npos, "no message of memory");
            Unchanged(*collection);
            CRunSizing::SetMemoryForRuns(0);
        }

        // The program goes on: under the limit, a run that fits is made.
        collection->m_StepSize = 2.0;
        Launch(doc, [&] { doc->StartRefCollection(collection); });
        Expect(collection->m_bIsCalculated && collection->m_nRefSets == 1, "a run that fits was not made");
        if (m_bLimit) setrlimit(RLIMIT_AS, &saved);
        CRunSizing::SetMemoryForRuns(0);
        qor::test::StopApplication(app);
        CAnalysisJobs::WaitForWorkers();
        return m_failures.empty() ? 0 : Fail(m_failures);
    }

private:
    void Launch(CQORDoc* doc, const std::function<void()>& start)
    {
        m_said.clear();
        // Started as a command is: what the start throws is said as the command's failure.
        doc->RunCommand(start);
        qor::test::PumpUntil([&] { return !doc->m_bBusyRefValues && !doc->m_bBusyBridgeRange && !m_said.empty(); },
                             300000);
        qor::test::Pump(50);
    }
    void Unchanged(const CReferenceCollection& collection)
    {
        Expect(!collection.m_bIsCalculated && collection.GetRefSets().empty() && collection.m_StepSize == 0.02,
               "the collection changed");
    }
    void Expect(bool held, const char* what)
    {
        if (!held) m_failures += std::string(what) + " (said: " + m_said + ")\n";
    }
    int Fail(const std::string& why)
    {
        (void)!write(m_report, why.data(), why.size());
        return 1;
    }

    int m_report;
    bool m_bLimit;
    std::string m_home;
    std::string m_said;
    std::string m_failures;
};

// Runs the program in a child process with or without the limit; fails when the child says so or is ended
// by a signal (an abort, a fault: the program ended by the run).
void RunChild(bool bLimit)
{
    // Named here, so that the test program's temporary folder is this process's and goes when it ends.
    const std::string home = qor::test::TempFilePath("home");
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0)
    {
        close(pipeFds[0]);
        const int code = Child(pipeFds[1], bLimit, home).Run();
        _exit(code);
    }
    close(pipeFds[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, buffer + n);
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "the program was ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << report;
}

TEST(MemoryLimit, ARunBeyondTheLimitIsRefusedOrEndsWithAMessageAndTheProgramGoesOn)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers reserve terabytes of address space at start, so no address-space limit can be "
                    "set under them: this test runs in the builds without sanitizers (the next one runs in all)";
#endif
    RunChild(true);
}

TEST(MemoryLimit, ARunBeyondTheMemoryAvailableIsRefusedAndTheProgramGoesOn) { RunChild(false); }

} // namespace
