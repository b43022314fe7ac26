#include "CoreStateFixture.h"

#include <unistd.h>

#include <fstream>

#include "settings/CoreSettings.h"
#include "state/StateCommands.h"
#include "tavrel/Text.h"

namespace tavrel::core_state_test {

void CoreStateFixture::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "core_state.XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  std::filesystem::create_directories(folder_ / "machine");
  registry_ = std::make_unique<CRegistry>(wide(folder_ / "user.settings"),
                                          wide(folder_ / "machine" / "store.settings"));
  core::bindCoreSettings(registry_.get(), u"");
  calc_ = std::make_unique<firmware_test::DemoCalculator>();
  core_ = std::make_unique<DemoCoreAccess>(calc_->machine());
  core::setCoreAccess(core_.get());
  core::forgetRememberedState();
  ui_.setEcho(false);
  previousUi_ = gui::setHostUi(&ui_);
}

void CoreStateFixture::TearDown() {
  gui::setHostUi(previousUi_);
  core::setCoreAccess(nullptr);
  core::bindCoreSettings(nullptr, u"");
  core::forgetRememberedState();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::u16string CoreStateFixture::wide(const std::filesystem::path& path) {
  return fromUtf8(path.string());
}

std::vector<std::uint8_t> CoreStateFixture::bytesOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CoreStateFixture::writeBytes(const std::filesystem::path& path,
                                  const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::u16string> CoreStateFixture::messages() const {
  std::vector<std::u16string> shown;
  for (const gui::HostUiCall& call : ui_.calls()) {
    if (call.kind == gui::HostUiCall::Kind::Message)
      shown.push_back(call.message.title + u": " + call.message.text);
  }
  return shown;
}

std::vector<gui::HostUiCall> CoreStateFixture::dialogs() const {
  std::vector<gui::HostUiCall> shown;
  for (const gui::HostUiCall& call : ui_.calls()) {
    if (call.kind != gui::HostUiCall::Kind::Message)
      shown.push_back(call);
  }
  return shown;
}

}  // namespace tavrel::core_state_test
