#pragma once
#include <string>

#include "CommandTable.h"

namespace velterra {

// A view of the document. The document calls every registered observer with a hint number
// (UpdateHints.h); for hint 1 with the block array (nullptr when there is no table), for hint 3
// with the line for the connection error log (an empty line clears the log), which the
// observer must take from here: the document's MessageText may already hold the next line.
//
// Threads. Hints 1 and 3 also arrive on the LED polling thread, when it runs a requested refresh
// of every parameter (the values it read, and the failures it met). An observer that shows
// them must carry them over to its own thread without making the LED thread wait (see
// UserInterface.h); the message arrives as its own copy for that reason. Hints 2, 4 and 5 come
// from the user-interface thread only. Observers are added and removed on the user-interface
// thread while the LED thread is not running.
class IDocumentObserver {
  public:
    virtual ~IDocumentObserver() = default;
    virtual void OnDocumentUpdate(int hint, const BlockArray* blocks,
                                  const std::string& message) = 0;
    // A refresh of every parameter has read `done` of its `total` rows: (0, total) before the
    // first read, (total, total) at the end, also when the run stopped early. From the thread
    // that runs the refresh, like hints 1 and 3.
    virtual void OnRefreshProgress(int /*done*/, int /*total*/) {}
};

}  // namespace velterra
