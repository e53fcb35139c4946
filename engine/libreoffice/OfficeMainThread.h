#pragma once
// Runs calls into an office on the office's own main thread. A remote call normally
// runs on one of the office's bridge threads, and Writer then hands every window and
// layout step to its main thread and back, which makes a view cost a third more, and
// places drawings anchored to the page at their paragraph instead. A call back from
// the office's main thread carries that thread's identity, so every call made from
// inside it runs there, as `soffice --convert-to` runs its own.

#include <com/sun/star/awt/XRequestCallback.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace pelmora {

/// The main thread of one connected office.
class OfficeMainThread {
public:
    /// The main thread of the office whose component context is office; one call to the
    /// office, made once so that each later call costs no more round trips than it must.
    explicit OfficeMainThread(const css::uno::Reference<css::uno::XComponentContext>& office);

    /// Runs work on the office's main thread and returns its result; work's exceptions
    /// are thrown here. Throws css::lang::DisposedException when the office ends
    /// (alive() turns false) before it starts work. Blocks until work is done.
    template <class Work> auto Run(Work&& work, const std::function<bool()>& alive) {
        using Result = decltype(work());
        if constexpr (std::is_void_v<Result>) {
            RunJob(std::function<void()>(std::forward<Work>(work)), alive);
        } else {
            std::optional<Result> result;
            RunJob([&] { result.emplace(work()); }, alive);
            return std::move(*result);
        }
    }

private:
    struct Job;
    class Callback;
    void RunJob(std::function<void()> job, const std::function<bool()>& alive);

    css::uno::Reference<css::awt::XRequestCallback> requests_;
};

} // namespace pelmora
