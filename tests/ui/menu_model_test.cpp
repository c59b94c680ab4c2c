#include "ui/menu/menu_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "app/startup.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani::menu {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

// The command ids in the order the menu shows them, sub-menus included.
std::vector<int> IdsInOrder(const std::vector<MenuItem>& items) {
  std::vector<int> ids;
  for (const auto& item : items) {
    if (item.id != 0) ids.push_back(item.id);
    const auto inner = IdsInOrder(item.children);
    ids.insert(ids.end(), inner.begin(), inner.end());
  }
  return ids;
}

Effects Choose(int id, AppState& s, bool monthWindow = false) {
  Behaviour b;
  MemoryRegistry registry;
  return Dispatch(id, s, b, registry, monthWindow);
}

// The table makes a menu a user can read and the program can dispatch: every
// command once, reachable in the menu, with a caption; a tool names its
// window, a toggle or a choice the setting it shows; every level holds items,
// starts and ends with one, has no two separators together, and no mnemonic
// (&X) twice.
TEST(ContextMenu, TheCommandTableMakesAWellFormedMenu) {
  std::multiset<int> ids;
  for (const CommandRow& row : CommandTable()) {
    if (row.id == 0) continue;
    ids.insert(row.id);
    EXPECT_EQ(FindCommand(row.id), &row) << row.id;
    EXPECT_STRNE(row.caption, "") << row.id;
    if (row.kind == Kind::kTool) {
      EXPECT_NE(row.tool, Tool::kNone) << row.id;
    }
    if (row.kind == Kind::kToggle || row.kind == Kind::kChoice) {
      EXPECT_NE(row.setting, Setting::kNone) << row.id;
      EXPECT_EQ(row.flag != nullptr, row.setting == Setting::kFlag) << row.id;
    }
  }
  const std::vector<int> inMenu = IdsInOrder(ContextMenu());
  EXPECT_EQ(std::multiset<int>(inMenu.begin(), inMenu.end()), ids);
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());

  const std::function<void(const std::vector<MenuItem>&, const std::string&)> level =
      [&](const std::vector<MenuItem>& items, const std::string& name) {
        ASSERT_FALSE(items.empty()) << name;
        EXPECT_FALSE(items.front().separator()) << name;
        EXPECT_FALSE(items.back().separator()) << name;
        std::set<char> mnemonics;
        for (std::size_t i = 0; i < items.size(); ++i) {
          const MenuItem& item = items[i];
          if (item.separator()) {
            EXPECT_FALSE(items[i - 1].separator()) << name << " " << i;
            continue;
          }
          const std::size_t amp = item.caption.find('&');
          ASSERT_NE(amp, std::string::npos) << item.caption;
          EXPECT_TRUE(mnemonics.insert(item.caption[amp + 1]).second) << name << ": " << item.caption;
          if (item.id == 0) level(item.children, item.caption);
        }
      };
  level(ContextMenu(), "top");
}

TEST(ContextMenu, CheckMarksFollowTheState) {
  struct Case {
    const char* name;
    std::function<void(AppState&)> set;
    std::set<int> checked;
  };
  const Case cases[] = {
      {"start", [](AppState&) {}, {3025, 3035, 3040, 3096}},
      {"month window, embedded, locked, automatic",
       [](AppState& s) {
         s.CalendarKind = WindowKind::kMonth;
         s.LayerMode = Layer::kDesktop;
         s.PositionLock = MoveLock::kLocked;
         s.FORMTransFlag = Transparency::kAutomatic;
         s.RegistryUseFlag = true;
         s.WholeAutoReportTimeFlag = true;
         s.DFORMShowInfoTypeFlag = DayInfo::kDawnDusk;
       },
       {3026, 3036, 3037, 3050, 3085, 3087, 3098}},
      {"normal, 90 %, the other options",
       [](AppState& s) {
         s.LayerMode = Layer::kNormal;
         s.FORMTransFlag = TransparencyOfLevel(9);
         s.AutoRunFlag = true;
         s.GanZhiFromChunjieFlag = true;
         s.CloseFORMAudioPlayFlag = true;
         s.ModernCalculateAncientFlag = true;
         s.NearLocateMemorialFlag = true;
         s.DFORMShowDynastyFlag = true;
         s.DFORMShowInfoTypeFlag = DayInfo::kSunriseSunset;
         s.TraditionalCharsFlag = true;
       },
       {3025, 3049, 3086, 3090, 3091, 3092, 3093, 3095, 3097, 3099}},
  };
  std::vector<int> ids = IdsInOrder(ContextMenu());
  ids.insert(ids.end(), {0, 3024, 3108, 4000});
  for (const auto& c : cases) {
    AppState s;
    c.set(s);
    std::set<int> checked;
    for (int id : ids) {
      if (IsChecked(id, s)) checked.insert(id);
    }
    EXPECT_EQ(checked, c.checked) << c.name;
  }
}

