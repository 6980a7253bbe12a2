#include "platform/engine/engine_render.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/engine/jm_engine.h"

namespace jm {
namespace {

constexpr uint32_t kAlpha = 0xFF000000u;
constexpr int kMaxThreads = 256;
constexpr int64_t kPixelsPerThread = 16384;  // below this a thread costs more than it saves

struct Pixels {
    unsigned char* base = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(base + y * stride); }
    const unsigned char* End() const { return base + (height - 1) * stride + 4 * width; }
};

int32_t Check(const JmBitmap* b) {
    if (!b) return JM_E_NULL;
    if (b->width < 0 || b->height < 0) return JM_E_SIZE;
    if (b->width == 0 || b->height == 0) return JM_OK;
    if (!b->pixels) return JM_E_NULL;
    if (b->stride < 0 || b->stride % 4 != 0 || int64_t{b->stride} < int64_t{b->width} * 4) {
        return JM_E_SIZE;
    }
    return JM_OK;
}

Pixels ViewOf(const JmBitmap* b) {
    return {reinterpret_cast<unsigned char*>(b->pixels), b->width, b->height, b->stride};
}

// The ink levels of picture rows after the plan's curves, one byte per plane,
// with the edge pixel repeated on either side. Holds the three rows last asked
// for, so that walking down the picture works out each row once.
class LevelRows {
public:
    LevelRows(const Plan& plan, const Pixels& picture, int columns)
        : plan_(plan),
          picture_(picture),
          columns_(columns),
          span_(columns + 2),
          buffer_(static_cast<std::size_t>(3 * kInkPlanes) * span_) {}

    // Row r of the picture (clamped into it), plane p; index x + 1 is column x.
    const uint8_t* Get(int r, int p) {
        r = std::clamp(r, 0, picture_.height - 1);
        const int slot = r % 3;
        if (held_[slot] != r) Fill(r, slot);
        return &buffer_[static_cast<std::size_t>(slot * kInkPlanes + p) * span_];
    }

private:
    void Fill(int r, int slot) {
        const uint32_t* __restrict src = picture_.Row(r);
        uint8_t* __restrict y = &buffer_[static_cast<std::size_t>(slot * kInkPlanes) * span_];
        uint8_t* __restrict m = y + span_;
        uint8_t* __restrict c = m + span_;
        const uint8_t* ly = plan_.level[0].data();
        const uint8_t* lm = plan_.level[1].data();
        const uint8_t* lc = plan_.level[2].data();
        for (int x = 0; x < columns_; ++x) {
            const uint32_t px = ~src[x];  // the ink levels are the bytes inverted
            y[x + 1] = ly[px & 0xFF];
            m[x + 1] = lm[(px >> 8) & 0xFF];
            c[x + 1] = lc[(px >> 16) & 0xFF];
        }
        for (uint8_t* out : {y, m, c}) {
            out[0] = out[1];
            out[columns_ + 1] = out[columns_];
        }
        held_[slot] = r;
    }

    const Plan& plan_;
    const Pixels& picture_;
    int columns_;
    std::size_t span_;
    std::vector<uint8_t> buffer_;
    int held_[3] = {-1, -1, -1};
};

void PointRows(const Plan& plan, const Pixels& picture, const Pixels& surface, int width, int y0,
               int y1) {
    const auto& [ch0, ch1, ch2] = plan.channel;
    for (int y = y0; y < y1; ++y) {
        const uint32_t* src = picture.Row(y);
        uint32_t* dst = surface.Row(y);
        if (plan.output == Output::Grey) {
            for (int x = 0; x < width; ++x) {
                const uint32_t px = src[x];
                const uint32_t sum =
                    ch0[px & 0xFF] + ch1[(px >> 8) & 0xFF] + ch2[(px >> 16) & 0xFF];
                const uint32_t grey = 255 - (sum + 1) / 3;
                dst[x] = (px & kAlpha) | grey * 0x010101u;
            }
        } else {
            for (int x = 0; x < width; ++x) {
                const uint32_t px = src[x];
                dst[x] =
                    (px & kAlpha) | ch0[px & 0xFF] | ch1[(px >> 8) & 0xFF] | ch2[(px >> 16) & 0xFF];
            }
        }
    }
}

// Machines with AVX2 run the neighbour loops eight pixels at a time.
#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__)
#define JM_WIDE_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define JM_WIDE_LOOP
#endif

// Omega: A B C / D E F / . G . over the levels, divisor 16.
JM_WIDE_LOOP void OmegaRow(const int32_t* w, const uint8_t* up, const uint8_t* mid,
                           const uint8_t* down, uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) {
        const int32_t sum = w[0] * up[x] + w[1] * up[x + 1] + w[2] * up[x + 2] + w[3] * mid[x] +
                            w[4] * mid[x + 1] + w[5] * mid[x + 2] + w[6] * down[x + 1];
        out[x] = static_cast<uint8_t>(std::clamp((sum + 8) >> 4, 0, 255));
    }
}

