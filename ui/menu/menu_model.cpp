#include "ui/menu/menu_model.h"

#include <algorithm>

#include "app/settings.h"
#include "app/startup.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani::menu {
namespace {

MenuItem Item(const char* caption, int id) { return {caption, id, {}}; }
MenuItem Separator() { return {}; }
MenuItem SubMenu(const char* caption, std::vector<MenuItem> children) { return {caption, 0, std::move(children)}; }

std::vector<MenuItem> BuildMenu() {
  return {
      Item("青鹭日历(&D)", kShowDayWindow),
      Item("青鹭月历(&M)", kShowMonthWindow),
      Separator(),
      Item("最前显示(&T)", kAlwaysOnTop),
      Item("嵌入桌面(&I)", kEmbedInDesktop),
      Separator(),
      Item("禁止移动(&N)", kLockPosition),
      Separator(),
      SubMenu("设置透明度(&P)",
              {
                  Item("0%(&0)", kTransparency0),
                  Item("10%(&1)", kTransparency0 + 1),
                  Item("20%(&2)", kTransparency0 + 2),
                  Item("30%(&3)", kTransparency0 + 3),
                  Item("40%(&4)", kTransparency0 + 4),
                  Item("50%(&5)", kTransparency0 + 5),
                  Item("60%(&6)", kTransparency0 + 6),
                  Item("70%(&7)", kTransparency0 + 7),
                  Item("80%(&8)", kTransparency0 + 8),
                  Item("90%(&9)", kTransparency0 + 9),
                  Separator(),
                  Item("自动(&A)", kTransparencyAuto),
              }),
      Separator(),
      Item("本地坐标(&L)...", kCoordinates),
      Separator(),
      SubMenu("实用工具(&U)",
              {
                  Item("编辑纪念日(&E)...", kEditMemorials),
                  Item("编辑提醒日(&R)...", kEditReminders),
                  Item("编辑倒计日(&O)...", kEditCountdown),
                  Separator(),
                  Item("编辑闹钟(&A)...", kEditAlarms),
                  Separator(),
                  Item("计算儒略日(&J)...", kCalcJulianDay),
                  Item("计算间隔日(&I)...", kCalcInterval),
                  Item("计算干支历(&G)...", kCalcSexagenary),
                  Separator(),
                  Item("公历农历回历互转(&C)...", kCalcConvert),
                  Separator(),
                  Item("计算农历月(&L)...", kTableMonths),
                  Item("计算节气日(&T)...", kTableTerms),
                  Item("计算朔望日(&N)...", kTableMoons),
                  Separator(),
                  Item("计算太阳升降时刻(&S)...", kTableSun),
                  Separator(),
                  Item("查询条件月(&M)...", kSearchMonths),
                  Item("查询条件日(&D)...", kSearchDays),
                  Separator(),
                  Item("查询天气预报(&W)...", kWeather),
              }),
      Separator(),
      Item("语音报时(&V)", kSpeakTime),
      Separator(),
      SubMenu("选项(&O)",
              {
                  Item("允许使用注册表(&U)", kOptionRegistry),
                  Item("开机自动运行(&P)", kOptionAutoRun),
                  Separator(),
                  Item("整点自动报时(&W)", kOptionHourly),
                  Separator(),
                  Item("干支纪年以春节为起点(&F)", kOptionGanZhiFromNewYear),
                  Item("关闭背景音乐播放功能(&C)", kOptionNoBackgroundMusic),
                  Item("按现代天文算法计算古历(&M)", kOptionModernAncient),
                  Item("近似定位纪念日(&N)", kOptionNearLocate),
                  Separator(),
                  Item("每周从星期一开始(&K)", kOptionMondayFirst),
                  Item("日历界面显示年号纪年(&D)", kOptionDynasty),
                  Separator(),
                  Item("日历界面显示节日节气(&G)", kOptionInfoFestivals),
                  Item("日历界面显示日出日落时刻(&R)", kOptionInfoSunTimes),
                  Item("日历界面显示天亮天黑时刻(&B)", kOptionInfoTwilight),
                  Separator(),
                  Item("繁体中文(&T)", kOptionTraditional),
                  Separator(),
                  Item("选择日历界面背景图片(&S)...", kOptionPicture),
                  Separator(),
                  Item("导出记录和设置(&E)...", kExportRecords),
                  Item("导入记录和设置(&I)...", kImportRecords),
              }),
      Separator(),
      Item("转到系统日期(&G)", kGoToday),
      Item("修改系统日期(&S)", kSetSystemDate),
      Separator(),
      Item("帮助(&H)", kHelp),
      Separator(),
      Item("退出(&X)   Alt+X", kExit),
  };
}

}  // namespace

