#include "WindowRegistry.h"

#include <QCloseEvent>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// A window that runs a test's code from its close handler, as the program's
// windows run their closing logic there.
class ClosingWindow : public QWidget
{
public:
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (onClose)
            onClose();
        event->accept();
    }
};

class WindowRegistryTest : public ::testing::Test
{
protected:
    ClosingWindow& open()
    {
        auto& window = *m_windows.emplace_back(std::make_unique<ClosingWindow>());
        registry.add(window);
        window.show();
        return window;
    }

    WindowRegistry registry;
    std::vector<int> closed;

private:
    std::vector<std::unique_ptr<ClosingWindow>> m_windows;
};

TEST_F(WindowRegistryTest, KeepsWindowsInTheOrderTheyOpened)
{
    ClosingWindow& first = open();
    ClosingWindow& second = open();
    EXPECT_EQ(registry.count(), 2);
    EXPECT_EQ(registry.at(0), &first);
    EXPECT_EQ(registry.at(1), &second);
    EXPECT_EQ(registry.at(2), nullptr);
    EXPECT_EQ(registry.at(-1), nullptr);
}

TEST_F(WindowRegistryTest, ClosesNewestFirstAndKeepsTheFirst)
{
    ClosingWindow& first = open();
    for (int i = 1; i <= 3; ++i)
        open().onClose = [this, i] { closed.push_back(i); };
    registry.closeAllButFirst();
    EXPECT_EQ(closed, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(registry.count(), 1);
    EXPECT_EQ(registry.at(0), &first);
    EXPECT_TRUE(first.isVisible());
}

TEST_F(WindowRegistryTest, ClosingWindowStillSeesItselfInItsCloseHandler)
{
    ClosingWindow& first = open();
    ClosingWindow& second = open();
    int countSeen = 0;
    // As the main window does: its close handler closes all the others.
    first.onClose = [&] {
        countSeen = registry.count();
        registry.closeAllButFirst();
    };
    second.onClose = [this] { closed.push_back(2); };
    first.close();
    EXPECT_EQ(countSeen, 2);
    EXPECT_EQ(closed, std::vector<int>{2});
    EXPECT_EQ(registry.count(), 0);
}

TEST_F(WindowRegistryTest, WindowClosingItselfFromItsOwnHandlerClosesOnce)
{
    open();
    ClosingWindow& editor = open();
    editor.onClose = [this] {
        closed.push_back(1);
        registry.closeAllButFirst();
    };
    editor.close();
    EXPECT_EQ(closed, std::vector<int>{1});
    EXPECT_EQ(registry.count(), 1);
}

TEST_F(WindowRegistryTest, DestroyedAndNeverShownWindowsLeave)
{
    open();
    {
        ClosingWindow temporary;
        registry.add(temporary);
        EXPECT_EQ(registry.count(), 2);
    }
    EXPECT_EQ(registry.count(), 1);

    ClosingWindow hidden;
    registry.add(hidden);
    hidden.close();
    EXPECT_EQ(registry.count(), 1);
}

} // namespace
