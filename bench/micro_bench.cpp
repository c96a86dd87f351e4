// Microbenchmarks of the conversions, the frame codec and the reply parser (Google Benchmark).
// The parser runs inside a hidden main window on the offscreen platform.

#include "bench/BenchWindow.h"
#include "protocol/Conversions.h"
#include "protocol/FrameCodec.h"
#include "protocol/ReplyInterpreter.h"
#include "protocol/StrictInt.h"
#include "window/MainWindow.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray bytesOf(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 3);
    return bytes;
}

void BytesToHex(benchmark::State &state)
{
    const QByteArray bytes = bytesOf(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(Conversions::BytesToHex(bytes, true));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BytesToHex)->Arg(64)->Arg(4096)->Arg(1 << 20);

void HexToBytes(benchmark::State &state)
{
    const QByteArray hex = Conversions::BytesToHex(bytesOf(state.range(0)), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(Conversions::HexToBytes(hex));
    state.SetBytesProcessed(state.iterations() * hex.size());
}
BENCHMARK(HexToBytes)->Arg(64)->Arg(4096)->Arg(1 << 20);

void HexChecksum(benchmark::State &state)
{
    const QByteArray hex = Conversions::BytesToHex(bytesOf(state.range(0)), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(Conversions::HexChecksum(hex));
}
BENCHMARK(HexChecksum)->Arg(19)->Arg(4096);

void ModuleFrame(benchmark::State &state)
{
    const QByteArray command("AT+WIFIMODE=?\r\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BuildModuleFrame(QStringLiteral("12345678901"), QStringLiteral("0001"), true, command));
}
BENCHMARK(ModuleFrame);

void RelayFrameAroundModuleFrame(benchmark::State &state)
{
    const QByteArray frame = BuildModuleFrame(QStringLiteral("12345678901"), QStringLiteral("0001"), true,
                                              QByteArray("AT+WIFIMODE=?\r\n"));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BuildRelayFrame(QStringLiteral("00000000000"), QStringLiteral("00000000000"), frame));
}
BENCHMARK(RelayFrameAroundModuleFrame);

// One parser call for a type code and reply; the console is emptied outside the timing.
void parse(benchmark::State &state, int code, const QByteArray &reply)
{
    MainWindow &form = benchWindow();
    form.session().cmdType = code;
    for (auto _ : state) {
        try {
            form.parseReply(reply, ReplyRoad::Tcp);
        } catch (const ConversionError &) {
        }
        state.PauseTiming();
        benchWindowTidy(form);
        state.ResumeTiming();
    }
}

QByteArray parameterFrame()
{
    QByteArray frame("\xA8\x81"
                     "123456789010001\x09\x01\x00",
                     20);
    return frame + "1=3;2=QX-Office;3=password;17=115200;18=8;19=1;20=12345678901;21=0001;";
}

BENCHMARK_CAPTURE(parse, work_mode_118, 118, QByteArray("2\r\n"));
BENCHMARK_CAPTURE(parse, set_ok_21, 21, QByteArray("OK\r\n"));
BENCHMARK_CAPTURE(parse, ap_info_120, 120, QByteArray("\"QX_AP\",\"12345678\",6,3\r\n"));
BENCHMARK_CAPTURE(parse, wifi_state_10, 10, QByteArray("STATUS:GOT_IP\r\n"));
BENCHMARK_CAPTURE(parse, parameter_frame_1, 1, parameterFrame());
BENCHMARK_CAPTURE(parse, one_mebibyte_1, 1, QByteArray(1 << 20, 'x'));

} // namespace

int main(int argc, char **argv)
{
    benchWindow(); // the application object and the window, before any benchmark runs
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
