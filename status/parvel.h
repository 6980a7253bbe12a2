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
 * Port names are NUL-terminated UTF-16 of at most PARVEL_PORT_NAME_MAX code
 * units (a device path on this platform); the library holds at most
 * PARVEL_PORT_SLOTS of them. A handle is the 1-based slot of a registered name.
 *
 * Each export has two names. The other platform numbered its exports; ELF has
 * no ordinals, so they are kept here for reference, as the other platform's
 * export table gave them:
 *
 *   plain name (ordinal)          Jm name (ordinal)
 *   PortInitialize (31)           JmInitialize (1)              one entry
 *   GetFirmwVersion (32)          JmGetVersion (2)
 *   GetSensorInfo (33)            JmGetSensorInfo (3)
 *   GetStatus (34)                JmGetStatus (4)
 *   GetMedia (35)                 JmGetMedia (5)
 *   GetPQTY (36)                  JmGetPQTY (6)
 *   GetCounterL (37)              JmGetCounterL (7)
 *   GetCounterA (38)              JmGetCounterA (8)
 *   GetCounterB (39)              JmGetCounterB (9)
 *   SetClearCounterA (40)         JmSetClearCounterA (10)
 *   SetClearCounterB (41)         JmSetClearCounterB (11)
 *   GetResolutionH (42)           JmGetResolutionH (12)
 *   GetResolutionV (43)           JmGetResolutionV (13)
 *   GetFreeBuffer (44)            JmGetFreeBuffer (14)
 *   GetMediaLotNo (45)            JmGetMediaLotNo (15)
 *   GetMediaCounter (46)          JmGetMediaCounter (16)
 *   GetMediaColorOffset (47)      JmGetMediaColorOffset (17)
 *   SetFirmwUpdateMode (48)       JmSetFirmwUpdateMode (18)
 *   SetFirmwDataWrite (49)        JmSetFirmwDataWrite (19)
 *   GetSerialNo (50)              JmGetSerialNo (20)
 *   SetColorDataWrite (51)        JmSetColorDataWrite (21)
 *   SetColorDataVersion (52)      JmSetColorDataVersion (22)
 *   GetColorDataVersion (53)      JmGetColorDataVersion (23)
 *   SetColorDataClear (54)        JmSetColorDataClear (24)
 *   GetColorDataChecksum (55)     JmGetColorDataChecksum (25)
 *   SetCutterMode (56)            -
 *   GetMediaIdSetInfo (57)        -
 *   SetRetentionMode (58)         -
 *   SetCommand (110)              JmSetCommand (100)            one entry
 *   -                             JmGetCommand (101)
 *   GetCommandEX (112)            JmGetCommandEX (102)          one entry
 *
 * "one entry": both names are one address. Every other Jm name is an entry of
 * its own that calls the plain export with its arguments unchanged.
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

/* The port table: PARVEL_PORT_SLOTS names, each of at most
 * PARVEL_PORT_NAME_MAX UTF-16 code units (a slot holds one more, for the
 * terminator). */
#define PARVEL_PORT_SLOTS 10
#define PARVEL_PORT_NAME_MAX 255

/* The size of the caller's text buffer for every text getter, terminator
 * included: a longer reply text is cut to fit, and the result counts it as
 * cut. */
#define PARVEL_TEXT_CAPACITY 255

/* The status word of GetStatus: the high half names a group, the low half has
 * one bit for the condition; PARVEL_STATUS_UNKNOWN is a failed exchange, a
 * code outside the table, or a reply without a number. */
#define PARVEL_STATUS_PRINTER 0x0001
#define PARVEL_STATUS_OPERATOR_ERROR 0x0002
#define PARVEL_STATUS_DEVICE_ERROR 0x0004
#define PARVEL_STATUS_SYSTEM_ERROR 0x0008
#define PARVEL_STATUS_FIRMWARE_UPDATE 0x0010
#define PARVEL_STATUS_UNKNOWN ((int32_t)0x80000000)

/* Registers a port name (or finds it again) and returns its handle, >= 1.
 * A name longer than PARVEL_PORT_NAME_MAX code units, a null name, or a
 * distinct name beyond PARVEL_PORT_SLOTS is refused with -1 and the table
 * stays as it was. */
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

/* Getters. Each exchanges one fixed request; -1 when the exchange failed
 * (GetStatus: PARVEL_STATUS_UNKNOWN), and out is then not written. */
PARVEL_API int32_t GetStatus(int32_t handle);
PARVEL_API int32_t JmGetStatus(int32_t handle);

/* Text getters: out receives the reply text with its terminator (see
 * PARVEL_TEXT_CAPACITY). The result is the text's length - 1, so an empty
 * reply reads as -1 too; GetMedia leaves the two-character prefix behind but
 * counts it; GetColorDataVersion returns the length; GetMediaLotNo 20. */
