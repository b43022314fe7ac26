#pragma once

#include <QWidget>
#include <memory>

#include "PreferenceEntry.h"

namespace tavrel::prefs {

// The controls of one entry, showing its value now; the user's changes go to its handlers.
// The widgets are named after the entry (the track bar's position text: name + " position").
QWidget* makeEntryWidget(const std::shared_ptr<CPreferenceEntry>& entry, QWidget* parent);

}  // namespace tavrel::prefs
