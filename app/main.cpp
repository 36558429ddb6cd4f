// The QOR program: the one application object and the start of the program.
#include "app/QORApp.h"
#include "platform/core/FreeMemory.h"

#include <malloc.h>

namespace {

CQORApp theApp;

} // namespace

int main(int argc, char** argv)
{
    // Analyses allocate and free the same shapes of results run after run; keeping freed memory in the
    // process (instead of handing it back to the system after each run) saves the page faults of the next.
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    qor::FitAllocatorToAddressLimit();

    qor::gui::InitApplication(&argc, argv);
    if (!theApp.InitInstance())
    {
        if (theApp.m_pMainWnd && theApp.m_pMainWnd->m_hWnd) theApp.m_pMainWnd->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        theApp.ExitInstance();
        return 1;
    }
    return theApp.Run();
}
