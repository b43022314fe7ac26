#pragma once

#include <QByteArray>
#include <QString>

#include "Geometry.h"
#include "Layout.h"

namespace tavrel::painter {

// File names of the painted pictures inside the skin folder.
inline constexpr char kFaceImage[] = "face.png";
inline constexpr char kRegionFile[] = "face.rgn";
inline constexpr char kWindowIcons[] = "annunciators.png";
inline constexpr char kFullscreenIcons[] = "annunciators_full.png";
// The GUI export that draws a key region pressed.
inline constexpr char kPressPainter[] = "pressViewportRegion";

// skin.xml: the template with its placeholders filled from the layout and the geometry.
// Throws std::runtime_error when the template lacks a placeholder or has an unknown one.
QByteArray skinXml(const QString& templateText, const Layout& layout, const FaceGeometry& face);

}  // namespace tavrel::painter
