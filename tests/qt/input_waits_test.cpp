#include "platforms/qt/qt_input_waits.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A pipe stands in for a gamepad's device file.
class QtInputWaitsTest : public ::testing::Test {
protected:
    QtInputWaitsTest() { EXPECT_EQ(pipe2(m_ends, O_NONBLOCK | O_CLOEXEC), 0); }
    ~QtInputWaitsTest() override
    {
        close(m_ends[0]);
        close(m_ends[1]);
    }

    int file() const { return m_ends[0]; }
    void input() { ASSERT_EQ(write(m_ends[1], "x", 1), 1); }
    static void runLoop()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    rtqt::QtInputWaits waits;

private:
    int m_ends[2] = {-1, -1};
};

// One call per wait however much input comes, none before input, and unread input calls the next
// wait at once.
TEST_F(QtInputWaitsTest, CallsOncePerWaitWhenTheFileHasInput)
{
    int calls = 0;
    waits.waitOnce(file(), [&calls] { ++calls; });
    runLoop();
    EXPECT_EQ(calls, 0);

    input();
    runLoop();
    input();
    runLoop();
    EXPECT_EQ(calls, 1);

    waits.waitOnce(file(), [&calls] { ++calls; });
    runLoop();
    EXPECT_EQ(calls, 2);
}

// The file is forgotten from inside its own call, as a pad unplugged while it is read is, and
// from outside: nothing calls afterwards.
TEST_F(QtInputWaitsTest, ForgettingStopsTheWaitEvenFromItsOwnCall)
{
    int calls = 0;
    waits.waitOnce(file(), [this, &calls] {
        ++calls;
        waits.forget(file());
    });
    input();
    runLoop();
    EXPECT_EQ(calls, 1);

    waits.waitOnce(file(), [&calls] { ++calls; });
    waits.forget(file());
    runLoop();
    EXPECT_EQ(calls, 1);
}

} // namespace
