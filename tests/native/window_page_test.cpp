#include "pelisk/pages/window_page.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/flags.h"

namespace qorv {
namespace {

namespace wp = window_page;

bool Checked(const WindowPageState& s, int id) {
  return IsChecked(s.words, *FindCheck(kWindowPageChecks, kWindowPageCheckCount, id));
}

TEST(WindowPage, DefaultsOpenAsShipped) {
  const WindowPageState s = WindowPageOpen(kMainFlagDefault, kWndFlagDefault);
  EXPECT_TRUE(Checked(s, wp::kWheelFront));
  for (int id :
       {wp::kTempTranslucent, wp::kFrameDrag, wp::kWheelTranslucent, wp::kMoveTranslucent, wp::kSizeTranslucent}) {
    EXPECT_FALSE(Checked(s, id)) << id;
  }
  EXPECT_TRUE(Checked(s, wp::kSnap));
  EXPECT_TRUE(Checked(s, wp::kNoDirectX));
  EXPECT_FALSE(WindowPageEnabled(s, wp::kNoDirectX, 0x1F));
  EXPECT_EQ(s.tuningShown, 0u);  // SnapRgn and NoSnapLay are on by default and hidden
  EXPECT_EQ(s.snapPixels, 10u);
  EXPECT_EQ(s.initialLevel, 5);
  EXPECT_EQ(s.moveLevel, 5);
  char16_t label[16];
  LevelLabel(s.initialLabel, label, 16);
  EXPECT_EQ(std::u16string(label), u"50 %");
}

// A tuning switch is visible exactly while it differs from its default.
TEST(WindowPage, TuningSwitchShowsWhileItDiffersFromDefault) {
  for (int i = 0; i < kWindowPageTuningCount; ++i) {
    const uint32_t bit = kWindowPageTuning[i].bit;
    EXPECT_EQ(WindowPageOpen(0, kWndFlagDefault ^ bit).tuningShown, bit) << bit;
  }
}

TEST(WindowPage, StoreReplacesOnlyItsBitsAndClampsFields) {
  std::mt19937 rng(11);
  for (int n = 0; n < 2000; ++n) {
    const uint32_t main = rng(), wnd = rng();
    WindowPageState s = WindowPageOpen(main, wnd);
    uint32_t outMain = main, outWnd = wnd;
    WindowPageStore(s, outMain, outWnd);
    const uint32_t initial = Field(main, 0x0F000000, 24), move = Field(wnd, 0x0F000000, 24);
    const uint32_t snap = Field(wnd, 0x00FF0000, 16);
    EXPECT_EQ(outMain & ~0x0F000000u, main & ~0x0F000000u);
    EXPECT_EQ(outWnd & ~0x0FFF0000u, wnd & ~0x0FFF0000u);
    EXPECT_EQ(Field(outMain, 0x0F000000, 24), initial < 1 ? 1 : initial > 9 ? 9 : initial);
    EXPECT_EQ(Field(outWnd, 0x0F000000, 24), move < 1 ? 1 : move > 9 ? 9 : move);
    EXPECT_EQ(Field(outWnd, 0x00FF0000, 16), snap < 1 ? 1 : snap > 50 ? 50 : snap);
    // A level that could not be read from its bar stays as stored.
    WindowPageState unread = s;
    unread.initialLevel = kLevelUnread;
    unread.moveLevel = kLevelUnread;
    outMain = main;
    outWnd = wnd;
    WindowPageStore(unread, outMain, outWnd);
    EXPECT_EQ(outMain, main);
    EXPECT_EQ(Field(outWnd, 0x0F000000, 24), move);

    // Every box flipped: exactly the page's bits change, foreign ones (0x40, 0x800, 0xE000, the
    // top nibble, MainFlag's other bits) pass.
    for (int i = 0; i < kWindowPageCheckCount; ++i) {
      SetChecked(s.words, kWindowPageChecks[i], !IsChecked(s.words, kWindowPageChecks[i]));
    }
    outMain = main;
    outWnd = wnd;
    WindowPageStore(s, outMain, outWnd);
    EXPECT_EQ((outMain ^ main) & ~0x0F000000u, 0x0002010Cu);
    EXPECT_EQ((outWnd ^ wnd) & ~0x0FFF0000u, 0x000017BFu);
  }
}

TEST(WindowPage, EnableRules) {
  WindowPageState s =
      WindowPageOpen(kMainFlagDefault | main_flag::kWheelTranslucent, kWndFlagDefault & ~wnd_flag::kSnap);
  EXPECT_FALSE(WindowPageEnabled(s, wp::kTempTranslucent, 1));
  for (int id : {wp::kSnapPixels, wp::kSnapArrows, wp::kSnapInner}) EXPECT_FALSE(WindowPageEnabled(s, id, 1));
  s.words.wnd |= wnd_flag::kSnap | wnd_flag::kSizeTranslucent;
  s.words.main &= ~main_flag::kWheelTranslucent;
  for (int id : {wp::kSnapPixels, wp::kSnapArrows, wp::kSnapInner, wp::kNoDirectX, wp::kTempTranslucent}) {
    EXPECT_TRUE(WindowPageEnabled(s, id, 1)) << id;
  }
  s.words.wnd &= ~wnd_flag::kSnapRgn;
  EXPECT_FALSE(WindowPageEnabled(s, wp::kNoSnapRgnClient, 1));
  // Without layered windows every translucency control is off, whatever the boxes say.
  for (int id : {wp::kWheelTranslucent, wp::kTempTranslucent, wp::kSizeTranslucent, wp::kMoveTranslucent,
                 wp::kNoDirectX, wp::kInitialCaption, wp::kInitialLevelLabel, wp::kInitialLevel, wp::kLevelCaption,
                 wp::kMoveLevelLabel, wp::kMoveLevel}) {
    EXPECT_FALSE(WindowPageEnabled(s, id, 0x1E)) << id;
  }
  EXPECT_TRUE(WindowPageEnabled(s, wp::kSnapPixels, 0));
}

TEST(WindowPage, SnapDistanceSteps) {
  struct Case {
    uint32_t number;
    int code;
    uint32_t result;
  } cases[] = {
      {10, kSnapLineUp, 11},         {10, kSnapLineDown, 9}, {1, kSnapLineDown, 1},   {50, kSnapLineUp, 50},
      {0, kSnapLineDown, 1},         {0, kSnapLineUp, 1},    {99, kSnapLineDown, 50}, {7, kSnapPageUp, 8},
      {7, kSnapPageDown, 6},         {7, kSnapTop, 50},      {7, kSnapBottom, 1},     {7, 8, 7},
      {0xFFFFFFFF, kSnapLineUp, 50},
  };
  for (const Case& c : cases) EXPECT_EQ(SnapStep(c.number, c.code), c.result) << c.number << " " << c.code;
  EXPECT_EQ(SnapClamp(0), 1u);
  EXPECT_EQ(SnapClamp(99), 50u);
  EXPECT_EQ(SnapClamp(50), 50u);
}

TEST(WindowPage, LevelsOutsideTheBarLandAtItsEndsButLabelAsStored) {
  char16_t label[16];
  const WindowPageState s = WindowPageOpen(0x00000000, 0x0C000000);
  EXPECT_EQ(s.initialLevel, 1);
  EXPECT_EQ(s.moveLevel, 9);
  LevelLabel(s.initialLabel, label, 16);
  EXPECT_EQ(std::u16string(label), u"0 %");
  LevelLabel(s.moveLabel, label, 16);
  EXPECT_EQ(std::u16string(label), u"120 %");
  EXPECT_EQ(LevelPreviewAlpha(3), 75);
  EXPECT_EQ(LevelPreviewAlpha(9), 225);
}

TEST(WindowPage, PreviewEndsHoweverTheDragEnds) {
  using E = PreviewEvent;
  using A = PreviewAction;
  for (E end : {E::ThumbRelease, E::EndScroll, E::CaptureLost, E::PageDestroyed}) {
    PreviewState s = {};
    EXPECT_EQ(PreviewStep(s, E::ThumbTrack, false), A::SetAlpha);
    EXPECT_EQ(PreviewStep(s, E::ThumbTrack, true), A::SetAlpha);  // our own layering now
    EXPECT_EQ(PreviewStep(s, end, true), A::Restore);
    EXPECT_EQ(PreviewStep(s, E::EndScroll, false), A::None);  // ends once
  }
  // A window that is layered already gets no preview, and nothing is undone afterwards.
  PreviewState s = {};
  EXPECT_EQ(PreviewStep(s, E::ThumbTrack, true), A::None);
  EXPECT_EQ(PreviewStep(s, E::ThumbTrack, true), A::None);
  EXPECT_EQ(PreviewStep(s, E::ThumbRelease, true), A::None);
  // Arrow clicks outside a drag change no alpha.
  EXPECT_EQ(PreviewStep(s, E::EndScroll, false), A::None);
}

}  // namespace
}  // namespace qorv
