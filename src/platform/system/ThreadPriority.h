#pragma once

// Work nobody is waiting on at this instant (tiles being rendered ahead, searches, thumbnails,
// the highlights list) runs below the GUI thread's priority. On a machine with few cores it
// would otherwise take turns with painting, and with the pieces of large fills and scalings that
// Qt's raster engine hands to its own threads and waits for.
namespace ThreadPriority {

// Lowers the calling thread's priority, once; it stays lowered for the thread's life.
void lowerForBackgroundWork();

} // namespace ThreadPriority
