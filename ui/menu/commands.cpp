#include "ui/menu/commands.h"

#include "ui/calculator/calculator_model.h"
#include "ui/coordinates/coordinates_model.h"
#include "ui/help/help_model.h"
#include "ui/memorial/memorial_model.h"
#include "ui/search/search_model.h"
#include "ui/tables/tables_model.h"

namespace tovani::menu {
namespace {

constexpr CommandRow Separator() { return {}; }
constexpr CommandRow SubMenu(const char* caption) { return {.kind = Kind::kSubMenu, .caption = caption}; }
constexpr CommandRow EndSubMenu() { return {.kind = Kind::kEndSubMenu}; }
constexpr CommandRow Action(int id, const char* caption) { return {.kind = Kind::kAction, .id = id, .caption = caption}; }
// An option of the state: a flag turned on and off.
constexpr CommandRow Flag(int id, const char* caption, bool AppState::*flag, Refresh refresh = Refresh::kNone,
                          bool dayWindowOnly = false) {
  return {.kind = Kind::kToggle, .id = id, .caption = caption, .setting = Setting::kFlag, .flag = flag,
          .refresh = refresh, .dayWindowOnly = dayWindowOnly};
}
// A setting that is not a flag, on while it has the value.
constexpr CommandRow Toggle(int id, const char* caption, Setting setting, int on) {
  return {.kind = Kind::kToggle, .id = id, .caption = caption, .setting = setting, .value = on};
}
constexpr CommandRow Choice(int id, const char* caption, Setting setting, int value, Refresh refresh = Refresh::kNone,
                            bool dayWindowOnly = false) {
  return {.kind = Kind::kChoice, .id = id, .caption = caption, .setting = setting, .value = value,
          .refresh = refresh, .dayWindowOnly = dayWindowOnly};
}
constexpr CommandRow ToolItem(int id, const char* caption, Tool tool, int page, Refresh refresh = Refresh::kNone,
                              bool stopsMusic = false) {
  return {.kind = Kind::kTool, .id = id, .caption = caption, .value = page, .tool = tool, .refresh = refresh,
          .stopsMusic = stopsMusic};
}

constexpr CommandRow kTable[] = {
    Choice(kShowDayWindow, "青鹭日历(&D)", Setting::kWindow, static_cast<int>(WindowKind::kDay)),
    Choice(kShowMonthWindow, "青鹭月历(&M)", Setting::kWindow, static_cast<int>(WindowKind::kMonth)),
    Separator(),
    Toggle(kAlwaysOnTop, "最前显示(&T)", Setting::kLayer, static_cast<int>(Layer::kTopmost)),
    Toggle(kEmbedInDesktop, "嵌入桌面(&I)", Setting::kLayer, static_cast<int>(Layer::kDesktop)),
    Separator(),
    Toggle(kLockPosition, "禁止移动(&N)", Setting::kMoveLock, static_cast<int>(MoveLock::kLocked)),
    Separator(),
    SubMenu("设置透明度(&P)"),
    Choice(kTransparency0, "0%(&0)", Setting::kTransparency, 0),
    Choice(kTransparency0 + 1, "10%(&1)", Setting::kTransparency, 1),
    Choice(kTransparency0 + 2, "20%(&2)", Setting::kTransparency, 2),
    Choice(kTransparency0 + 3, "30%(&3)", Setting::kTransparency, 3),
    Choice(kTransparency0 + 4, "40%(&4)", Setting::kTransparency, 4),
    Choice(kTransparency0 + 5, "50%(&5)", Setting::kTransparency, 5),
    Choice(kTransparency0 + 6, "60%(&6)", Setting::kTransparency, 6),
    Choice(kTransparency0 + 7, "70%(&7)", Setting::kTransparency, 7),
    Choice(kTransparency0 + 8, "80%(&8)", Setting::kTransparency, 8),
    Choice(kTransparency0 + 9, "90%(&9)", Setting::kTransparency, 9),
    Separator(),
    Choice(kTransparencyAuto, "自动(&A)", Setting::kTransparency, LevelOf(Transparency::kAutomatic)),
    EndSubMenu(),
    Separator(),
    ToolItem(kCoordinates, "本地坐标(&L)...", Tool::kCoordinates, coordinates::kPlaceMode, Refresh::kTexts),
    Separator(),
    SubMenu("实用工具(&U)"),
    ToolItem(kEditMemorials, "编辑纪念日(&E)...", Tool::kMemorialEditor, memorial::kMemorials, Refresh::kTexts, true),
    ToolItem(kEditReminders, "编辑提醒日(&R)...", Tool::kMemorialEditor, memorial::kReminders, Refresh::kTexts, true),
    ToolItem(kEditCountdown, "编辑倒计日(&O)...", Tool::kMemorialEditor, memorial::kCountdown, Refresh::kTexts, true),
    Separator(),
    ToolItem(kEditAlarms, "编辑闹钟(&A)...", Tool::kCoordinates, coordinates::kAlarmMode),
    Separator(),
    ToolItem(kCalcJulianDay, "计算儒略日(&J)...", Tool::kCalculator, calculator::kJulianDayPage),
    ToolItem(kCalcInterval, "计算间隔日(&I)...", Tool::kCalculator, calculator::kIntervalPage),
    ToolItem(kCalcSexagenary, "计算干支历(&G)...", Tool::kCalculator, calculator::kSexagenaryPage),
    Separator(),
    ToolItem(kCalcConvert, "公历农历回历互转(&C)...", Tool::kCalculator, calculator::kConvertPage),
    Separator(),
    ToolItem(kTableMonths, "计算农历月(&L)...", Tool::kTables, tables::kLunarMonths),
    ToolItem(kTableTerms, "计算节气日(&T)...", Tool::kTables, tables::kSolarTerms),
    ToolItem(kTableMoons, "计算朔望日(&N)...", Tool::kTables, tables::kMoons),
    Separator(),
    ToolItem(kTableSun, "计算太阳升降时刻(&S)...", Tool::kTables, tables::kSunTimes),
    Separator(),
    ToolItem(kSearchMonths, "查询条件月(&M)...", Tool::kSearch, search::kMonths),
    ToolItem(kSearchDays, "查询条件日(&D)...", Tool::kSearch, search::kDays),
    Separator(),
    ToolItem(kWeather, "查询天气预报(&W)...", Tool::kWeather, 0),
    EndSubMenu(),
    Separator(),
    Action(kSpeakTime, "语音报时(&V)"),
    Separator(),
    SubMenu("选项(&O)"),
    Flag(kOptionRegistry, "允许使用注册表(&U)", &AppState::RegistryUseFlag, Refresh::kTexts),
    Flag(kOptionAutoRun, "开机自动运行(&P)", &AppState::AutoRunFlag),
    Separator(),
    Flag(kOptionHourly, "整点自动报时(&W)", &AppState::WholeAutoReportTimeFlag),
    Separator(),
    Flag(kOptionGanZhiFromNewYear, "干支纪年以春节为起点(&F)", &AppState::GanZhiFromChunjieFlag, Refresh::kTexts),
    Flag(kOptionNoBackgroundMusic, "关闭背景音乐播放功能(&C)", &AppState::CloseFORMAudioPlayFlag, Refresh::kTexts),
    // The lunar calendar changes under every date, and the range's lunar ends move.
    Flag(kOptionModernAncient, "按现代天文算法计算古历(&M)", &AppState::ModernCalculateAncientFlag, Refresh::kAll),
    Flag(kOptionNearLocate, "近似定位纪念日(&N)", &AppState::NearLocateMemorialFlag, Refresh::kTexts),
    Separator(),
    // The month window's columns; the day window shows no weeks.
    Flag(kOptionMondayFirst, "每周从星期一开始(&K)", &AppState::MFORMMondayFirstFlag),
    Flag(kOptionDynasty, "日历界面显示年号纪年(&D)", &AppState::DFORMShowDynastyFlag, Refresh::kLists, true),
    Separator(),
    Choice(kOptionInfoFestivals, "日历界面显示节日节气(&G)", Setting::kDayInfo, static_cast<int>(DayInfo::kFestivals),
           Refresh::kTexts, true),
    Choice(kOptionInfoSunTimes, "日历界面显示日出日落时刻(&R)", Setting::kDayInfo,
           static_cast<int>(DayInfo::kSunriseSunset), Refresh::kTexts, true),
    Choice(kOptionInfoTwilight, "日历界面显示天亮天黑时刻(&B)", Setting::kDayInfo, static_cast<int>(DayInfo::kDawnDusk),
           Refresh::kTexts, true),
    Separator(),
    // Every text the windows show, the menu's too; not the user's own.
    Flag(kOptionTraditional, "繁体中文(&T)", &AppState::TraditionalCharsFlag, Refresh::kAll),
    Separator(),
    {.kind = Kind::kAction, .id = kOptionPicture, .caption = "选择日历界面背景图片(&S)...", .dayWindowOnly = true},
    Separator(),
    Action(kExportRecords, "导出记录和设置(&E)..."),
    Action(kImportRecords, "导入记录和设置(&I)..."),
    EndSubMenu(),
    Separator(),
    Action(kGoToday, "转到系统日期(&G)"),
    // For a displayed year the computer's clock takes (1980..2099) only.
    ToolItem(kSetSystemDate, "修改系统日期(&S)", Tool::kCoordinates, coordinates::kSystemDateMode),
    Separator(),
    ToolItem(kHelp, "帮助(&H)", Tool::kHelp, help::kFeatures),
    Separator(),
    Action(kExit, "退出(&X)   Alt+X"),
};

}  // namespace

std::span<const CommandRow> CommandTable() { return kTable; }

const CommandRow* FindCommand(int id) {
  if (id == 0) return nullptr;
  for (const CommandRow& row : kTable) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

int SettingValue(const CommandRow& row, const AppState& s) {
  switch (row.setting) {
    case Setting::kFlag: return row.flag != nullptr && s.*row.flag ? 1 : 0;
    case Setting::kWindow: return static_cast<int>(s.CalendarKind);
    case Setting::kLayer: return static_cast<int>(s.LayerMode);
    case Setting::kMoveLock: return static_cast<int>(s.PositionLock);
    case Setting::kTransparency: return LevelOf(s.FORMTransFlag);
    case Setting::kDayInfo: return static_cast<int>(s.DFORMShowInfoTypeFlag);
    case Setting::kNone: break;
  }
  return -1;
}

}  // namespace tovani::menu