TEST(ContextMenu, PlacementCommands) {
  using P = Placement;
  constexpr Layer kT = Layer::kTopmost, kD = Layer::kDesktop, kN = Layer::kNormal;
  struct Case {
    Layer from;
    int id;
    std::vector<Placement> placement;
    Layer to;
  };
  const Case cases[] = {
      {kT, kAlwaysOnTop, {P::kRemoveTopmost}, kN},   {kD, kAlwaysOnTop, {P::kLeaveDesktop, P::kSetTopmost}, kT},
      {kN, kAlwaysOnTop, {P::kSetTopmost}, kT},      {kT, kEmbedInDesktop, {P::kRemoveTopmost, P::kEmbed}, kD},
      {kD, kEmbedInDesktop, {P::kLeaveDesktop}, kN}, {kN, kEmbedInDesktop, {P::kEmbed}, kD},
  };
  auto row = [&](Layer from, int id) -> const Case& {
    for (const auto& c : cases) {
      if (c.from == from && c.id == id) return c;
    }
    throw std::logic_error("no row");
  };
  for (const auto& c : cases) {
    AppState s;
    s.LayerMode = c.from;
    // The same command twice: the second acts from the mode the first left.
    for (const Case* step : {&c, &row(c.to, c.id)}) {
      Effects expected;
      expected.placement = step->placement;
      const int from = static_cast<int>(c.from), stepFrom = static_cast<int>(step->from);
      EXPECT_EQ(Choose(c.id, s), expected) << from << " " << c.id << " from " << stepFrom;
      EXPECT_EQ(s.LayerMode, step->to) << from << " " << c.id << " from " << stepFrom;
    }
  }

  AppState s;
  for (MoveLock lock : {MoveLock::kLocked, MoveLock::kMovable, MoveLock::kLocked}) {
    EXPECT_EQ(Choose(kLockPosition, s), Effects{});
    EXPECT_EQ(s.PositionLock, lock);
  }
}

TEST(ContextMenu, FixedTransparencyLevels) {
  for (int k = 0; k <= 9; ++k) {
    AppState s;
    s.FORMTransFlag = Transparency::kAutomatic;
    const Effects e = Choose(kTransparency0 + k, s);
    EXPECT_EQ(LevelOf(s.FORMTransFlag), k);
    EXPECT_EQ(e.transparencyAmount, 25 * k);
    EXPECT_EQ(e.fadeTimer, false);
  }
  struct Case {
    int amount;
    int alpha;
  };
  for (const Case c : {Case{-5, 255}, Case{0, 255}, Case{225, 30}, Case{255, 0}, Case{256, 0}, Case{1000, 0}}) {
    EXPECT_EQ(AlphaOf(c.amount), c.alpha) << c.amount;
  }
  EXPECT_EQ(AlphaOf(AmountOfLevel(TransparencyOfLevel(9))), 30);
  EXPECT_EQ(AmountOfLevel(Transparency::kAutomatic), 0);
}