// Delta: a level is raised when the element was cold on the line before and
// lowered when it still holds the heat of a dark line.
JM_WIDE_LOOP void DeltaRow(const int32_t* d, const uint8_t* before, const uint8_t* level,
                           uint8_t* out, int width) {
    if (!before) {  // the first row has no line before it
        std::memcpy(out, level + 1, static_cast<std::size_t>(width));
        return;
    }
    const int32_t low = d[0], high = d[1], up = d[2], down = d[3];
    for (int x = 0; x < width; ++x) {  // without branches, so that it vectorises
        const int32_t l = level[x + 1], b = before[x + 1];
        const bool raise = b <= low && l >= high;
        const bool lower = !raise && b >= high && l <= low;
        const int32_t v = l + (raise ? up : 0) - (lower ? down : 0);
        out[x] = static_cast<uint8_t>(std::clamp(v, 0, 255));
    }
}

void NeighbourRows(const Plan& plan, const Pixels& picture, const Pixels& surface, int width,
                   int y0, int y1) {
    // Columns up to one past the overlap feed the right-hand neighbours.
    LevelRows rows(plan, picture, std::min(width + 1, picture.width));
    std::vector<uint8_t> out(static_cast<std::size_t>(kInkPlanes) * width);
    for (int y = y0; y < y1; ++y) {
        for (int p = 0; p < kInkPlanes; ++p) {
            uint8_t* o = &out[static_cast<std::size_t>(p) * width];
            if (plan.step == Step::Omega) {
                // Three neighbouring rows sit in three different slots of the ring.
                const uint8_t* up = rows.Get(y - 1, p);
                const uint8_t* mid = rows.Get(y, p);
                const uint8_t* down = rows.Get(y + 1, p);
                OmegaRow(plan.omega[p].data(), up, mid, down, o, width);
            } else {
                const uint8_t* mid = rows.Get(y, p);
                const uint8_t* before = y > 0 ? rows.Get(y - 1, p) : nullptr;
                DeltaRow(plan.delta[p].data(), before, mid, o, width);
            }
        }
        const uint32_t* src = picture.Row(y);
        uint32_t* dst = surface.Row(y);
        const uint8_t* ly = &out[0];
        const uint8_t* lm = &out[static_cast<std::size_t>(width)];
        const uint8_t* lc = &out[static_cast<std::size_t>(2) * width];
        for (int x = 0; x < width; ++x) {
            dst[x] =
                (src[x] & kAlpha) | (255u - lc[x]) << 16 | (255u - lm[x]) << 8 | (255u - ly[x]);
        }
    }
}

// The CPUs this process may run on: a process pinned to a few cores (taskset, a
// container's CPU set) gains nothing from threads for the others.
int UsableCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 256u));
}

}  // namespace

int ThreadCount(int width, int height) {
    int n = 0;
    if (const char* env = std::getenv("JMENGINE_THREADS")) {
        const int asked = std::atoi(env);
        if (asked >= 1 && asked <= kMaxThreads) n = asked;
    }
    if (n == 0) {
        n = std::min(UsableCpus(), kMaxThreads);
        const int64_t pixels = int64_t{width} * height;
        n = static_cast<int>(std::min<int64_t>(n, std::max<int64_t>(1, pixels / kPixelsPerThread)));
    }
    return std::max(1, std::min(n, height));
}

int32_t Render(const Plan& plan, JmBitmap* surfaceBitmap, const JmBitmap* pictureBitmap) {
    for (const JmBitmap* b : {static_cast<const JmBitmap*>(surfaceBitmap), pictureBitmap}) {
        if (const int32_t rc = Check(b); rc != JM_OK) return rc;
    }
    const Pixels surface = ViewOf(surfaceBitmap);
    Pixels picture = ViewOf(pictureBitmap);
    const int width = std::min(surface.width, picture.width);
    const int height = std::min(surface.height, picture.height);
    if (width == 0 || height == 0) return JM_OK;

    try {
        // Drawing over the picture itself: a pixel-by-pixel plan may do it in
        // place; anything else reads a copy of the picture first.
        std::vector<uint32_t> copy;
        const bool overlap = surface.base < picture.End() && picture.base < surface.End();
        const bool inPlace = surface.base == picture.base && surface.stride == picture.stride;
        if (overlap && !(inPlace && plan.step == Step::Point)) {
            copy.resize(static_cast<std::size_t>(picture.width) * picture.height);
            for (int y = 0; y < picture.height; ++y) {
                std::memcpy(&copy[static_cast<std::size_t>(y) * picture.width], picture.Row(y),
                            4 * static_cast<std::size_t>(picture.width));
            }
            picture.base = reinterpret_cast<unsigned char*>(copy.data());
            picture.stride = 4 * static_cast<std::ptrdiff_t>(picture.width);
        }

        std::atomic<bool> failed{false};
        const int n = ThreadCount(width, height);
        auto chunk = [&](int k) {
            const int y0 = static_cast<int>(int64_t{height} * k / n);
            const int y1 = static_cast<int>(int64_t{height} * (k + 1) / n);
            try {
                if (plan.step == Step::Point) {
                    PointRows(plan, picture, surface, width, y0, y1);
                } else {
                    NeighbourRows(plan, picture, surface, width, y0, y1);
                }
            } catch (...) {
                failed = true;
            }
        };
        std::vector<std::thread> threads;
        threads.reserve(static_cast<std::size_t>(n));
        for (int k = 1; k < n; ++k) {
            try {
                threads.emplace_back(chunk, k);
            } catch (...) {
                chunk(k);  // no thread to be had: this one does it
            }
        }
        chunk(0);
        for (std::thread& t : threads) t.join();
        return failed ? JM_E_FAILED : JM_OK;
    } catch (...) {
        return JM_E_FAILED;
    }
}

}  // namespace jm
