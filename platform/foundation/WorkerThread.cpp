#include "platform/foundation/WorkerThread.h"

#include <pthread.h>

namespace foundation {

WorkerThread::WorkerThread(std::string name, RunLoop& replies)
    : replies_(replies), name_(std::move(name)), thread_([this] { run(); }) {}

WorkerThread::~WorkerThread() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        dropped.swap(jobs_);
    }
    wake_.notify_all();
    thread_.join();
}

void WorkerThread::post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WorkerThread::run() {
    // Named so debuggers and sanitizer reports say which worker this is (15 bytes at most).
    ::pthread_setname_np(::pthread_self(), name_.substr(0, 15).c_str());
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
            if (stopping_)
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

} // namespace foundation
