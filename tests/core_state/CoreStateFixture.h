// A demo calculator, its settings store and a scripted desktop for the state-file and export
// commands. The machine runs on the test's thread, so pausing is only counted.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DemoCalculator.h"
#include "settings/CoreAccess.h"
#include "tavrel/Registry.h"
#include "tavrel/ScriptedHostUi.h"

namespace tavrel::core_state_test {

class DemoCoreAccess final : public core::ICoreAccess {
 public:
  explicit DemoCoreAccess(machine::Machine& m) : machine_(m) {}
  machine::Machine* machine() override { return &machine_; }
  void pause() override { ++pauses; }
  void resume() override { ++resumes; }
  std::mutex& emulationLock() override { return lock_; }
  std::int64_t clockOffset() override { return offset; }
  void setClockOffset(std::int64_t value) override { offset = value; }
  std::u16string skinName() override { return skin; }

  int pauses = 0;
  int resumes = 0;
  std::int64_t offset = 0;
  std::u16string skin = u"Demo Blue (large)";

 private:
  machine::Machine& machine_;
  std::mutex lock_;
};

class CoreStateFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  machine::Machine& machine() { return calc_->machine(); }
  std::filesystem::path file(const std::string& name) const { return folder_ / name; }
  static std::u16string wide(const std::filesystem::path& path);
  static std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path);
  static void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

  // Messages shown so far, as "title: text".
  std::vector<std::u16string> messages() const;
  std::vector<gui::HostUiCall> dialogs() const;

  std::unique_ptr<firmware_test::DemoCalculator> calc_;
  std::unique_ptr<DemoCoreAccess> core_;
  std::unique_ptr<CRegistry> registry_;
  gui::CScriptedHostUi ui_;
  std::filesystem::path folder_;

 private:
  gui::IHostUi* previousUi_ = nullptr;
};

}  // namespace tavrel::core_state_test
