#pragma once
// A named pipe made for a test, with a watchdog: a reader that opens the pipe and waits for a
// writer would block the test for good, so after `seconds` the watchdog opens the pipe for
// writing and closes it again, which lets such a reader go on (it then reads nothing). Fired()
// tells the test that it had to, which is the fault the test looks for.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

class PipeWatchdog {
public:
    explicit PipeWatchdog(std::string path, int seconds = 5) : path_(std::move(path)) {
        if (::mkfifo(path_.c_str(), 0644) != 0) throw std::runtime_error("no pipe " + path_);
        watcher_ = std::thread([this, seconds] { Watch(seconds); });
    }
    ~PipeWatchdog() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        watcher_.join();
    }
    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;

    const std::string& Path() const { return path_; }
    // Whether a reader was found waiting on the pipe and had to be let go.
    bool Fired() const { return fired_; }

private:
    void Watch(int seconds) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) return;
        fired_ = true;
        // A writer opens without waiting only while a reader is there; keep trying until the
        // blocked reader has been let go or the test is over.
        while (!done_) {
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) ::close(fd);
            wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return done_; });
        }
    }

    std::string path_;
    std::atomic<bool> fired_{false};
    bool done_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread watcher_;
};
