#pragma once

#include <string>

#include "keys/KeyCommands.h"
#include "tavrel/gui/SkinView.h"

namespace tavrel {

// What a skin's "skin.xml" says about the skin as a whole.
struct SkinDescription {
  gui::SkinViewDescription floating;
  gui::SkinViewDescription fullscreen;
  // "data/ROM/" + the file the skin names; empty when it names none.
  std::u16string romPath;
  // The core plug-in's file name; empty when the skin names none.
  std::u16string coreLibrary;
  KeyNameIndex keyNameIndex;

  // The state before a skin file is read: nothing from the skin read before (so a skin that
  // names no ROM is seen as such), a rectangular windowed view and the fullscreen style.
  void prepareLoad() {
    *this = SkinDescription{};
    floating.style = gui::kStyleWindow;
    fullscreen.style = gui::kStyleFullscreen;
  }
};

}  // namespace tavrel
