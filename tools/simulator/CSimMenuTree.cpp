// The simulator's menu tree. The first eight children of the root are the
// main frame's buttons; "F10" follows them because windows look it up by
// keyword, not by place.
#include "tools/simulator/CSimMenuTree.h"

namespace {
// Plain menus use the keyword "menu".
const std::vector<SimMenuNode> kNodes = {
    {1, 0, u"自选股", "zxhq", "", "tc_mfuncno=31000&tc_sfuncno=4"},
    {2, 0, u"沪深排名", "pxhq", "market=12&type=A&sort=zf&direct=1", "tc_mfuncno=31000&tc_sfuncno=3"},
    {3, 0, u"分类排行", "menu", "", ""},
    {31, 3, u"上证A股涨幅", "pxhq", "market=2&type=A&sort=zf", "tc_mfuncno=31000&tc_sfuncno=3"},
    {32, 3, u"深证A股涨幅", "pxhq", "market=1&type=A&sort=zf", "tc_mfuncno=31000&tc_sfuncno=3"},
    {33, 3, u"沪深A股跌幅", "pxhq", "market=12&type=A&sort=df", "tc_mfuncno=31000&tc_sfuncno=3"},
    {34, 3, u"沪深成交量", "pxhq", "market=12&type=A&sort=cjl", "tc_mfuncno=31000&tc_sfuncno=3"},
    {35, 3, u"沪深成交额", "pxhq", "market=12&type=A&sort=cje", "tc_mfuncno=31000&tc_sfuncno=3"},
    {4, 0, u"大盘指数", "menu", "", ""},
    {41, 4, u"国内指数", "zgzs", "",
     "tc_mfuncno=31000&tc_sfuncno=4&count=6&code=000001.02|399001.01|399006.01|000300.02|000016.02|399005.01"},
    {42, 4, u"全球指数", "sjzs", "", "tc_mfuncno=31000&tc_sfuncno=8"},
    {43, 4, u"上证走势", "fschart", "", "date=&code=000001.02"},
    {44, 4, u"上证K线", "kxchart", "", "code=000001.02"},
    {45, 4, u"上证详情", "xxhq", "code=000001.02", "tc_mfuncno=31000&tc_sfuncno=4"},
    {5, 0, u"板块行情", "bkhq", "", ""},
    {51, 5, u"行业板块", "bkhqlist", "", "tc_mfuncno=100&tc_sfuncno=30&sector=hy"},
    {52, 5, u"概念板块", "bkhqlist", "", "tc_mfuncno=100&tc_sfuncno=30&sector=gn"},
    {53, 5, u"地区板块", "bkhqlist", "", "tc_mfuncno=100&tc_sfuncno=30&sector=dq"},
    {54, 5, u"人工智能", "bkph", "", "tc_mfuncno=100&tc_sfuncno=31&sector=gn&sectorcode=GN02"},
    {6, 0, u"资讯中心", "menu", "", ""},
    {61, 6, u"财经要闻", "newslist", "", "tc_mfuncno=504&tc_sfuncno=20&cont_sfunc=21&lmdm=cjyw"},
    {62, 6, u"公司公告", "newslist", "", "tc_mfuncno=504&tc_sfuncno=20&cont_sfunc=21&lmdm=gsgg"},
    {63, 6, u"券商研报", "newslist", "", "tc_mfuncno=504&tc_sfuncno=20&cont_sfunc=21&lmdm=qsyb"},
    {64, 6, u"澜屿证券营业部", "yywd", "", "tc_mfuncno=504&tc_sfuncno=32"},
    {7, 0, u"股票交易", "trademenu", "", ""},
    {71, 7, u"买入", "buysale", "", "MMLB=0"},
    {72, 7, u"卖出", "buysale", "", "MMLB=1"},
    {372, 7, u"撤单", "wtcd", "", "tc_mfuncno=500&tc_sfuncno=14"},
    {371, 7, u"当日委托", "tradequery", "", "tc_mfuncno=500&tc_sfuncno=10"},
    {73, 7, u"当日成交", "tradequery", "", "tc_mfuncno=500&tc_sfuncno=11"},
    {74, 7, u"历史委托", "hisquery", "", "tc_mfuncno=500&tc_sfuncno=20"},
    {75, 7, u"历史成交", "hisquery", "", "tc_mfuncno=500&tc_sfuncno=21"},
    {76, 7, u"资金查询", "trade_zjcx", "", "tc_mfuncno=500&tc_sfuncno=12"},
    // The password window adds the login id right after this text.
    {77, 7, u"修改密码", "xgmm", "", "tc_mfuncno=500&tc_sfuncno=13&"},
    {78, 7, u"权证行权", "qzxq", "", ""},
    {79, 7, u"退出交易", "tradeexit", "", ""},
    {8, 0, u"开放式基金", "openfund", "", ""},
    {81, 8, u"基金开户", "of_jjkh", "", ""},
    {9, 0, u"个股资讯", "F10", "", ""},
    {91, 9, u"公司概况", "newscontent", "", "tc_mfuncno=504&tc_sfuncno=21&lmdm=gsgk"},
    {92, 9, u"财务数据", "newscontent", "", "tc_mfuncno=504&tc_sfuncno=21&lmdm=cwsj"},
    {93, 9, u"股东研究", "newscontent", "", "tc_mfuncno=504&tc_sfuncno=21&lmdm=gdyj"},
    {94, 9, u"个股公告", "newslist", "", "tc_mfuncno=504&tc_sfuncno=20&cont_sfunc=21&lmdm=ggzx"},
};

struct Group {
    const char* name;
    const char16_t* value;
};

const Group kGroups[] = {
    {"market", u"12^沪深#2^上海#1^深圳#"},
    {"type", u"A^A股#B^B股#J^基金#Z^债券#Q^权证#"},
    {"sort", u"zf^涨幅#df^跌幅#cjl^成交量#cje^成交额#xj^现价#zd^涨跌#"},
    {"tech", u"MACD^MACD#KDJ^KDJ#RSI^RSI#BOLL^BOLL#WR^WR#DMA^DMA#AROON^AROON#CCI^CCI#SAR^SAR#"},
};
} // namespace

