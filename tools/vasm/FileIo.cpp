#include "FileIo.h"

#include <fstream>
#include <system_error>

namespace tavrel::vasm {

std::string readFileBounded(const std::filesystem::path& path, size_t limit,
                            std::vector<uint8_t>& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return "cannot open " + path.string();
  }
  content.assign(limit + 1, 0);
  in.read(reinterpret_cast<char*>(content.data()), static_cast<std::streamsize>(content.size()));
  if (in.bad()) {
    return "cannot read " + path.string();
  }
  content.resize(static_cast<size_t>(in.gcount()));
  if (content.size() > limit) {
    return path.string() + " is larger than " + std::to_string(limit) + " bytes";
  }
  return {};
}

std::string writeFileReplacing(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return "cannot write " + path.string();
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return "cannot replace " + path.string();
  }
  return {};
}

}  // namespace tavrel::vasm
