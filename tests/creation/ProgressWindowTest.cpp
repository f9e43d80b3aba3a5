#include <gtest/gtest.h>

#include "creation/ProgressWindow.h"

namespace ztgl {
namespace {

using PW = ProgressWindow;

class CountingView final : public PW::View {
public:
    CountingView(int& changes, int& repaints, int& alive)
        : m_changes(changes), m_repaints(repaints), m_alive(alive) {
        ++m_alive;
    }
    ~CountingView() override { --m_alive; }
    void progressChanged(const PW&) override { ++m_changes; }
    void repaintNow() override { ++m_repaints; }

private:
    int& m_changes;
    int& m_repaints;
    int& m_alive;
};

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
    EXPECT_TRUE(w.isVisible(PW::Label1));
    EXPECT_TRUE(w.isVisible(PW::Label3));
}

TEST(ProgressWindow, ShowsTheLoadStateEveryTime) {
    PW w;
    EXPECT_FALSE(w.isLoaded());
    w.Show();
    expectLoadState(w);

    w.setCaption(PW::Label1, QStringLiteral("正在创建Goods表，请稍后……"));
    w.setCaption(PW::Label2, QStringLiteral("正在创建Goods表结构"));
    w.setCaption(PW::Label3, QStringLiteral("正在创建帐套“华东公司”"));
    w.setVisible(PW::Label2, true);
    w.setVisible(PW::ProgressBar1, true);
    w.setVisible(PW::ProgressBar2, true);
    w.setMax(PW::ProgressBar1, 28);
    w.setValue(PW::ProgressBar1, 7);
    w.setMax(PW::ProgressBar2, 11);
    w.setValue(PW::ProgressBar2, 10);
    EXPECT_EQ(w.value(PW::ProgressBar1), 7);
    EXPECT_EQ(w.max(PW::ProgressBar2), 11);
    EXPECT_TRUE(w.isVisible(PW::Label2));
    w.Unload();
    EXPECT_FALSE(w.isLoaded());
    EXPECT_FALSE(w.isVisible(PW::Label1));

    // A second creation starts again from the load state, whatever the first one left.
    w.Show();
    expectLoadState(w);
}

TEST(ProgressWindow, KeepsValuesInsideTheBarsRange) {
    PW w;
    w.Show();
    w.setMax(PW::ProgressBar2, 3);
    w.setValue(PW::ProgressBar2, 5);
    EXPECT_EQ(w.value(PW::ProgressBar2), 3);
    w.setValue(PW::ProgressBar2, -1);
    EXPECT_EQ(w.value(PW::ProgressBar2), 0);
    w.setMin(PW::ProgressBar2, 2);
    EXPECT_EQ(w.value(PW::ProgressBar2), 2);
    EXPECT_EQ(w.value(PW::ProgressBar1), 0);  // the other bar is untouched
}

TEST(ProgressWindow, AViewLivesFromShowToUnloadAndHearsEveryChange) {
    int changes = 0, repaints = 0, alive = 0;
    PW w;
    w.setViewFactory([&](PW&) { return std::make_unique<CountingView>(changes, repaints, alive); });
    w.setCaption(PW::Label1, QStringLiteral("x"));  // not shown yet: no view
    EXPECT_EQ(alive, 0);
    w.Show();
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(changes, 1);
    w.Refresh();
    EXPECT_EQ(repaints, 1);
    w.setCaption(PW::Label1, QStringLiteral("y"));
    w.setValue(PW::ProgressBar1, 1);
    w.setVisible(PW::ProgressBar1, true);
    EXPECT_EQ(changes, 4);
    w.Show();  // loaded afresh: a new view replaces the old one
    EXPECT_EQ(alive, 1);
    w.Unload();
    EXPECT_EQ(alive, 0);
}

}  // namespace
}  // namespace ztgl