TEST(ContextMenu, AutomaticTransparencyFades) {
  AppState s;
  s.FORMTransFlag = TransparencyOfLevel(3);
  Behaviour b;
  b.fadeCount = 7;
  b.menuOpen = true;
  MemoryRegistry registry;
  const Effects e = Dispatch(kTransparencyAuto, s, b, registry, false);
  EXPECT_EQ(s.FORMTransFlag, Transparency::kAutomatic);
  EXPECT_EQ(e.transparencyAmount, 0);
  EXPECT_EQ(e.fadeTimer, true);
  EXPECT_EQ(b.fadeCount, 0);
  EXPECT_FALSE(b.menuOpen);

  // Fifteen ticks away from the window: 240 down to 30, then it stays.
  std::optional<int> amount;
  for (int tick = 1; tick <= 15; ++tick) {
    amount = FadeTick(b, false);
    ASSERT_EQ(amount, 15 * tick);
  }
  EXPECT_EQ(AlphaOf(*amount), 30);
  EXPECT_EQ(FadeTick(b, false), std::nullopt);
  EXPECT_EQ(b.fadeCount, 15);

  // A touch makes it opaque; ticks over the window count but change nothing.
  EXPECT_EQ(FadeTouch(b), 0);
  EXPECT_EQ(b.fadeCount, 0);
  EXPECT_EQ(FadeTick(b, true), std::nullopt);
  EXPECT_EQ(FadeTick(b, true), std::nullopt);
  EXPECT_EQ(b.fadeCount, 2);
  EXPECT_EQ(FadeTick(b, false), 45);

  // An open menu or list holds the fade.
  for (bool menu : {true, false}) {
    Behaviour held = b;
    held.menuOpen = menu;
    held.dropdownOpen = !menu;
    EXPECT_EQ(FadeTick(held, false), std::nullopt);
    EXPECT_EQ(held.fadeCount, 3);
  }
}

TEST(ContextMenu, OptionsToggleTheirSettings) {
  struct Case {
    int id;
    bool AppState::*flag;
    Refresh refresh;
  };
  const Case cases[] = {
      {kOptionRegistry, &AppState::RegistryUseFlag, Refresh::kTexts},
      {kOptionAutoRun, &AppState::AutoRunFlag, Refresh::kNone},
      {kOptionHourly, &AppState::WholeAutoReportTimeFlag, Refresh::kNone},
      {kOptionGanZhiFromNewYear, &AppState::GanZhiFromChunjieFlag, Refresh::kTexts},
      {kOptionNoBackgroundMusic, &AppState::CloseFORMAudioPlayFlag, Refresh::kTexts},
      {kOptionNearLocate, &AppState::NearLocateMemorialFlag, Refresh::kTexts},
      {kOptionDynasty, &AppState::DFORMShowDynastyFlag, Refresh::kLists},
      {kOptionMondayFirst, &AppState::MFORMMondayFirstFlag, Refresh::kNone},  // the day window shows no weeks
      {kOptionTraditional, &AppState::TraditionalCharsFlag, Refresh::kAll},
  };
  for (const auto& c : cases) {
    AppState s;
    Behaviour b;
    MemoryRegistry registry;
    for (bool expected : {true, false}) {
      const Effects e = Dispatch(c.id, s, b, registry, false);
      EXPECT_EQ(s.*c.flag, expected) << c.id;
      EXPECT_EQ(e.refresh, c.refresh) << c.id;
      if (c.id == kOptionHourly) {
        EXPECT_EQ(e.hourlyTimer, expected);
      }
      if (c.id == kOptionRegistry) {
        EXPECT_EQ(registry.Get(kUser, kSettingsKey, "Version"),
                  expected ? std::optional<std::string>("4.1") : std::nullopt);
      } else {
        EXPECT_TRUE(registry.Values().empty()) << c.id;
      }
    }
  }

  AppState s;
  for (int k : {2, 0, 1}) {
    EXPECT_EQ(Choose(kOptionInfoFestivals + k, s).refresh, Refresh::kTexts);
    EXPECT_EQ(static_cast<int>(s.DFORMShowInfoTypeFlag), k);
  }
}

