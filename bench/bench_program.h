// The running program of the window benchmarks: offscreen, in a home folder of its own (no settings
// or profile of the user's is read or written), its main window 1280 x 900.
#pragma once

#include "app/QORApp.h"
#include "platform/test/FrameTest.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace qor::bench {

// Starts the application object with its main frame; false when it does not start.
inline bool StartProgram(CQORApp& app, const char* name)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string home = std::string("/tmp/qor-bench-") + name + "-XXXXXX";
    if (mkdtemp(home.data()))
    {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }
    if (!qor::test::StartApplication(app)) return false;
    app.m_pMainWnd->MoveWindow(0, 0, 1280, 900);
    return true;
}

} // namespace qor::bench
