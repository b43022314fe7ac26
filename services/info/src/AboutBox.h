#pragma once

#include <QImage>
#include <QString>

#include "tavrel/gui/SkinInfo.h"

namespace tavrel::info {

// What the about box shows: the loaded skin's description and picture, and the program.
struct AboutBox {
  gui::SkinInfo skin;
  QImage picture;
};

// The box's title: "About " and the skin's name, or the program's name without a skin.
QString aboutTitle(const AboutBox& box);
// The box's text in plain lines, for a message box.
QString aboutText(const AboutBox& box);

}  // namespace tavrel::info
