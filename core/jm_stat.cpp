#include "core/jm_stat.h"

#include "core/busy_notice.h"
#include "core/exchange_guard.h"
#include "core/parvel_link.h"

namespace {

BusyNotice* Notice = nullptr;

// Shows the notice for the lifetime of one exchange; an exception from the library still takes
// it down. The notice lets pending events run as it comes and goes; a printer call of theirs would
// land in the middle of this exchange, so they run refused.
class NoticeShown {
public:
    explicit NoticeShown(const char* text) : notice_(Notice) {
        if (notice_ == nullptr) return;
        const EventsDuringExchange events;
        notice_->Indication(text);
    }
    ~NoticeShown() {
        if (notice_ == nullptr) return;
        const EventsDuringExchange events;
        notice_->Extinction();
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

// Each exchange claims the printer before its notice appears and keeps it until the notice is
// gone, so that nothing runs in between. A refused claim shows no notice.
int32_t SendCommand(int32_t port, const void* data, int32_t length) {
    const ExchangeClaim claim;
    if (!claim) return 0;
    NoticeShown shown("SENDING!");
    try {
        return Parvel::JmSetCommand(port, data, length);
    } catch (const Parvel::Unavailable&) {
        return 0;  // no library, no printer: the transfer failed
    }
}

int32_t ReceiveCommand(int32_t port, const void* request, int32_t requestLength, void* out,
                       int32_t outSize) {
    const ExchangeClaim claim;
    if (!claim) return -1;
    NoticeShown shown("RECEIVING!");
    try {
        return Parvel::JmGetCommandEX(port, request, requestLength, out, outSize);
    } catch (const Parvel::Unavailable&) {
        return -1;
    }
}

}  // namespace JmStat
