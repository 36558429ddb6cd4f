// The real program on a desktop: a virtual X server with a window manager (openbox), as a user has one.
// QOR starts with a case file from the command line and maps one top-level window, maximised, titled
// after the case and "Kestrain QOR", that shows its content, also once the window manager activates it.
// Its menus answer the keyboard as the desktop's keys send them.
#include "engine/case/CaseFile.h"
#include "engine/model/Bridge.h"

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
    if (FILE* p = ::popen(command.c_str(), "r"))
    {
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
    for (int i = 0; i < 50; ++i)
    {
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

// A window's pixels as 0xRRGGBB, row by row (empty when it cannot be read).
std::vector<unsigned> WindowPixels(const std::string& display, const std::string& window)
{
    // A binary PPM: "P6 <width> <height> <max>" then three bytes a pixel.
    const std::string ppm =
        Output("DISPLAY=" + display + " import -silent -window " + window + " -depth 8 ppm:- 2>/dev/null");
    std::istringstream in(ppm);
    std::string magic;
    size_t width = 0, height = 0, max = 0;
    in >> magic >> width >> height >> max;
    in.get();
    std::vector<unsigned> pixels;
    if (magic != "P6" || max != 255) return pixels;
    const size_t start = static_cast<size_t>(in.tellg());
    if (ppm.size() < start + width * height * 3) return pixels;
    pixels.reserve(width * height);
    for (size_t i = 0; i < width * height; ++i)
    {
        const auto* p = reinterpret_cast<const unsigned char*>(ppm.data() + start + i * 3);
        pixels.push_back((unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2]);
    }
    return pixels;
}

Capture CaptureWindow(const std::string& display, const std::string& window)
{
    const std::vector<unsigned> pixels = WindowPixels(display, window);
    Capture c;
    if (pixels.empty()) return c;
    std::map<unsigned, size_t> counts;
    for (unsigned colour : pixels) ++counts[colour];
    c.pixels = pixels.size();
    c.colours = counts.size();
    size_t most = 0;
    for (const auto& [colour, n] : counts) most = std::max(most, n);
    c.commonest = c.pixels ? double(most) / double(c.pixels) : 1.0;
    return c;
}

// A display of its own with openbox, and the program started on it with a case file.
class ProgramUnderX : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path self = fs::read_symlink("/proc/self/exe");
        m_program = self.parent_path().parent_path() / "app" / "qor";
        ASSERT_TRUE(fs::exists(m_program)) << m_program;

        m_home = fs::temp_directory_path() / ("qor-under-x-" + std::to_string(::getpid()));
        fs::create_directories(m_home);
        m_case = m_home / "river-crossing.qor";
        {
            CCaseData data;
            data.m_vBridge.push_back(std::make_shared<CBridge>(1, L"Span 1", 1, 20.0));
            data.m_sCaseRef = L"River crossing";
            std::ofstream out(m_case, std::ios::binary);
            SaveCase(out, data, true);
        }

        // The server writes the number it took.
        int pipeFd[2];
        ASSERT_EQ(::pipe(pipeFd), 0);
        m_xvfb = Spawn(
            {"Xvfb", "-displayfd", std::to_string(pipeFd[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {});
        ::close(pipeFd[1]);
        std::string number;
        char c;
        while (::read(pipeFd[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(pipeFd[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start (scripts/install-deps.sh installs it)";
        m_display = ":" + number;
        m_x = "DISPLAY=" + m_display + " ";

        // The window manager, running once it has claimed the screen.
        m_wm = Spawn({"openbox", "--sm-disable"}, {"DISPLAY=" + m_display, "HOME=" + m_home.string()});
        ASSERT_TRUE(WaitFor(
            [&] {
                return Output(m_x + "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") !=
                       std::string::npos;
            },
            30))
            << "openbox did not start on " << m_display << " (scripts/install-deps.sh installs it)";
    }

    void TearDown() override
    {
        Stop(m_qor);
        Stop(m_wm);
        Stop(m_xvfb);
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }

    // Starts the program with the case; the id of its main window once it is mapped (empty: none came).
    std::string StartProgram()
    {
        m_qor = Spawn({m_program.string(), m_case.string()},
                      {"DISPLAY=" + m_display, "QT_QPA_PLATFORM=xcb", "HOME=" + m_home.string(),
                       "XDG_CONFIG_HOME=" + (m_home / "config").string(), "XDG_DATA_HOME=" + (m_home / "data").string(),
                       "ASAN_OPTIONS=detect_leaks=0"},
                      (m_home / "qor.log").string());
        std::string window;
        WaitFor([&] { return !(window = Titled("Kestrain QOR")).empty(); }, 60);
        if (window.empty())
        {
            int status = 0;
            const bool ended = ::waitpid(m_qor, &status, WNOHANG) == m_qor;
            if (ended) m_qor = 0;
            std::ifstream log(m_home / "qor.log");
            std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
            ADD_FAILURE() << "no main window appeared on " << m_display << (ended ? " (the program ended)" : "") << "\n"
                          << text;
        }
        return window;
    }

    std::vector<std::string> Clients() { return WindowIds(Output(m_x + "xprop -root _NET_CLIENT_LIST 2>/dev/null")); }

    std::string Title(const std::string& id)
    {
        std::string t = Output(m_x + "xdotool getwindowname " + id + " 2>/dev/null");
        while (!t.empty() && (t.back() == '\n' || t.back() == ' ')) t.pop_back();
        return t;
    }

    // The managed window whose title holds text (empty: none).
    std::string Titled(const std::string& text)
    {
        for (const std::string& id : Clients())
            if (Title(id).find(text) != std::string::npos) return id;
        return std::string();
    }

    // Keys as the keyboard sends them to the active window ("alt+h", "Escape", "F10"), one after another.
    void Keys(const std::vector<std::string>& keys)
    {
        for (const std::string& key : keys)
        {
            Output(m_x + "xdotool key " + key + " 2>/dev/null");
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        }
    }

    fs::path m_program, m_home, m_case;
    std::string m_display, m_x;
    pid_t m_xvfb = 0, m_wm = 0, m_qor = 0;
};

} // namespace

TEST_F(ProgramUnderX, ShowsOneMaximisedMainWindowWithItsContentUnderAWindowManager)
{
    const std::string window = StartProgram();
    ASSERT_FALSE(window.empty());
    // Whatever else the program maps comes with the main window: give it a moment, then count.
    std::this_thread::sleep_for(std::chrono::seconds(2));

    const std::vector<std::string> all = Clients();
    std::string listed;
    for (const std::string& id : all) listed += id + " \"" + Title(id) + "\" ";
    EXPECT_EQ(all.size(), 1u) << "top-level windows: " << listed;
    EXPECT_EQ(Title(window), "river-crossing.qor - Kestrain QOR");
    const std::string state = Output(m_x + "xprop -id " + window + " _NET_WM_STATE");
    EXPECT_NE(state.find("_NET_WM_STATE_MAXIMIZED_HORZ"), std::string::npos) << "maximised: " << state;
    EXPECT_NE(state.find("_NET_WM_STATE_MAXIMIZED_VERT"), std::string::npos) << "maximised: " << state;

    // Activated by the window manager (a click on its task-bar entry, Alt+Tab), it shows the menu,
    // bars, panes and views, not a blank client area.
    Output(m_x + "xdotool windowactivate --sync " + window + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const Capture shot = CaptureWindow(m_display, window);
    EXPECT_GT(shot.pixels, 500u * 400u);
    EXPECT_GT(shot.colours, 8u) << "the window shows its content";
    EXPECT_LT(shot.commonest, 0.9) << "the window shows its content";
}

TEST_F(ProgramUnderX, MenusOpenByKeysWithTheirFirstItemHighlightedEveryTime)
{
    const std::string window = StartProgram();
    ASSERT_FALSE(window.empty());
    Output(m_x + "xdotool windowactivate --sync " + window + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::seconds(1));

    // Help holds PDF Help, a separator and About: Down from the first item highlighted is About.
    auto about = [&] { return Titled("About QOR"); };
    Keys({"alt+h", "Down", "Return"});
    ASSERT_TRUE(WaitFor([&] { return !about().empty(); }, 10)) << "the first Alt+H of the run";
    Keys({"Escape"});
    ASSERT_TRUE(WaitFor([&] { return about().empty(); }, 10));
    // Again after the menu was closed by Escape (the bar keeps the keyboard, a second Escape leaves it).
    Keys({"alt+h", "Escape", "alt+h", "Down", "Return"});
    ASSERT_TRUE(WaitFor([&] { return !about().empty(); }, 10)) << "Alt+H after Escape";
    Keys({"Escape"});
    ASSERT_TRUE(WaitFor([&] { return about().empty(); }, 10));
    Keys({"alt+h", "Escape", "Escape", "alt+h", "Down", "Return"});
    ASSERT_TRUE(WaitFor([&] { return !about().empty(); }, 10)) << "Alt+H after leaving the bar";
    Keys({"Escape"});
    ASSERT_TRUE(WaitFor([&] { return about().empty(); }, 10));

    // F10 gives the bar the keyboard, and shows it: the first title is drawn as chosen (the window's
    // pixels change where nothing else moves). Down opens File at its first item, Enter runs File > New,
    // whose new case takes the window's title.
    const std::vector<unsigned> before = WindowPixels(m_display, window);
    Keys({"F10"});
    const std::vector<unsigned> after = WindowPixels(m_display, window);
    ASSERT_EQ(before.size(), after.size());
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    EXPECT_GT(changed, 50u) << "F10 shows the bar's first title as chosen";
    Keys({"Down", "Return"});
    EXPECT_TRUE(WaitFor([&] { return Title(window).find("QOR_config") != std::string::npos; }, 10))
        << "F10, Down, Enter: " << Title(window);
}
