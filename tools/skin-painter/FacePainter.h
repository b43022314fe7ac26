#pragma once

#include <QImage>

#include "Geometry.h"
#include "Layout.h"

namespace tavrel::painter {

// The calculator face, window-sized. With a rounded layout, pixels outside the body are fully
// transparent and every other pixel is opaque, so the alpha channel is the window's shape.
QImage paintFace(const Layout& layout, const FaceGeometry& face);

}  // namespace tavrel::painter