PARVEL_API int32_t GetFirmwVersion(int32_t handle, char* out);
PARVEL_API int32_t JmGetVersion(int32_t handle, char* out);
PARVEL_API int32_t GetSensorInfo(int32_t handle, char* out);
PARVEL_API int32_t JmGetSensorInfo(int32_t handle, char* out);
/* The sensor record for a poll: as JmGetSensorInfo, but the exchange waits for
 * the reply at most the monitor's brief wait, so that a silent printer does not
 * hold the caller for a full reply timeout. The library asks the monitor for
 * its brief wait once, at the first poll; a monitor that does not offer one
 * gets an ordinary request with its full timeout. Added after the numbered
 * exports: it has no ordinal and no plain name, and a caller must do without
 * it in an older library. */
PARVEL_API int32_t JmPollSensorInfo(int32_t handle, char* out);
PARVEL_API int32_t GetMedia(int32_t handle, char* out);
PARVEL_API int32_t JmGetMedia(int32_t handle, char* out);
PARVEL_API int32_t GetMediaLotNo(int32_t handle, char* out);
PARVEL_API int32_t JmGetMediaLotNo(int32_t handle, char* out);
PARVEL_API int32_t GetSerialNo(int32_t handle, char* out);
PARVEL_API int32_t JmGetSerialNo(int32_t handle, char* out);
PARVEL_API int32_t GetColorDataVersion(int32_t handle, char* out);
PARVEL_API int32_t JmGetColorDataVersion(int32_t handle, char* out);
PARVEL_API int32_t GetColorDataChecksum(int32_t handle, char* out);
PARVEL_API int32_t JmGetColorDataChecksum(int32_t handle, char* out);

/* Numeric getters: the number after the reply's prefix, 0 when the reply does
 * not hold it (GetMediaIdSetInfo: -1). */
PARVEL_API int32_t GetPQTY(int32_t handle);
PARVEL_API int32_t JmGetPQTY(int32_t handle);
PARVEL_API int32_t GetCounterL(int32_t handle);
PARVEL_API int32_t JmGetCounterL(int32_t handle);
PARVEL_API int32_t GetCounterA(int32_t handle);
PARVEL_API int32_t JmGetCounterA(int32_t handle);
PARVEL_API int32_t GetCounterB(int32_t handle);
PARVEL_API int32_t JmGetCounterB(int32_t handle);
PARVEL_API int32_t GetResolutionH(int32_t handle);
PARVEL_API int32_t JmGetResolutionH(int32_t handle);
PARVEL_API int32_t GetResolutionV(int32_t handle);
PARVEL_API int32_t JmGetResolutionV(int32_t handle);
PARVEL_API int32_t GetFreeBuffer(int32_t handle);
PARVEL_API int32_t JmGetFreeBuffer(int32_t handle);
PARVEL_API int32_t GetMediaCounter(int32_t handle);
PARVEL_API int32_t JmGetMediaCounter(int32_t handle);
PARVEL_API int32_t GetMediaIdSetInfo(int32_t handle);

/* The four signed colour offsets of the media, packed high to low. */
PARVEL_API int32_t GetMediaColorOffset(int32_t handle);
PARVEL_API int32_t JmGetMediaColorOffset(int32_t handle);

/* Single-send commands: nonzero when sent. */
PARVEL_API int32_t SetClearCounterA(int32_t handle);
PARVEL_API int32_t JmSetClearCounterA(int32_t handle);
PARVEL_API int32_t SetClearCounterB(int32_t handle);
PARVEL_API int32_t JmSetClearCounterB(int32_t handle);
PARVEL_API int32_t SetFirmwUpdateMode(int32_t handle);
PARVEL_API int32_t JmSetFirmwUpdateMode(int32_t handle);
PARVEL_API int32_t SetColorDataClear(int32_t handle);
PARVEL_API int32_t JmSetColorDataClear(int32_t handle);

/* Transfers, sent in pieces: -1 when a piece before the data failed (or the
 * length is outside 0..99 999 999, and nothing is sent), else the result of
 * the data send. -1 is nonzero: compare with -1 first. SetColorDataVersion
 * sends the data in whole 16-byte units, padding with zero bytes (at most
 * 4096 bytes when it pads). */
PARVEL_API int32_t SetFirmwDataWrite(int32_t handle, const void* data, int32_t length);
PARVEL_API int32_t JmSetFirmwDataWrite(int32_t handle, const void* data, int32_t length);
PARVEL_API int32_t SetColorDataWrite(int32_t handle, const void* data, int32_t length);
PARVEL_API int32_t JmSetColorDataWrite(int32_t handle, const void* data, int32_t length);
PARVEL_API int32_t SetColorDataVersion(int32_t handle, const void* data, int32_t length);
PARVEL_API int32_t JmSetColorDataVersion(int32_t handle, const void* data, int32_t length);

/* Mode commands: -1 when the header failed (or the mode is outside
 * 0..99 999 999, and nothing is sent), else the result of the mode send. */
PARVEL_API int32_t SetCutterMode(int32_t handle, int32_t mode);
PARVEL_API int32_t SetRetentionMode(int32_t handle, int32_t mode);

#ifdef __cplusplus
}
#endif
