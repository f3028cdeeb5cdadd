#include "platform/ui/EventLoop.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Timer.h"
#include "ui_fixture.h"

#include <memory>
#include <string>
#include <vector>

using ui::EventLoop;
using EventLoopTest = UiTest;

namespace {

// The hidden poller form: a 100 ms timer enabled from the moment the form is loaded.
class frmPoller : public ui::Form {
public:
    frmPoller() : Form("frmPoller") {
        timer = add<ui::Timer>("timerThread");
        timer->setInterval(100);
        timer->onTimer = [this] { tick(); };
    }
    std::shared_ptr<ui::Timer> timer;
    std::vector<int64_t> ticks;
    std::function<void()> during;

private:
    void tick() {
        ticks.push_back(EventLoop::now());
        if (during) during();
    }
};

} // namespace

TEST_F(EventLoopTest, EachTimerTicksInItsOwnPhase) {
    auto poller = ui::Forms::instance<frmPoller>();
    EventLoop::advance(99);
    EXPECT_TRUE(poller->ticks.empty());
    EventLoop::advance(1);
    EXPECT_EQ(poller->ticks, (std::vector<int64_t>{100}));
    EventLoop::advance(100);
    EXPECT_EQ(poller->ticks.size(), 2u) << "100 ms more: exactly one tick";

    ui::Timer slow;  // created at 200, with its own phase
    std::vector<int64_t> slowTicks;
    slow.onTimer = [&] { slowTicks.push_back(EventLoop::now()); };
    slow.setInterval(250);
    EventLoop::advance(500);
    EXPECT_EQ(poller->ticks, (std::vector<int64_t>{100, 200, 300, 400, 500, 600, 700}));
    EXPECT_EQ(slowTicks, (std::vector<int64_t>{450, 700}));
    EXPECT_EQ(EventLoop::now(), 700);
}

TEST_F(EventLoopTest, StoppedTimersAndUnloadedFormsDoNotTick) {
    auto poller = ui::Forms::instance<frmPoller>();
    poller->timer->setEnabled(false);
    EventLoop::advance(300);
    poller->timer->setEnabled(true);  // restarts the countdown at 300
    EventLoop::advance(150);
    EXPECT_EQ(poller->ticks, (std::vector<int64_t>{400}));
    poller->timer->setInterval(0);
    EventLoop::advance(300);
    EXPECT_EQ(poller->ticks.size(), 1u);
    poller->timer->setInterval(100);
    ui::Forms::unload<frmPoller>();
    EventLoop::advance(300);
    EXPECT_EQ(poller->ticks.size(), 1u);
    poller->Load();  // loaded again: the countdown starts afresh
    EventLoop::advance(100);
    EXPECT_EQ(poller->ticks.back(), EventLoop::now());
}

TEST_F(EventLoopTest, AMessageBoxInATickDoesNotReenterTheTimer) {
    auto poller = ui::Forms::instance<frmPoller>();
    int depth = 0, deepest = 0;
    poller->during = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        ui::MsgBox("question", ui::mb::YesNo);
        --depth;
    };
    user->answerMsgBox(ui::mb::Yes);
    user->answerMsgBox(ui::mb::No);
    EventLoop::advance(200);
    EXPECT_EQ(poller->ticks.size(), 2u);
    EXPECT_EQ(deepest, 1);
    expectScriptDone();
}

TEST_F(EventLoopTest, TimeAdvancedInsideATickRunsTheNextTickNested) {
    auto poller = ui::Forms::instance<frmPoller>();
    int depth = 0, deepest = 0;
    poller->during = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        if (depth == 1) EventLoop::advance(100);  // the person waits while the first tick's box is up
        --depth;
    };
    EventLoop::advance(100);
    EXPECT_EQ(poller->ticks, (std::vector<int64_t>{100, 200}));
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(EventLoop::now(), 200) << "the outer advance does not go back in time";
}

TEST_F(EventLoopTest, ATimerMayBeDestroyedInItsOwnTick) {
    auto own = std::make_unique<ui::Timer>();
    ui::Timer other;
    int ownTicks = 0, otherTicks = 0;
    own->setInterval(100);
    own->onTimer = [&] {
        ++ownTicks;
        own.reset();
    };
    other.setInterval(100);
    other.onTimer = [&] { ++otherTicks; };
    EventLoop::advance(300);
    EXPECT_EQ(ownTicks, 1);
    EXPECT_EQ(otherTicks, 3);
    EXPECT_EQ(errorNumberOf([&] { other.setInterval(-1); }), 380);
}
