// The "90 Throttle" page as a preferences service meets it: added at import, read and moved
// like the dialog does, taken off at close; absent service, no page and no complaint.
#include "CoreFixture.h"
#include "tavrel/Registry.h"

namespace tavrel::test {
namespace {

const std::u16string kPage(vendelrun::kThrottleEntry);

class ThrottlePage : public CoreFixture {
 protected:
  // The core's settings key is the application key itself here (no path given at import).
  static std::uint32_t storedThrottle() { return CRegistry().readNumber32(u"", u"EMUThrottle"); }
  static void storeThrottle(std::uint32_t value) {
    CRegistry store;
    store.writeNumber32(u"", u"EMUThrottle", value);
  }
};

TEST_F(ThrottlePage, ImportAddsTheTrackBarAndCloseTakesItOff) {
  importCore();
  ASSERT_EQ(session.preferences().names(), std::vector<std::u16string>{kPage});
  const auto bar = session.preferences().trackBar(kPage);
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->caption, u"Emulation speed:");
  EXPECT_EQ(bar->font, u"Arial");
  EXPECT_EQ(bar->minimum, 0);
  EXPECT_EQ(bar->maximum, 4);
  EXPECT_EQ(bar->label(0), u"half calculator speed");
  EXPECT_EQ(bar->label(1), u"real calculator speed");
  EXPECT_EQ(bar->label(2), u"2x calculator speed");
  EXPECT_EQ(bar->label(3), u"4x calculator speed");
  EXPECT_EQ(bar->label(4), u"maximum speed");
  EXPECT_EQ(bar->label(7), u"maximum speed");

  session.closeCore();
  EXPECT_TRUE(session.preferences().names().empty());
}

TEST_F(ThrottlePage, AStoredSevenShowsAsMaximumSpeed) {
  storeThrottle(7);
  importCore();
  EXPECT_EQ(session.preferences().readTrackBar(kPage), 4);
}

TEST_F(ThrottlePage, TheGetterReadsTheStoreOnceAndTheSetterWritesIt) {
  storeThrottle(2);
  importCore();
  boot();
  EXPECT_EQ(session.preferences().readTrackBar(kPage), 2);
  storeThrottle(3);  // read once: the page keeps what it has
  EXPECT_EQ(session.preferences().readTrackBar(kPage), 2);

  ASSERT_TRUE(session.preferences().moveTrackBar(kPage, 1));
  EXPECT_EQ(storedThrottle(), 1u);
  EXPECT_EQ(session.preferences().readTrackBar(kPage), 1);
}

TEST_F(ThrottlePage, WithoutAPreferencesServiceTheCoreRunsWithoutThePage) {
  session.commands().getRegistry()->remove(u"loadPrefsSystem");
  testing::internal::CaptureStderr();
  importCore();
  session.closeCore();
  const std::string complaints = testing::internal::GetCapturedStderr();
  EXPECT_EQ(complaints.find("loadPrefsSystem"), std::string::npos) << complaints;
  EXPECT_TRUE(session.preferences().names().empty());
}

}  // namespace
}  // namespace tavrel::test
