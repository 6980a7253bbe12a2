#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

struct ColorData;
struct JmBitmap;

// The program's binding to the colour engine. The library is loaded by its file name
// ("libJmEngine.so") at the first call that needs it and each function is bound by name at its
// first call, so a user can put another engine in front with LD_LIBRARY_PATH.
namespace JmEngine {

// The library or one of its functions cannot be found; the caller reports it and changes nothing.
struct Unavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The engine answered a call with one of its error codes (nothing was drawn or filled).
struct Failed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The record getiDataTable fills: per plane p the pair (a, b) as signed 16-bit little-endian
// words at byte 4p, a first.
using MarkerRecord = std::array<uint8_t, 16>;

// Hands the engine the whole data set, in its engine image.
void setDataTable(const ColorData& data);
// The markers and the strobe sums of the data set handed over last.
void getiDataTable(MarkerRecord& record);
void getStbSum(std::array<int32_t, 4>& sums);
// Has the named image function draw the simulation of `picture` into `surface`.
void RunImageFunction(const char* name, JmBitmap& surface, const JmBitmap& picture);

// The pair (a, b) of a plane (0..3) in a marker record.
std::pair<int16_t, int16_t> MarkerPair(const MarkerRecord& record, int plane);

// Where the three markers of a marker editor's curve stand for a plane (PlaneAll counts as plane
// 0): a / 4, b / 4 and the point halfway from the first to the second, each rounded half to even.
struct CurveMarkers {
    int16_t lo, hi, mid;
};
CurveMarkers MarkersOf(const MarkerRecord& record, int plane);

// What the marker editors ask after every reload of their curve: the engine gets the colour data
// as it stands, StbSum takes its strobe sums, and the markers of `plane` come back.
CurveMarkers AskMarkers(int plane);

// Which file the binding loads; tests point it at one that does not exist. Forgets every
// binding made so far.
void UseLibrary(const std::string& fileName);

}  // namespace JmEngine

// The strobe sum of each plane in nanoseconds, as the engine last reported it.
extern std::array<int32_t, 4> StbSum;