const std::vector<MenuItem>& ContextMenu() {
  static const std::vector<MenuItem> menu = BuildMenu();
  return menu;
}

bool IsChecked(int id, const AppState& s) {
  if (id >= kTransparency0 && id <= kTransparency0 + 9) return LevelOf(s.FORMTransFlag) == id - kTransparency0;
  if (id >= kOptionInfoFestivals && id <= kOptionInfoTwilight) {
    return static_cast<int>(s.DFORMShowInfoTypeFlag) == id - kOptionInfoFestivals;
  }
  switch (id) {
    case kShowDayWindow: return s.CalendarKind == WindowKind::kDay;
    case kShowMonthWindow: return s.CalendarKind == WindowKind::kMonth;
    case kAlwaysOnTop: return s.LayerMode == Layer::kTopmost;
    case kEmbedInDesktop: return s.LayerMode == Layer::kDesktop;
    case kLockPosition: return s.PositionLock == MoveLock::kLocked;
    case kTransparencyAuto: return s.FORMTransFlag == Transparency::kAutomatic;
    case kOptionRegistry: return s.RegistryUseFlag;
    case kOptionAutoRun: return s.AutoRunFlag;
    case kOptionHourly: return s.WholeAutoReportTimeFlag;
    case kOptionGanZhiFromNewYear: return s.GanZhiFromChunjieFlag;
    case kOptionNoBackgroundMusic: return s.CloseFORMAudioPlayFlag;
    case kOptionModernAncient: return s.ModernCalculateAncientFlag;
    case kOptionNearLocate: return s.NearLocateMemorialFlag;
    case kOptionDynasty: return s.DFORMShowDynastyFlag;
    case kOptionMondayFirst: return s.MFORMMondayFirstFlag;
    case kOptionTraditional: return s.TraditionalCharsFlag;
    default: return false;
  }
}

bool IsEnabled(int id, bool monthWindow) {
  if (!monthWindow) return true;
  switch (id) {
    case kOptionDynasty:
    case kOptionInfoFestivals:
    case kOptionInfoSunTimes:
    case kOptionInfoTwilight:
    case kOptionPicture:
      return false;
    default:
      return true;
  }
}

bool AsksFirst(int id, const AppState& s) { return id == kOptionRegistry && s.RegistryUseFlag; }

bool OffersRegistryUse(const AppState& before, const AppState& after, bool askedBefore) {
  return !askedBefore && !after.RegistryUseFlag && ChangesKeptSettings(before, after);
}

std::string HotKeysTakenText(const std::string& letters) {
  if (letters.empty()) return {};
  std::string keys;
  for (char c : letters) {
    if (!keys.empty()) keys += "、";
    keys += std::string("Ctrl+Alt+") + c;
  }
  std::string text = "热键 " + keys + " 已被其他程序占用，本程序不能使用。";
  if (letters.find('R') != std::string::npos) text += "单击托盘图标可以显示窗口。";
  return text;
}

int AmountOfLevel(Transparency t) {
  const int level = LevelOf(t);
  return level >= 0 && level <= 9 ? 25 * level : 0;
}

std::uint8_t AlphaOf(int amount) { return static_cast<std::uint8_t>(255 - std::clamp(amount, 0, 255)); }

std::optional<int> FadeTick(Behaviour& b, bool cursorOverWindow) {
  if (b.dropdownOpen || b.menuOpen || b.fadeCount > 14) return std::nullopt;
  b.fadeCount = std::max(b.fadeCount, 0) + 1;
  if (cursorOverWindow) return std::nullopt;
  return 15 * b.fadeCount;
}

int FadeTouch(Behaviour& b) {
  b.fadeCount = 0;
  return 0;
}

