#pragma once

// Work nobody is waiting on at this instant (tiles being rendered ahead, searches, thumbnails,
// the highlights list) runs below the GUI thread's priority. On a machine with few cores it
// would otherwise take turns with painting, and with the pieces of large fills and scalings that
// Qt's raster engine hands to its own threads and waits for.
namespace ThreadPriority {

// Lowers the calling thread's priority, once; it stays lowered for the thread's life.
void lowerForBackgroundWork();

// Asks the scheduler for short turns for the calling (GUI) thread: woken by input, a timer or a
// finished tile, it then takes a CPU from a running worker at once instead of after the worker's
// turn. Its share of the CPU stays the same. Threads it starts later (workers, Qt's painting
// helpers) inherit the request; giving workers back the default turn measured worse while
// scrolling. Kernels that do not know the request ignore it.
void favourInteractiveThread();

} // namespace ThreadPriority
