#pragma once

#include "core/base/message_sink.h"

#include <deque>
#include <string>
#include <vector>

namespace kalvo::test {

// A message sink that records every message and answers from a script (Ok/Yes when the script
// has run out).
class TRecordingSink : public TMessageSink
{
public:
    struct Message
    {
        TMsgKind kind;
        std::string text;
        TButtons buttons;
    };

    TAnswer Show(TMsgKind kind, const std::string& text, TButtons buttons) override
    {
        Messages.push_back({kind, text, buttons});
        if (!Answers.empty()) {
            const TAnswer answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        return (buttons == TButtons::YesNo || buttons == TButtons::YesNoCancel) ? TAnswer::Yes
                                                                                : TAnswer::Ok;
    }

    std::vector<Message> Messages;
    std::deque<TAnswer> Answers;
};

} // namespace kalvo::test
