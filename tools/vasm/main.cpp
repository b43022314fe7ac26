// vasm SOURCE [-o OUT.rom] [--nibbles OUT.txt] [-I DIR]
#include <cstdio>
#include <string>
#include <vector>

#include "Assembler.h"
#include "FileIo.h"
#include "RomImage.h"

namespace {

constexpr size_t kMaxSourceBytes = 16u << 20;

int usage() {
  std::fprintf(stderr, "usage: vasm SOURCE [-o OUT.rom] [--nibbles OUT.txt] [-I INCLUDE_DIR]\n");
  return 2;
}

// One hex digit per nibble, 64 to a line.
std::string nibbleText(const std::vector<uint8_t>& nibbles) {
  std::string text;
  for (size_t i = 0; i < nibbles.size(); ++i) {
    text.push_back("0123456789ABCDEF"[nibbles[i] & 0xF]);
    if (i % 64 == 63 || i + 1 == nibbles.size()) {
      text.push_back('\n');
    }
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string source;
  std::string romPath;
  std::string nibblePath;
  std::string includeDir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-o" && hasValue) {
      romPath = argv[++i];
    } else if (arg == "--nibbles" && hasValue) {
      nibblePath = argv[++i];
    } else if (arg == "-I" && hasValue) {
      includeDir = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && source.empty()) {
      source = arg;
    } else {
      return usage();
    }
  }
  if (source.empty()) {
    return usage();
  }
  std::vector<uint8_t> text;
  if (const std::string error = tavrel::vasm::readFileBounded(source, kMaxSourceBytes, text);
      !error.empty()) {
    std::fprintf(stderr, "vasm: %s\n", error.c_str());
    return 1;
  }
  const tavrel::vasm::Assembly assembly = tavrel::vasm::assemble(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), includeDir,
      source);
  for (const std::string& error : assembly.errors) {
    std::fprintf(stderr, "%s\n", error.c_str());
  }
  if (!assembly.errors.empty()) {
    return 1;
  }
  if (!romPath.empty()) {
    std::vector<uint8_t> image;
    std::string error = tavrel::vasm::buildRomImage(assembly.nibbles, image);
    if (error.empty()) {
      error = tavrel::vasm::writeFileReplacing(romPath, std::string(image.begin(), image.end()));
    }
    if (!error.empty()) {
      std::fprintf(stderr, "vasm: %s\n", error.c_str());
      return 1;
    }
  }
  if (!nibblePath.empty()) {
    if (const std::string error =
            tavrel::vasm::writeFileReplacing(nibblePath, nibbleText(assembly.nibbles));
        !error.empty()) {
      std::fprintf(stderr, "vasm: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
