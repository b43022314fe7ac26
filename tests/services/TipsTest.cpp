// The tip of the day and the settings it keeps.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "ModalDialog.h"
#include "ServicePluginFixture.h"

namespace tavrel::test {
namespace {

class TipsTest : public ServicePluginTest {
 protected:
  void SetUp() override {
    ServicePluginTest::SetUp();
    ensureApplication();
    loadPlugin("tips.so");
  }

  // Shows the tip dialog and gives the tip it opened with.
  QString showTip(const std::function<void(QDialog&)>& act = {}) {
    QString first;
    withModalDialog([&] { run(u"show_tip"); },
                    [&](QDialog& dialog) {
                      auto* tip = dialog.findChild<QLabel*>(QStringLiteral("tip"));
                      ASSERT_NE(tip, nullptr);
                      first = tip->text();
                      if (act) {
                        act(dialog);
                      }
                    });
    return first;
  }
};

TEST_F(TipsTest, NextTipShowsAnotherAndTheNextStartGoesOn) {
  QString second;
  const QString first = showTip([&](QDialog& dialog) {
    auto* next = dialog.findChild<QPushButton*>(QStringLiteral("next"));
    ASSERT_NE(next, nullptr);
    next->click();
    second = dialog.findChild<QLabel*>(QStringLiteral("tip"))->text();
  });
  EXPECT_FALSE(first.isEmpty());
  EXPECT_FALSE(first.startsWith(QLatin1Char('#')));  // the file's comment line is no tip
  EXPECT_NE(second, first);
  const QString third = showTip();
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
}

TEST_F(TipsTest, StartupBoxWritesTipOfTheDay) {
  ASSERT_TRUE(settings->writeText(u"", u"TipOfTheDay", u"startup"));
  showTip([&](QDialog& dialog) {
    auto* startup = dialog.findChild<QCheckBox*>(QStringLiteral("startup"));
    ASSERT_NE(startup, nullptr);
    EXPECT_TRUE(startup->isChecked());
    startup->click();
    EXPECT_EQ(CRegistry().readText(u"", u"TipOfTheDay"), u"off");
    startup->click();
    EXPECT_EQ(CRegistry().readText(u"", u"TipOfTheDay"), u"startup");
    startup->click();
  });
  EXPECT_EQ(CRegistry().readText(u"", u"TipOfTheDay"), u"off");
  showTip([](QDialog& dialog) {
    EXPECT_FALSE(dialog.findChild<QCheckBox*>(QStringLiteral("startup"))->isChecked());
  });
}

}  // namespace
}  // namespace tavrel::test
