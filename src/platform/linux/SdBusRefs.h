#pragma once

// Owners of sd-bus objects that free them when they go.
#include <systemd/sd-bus.h>

namespace tramble::platform {

struct MessageRef {
    sd_bus_message* message = nullptr;
    MessageRef() = default;
    MessageRef(const MessageRef&) = delete;
    MessageRef& operator=(const MessageRef&) = delete;
    ~MessageRef() { sd_bus_message_unref(message); }
};

struct ErrorRef {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ErrorRef() = default;
    ErrorRef(const ErrorRef&) = delete;
    ErrorRef& operator=(const ErrorRef&) = delete;
    ~ErrorRef() { sd_bus_error_free(&error); }
};

} // namespace tramble::platform