const std::vector<SimMenuNode>& CSimMenuTree::Nodes() { return kNodes; }

void CSimMenuTree::WriteMenus(CDataSetWriter& writer) {
    writer.AddSet("menus");
    writer.AddColumn(DataSetType::Int32, "id", u"编号");
    writer.AddColumn(DataSetType::Int32, "pid", u"上级");
    writer.AddColumn(DataSetType::WideText, "title", u"标题");
    writer.AddColumn(DataSetType::AnsiText, "keyword", u"关键字");
    writer.AddColumn(DataSetType::AnsiText, "param", u"参数");
    writer.AddColumn(DataSetType::AnsiText, "request", u"请求");
    for (const auto& node : kNodes) {
        writer.AddRow();
        writer.SetInt(0, node.id);
        writer.SetInt(1, node.pid);
        writer.SetText(2, node.title);
        writer.SetAnsiText(3, node.keyword);
        writer.SetAnsiText(4, node.param);
        writer.SetAnsiText(5, node.request);
    }
}

void CSimMenuTree::WriteConfig(CDataSetWriter& writer) {
    for (const auto& group : kGroups) {
        writer.AddSet("config");
        writer.AddColumn(DataSetType::AnsiText, "name", u"名称");
        writer.AddColumn(DataSetType::WideText, "value", u"取值");
        writer.AddRow();
        writer.SetAnsiText(0, group.name);
        writer.SetText(1, group.value);
    }
}

std::u16string CSimMenuTree::GroupValue(const std::string& group) {
    for (const auto& g : kGroups)
        if (group == g.name) return g.value;
    return {};
}
