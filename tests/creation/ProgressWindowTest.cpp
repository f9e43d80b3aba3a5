#include <gtest/gtest.h>

#include "CreationRecorders.h"
#include "creation/ProgressWindow.h"

namespace ztgl {
namespace {

using PW = ProgressWindow;

void expectLoadState(const PW& w) {
    EXPECT_TRUE(w.isLoaded());
    for (PW::Part p : {PW::Label1, PW::Label2, PW::Label3})
        EXPECT_EQ(w.caption(p), QString());
    for (PW::Part bar : {PW::ProgressBar1, PW::ProgressBar2}) {
        EXPECT_EQ(w.max(bar), 100);
        EXPECT_EQ(w.min(bar), 0);
        EXPECT_EQ(w.value(bar), 0);
        EXPECT_FALSE(w.isVisible(bar));
    }
    EXPECT_FALSE(w.isVisible(PW::Label2));
    EXPECT_TRUE(w.isVisible(PW::Label1) && w.isVisible(PW::Label3));
}

// Every showing starts from the load state, whatever the one before left; a view lives from
// showing to unloading and hears every change; values stay inside the bar's range.
TEST(ProgressWindow, LoadStateViewsAndRanges) {
    QStringList steps;
    PW w;
    test::ProgressSteps::attach(w, steps);
    w.setCaption(PW::Label1, "x");  // not shown yet: no view
    EXPECT_FALSE(w.isLoaded());
    EXPECT_TRUE(steps.isEmpty());
    w.Show();
    expectLoadState(w);
    w.Refresh();
    w.setCaption(PW::Label3, "正在创建帐套“华东公司”");
    w.setCaption(PW::Label1, "正在创建Goods表，请稍后……");
    EXPECT_EQ(steps, (QStringList{"|", "repaint", "正在创建帐套“华东公司”|",
                                  "正在创建帐套“华东公司”|正在创建Goods表，请稍后……"}));
    w.setVisible(PW::Label2, true);
    w.setVisible(PW::ProgressBar2, true);
    w.setMax(PW::ProgressBar2, 3);
    w.setValue(PW::ProgressBar2, 5);
    EXPECT_EQ(w.value(PW::ProgressBar2), 3);
    w.setValue(PW::ProgressBar2, -1);
    EXPECT_EQ(w.value(PW::ProgressBar2), 0);
    w.setMin(PW::ProgressBar2, 2);
    EXPECT_EQ(w.value(PW::ProgressBar2), 2);
    EXPECT_EQ(w.value(PW::ProgressBar1), 0);  // the other bar is untouched
    w.Show();                                 // shown again: loaded afresh, with a view of its own
    expectLoadState(w);
    EXPECT_EQ(steps.last(), "|");
    const int seen = steps.size();
    w.Unload();
    EXPECT_FALSE(w.isLoaded() || w.isVisible(PW::Label1));
    w.setCaption(PW::Label1, "y");  // unloaded: the view is gone
    EXPECT_EQ(steps.size(), seen);
}

}  // namespace
}  // namespace ztgl
