#include "core/jm_stat.h"

#include "core/busy_notice.h"
#include "core/parvel_link.h"

namespace {

BusyNotice* Notice = nullptr;

// Shows the notice for the lifetime of one exchange; an exception from the library still takes
// it down.
class NoticeShown {
public:
    explicit NoticeShown(const char* text) : notice_(Notice) {
        if (notice_ != nullptr) notice_->Indication(text);
    }
    ~NoticeShown() {
        if (notice_ != nullptr) notice_->Extinction();
    }
    NoticeShown(const NoticeShown&) = delete;
    NoticeShown& operator=(const NoticeShown&) = delete;

private:
    BusyNotice* notice_;
};

}  // namespace

void SetBusyNotice(BusyNotice* notice) {
    Notice = notice;
}

namespace JmStat {

int32_t SendCommand(int32_t port, const void* data, int32_t length) {
    NoticeShown shown("SENDING!");
    try {
        return Parvel::JmSetCommand(port, data, length);
    } catch (const Parvel::Unavailable&) {
        return 0;  // no library, no printer: the transfer failed
    }
}

int32_t ReceiveCommand(int32_t port, const void* request, int32_t requestLength, void* out,
                       int32_t outSize) {
    NoticeShown shown("RECEIVING!");
    try {
        return Parvel::JmGetCommandEX(port, request, requestLength, out, outSize);
    } catch (const Parvel::Unavailable&) {
        return -1;
    }
}

}  // namespace JmStat
