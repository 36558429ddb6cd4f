// The real program on a desktop: a virtual X server with a window manager (openbox), as a user has one.
// QOR starts with a case file from the command line and maps one top-level window, maximised, titled
// after the case and "Kestrain QOR", that shows its content, also once the window manager activates it.
// Its menus answer the keyboard as the desktop's keys send them. Started many times, each time on a new
// server with a new home, its main window is on the screen every time, also when the window manager is
// still starting as the program asks for its window, and under a manager that keeps a window it has let go
// Withdrawn and shows it only when asked again.
#include "engine/case/CaseFile.h"
#include "engine/model/Bridge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
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

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The starts run on threads of their own, each with its own connection: Xlib is told before its first use.
const bool g_xThreads = XInitThreads() != 0;

// Starts a program with extra environment entries, its output into log (or nowhere) and the
// descriptor passFd (if any) as its descriptor 3; its process id (0: it could not be started). Safe
// while other threads start programs too: nothing runs between the fork and the program.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& log = "",
            int passFd = -1)
{
    std::vector<std::string> entries = env;
    for (char** e = environ; *e; ++e)
    {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& mine : env) replaced = replaced || mine.rfind(name, 0) == 0;
        if (!replaced) entries.push_back(entry);
    }
    std::vector<char*> envp, argv;
    for (std::string& e : entries) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = args;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.empty() ? "/dev/null" : log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (passFd >= 0) posix_spawn_file_actions_adddup2(&actions, passFd, 3);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
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
    ::kill(pid, SIGCONT); // a program held stopped takes its end too
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

// The errors of the test's own connection: a window the test manages may be gone by the time it is handled.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

// A desktop of its own: a virtual X server, a connection of the test to it (which also keeps the server
// from resetting between clients), openbox with a home of its own, and the program on it. Every wait is
// for a state of the server, woken by its events, up to a limit.
class Desktop
{
public:
    explicit Desktop(fs::path home) : m_home(std::move(home)) { fs::create_directories(m_home / "wm"); }
    ~Desktop() { End(); }

