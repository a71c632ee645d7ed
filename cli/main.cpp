// kalvo3d-cli: the reading, writing, rendering and template making of Kalvo/3D for scripts.

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "kalvo_version.h"

#include <clocale>
#include <cstdio>
#include <exception>
#include <new>
#include <string>

namespace kalvo::cli {

const std::vector<TCommand>& Commands()
{
    static const std::vector<TCommand> commands{
        {"convert", "read model files and write them as one RDS file", RunConvert},
        {"info", "print what the program makes of model files", RunInfo},
        {"render", "draw one pane of a preview window as a PNG or BMP picture", RunRender},
        {"template", "write the map template of a model as a BMP or PNG picture", RunTemplate},
    };
    return commands;
}

namespace {

void PrintUsage(std::FILE* stream)
{
    std::fprintf(stream, "Usage: kalvo3d-cli COMMAND [OPTIONS] ...\n\nCommands:\n");
    for (const TCommand& command : Commands())
        std::fprintf(stream, "  %-10s %s\n", command.Name, command.Summary);
    std::fprintf(stream, "\n'kalvo3d-cli COMMAND --help' describes one command;\n"
                         "'kalvo3d-cli --version' prints the version.\n");
    std::fprintf(stream,
                 "\nLimits: a model takes at most 50 million polygons (reading stops there with a\n"
                 "message, keeping the faces before); a DXF line is read up to 1 MiB, the rest of\n"
                 "a longer line is skipped with a message; pictures and templates are 1 to 16384\n"
                 "pixels a side, and are refused when they need more memory than the machine\n"
                 "has (a render about 24 bytes a pixel, a template 12; KALVO3D_MEMORY=BYTES\n"
                 "sets the figure used for the machine's memory, e.g. a container's share).\n");
}

// Runs command; whatever escapes it is reported on stderr and fails the command instead of
// ending the program with an abort. A file being written is left as it was: the writer only
// replaces it once the new one is complete.
int RunCaught(const TCommand& command, const TArguments& arguments)
{
    try {
        return command.Run(arguments);
    } catch (const std::bad_alloc&) {
        PrintError(std::string(command.Name) + ": out of memory");
    } catch (const std::exception& failure) {
        PrintError(std::string(command.Name) + ": " + failure.what());
    } catch (...) {
        PrintError(std::string(command.Name) + ": unexpected failure");
    }
    return kExitFailed;
}

} // namespace
} // namespace kalvo::cli

int main(int argc, char** argv)
{
    using namespace kalvo::cli;
    // Numbers in files never follow the locale; messages may.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("kalvo3d-cli %s\n", kalvo::kProgramVersion);
        return kExitOk;
    }
    for (const TCommand& command : Commands()) {
        if (name == command.Name)
            return RunCaught(command, TArguments(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "kalvo3d-cli: unknown command '%s'\n\n", name.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
