// The real program on a desktop: a virtual X server with a window manager (openbox), as a user has one.
// QOR starts with a case file from the command line and maps one top-level window, maximised, titled
// after the case and "Kestrain QOR", that shows its content, also once the window manager activates it.
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
#include <map>
#include <sstream>
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
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof(buf), p)) > 0) out.append(buf, n);
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

// Waits up to about seconds for done() to hold.
template <class Done>
bool WaitFor(Done done, int seconds)
{
    for (int i = 0; i < seconds * 10; ++i)
    {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return done();
}

// The window ids of an xprop list ("NAME(WINDOW): window id # 0x..., 0x...").
std::vector<std::string> WindowIds(const std::string& xprop)
{
    std::vector<std::string> ids;
    const size_t hash = xprop.find('#');
    if (hash == std::string::npos) return ids;
    std::istringstream in(xprop.substr(hash + 1));
    std::string id;
    while (in >> id)
    {
        if (!id.empty() && id.back() == ',') id.pop_back();
        if (id.rfind("0x", 0) == 0) ids.push_back(id);
    }
    return ids;
}

// What a capture of a window holds: how many pixels, how many distinct colours, and the share of the
// most frequent colour. A blank window is one colour (or almost).
struct Capture
{
    size_t pixels = 0;
    size_t colours = 0;
    double commonest = 1.0;
};

Capture CaptureWindow(const std::string& display, const std::string& window)
{
    // A binary PPM: "P6 <width> <height> <max>" then three bytes a pixel.
    const std::string ppm =
        Output("DISPLAY=" + display + " import -silent -window " + window + " -depth 8 ppm:- 2>/dev/null");
    Capture c;
    std::istringstream in(ppm);
    std::string magic;
    size_t width = 0, height = 0, max = 0;
    in >> magic >> width >> height >> max;
    in.get();
    if (magic != "P6" || max != 255) return c;
    const size_t start = static_cast<size_t>(in.tellg());
    if (ppm.size() < start + width * height * 3) return c;
    std::map<unsigned, size_t> counts;
    for (size_t i = 0; i < width * height; ++i)
    {
        const auto* p = reinterpret_cast<const unsigned char*>(ppm.data() + start + i * 3);
        ++counts[(unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2]];
    }
    c.pixels = width * height;
    c.colours = counts.size();
    size_t most = 0;
    for (const auto& [colour, n] : counts) most = std::max(most, n);
    c.commonest = c.pixels ? double(most) / double(c.pixels) : 1.0;
    return c;
}

} // namespace

TEST(ProgramUnderX, ShowsOneMaximisedMainWindowWithItsContentUnderAWindowManager)
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
    const std::string x = "DISPLAY=" + display + " ";

    // The window manager, running once it has claimed the screen.
    const pid_t wm = Spawn({"openbox", "--sm-disable"}, {"DISPLAY=" + display, "HOME=" + home.string()});
    const bool managed = WaitFor(
        [&] {
            return Output(x + "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") !=
                   std::string::npos;
        },
        30);
    if (!managed)
    {
        Stop(wm);
        Stop(xvfb);
        FAIL() << "openbox did not start on " << display << " (scripts/install-deps.sh installs it)";
    }

    const pid_t qor = Spawn({program.string(), casePath.string()},
                            {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "HOME=" + home.string(),
                             "XDG_CONFIG_HOME=" + (home / "config").string(),
                             "XDG_DATA_HOME=" + (home / "data").string(), "ASAN_OPTIONS=detect_leaks=0"},
                            (home / "qor.log").string());
    auto clients = [&] { return WindowIds(Output(x + "xprop -root _NET_CLIENT_LIST 2>/dev/null")); };
    auto title = [&](const std::string& id) {
        std::string t = Output(x + "xdotool getwindowname " + id + " 2>/dev/null");
        while (!t.empty() && (t.back() == '\n' || t.back() == ' ')) t.pop_back();
        return t;
    };
    auto titled = [&] {
        for (const std::string& id : clients())
            if (title(id).find("Kestrain QOR") != std::string::npos) return id;
        return std::string();
    };
    std::string window;
    WaitFor([&] { return !(window = titled()).empty(); }, 60);
    if (window.empty()) {
        int status = 0;
        const bool ended = ::waitpid(qor, &status, WNOHANG) == qor;
        std::ifstream log(home / "qor.log");
        std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        Stop(qor);
        Stop(wm);
        Stop(xvfb);
        FAIL() << "no main window appeared on " << display << (ended ? " (the program ended)" : "") << "\n" << text;
    }
    // Whatever else the program maps comes with the main window: give it a moment, then count.
    std::this_thread::sleep_for(std::chrono::seconds(2));

    const std::vector<std::string> all = clients();
    std::string listed;
    for (const std::string& id : all) listed += id + " \"" + title(id) + "\" ";
    EXPECT_EQ(all.size(), 1u) << "top-level windows: " << listed;
    EXPECT_EQ(title(window), "river-crossing.qor - Kestrain QOR");
    const std::string state = Output(x + "xprop -id " + window + " _NET_WM_STATE");
    EXPECT_NE(state.find("_NET_WM_STATE_MAXIMIZED_HORZ"), std::string::npos) << "maximised: " << state;
    EXPECT_NE(state.find("_NET_WM_STATE_MAXIMIZED_VERT"), std::string::npos) << "maximised: " << state;

    // Activated by the window manager (a click on its task-bar entry, Alt+Tab), it shows the menu,
    // bars, panes and views, not a blank client area.
    Output(x + "xdotool windowactivate --sync " + window + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const Capture shot = CaptureWindow(display, window);
    EXPECT_GT(shot.pixels, 500u * 400u);
    EXPECT_GT(shot.colours, 8u) << "the window shows its content";
    EXPECT_LT(shot.commonest, 0.9) << "the window shows its content";

    Stop(qor);
    Stop(wm);
    Stop(xvfb);
    std::error_code ec;
    fs::remove_all(home, ec);
}
