#include "core/status_queries.h"

#include "core/parvel_link.h"

namespace Parvel {

int32_t JmGetStatus(int32_t handle) {
    static auto* call = BindAs<int32_t(int32_t)>("JmGetStatus");
    return call(handle);
}

}  // namespace Parvel
