// The real program under a virtual X server: it starts with a case file from the command line and shows
// its maximised main window titled after the case and "Kestrain QOR".
#include "engine/model/Bridge.h"
#include "engine/model/CaseFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Starts a program with extra environment entries; its process id.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& log = "")
{
    pid_t pid = ::fork();
    if (pid != 0) return pid;
    for (const auto& e : env) ::putenv(const_cast<char*>(e.c_str()));
    int null = ::open("/dev/null", O_RDWR);
    int out = log.empty() ? null : ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

std::string Output(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof(buf), p)) out += buf;
        ::pclose(p);
    }
    return out;
}

void Stop(pid_t pid)
{
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

TEST(ProgramUnderX, StartsMaximisedWithTheCaseFromTheCommandLine)
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path program = self.parent_path().parent_path() / "app" / "qor";
    ASSERT_TRUE(fs::exists(program)) << program;

    const fs::path home = fs::temp_directory_path() / ("qor-under-x-" + std::to_string(::getpid()));
    fs::create_directories(home);
    const fs::path casePath = home / "river-crossing.qor";
    {
        CCaseData data;
        data.m_vBridge.push_back(std::make_shared<CBridge>(1, L"Span 1", 1, 20.0));
        data.m_sCaseRef = L"River crossing";
        std::ofstream out(casePath, std::ios::binary);
        SaveCase(out, data, true);
    }

    // A display of its own: the server writes the number it took.
    int pipeFd[2];
    ASSERT_EQ(::pipe(pipeFd), 0);
    const pid_t xvfb = Spawn({"Xvfb", "-displayfd", std::to_string(pipeFd[1]), "-screen", "0", "1024x768x24",
                              "-nolisten", "tcp"},
                             {});
    ::close(pipeFd[1]);
    std::string number;
    char c;
    while (::read(pipeFd[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(pipeFd[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start (scripts/install-deps.sh installs it)";
    const std::string display = ":" + number;

    const pid_t qor = Spawn({program.string(), casePath.string()},
                            {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "HOME=" + home.string(),
                             "XDG_CONFIG_HOME=" + (home / "config").string(),
                             "XDG_DATA_HOME=" + (home / "data").string(), "ASAN_OPTIONS=detect_leaks=0"},
                            (home / "qor.log").string());
    std::string window;
    for (int i = 0; i < 600 && window.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        window = Output("DISPLAY=" + display + " xdotool search --onlyvisible --name 'Kestrain QOR' 2>/dev/null | head -1");
    }
    if (window.empty()) {
        int status = 0;
        const bool ended = ::waitpid(qor, &status, WNOHANG) == qor;
        std::ifstream log(home / "qor.log");
        std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        Stop(qor);
        Stop(xvfb);
        FAIL() << "no main window appeared on " << display << (ended ? " (the program ended)" : "") << "\n" << text;
    }
    while (!window.empty() && (window.back() == '\n' || window.back() == ' ')) window.pop_back();
    const std::string title = Output("DISPLAY=" + display + " xdotool getwindowname " + window);
    EXPECT_NE(title.find("river-crossing"), std::string::npos) << title;
    EXPECT_NE(title.find("Kestrain QOR"), std::string::npos) << title;
    const std::string geometry = Output("DISPLAY=" + display + " xdotool getwindowgeometry " + window);
    EXPECT_NE(geometry.find("1024x768"), std::string::npos) << "maximised: " << geometry;

    Stop(qor);
    Stop(xvfb);
    std::error_code ec;
    fs::remove_all(home, ec);
}
