#pragma once

#include <functional>
#include <string>

namespace kalvo {

class TpreviewObj;

// Answers the question whether the loose lines of a model (edges that bound no polygon) go
// into the file: true writes them, false leaves them out. question is the text to show (UTF-8).
using TKeepLooseLines = std::function<bool(const std::string& question)>;

// Decides whether model may go into an RDS file, as the Export command and the command line's
// convert both do. Counts the model's edge uses first (the writer relies on the counts). An edge
// shared by three or more polygons refuses the model: returns false with refusal set to the
// text for the user (UTF-8). When some edges bound no polygon, keepLooseLines is asked and,
// when it answers true, every edge is given a use so that those lines are written. Returns true
// otherwise; refusal is then left as it was.
bool AcceptForExport(TpreviewObj& model, const TKeepLooseLines& keepLooseLines,
                     std::string& refusal);

} // namespace kalvo
