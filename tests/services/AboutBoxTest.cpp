// The about box of the loaded skin, with and without the GUI service's answers.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <fstream>
#include <vector>

#include "ModalDialog.h"
#include "ServicePluginFixture.h"
#include "tavrel/Text.h"
#include "tavrel/gui/MenuManager.h"
#include "tavrel/gui/SkinInfo.h"

namespace tavrel::test {
namespace {

// The menus as the GUI service would keep them: items by menu name.
struct MenuRecorder final : gui::IMenuManager {
  std::vector<std::u16string> items;  // "menu|label|command"
  void refreshMenu(const std::u16string&) override {}
  xml::IXMLSAXContentHandler* menuBarHandler(const std::u16string&, bool) override {
    return nullptr;
  }
  void addItem(const std::u16string& menu, const std::u16string& label,
               const std::u16string& commandLine) override {
    items.push_back(menu + u"|" + label + u"|" + commandLine);
  }
  void clearMenu(const std::u16string& menu) override {
    std::erase_if(items, [&](const std::u16string& item) { return item.starts_with(menu + u"|"); });
  }
};

class AboutBoxTest : public ServicePluginTest {
 protected:
  void SetUp() override {
    ServicePluginTest::SetUp();
    ensureApplication();
    loadPlugin("info.so");
    skinFolder = folder + "/skins/demo";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(skinFolder)));
  }

  // A skin whose windowed view shows a picture of that size.
  void writeSkin(int width, int height) {
    std::ofstream(skinFolder + "/skin.xml")
        << "<tavrel_skin name=\"Demo\"><fullscreen_viewport><image name=\"wrong.png\"/>"
           "</fullscreen_viewport><floating_viewport><lcd><image name=\"lcd.png\"/></lcd>"
           "<image name=\"face.png\"/></floating_viewport></tavrel_skin>";
    QImage face(width, height, QImage::Format_RGB32);
    face.fill(Qt::darkGreen);
    ASSERT_TRUE(face.save(QString::fromStdString(skinFolder + "/face.png")));
  }

  // "generateAboutBox" as the shell runs it, the folder ending in a backslash.
  void generate() { run(u"generateAboutBox " + fromUtf8(skinFolder) + u"\\"); }

  QString aboutText(int* pictureHeight = nullptr) {
    QString text;
    withModalDialog([&] { run(u"show_about"); },
                    [&](QDialog& dialog) {
                      auto* label = dialog.findChild<QLabel*>(QStringLiteral("text"));
                      ASSERT_NE(label, nullptr);
                      text = dialog.windowTitle() + QLatin1Char('\n') + label->text();
                      auto* picture = dialog.findChild<QLabel*>(QStringLiteral("picture"));
                      if (pictureHeight != nullptr) {
                        *pictureHeight = picture != nullptr ? picture->pixmap().height() : 0;
                      }
                    });
    return text;
  }

  std::string skinFolder;
};

TEST_F(AboutBoxTest, WithoutTheGuiServiceShowsTheSkinPictureAndTheProgram) {
  writeSkin(330, 624);
  ::testing::internal::CaptureStderr();
  generate();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  int pictureHeight = 0;
  const QString text = aboutText(&pictureHeight);
  EXPECT_TRUE(text.startsWith(QStringLiteral("About Tavrel\n"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Tavrel "))) << text.toStdString();
  EXPECT_EQ(pictureHeight, 240);  // scaled down to fit the box
}

TEST_F(AboutBoxTest, SkinInfoAndOneHelpItemFromTheGuiService) {
  writeSkin(20, 20000);  // larger than any skin picture may be
  gui::SkinInfo info{u"Tavrel Demo", u"1.0", u"The Tavrel developers", u"A demo face.", u""};
  MenuRecorder menus;
  registerCommand(u"getSkinInfo",
                  fn::Function<fn::ret<const gui::SkinInfo*>>([&info] { return &info; }));
  registerCommand(u"loadMenuManager", fn::Function<fn::ret<gui::IMenuManager*>>([&menus] {
                    return static_cast<gui::IMenuManager*>(&menus);
                  }));
  ::testing::internal::CaptureStderr();
  generate();
  generate();
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("info: "), std::string::npos);
  EXPECT_EQ(menus.items, std::vector<std::u16string>{u"&Help|&About...|show_about"});
  int pictureHeight = -1;
  const QString text = aboutText(&pictureHeight);
  EXPECT_EQ(pictureHeight, 0);
  EXPECT_TRUE(
      text.startsWith(QStringLiteral("About Tavrel Demo\nTavrel Demo\nVersion 1.0\n"
                                     "By The Tavrel developers\n\nA demo face.")))
      << text.toStdString();
}

}  // namespace
}  // namespace tavrel::test
