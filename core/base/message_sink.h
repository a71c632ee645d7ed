#pragma once

#include <string>

namespace kalvo {

enum class TMsgKind { Information, Error, Confirmation };
enum class TButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TAnswer { Ok, Cancel, Yes, No };

// Where the core sends messages meant for the user. The desktop program shows a message box,
// the command line prints to stderr, tests script the answers. Texts are UTF-8.
class TMessageSink
{
public:
    virtual ~TMessageSink() = default;
    virtual TAnswer Show(TMsgKind kind, const std::string& text, TButtons buttons) = 0;
};

} // namespace kalvo
