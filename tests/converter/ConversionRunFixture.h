#pragma once
// A conversion run in a temporary folder: the input list and the output
// files live there, every message box and beep is recorded.

#include "converter/ConversionRun.h"
#include "nav/ChartStore.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class ConversionRunTest : public ::testing::Test
{
protected:
    ConversionRunTest()
    {
        options.inputFile = dir.file("coast.dat");
        options.outputFile = dir.file("coast.cht");
        display.clearResults = [this] { results.clear(); };
        display.addResult = [this](const std::string& line) { results.push_back(line); };
        display.showProgress = [this](const std::string& count) { progress.push_back(count); };
    }

    // Writes the input list (CR LF) and runs the conversion.
    bool Run(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        dir.write("coast.dat", text);
        return converter.Run(options, display);
    }

    static ChartPoint P(double storedLat, double lon)
    {
        return ChartPoint { rtl::Real6(storedLat), rtl::Real6(lon) };
    }

    // The chart file image of records, as written field by field.
    static std::string Image(const std::vector<ChartPoint>& records)
    {
        std::string image;
        for (const ChartPoint& record : records) {
            uint8_t bytes[ChartPoint::storedSize];
            record.store(bytes);
            image.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
        }
        return image;
    }

    // Records first..last of the store.
    std::vector<ChartPoint> Records(int first, int last) const
    {
        const auto& store = converter.Store();
        return std::vector<ChartPoint>(store.begin() + first, store.begin() + last + 1);
    }

    // n pen-ups followed by `points` and 5 pen-ups, as a run writes them.
    static std::vector<ChartPoint> Framed(const std::vector<ChartPoint>& points)
    {
        std::vector<ChartPoint> records(6, PenUpPoint);
        records.insert(records.end(), points.begin(), points.end());
        records.insert(records.end(), 5, PenUpPoint);
        return records;
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;
    converter::TConverter converter;
    converter::TRunOptions options;
    converter::TRunDisplay display;
    std::vector<std::string> results;
    std::vector<std::string> progress;
};
