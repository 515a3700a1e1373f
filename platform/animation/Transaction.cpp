#include "platform/animation/Transaction.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Singleton.h"

namespace animation {

Transaction& Transaction::shared() { return foundation::Singleton<Transaction>::shared(); }

void Transaction::begin() {
    foundation::assertIsMainThread();
    auto& open = shared().open_;
    open.push_back(std::make_shared<Batch>(open.empty() ? nullptr : open.back()));
}

void Transaction::commit() {
    foundation::assertIsMainThread();
    auto& open = shared().open_;
    if (open.empty())
        return;
    auto batch = std::move(open.back());
    open.pop_back();
    batch->close();
}

void Transaction::setCompletion(std::function<void(bool)> completion) {
    if (auto batch = currentBatch())
        batch->completion_ = std::move(completion);
}

std::shared_ptr<Transaction::Batch> Transaction::currentBatch() {
    auto& open = shared().open_;
    return open.empty() ? nullptr : open.back();
}

Transaction::Batch::Batch(std::shared_ptr<Batch> parent) : parent_(std::move(parent)) {
    if (parent_)
        parent_->add();
}

void Transaction::Batch::done(bool finished) {
    allFinished_ = allFinished_ && finished;
    --pending_;
    finishWhenDone();
}

void Transaction::Batch::close() {
    closed_ = true;
    finishWhenDone();
}

void Transaction::Batch::finishWhenDone() {
    if (!closed_ || pending_ > 0)
        return;
    // Never inside the call that stopped the last animation: completions run on the loop.
    auto self = shared_from_this();
    foundation::RunLoop::main().postAfter(foundation::Seconds(0), self, [self] {
        if (self->completion_)
            self->completion_(self->allFinished_);
        if (self->parent_)
            self->parent_->done(self->allFinished_);
    });
}

} // namespace animation
