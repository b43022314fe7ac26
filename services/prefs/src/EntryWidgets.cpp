#include "EntryWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

namespace tavrel::prefs {
namespace {

using Entry = std::shared_ptr<CPreferenceEntry>;

QString toQString(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

// Runs use(the entry's control of type T) unless the entry has been removed.
template <class T, class Use>
void withControl(const Entry& entry, Use&& use) {
  entry->call([&](const EntryControl& control) {
    if (const T* typed = std::get_if<T>(&control)) {
      use(*typed);
    }
  });
}

void applyFont(QWidget& widget, const Entry& entry) {
  if (!entry->font().empty()) {
    QFont font = widget.font();
    font.setFamily(toQString(entry->font()));
    widget.setFont(font);
  }
}

QWidget* makeCheckBox(const Entry& entry, QWidget* parent) {
  auto* box = new QCheckBox(toQString(entry->label()), parent);
  box->setObjectName(toQString(entry->name()));
  applyFont(*box, entry);
  withControl<gui::CheckBoxEntry>(entry, [box](const gui::CheckBoxEntry& control) {
    if (control.value) {
      box->setChecked(control.value());
    }
  });
  QObject::connect(box, &QCheckBox::clicked, box, [entry](bool checked) {
    withControl<gui::CheckBoxEntry>(entry, [checked](const gui::CheckBoxEntry& control) {
      if (control.changed) {
        control.changed(checked);
      }
    });
  });
  return box;
}

QWidget* makeComboBox(const Entry& entry, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel(toQString(entry->label()), row);
  applyFont(*caption, entry);
  auto* box = new QComboBox(row);
  box->setObjectName(toQString(entry->name()));
  caption->setBuddy(box);
  layout->addWidget(caption);
  layout->addWidget(box, 1);
  withControl<gui::ComboBoxEntry>(entry, [box](const gui::ComboBoxEntry& control) {
    std::vector<std::u16string> items;
    std::u16string selected;
    if (control.fill) {
      control.fill(items, selected);
    }
    for (const std::u16string& item : items) {
      box->addItem(toQString(item));
    }
    box->setCurrentIndex(std::max(0, box->findText(toQString(selected))));
  });
  // Connected after filling, so only a new choice reaches the handler.
  QObject::connect(box, &QComboBox::currentTextChanged, box, [entry](const QString& text) {
    withControl<gui::ComboBoxEntry>(entry, [&text](const gui::ComboBoxEntry& control) {
      if (control.chosen) {
        control.chosen(text.toStdU16String());
      }
    });
  });
  return row;
}

QString positionText(const Entry& entry, int position) {
  QString text;
  withControl<gui::TrackBarEntry>(entry, [&](const gui::TrackBarEntry& control) {
    if (control.label) {
      text = toQString(control.label(position));
    }
  });
  return text;
}

QWidget* makeTrackBar(const Entry& entry, QWidget* parent) {
  auto* column = new QWidget(parent);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel(toQString(entry->label()), column);
  applyFont(*caption, entry);
  auto* slider = new QSlider(Qt::Horizontal, column);
  slider->setObjectName(toQString(entry->name()));
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setPageStep(1);
  caption->setBuddy(slider);
  auto* position = new QLabel(column);
  position->setObjectName(toQString(entry->name()) + QStringLiteral(" position"));
  withControl<gui::TrackBarEntry>(entry, [slider](const gui::TrackBarEntry& control) {
    slider->setRange(control.minimum, std::max(control.minimum, control.maximum));
    if (control.value) {
      slider->setValue(control.value());
    }
  });
  position->setText(positionText(entry, slider->value()));
  layout->addWidget(caption);
  layout->addWidget(slider);
  layout->addWidget(position);
  QObject::connect(slider, &QSlider::valueChanged, slider, [entry, position](int value) {
    withControl<gui::TrackBarEntry>(entry, [value](const gui::TrackBarEntry& control) {
      if (control.changed) {
        control.changed(value);
      }
    });
    position->setText(positionText(entry, value));
  });
  return column;
}

}  // namespace

QWidget* makeEntryWidget(const Entry& entry, QWidget* parent) {
  switch (entry->kind()) {
    case ControlKind<gui::CheckBoxEntry>::value:
      return makeCheckBox(entry, parent);
    case ControlKind<gui::ComboBoxEntry>::value:
      return makeComboBox(entry, parent);
    default:
      return makeTrackBar(entry, parent);
  }
}

}  // namespace tavrel::prefs