    // A server of its own (it writes the number it took); empty, or what went wrong.
    std::string StartServer()
    {
        int pipeFd[2];
        if (::pipe2(pipeFd, O_CLOEXEC) != 0) return "no pipe";
        // Clients reach it through its abstract local socket only: a socket file would be made in /tmp/.X11-unix,
        // a folder the server makes where there is none and leaves behind.
        m_xvfb = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-nolisten",
                        "unix", "-noreset"},
                       {}, "", pipeFd[1]);
        ::close(pipeFd[1]);
        std::string number;
        pollfd p{pipeFd[0], POLLIN, 0};
        char c = 0;
        while (::poll(&p, 1, 60000) == 1 && ::read(pipeFd[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(pipeFd[0]);
        if (number.empty()) return "Xvfb did not start (scripts/install-deps.sh installs it)";
        m_display = ":" + number;
        m_x = XOpenDisplay(m_display.c_str());
        if (!m_x) return "no connection to " + m_display;
        m_root = DefaultRootWindow(m_x);
        XSelectInput(m_x, m_root, PropertyChangeMask | SubstructureNotifyMask);
        m_check = XInternAtom(m_x, "_NET_SUPPORTING_WM_CHECK", False);
        m_clientList = XInternAtom(m_x, "_NET_CLIENT_LIST", False);
        m_netName = XInternAtom(m_x, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(m_x, "UTF8_STRING", False);
        m_wmState = XInternAtom(m_x, "WM_STATE", False);
        XSync(m_x, False);
        return std::string();
    }

    // Openbox, up once it has claimed the screen (its check window on the root), however long that takes
    // within the limit. Held: stopped the moment it has claimed the screen, in the middle of its start,
    // until Release.
    std::string StartWindowManager(bool held, int seconds = 60)
    {
        m_wm = Spawn({"openbox", "--sm-disable"}, {"DISPLAY=" + m_display, "HOME=" + (m_home / "wm").string()},
                     (m_home / "openbox.log").string());
        const bool up = WaitForState(
            [&] {
                if (!HasProperty(m_root, m_check)) return ::waitpid(m_wm, nullptr, WNOHANG) == m_wm;
                if (held) ::kill(m_wm, SIGSTOP);
                return true;
            },
            seconds);
        if (!up || !HasProperty(m_root, m_check))
            return "openbox did not start on " + m_display + " (scripts/install-deps.sh installs it)";
        return std::string();
    }
    void Release() { ::kill(m_wm, SIGCONT); }

    // The test itself as the window manager, in place of openbox: one that answers a request to show a
    // window only when asked again (the first request after the window was made or let go is lost, as by a
    // manager busy elsewhere), and that keeps WM_STATE on a window it has not shown or has let go, at
    // Withdrawn (the convention allows either that or no WM_STATE). It manages in WaitForState.
    std::string ManageItself()
    {
        m_errors = XSetErrorHandler(IgnoreError);
        XSelectInput(m_x, m_root, PropertyChangeMask | SubstructureNotifyMask | SubstructureRedirectMask);
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_x, m_root, &a) || !(a.your_event_mask & SubstructureRedirectMask))
            return "the test could not manage the windows of " + m_display;
        m_manager = true;
        return std::string();
    }
    int Lost() const { return m_lost; }

    // The program with the arguments given, its folders in the home.
    void StartProgram(const fs::path& program, const std::vector<std::string>& args = {})
    {
        std::vector<std::string> argv{program.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        m_qor = Spawn(argv,
                      {"DISPLAY=" + m_display, "QT_QPA_PLATFORM=xcb", "HOME=" + m_home.string(),
                       "XDG_CONFIG_HOME=" + (m_home / "config").string(), "XDG_DATA_HOME=" + (m_home / "data").string(),
                       "ASAN_OPTIONS=detect_leaks=0"},
                      (m_home / "qor.log").string());
    }

    // Waits until done() holds, checking it at every event of the server and otherwise a few times a second.
    template <class Done>
    bool WaitForState(Done done, int seconds)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done())
        {
            if (std::chrono::steady_clock::now() > limit) return false;
            pollfd p{ConnectionNumber(m_x), POLLIN, 0};
            if (XPending(m_x) == 0) ::poll(&p, 1, 100);
            while (XPending(m_x) > 0)
            {
                XEvent e;
                XNextEvent(m_x, &e);
                if (m_manager) Manage(e);
            }
        }
        return true;
    }

    // A top-level window whose title holds text: among the window manager's clients when managed, else
    // anywhere on the screen (0: none).
    Window Titled(const std::string& text, bool managed)
    {
        for (Window w : managed ? Clients() : TopLevels())
            if (Title(w).find(text) != std::string::npos) return w;
        return 0;
    }
    bool Viewable(Window w)
    {
        XWindowAttributes a;
        return XGetWindowAttributes(m_x, w, &a) && a.map_state == IsViewable;
    }
    // The state WM_STATE gives a window (-1: none).
    long State(Window w)
    {
        Atom type = None;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        long state = -1;
        if (XGetWindowProperty(m_x, w, m_wmState, 0, 2, False, m_wmState, &type, &format, &n, &after, &data) ==
                Success &&
            data && format == 32 && n >= 1)
            state = reinterpret_cast<const long*>(data)[0];
        if (data) XFree(data);
        return state;
    }
    bool HasProperty(Window w, Atom property)
    {
        Atom type = None;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        const bool has = XGetWindowProperty(m_x, w, property, 0, 1, False, AnyPropertyType, &type, &format, &n, &after,
                                            &data) == Success &&
                         type != None;
        if (data) XFree(data);
        return has;
    }

    // What the screen shows of the program's main window, in words (for a failure).
    std::string Describe()
    {
        std::ostringstream out;
        const Window w = Titled("Kestrain QOR", false);
        out << "on " << m_display << ": ";
        if (!w)
            out << "no window titled Kestrain QOR";
        else
            out << "\"" << Title(w) << "\" " << (Viewable(w) ? "viewable" : "not viewable") << ", "
                << "WM_STATE " << State(w);
        out << "; " << Clients().size() << " managed windows";
        if (m_qor && ::waitpid(m_qor, nullptr, WNOHANG) == m_qor)
        {
            out << "; the program ended";
            m_qor = 0;
        }
        std::ifstream log(m_home / "qor.log");
        out << "\n" << std::string((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        return out.str();
    }

    void End()
    {
        Stop(m_qor);
        Stop(m_wm);
        if (m_x) XCloseDisplay(m_x);
        if (m_manager) XSetErrorHandler(m_errors);
        m_manager = false;
        Stop(m_xvfb);
        m_qor = m_wm = m_xvfb = 0;
        m_x = nullptr;
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }

    const std::string& DisplayName() const { return m_display; }
    pid_t Program() const { return m_qor; }

private:
    // One event as the test's window manager handles it.
    void Manage(const XEvent& e)
    {
        if (e.type == MapRequest)
        {
            const Window w = e.xmaprequest.window;
            if (m_asked.insert(w).second)
            {
                ++m_lost;
                SetState(w, WithdrawnState);
                return;
            }
            m_asked.erase(w);
            m_mapped.insert(w);
            SetState(w, NormalState);
            XMapWindow(m_x, w);
        }
        else if (e.type == ConfigureRequest)
        {
            const XConfigureRequestEvent& r = e.xconfigurerequest;
            XWindowChanges c{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
            XConfigureWindow(m_x, r.window, static_cast<unsigned>(r.value_mask), &c);
        }
        else if (e.type == UnmapNotify && m_mapped.erase(e.xunmap.window))
            SetState(e.xunmap.window, WithdrawnState);
        else if (e.type == DestroyNotify)
        {
            m_asked.erase(e.xdestroywindow.window);
            m_mapped.erase(e.xdestroywindow.window);
        }
    }
    void SetState(Window w, long state)
    {
        const long data[2] = {state, None};
        XChangeProperty(m_x, w, m_wmState, m_wmState, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(data),
                        2);
    }

    std::vector<Window> Clients()
    {
        std::vector<Window> windows;
        Atom type = None;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(m_x, m_root, m_clientList, 0, 1024, False, XA_WINDOW, &type, &format, &n, &after,
                               &data) == Success &&
            data && format == 32)
        {
            const auto* ids = reinterpret_cast<const unsigned long*>(data);
            windows.assign(ids, ids + n);
        }
        if (data) XFree(data);
        return windows;
    }
    // The program's windows: children of the root, or of the frames the window manager put them in.
    std::vector<Window> TopLevels()
    {
        std::vector<Window> windows;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(m_x, m_root, &root, &parent, &children, &n)) return windows;
        for (unsigned i = 0; i < n; ++i)
        {
            windows.push_back(children[i]);
            Window r = 0, p = 0, *inner = nullptr;
            unsigned m = 0;
            if (XQueryTree(m_x, children[i], &r, &p, &inner, &m))
            {
                windows.insert(windows.end(), inner, inner + m);
                if (inner) XFree(inner);
            }
        }
        if (children) XFree(children);
        return windows;
    }
    std::string Title(Window w)
    {
        Atom type = None;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(m_x, w, m_netName, 0, 1024, False, m_utf8, &type, &format, &n, &after, &data) ==
                Success &&
            data && format == 8)
            title.assign(reinterpret_cast<const char*>(data), n);
        if (data) XFree(data);
        return title;
    }

    fs::path m_home;
    std::string m_display;
    pid_t m_xvfb = 0, m_wm = 0, m_qor = 0;
    Display* m_x = nullptr;
    Window m_root = 0;
    Atom m_check = None, m_clientList = None, m_netName = None, m_utf8 = None, m_wmState = None;
    bool m_manager = false;
    int (*m_errors)(Display*, XErrorEvent*) = nullptr;
    std::set<Window> m_asked, m_mapped; // asked for once since made or let go; shown by the test's manager
    int m_lost = 0;
};

