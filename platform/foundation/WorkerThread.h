#pragma once

#include "platform/foundation/RunLoop.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace foundation {

// A thread that owns a library or a long computation (a parse, a decoder, a database). It is
// reached only by posting to it; results go back to a run loop through performThenReply, which
// keeps a virtual clock from jumping until the reply has been delivered.
class WorkerThread {
public:
    explicit WorkerThread(std::string name, RunLoop& replies = RunLoop::main());
    // Jobs not yet started are dropped (their replies never come); a running one finishes.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Any thread.
    void post(std::function<void()> job);

    // Runs work here, then reply(result) on the reply loop if the owner is still alive.
    template <typename T>
    void performThenReply(std::function<T()> work, std::weak_ptr<const void> owner,
                          std::function<void(T)> reply) {
        auto token = std::make_shared<RunLoop::WorkToken>(replies_);
        post([this, work = std::move(work), owner = std::move(owner), reply = std::move(reply),
              token = std::move(token)]() mutable {
            auto result = std::make_shared<T>(work());
            replies_.post(std::move(owner),
                          [reply = std::move(reply), result, token] { reply(std::move(*result)); });
        });
    }

    bool isWorkerThread() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    void run();

    RunLoop& replies_;
    std::string name_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace foundation
