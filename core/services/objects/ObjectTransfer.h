// Loading text and objects onto the running calculator's stack, and reading its level 1.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "objects/CalculatorStack.h"
#include "objects/ObjectFiles.h"

namespace tavrel::core::objects {

// Runs `work` on the booted machine with the interpreter paused and the emulation lock held;
// the interpreter is resumed afterwards only when it was running before. Before boot `work`
// gets null.
void withCalculatorHeld(const std::function<void(machine::Machine*)>& work);

// Places the image on the calculator's stack (see insertObject of CalculatorStack.h); before
// boot there is no room at all.
void insertObject(const ObjectImage& image);
// The characters as a string object on the stack.
void insertString(std::span<const std::uint8_t> characters);

// An open file to load from: its descriptor, its size (0 when unknown) and the bytes already
// read from its start (up to 8).
struct LoadSource {
  int fd = -1;
  std::uint64_t size = 0;
  std::span<const std::uint8_t> firstBytes;
};
void loadTextFile(const LoadSource& file);
void loadObjectFile(const LoadSource& file);

// "key_down KEY_ON", 100 ms, "key_up KEY_ON": the calculator redraws its stack.
void pressOnKey();

// "load_file": a state file, an object file or text, by the file's first bytes; the ON key
// is pressed after text and objects.
void loadFile(const std::u16string& path);

}  // namespace tavrel::core::objects
