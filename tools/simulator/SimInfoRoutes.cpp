// The news columns, their articles and a stock's information pages, as
// fixed invented texts; a stock's pages name the stock from the market.
#include "tools/simulator/SimInfoRoutes.h"

#include "tools/simulator/CSimMarket.h"

#include <strings.h>

#include <string>
#include <vector>

namespace {
struct SimArticle {
    int id;
    const char* column;        // lmdm
    const char16_t* title;
    std::vector<const char16_t*> lines;
};

const std::vector<SimArticle>& Articles() {
    static const std::vector<SimArticle> articles = {
        {1001, "cjyw", u"央行开展逆回购操作 维护月末流动性合理充裕",
         {u"人民银行今日以利率招标方式开展了1200亿元7天期逆回购操作，中标利率1.80%。",
          u"市场人士表示，月末财政支出加快，银行体系流动性总体平稳。",
          u"短期内资金面预计保持宽松，债券市场情绪稳定。"}},
        {1002, "cjyw", u"两市成交额连续三日超万亿 科技板块领涨",
         {u"沪深两市今日合计成交10432亿元，连续第三个交易日突破万亿元。",
          u"半导体、人工智能板块涨幅居前，银行、煤炭板块小幅调整。",
          u"北向资金全天净买入36.5亿元。"}},
        {1003, "cjyw", u"统计局：上月规模以上工业增加值同比增长5.6%",
         {u"国家统计局公布数据显示，上月规模以上工业增加值同比增长5.6%，环比增长0.4%。",
          u"其中高技术制造业增加值增长9.1%，增速快于全部规模以上工业。"}},
        {1004, "cjyw", u"证监会：进一步完善上市公司分红制度",
         {u"证监会就完善上市公司现金分红制度公开征求意见。",
          u"意见稿鼓励公司增加分红频次，对长期不分红的公司加强约束。"}},
        {1005, "cjyw", u"人民币对美元汇率中间价小幅上调",
         {u"今日人民币对美元汇率中间价报7.1038，较上一交易日上调52个基点。"}},
        {1006, "cjyw", u"新能源汽车月度销量同比增长三成",
         {u"行业协会数据显示，新能源汽车上月销量同比增长31.2%，渗透率继续提升。",
          u"分析人士认为，产业链上游材料价格企稳，龙头企业盈利有望修复。"}},
        {2001, "gsgg", u"海悦银行：关于董事会换届选举的公告",
         {u"本公司董事会于近日收到控股股东提名函，拟提名第九届董事会候选人。",
          u"本次换届尚需提交股东大会审议。"}},
        {2002, "gsgg", u"金桥钢铁：2024年半年度业绩预告",
         {u"预计上半年归属于上市公司股东的净利润为3.2亿元至3.8亿元，同比增长12%至33%。",
          u"业绩变动主要系产品结构优化、原材料成本下降所致。"}},
        {2003, "gsgg", u"康宁医药：关于获得药品注册证书的公告",
         {u"公司近日收到国家药品监督管理局核准签发的药品注册证书。",
          u"该药品的获批将进一步丰富公司产品线。"}},
        {2004, "gsgg", u"星辰电子：关于回购股份进展的公告",
         {u"截至上月末，公司累计回购股份526万股，占总股本的0.42%，支付总金额6138万元。"}},
        {3001, "qsyb", u"策略周报：风险偏好修复 关注业绩确定性",
         {u"本周市场风险偏好回升，成交活跃度提高。",
          u"建议关注估值合理、业绩确定性较高的消费与制造业龙头。",
          u"风险提示：海外经济波动超预期。"}},
        {3002, "qsyb", u"银行业点评：息差企稳 资产质量平稳",
         {u"上市银行一季度净息差环比基本持平，不良贷款率保持稳定。",
          u"维持行业“推荐”评级。"}},
        {3003, "qsyb", u"电子行业月报：消费电子需求温和复苏",
         {u"手机与个人电脑出货量连续两个季度环比改善，库存回到健康水平。"}},
        {4001, "ggzx", u"关于召开年度股东大会的通知",
         {u"公司定于下月十五日召开年度股东大会，审议年度报告、利润分配方案等议案。"}},
        {4002, "ggzx", u"年度利润分配实施公告",
         {u"本次利润分配以总股本为基数，每10股派发现金红利2.50元（含税）。",
          u"股权登记日后第一个交易日为除息日。"}},
        {4003, "ggzx", u"关于股东减持计划实施完毕的公告",
         {u"持股5%以上股东本次减持计划已实施完毕，累计减持0.86%。"}},
    };
    return articles;
}

// A stock's information page: its lines, the stock's name put first.
std::vector<std::u16string> StockPage(const std::string& column, const SimStock& s) {
    std::u16string name = s.name;
    if (strcasecmp(column.c_str(), "gsgk") == 0)
        return {name + u"（" + std::u16string(s.code.begin(), s.code.end()) + u"）公司概况",
                u"所属行业：以公司主营业务为准",
                u"注册地址：详见公司章程",
                u"主营业务：公司围绕主业开展经营，近三年营业收入保持稳定增长。",
                u"上市日期：详见招股说明书"};
    if (strcasecmp(column.c_str(), "cwsj") == 0)
        return {name + u" 主要财务指标（最近一期）",
                u"每股收益：0.86元",
                u"每股净资产：7.42元",
                u"净资产收益率：11.6%",
                u"营业收入同比增长：8.3%",
                u"净利润同比增长：6.9%"};
    if (strcasecmp(column.c_str(), "gdyj") == 0)
        return {name + u" 股东研究",
                u"股东户数：5.62万户，较上期减少3.1%",
                u"户均持股：2.18万股",
                u"前十大流通股东合计持股比例：41.27%"};
    return {};
}

// 504/20: one row per article of the column: "newsid" (int32), "title".
SimReply NewsList(const SimRequest& r, SimContext&) {
    const std::string column = r.Get("lmdm");
    CDataSetWriter w;
    w.AddSet("news");
    w.AddColumn(DataSetType::Int32, "newsid", u"编号");
    w.AddColumn(DataSetType::WideText, "title", u"标题");
    for (const SimArticle& a : Articles()) {
        if (strcasecmp(column.c_str(), a.column) != 0)
            continue;
        w.AddRow();
        w.SetInt(0, a.id);
        w.SetText(1, a.title);
    }
    return SimReply::Ok(w);
}

// 504/21: an article by "newsid" (columns "lineno", "text"), else a stock's
// page by "lmdm" and "stkcode" (one column "text"). An unknown id or code
// gives a set without rows.
SimReply Article(const SimRequest& r, SimContext& context) {
    CDataSetWriter w;
    w.AddSet("content");
    if (r.Has("newsid")) {
        const int id = r.GetInt("newsid", -1);
        w.AddColumn(DataSetType::Int32, "lineno", u"行号");
        w.AddColumn(DataSetType::WideText, "text", u"内容");
        for (const SimArticle& a : Articles()) {
            if (a.id != id)
                continue;
            int line = 0;
            for (const char16_t* text : a.lines) {
                w.AddRow();
                w.SetInt(0, ++line);
                w.SetText(1, text);
            }
        }
        return SimReply::Ok(w);
    }
    w.AddColumn(DataSetType::WideText, "text", u"内容");
    if (const SimStock* s = context.market.Find(r.Get("stkcode"))) {
        for (const std::u16string& line : StockPage(r.Get("lmdm"), *s)) {
            w.AddRow();
            w.SetText(0, line);
        }
    }
    return SimReply::Ok(w);
}
} // namespace

void CSimInfoRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncNewsList, NewsList);
    table.Add(kFuncArticle, Article);
}
