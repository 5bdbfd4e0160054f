// Writes the first inputs of every fuzz target, made by the project's own
// writers, under DIR/<target>/: seed_maker DIR.
#include "core/CDataSetWriter.h"
#include "core/SealEnvelope.h"
#include "core/StrUtil.h"
#include "core/ZlibCodec.h"
#include "framework/app/CDefParam.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
const char kKey[] = "Ab3dE6gH9jK2mN5p";  // the key the targets open with

fs::path g_root;

void Write(const std::string& target, const Bytes& bytes) {
    fs::path dir = g_root / ("fuzz_" + target);
    fs::create_directories(dir);
    int n = 0;
    while (fs::exists(dir / ("seed-" + std::to_string(n)))) ++n;
    std::ofstream(dir / ("seed-" + std::to_string(n)), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes MenuBody() {
    CDataSetWriter w;
    w.AddSet("menus");
    int id = w.AddColumn(DataSetType::Int32, "id"), pid = w.AddColumn(DataSetType::Int32, "pid");
    int title = w.AddColumn(DataSetType::WideText, "title", u"标题");
    int keyword = w.AddColumn(DataSetType::AnsiText, "keyword"), request = w.AddColumn(DataSetType::AnsiText, "request");
    const char* keywords[] = {"fschart", "buysale", "stocklist"};
    for (int i = 0; i < 3; ++i) {
        w.AddRow();
        w.SetInt(id, i + 1);
        w.SetInt(pid, i == 2 ? 1 : 0);
        w.SetText(title, i == 0 ? u"行情" : u"交易");
        w.SetAnsiText(keyword, keywords[i]);
        w.SetAnsiText(request, "TC_MFUNCNO=100&TC_SFUNCNO=3&");
    }
    w.AddSet("config");
    w.AddColumn(DataSetType::AnsiText, "name");
    w.AddColumn(DataSetType::WideText, "value");
    w.AddRow();
    w.SetAnsiText(0, "market");
    w.SetText(1, u"1^深圳#2^上海#");
    return w.Serialize();
}

// One column of every type, rows with small, large, negative and missing values.
Bytes TableBody() {
    CDataSetWriter w;
    w.AddSet("quotes");
    w.AddColumn(DataSetType::Int8, "flag");
    w.AddColumn(DataSetType::Int16, "market");
    w.AddColumn(DataSetType::Int32, "volume");
    w.AddColumn(DataSetType::Number, "price");
    w.AddColumn(DataSetType::Double, "ratio");
    w.AddColumn(DataSetType::WideText, "name");
    w.AddColumn(DataSetType::AnsiText, "code");
    w.AddColumn(DataSetType::Bytes, "raw");
    const CQuoteNumber prices[] = {{12.35, 2}, {-0.5, 1}, {CQuoteNumber::kMissingValue, 0}};
    for (int i = 0; i < 3; ++i) {
        w.AddRow();
        w.SetInt(0, i - 1);
        w.SetInt(1, 300 * i);
        w.SetInt(2, i == 2 ? -2147483647 : 123456 * i);
        w.SetNumber(3, prices[i]);
        w.SetDouble(4, i * 0.125 - 1e300 * (i == 2));
        w.SetText(5, i ? u"浦发银行" : u"");
        w.SetAnsiText(6, "600000");
        w.SetBytes(7, "\x00\xff\x10", static_cast<size_t>(i));
    }
    return w.Serialize();
}

Bytes Seal(const Bytes& plain) {
    Bytes out(SealedSize(static_cast<int>(plain.size())));
    int n = SealData(kKey, plain.data(), static_cast<int>(plain.size()), out.data());
    out.resize(n > 0 ? n : 0);
    return out;
}

// A reply as the simulated server frames it: by length, or in chunks.
std::string Reply(const Bytes& body, const std::string& etag, size_t chunk = 0, bool close = false) {
    std::string r = close ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.1 200 OK\r\n";
    r += "ETag: \"" + etag + "\"\r\n";
    if (!chunk)
        return r + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body.begin(), body.end());
    r += "Transfer-Encoding: chunked\r\n\r\n";
    for (size_t at = 0; at < body.size(); at += chunk) {
        size_t n = std::min(chunk, body.size() - at);
        char line[32];
        std::snprintf(line, sizeof line, "%zx;ext=1\r\n", n);
        r += line + std::string(body.begin() + at, body.begin() + at + n) + "\r\n";
    }
    return r + "0\r\nX-Trailer: 1\r\n\r\n";
}

// A minute reply: header (with the index row), points from time on, the
// snapshot, the index's points and information marks.
Bytes MinuteBody(int time, int points) {
    CDataSetWriter w;
    w.AddSet("hq.fshead");
    w.AddColumn(DataSetType::Int32, "date");
    for (const char* name : {"zrsp", "jrkp", "zgcj", "zdcj", "zjcj"}) w.AddColumn(DataSetType::Number, name);
    w.AddColumn(DataSetType::Int16, "market");
    w.AddColumn(DataSetType::Int16, "type");
    w.AddColumn(DataSetType::AnsiText, "code");
    w.AddColumn(DataSetType::WideText, "name");
    w.AddColumn(DataSetType::AnsiText, "spare");
    w.AddColumn(DataSetType::AnsiText, "curdate");
    for (int row = 0; row < 2; ++row) {
        w.AddRow();
        w.SetInt(0, 20261207);
        for (int c = 1; c <= 5; ++c) w.SetNumber(c, {row ? 3000.0 + c : 10.0 + 0.1 * c, 2});
        w.SetInt(6, 1);
        w.SetInt(7, row ? 2 : 1);
        w.SetAnsiText(8, row ? "000001" : "600000");
        w.SetText(9, u"华岳银行");
        w.SetAnsiText(11, "20261207");
    }
    for (const char* tag : {"hq.fsdata", "hq.snap", "hq.fs"}) {
        const bool snapshot = tag[3] == 's' && tag[4] == 'n';
        w.AddSet(tag);
        if (snapshot) {
            for (int c = 0; c < 30; ++c) w.AddColumn(c > 10 && c % 2 ? DataSetType::Int32 : DataSetType::Number, "c");
            w.AddRow();
            for (int c = 0; c < 30; ++c) c > 10 && c % 2 ? w.SetInt(c, 12345) : w.SetNumber(c, {9.9 + 0.01 * c, 2});
            continue;
        }
        w.AddColumn(DataSetType::Int16, "time");
        for (const char* name : {"price", "cjsl", "cjje", "avg"}) w.AddColumn(DataSetType::Number, name);
        w.AddColumn(DataSetType::Int32, "bar");
        for (int i = 0; i < points; ++i) {
            const int m = time / 100 * 60 + time % 100 + 2 * i;
            w.AddRow();
            w.SetInt(0, m / 60 * 100 + m % 60);
            for (int c = 1; c <= 4; ++c) w.SetNumber(c, {10.0 + 0.01 * i, 2});
            w.SetInt(5, i == 1 ? 999999999 : 100 * i);
        }
    }
    w.AddSet("get xxld");
    for (const char* name : {"code", "title", "time", "id"}) w.AddColumn(DataSetType::AnsiText, name);
    w.AddRow();
    w.SetAnsiText(2, "571");
    w.SetAnsiText(3, "101");
    return w.Serialize();
}

// Two minute bodies behind the first one's length (two bytes).
Bytes MinuteSeed(const Bytes& first, const Bytes& second) {
    Bytes b{static_cast<uint8_t>(first.size() & 0xFF), static_cast<uint8_t>(first.size() >> 8)};
    b.insert(b.end(), first.begin(), first.end());
    b.insert(b.end(), second.begin(), second.end());
    return b;
}

// A K-line reply: the header and count day bars from date on (time 0), or
// minute bars at 09:35 and on when minutes.
Bytes KLineBody(int date, int count, bool minutes = false) {
    CDataSetWriter w;
    w.AddSet("hq.kxhead");
    w.AddColumn(DataSetType::Int16, "exchid");
    w.AddColumn(DataSetType::Int16, "stktype");
    w.AddColumn(DataSetType::AnsiText, "code");
    w.AddColumn(DataSetType::WideText, "name");
    w.AddColumn(DataSetType::Int32, "count");
    for (const char* n : {"zrsp", "jrkp", "zgcj", "zdcj", "zjcj"}) w.AddColumn(DataSetType::Number, n);
    w.AddRow();
    w.SetInt(0, 2);
    w.SetInt(1, 1);
    w.SetAnsiText(2, "600010");
    w.SetText(3, u"华岳银行");
    w.AddSet("hq.kline");
    w.AddColumn(DataSetType::Int32, "date");
    w.AddColumn(DataSetType::Int16, "time");
    for (const char* n : {"zrsp", "kp", "zg", "zd", "sp", "cjl", "cje"}) w.AddColumn(DataSetType::Number, n);
    w.AddColumn(DataSetType::Int32, "spare");
    w.AddColumn(DataSetType::Int32, "seq");
    for (const char* n : {"ma30", "ma10", "ma5", "t1", "t2", "t3"}) w.AddColumn(DataSetType::Number, n);
    for (int i = 0; i < count; ++i) {
        w.AddRow();
        w.SetInt(0, minutes ? date : date + i);
        w.SetInt(1, minutes ? 935 + 5 * i : 0);
        for (int c = 2; c <= 6; ++c) w.SetNumber(c, CQuoteNumber(10.0 + 0.1 * ((i + c) % 5), 2));
        w.SetNumber(7, CQuoteNumber(1200.5, 1));
        w.SetNumber(8, CQuoteNumber(3.2, 2));
        w.SetInt(10, i);
        for (int c = 11; c <= 16; ++c)
            w.SetNumber(c, i < 2 ? CQuoteNumber(CQuoteNumber::kMissingValue, 0) : CQuoteNumber(0.1 * c - i, 3));
    }
    return w.Serialize();
}

// A set of the named columns of one type, rows of their values.
Bytes TextSets(const std::vector<std::pair<std::string, std::vector<const char*>>>& sets,
               const std::vector<std::vector<std::vector<std::u16string>>>& rows, DataSetType type) {
    CDataSetWriter w;
    for (size_t i = 0; i < sets.size(); ++i) {
        w.AddSet(sets[i].first.c_str());
        for (const char* name : sets[i].second) w.AddColumn(type, name);
        for (const auto& row : rows[i]) {
            w.AddRow();
            for (size_t c = 0; c < row.size(); ++c) w.SetText(static_cast<int>(c), row[c]);
        }
    }
    return w.Serialize();
}

// The trade login's reply: the session, then the holders of four markets.
Bytes TradeLoginBody() {
    CDataSetWriter w;
    w.AddSet("session");
    w.AddColumn(DataSetType::AnsiText, "session");
    w.AddRow();
    w.SetAnsiText(0, "custid=000100012345&tradesession=T0001");
    w.AddSet("holder");
    for (const char* name : {"market", "secuid", "fundid", "orgid"}) w.AddColumn(DataSetType::AnsiText, name);
    w.AddColumn(DataSetType::WideText, "~market");
    w.AddColumn(DataSetType::WideText, "custname");
    const char* markets[] = {"0", "1", "2", "3"};
    const char16_t* names[] = {u"深A", u"沪A", u"深B", u"沪B"};
    for (int i = 0; i < 4; ++i) {
        w.AddRow();
        w.SetAnsiText(0, markets[i]);
        w.SetAnsiText(1, std::string(i % 2 ? "A" : "0") + "10001234" + std::to_string(i));
        w.SetAnsiText(2, "000100012345");
        w.SetAnsiText(3, "0001");
        w.SetText(4, names[i]);
        w.SetText(5, u"张伟");
    }
    return w.Serialize();
}

// The order form's quote panel: 34 columns, the levels' prices and volumes.
Bytes PanelBody(int type) {
    CDataSetWriter w;
    w.AddSet("hq.quote");
    for (int c = 0; c < 34; ++c)
        w.AddColumn(c == 1 ? DataSetType::Int16 : c == 2 ? DataSetType::AnsiText : DataSetType::Number, "f");
    w.AddRow();
    for (int c = 0; c < 34; ++c) {
        if (c == 1)
            w.SetInt(c, type);
        else if (c == 2)
            w.SetAnsiText(c, "600010");
        else
            w.SetNumber(c, c % 2 ? CQuoteNumber(8.0 + 0.01 * c, 2) : CQuoteNumber(1200 + c, 0));
    }
    return w.Serialize();
}

// A same-day or history table: order rows with their sign and cursor.
Bytes TradeTableBody(int rows) {
    CDataSetWriter w;
    w.AddSet("orders");
    for (const char* name : {"stkcode", "market", "ordersno", "secuid", "poststr"})
        w.AddColumn(DataSetType::AnsiText, name);
    w.AddColumn(DataSetType::WideText, "stkname", u"证券名称");
    w.AddColumn(DataSetType::Number, "orderprice", u"委托价格");
    w.AddColumn(DataSetType::Int32, "orderqty", u"委托数量");
    w.AddColumn(DataSetType::Int8, "sign");
    for (int i = 0; i < rows; ++i) {
        w.AddRow();
        w.SetAnsiText(0, i % 2 ? "000016" : "600010");
        w.SetAnsiText(1, i % 2 ? "0" : "1");
        w.SetAnsiText(2, std::to_string(100001 + i));
        w.SetAnsiText(3, i % 2 ? "0100012345" : "A100012345");
        w.SetAnsiText(4, "20261204." + std::to_string(i));
        w.SetText(5, i % 2 ? u"平川银行" : u"华岳银行");
        w.SetNumber(6, CQuoteNumber(8.0 + i, 2));
        w.SetInt(7, 100 * (i + 1));
        w.SetInt(8, i % 3 - 1);
    }
    return w.Serialize();
}

void TradeSeeds(const Bytes& error) {
    const auto seed = [](const Bytes& body) { Write("trade_replies", body); };
    seed(TradeLoginBody());
    seed(error);
    seed(CDataSetWriter::ErrorBody(u"请求异常，请通过当日委托核实"));
    // The token application, its texts, the sales departments.
    seed(TextSets({{"token", {"seed", "fundidlist", "secuidlist"}}},
                  {{{u"0123456789abcdef0123456789ABCDEF", u"000100012345,", u"A100012345,0100012345,"}}},
                  DataSetType::AnsiText));
    seed(TextSets({{"texts", {"usage", "risk", "tip"}}},
                  {{{u"一、申请令牌", u"风险提示", u"提示"}, {u"二、登录", u"妥善保管", u"请牢记"}}},
                  DataSetType::WideText));
    seed(TextSets({{"depts", {"name", "code"}}},
                  {{{u"深圳深南中路证券营业部", u"0001"}, {u"上海浦东南路证券营业部", u"0003"}, {u"坏", u"0&1"}}},
                  DataSetType::WideText));
    // The branch directory: regions and provinces, then a province's rows.
    seed(TextSets({{"regions", {"id", "region", "province"}}},
                  {{{u"1", u"华南", u"广东"}, {u"2", u"华南", u"广西"}, {u"3", u"华东", u"上海"}, {u"4", u"", u"无"}}},
                  DataSetType::WideText));
    seed(TextSets({{"branches", {"id", "name", "phone", "address"}}},
                  {{{u"1", u"深南中路营业部", u"0755-1", u"深圳市深南中路1号"}, {u"2", u"", u"", u""}}},
                  DataSetType::WideText));
    // The funds pages, one per currency.
    seed(TextSets({{"funds", {"poststr", "~moneytype", "fundbal", "fundavl"}}},
                  {{{u"1", u"人民币", u"10000.00", u"9000.00"}, {u"2", u"美元", u"2000.00", u"0.00"}}},
                  DataSetType::WideText));
    seed(PanelBody(1));
    seed(PanelBody(2));
    seed(TradeTableBody(3));
    seed(TradeTableBody(80));
}

void HttpSeed(uint8_t piece, const std::string& replies) {
    Bytes b{piece};
    b.insert(b.end(), replies.begin(), replies.end());
    Write("http_reply", b);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 64;
    }
    g_root = argv[1];
    const Bytes menus = MenuBody(), table = TableBody(), error = CDataSetWriter::ErrorBody(u"会话已失效");
    const Bytes packed = ZlibCompress(table.data(), table.size());

    for (const Bytes& body : {menus, table, error, Bytes{0, 0, 0, 0}}) Write("record_sets", body);

    Write("minute_replies", MinuteSeed(MinuteBody(932, 6), MinuteBody(940, 4)));
    Write("minute_replies", MinuteSeed(MinuteBody(930, 3), error));

    Write("kline_replies", MinuteSeed(KLineBody(20261110, 20), KLineBody(20261101, 10)));
    Write("kline_replies", MinuteSeed(KLineBody(20261204, 12, true), error));

    TradeSeeds(error);

    Write("seal_envelope", Seal(menus));
    Write("seal_envelope", Seal(packed));
    Write("seal_envelope", Seal(Text("sixteen bytes..!")));

    for (int level : {0, 1, 6, 9}) Write("zlib_codec", ZlibCompress(menus.data(), menus.size(), level));
    Write("zlib_codec", ZlibCompress(nullptr, 0));

    HttpSeed(255, Reply(table, "0,0,0,0") + Reply(menus, "0,0,0,0"));
    HttpSeed(6, Reply(table, "0,0,0,0", 7));
    HttpSeed(0, Reply(Seal(packed), "0,0,18,36", 5));
    HttpSeed(15, Reply(packed, "W/0, 0, 18, 0", 0, true));
    HttpSeed(31, Reply(error, "100,0,0,0"));

    for (CQuoteNumber n : {CQuoteNumber(12.35, 2), CQuoteNumber(-0.5, 1), CQuoteNumber(1234, 0),
                           CQuoteNumber(3.141, 3), CQuoteNumber(CQuoteNumber::kMissingValue, 0)}) {
        Bytes cell(4);
        WriteLE32(cell.data(), static_cast<uint32_t>(n.ToPacked()));
        Write("quote_number", cell);
    }

    char* query = SetUrlParam("TC_MFUNCNO=100&TC_SFUNCNO=3", "code", "600000");
    for (const char* key : {"code", "tc_sfuncno", "market"}) {
        std::string seed = std::string(query) + '\0' + key + '\0' + "1";
        Write("url_param", Text(seed));
    }
    free(query);

    for (std::u16string_view text : {u"1^深圳#2^上海#", u"MACD^指数平滑#KDJ^随机指标", u"bad#^empty#3^a^b#"}) {
        Bytes utf16;
        for (char16_t c : text) utf16.insert(utf16.end(), {uint8_t(c), uint8_t(c >> 8)});
        Write("name_value_list", utf16);
    }

    fs::create_directories(g_root / "fuzz_def_param");
    CDefParam settings((g_root / "fuzz_def_param" / "seed-0").string());
    settings.Set("Server_Host", "broker.example");
    settings.Set("Trade_ZJZH", "1234567890123456789012345678901");
    if (!settings.Save())
        return 1;
    std::vector<CDefParam::Entry> entries = CDefParam::Defaults();
    entries.emplace_back("Newer_Key", "kept");
    Write("def_param", CDefParam::Serialize(entries));
    return 0;
}
