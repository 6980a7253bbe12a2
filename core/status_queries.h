#pragma once

#include <cstdint>

// The status-library getters the maintenance dialogs call beyond the transport, each bound by
// name at its first call like the others in core/parvel_link.h.
namespace Parvel {

// The printer's status word (high half: group, low half: condition); 0x80000000 when the
// exchange failed or the printer's code is unknown. Throws Unavailable when the library or the
// export cannot be found.
int32_t JmGetStatus(int32_t handle);

// The word for a failed exchange or an unknown code.
inline constexpr int32_t StatusUnknown = INT32_MIN;

}  // namespace Parvel
