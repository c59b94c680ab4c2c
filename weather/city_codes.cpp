#include "weather/city_codes.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "engine/cities.h"

namespace tovani {
namespace {

// The places of each province in the service's order.
constexpr const char* kPlaces1[] = {  // 北京
    "市区", "海淀", "朝阳", "顺义", "怀柔", "通州", "昌平", "延庆", "丰台", "石景山", "大兴", "房山", "密云", "门头沟", "平谷",
};
constexpr const char* kPlaces2[] = {  // 上海
    "市区", "闵行", "宝山", "嘉定", "南汇", "金山", "青浦", "松江", "奉贤", "崇明", "徐家汇", "浦东",
};
constexpr const char* kPlaces3[] = {  // 天津
    "市区", "武清", "宝坻", "东丽", "西青", "北辰", "宁河", "汉沽", "静海", "津南", "塘沽", "大港", "蓟县",
};
constexpr const char* kPlaces4[] = {  // 重庆
    "市区", "永川", "合川", "南川", "江津", "万盛", "渝北", "北碚", "巴南", "长寿", "黔江", "万州", "涪陵", "开县", "城口", "云阳",
    "巫溪", "奉节", "巫山", "潼南", "垫江", "梁平", "忠县", "石柱", "大足", "荣昌", "铜梁", "璧山", "丰都", "武隆", "彭水", "綦江",
    "酉阳", "秀山",
};
constexpr const char* kPlaces5[] = {  // 黑龙江
    "哈尔滨", "齐齐哈尔", "牡丹江", "佳木斯", "绥化", "黑河", "大兴安岭", "伊春", "大庆", "七台河", "鸡西", "鹤岗", "双鸭山",
};
constexpr const char* kPlaces6[] = {  // 吉林
    "长春", "吉林", "延吉", "四平", "通化", "白城", "辽源", "松原", "白山",
};
constexpr const char* kPlaces7[] = {  // 辽宁
    "沈阳", "大连", "鞍山", "抚顺", "本溪", "丹东", "锦州", "营口", "阜新", "辽阳", "铁岭", "朝阳", "盘锦", "葫芦岛",
};
constexpr const char* kPlaces8[] = {  // 内蒙古
    "呼和浩特", "包头", "乌海", "集宁", "通辽", "赤峰", "鄂尔多斯", "临河", "锡林浩特", "呼伦贝尔", "乌兰浩特", "阿拉善左旗",
};
constexpr const char* kPlaces9[] = {  // 河北
    "石家庄", "保定", "张家口", "承德", "唐山", "廊坊", "沧州", "衡水", "邢台", "邯郸", "秦皇岛",
};
constexpr const char* kPlaces10[] = {  // 河南
    "郑州", "安阳", "新乡", "许昌", "平顶山", "信阳", "南阳", "开封", "洛阳", "商丘", "焦作", "鹤壁", "濮阳", "周口", "漯河",
    "驻马店", "三门峡", "济源",
};
constexpr const char* kPlaces11[] = {  // 山东
    "济南", "青岛", "淄博", "德州", "烟台", "潍坊", "济宁", "泰安", "临沂", "菏泽", "滨州", "东营", "威海", "枣庄", "日照", "莱芜",
    "聊城",
};
constexpr const char* kPlaces12[] = {  // 山西
    "太原", "大同", "阳泉", "晋中", "长治", "晋城", "临汾", "运城", "朔州", "忻州", "吕梁",
};
constexpr const char* kPlaces13[] = {  // 陕西
    "西安", "咸阳", "延安", "榆林", "渭南", "商洛", "安康", "汉中", "宝鸡", "铜川",
};
constexpr const char* kPlaces14[] = {  // 甘肃
    "兰州", "定西", "平凉", "庆阳", "武威", "金昌", "张掖", "酒泉", "天水", "武都", "临夏", "合作", "白银", "嘉峪关",
};
constexpr const char* kPlaces15[] = {  // 宁夏
    "银川", "石嘴山", "吴忠", "固原", "中卫",
};
constexpr const char* kPlaces16[] = {  // 新疆
    "乌鲁木齐", "克拉玛依", "石河子", "昌吉", "吐鲁番", "库尔勒", "阿拉尔", "阿克苏", "喀什", "伊宁", "塔城", "哈密", "和田", "阿勒泰",
    "阿图什", "博乐",
};
constexpr const char* kPlaces17[] = {  // 青海
    "西宁", "海东", "黄南", "海南", "果洛", "玉树", "海西", "海北",
};
constexpr const char* kPlaces18[] = {  // 西藏
    "拉萨", "日喀则", "山南", "林芝", "昌都", "那曲", "阿里",
};
constexpr const char* kPlaces19[] = {  // 四川
    "成都", "攀枝花", "自贡", "绵阳", "南充", "达州", "遂宁", "广安", "巴中", "泸州", "宜宾", "内江", "资阳", "乐山", "眉山", "凉山",
    "雅安", "甘孜", "阿坝", "德阳", "广元",
};
constexpr const char* kPlaces20[] = {  // 云南
    "昆明", "大理", "红河", "曲靖", "保山", "文山", "玉溪", "楚雄", "普洱", "昭通", "临沧", "怒江", "香格里拉", "丽江", "德宏",
    "景洪",
};
constexpr const char* kPlaces21[] = {  // 贵州
    "贵阳", "遵义", "安顺", "都匀", "凯里", "铜仁", "毕节", "六盘水", "兴义",
};
constexpr const char* kPlaces22[] = {  // 湖南
    "长沙", "湘潭", "株洲", "衡阳", "郴州", "常德", "益阳", "娄底", "邵阳", "岳阳", "张家界", "怀化", "永州", "吉首",
};
constexpr const char* kPlaces23[] = {  // 湖北
    "武汉", "襄阳", "鄂州", "孝感", "黄冈", "黄石", "咸宁", "荆州", "宜昌", "恩施", "十堰", "神农架", "随州", "荆门", "天门", "仙桃",
    "潜江",
};
constexpr const char* kPlaces24[] = {  // 安徽
    "合肥", "蚌埠", "芜湖", "淮南", "马鞍山", "安庆", "宿州", "阜阳", "亳州", "黄山", "滁州", "淮北", "铜陵", "宣城", "六安", "巢湖",
    "池州",
};
constexpr const char* kPlaces25[] = {  // 江苏
    "南京", "无锡", "镇江", "苏州", "南通", "扬州", "盐城", "徐州", "淮安", "连云港", "常州", "泰州", "宿迁",
};
constexpr const char* kPlaces26[] = {  // 浙江
    "杭州", "湖州", "嘉兴", "宁波", "绍兴", "台州", "温州", "丽水", "金华", "衢州", "舟山",
};
constexpr const char* kPlaces27[] = {  // 江西
    "南昌", "九江", "上饶", "抚州", "宜春", "吉安", "赣州", "景德镇", "萍乡", "新余", "鹰潭",
};
constexpr const char* kPlaces28[] = {  // 福建
    "福州", "厦门", "宁德", "莆田", "泉州", "漳州", "龙岩", "三明", "南平",
};
constexpr const char* kPlaces29[] = {  // 广东
    "广州", "韶关", "惠州", "梅州", "汕头", "深圳", "珠海", "佛山", "肇庆", "湛江", "江门", "河源", "清远", "云浮", "潮州", "东莞",
    "中山", "阳江", "揭阳", "茂名", "汕尾",
};
constexpr const char* kPlaces30[] = {  // 广西
    "南宁", "崇左", "柳州", "来宾", "桂林", "梧州", "贺州", "贵港", "玉林", "百色", "钦州", "河池", "北海", "防城港",
};
constexpr const char* kPlaces31[] = {  // 海南
    "海口", "三亚", "东方", "临高", "澄迈", "儋州", "昌江", "白沙", "琼中", "定安", "屯昌", "琼海", "文昌", "保亭", "万宁", "陵水",
    "西沙", "南沙", "乐东", "五指山",
};

struct Province {
  const char* name;
  std::span<const char* const> places;
  // The code of position i is prefix * 10000 + 100 * i, plus 1 outside the
  // four municipalities, unless the position is listed among the exceptions.
  std::int32_t prefix;
  bool districtOne;
};

constexpr std::array<Province, kWeatherProvinceCount> kProvinces = {{
    {"北京", kPlaces1, 10101, false},
    {"上海", kPlaces2, 10102, false},
    {"天津", kPlaces3, 10103, false},
    {"重庆", kPlaces4, 10104, false},
    {"黑龙江", kPlaces5, 10105, true},
    {"吉林", kPlaces6, 10106, true},
    {"辽宁", kPlaces7, 10107, true},
    {"内蒙古", kPlaces8, 10108, true},
    {"河北", kPlaces9, 10109, true},
    {"河南", kPlaces10, 10118, true},
    {"山东", kPlaces11, 10112, true},
    {"山西", kPlaces12, 10110, true},
    {"陕西", kPlaces13, 10111, true},
    {"甘肃", kPlaces14, 10116, true},
    {"宁夏", kPlaces15, 10117, true},
    {"新疆", kPlaces16, 10113, true},
    {"青海", kPlaces17, 10115, true},
    {"西藏", kPlaces18, 10114, true},
    {"四川", kPlaces19, 10127, true},
    {"云南", kPlaces20, 10129, true},
    {"贵州", kPlaces21, 10126, true},
    {"湖南", kPlaces22, 10125, true},
    {"湖北", kPlaces23, 10120, true},
    {"安徽", kPlaces24, 10122, true},
    {"江苏", kPlaces25, 10119, true},
    {"浙江", kPlaces26, 10121, true},
    {"江西", kPlaces27, 10124, true},
    {"福建", kPlaces28, 10123, true},
    {"广东", kPlaces29, 10128, true},
    {"广西", kPlaces30, 10130, true},
    {"海南", kPlaces31, 10131, true},
}};

struct CodeException {
  int province, position;
  std::int32_t code;
};

// Places whose code does not follow their province's rule.
constexpr CodeException kExceptions[] = {
    // 上海
    {2, 4, 101020500}, {2, 5, 101020600}, {2, 6, 101020700}, {2, 7, 101020800}, {2, 8, 101020900},
    {2, 9, 101021000}, {2, 10, 101021100}, {2, 11, 101021200}, {2, 12, 101021300},
    // 天津
    {3, 13, 101031400},
    // 重庆
    {4, 12, 101041300}, {4, 13, 101041400}, {4, 14, 101041500}, {4, 15, 101041600}, {4, 16, 101041700},
    {4, 17, 101041800}, {4, 18, 101041900}, {4, 19, 101042000}, {4, 20, 101042100}, {4, 21, 101042200},
    {4, 22, 101042300}, {4, 23, 101042400}, {4, 24, 101042500}, {4, 25, 101042600}, {4, 26, 101042700},
    {4, 27, 101042800}, {4, 28, 101042900}, {4, 29, 101043000}, {4, 30, 101043100}, {4, 31, 101043200},
    {4, 32, 101043300}, {4, 33, 101043400}, {4, 34, 101043600},
    // 黑龙江
    {5, 10, 101051002},
    // 河北
    {9, 4, 101090402},
    // 山西
    {12, 11, 101101100},
    // 陕西
    {13, 2, 101110200}, {13, 3, 101110300},
    // 湖南
    {22, 7, 101250700}, {22, 13, 101251401}, {22, 14, 101251501},
    // 广东
    {29, 8, 101280800},
    // 海南
    {31, 3, 101310202}, {31, 4, 101310203}, {31, 5, 101310204}, {31, 6, 101310205}, {31, 7, 101310206},
    {31, 8, 101310207}, {31, 9, 101310208}, {31, 10, 101310209}, {31, 11, 101310210}, {31, 12, 101310211},
    {31, 13, 101310212}, {31, 14, 101310214}, {31, 15, 101310215}, {31, 16, 101310216}, {31, 17, 101310217},
    {31, 18, 101310220}, {31, 19, 101310221}, {31, 20, 101310222},
};

constexpr const Province& ProvinceAt(int province) {
  return kProvinces[static_cast<std::size_t>(std::clamp(province, 1, kWeatherProvinceCount) - 1)];
}

}  // namespace

std::string WeatherPlaceName(int province, int position) {
  province = std::clamp(province, 0, kWeatherProvinceCount);
  position = std::max(position, -1);
  if (province == 0) return std::to_string(kWeatherProvinceCount);
  const Province& p = ProvinceAt(province);
  if (position == -1) return p.name;
  if (position == 0) return std::to_string(p.places.size());
  if (static_cast<std::size_t>(position) > p.places.size()) return {};
  return p.places[static_cast<std::size_t>(position) - 1];
}

int WeatherPlaceCount(int province) { return static_cast<int>(ProvinceAt(province).places.size()); }

std::int32_t WeatherCityCode(int province, int position) {
  province = std::clamp(province, 1, kWeatherProvinceCount);
  const Province& p = ProvinceAt(province);
  position = std::clamp(position, 1, static_cast<int>(p.places.size()));
  for (const CodeException& e : kExceptions) {
    if (e.province == province && e.position == position) return e.code;
  }
  return p.prefix * 10000 + 100 * position + (p.districtOne ? 1 : 0);
}

WeatherSelection WeatherPlaceOfCity(int row) {
  const City* city = CityAt(row);
  if (city == nullptr) return {};
  return {city->weatherProvince, city->weatherCity};
}

}  // namespace tovani
