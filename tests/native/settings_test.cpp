#include "settings/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "common/flags.h"

namespace qorv {
namespace {

// An INI text owned by the test.
class Text {
 public:
  explicit Text(const std::string& s = std::string()) : text_(s.empty() ? nullptr : IniFromBytes(s.data(), s.size())) {}
  ~Text() { IniFree(text_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  IniText& Get() { return text_; }
  std::string Str() const { return text_ != nullptr ? std::string(text_) : std::string(); }

 private:
  IniText text_;
};

SettingsRecord Load(const std::string& s) {
  Text text(s);
  SettingsRecord r = {};
  SettingsFromText(text.Get(), r);
  return r;
}

std::string Save(const std::string& s, const SettingsRecord& r) {
  Text text(s);
  text.Get() = SettingsToText(r, text.Get());
  return text.Str();
}

TEST(SettingsLoad, MissingFileGivesDefaults) {
  const SettingsRecord r = Load("");
  EXPECT_EQ(r.MainFlag, kMainFlagDefault);
  EXPECT_EQ(r.WheelFlag, kWheelFlagDefault);
  EXPECT_EQ(r.WndFlag, kWndFlagDefault);
  EXPECT_EQ(r.KeyLimit, 1);
  EXPECT_EQ(r.MouseBtn.setNum, 0u);
  EXPECT_EQ(r.HotkeysLoadedAny, 0u);
  EXPECT_EQ(r.MouseLoadedAny, 0u);
}

TEST(SettingsSave, FirstRunWritesOnlyTheFourFlagKeys) {
  SettingsRecord r = Load("");
  EXPECT_EQ(Save("", r),
            "[FLAGS]\r\nMainFlag=0x05010014\r\nWheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxId=0\r\n");
  r.HotkeysPageVisited = true;  // no hotkey loaded, none set: still nothing written
  r.MousePageVisited = true;
  EXPECT_EQ(Save("", r).find("HotKey"), std::string::npos);
}

TEST(SettingsLoad, MixerWordAndUnparsableValues) {
  const SettingsRecord r = Load("[FLAGS]\r\nMxType=0x1234\r\nMxId=70000\r\nMainFlag=zz\r\n");
  EXPECT_EQ(r.MixerWord, 0x12340000u | (70000u & 0xFFFF));
  EXPECT_EQ(r.MainFlag, 0u);  // cannot be parsed: 0, not the default
}

TEST(SettingsLoad, PairCountIsClampedAndMissingPairsAreZero) {
  std::string text = "[MouseBtn]\r\nSetNum=12\r\n";
  for (int i = 0; i < 8; ++i) text += "BtnSet" + std::to_string(i) + "=0x01" + std::to_string(i) + "001:0x0000004" + std::to_string(i) + "\r\n";
  SettingsRecord r = Load(text);
  EXPECT_EQ(r.MouseBtn.setNum, 8u);
  EXPECT_EQ(r.MouseBtn.pairs[7].condition, 0x017001u);
  EXPECT_EQ(r.MouseBtn.pairs[7].key, 0x47u);

  r = Load("[MouseBtn]\r\nSetNum=-1\r\n");
  EXPECT_EQ(r.MouseBtn.setNum, 8u);  // compared as unsigned

  r = Load("[MouseBtn]\r\nSetNum=3\r\nBtnSet0=0x010002:0x00000041\r\nBtnSet5=0x1:0x2\r\n");
  EXPECT_EQ(r.MouseBtn.setNum, 3u);
  EXPECT_EQ(r.MouseBtn.pairs[0].condition, 0x010002u);
  EXPECT_EQ(r.MouseBtn.pairs[0].key, 0x41u);
  for (int i = 1; i < 8; ++i) EXPECT_EQ(r.MouseBtn.pairs[i].condition | r.MouseBtn.pairs[i].key, 0u) << i;
  EXPECT_EQ(r.MouseLoadedAny, 0x010002u | 0x41u);
}

TEST(SettingsSave, RemovedPairsLoseTheirLines) {
  std::string text = "[MouseBtn]\r\nBtnFlag=0x00000001\r\nSetNum=5\r\n";
  for (int i = 0; i < 5; ++i) text += "BtnSet" + std::to_string(i) + "=0x010000:0x00000041\r\n";
  text += "; keep me\r\n";
  SettingsRecord r = Load(text);
  r.MousePageVisited = true;
  r.MouseBtn.setNum = 3;
  r.MouseBtn.pairs[2] = {0, 0};
  const std::string saved = Save(text, r);
  EXPECT_NE(saved.find("SetNum=3\r\n"), std::string::npos);
  EXPECT_NE(saved.find("BtnSet2=0:0\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("BtnSet3"), std::string::npos);
  EXPECT_EQ(saved.find("BtnSet4"), std::string::npos);
  EXPECT_NE(saved.find("; keep me\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[HotKey]\r\nHkMouseBtn=0\r\n"), std::string::npos);
  EXPECT_GT(saved.find("[HotKey]"), saved.find("[MouseBtn]"));  // created after it
}

TEST(SettingsSave, EntriesAddedToAFileWithoutAnyAreSaved) {
  SettingsRecord r = Load("");
  r.MousePageVisited = true;
  EXPECT_EQ(Save("", r).find("MouseBtn"), std::string::npos);  // nothing loaded, nothing set
  r.MouseBtn.setNum = 1;
  r.MouseBtn.pairs[0] = {0x011000, 0x41};
  EXPECT_NE(Save("", r).find("[MouseBtn]\r\nBtnFlag=0\r\nSetNum=1\r\nBtnSet0=0x011000:0x00000041\r\n"),
            std::string::npos);
  r.MousePageVisited = false;  // the page never opened: the file's mouse lines are not the record's
  EXPECT_EQ(Save("", r).find("MouseBtn"), std::string::npos);
}

TEST(SettingsSave, HotkeysRule) {
  const std::string file = "[HotKey]\r\nHkPause=0x00000251\r\nHkVolUp=junk\r\nKeyLimit=0\r\n";
  SettingsRecord r = Load(file);
  EXPECT_EQ(r.HotkeysLoadedAny, 0x251u);
  EXPECT_EQ(r.KeyLimit, 0);
  r.HotkeyTable[1] = 0;
  // Page not visited: the lines stay exactly as they were.
  EXPECT_NE(Save(file, r).find("HkPause=0x00000251\r\nHkVolUp=junk\r\n"), std::string::npos);
  r.HotkeysPageVisited = true;  // loaded with one set: all 13 written, zeros as "0"
  const std::string saved = Save(file, r);
  EXPECT_NE(saved.find("HkProp=0\r\n"), std::string::npos);
  EXPECT_NE(saved.find("HkPause=0\r\n"), std::string::npos);
  EXPECT_NE(saved.find("HkVolMute=0\r\n"), std::string::npos);
  EXPECT_NE(saved.find("KeyLimit=0\r\n"), std::string::npos);  // never written
  EXPECT_EQ(saved.find("HkMouseBtn"), std::string::npos);
}

TEST(SettingsSave, KeysItDoesNotOwnSurvive) {
  const std::string file = "[FLAGS]\r\nMxType=0x0003\r\nMainFlag=0x1\r\nDebugFlag=0x00100002\r\nOther=x\r\n\r\n[Mine]\r\na=b\r\n";
  SettingsRecord r = Load(file);
  r.HotkeyTable[kHotkeyDebugFlag] = 0;  // only DebugSave writes it
  const std::string saved = Save(file, r);
  EXPECT_EQ(saved, "[FLAGS]\r\nMxType=0x0003\r\nMainFlag=0x00000001\r\nDebugFlag=0x00100002\r\nOther=x\r\n"
                   "WheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxId=0\r\n\r\n[Mine]\r\na=b\r\n");
}

TEST(DebugSave, WritesOnlyItsTwoKeys) {
  SettingsRecord r = Load("[FLAGS]\r\nMainFlag=0x1\r\n");
  r.HotkeyTable[kHotkeyDebugFlag] = 0x00100002;
  r.HotkeyTable[kHotkeyDbgHook] = 0x0344;
  Text text("[FLAGS]\r\nMainFlag=0x1\r\n");
  text.Get() = DebugToText(r, text.Get());
  EXPECT_EQ(text.Str(), "[FLAGS]\r\nMainFlag=0x1\r\nDebugFlag=0x00100002\r\n\r\n[HotKey]\r\nHkDbgHook=0x00000344\r\n");
}

TEST(ButtonPairText, ZeroAndHexForms) {
  char out[32];
  FormatButtonPair({0, 0}, out, sizeof(out));
  EXPECT_STREQ(out, "0:0");
  FormatButtonPair({0x10002, 0x01480041}, out, sizeof(out));
  EXPECT_STREQ(out, "0x010002:0x01480041");
}

}  // namespace
}  // namespace qorv
