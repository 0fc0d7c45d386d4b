#pragma once

// Work nobody is waiting on at this instant (tiles being rendered ahead, searches, thumbnails,
// the highlights list) runs below the GUI thread's priority. On a machine with few cores it
// would otherwise take turns with painting, and with the pieces of large fills and scalings that
// Qt's raster engine hands to its own threads and waits for.
namespace ThreadPriority {

// How soon the user sees a background thread's work.
enum class Urgency {
    Shown, // what the user is looking at: the tiles of the document view
    Aside, // what waits beside it: thumbnails, search results
};

// Lowers the calling thread's priority below the GUI thread's, and Aside work below Shown work.
void lowerForBackgroundWork(Urgency urgency);

// Asks the scheduler for short turns for the calling (GUI) thread: woken by input, a timer or a
// finished tile, it then takes a CPU from a running worker at once instead of after the worker's
// turn. Its share of the CPU stays the same. Threads it starts later (workers, Qt's painting
// helpers) inherit the request; giving workers back the default turn measured worse while
// scrolling. Kernels that do not know the request ignore it.
void favourInteractiveThread();

} // namespace ThreadPriority
