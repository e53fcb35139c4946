#pragma once
// Runs long calls (the converter) on a thread of their own while the calling window
// thread waits in an event loop, so the window keeps repainting and answering
// clicks. Calls run one at a time, in the order given, all on the same thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <type_traits>

namespace pelmora {

/// One worker thread for the calls of one converter session.
class BackgroundWorker {
public:
    BackgroundWorker();
    /// Finishes the call in progress, then ends the thread.
    ~BackgroundWorker();
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;

    /// Runs job on the worker thread and returns its result (or rethrows its
    /// exception). Meanwhile the calling thread handles its events; when the
    /// application is shutting down it simply waits.
    template <typename Job> auto Call(Job job) -> std::invoke_result_t<Job> {
        using Result = std::invoke_result_t<Job>;
        std::packaged_task<Result()> task(std::move(job));
        std::future<Result> result = task.get_future();
        RunAndWait([&task] { task(); });
        return result.get();
    }

private:
    void RunAndWait(std::function<void()> job);
    void Loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace pelmora
