#pragma once
#include <string>

// How the core reaches the user. The window implements it with widgets; the console tool and
// the tests implement it in their own way. The core never includes widget code.
enum class MessageKind { Information, Warning, Error, Question };

class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    // A modal message box with one of the system's fixed texts.
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
};
