#pragma once

#include <QHashFunctions>

// One tile of a page drawn at a device scale. `generation` counts the page's invalidations,
// so a tile of an older generation is known to be stale.
struct PDFTileKey {
    int page = 0;
    quint32 generation = 0;
    double scale = 1.0; // device pixels per point
    int column = 0;
    int row = 0;
    bool operator==(const PDFTileKey &) const = default;
};

inline size_t qHash(const PDFTileKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.page, key.generation, key.scale, key.column, key.row);
}
