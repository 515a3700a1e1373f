#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace foundation {
template <typename T>
class Singleton;
}

namespace animation {

// Brackets a set of changes. Animations added to layers while a transaction is open belong
// to it (and to the transactions around it); its completion runs on the run loop once every
// one of them has stopped, or on the next turn when there was none. Transactions nest.
class Transaction {
public:
    static void begin();
    static void commit();
    // For the innermost open transaction; finished is false when any of its animations was
    // removed before its end. Without an open transaction nothing happens.
    static void setCompletion(std::function<void(bool finished)> completion);

    // The animations of one transaction that have not stopped yet.
    class Batch : public std::enable_shared_from_this<Batch> {
    public:
        explicit Batch(std::shared_ptr<Batch> parent);
        void add() { ++pending_; }
        void done(bool finished);

    private:
        friend class Transaction;
        void close();
        void finishWhenDone();

        std::shared_ptr<Batch> parent_;
        std::function<void(bool)> completion_;
        int pending_ = 0;
        bool closed_ = false;
        bool allFinished_ = true;
    };
    // The innermost open transaction's batch, or null.
    static std::shared_ptr<Batch> currentBatch();

private:
    friend class foundation::Singleton<Transaction>;
    Transaction() = default;
    static Transaction& shared();

    std::vector<std::shared_ptr<Batch>> open_;
};

} // namespace animation
