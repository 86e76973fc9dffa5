#include "serial/GuiDelivery.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QThread>
#include <algorithm>
#include <chrono>

namespace serial
{

TGuiDelivery& TGuiDelivery::Instance()
{
    static TGuiDelivery delivery;
    return delivery;
}

void TGuiDelivery::Attach()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (attached_ || !OnGuiThread())
        return;
    // Owned by the application object, so it goes before the event loop does.
    auto* notifier = new QSocketNotifier(wake_.Fd(), QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] {
        wake_.TryTake();
        ServePending();
    });
    QObject::connect(notifier, &QObject::destroyed, [this] { attached_ = false; });
    attached_ = true;
}

bool TGuiDelivery::OnGuiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void TGuiDelivery::SetWaitLimitMs(uint32_t ms)
{
    std::lock_guard guard(lock_);
    waitLimitMs_ = ms == 0 ? DefaultWaitMs : ms;
}

uint32_t TGuiDelivery::WaitLimitMs() const
{
    std::lock_guard guard(lock_);
    return waitLimitMs_;
}

uint64_t TGuiDelivery::Dropped() const
{
    std::lock_guard guard(lock_);
    return dropped_;
}

bool TGuiDelivery::Run(std::function<void()> work)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || OnGuiThread()) {
        work();
        return true;
    }
    auto item = std::make_shared<Item>();
    item->Work = std::move(work);
    Queue(item);

    // One wait for the end of the work: the GUI thread signals only when a
    // delivery is done, so a worker wakes once per delivery. A delivery still
    // pending when the limit is reached is dropped; one that has started is
    // waited for until it ends.
    std::unique_lock guard(lock_);
    const auto limit = std::chrono::milliseconds(waitLimitMs_);
    if (changed_.wait_for(guard, limit, [&] { return item->Status == State::Done; }))
        return true;
    if (item->Status == State::Pending) {
        item->Status = State::Dropped;
        queue_.erase(std::find(queue_.begin(), queue_.end(), item));
        ++dropped_;
        return false;
    }
    changed_.wait(guard, [&] { return item->Status == State::Done; });
    return true;
}

void TGuiDelivery::Post(std::function<void()> work)
{
    if (!QCoreApplication::instance() || OnGuiThread()) {
        work();
        return;
    }
    auto item = std::make_shared<Item>();
    item->Work = std::move(work);
    Queue(item);
}

void TGuiDelivery::Queue(const std::shared_ptr<Item>& item)
{
    {
        std::lock_guard guard(lock_);
        queue_.push_back(item);
    }
    changed_.notify_all(); // a ServeUntil on the GUI thread
    if (attached_)
        wake_.Set();
    else
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { Instance().ServePending(); }, Qt::QueuedConnection);
}

void TGuiDelivery::ServePending()
{
    for (;;) {
        std::shared_ptr<Item> item;
        {
            std::lock_guard guard(lock_);
            if (queue_.empty())
                return;
            item = queue_.front();
            queue_.pop_front();
            item->Status = State::Running;
        }
        // The component catches what its handlers raise; nothing may escape
        // into the event loop.
        try {
            item->Work();
        } catch (...) {
        }
        {
            std::lock_guard guard(lock_);
            item->Status = State::Done;
        }
        changed_.notify_all();
    }
}

void TGuiDelivery::ServeUntil(const std::function<bool()>& done)
{
    const bool gui = OnGuiThread();
    for (;;) {
        if (gui)
            ServePending();
        std::unique_lock guard(lock_);
        // The time-out only bounds a wait whose wake was missed.
        changed_.wait_for(
            guard, std::chrono::milliseconds(100), [&] { return done() || (gui && !queue_.empty()); });
        if (done())
            return;
    }
}

void TGuiDelivery::Wake()
{
    {
        std::lock_guard guard(lock_);
    }
    changed_.notify_all();
}

} // namespace serial
