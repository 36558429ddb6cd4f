// The numeric edit's colours on the screen: a negative value is drawn in the negative colour,
// a positive one in the text colour (the control answers the reflected colour message).
#include "controls/edit/NumericEdit.h"

#include "edit_support.h"

using namespace edittest;
using namespace qor::test;

namespace {

bool Reddish(COLORREF c) { return GetRValue(c) > 170 && GetGValue(c) < 90 && GetBValue(c) < 90; }

TEST(NumericEditColours, ANegativeValueShowsRedTextPixels)
{
    CCountingParent parent;
    CNumericEdit edit;
    ASSERT_TRUE(OpenEdit(parent, edit));
    edit.SetNegativeColor(RGB(255, 0, 0));
    edit.SetValue(-1234.5);
    ASSERT_EQ(TextOf(edit), CString(L"-1,234.50"));
    EXPECT_GT(CountShownPixels(&edit, Reddish), 20) << "the digits are red";

    edit.SetValue(1234.5);
    EXPECT_EQ(CountShownPixels(&edit, Reddish), 0) << "a positive value is drawn in the text colour";

    // The background colour is shown too.
    edit.SetBackColor(RGB(0, 0, 128));
    edit.SetTextColor(RGB(255, 255, 255));
    int w = 0, h = 0;
    std::vector<COLORREF> px = ShownPixels(&edit, &w, &h);
    EXPECT_GT(std::count(px.begin(), px.end(), RGB(0, 0, 128)), w * h / 2);
}

} // namespace
