// The repaint after one display change: the GUI service's scene draws the display area of a
// demo-skin window (picture, strip, LCD, annunciators) from a block the demo ROM really drew,
// into a window-sized image on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "Display.h"
#include "Interpreter.h"
#include "Processor.h"
#include "SkinScene.h"

namespace {

using namespace tavrel;

// The stack screen of the booted demo ROM: boot runs to its first sleep, having drawn.
gui::DisplayBlock bootedBlock() {
  gui::DisplayBlock block{};
  auto m = machine::createMachine(TAVREL_DEMO_ROM, nullptr);
  if (!m || !machine::stepMachine(*m, 50'000'000).atShutdown) {
    return block;
  }
  machine::refreshLcd(*m);
  std::copy_n(m->lcd.bytes.begin(), std::min(block.size(), m->lcd.bytes.size()), block.begin());
  return block;
}

struct View {
  QSize window;
  QImage picture;
  gui::LCDSettings lcd;
  gui::AnnounciatorSettings strip;
  QString icons;
};

// The demo skin's two views (build/data/skins/demo/skin.xml), the fullscreen one centred on
// a 1024 x 768 screen.
View demoView(bool fullscreen) {
  const QString skin = QStringLiteral(TAVREL_DEMO_SKIN_DIR);
  View view;
  view.lcd = gui::LCDSettings{29, 42, 27, 169, 184, 154, 34, 62, 131, 64, 2};
  view.strip.offsetX = 34;
  view.strip.offsetY = 50;
  view.strip.width = 262;
  view.strip.height = 12;
  constexpr std::array<int, 6> kWindowedIcons{14, 58, 101, 145, 189, 232};
  constexpr std::array<int, 6> kFullscreenIcons{37, 146, 255, 365, 474, 583};
  const int iconWidth = fullscreen ? 35 : 16;
  for (int i = 0; i < gui::AnnounciatorSettings::kIconCount; ++i) {
    view.strip.iconOffsets[i] = {fullscreen ? kFullscreenIcons[i] : kWindowedIcons[i], 1};
    view.strip.imageOffsets[i] = {i * iconWidth, 0};
    view.strip.iconSizes[i] = {iconWidth, fullscreen ? 22 : 10};
  }
  if (fullscreen) {
    view.window = QSize(1024, 768);
    view.lcd.offsetX = 185;
    view.lcd.offsetY = 236;
    view.lcd.pixelSize = 5;
    view.strip.offsetX = 185;
    view.strip.offsetY = 212;
    view.strip.width = 655;
    view.strip.height = 24;
    view.icons = skin + "/annunciators_full.png";
  } else {
    view.window = QSize(330, 624);
    view.picture = QImage(skin + "/face.png");
    view.icons = skin + "/annunciators.png";
  }
  return view;
}

void RepaintAfterDisplayChange(benchmark::State& state) {
  const bool fullscreen = state.range(0) != 0;
  const gui::DisplayBlock block = bootedBlock();
  if (std::all_of(block.begin(), block.end(), [](std::uint8_t byte) { return byte == 0; })) {
    state.SkipWithError("the demo ROM drew nothing");
    return;
  }
  View view = demoView(fullscreen);
  gui::CSkinScene scene;
  scene.setBackground(fullscreen ? QColor(16, 18, 22) : Qt::black);
  if (!view.picture.isNull()) {
    scene.setPicture(view.picture);
  }
  scene.attachDisplay(view.lcd, view.strip, QImage(view.icons));
  QImage window(view.window, QImage::Format_RGB32);
  const QRect area = scene.displayArea();
  for (auto _ : state) {
    scene.setBlock(block);
    QPainter painter(&window);
    painter.setClipRect(area);  // as a paint event for that area clips
    scene.paint(painter, area);
    painter.end();
    benchmark::DoNotOptimize(window.constBits());
  }
  state.SetLabel(fullscreen ? "fullscreen view" : "windowed view");
}
BENCHMARK(RepaintAfterDisplayChange)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
