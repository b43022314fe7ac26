#include "DatavaneApp.h"

#include <cstdio>

#include "FirmwareImage.h"
#include "Machine.h"
#include "Memory.h"
#include "Readings.h"

namespace tavrel::core::datavane {
namespace {

constexpr std::uint8_t kSamplesPacket = 2;  // four 16-bit readings, high byte first
constexpr std::uint8_t kSensorsPacket = 4;  // the sensor number of each channel
constexpr std::uint32_t kStoredLimit = 0xFFFF;
constexpr std::uint32_t kPackedNibbles = 16;

// View values: their start and range (vertical scale, vertical offset in 16s, horizontal
// scale, first sample shown).
constexpr std::array<std::uint16_t, kViewValues> kViewDefaults = {1524, 0, 1, 0};

}  // namespace

int stepFromFlags(std::uint32_t flags) {
  if (flags & 0x80) {
    return 20;
  }
  return (flags & 0x40) ? 5 : 1;
}

DatavaneApp::DatavaneApp(PortFactory factory, LinkTiming timing, std::filesystem::path firmware)
    : timing_(std::move(timing)),
      link_(std::move(factory), timing_),
      firmware_(std::move(firmware)) {}

void DatavaneApp::serve(machine::Machine& m) {
  const ServiceCall call{m.vm.D0 & machine::kAddressMask, m.vm.R0.lo & 0xFFFFF,
                         (m.vm.B.lo >> 1) & 0x7FFFF, m.vm.R4.lo};
  const std::uint32_t code = run(m, call);
  m.vm.A.lo = (m.vm.A.lo & ~0xFFFFFu) | code;
  m.vm.carry = code != kServiceDone ? 1 : 0;
}

std::uint32_t DatavaneApp::run(machine::Machine& m, const ServiceCall& call) {
  ContextRecord record(m, call.context);
  Context c = record.load();
  if (call.service >= kServiceLimit || (call.service != 0 && c.channelCount == 0)) {
    return kServiceRefused;
  }
  switch (call.service) {
    case 0:
      initialise(c, call.second);
      if (link_.ensureOpen()) {
        startAcquisition(c);
        link_.reset();
      }
      record.store(c);
      draw(m, record, c);
      break;
    case 2:
      resetTimeBase(c);
      pollLogger(record, c);
      exportStep(m, record, c);
      record.store(c);
      draw(m, record, c);
      break;
    case 3:
      resetTimeBase(c);
      pollLogger(record, c);
      if (c.flags & kFlagPending) {
        storeReading(m, c, record.sample(c, c.samplesKept() - 1));
        c.flags &= ~kFlagPending;
      }
      record.store(c);
      draw(m, record, c);
      break;
    case 4:
      resetTimeBase(c);
      record.store(c);
      break;
    case 5:
      c.flags &= ~kFlagTimeBase;
      record.store(c);
      break;
    default:
      interactive(m, record, c, call.flags);
      record.store(c);
      break;
  }
  return kServiceDone;
}

void DatavaneApp::initialise(Context& c, std::uint32_t second) {
  Context fresh;
  fresh.channelCount = c.channelCount;
  fresh.channels = c.channels;
  fresh.startAddress = (second << 1) & machine::kAddressMask;
  fresh.view = kViewDefaults;
  fresh.heldKey = kNoKey;
  for (int i = 0; i < kChannels; ++i) {
    if (c.channels[i].isOn()) {
      fresh.currentChannel = static_cast<std::uint8_t>(i);
      break;
    }
  }
  c = fresh;
  resetTimeBase(c);
}

void DatavaneApp::resetTimeBase(Context& c) {
  c.timeBase = timing_.nowMs();
  c.flags |= kFlagTimeBase;
}

bool DatavaneApp::send(Context& c, std::uint8_t command, std::span<const std::uint8_t> payload) {
  if (!link_.sendPacket(command, payload)) {
    return false;
  }
  c.lastCommand = command;
  if (command == kKeepAlive) {
    c.lastKeepAlive = timing_.nowMs();
    c.state |= kStateKeptAlive;
  }
  return true;
}

void DatavaneApp::startAcquisition(Context& c) {
  send(c, kKeepAlive);
  timing_.sleepMs(kStartPauseMs);
  const auto payload = startPayload(c.channels);
  if (send(c, kStartChannels, payload)) {
    c.state |= kStateAcquiring;
    c.sampleCount = 0;
    c.sampleHead = 0;
    c.flags &= ~kFlagPending;
    resetTimeBase(c);
  }
}

void DatavaneApp::stopAcquisition(Context& c) {
  send(c, kStop);
  c.state &= ~kStateAcquiring;
}

void DatavaneApp::keepAliveIfDue(Context& c) {
  if (!link_.isOpen()) {
    return;
  }
  const bool due = !(c.state & kStateKeptAlive) || timing_.nowMs() - c.lastKeepAlive > kKeepAliveMs;
  if (due) {
    send(c, kKeepAlive);
  }
}

void DatavaneApp::pollLogger(ContextRecord& record, Context& c) {
  for (const LinkEvent& event : link_.poll()) {
    if (event.kind != LinkEvent::Kind::kPacket) {
      continue;
    }
    if (event.code == kSensorsPacket && event.payload.size() == kChannels) {
      for (int i = 0; i < kChannels; ++i) {
        c.channels[i].sensor = event.payload[i];
      }
    } else if (event.code == kSamplesPacket && event.payload.size() == 2 * kChannels &&
               (c.state & kStateAcquiring) && (c.flags & kFlagTimeBase)) {
      Sample sample;
      sample.timeMs = timing_.nowMs() - c.timeBase;
      for (int i = 0; i < kChannels; ++i) {
        sample.raw[i] =
            static_cast<std::uint16_t>((event.payload[2 * i] << 8) | event.payload[2 * i + 1]);
      }
      record.appendSample(c, sample);
      c.flags |= kFlagPending;
    }
  }
}

void DatavaneApp::storeReading(machine::Machine& m, Context& c, const Sample& sample) {
  if (c.storedCount >= kStoredLimit) {
    return;
  }
  const std::uint8_t cls = sensorClass(c.channels[c.currentChannel].sensor);
  const BcdReal value = readingOf(sample.raw[c.currentChannel], cls);
  const PackedReal packed = fPack(&value);
  const std::uint32_t at = c.startAddress + kPackedNibbles * c.storedCount;
  machine::writeNibbles(m, at, static_cast<std::uint32_t>(packed), 8);
  machine::writeNibbles(m, at + 8, static_cast<std::uint32_t>(packed >> 32), 8);
  ++c.storedCount;
}

void DatavaneApp::exportStep(machine::Machine& m, ContextRecord& record, Context& c) {
  if (!(c.flags & kFlagExport)) {
    c.flags |= kFlagExport;
    c.exportIndex = 0;
  }
  if (c.exportIndex < c.samplesKept()) {
    storeReading(m, c, record.sample(c, c.exportIndex));
    ++c.exportIndex;
  }
  if (c.exportIndex >= c.samplesKept()) {
    c.flags &= ~kFlagExport;
  }
}

void DatavaneApp::uploadFirmware(Context& c) {
  if (!link_.ensureOpen()) {
    lastUpload_ = UploadResult::kPortClosed;
    return;
  }
  FirmwareLoad load = loadFirmwareImage(firmware_);
  if (!load.image) {
    std::fprintf(stderr, "Datavane: %s\n", load.error.c_str());
    lastUpload_ = UploadResult::kNoImage;
    return;
  }
  lastUpload_ = datavane::uploadFirmware(*link_.port(), *load.image, timing_);
  c.lastCommand = kStartUpload;
  c.state &= ~kStateAcquiring;
  link_.reset();
}

}  // namespace tavrel::core::datavane