TEST(ContextMenu, ModernAstronomyRebuildsTheLunarCalendar) {
  AppState s;
  s.CurrentYear = -103, s.CurrentMonth = 3, s.CurrentDay = 1;
  RecomputeLunarBounds(s);
  const AppState before = s;
  ASSERT_EQ(s.Rules(), kHistoricalRules);

  EXPECT_EQ(Choose(kOptionModernAncient, s).refresh, Refresh::kAll);
  EXPECT_TRUE(s.ModernCalculateAncientFlag);
  EXPECT_EQ(s.Rules(), kModernRules);
  // The displayed date follows the new rules.
  EXPECT_NE((CivilDate{s.CurrentLunarYear, s.CurrentLunarMonth, s.CurrentLunarDay}),
            (CivilDate{before.CurrentLunarYear, before.CurrentLunarMonth, before.CurrentLunarDay}));
  EXPECT_EQ(s.CurrentYear, -103);

  Choose(kOptionModernAncient, s);
  EXPECT_EQ(s.Rules(), kHistoricalRules);
  EXPECT_EQ(s.CurrentLunarDay, before.CurrentLunarDay);
  EXPECT_EQ(s.LunarFirst, before.LunarFirst);
}

TEST(ContextMenu, WindowsToolsAndTheRest) {
  struct Case {
    int id;
    bool monthWindow;
    std::function<void(Effects&)> expect;
  };
  const Case cases[] = {
      {kCoordinates, false, [](Effects& e) { e.openTool = kCoordinates; e.refresh = Refresh::kTexts; }},
      {kEditCountdown, true,
       [](Effects& e) { e.openTool = kEditCountdown; e.stopBackgroundMusic = true; e.refresh = Refresh::kTexts; }},
      {kEditMemorials, false,
       [](Effects& e) { e.openTool = kEditMemorials; e.stopBackgroundMusic = true; e.refresh = Refresh::kTexts; }},
      {kEditAlarms, false, [](Effects& e) { e.openTool = kEditAlarms; }},
      {kTableMoons, false, [](Effects& e) { e.openTool = kTableMoons; }},
      {kWeather, true, [](Effects& e) { e.openTool = kWeather; }},
      {kHelp, false, [](Effects& e) { e.openTool = kHelp; }},
      {kSpeakTime, false, [](Effects& e) { e.speakTime = true; }},
      {kOptionPicture, false, [](Effects& e) { e.choosePicture = true; }},
      {kOptionPicture, true, [](Effects&) {}},
      // What shows in the day window alone is greyed in the month window.
      {kOptionInfoSunTimes, true, [](Effects&) {}},
      {kOptionDynasty, true, [](Effects&) {}},
      {kOptionDynasty, false, [](Effects& e) { e.refresh = Refresh::kLists; }},
      {kOptionMondayFirst, true, [](Effects& e) { e.refresh = Refresh::kAll; }},
      {kGoToday, true, [](Effects& e) { e.goToday = true; }},
      {kExportRecords, true, [](Effects& e) { e.file = FileAction::kExport; }},
      {kImportRecords, false, [](Effects& e) { e.file = FileAction::kImport; }},
      {kExit, false, [](Effects& e) { e.closeWindow = true; }},
      {0, false, [](Effects&) {}},
      {3039, false, [](Effects&) {}},
      {3108, false, [](Effects&) {}},
      {45057, false, [](Effects&) {}},
  };
  for (const auto& c : cases) {
    AppState s;
    s.CurrentYear = 2024;
    Behaviour b;
    b.menuOpen = true;
    MemoryRegistry registry;
    Effects expected;
    c.expect(expected);
    EXPECT_EQ(Dispatch(c.id, s, b, registry, c.monthWindow), expected) << c.id;
    EXPECT_FALSE(b.menuOpen) << c.id;
    EXPECT_TRUE(registry.Values().empty()) << c.id;
  }

  for (int year : {1979, 1980, 2099, 2100}) {
    AppState s;
    s.CurrentYear = year;
    EXPECT_EQ(Choose(kSetSystemDate, s).openTool, year >= 1980 && year <= 2099 ? kSetSystemDate : 0) << year;
  }
}

