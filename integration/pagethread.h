#pragma once

#include <QString>

#include <memory>
#include <mutex>

namespace quillet::browser {
class BrowserPanel;
}
namespace quillet::form {
class IntervalTimer;
}

namespace quillet::integration {

// The program's one worker thread: it asks the browser panel for the local page, starts
// the information timer and ends. Both requests reach the GUI thread queued. Nothing waits
// for the thread; the window detaches the targets when it goes, under the same lock the
// thread posts under, so a late thread finds nothing to post to instead of a dead object.
class PageThread
{
public:
    PageThread(browser::BrowserPanel *panel, form::IntervalTimer *infoTimer);
    ~PageThread();
    PageThread(const PageThread &) = delete;
    PageThread &operator=(const PageThread &) = delete;

    void start(const QString &localPage);

private:
    struct Targets
    {
        std::mutex lock;
        browser::BrowserPanel *panel = nullptr;
        form::IntervalTimer *infoTimer = nullptr;
    };
    static void body(const std::shared_ptr<Targets> &targets, const QString &localPage);

    std::shared_ptr<Targets> m_targets;
};

} // namespace quillet::integration
