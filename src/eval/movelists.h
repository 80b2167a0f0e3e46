// The move lists of one search, a pair of columns per ply: the generators
// write them from entry 0, the searches read and mark them. Each searcher
// owns its lists, so that searches running at once never share one.
#pragma once

namespace zarvi {

constexpr int maxPly = 32;
constexpr int fullListCapacity = 230;
constexpr int captureListCapacity = 60;

struct MoveLists {
    // Per-ply lists, [ply][entry]. A capture list entry keeps its kind in
    // kind[ply][entry] too: the two lists of a ply share that column.
    int fullFrom[maxPly][fullListCapacity];
    int fullTo[maxPly][fullListCapacity];
    int kind[maxPly][fullListCapacity];
    int captureFrom[maxPly][captureListCapacity];
    int captureTo[maxPly][captureListCapacity];
    // The expected gain of each legal capture, scratch of one call.
    int captureGains[fullListCapacity] = {};
};

}  // namespace zarvi
