#pragma once

namespace velterra::bulk {

// Hands a text to the handler installed by tvr_SetMessageHandler, or writes it to standard
// error when none is installed. Used where the library itself must tell the user something.
void ShowLibraryMessage(const char* text);

// Hands the progress of a long transfer to the handler installed by tvr_SetProgressHandler.
void ReportLibraryProgress(int done, int total);

}  // namespace velterra::bulk
