#include <dlfcn.h>

#include <cstring>

#include "status/parvel.h"
#include "status/transport.h"

namespace parvel {

unsigned char CommandBuffer[BufferSize];
unsigned char ReplyBuffer[BufferSize];

namespace {

using MonitorIoControlFn = int (*)(const char16_t* portName, uint32_t controlCode, const void* in,
                                   uint32_t inLength, void* out, uint32_t outSize,
                                   uint32_t* returned);

constexpr int PortSlots = PARVEL_PORT_SLOTS;
constexpr int PortUnits = PARVEL_PORT_NAME_MAX + 1;  // the longest name and its terminator

void* MonitorModule = nullptr;
MonitorIoControlFn MonitorIoControl = nullptr;
// Whether the monitor offers brief receives: -1 until the first poll asks it.
int BriefOffered = -1;
char16_t PortNameTable[PortSlots][PortUnits];
int32_t PortNameCount = 0;

// The whole raw reply of JmGetCommandEX, with room for the terminator that
// JmGetCommand puts after it.
unsigned char RawReplyBuffer[BufferSize + 1];

// The monitor is found through the loader's search, so LD_LIBRARY_PATH can put
// another one in front. It is a needed library of ours, so this load only takes
// another reference to it; it is never released.
__attribute__((constructor)) void Attach() {
    MonitorModule = dlopen("libquillet.so", RTLD_NOW);
    if (MonitorModule != nullptr) {
        MonitorIoControl =
            reinterpret_cast<MonitorIoControlFn>(dlsym(MonitorModule, "MonitorIoControl"));
    }
    PortNameCount = 0;
    BriefOffered = -1;
}

__attribute__((destructor)) void Detach() {
    PortNameCount = 0;
}

// The port name of a handle, or null for a handle that JmInitialize did not
// give out: the exchange then fails before the table is read.
const char16_t* PortOf(int32_t handle) {
    if (handle < 1 || handle > PortNameCount) return nullptr;
    return PortNameTable[handle - 1];
}

// Length of a name in code units, counting at most up to limit.
int BoundedLength(const char16_t* name, int limit) {
    int n = 0;
    while (n < limit && name[n] != u'\0') ++n;
    return n;
}

bool SameName(const char16_t* a, const char16_t* b) {
    for (int i = 0;; ++i) {
        if (a[i] != b[i]) return false;
        if (a[i] == u'\0') return true;
    }
}

// The leading number of the eight header characters: blanks skipped, an
// optional sign, digits up to the first character that is not one. No number
// reads as 0.
int32_t HeaderLength(const unsigned char* header) {
    char text[HeaderSize + 1];
    std::memcpy(text, header, HeaderSize);
    text[HeaderSize] = '\0';
    const char* p = text;
    while (*p == ' ') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int32_t n = 0;
    while (*p >= '0' && *p <= '9') n = n * 10 + (*p++ - '0');
    return negative ? -n : n;
}

// The control code of a receive with that wait. A monitor that does not know the question of
// the brief wait fails it (or answers without a wait), and its polls wait the full timeout.
uint32_t ReceiveCode(const char16_t* port, Wait wait) {
    if (wait == Wait::Full) return IoctlMonitorReceive;
    if (BriefOffered < 0) {
        uint32_t ms = 0;
        uint32_t count = 0;
        BriefOffered = MonitorIoControl(port, IoctlMonitorBriefWait, nullptr, 0, &ms, sizeof ms,
                                        &count) != 0 &&
                       count == sizeof ms && ms > 0;
    }
    return BriefOffered != 0 ? IoctlMonitorReceiveBrief : IoctlMonitorReceive;
}

int32_t GetCommand(int32_t handle, const void* request, int32_t requestLength, void* out,
                   int32_t outSize, int32_t* received, Wait wait) {
    uint32_t count = 0;
    int32_t result = 0;
    const char16_t* port = PortOf(handle);
    if (port != nullptr && MonitorIoControl != nullptr && requestLength >= 0 && outSize >= 0) {
        result = MonitorIoControl(port, ReceiveCode(port, wait), request,
                                  static_cast<uint32_t>(requestLength), out,
                                  static_cast<uint32_t>(outSize), &count);
    }
    // A monitor cannot have written more than it was given room for; a count
    // beyond that must not move the terminator past the caller's buffer.
    const uint32_t room = outSize > 0 ? static_cast<uint32_t>(outSize) : 0;
    if (count > room) count = room;
    if (received != nullptr) *received = static_cast<int32_t>(count);
    if (out != nullptr && outSize >= 0) static_cast<unsigned char*>(out)[count] = 0;
    return result;
}

}  // namespace

int32_t GetPayload(int32_t handle, const void* request, int32_t requestLength, void* out,
                   int32_t outSize, Wait wait) {
    int32_t received = 0;
    if (GetCommand(handle, request, requestLength, RawReplyBuffer, BufferSize, &received, wait) ==
        0) {
        return -1;
    }
    // Bytes past what arrived are an older reply's, and the header is read
    // only from what arrived (the terminator ends it early).
    int32_t n = HeaderLength(RawReplyBuffer);
    int32_t arrived = received > HeaderSize ? received - HeaderSize : 0;
    if (n < 0 || n > arrived || n > outSize || (n > 0 && out == nullptr)) return -1;
    if (n > 0) std::memcpy(out, RawReplyBuffer + HeaderSize, static_cast<size_t>(n));
    return n;
}

}  // namespace parvel

using namespace parvel;

extern "C" {

int32_t JmInitialize(const char16_t* portName) {
    if (portName == nullptr) return -1;
    if (BoundedLength(portName, PortUnits) >= PortUnits) return -1;
    for (int32_t i = 0; i < PortNameCount; ++i) {
        if (SameName(portName, PortNameTable[i])) return i + 1;
    }
    if (PortNameCount >= PortSlots) return -1;
    char16_t* slot = PortNameTable[PortNameCount];
    int i = 0;
    do {
        slot[i] = portName[i];
    } while (portName[i++] != u'\0');
    return ++PortNameCount;
}

int32_t PortInitialize(const char16_t* portName) __attribute__((alias("JmInitialize")));

int32_t JmSetCommand(int32_t handle, const void* data, int32_t length) {
    const char16_t* port = PortOf(handle);
    if (port == nullptr || MonitorIoControl == nullptr || length < 0) return 0;
    uint32_t scratch = 0;
    return MonitorIoControl(port, IoctlMonitorSend, data, static_cast<uint32_t>(length), nullptr, 0,
                            &scratch);
}

int32_t SetCommand(int32_t handle, const void* data, int32_t length)
    __attribute__((alias("JmSetCommand")));

int32_t JmGetCommand(int32_t handle, const void* request, int32_t requestLength, void* out,
                     int32_t outSize, int32_t* received) {
    return GetCommand(handle, request, requestLength, out, outSize, received, Wait::Full);
}

int32_t JmGetCommandEX(int32_t handle, const void* request, int32_t requestLength, void* out,
                       int32_t outSize) {
    return GetPayload(handle, request, requestLength, out, outSize, Wait::Full);
}

int32_t GetCommandEX(int32_t handle, const void* request, int32_t requestLength, void* out,
                     int32_t outSize) __attribute__((alias("JmGetCommandEX")));

}  // extern "C"