fs::path Program() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" / "qor"; }

// A display of its own with openbox, and the program started on it with a case file.
class ProgramUnderX : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_program = Program();
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

        // A server of its own and the window manager, up however long that takes within the limit.
        m_desktop = std::make_unique<Desktop>(m_home);
        const std::string server = m_desktop->StartServer();
        ASSERT_TRUE(server.empty()) << server;
        m_display = m_desktop->DisplayName();
        m_x = "DISPLAY=" + m_display + " ";
        const std::string wm = m_desktop->StartWindowManager(false);
        ASSERT_TRUE(wm.empty()) << wm;
    }

    void TearDown() override { m_desktop.reset(); }

    // Starts the program with the case; the id of its main window once it is managed and on the screen
    // (empty: none came).
    std::string StartProgram()
    {
        m_desktop->StartProgram(m_program, {m_case.string()});
        Window window = 0;
        if (!m_desktop->WaitForState(
                [&] {
                    window = m_desktop->Titled("Kestrain QOR", true);
                    return window && m_desktop->Viewable(window);
                },
                60))
        {
            ADD_FAILURE() << "no main window appeared " << m_desktop->Describe();
            return std::string();
        }
        std::ostringstream id;
        id << "0x" << std::hex << window;
        return id.str();
    }

    // Waits until the window shows the menu, bars, panes and views, not a blank client area.
    bool ShowsContent(const std::string& window)
    {
        return WaitFor(
            [&] {
                const Capture shot = CaptureWindow(m_display, window);
                return shot.pixels > 500u * 400u && shot.colours > 8u && shot.commonest < 0.9;
            },
            30);
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
    std::unique_ptr<Desktop> m_desktop;
};

} // namespace

