#include "tests/status/monitor_allocations.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>

namespace {
// Armed on the thread that asks: an exchange runs on its caller's thread, and another thread of
// the process (a test's printer line, the start of a thread the sanitizer sets up) must not count.
thread_local bool Armed = false;
std::atomic<long> Count{0};

void Counted() {
    if (Armed) Count.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

namespace standin_test {
void CountAllocations(bool on) {
    if (on) Count = 0;
    Armed = on;
}
long Allocations() {
    return Count;
}
bool CountsAnAllocation() {
    void* (*volatile allocate)(size_t) = std::malloc;
    CountAllocations(true);
    void* p = allocate(16);
    CountAllocations(false);
    std::free(p);
    return Allocations() == 1;
}
}  // namespace standin_test

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer owns malloc; it reports every allocation of its allocator,
// operator new included, to this hook.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             size_t),
                                                         void (*free_hook)(const volatile void*));

namespace {
void OnMalloc(const volatile void*, size_t) {
    Counted();
}
void OnFree(const volatile void*) {}
[[maybe_unused]] const int Installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
}  // namespace
#else
// The C library's allocator under its own names; operator new comes here too.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

void* malloc(size_t size) noexcept {
    Counted();
    return __libc_malloc(size);
}
void* calloc(size_t n, size_t size) noexcept {
    Counted();
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size) noexcept {
    Counted();
    return __libc_realloc(p, size);
}
void free(void* p) noexcept {
    __libc_free(p);
}
}
#endif
