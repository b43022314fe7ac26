// Any file given to "load_file": what it loads as must be a well-formed image that the same
// conversion gives back unchanged, and a file whose size is unknown (a pipe) must load the
// same way.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "objects/ObjectFiles.h"

namespace {

using tavrel::core::objects::FileKind;
using tavrel::core::objects::FileLoad;
using tavrel::core::objects::LoadFailure;
namespace objects = tavrel::core::objects;

void check(bool condition) {
  if (!condition)
    std::abort();
}

void checkImage(const FileLoad& load, std::span<const std::uint8_t> file) {
  const objects::ObjectImage& image = load.image;
  check(image.nibbles > objects::kSmallestInvalidSize);
  check(image.bytes.size() == (image.nibbles + 1) / 2);
  if (load.kind == FileKind::Text) {
    check(image.nibbles == 2 * file.size() + 10);
    check(objects::isStringImage(image.bytes));
    return;
  }
  check(image.bytes.size() <= file.size() - objects::kObjectHeaderBytes);
  // Stored and loaded again, the object is the same.
  const std::vector<std::uint8_t> stored = objects::objectFileBytes(image.bytes);
  const FileLoad again = objects::fileLoad(stored, stored.size());
  check(again.failure == LoadFailure::None && again.image.nibbles == image.nibbles &&
        again.image.bytes == image.bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that any read past the end is caught.
  const std::vector<std::uint8_t> file(data, data + size);
  const FileLoad load = objects::fileLoad(file, file.size());
  const FileLoad piped = objects::fileLoad(file, 0);
  check(load.kind == piped.kind && load.failure == piped.failure &&
        load.image.bytes == piped.image.bytes);
  if (load.failure == LoadFailure::None && load.kind != FileKind::State)
    checkImage(load, file);
  return 0;
}
