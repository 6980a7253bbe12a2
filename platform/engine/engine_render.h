#pragma once

#include <cstdint>

#include "platform/engine/engine_model.h"

struct JmBitmap;

namespace jm {

// Draws picture through plan into surface (the overlap of the two); returns
// JM_OK or a JM_E_* code. Never throws.
int32_t Render(const Plan& plan, JmBitmap* surface, const JmBitmap* picture);

// Worker threads for a picture of the given size: JMENGINE_THREADS when set,
// else the CPUs the process may run on (its affinity),
// never more than the rows.
int ThreadCount(int width, int height);

}  // namespace jm
