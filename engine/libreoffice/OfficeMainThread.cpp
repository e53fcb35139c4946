#include "engine/libreoffice/OfficeMainThread.h"

#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <cppuhelper/implbase1.hxx>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>

namespace pelmora {

namespace css = ::com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

// What the waiting caller and the office's call back share. The caller may give up
// before the office calls back (the office died); the call back then finds the job
// abandoned and leaves it, since the caller's frame is gone.
struct OfficeMainThread::Job {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> work;
    std::exception_ptr failure;
    bool started = false;
    bool done = false;
    bool abandoned = false;
};

class OfficeMainThread::Callback : public cppu::WeakImplHelper1<css::awt::XCallback> {
public:
    explicit Callback(std::shared_ptr<Job> job) : job_(std::move(job)) {}

    void SAL_CALL notify(const css::uno::Any&) override {
        {
            std::lock_guard lock(job_->mutex);
            if (job_->abandoned) {
                return;
            }
            job_->started = true;
        }
        std::exception_ptr failure;
        try {
            job_->work();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(job_->mutex);
        job_->failure = failure;
        job_->done = true;
        job_->changed.notify_all();
    }

private:
    std::shared_ptr<Job> job_;
};

OfficeMainThread::OfficeMainThread(const Reference<css::uno::XComponentContext>& office)
    : requests_(office->getServiceManager()->createInstanceWithContext(
                    "com.sun.star.awt.AsyncCallback", office),
                UNO_QUERY_THROW) {}

void OfficeMainThread::RunJob(std::function<void()> work, const std::function<bool()>& alive) {
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    requests_->addCallback(new Callback(job), css::uno::Any());
    std::unique_lock lock(job->mutex);
    // Once started, the work ends by itself: a dying office fails its calls.
    while (!job->done) {
        if (!job->started && !alive()) {
            job->abandoned = true;
            throw css::lang::DisposedException("the office ended before it ran the call");
        }
        job->changed.wait_for(lock, std::chrono::milliseconds(20));
    }
    if (job->failure) {
        std::rethrow_exception(job->failure);
    }
}

} // namespace pelmora
