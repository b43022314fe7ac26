// The preferences object other parts fill, and the dialog that shows its entries.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <memory>
#include <thread>

#include "ModalDialog.h"
#include "ServicePluginFixture.h"
#include "tavrel/gui/Preferences.h"

namespace tavrel::test {
namespace {

using gui::CheckBoxEntry;
using gui::ComboBoxEntry;
using gui::TrackBarEntry;

class PreferencesTest : public ServicePluginTest {
 protected:
  void SetUp() override {
    ServicePluginTest::SetUp();
    ensureApplication();
    loadPlugin("prefs.so");
    preferences = static_cast<gui::IPreferences*>(run(u"loadPrefsSystem"));
    ASSERT_NE(preferences, nullptr);
  }

  // The core's speed page: five positions, the setting kept in `speed`.
  TrackBarEntry throttle() {
    TrackBarEntry entry{u"Emulation speed:", u"Arial", 0, 4, nullptr, nullptr, nullptr};
    entry.label = [](int position) {
      return position < 4 ? u"x" + std::u16string(1, u'0' + position) : u"maximum speed";
    };
    entry.value = [this] { return speed; };
    entry.changed = [this](int position) { speed = position; };
    return entry;
  }

  // Opens the dialog with "show_prefs <line argument>" and acts on it.
  void withPreferences(const std::u16string& argument, const std::function<void(QDialog&)>& act) {
    withModalDialog([&] { run(u"show_prefs " + argument); }, act);
  }

  gui::IPreferences* preferences = nullptr;
  int speed = 2;
};

QStringList pageTitles(QDialog& dialog) {
  QStringList titles;
  auto* list = dialog.findChild<QListWidget*>(QStringLiteral("pages"));
  for (int row = 0; list != nullptr && row < list->count(); ++row) {
    titles << list->item(row)->text();
  }
  return titles;
}

TEST_F(PreferencesTest, MenuOpensTheSpeedPageAndTheTrackBarSetsTheSpeed) {
  EXPECT_EQ(run(u"loadPrefsSystem"), preferences);
  // Entries come from other threads, as the core's does.
  std::thread([&] { preferences->addTrackBar(u"90 Throttle", throttle()); }).join();
  preferences->addCheckBox(u"10 AlwaysOnTop",
                           CheckBoxEntry{u"Always on top", u"Arial", [] { return false; }, {}});
  preferences->addCheckBox(u"11 Persist",
                           CheckBoxEntry{u"Save state on exit", u"Arial", [] { return true; }, {}});

  withPreferences(u"90#Throttle", [&](QDialog& dialog) {
    EXPECT_EQ(pageTitles(dialog), (QStringList{QStringLiteral("Window"), QStringLiteral("Speed")}));
    auto* slider = dialog.findChild<QSlider*>(QStringLiteral("90 Throttle"));
    auto* position = dialog.findChild<QLabel*>(QStringLiteral("90 Throttle position"));
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(position, nullptr);
    EXPECT_TRUE(slider->isVisibleTo(&dialog));
    EXPECT_EQ(slider->maximum(), 4);
    EXPECT_EQ(slider->value(), 2);
    EXPECT_EQ(position->text(), QStringLiteral("x2"));
    slider->setValue(4);
    EXPECT_EQ(speed, 4);
    EXPECT_EQ(position->text(), QStringLiteral("maximum speed"));
    auto* persist = dialog.findChild<QCheckBox*>(QStringLiteral("11 Persist"));
    ASSERT_NE(persist, nullptr);
    EXPECT_TRUE(persist->isChecked());
    EXPECT_FALSE(persist->isVisibleTo(&dialog));  // on the other page
  });
}

TEST_F(PreferencesTest, CheckBoxAndComboBoxChangesReachTheirHandlers) {
  bool onTop = false;
  std::u16string language = u"en";
  preferences->addCheckBox(u"10 AlwaysOnTop",
                           CheckBoxEntry{u"Always on top", u"Arial", [&] { return onTop; },
                                         [&](bool value) { onTop = value; }});
  ComboBoxEntry languages{u"Language:", u"", nullptr, nullptr};
  languages.fill = [](std::vector<std::u16string>& items, std::u16string& selected) {
    items = {u"Deutsch", u"English"};
    selected = u"English";
  };
  languages.chosen = [&](const std::u16string& chosen) { language = chosen; };
  preferences->addComboBox(u"00 Lang", languages);

  withPreferences(u"", [&](QDialog& dialog) {
    EXPECT_EQ(pageTitles(dialog),
              (QStringList{QStringLiteral("General"), QStringLiteral("Window")}));
    auto* box = dialog.findChild<QComboBox*>(QStringLiteral("00 Lang"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("English"));
    EXPECT_EQ(language, u"en");  // showing the choice is no choice
    box->setCurrentIndex(0);
    EXPECT_EQ(language, u"Deutsch");
    auto* check = dialog.findChild<QCheckBox*>(QStringLiteral("10 AlwaysOnTop"));
    ASSERT_NE(check, nullptr);
    check->click();
    EXPECT_TRUE(onTop);
  });
}

TEST_F(PreferencesTest, ReplacedAndRemovedEntriesNeverCallTheirHandlersAgain) {
  std::weak_ptr<int> watch;
  int oldCalls = 0;
  {
    auto held = std::make_shared<int>(0);
    watch = held;
    TrackBarEntry first = throttle();
    first.changed = [held, &oldCalls](int) { ++oldCalls; };
    preferences->addTrackBar(u"90 Throttle", first);
  }
  preferences->addTrackBar(u"90 Throttle", throttle());
  EXPECT_TRUE(watch.expired()) << "the replaced entry's handlers were kept";

  withPreferences(u"90#Throttle", [&](QDialog& dialog) {
    auto* slider = dialog.findChild<QSlider*>(QStringLiteral("90 Throttle"));
    ASSERT_NE(slider, nullptr);
    slider->setValue(1);
    EXPECT_EQ(speed, 1);
    EXPECT_EQ(oldCalls, 0);
    // The core removes its page before it unloads, while the dialog may be open.
    preferences->removeEntry(u"90 Throttle");
    slider->setValue(3);
    EXPECT_EQ(speed, 1);
  });
  withPreferences(u"90#Throttle", [&](QDialog& dialog) {
    EXPECT_EQ(dialog.findChild<QSlider*>(QStringLiteral("90 Throttle")), nullptr);
    EXPECT_TRUE(pageTitles(dialog).isEmpty());
  });
}

}  // namespace
}  // namespace tavrel::test
