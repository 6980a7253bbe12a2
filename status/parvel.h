#pragma once
/*
 * parvel: the printer status library. Every printer exchange of RN-Tools passes
 * through it; it hands command blocks to the language monitor (libquillet.so,
 * entry point MonitorIoControl) and brings back the replies.
 *
 * C ABI. All state is static: no allocation, no thread, no file. Calls must not
 * overlap (they share the library's buffers); the program makes them one at a
 * time from its user-interface thread.
 *
 * Port names are NUL-terminated UTF-16 of at most 19 code units; the library
 * holds at most 10 of them. A handle is the 1-based slot of a registered name.
 *
 * Each export has two names. The other platform numbered its exports; ELF has
 * no ordinals, so they are kept here for reference, as the other platform's
 * export table gave them:
 *
 *   plain name (ordinal)          Jm name (ordinal)             entry
 *   PortInitialize (31)           JmInitialize (1)              shared
 *   SetCommand (110)              JmSetCommand (100)            shared
 *   -                             JmGetCommand (101)            -
 *   GetCommandEX (112)            JmGetCommandEX (102)          shared
 *
 * "shared" means both names are one address.
 */

#include <stdint.h>

#ifdef __cplusplus
#define PARVEL_CHAR16 char16_t
extern "C" {
#else
#include <uchar.h>
#define PARVEL_CHAR16 char16_t
#endif

#define PARVEL_API __attribute__((visibility("default")))

/* Registers a port name (or finds it again) and returns its handle, >= 1.
 * A name longer than 19 code units, a null name, or an eleventh distinct name
 * is refused with -1 and the table stays as it was. */
PARVEL_API int32_t JmInitialize(const PARVEL_CHAR16* portName);
PARVEL_API int32_t PortInitialize(const PARVEL_CHAR16* portName);

/* Hands length bytes to the printer; nonzero when the monitor sent them.
 * A handle that was not returned by JmInitialize, or a negative length,
 * fails with 0 and the monitor is not called. */
PARVEL_API int32_t JmSetCommand(int32_t handle, const void* data, int32_t length);
PARVEL_API int32_t SetCommand(int32_t handle, const void* data, int32_t length);

/* Hands a request to the printer and receives its raw reply (header and
 * payload) into out. *received gets the byte count and out[*received] a 0
 * byte, on failure too: out must hold outSize + 1 bytes. Returns the monitor's
 * result (nonzero = success). */
PARVEL_API int32_t JmGetCommand(int32_t handle, const void* request, int32_t requestLength,
                                void* out, int32_t outSize, int32_t* received);

/* Hands a request to the printer and copies the reply's payload to out (no
 * terminator). Returns the payload length, or -1 when the exchange failed or
 * the reply cannot be taken whole: a header that reads negative, claims more
 * bytes than arrived, or more than outSize. On -1 out is untouched. */
PARVEL_API int32_t JmGetCommandEX(int32_t handle, const void* request, int32_t requestLength,
                                  void* out, int32_t outSize);
PARVEL_API int32_t GetCommandEX(int32_t handle, const void* request, int32_t requestLength,
                                void* out, int32_t outSize);

#ifdef __cplusplus
}
#endif
