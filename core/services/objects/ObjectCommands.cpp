#include "objects/ObjectCommands.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>
#include <string_view>

#include "objects/CalculatorStack.h"
#include "objects/ObjectTransfer.h"
#include "objects/TransferFailures.h"
#include "os/CurrentDirectoryKept.h"
#include "os/FileDescriptor.h"
#include "tavrel/HostUi.h"
#include "tavrel/Text.h"

namespace tavrel::core::objects {
namespace {

gui::FileDialogRequest objectDialog(std::uint32_t flags) {
  gui::FileDialogRequest request;
  request.filter = u"ZR Calvane Object Files (*.vobj;*.bin)";
  request.defaultExtension = u"vobj";
  request.flags = flags;
  return request;
}

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
    return lower(x) == lower(y);
  });
}

// The image of the object at level 1, copied while the calculator is held. `storable` objects
// get the second, shorter sizing as object files do.
std::vector<std::uint8_t> level1Image(bool storable) {
  std::vector<std::uint8_t> image;
  withCalculatorHeld([&](machine::Machine* m) {
    if (m == nullptr)
      raiseNoObject();
    const StackObject object = readLevel1(*m);
    const std::uint32_t nibbles =
        storable ? storableObjectSize(*m, object.address) : object.nibbles;
    if (nibbles <= kSmallestInvalidSize)
      raiseNoValidObject();
    image = objectImageAt(*m, object.address, nibbles);
  });
  return image;
}

}  // namespace

std::u16string withObjectExtension(std::u16string path) {
  const std::size_t nameStart = path.find_last_of(u"\\/");
  const std::size_t dot = path.rfind(u'.');
  const bool hasDot =
      dot != std::u16string::npos && (nameStart == std::u16string::npos || dot > nameStart);
  const std::u16string_view extension =
      hasDot ? std::u16string_view(path).substr(dot + 1) : std::u16string_view();
  if (!sameIgnoringCase(extension, u"vobj") && !sameIgnoringCase(extension, u"bin"))
    path += u".vobj";
  return path;
}

void loadFileCommand(const std::u16string& path) {
  loadFile(path);
}

void loadObjectCommand() {
  std::optional<std::u16string> chosen;
  {
    os::CurrentDirectoryKept directory;
    chosen = gui::hostUi().openFileName(objectDialog(gui::kFileMustExist | gui::kPathMustExist));
  }
  if (chosen)
    loadFile(*chosen);
}

void loadStringCommand() {
  const std::optional<std::u16string> text = gui::hostUi().clipboardText();
  if (!text)
    raiseClipboardNotString();
  const std::string characters = toEightBit(*text);
  insertString({reinterpret_cast<const std::uint8_t*>(characters.data()), characters.size()});
  pressOnKey();
}

void storeStringCommand() {
  std::vector<std::uint8_t> image;
  try {
    image = level1Image(false);
  } catch (const std::bad_alloc&) {
    return;
  }
  if (!isStringImage(image))
    raiseNotString();
  if (!gui::hostUi().setClipboardText(fromEightBit(stringCharacters(image))))
    raiseCannotWriteClipboard();
}

void storeObjectCommand() {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = objectFileBytes(level1Image(true));
  } catch (const std::bad_alloc&) {
    return;
  }
  std::optional<std::u16string> chosen;
  {
    os::CurrentDirectoryKept directory;
    chosen = gui::hostUi().saveFileName(objectDialog(gui::kOverwritePrompt));
  }
  if (!chosen)
    return;
  const std::filesystem::path target(toUtf8(withObjectExtension(*chosen)));
  if (os::replaceFile(target, [&](int fd) { return os::writeFully(fd, bytes); }) !=
      os::ReplaceResult::Replaced)
    raiseCannotWriteFile();
}

}  // namespace tavrel::core::objects