TEST_F(ProgramUnderX, ShowsOneMaximisedMainWindowWithItsContentUnderAWindowManager)
{
    const std::string window = StartProgram();
    ASSERT_FALSE(window.empty());
    // Whatever else the program maps at its start comes before the main window shows its content.
    ASSERT_TRUE(ShowsContent(window));

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
    EXPECT_TRUE(ShowsContent(window));
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
    ASSERT_TRUE(ShowsContent(window));

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
    size_t changed = 0;
    EXPECT_TRUE(WaitFor(
        [&] {
            const std::vector<unsigned> after = WindowPixels(m_display, window);
            changed = 0;
            for (size_t i = 0; i < std::min(before.size(), after.size()); ++i) changed += before[i] != after[i];
            return before.size() == after.size() && changed > 50u;
        },
        10))
        << "F10 shows the bar's first title as chosen (" << changed << " pixels changed)";
    Keys({"Down", "Return"});
    EXPECT_TRUE(WaitFor([&] { return Title(window).find("QOR_config") != std::string::npos; }, 10))
        << "F10, Down, Enter: " << Title(window);
}

// The program started many times as a user starts it, each time on a new server with openbox and a new
// home: every time its main window comes on the screen, managed by the window manager and viewable. Half
// of the starts hold the window manager in the middle of its own start (stopped the moment it has claimed
// the screen, let go once the program has made its window): the program's request for its window reaches
// a manager that is still starting, as on a loaded machine or in a session that starts both together.
TEST(ProgramUnderXStarts, ShowsItsMainWindowManagedAtEveryStartAlsoWhileTheWindowManagerStarts)
{
    const fs::path program = Program();
    ASSERT_TRUE(fs::exists(program)) << program;
    ASSERT_TRUE(g_xThreads);

    constexpr int kStarts = 24;
    constexpr int kAtOnce = 4;
    constexpr int kShowLimit = 30; // seconds from the start (or from letting the manager go) to the window shown
    std::vector<std::string> failures(kStarts);
    std::atomic<int> next{0};
    auto work = [&] {
        for (int k = next++; k < kStarts; k = next++)
        {
            const bool held = k % 2 == 1;
            Desktop desktop(fs::temp_directory_path() /
                            ("qor-starts-" + std::to_string(::getpid()) + "-" + std::to_string(k)));
            std::string& failure = failures[static_cast<size_t>(k)];
            failure = desktop.StartServer();
            if (failure.empty()) failure = desktop.StartWindowManager(held);
            if (!failure.empty()) continue;
            desktop.StartProgram(program);
            if (held)
            {
                // Let go once the program has made its main window (it asks for it to be shown then).
                if (!desktop.WaitForState([&] { return desktop.Titled("Kestrain QOR", false) != 0; }, 120))
                    failure = "the program made no main window " + desktop.Describe();
                desktop.Release();
                if (!failure.empty()) continue;
            }
            const bool shown = desktop.WaitForState(
                [&] {
                    const Window w = desktop.Titled("Kestrain QOR", true);
                    return w && desktop.Viewable(w);
                },
                kShowLimit);
            if (!shown)
                failure = std::string(held ? "(manager held while starting) " : "") +
                          "the main window was not shown, managed, within " + std::to_string(kShowLimit) + " s " +
                          desktop.Describe();
        }
    };
    std::vector<std::thread> workers;
    for (int i = 0; i < kAtOnce; ++i) workers.emplace_back(work);
    for (std::thread& t : workers) t.join();

    int shown = 0;
    for (int k = 0; k < kStarts; ++k)
    {
        if (failures[static_cast<size_t>(k)].empty())
            ++shown;
        else
            ADD_FAILURE() << "start " << k + 1 << ": " << failures[static_cast<size_t>(k)];
    }
    EXPECT_EQ(shown, kStarts);
}

// Under a window manager that keeps WM_STATE at Withdrawn on a window it has not shown and that shows a window
// only when asked again, the main window comes on the screen, shown by the manager: a Withdrawn state is not
// taken for a window the manager has.
TEST(ProgramUnderXStarts, ShowsItsMainWindowUnderAManagerThatKeepsItWithdrawnUntilAskedAgain)
{
    const fs::path program = Program();
    ASSERT_TRUE(fs::exists(program)) << program;
    Desktop desktop(fs::temp_directory_path() / ("qor-withdrawn-" + std::to_string(::getpid())));
    std::string failure = desktop.StartServer();
    ASSERT_TRUE(failure.empty()) << failure;
    failure = desktop.ManageItself();
    ASSERT_TRUE(failure.empty()) << failure;
    desktop.StartProgram(program);
    Window window = 0;
    EXPECT_TRUE(desktop.WaitForState(
        [&] {
            window = desktop.Titled("Kestrain QOR", false);
            return window && desktop.Viewable(window) && desktop.State(window) == NormalState;
        },
        30))
        << "the main window was not shown by the manager " << desktop.Describe();
    EXPECT_GE(desktop.Lost(), 1) << "the manager lost the first request for the window";
}
