#pragma once

#include <cstdint>

// The status-library getters and commands the maintenance windows call beyond the transport, each
// bound by name at its first call like those of core/parvel_link.h. Each throws Unavailable when
// the library or the export cannot be found, or Busy (an Unavailable) while another exchange is in
// progress; the caller reports either as a printer that did not answer. Text getters take a buffer
// of TextCapacity bytes.
namespace Parvel {

inline constexpr int TextCapacity = 255;

// The printer's status word (high half: group, low half: condition); 0x80000000 when the
// exchange failed or the printer's code is unknown.
int32_t JmGetStatus(int32_t handle);

// The word for a failed exchange or an unknown code.
inline constexpr int32_t StatusUnknown = INT32_MIN;

// Text getters: the reply text copied to out; the text's length - 1, or -1 on failure.
int32_t JmGetVersion(int32_t handle, char* out);
int32_t JmGetSensorInfo(int32_t handle, char* out);
int32_t JmGetMedia(int32_t handle, char* out);
int32_t JmGetMediaLotNo(int32_t handle, char* out);
// The sensor record for a poll, which waits for the reply only briefly: a silent printer does not
// hold the user-interface thread for a full reply timeout. A library without the export (an older
// one) is asked with JmGetSensorInfo, which waits the full timeout.
int32_t JmPollSensorInfo(int32_t handle, char* out);

// Numeric getters: the value, -1 on failure.
int32_t JmGetCounterL(int32_t handle);
int32_t JmGetCounterA(int32_t handle);
int32_t JmGetCounterB(int32_t handle);
int32_t JmGetMediaCounter(int32_t handle);
int32_t JmGetMediaColorOffset(int32_t handle);
int32_t JmGetResolutionV(int32_t handle);

// Commands: nonzero when sent.
int32_t JmSetClearCounterA(int32_t handle);
int32_t JmSetClearCounterB(int32_t handle);

}  // namespace Parvel
