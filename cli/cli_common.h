#pragma once

#include "cli/commands.h"
#include "core/base/message_sink.h"
#include "core/model/uv_projection.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvo {
class TpreviewObj;
}

namespace kalvo::cli {

// --- Arguments ---------------------------------------------------------------------------------

// One option of a command: its spellings ("-o", "--output") and whether a value follows it
// ("-o OUT", "--output=OUT"). Key names it in TParsedArguments.
struct TOptionDef
{
    std::vector<std::string> Names;
    std::string Key;
    bool TakesValue = false;
};

struct TParsedArguments
{
    std::map<std::string, std::string> Options; // by key; a flag has an empty value; last wins
    std::vector<std::string> Positional;        // in order; everything after "--" is positional
    bool Help = false;                          // -h or --help anywhere

    bool Has(const std::string& key) const { return Options.count(key) > 0; }
    std::string Value(const std::string& key, const std::string& fallback = "") const;
};

// Splits arguments by the options. Returns false with a message for an unknown option or a
// missing value.
bool ParseArguments(const TArguments& arguments, const std::vector<TOptionDef>& options,
                    TParsedArguments& parsed, std::string& error);

// Prints "kalvo3d-cli COMMAND: message" and a pointer to --help on stderr; returns kExitUsage.
int UsageError(const std::string& command, const std::string& message);
// Prints "kalvo3d-cli: message" on stderr.
void PrintError(const std::string& message);

// --- Messages ----------------------------------------------------------------------------------

// The command line's message sink: prints each message for the user on stderr, prefixed with
// the file being read, answers questions with a fixed answer and counts what it printed, so a
// command can tell whether everything went without a word to the user. Texts are UTF-8.
class TStderrSink : public TMessageSink
{
public:
    explicit TStderrSink(TAnswer questionAnswer = TAnswer::Yes) : answer_(questionAnswer) {}

    // The file named in front of the following messages; "" for none.
    void SetContext(const std::string& file) { context_ = file; }
    TAnswer Show(TMsgKind kind, const std::string& text, TButtons buttons) override;
    int Count() const { return count_; }

private:
    TAnswer answer_;
    std::string context_;
    int count_ = 0;
};

// --- Models from files -------------------------------------------------------------------------

struct TInputModel
{
    std::string File; // the input as given on the command line
    std::unique_ptr<TpreviewObj> Model;
};

// Checks that every input has an extension a reader knows; otherwise returns a usage error
// (after printing it), else kExitOk.
int CheckInputFormats(const std::string& command, const std::vector<std::string>& inputs);

// Reads the inputs in order, each through the reader its extension picks, appending the models
// they give (one per DXF or ROK file, even after a format error; one per RDS mesh object).
// Missing and unreadable files are reported and give no model. Returns true when every input
// was read without any message to the user.
bool LoadInputs(const std::vector<std::string>& inputs, TStderrSink& sink,
                std::vector<TInputModel>& models);

// --uv PROJECTION, taken by every command that reads models: replaces the (u, v) of every
// model read. KALVO_UV_OPTION_HELP is its entry in the help texts (a literal, so that it joins
// theirs).
extern const TOptionDef kUvOption;
#define KALVO_UV_OPTION_HELP                                                                       \
    "  --uv PROJECTION            replace every model's (u, v) by a projection scaled to its\n"    \
    "                             box: planar-x, planar-y, planar-z (the side, face and top\n"     \
    "                             views' layouts), box, cylinder-x, cylinder-y, cylinder-z or\n"   \
    "                             sphere\n"
// The projection --uv names, or none without --uv. Returns kExitOk, or a usage error (after
// printing it) for a name that is no projection.
int ReadUvOption(const std::string& command, const TParsedArguments& parsed,
                 std::optional<TUvProjection>& projection);
void ApplyUv(std::vector<TInputModel>& models, const std::optional<TUvProjection>& projection);

// A model's name (code page 932 bytes) as UTF-8 for the terminal.
std::string NameForDisplay(const TpreviewObj& model);
// A file name as given on the command line, made valid UTF-8 for output: bytes that are not
// UTF-8 (a name from another system's encoding) become U+FFFD, so JSON output stays JSON.
std::string PathForDisplay(const std::string& path);

} // namespace kalvo::cli
