// A conversion of a full position list: 10789 lines, the most a chart file
// takes, read, converted and written as a chart file with its configuration.
// Once through the conversion alone and once through the converter window,
// which shows the line count after every line. Aim: well under a second for
// either, so the user sees the count run rather than a frozen window.

#include "converter/Apunit1.h"
#include "converter/ConversionRun.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

constexpr int kLines = 10789;

// A grid list of a wandering coastline, with a comment every 500 lines.
std::string WriteList(const std::filesystem::path& folder)
{
    const std::filesystem::path path = folder / "coast.dat";
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < kLines; ++i) {
        if (i % 500 == 0) {
            out << "# section " << i / 500 << "\r\n";
            continue;
        }
        char line[64];
        std::snprintf(line, sizeof line, "%.1f %.1f\r\n", 450000 + 20000 * std::sin(i * 0.01) + i,
            90000 + 15000 * std::cos(i * 0.013));
        out << line;
    }
    return path.string();
}

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto dir = std::filesystem::temp_directory_path() / "kv-convert-bench";
        std::filesystem::create_directories(dir);
        return dir;
    }();
    return folder;
}

void BM_ConvertFullList(benchmark::State& state)
{
    platform::ScriptedUi ui;
    converter::TRunOptions options;
    options.format = converter::TInputFormat::Grid;
    options.inputFile = WriteList(Folder());
    options.outputFile = (Folder() / "coast.cht").string();
    int shown = 0;
    converter::TRunDisplay display { [] {}, [](const std::string&) {},
        [&shown](const std::string&) { ++shown; } };
    converter::TConverter converter;
    for (auto _ : state) {
        converter.Run(options, display);
        ui.clear();
    }
    state.counters["progress_steps"] = benchmark::Counter(shown, benchmark::Counter::kAvgIterations);
    state.counters["records"] = converter.RecordCount();
}
BENCHMARK(BM_ConvertFullList)->Unit(benchmark::kMillisecond);

void BM_ConvertFullListInTheWindow(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "bench_convert";
    static char* argv[] = { name, nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    platform::ScriptedUi ui;
    TForm1 form;
    form.show();
    form.INFile->setText(QString::fromStdString(WriteList(Folder())));
    form.Opfile->setText(QString::fromStdString((Folder() / "window.cht").string()));
    form.Grid_in->setChecked(true);
    for (auto _ : state) {
        form.startClick();
        ui.clear();
    }
    state.counters["last_count"] = form.Progress->text().toInt();
}
BENCHMARK(BM_ConvertFullListInTheWindow)->Unit(benchmark::kMillisecond);

} // namespace