Effects Dispatch(int id, AppState& s, Behaviour& b, RegistryStore& registry, bool monthWindow) {
  b.menuOpen = false;
  Effects e;
  if (!IsEnabled(id, monthWindow)) return e;  // greyed there: it would do nothing
  if (id >= kTransparency0 && id <= kTransparency0 + 9) {
    s.FORMTransFlag = TransparencyOfLevel(id - kTransparency0);
    e.transparencyAmount = AmountOfLevel(s.FORMTransFlag);
    e.fadeTimer = false;
    return e;
  }
  if (id >= kOptionInfoFestivals && id <= kOptionInfoTwilight) {
    s.DFORMShowInfoTypeFlag = static_cast<DayInfo>(id - kOptionInfoFestivals);
    e.refresh = Refresh::kTexts;
    return e;
  }
  switch (id) {
    case kShowDayWindow:
      e.closeWindow = SwitchToDayWindow(s);
      break;
    case kShowMonthWindow:
      e.closeWindow = SwitchToMonthWindow(s);
      break;
    case kAlwaysOnTop:
      if (s.LayerMode == Layer::kTopmost) {
        e.placement = {Placement::kRemoveTopmost};
        s.LayerMode = Layer::kNormal;
      } else {
        if (s.LayerMode == Layer::kDesktop) e.placement.push_back(Placement::kLeaveDesktop);
        e.placement.push_back(Placement::kSetTopmost);
        s.LayerMode = Layer::kTopmost;
      }
      break;
    case kEmbedInDesktop:
      if (s.LayerMode == Layer::kDesktop) {
        e.placement = {Placement::kLeaveDesktop};
        s.LayerMode = Layer::kNormal;
      } else {
        if (s.LayerMode == Layer::kTopmost) e.placement.push_back(Placement::kRemoveTopmost);
        e.placement.push_back(Placement::kEmbed);
        s.LayerMode = Layer::kDesktop;
      }
      break;
    case kLockPosition:
      s.PositionLock = s.PositionLock == MoveLock::kLocked ? MoveLock::kMovable : MoveLock::kLocked;
      break;
    case kTransparencyAuto:
      s.FORMTransFlag = Transparency::kAutomatic;
      b.fadeCount = 0;
      e.transparencyAmount = AmountOfLevel(Transparency::kAutomatic);
      e.fadeTimer = true;
      break;
    case kCoordinates:
    case kEditMemorials:
    case kEditReminders:
    case kEditCountdown:
      e.openTool = id;
      e.stopBackgroundMusic = id != kCoordinates;
      e.refresh = Refresh::kTexts;
      break;
    case kEditAlarms:
    case kCalcJulianDay:
    case kCalcInterval:
    case kCalcSexagenary:
    case kCalcConvert:
    case kTableMonths:
    case kTableTerms:
    case kTableMoons:
    case kTableSun:
    case kSearchMonths:
    case kSearchDays:
    case kWeather:
    case kHelp:
      e.openTool = id;
      break;
    case kSetSystemDate:
      if (s.CurrentYear >= 1980 && s.CurrentYear <= 2099) e.openTool = id;
      break;
    case kSpeakTime:
      e.speakTime = true;
      break;
    case kOptionRegistry:
      ToggleRegistryUse(s, registry);
      e.refresh = Refresh::kTexts;
      break;
    case kOptionAutoRun:
      ToggleAutoRun(s);
      break;
    case kOptionHourly:
      s.WholeAutoReportTimeFlag = !s.WholeAutoReportTimeFlag;
      e.hourlyTimer = s.WholeAutoReportTimeFlag;
      break;
    case kOptionGanZhiFromNewYear:
      s.GanZhiFromChunjieFlag = !s.GanZhiFromChunjieFlag;
      e.refresh = Refresh::kTexts;
      break;
    case kOptionNoBackgroundMusic:
      s.CloseFORMAudioPlayFlag = !s.CloseFORMAudioPlayFlag;
      e.refresh = Refresh::kTexts;
      break;
    case kOptionNearLocate:
      s.NearLocateMemorialFlag = !s.NearLocateMemorialFlag;
      e.refresh = Refresh::kTexts;
      break;
    case kOptionModernAncient:
      // The lunar calendar changes under every date (each rule set has its
      // own cached years), and the lunar ends of the range move.
      s.ModernCalculateAncientFlag = !s.ModernCalculateAncientFlag;
      RecomputeLunarBounds(s);
      e.refresh = Refresh::kAll;
      break;
    case kOptionDynasty:
      s.DFORMShowDynastyFlag = !s.DFORMShowDynastyFlag;
      e.refresh = Refresh::kLists;
      break;
    case kOptionMondayFirst:
      // The month window's columns; the day window shows no weeks.
      s.MFORMMondayFirstFlag = !s.MFORMMondayFirstFlag;
      if (monthWindow) e.refresh = Refresh::kAll;
      break;
    case kOptionTraditional:
      // Every text the windows show, the menu's too; not the user's own.
      s.TraditionalCharsFlag = !s.TraditionalCharsFlag;
      e.refresh = Refresh::kAll;
      break;
    case kOptionPicture:
      e.choosePicture = !monthWindow;
      break;
    case kGoToday:
      e.goToday = true;
      break;
    case kExportRecords:
      e.file = FileAction::kExport;
      break;
    case kImportRecords:
      e.file = FileAction::kImport;
      break;
    case kExit:
      e.closeWindow = true;
      break;
    default:
      break;
  }
  return e;
}

}  // namespace tovani::menu
