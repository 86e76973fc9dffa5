#pragma once
// Chart and layer files and the chart store (ChartPoints, ChartPointCount).
//
// A chart file "<chart>.cht" and its layer files "<chart>.000" to
// "<chart>.009" (beside it, same base name) have no header: they are a
// sequence of 12-byte ChartPoint records, latitude + 200 × line type (0..6)
// then longitude (west positive), each a 6-byte real. The pair (-1, -1)
// lifts the pen between polylines. Every writer ends the file with one extra
// pen-up record, the end marker, which readers drop.
//
// Files of the old DOS program may lack the end marker or end in a part of a
// record: such a file is read whole (every complete record is a point, the
// incomplete tail is ignored) and the reader says so.
//
// The store holds at most 10800 points for the base chart and its layers
// together, in load order; slots above ChartPointCount hold pen-ups after
// every emptying.

#include "nav/NavTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The point count as it stood after the last chart or layer file was read
// or written: points added by editing come after it.
extern int16_t LoadedPointCount;

// True for the (-1, -1) pen-up pair.
bool IsPenUp(const ChartPoint& point);
// ChartPointCount held to what the store can hold.
int ChartPointsInUse();

// No points: ChartPointCount and LoadedPointCount 0, ChartKind 0, every slot
// a pen-up, no point selected for editing, no file read.
void ClearChartStore();

struct ChartFileContents {
    std::vector<ChartPoint> points;
    bool dosFile = false; // no end marker, or an incomplete last record
};
// The points of a chart or layer file's bytes: the end marker dropped, or
// every complete record for a DOS file.
ChartFileContents DecodeChartFile(std::string_view bytes);

// Appends points after ChartPointCount. When the store would pass 10800
// points the rest are dropped and the result is false. ChartPointCount and
// LoadedPointCount become the new total. `path`, when given, names the file
// the points were read from, for a layer file saved over it later
// (EncodeLayerFile).
bool AppendToChartStore(const std::vector<ChartPoint>& points, const std::string& path = {});

// The store starts afresh with no file read: LoadedPointCount 0, and no
// layer file saved later holds anything read before.
void ForgetChartFilesRead();

// Reads the layer files "<folder><chartName>.000" to ".009" whose LayerFlags
// character is not '-' and appends them in order. The flag of each layer
// becomes '*' when its file was read and '-' when it could not be opened.
struct LayerLoadResult {
    bool storeFull = false; // some layer did not fit
    bool dosFile = false; // some layer was a DOS file
};
LayerLoadResult AppendChartLayers(const std::string& folder, const std::string& chartName);

// The file image of store points first..ChartPointCount followed by the end
// marker. A pen-up followed by another pen-up is left out and counted in
// `removed`; the point after the last one counts as a pen-up (the end marker
// follows it), so no two pen-ups ever follow each other in the file.
std::string EncodeChartFile(int first, int& removed);

// The file image of a layer file saved at `path`, pen-ups left out as by
// EncodeChartFile. A layer never holds the chart it lies on. Over a file
// read into the store (the last time it was read), it holds every point read
// from that file and after them the points added since the last file was
// read. A new layer holds the points added since then, after the last point
// read, so that its first line goes on from the last one read; with nothing
// read, the whole store.
std::string EncodeLayerFile(const std::string& path, int& removed);

// The file image of a chart saved at `path` (a ".cht" file), pen-ups left
// out as by EncodeChartFile: the chart's own points and those added by
// editing, in store order, but not the points that came from its layer files
// "<folder><base name>.000" to ".009" on disk, which stay in their layer
// files and come back from them when the chart is loaded; it never holds a
// layer twice. Where points of a layer are left out between two runs of
// points, the second run begins with the pen lifted, so that no line joins
// points the layer stood between.
std::string EncodeChartFileAt(const std::string& path, int& removed);

// After EncodeChartFileAt (`chart`) or EncodeLayerFile gave the image written
// to `path`: the points it holds belong to that file from now on, and the
// points added from now on come after them (LoadedPointCount), so that
// saving the chart and its layers in any order never writes a point into
// two of them.
void NoteChartFileWritten(const std::string& path, bool chart);
