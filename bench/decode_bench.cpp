// Cost of taking in one large reply: 2,000 rows of 17 columns, packed with
// zlib and sealed, decoded through open -> uncompress -> parse, measured
// next to zlib's own uncompress of the same bytes so that the project's
// share shows as a ratio.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "core/SealEnvelope.h"
#include "core/ZlibCodec.h"

#include <benchmark/benchmark.h>
#include <string>
#include <zlib.h>

namespace {

const char kKey[] = "MORNINGTIDEHARBO";

struct Reply {
    std::vector<uint8_t> body;    // the serialised record sets
    std::vector<uint8_t> packed;  // zlib stream of the body
    std::vector<uint8_t> sealed;  // seal envelope of the stream
};

const Reply& LargeReply() {
    static const Reply reply = [] {
        CDataSetWriter w;
        w.AddSet("hq.zx");
        w.AddColumn(DataSetType::AnsiText, "code", u"代码");
        w.AddColumn(DataSetType::WideText, "name", u"名称");
        w.AddColumn(DataSetType::Int16, "market", u"市场");
        for (int c = 0; c < 12; ++c) {
            std::string name = "n";
            name += std::to_string(c);
            w.AddColumn(DataSetType::Number, name, u"数值");
        }
        w.AddColumn(DataSetType::Int32, "vol", u"成交量");
        w.AddColumn(DataSetType::Double, "rate", u"换手率");
        for (int r = 0; r < 2000; ++r) {
            w.AddRow();
            char code[8];
            std::snprintf(code, sizeof code, "%06d", 600000 + r);
            w.SetAnsiText(0, code);
            w.SetText(1, u"浦发银行");
            w.SetInt(2, r % 2 + 1);
            for (int c = 0; c < 12; ++c) w.SetNumber(3 + c, CQuoteNumber((r * 7 + c * 13) % 5000 / 100.0, 2));
            w.SetInt(15, r * 1000);
            w.SetDouble(16, r / 3.0);
        }
        Reply out;
        out.body = w.Serialize();
        out.packed = ZlibCompress(out.body.data(), out.body.size());
        out.sealed.resize(SealedSize(static_cast<int>(out.packed.size())));
        SealData(kKey, out.packed.data(), static_cast<int>(out.packed.size()), out.sealed.data());
        return out;
    }();
    return reply;
}

void BM_OpenUncompressParse(benchmark::State& state) {
    const Reply& reply = LargeReply();
    std::vector<uint8_t> opened(reply.sealed.size());
    std::vector<uint8_t> body;
    for (auto _ : state) {
        int n = OpenSealedData(kKey, reply.sealed.data(), static_cast<int>(reply.sealed.size()), opened.data());
        ZlibUncompress(opened.data(), static_cast<size_t>(n), body);
        CDataSetList list(body.data(), static_cast<int>(body.size()));
        benchmark::DoNotOptimize(list.GetCount());
    }
    state.SetBytesProcessed(state.iterations() * reply.body.size());
}
BENCHMARK(BM_OpenUncompressParse)->Unit(benchmark::kMicrosecond);

void BM_ZlibUncompressAlone(benchmark::State& state) {
    const Reply& reply = LargeReply();
    std::vector<uint8_t> body(reply.body.size());
    for (auto _ : state) {
        uLongf size = body.size();
        uncompress(body.data(), &size, reply.packed.data(), reply.packed.size());
        benchmark::DoNotOptimize(body.data());
    }
    state.SetBytesProcessed(state.iterations() * reply.body.size());
}
BENCHMARK(BM_ZlibUncompressAlone)->Unit(benchmark::kMicrosecond);

} // namespace
