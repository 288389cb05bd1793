// The rules the profile dialogs follow: the Power Command editor's list, the command options
// dialog with its button and wheel dialogs, the profile editor's motion list and clearing, and
// the name filter.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "commands/key_selection.h"
#include "profiles/editor_rules.h"
#include "profiles/mapper_rules.h"
#include "profiles/power_list.h"

namespace {

namespace dt = dialog_texts;
using Lines = std::vector<std::string>;
const std::string kW = "Press the W key", kQ = "Press the Q key", kE = "Press the E key";

// The check the dialog runs after every operation and on closing, against its list box.
void ExpectInSync(const PowerListEditor& e) {
  EXPECT_TRUE(e.CheckAfterOperation(e.Lines(), "T").empty());
  EXPECT_TRUE(e.CheckOnClose(e.Lines(), "T").empty());
}

// `keys` already listed, and a current command that presses `current`.
PowerListEditor WithKeys(const std::vector<int>& keys, int current, const Command& map = Command{}) {
  PowerListEditor e{map};
  e.ChooseType(kPowerKeypress);
  for (int key : keys) {
    e.SetKeypress({key, -1, -1, -1});
    EXPECT_FALSE(e.Add());
    ExpectInSync(e);
  }
  e.SetKeypress({current, -1, -1, -1});
  return e;
}

TEST(PowerList, RefusalsAndTheLimitAtFifty) {
  PowerListEditor empty{Command{}};
  EXPECT_STREQ(empty.Change().text, dt::kChangeWithoutType);
  EXPECT_STREQ(empty.Add().text, dt::kAddWithoutCommand);
  EXPECT_STREQ(empty.Remove().text, dt::kRemoveWithoutLine);
  EXPECT_STREQ(WithKeys({39}, 38).Replace().text, dt::kReplaceWithoutLine);

  PowerListEditor full = WithKeys(std::vector<int>(kPowerEntries, 39), 38);
  full.SelectLine(0);
  EXPECT_STREQ(full.Add().text, "You cannot add more than 50 commands to the Power Command list.");
  EXPECT_STREQ(full.InsertAfter().text, "You cannot add more than 50 commands to the Power Command list.");
  EXPECT_STREQ(full.InsertBefore().text, "You cannot have more than 50 commands in the Power Command list.");
  EXPECT_STREQ(full.InsertBefore().caption, "Hxprofiler");
  EXPECT_EQ(full.LineCount(), kPowerEntries);
  ExpectInSync(full);
}

TEST(PowerList, InsertAtBothEnds) {
  const struct {
    bool before;
    int line;
    Lines expected;
  } cases[] = {
      {true, 0, {kE, kW, kQ}}, {false, 0, {kW, kE, kQ}}, {true, 1, {kW, kE, kQ}}, {false, 1, {kW, kQ, kE}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << c.line);
    PowerListEditor e = WithKeys({39, 38}, 40);
    e.SelectLine(c.line);
    EXPECT_FALSE(c.before ? e.InsertBefore() : e.InsertAfter());
    EXPECT_EQ(e.Lines(), c.expected);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(e.Slot(i).label, c.expected[i]);
    ExpectInSync(e);
  }
}

TEST(PowerList, RemoveMovesUpAndTheOnlyLineClearsEverySlot) {
  PowerListEditor e = WithKeys({39, 38, 40}, 59);
  e.SelectLine(0);
  EXPECT_FALSE(e.Remove());
  EXPECT_EQ(e.Lines(), (Lines{kQ, kE}));
  EXPECT_EQ(e.Slot(2).type, kPowerEmpty);
  EXPECT_FALSE(e.Replace());  // line 0 stays selected
  EXPECT_EQ(e.Lines(), (Lines{"Press the A key", kE}));
  ExpectInSync(e);

  Command map;
  map.powerLabels[20] = "left over";
  map.powerDelay[20] = 9;
  PowerListEditor one = WithKeys({39}, 39, map);
  one.SelectLine(0);
  EXPECT_FALSE(one.Remove());
  EXPECT_TRUE(one.Lines().empty());
  for (const PowerEntry& slot : one.Slots())
    EXPECT_TRUE(slot.label.empty() && slot.type == kPowerEmpty && slot.delay == 0 && slot.wheelDirection == -1);
}

TEST(PowerList, CheckCatchesAListBoxOutOfStep) {
  PowerListEditor e = WithKeys({39, 38}, 40);
  const auto after = e.CheckAfterOperation({kW, "Press the R key"}, "T");
  const auto closing = e.CheckOnClose({kW}, "T");
  ASSERT_TRUE(after.size() == 2 && closing.size() == 2);
  EXPECT_STREQ(after[0].text, "Strings do not match");
  EXPECT_STREQ(after[1].caption, "Hxprofiler - ERROR");
  EXPECT_STREQ(closing[0].text, "Strings lengths do not match, command set for null entry in list");
  EXPECT_STREQ(closing[1].caption, "Hxprofiler - INTERNAL ERROR");
}

TEST(PowerList, WheelTicksHaveNoDuration) {
  PowerListEditor e = WithKeys({}, 39);
  e.ReleaseDuration(40);
  e.ChooseType(kPowerWheelTick);
  EXPECT_FALSE(e.DurationEnabled());
  e.SetWheel(0);
  EXPECT_FALSE(e.Add());
  EXPECT_EQ(e.Slot(0).duration, 0);
}

TEST(MapperRules, PowerCommandShutsTheOtherOptions) {
  // Options keys, buttons, wheel; their details; the Power Command's "Change".
  auto shown = [](const MapperEnabling& m) {
    std::string s;
    for (bool b : {m.keysOption, m.buttonsOption, m.wheelOption, m.keysDetails, m.buttonsDetails, m.wheelDetails,
                   m.powerChange})
      s += b ? '1' : '0';
    return s;
  };
  EXPECT_EQ(shown(MapperEnablingFor({true, false, true, false})), "1111010");
  EXPECT_EQ(shown(MapperEnablingFor({true, true, true, true})), "0000001");
}

TEST(MapperRules, ButtonAndWheelValues) {
  Command map;
  map.buttons[6] = 1;
  EXPECT_FALSE(ApplyButtonResult(map, {0, 0, 0, 0, 0}, kHold, 50));
  EXPECT_EQ(map.buttonAction, kTap);
  EXPECT_TRUE(ApplyButtonResult(map, {0, 1, 0, 1, 0}, kHold, 50));
  EXPECT_EQ(map.buttons[6], 1);  // never offered, never touched
  EXPECT_EQ(MapperOptionText(kOptionButtons, map), "Hold mouse buttons; 2 (Right), 4");
  EXPECT_FALSE(ApplyWheelResult(map, -1, 1, 5));

  const struct {
    bool powerForm;
    int method, rate;
    bool methodEnabled, rateEnabled;
    int position;  // 101 - rate
  } cases[] = {{false, 1, 1, true, true, 100}, {false, 0, 100, true, false, 1}, {true, 1, 30, false, false, 71}};
  for (const auto& c : cases) {
    WheelChoice w(c.powerForm, 0, c.method, c.rate);
    EXPECT_EQ(w.MethodEnabled(), c.methodEnabled);
    EXPECT_EQ(w.RateEnabled(), c.rateEnabled);
    EXPECT_EQ(w.SliderPosition(), c.position);
    w.ReleaseSlider(c.position);
    EXPECT_EQ(w.Rate(), c.rate);
  }
}

// The indicator's inside runs from the thumb's centre at dead zone 0 to its centre at 2000, so
// a reading equal to the dead zone fills it to the thumb, whatever the slider's margins.
TEST(MapperRules, IndicatorSpansTheThumbsTravel) {
  const struct {
    int lowest, highest, inset, left, width;
  } rows[] = {{32, 400, 1, 31, 370}, {20, 20, 2, 18, 4}, {48, 610, 0, 48, 562}};
  for (const auto& r : rows) {
    const IndicatorSpan span = IndicatorAlongSlider(r.lowest, r.highest, r.inset);
    EXPECT_EQ(span.left, r.left) << r.lowest;
    EXPECT_EQ(span.width, r.width) << r.lowest;
    for (int deadZone : {0, 700, 2000}) {  // where the fill of a reading equal to it ends
      const int fillEnd = span.left + r.inset + deadZone * (span.width - 2 * r.inset) / 2000;
      EXPECT_EQ(fillEnd, r.lowest + deadZone * (r.highest - r.lowest) / 2000) << r.lowest << " " << deadZone;
    }
  }
}

TEST(EditorRules, MotionListIconsForEveryMode) {
  Profile p;
  p.Map(1)->usesKeys = 1;      // Move right, command mode
  p.Map(7)->usesWheel = 1;     // Look right
  p.Map(12)->usesButtons = 1;  // Move up, mixed mode
  const struct {
    int mode;
    std::vector<int> images, maps;
  } cases[] = {
      {kMouselook, {12, 13}, {-1, -1}},
      {kCommandMode, {0, 7, 2, 3, 4, 5, 0, 7, 2, 3}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {kMixedMode, {0, 1, 8, 3, 4, 5, 12, 13}, {10, 11, 12, 13, 14, 15, -1, -1}},
  };
  for (const auto& c : cases) {
    std::vector<int> images, maps;
    for (const MotionItem& item : MotionList(c.mode, p)) images.push_back(item.image), maps.push_back(item.map);
    EXPECT_EQ(images, c.images) << c.mode;
    EXPECT_EQ(maps, c.maps) << c.mode;
  }
}

TEST(EditorRules, ClearAndClearAll) {
  EXPECT_STREQ(PlanClearMotion(kMixedMode, 7).refusal.text, "Noting to clear in mouse look mode.");
  EXPECT_EQ(PlanClearMotion(kMixedMode, 5).map, 15);
  EXPECT_EQ(PlanClearMotion(kMixedMode, -1).map, -1);

  Profile p;
  p.SetMode(kMixedMode);
  p.SetGamePath("C:\\game.exe");
  p.SetStartDirectory("C:\\");
  p.SetGameArguments("-w");
  p.pauseHotKey = 5;
  p.Map(15)->usesKeys = 1;
  ClearAll(p);
  EXPECT_EQ(p.Mode(), kMixedMode);
  EXPECT_EQ(p.GamePath() + p.StartDirectory() + p.GameArguments(), "C:\\game.exeC:\\-w");
  EXPECT_EQ(p.pauseHotKey, -1);
  EXPECT_FALSE(p.Map(15)->IsSet());
}

TEST(EditorRules, NameFilterDropsTheLastCharacterWhileAForbiddenOneRemains) {
  std::string typed = "a|bc", plain = "Half-Life 2";
  EXPECT_TRUE(FilterProfileName(typed));
  EXPECT_EQ(typed, "a");
  EXPECT_FALSE(FilterProfileName(plain));
}

TEST(DialogRules, ValuesFromAFileOutsideTheirRangesShowWhatIsValid) {
  Command map;
  map.powerCount = 60;
  for (int i = 0; i < 4; ++i) map.powerType[i] = kPowerKeypress, map.powerLabels[i] = kW;
  map.powerDelay[1] = 500;
  map.powerType[2] = 9;  // ends the list, and is kept as it is
  PowerListEditor e{map};
  EXPECT_EQ(e.LineCount(), 2);
  e.SelectLine(1);
  EXPECT_EQ(e.DelayPosition(), 100);
  Command back = map;
  e.Commit(back);
  EXPECT_EQ(back.powerCount, 2);
  EXPECT_EQ(back.powerType[2], 9);
  EXPECT_EQ(back.powerDelay[1], 500);
  EXPECT_STREQ(PowerTypeName(9), "");

  KeySelection keys(kPurposeMotionKeys, {300, -7, 101, 39}, 4, INT_MIN);
  EXPECT_EQ(keys.Result(), (std::array<int32_t, 4>{39, -1, -1, -1}));
  EXPECT_EQ(keys.Method().CheckedRadio(), -1);
  EXPECT_EQ(keys.Method().SliderPosition(), 1);
  EXPECT_EQ(WheelChoice(false, 7, 9, INT_MIN).SliderPosition(), 100);
  EXPECT_STREQ(MapperTitle(16), "");
  EXPECT_EQ(HotKeyText(200), "None set");  // not Up Arrow, whose code byte is 200
}

}  // namespace
