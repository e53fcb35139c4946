#include "app/BackgroundWorker.h"

#include <QEventLoop>
#include <atomic>
#include <memory>

namespace pelmora {

BackgroundWorker::BackgroundWorker() : thread_([this] { Loop(); }) {}

BackgroundWorker::~BackgroundWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void BackgroundWorker::Loop() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

void BackgroundWorker::RunAndWait(std::function<void()> job) {
    // The state is shared with the worker so a late completion never touches a
    // finished wait.
    struct Wait {
        std::promise<void> done;
        std::atomic<bool> finished{false};
    };
    auto wait = std::make_shared<Wait>();
    std::future<void> done = wait->done.get_future();
    QEventLoop loop;
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back([job = std::move(job), wait, target = &loop]() {
            job();
            wait->finished = true;
            // Queued to the waiting thread. The waiter does not leave before done is
            // set, so the loop still exists here.
            QMetaObject::invokeMethod(
                target, [target] { target->quit(); }, Qt::QueuedConnection);
            wait->done.set_value();
        });
    }
    wake_.notify_all();
    while (!wait->finished) {
        loop.exec();
        if (!wait->finished) {
            // The loop was ended from outside (the application is quitting): nothing
            // more can be shown, so simply wait for the call to end.
            done.wait();
        }
    }
    done.wait();
}

} // namespace pelmora
