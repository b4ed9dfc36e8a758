#include "ui/background_work.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "ui/work_message.h"

namespace tavik::ui {

namespace {

// The work's side: lines kept for the window to pick up, and the stop asked by it.
class HandedProgress : public Progress {
public:
    void Show(const std::string& line1, const std::string& line2) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        line1_ = line1;
        line2_ = line2;
        fresh_ = true;
    }
    bool Cancelled() override { return stop_.load(std::memory_order_relaxed); }

    void stop() { stop_.store(true, std::memory_order_relaxed); }
    // The lines shown since the last call, if any.
    bool take(std::string& line1, std::string& line2) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!fresh_) return false;
        fresh_ = false;
        line1 = line1_;
        line2 = line2_;
        return true;
    }

private:
    std::mutex mutex_;
    std::string line1_, line2_;
    bool fresh_ = false;
    std::atomic<bool> stop_{false};
};

}  // namespace

void RunOffThread(WorkMessage* message, bool stoppable, const std::function<void(Progress&)>& work) {
    HandedProgress progress;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(40);
    std::string line1, line2;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (progress.take(line1, line2)) {
            message->setLines(QString::fromStdString(line1), QString::fromStdString(line2));
            if (!message->isVisible()) {
                message->place();
                message->show();
                message->raise();
            }
        }
        if (done.load()) loop.quit();
    });
    QMetaObject::Connection stopConnection;
    if (stoppable) {
        message->setCancelVisible(true);
        stopConnection = QObject::connect(message, &WorkMessage::cancelRequested, &loop, [&] { progress.stop(); });
    }
    // What is already waiting (the message's first painting, a stop pressed at once) comes
    // before the work starts.
    QCoreApplication::processEvents();
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true);
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    poll.start();
    // The loop may be told to end before it runs: the timer looks again.
    while (!done.load()) loop.exec();
    worker.join();
    poll.stop();
    // The last lines stay in sight until the caller moves on.
    if (progress.take(line1, line2)) message->setLines(QString::fromStdString(line1), QString::fromStdString(line2));
    if (stoppable) {
        QObject::disconnect(stopConnection);
        message->setCancelVisible(false);
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tavik::ui
