#pragma once
#include "CommandTable.h"

// A view of the document. The document calls every registered observer with a hint number
// (UpdateHints.h) and, for hint 1, the block array (nullptr when there is no table).
class IDocumentObserver {
  public:
    virtual ~IDocumentObserver() = default;
    virtual void OnDocumentUpdate(int hint, const BlockArray* blocks) = 0;
};
