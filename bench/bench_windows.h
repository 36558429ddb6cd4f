// What the benchmarks of the program's windows share: an offscreen program with a home of its own, the
// result windows of a case and whether a plot is still drawing.
#pragma once

#include "app/QORDoc.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace qor::bench {

// Offscreen, with a home of its own under /tmp (its name starts with prefix): no settings file or
// profile of the user's is read or written.
inline void OffscreenWithOwnHome(const char* prefix)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string home = std::string("/tmp/") + prefix + "-XXXXXX";
    if (mkdtemp(home.data()))
    {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }
}

// A plot whose curves are still to come (the "show all" plots are drawn in slices from the
// message loop); always false for a build whose plots are drawn in one go.
template <class View>
bool StillDrawing(View* view)
{
    if constexpr (requires { view->IsDrawing(); })
        return view && view->IsDrawing();
    else
        return false;
}

// The result windows of the case's document, newest first.
inline std::vector<CView*> ResultViews(CQORDoc* doc)
{
    std::vector<CView*> views;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;)
    {
        CView* v = doc->GetNextView(pos);
        if (dynamic_cast<CPlotView*>(v) || dynamic_cast<CGridView*>(v)) views.push_back(v);
    }
    return views;
}

} // namespace qor::bench
