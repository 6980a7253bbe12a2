// A monitor that loads but has no MonitorIoControl: the status library must
// still load and fail every exchange.
extern "C" int standin_bare_monitor(void) {
    return 1;
}