// Turning registry use off asks first; a change it would keep, made while it
// is off, offers it once a run.
TEST(ContextMenu, QuestionsAboutRegistryUse) {
  AppState off, on;
  on.RegistryUseFlag = true;
  EXPECT_TRUE(AsksFirst(kOptionRegistry, on));
  EXPECT_FALSE(AsksFirst(kOptionRegistry, off));
  EXPECT_FALSE(AsksFirst(kOptionNearLocate, on));
  struct Case {
    bool registryUse, changed, askedBefore, offered;
  };
  const Case cases[] = {
      {false, true, false, true},
      {false, true, true, false},
      {false, false, false, false},
      {true, true, false, false},
  };
  for (const Case& c : cases) {
    AppState before;
    before.RegistryUseFlag = c.registryUse ? 1 : 0;
    AppState after = before;
    if (c.changed) after.Alarms[0].on = true;
    EXPECT_EQ(OffersRegistryUse(before, after, c.askedBefore), c.offered)
        << c.registryUse << c.changed << c.askedBefore;
  }
  EXPECT_EQ(HotKeysTakenText(""), "");
  EXPECT_EQ(HotKeysTakenText("W"), "热键 Ctrl+Alt+W 已被其他程序占用，本程序不能使用。");
  EXPECT_EQ(HotKeysTakenText("RX"),
            "热键 Ctrl+Alt+R、Ctrl+Alt+X 已被其他程序占用，本程序不能使用。单击托盘图标可以显示窗口。");
}

// In the month window the items for the day window alone are greyed: its
// picture, its era names and what its second line shows.  Nothing else is.
TEST(ContextMenu, ItemsGreyedInTheMonthWindow) {
  std::set<int> greyedInMonth, greyedInDay;
  const std::function<void(const std::vector<MenuItem>&)> walk = [&](const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
      walk(item.children);
      if (item.id == 0) continue;
      if (!IsEnabled(item.id, true)) greyedInMonth.insert(item.id);
      if (!IsEnabled(item.id, false)) greyedInDay.insert(item.id);
    }
  };
  walk(ContextMenu());
  EXPECT_EQ(greyedInMonth, (std::set<int>{kOptionDynasty, kOptionInfoFestivals, kOptionInfoSunTimes,
                                          kOptionInfoTwilight, kOptionPicture}));
  EXPECT_TRUE(greyedInDay.empty());
}

TEST(ContextMenu, SwitchingWindows) {
  struct Case {
    WindowKind kind;
    int id;
    bool switches;
  };
  constexpr WindowKind kDay = WindowKind::kDay, kMonth = WindowKind::kMonth;
  const Case cases[] = {
      {kDay, kShowDayWindow, false},
      {kMonth, kShowMonthWindow, false},
      {kDay, kShowMonthWindow, true},
      {kMonth, kShowDayWindow, true},
  };
  for (const auto& c : cases) {
    AppState s;
    SetDisplayedDate(s, {2024, 2, 10});
    s.CalendarKind = c.kind;
    s.LayerMode = Layer::kDesktop;
    s.PositionLock = MoveLock::kLocked;
    Behaviour b;
    MemoryRegistry registry;
    const Effects e = Dispatch(c.id, s, b, registry, c.kind == kMonth);
    EXPECT_EQ(e.closeWindow, c.switches) << c.id;
    EXPECT_EQ(e == Effects{}, !c.switches) << c.id;
    EXPECT_EQ(s.CalendarKind, c.switches ? (c.kind == kDay ? kMonth : kDay) : c.kind) << c.id;
    EXPECT_EQ(s.ReopenFlag, c.switches) << c.id;
    EXPECT_EQ(s.LayerMode, c.switches ? Layer::kTopmost : Layer::kDesktop) << c.id;
    EXPECT_EQ(s.PositionLock, c.switches ? MoveLock::kMovable : MoveLock::kLocked) << c.id;
    EXPECT_EQ(s.CurrentLunarMonth, 1) << c.id;
    EXPECT_TRUE(registry.Values().empty()) << c.id;
  }
}

}  // namespace
}  // namespace tovani::menu
