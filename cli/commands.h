#pragma once

#include <string>
#include <vector>

namespace kalvo::cli {

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

using TArguments = std::vector<std::string>;

// One function per command, each in its own file; arguments exclude the command name.
struct TCommand
{
    const char* Name;
    const char* Summary;
    int (*Run)(const TArguments& arguments);
};

// The table of commands, in the order --help lists them (main.cpp).
const std::vector<TCommand>& Commands();

int RunConvert(const TArguments& arguments);
int RunInfo(const TArguments& arguments);
int RunRender(const TArguments& arguments);
int RunTemplate(const TArguments& arguments);

} // namespace kalvo::cli
