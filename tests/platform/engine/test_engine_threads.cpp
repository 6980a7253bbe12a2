// How many threads the engine starts: as many as the CPUs the process may run
// on, not as many as the machine has. Every thread the process starts passes
// through the pthread_create below, which counts it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <vector>

#include "tests/platform/engine/engine_test_support.h"

namespace {
std::atomic<int> Started{0};
}

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*),
                              void* arg) {
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto next = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    ++Started;
    return next(thread, attr, start, arg);
}

namespace {

// The process pinned to the first n CPUs of its mask for the life of the object.
class Pinned {
public:
    explicit Pinned(int n) {
        sched_getaffinity(0, sizeof old_, &old_);
        cpu_set_t set;
        CPU_ZERO(&set);
        for (int cpu = 0, taken = 0; cpu < CPU_SETSIZE && taken < n; ++cpu) {
            if (!CPU_ISSET(cpu, &old_)) continue;
            CPU_SET(cpu, &set);
            ++taken;
        }
        ok_ = sched_setaffinity(0, sizeof set, &set) == 0;
    }
    ~Pinned() { sched_setaffinity(0, sizeof old_, &old_); }
    bool ok() const { return ok_; }

private:
    cpu_set_t old_;
    bool ok_ = false;
};

// Threads started by one simulation of a picture large enough for many.
int ThreadsForOnePicture() {
    TestSet().Hand();
    TestPicture picture(1024, 512), surface(1024, 512);
    JmBitmap p = picture.Bitmap(), s = surface.Bitmap();
    Started = 0;
    EXPECT_EQ(cGammaDisp(&s, &p), JM_OK);
    return Started;
}

TEST(EngineThreads, FollowTheCpusTheProcessMayUse) {
    cpu_set_t mine;
    ASSERT_EQ(sched_getaffinity(0, sizeof mine, &mine), 0);
    const int cpus = CPU_COUNT(&mine);
    for (int n : {1, 2, cpus}) {
        if (n > cpus) continue;
        Pinned pinned(n);
        ASSERT_TRUE(pinned.ok());
        // The calling thread draws its own share.
        EXPECT_EQ(ThreadsForOnePicture(), n - 1) << n << " CPUs";
    }
}

}  // namespace
