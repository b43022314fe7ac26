#include "tavrel/statexport/link/UsbTransport.h"

#include <libusb.h>

#include <algorithm>

namespace tavrel::statexport::link {

namespace {

using Clock = std::chrono::steady_clock;

// Reads wait in short transfers so that interruptRead takes effect soon.
constexpr std::chrono::milliseconds kReadPiece{50};

struct BulkPipes {
  int interface = -1;
  std::uint8_t in = 0;   // pipe 0, calculator to us
  std::uint8_t out = 0;  // pipe 1, us to calculator
};

// The first interface that has both a bulk-in and a bulk-out endpoint.
BulkPipes findBulkPipes(libusb_device* device) {
  BulkPipes pipes;
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != 0) {
    return pipes;
  }
  for (int i = 0; i < config->bNumInterfaces && pipes.interface < 0; ++i) {
    if (config->interface[i].num_altsetting < 1) {
      continue;
    }
    const libusb_interface_descriptor& setting = config->interface[i].altsetting[0];
    std::uint8_t in = 0;
    std::uint8_t out = 0;
    for (int e = 0; e < setting.bNumEndpoints; ++e) {
      const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
      if ((endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK) {
        continue;
      }
      const bool isIn =
          (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
      std::uint8_t& slot = isIn ? in : out;
      if (slot == 0) {
        slot = endpoint.bEndpointAddress;
      }
    }
    if (in != 0 && out != 0) {
      pipes = {setting.bInterfaceNumber, in, out};
    }
  }
  libusb_free_config_descriptor(config);
  return pipes;
}

}  // namespace

UsbTransport::UsbTransport(std::uint16_t vendorId, std::uint16_t productId)
    : vendorId_(vendorId), productId_(productId) {
  if (libusb_init(&context_) != 0) {
    context_ = nullptr;
  }
}

UsbTransport::~UsbTransport() {
  close();
  if (context_) {
    libusb_exit(context_);
  }
}

libusb_device_handle* UsbTransport::openDevice() {
  if (!context_) {
    return nullptr;
  }
  libusb_device** devices = nullptr;
  const ssize_t count = libusb_get_device_list(context_, &devices);
  libusb_device_handle* handle = nullptr;
  for (ssize_t i = 0; i < count && !handle; ++i) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(devices[i], &descriptor) == 0 &&
        descriptor.idVendor == vendorId_ && descriptor.idProduct == productId_ &&
        libusb_open(devices[i], &handle) != 0) {
      handle = nullptr;
    }
  }
  if (count >= 0) {
    libusb_free_device_list(devices, 1);
  }
  return handle;
}

bool UsbTransport::isPresent() {
  if (handle_) {
    // Asking the open device for its configuration fails once it is unplugged.
    int configuration = 0;
    return libusb_get_configuration(handle_, &configuration) == 0;
  }
  libusb_device_handle* probe = openDevice();
  if (!probe) {
    return false;
  }
  libusb_close(probe);
  return true;
}

bool UsbTransport::open() {
  if (handle_) {
    return true;
  }
  libusb_device_handle* handle = openDevice();
  if (!handle) {
    return false;
  }
  const BulkPipes pipes = findBulkPipes(libusb_get_device(handle));
  libusb_set_auto_detach_kernel_driver(handle, 1);
  if (pipes.interface < 0 || libusb_claim_interface(handle, pipes.interface) != 0) {
    libusb_close(handle);
    return false;
  }
  interface_ = pipes.interface;
  inEndpoint_ = pipes.in;
  outEndpoint_ = pipes.out;
  interrupted_ = false;
  handle_ = handle;
  return true;
}

void UsbTransport::close() {
  if (!handle_) {
    return;
  }
  libusb_release_interface(handle_, interface_);
  libusb_close(handle_);
  handle_ = nullptr;
}

TransportRead UsbTransport::read(std::uint8_t* buffer, std::size_t capacity,
                                 std::chrono::milliseconds timeout) {
  if (!handle_) {
    return {0, true};
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    if (interrupted_.exchange(false)) {
      return {0, false};
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const auto piece = std::clamp(left, std::chrono::milliseconds(1), kReadPiece);
    int transferred = 0;
    const int status =
        libusb_bulk_transfer(handle_, inEndpoint_, buffer, static_cast<int>(capacity), &transferred,
                             static_cast<unsigned>(piece.count()));
    if (transferred > 0) {
      return {static_cast<std::size_t>(transferred), false};
    }
    if (status != 0 && status != LIBUSB_ERROR_TIMEOUT) {
      return {0, true};
    }
    if (Clock::now() >= deadline) {
      return {0, false};
    }
  }
}

std::size_t UsbTransport::write(const std::uint8_t* bytes, std::size_t count,
                                std::chrono::milliseconds timeout) {
  if (!handle_) {
    return 0;
  }
  int transferred = 0;
  libusb_bulk_transfer(handle_, outEndpoint_, const_cast<std::uint8_t*>(bytes),
                       static_cast<int>(count), &transferred,
                       static_cast<unsigned>(timeout.count()));
  return transferred > 0 ? static_cast<std::size_t>(transferred) : 0;
}

}  // namespace tavrel::statexport::link
