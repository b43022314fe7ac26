#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include "Geometry.h"

namespace tavrel::painter {

// The six annunciator icons side by side on a transparent background, in the order of the
// core's annunciator lines: transmit, shift, right shift, alpha, alert, busy.
QImage paintAnnunciators(const IconStrip& strip, const QColor& ink, const QString& fontFamily);

}  // namespace tavrel::painter
