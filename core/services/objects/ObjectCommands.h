// The object-transfer commands: "load_file", "load_object", "load_string", "store_object",
// "store_string".
#pragma once

#include <string>

namespace tavrel::core::objects {

void loadFileCommand(const std::u16string& path);  // "load_file"
void loadObjectCommand();                          // "load_object"
void loadStringCommand();                          // "load_string"
void storeObjectCommand();                         // "store_object"
void storeStringCommand();                         // "store_string"

// A chosen object-file name keeps the extension "vobj" or "bin"; any other gets ".vobj".
std::u16string withObjectExtension(std::u16string path);

}  // namespace tavrel::core::objects
