// "export_statfolio": the folio image taken from the calculator and the exporter binding.
#include <cstdlib>
#include <fstream>

#include "CoreStateFixture.h"
#include "Memory.h"
#include "settings/ExporterBinding.h"
#include "settings/FolioExport.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::core_state_test {
namespace {

class FolioExportTest : public CoreStateFixture {
 protected:
  void SetUp() override {
    CoreStateFixture::SetUp();
    record_ = file("received.bin");
    ::setenv("TAVREL_RECORDED_FOLIO", record_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("TAVREL_RECORDED_FOLIO");
    CoreStateFixture::TearDown();
  }
  // A program folder with the recording exporter where the binding looks for it.
  std::filesystem::path programWithExporter(const std::filesystem::path& where) {
    const std::filesystem::path program = file("program");
    std::filesystem::create_directories(program / where);
    std::filesystem::copy_file(RECORDING_EXPORTER, program / where / "ZRStatFolioExport.so");
    return program;
  }
  // The nibbles at address, packed the way the exporter expects them.
  std::vector<std::uint8_t> packedFromMemory(uint32_t address, std::size_t bytes) {
    std::vector<std::uint8_t> packed(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
      packed[i] = static_cast<std::uint8_t>(machine::readNibbles(machine(), address + 2 * i, 2));
    }
    return packed;
  }

  std::filesystem::path record_;
};

TEST_F(FolioExportTest, ImageIsTheFolioDirectoryAsTheCalculatorKeepsIt) {
  const uint32_t folio = machine::read5(machine(), core::kStatFolioPointer);
  ASSERT_EQ(folio, 0x91000u);
  const std::vector<std::uint8_t> image = core::statFolioImage(machine());
  ASSERT_GT(image.size(), 63u * 5);
  // A directory prolog, 02A96, lowest nibble first.
  EXPECT_EQ(image[0], 0x96);
  EXPECT_EQ(image[1], 0x2A);
  EXPECT_EQ(image[2] & 0x0F, 0x0);
  const std::vector<std::uint8_t> expected = packedFromMemory(folio, image.size());
  // The last byte of an odd-sized object holds only its last nibble.
  EXPECT_TRUE(std::equal(image.begin(), image.end() - 1, expected.begin()));
}

TEST_F(FolioExportTest, ImageGrowsWithStatisticsEntries) {
  const std::size_t empty = core::statFolioImage(machine()).size();
  calc_->press(firmware_test::key::kF3);
  calc_->type("1.5 2 3 ");
  const std::vector<std::uint8_t> image = core::statFolioImage(machine());
  EXPECT_GT(image.size(), empty);
  const uint32_t folio = machine::read5(machine(), core::kStatFolioPointer);
  const std::vector<std::uint8_t> expected = packedFromMemory(folio, image.size());
  EXPECT_TRUE(std::equal(image.begin(), image.end() - 1, expected.begin()));
}

TEST_F(FolioExportTest, NoFolioAddressIsAStoreFailure) {
  machine::writeNibbles(machine(), core::kStatFolioPointer, 0, 5);
  ASSERT_EQ(machine::read5(machine(), core::kStatFolioPointer), 0u);
  try {
    core::statFolioImage(machine());
    FAIL() << "no failure";
  } catch (const excpt::ObjectStoreException5007& failure) {
    EXPECT_EQ(failure.handler().message, u"Not in a valid mode to store objects.");
  }
}

TEST_F(FolioExportTest, ExporterInTheComponentsFolderGetsTheImageAndTheDirectoryIsKept) {
  core::CExporterBinding binding(programWithExporter("components"));
  const std::vector<std::uint8_t> image = core::statFolioImage(machine());
  const std::filesystem::path before = std::filesystem::current_path();
  EXPECT_TRUE(binding.exportFolio(image.data(), image.size()));
  EXPECT_EQ(std::filesystem::current_path(), before);  // the exporter moved to "/"
  std::vector<std::uint8_t> expected = image;
  for (char c : std::string("null"))
    expected.push_back(static_cast<std::uint8_t>(c));
  EXPECT_TRUE(bytesOf(record_) == expected);
}

TEST_F(FolioExportTest, ExporterBesideTheProgramComesFirst) {
  const std::filesystem::path program = programWithExporter(".");
  std::filesystem::create_directories(program / "components");
  writeBytes(program / "components" / "ZRStatFolioExport.so", {0, 1, 2});
  core::CExporterBinding binding(program);
  ASSERT_TRUE(binding.load());
  EXPECT_EQ(std::filesystem::path(binding.libraryFile()).parent_path().filename(), "program");
  binding.unload();
}

TEST_F(FolioExportTest, MissingExporterDoesNothing) {
  core::CExporterBinding binding(file("empty program"));
  const std::uint8_t image[] = {1, 2, 3};
  EXPECT_FALSE(binding.exportFolio(image, sizeof image));
  EXPECT_FALSE(std::filesystem::exists(record_));
  EXPECT_TRUE(messages().empty());
}

// The command as the shell runs it, with the exporter beside the test program.
TEST_F(FolioExportTest, CommandHandsTheFolioToTheExporter) {
  const std::filesystem::path besideProgram = core::programDirectory() / "ZRStatFolioExport.so";
  std::filesystem::copy_file(RECORDING_EXPORTER, besideProgram,
                             std::filesystem::copy_options::overwrite_existing);
  core::exportStatFolio();
  std::filesystem::remove(besideProgram);
  std::vector<std::uint8_t> expected = core::statFolioImage(machine());
  for (char c : std::string("null"))
    expected.push_back(static_cast<std::uint8_t>(c));
  EXPECT_TRUE(bytesOf(record_) == expected);
  EXPECT_EQ(core_->pauses, core_->resumes);
  EXPECT_EQ(core_->pauses, 1);
}

}  // namespace
}  // namespace tavrel::core_state_test
