#pragma once

class QThreadPool;

// The threads the program's long jobs run on (highlight lists, printing, page tools, bulk text,
// export and split workers, thumbnail files).
//
// Qt's raster engine splits large fills, scalings and image conversions across
// QThreadPool::globalInstance() and waits for the pieces on the painting thread. A long job of
// ours on that pool would hold painting back until it ended, so none runs there.
QThreadPool *backgroundPool();
